#include "dialogs/core/AnchorLayout.h"

#include <climits>

const RECT CAnchorLayout::kMeasure = { INT_MIN, INT_MIN, INT_MIN, INT_MIN };
const RECT CAnchorLayout::kMeasureTouchEdges = { INT_MAX, INT_MAX, INT_MAX, INT_MAX };

namespace {

bool AllSides(const RECT& rc, LONG value)
{
    return rc.left == value && rc.top == value && rc.right == value && rc.bottom == value;
}

// The control's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND hWnd, HWND hParent)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// One axis of a control [low, high] in a client span [clientLow,
// clientHigh]: an anchored edge keeps its offset to the same client edge;
// keepSize moves the other edge along.
void FollowEdges(LONG& low, LONG& high, LONG clientLow, LONG clientHigh, LONG offsetLow, LONG offsetHigh,
                 bool anchorLow, bool anchorHigh, bool keepSize)
{
    const LONG size = high - low;
    if (anchorLow) {
        low = clientLow + offsetLow;
        if (keepSize)
            high = low + size;
    }
    if (anchorHigh) {
        high = clientHigh - offsetHigh;
        if (keepSize)
            low = high - size;
    }
}

} // namespace

bool CAnchorLayout::AddControl(CWnd* pControl, const RECT& offsets, UINT flags)
{
    if (pControl == nullptr || pControl->m_hWnd == nullptr || !::IsWindow(pControl->m_hWnd))
        return false;
    HWND hWnd = pControl->m_hWnd;
    auto found = m_entries.begin();
    while (found != m_entries.end() && found->hWnd != hWnd)
        ++found;

    if (flags == 0) {
        if (found == m_entries.end())
            return false;
        m_entries.erase(found);
        return true;
    }
    if ((flags & (kLeft | kRight | kKeepWidth)) == (kLeft | kRight | kKeepWidth) ||
        (flags & (kTop | kBottom | kKeepHeight)) == (kTop | kBottom | kKeepHeight))
        return false;

    RECT place = offsets;
    const bool measure = AllSides(offsets, INT_MIN);
    const bool touch = AllSides(offsets, INT_MAX);
    if (measure || touch) {
        HWND hParent = ::GetParent(hWnd);
        if (hParent == nullptr)
            return false;
        RECT rc = PlaceInParent(hWnd, hParent);
        RECT client;
        ::GetClientRect(hParent, &client);
        place.left = rc.left;
        place.top = rc.top;
        place.right = measure ? client.right - rc.right : 0;
        place.bottom = measure ? client.bottom - rc.bottom : 0;
    }

    if (found != m_entries.end()) {
        found->offsets = place;
        found->flags = flags;
    } else {
        m_entries.push_back(Entry{ hWnd, place, flags });
    }
    return true;
}

void CAnchorLayout::Relayout(CWnd* pOwner) const
{
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(m_entries.size()));
    if (hdwp == nullptr)
        return;
    RECT client;
    ::GetClientRect(pOwner->m_hWnd, &client);
    for (const Entry& e : m_entries) {
        if (!::IsWindow(e.hWnd))
            continue;
        RECT r = PlaceInParent(e.hWnd, pOwner->m_hWnd);
        FollowEdges(r.left, r.right, client.left, client.right, e.offsets.left, e.offsets.right,
                    (e.flags & kLeft) != 0, (e.flags & kRight) != 0, (e.flags & kKeepWidth) != 0);
        FollowEdges(r.top, r.bottom, client.top, client.bottom, e.offsets.top, e.offsets.bottom,
                    (e.flags & kTop) != 0, (e.flags & kBottom) != 0, (e.flags & kKeepHeight) != 0);
        hdwp = ::DeferWindowPos(hdwp, e.hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                SWP_NOZORDER | SWP_NOACTIVATE);
        if (hdwp == nullptr)
            return;
    }
    ::EndDeferWindowPos(hdwp);
}
