#include "tab/DlgLayout.h"

#include <algorithm>

namespace {

bool AllFields(const RECT& rc, LONG value)
{
    return rc.left == value && rc.top == value && rc.right == value && rc.bottom == value;
}

// One direction of a control: its near and far edge at their places when
// followed, the size kept when asked (with one edge followed).
void FollowEdges(LONG& nearEdge, LONG& farEdge, LONG nearPlace, LONG farPlace, DWORD followNear, DWORD followFar,
                 DWORD keepSize)
{
    const LONG size = farEdge - nearEdge;
    if (followNear)
    {
        nearEdge = nearPlace;
        if (keepSize)
            farEdge = nearEdge + size;
    }
    if (followFar)
    {
        farEdge = farPlace;
        if (keepSize)
            nearEdge = farEdge - size;
    }
}

} // namespace

bool CDlgLayout::AddControl(HWND hControl, const RECT& distances, DWORD anchors)
{
    if (hControl == nullptr || !::IsWindow(hControl))
        return false;
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [hControl](const Entry& entry) { return entry.hControl == hControl; });
    if (anchors == 0)
    {
        if (it == m_entries.end())
            return false;
        m_entries.erase(it);
        return true;
    }
    if (((anchors & (kLeft | kRight)) == (kLeft | kRight) && (anchors & kKeepWidth)) ||
        ((anchors & (kTop | kBottom)) == (kTop | kBottom) && (anchors & kKeepHeight)))
        return false;
    RECT stored = distances;
    bool fromPlace = AllFields(distances, kFromPlace);
    if (fromPlace || AllFields(distances, kFromTopLeft))
    {
        HWND hParent = ::GetParent(hControl);
        if (hParent == nullptr)
            return false;
        CRect place, client;
        ::GetWindowRect(hControl, &place);
        ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&place), 2);
        ::GetClientRect(hParent, &client);
        stored.left = place.left;
        stored.top = place.top;
        stored.right = fromPlace ? client.Width() - place.right : 0;
        stored.bottom = fromPlace ? client.Height() - place.bottom : 0;
    }
    if (it == m_entries.end())
        it = m_entries.insert(m_entries.end(), Entry());
    it->hControl = hControl;
    it->distances = stored;
    it->anchors = anchors;
    return true;
}

// Controls destroyed since they were registered are passed over: one dead
// window would make the whole batch fail.
void CDlgLayout::OnSize(HWND hDialog)
{
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(m_entries.size()));
    if (hdwp == nullptr)
        return;
    CRect c;
    ::GetClientRect(hDialog, &c);
    for (const Entry& entry : m_entries)
    {
        if (!::IsWindow(entry.hControl))
            continue;
        CRect rc;
        ::GetWindowRect(entry.hControl, &rc);
        ::MapWindowPoints(nullptr, ::GetParent(entry.hControl), reinterpret_cast<LPPOINT>(&rc), 2);
        const DWORD a = entry.anchors;
        const RECT& d = entry.distances;
        FollowEdges(rc.left, rc.right, c.left + d.left, c.right - d.right, a & kLeft, a & kRight, a & kKeepWidth);
        FollowEdges(rc.top, rc.bottom, c.top + d.top, c.bottom - d.bottom, a & kTop, a & kBottom, a & kKeepHeight);
        hdwp = ::DeferWindowPos(hdwp, entry.hControl, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                SWP_NOZORDER | SWP_NOACTIVATE);
        if (hdwp == nullptr)
            return;  // the batch is gone: nothing to end
    }
    ::EndDeferWindowPos(hdwp);
}
