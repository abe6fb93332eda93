#include "tests/layout/ControlOverlap.h"

#include <commctrl.h>

namespace {

bool IsFrame(HWND hWnd)
{
    wchar_t szClass[32] = {};
    ::GetClassNameW(hWnd, szClass, 32);
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE));
    if (::lstrcmpiW(szClass, L"Button") == 0)
        return (dwStyle & BS_TYPEMASK) == BS_GROUPBOX;
    if (::lstrcmpiW(szClass, L"Static") != 0)
        return false;
    switch (dwStyle & SS_TYPEMASK) {
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_ETCHEDFRAME:
        return true;
    default:
        return false;
    }
}

// An up-down control sits on its buddy's edge, where it was put to belong.
bool IsBuddyOf(HWND hUpDown, HWND hOther)
{
    wchar_t szClass[32] = {};
    ::GetClassNameW(hUpDown, szClass, 32);
    return ::lstrcmpiW(szClass, UPDOWN_CLASSW) == 0 &&
           reinterpret_cast<HWND>(::SendMessageW(hUpDown, UDM_GETBUDDY, 0, 0)) == hOther;
}

bool Holds(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

struct Control
{
    HWND hWnd;
    RECT rc;  // in the dialog's client coordinates
    bool bFrame;
};

// The controls the dialog shows once it is shown itself.
std::vector<Control> VisibleControls(HWND hDlg)
{
    std::vector<Control> controls;
    for (HWND hCtl = ::GetWindow(hDlg, GW_CHILD); hCtl != nullptr; hCtl = ::GetWindow(hCtl, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrW(hCtl, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;
        Control c = { hCtl, {}, IsFrame(hCtl) };
        ::GetWindowRect(hCtl, &c.rc);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&c.rc), 2);
        controls.push_back(c);
    }
    return controls;
}

} // namespace

std::vector<std::pair<int, int>> FindOverlappingControls(HWND hDlg)
{
    const std::vector<Control> controls = VisibleControls(hDlg);
    std::vector<std::pair<int, int>> overlaps;
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const Control& a = controls[i];
            const Control& b = controls[j];
            RECT rc;
            if (!::IntersectRect(&rc, &a.rc, &b.rc))
                continue;
            if ((a.bFrame && Holds(a.rc, b.rc)) || (b.bFrame && Holds(b.rc, a.rc)) ||
                IsBuddyOf(a.hWnd, b.hWnd) || IsBuddyOf(b.hWnd, a.hWnd))
                continue;
            overlaps.emplace_back(::GetDlgCtrlID(a.hWnd), ::GetDlgCtrlID(b.hWnd));
        }
    }
    return overlaps;
}

std::vector<int> FindControlsOutside(HWND hDlg)
{
    RECT rcClient = {};
    ::GetClientRect(hDlg, &rcClient);
    std::vector<int> outside;
    for (const Control& c : VisibleControls(hDlg)) {
        if (!Holds(rcClient, c.rc))
            outside.push_back(::GetDlgCtrlID(c.hWnd));
    }
    return outside;
}
