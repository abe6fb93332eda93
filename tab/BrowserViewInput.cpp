// CBrowserView: the mouse and key messages bound for the page, seen first:
// rocker and double-click actions, the wheel click that opens a link in a
// new tab, the side buttons, mouse gestures and the user's key bindings.
#include "tab/BrowserView.h"

#include <windows.h>
#include <mshtml.h>
#include <oleidl.h>

#include <cmath>
#include <cstring>

#include "framework/app/FaultGuard.h"
#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/BindingFile.h"
#include "shared/GestureAngle.h"
#include "tab/KeyState.h"
#include "tab/LinkInfo.h"
#include "tab/PageFrames.h"
#include "tab/TabGroup.h"
#include "tab/TabHost.h"
#include "tab/TabItem.h"

namespace {

const UINT kCmdOpenLinkInNewWindow = 2137;
// Mouse actions of mouseLR, mouseRL, mouseDC.
enum MouseAction { kActionBack, kActionForward, kActionRefresh, kActionUp, kActionPrevTab,
                   kActionNextTab, kActionClose };

const char kArrowUp[] = "\x81\xAA";
const char kArrowDown[] = "\x81\xAB";
const char kArrowLeft[] = "\x81\xA9";
const char kArrowRight[] = "\x81\xA8";

// Keys that keep their meaning in an editable field and are never repeated
// away in a page: moving and scrolling.
bool IsMovementKey(const CString& text, bool withUndo)
{
    static const char* const kKeys[] = {"Tab+", "PageUp", "PageDown", kArrowLeft, kArrowUp, kArrowRight,
                                        kArrowDown, "Space"};
    for (const char* key : kKeys) {
        if (text == key)
            return true;
    }
    return withUndo && (text == "Ctrl+Z" || text == "Ctrl+Y");
}

// The arrow of a step (dx right, dy up).
const char* ArrowOf(int dx, int dy)
{
    switch (GestureAngle::DirectionOf(GestureAngle::Of(dx, dy))) {
    case GestureAngle::kUp: return kArrowUp;
    case GestureAngle::kLeft: return kArrowLeft;
    case GestureAngle::kDown: return kArrowDown;
    default: return kArrowRight;
    }
}

POINT ScreenPointOf(const MSG& msg)
{
    POINT p = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    ::ClientToScreen(msg.hwnd, &p);
    return p;
}

} // namespace

BOOL CBrowserView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_XBUTTONUP)
        return FilterMouse(pMsg);
    if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN)
        return FilterKey(pMsg);
    return CView::PreTranslateMessage(pMsg);
}

void CBrowserView::DoMouseAction(int action)
{
    if (!AppSettings().bMouseG())
        return;
    switch (action) {
    case kActionBack: GoBack(); break;
    case kActionForward: GoForward(); break;
    case kActionRefresh: Refresh(); break;
    case kActionUp: GoUp(); break;
    case kActionPrevTab: OnPrevTab(); break;
    case kActionNextTab: OnNextTab(); break;
    case kActionClose: RequestClose(); break;
    default: break;
    }
}

BOOL CBrowserView::FilterMouse(MSG* pMsg)
{
    const SettingsRecord& s = AppSettings();
    switch (pMsg->message) {
    case WM_MOUSEMOVE:
        RefocusUnderMouse();
        return FALSE;
    case WM_LBUTTONDOWN:
        m_state |= kViewKeyActivation;
        if (pMsg->wParam & MK_RBUTTON) {
            DoMouseAction(s.mouseRL);
            return TRUE;
        }
        return FALSE;
    case WM_LBUTTONUP:
        if (m_state & kViewRocker) {
            m_state &= ~static_cast<DWORD>(kViewRocker);
            return TRUE;
        }
        return FALSE;
    case WM_LBUTTONDBLCLK:
        DoMouseAction(s.mouseDC);
        return FALSE;
    case WM_RBUTTONDOWN:
        m_state |= kViewKeyActivation;
        if (pMsg->wParam & MK_LBUTTON) {
            DoMouseAction(s.mouseLR);
            m_state |= kViewRocker;
            return TRUE;
        }
        return s.bMouseG() && TrackMouseGesture(pMsg) != 0;
    case WM_MBUTTONDOWN:
        return OpenLinkByWheelClick(pMsg);
    case WM_XBUTTONUP:
        if (HIWORD(pMsg->wParam) == XBUTTON1) {
            GoBack();
            return TRUE;
        }
        if (HIWORD(pMsg->wParam) == XBUTTON2) {
            GoForward();
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void CBrowserView::RefocusUnderMouse()
{
    if (!IsActiveTab() || m_hWnd == nullptr)
        return;
    HWND focus = ::GetFocus();
    if (focus == m_hWnd || ::IsChild(m_hWnd, focus))
        return;
    if (!Host().GetBrowserWindowAtCursor(focus) || focus == m_hLastFocus)
        return;
    if (m_hLastFocus != nullptr && ::IsChild(m_hWnd, m_hLastFocus)) {
        ::SetFocus(m_hLastFocus);
        return;
    }
    m_state &= ~static_cast<DWORD>(kViewFocusPending);
    FocusPage();
}

BOOL CBrowserView::OpenLinkByWheelClick(MSG* pMsg)
{
    const SettingsRecord& s = AppSettings();
    if (!s.bOpenNewWindowWC())
        return FALSE;
    if (s.bWindowMaxCnt() && !(s.iParentTabNewRule & 0x08)) {
        CTabGroup* group = m_pTabItem != nullptr && m_pTabItem->m_pGroup != nullptr ? m_pTabItem->m_pGroup
                                                                                 : Host().GetActiveGroup();
        if (group != nullptr && group->GetTabCount() >= s.iWindowMaxCnt)
            return FALSE;
    }
    // The page's own new-window command on the link under the click; the
    // new window, when one comes, clears the mark as it takes it.
    const HWND target = pMsg->hwnd;
    m_state |= kViewWheelNewWindow;
    ::SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, pMsg->lParam);
    ::SendMessageA(target, WM_COMMAND, kCmdOpenLinkInNewWindow, 0);
    if (!(m_state & kViewWheelNewWindow))
        return TRUE;
    m_state &= ~static_cast<DWORD>(kViewWheelNewWindow);
    if (::IsWindow(target))
        ::SendMessageA(target, WM_LBUTTONUP, 0, pMsg->lParam);
    return FALSE;
}

bool CBrowserView::IsEditableFocus() const
{
    CComPtr<IDispatch> dispatch;
    dispatch.Attach(GetHtmlDocument());
    CComPtr<IHTMLDocument2> document;
    document.Attach(AsHtmlDocument(dispatch));
    return document != nullptr && IsEditableElement(document) != FALSE;
}

BOOL CBrowserView::FilterKey(MSG* pMsg)
{
    if (m_pBrowser == nullptr)
        return FALSE;
    const UINT vk = static_cast<UINT>(pMsg->wParam);
    if (vk == VK_SPACE || vk == VK_RETURN)
        m_state |= kViewKeyActivation;
    ITabHost& host = Host();
    const CString text = host.FormatKey(vk);
    if (IsEditableFocus()) {
        if (!IsTextInputKey(vk) && !IsMovementKey(text, true) && host.ExecuteKeyBinding(text, pMsg))
            return TRUE;
    } else {
        if ((pMsg->lParam & (1 << 30)) && !IsMovementKey(text, false))
            return TRUE;
        if (host.ExecuteKeyBinding(text, pMsg))
            return TRUE;
    }
    return TranslateControlAccelerator(pMsg);
}

BOOL CBrowserView::TranslateControlAccelerator(MSG* pMsg)
{
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(m_pBrowser->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active))) ||
        active == nullptr)
        return FALSE;
    const HRESULT hr = active->TranslateAccelerator(pMsg);
    active->Release();
    return hr == S_OK;
}

void CBrowserView::OnSetFocus(CWnd*)
{
    // Only the active tab takes the focus; a background tab being created
    // must not steal it.
    if (!IsActiveTab())
        return;
    if (HWND control = ControlWindow())
        ::SetFocus(control);
}

void CBrowserView::OnKillFocus(CWnd* pNewWnd)
{
    HWND next = pNewWnd != nullptr ? pNewWnd->GetSafeHwnd() : nullptr;
    const bool closing = m_pTabItem == nullptr || m_pTabItem->IsClosing() || IsClosing();
    if (!closing && IsActiveTab() && next != nullptr && ::IsChild(m_hWnd, next))
        m_hLastFocus = next;
    Default();
}

//--- Mouse gestures

void CBrowserView::GetGestureCommandName(const CString& gesture, CString& name)
{
    name.Empty();
    std::vector<BindingFile::Line> lines;
    BindingFile::Read(AppFolders().GetProgramFolder(), "MGC.dat", "MGCDefault.dat", lines);
    for (const BindingFile::Line& line : lines) {
        if (line.fieldCount != 4 || strncmp(line.text, gesture, static_cast<size_t>(gesture.GetLength())) != 0)
            continue;
        // The first line that begins with the gesture decides.
        if (line.text == gesture)
            name = line.label;
        return;
    }
}

void CBrowserView::ShowGestureStatus(const CString& gesture)
{
    // The line is no format: "%s" stands for the gesture.
    CString text = AppStrings().GetEtcText(67);
    text.Replace("%s", gesture);
    CString name;
    GetGestureCommandName(gesture, name);
    if (!name.IsEmpty())
        text += "[" + name + "]";
    Host().SetStatusText(text);
}

int CBrowserView::TrackMouseGesture(MSG* pMsg)
{
    const HWND press = pMsg->hwnd;
    MSG start = *pMsg;
    POINT reference = ScreenPointOf(start);
    POINT last = reference;
    // A step is at least one pixel long: a zero-length move draws nothing.
    const int threshold = AppSettings().iMouseGSence > 0 ? AppSettings().iMouseGSence : 1;
    CString gesture;
    const char* lastArrow = nullptr;
    DWORD lastStep = 0xFFFFFFFF;
    bool handled = false;
    bool released = false;
    const HWND self = m_hWnd;
    // A fault in the view's code (or its page's) ends the gesture as if
    // cancelled; the capture goes with the loop, however it ends.
    CFaultLoop loop(self);
    CFaultCapture capture(self);
    for (;;) {
        if (::GetCapture() != self) {
            released = true;
            break;
        }
        MSG msg;
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The quit belongs to the outer loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        if (msg.message == WM_MOUSEMOVE) {
            const POINT p = ScreenPointOf(msg);
            const int dx = p.x - reference.x;
            const int dy = reference.y - p.y;
            const int distance = static_cast<int>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
            if (distance < threshold)
                continue;
            const char* arrow = ArrowOf(dx, dy);
            const DWORD now = ::GetTickCount();
            const DWORD pause = static_cast<WORD>(AppSettings().iMouseGSence2);
            if (arrow == lastArrow && now - lastStep > pause)
                lastArrow = nullptr;
            if (arrow != lastArrow) {
                gesture += arrow;
                lastArrow = arrow;
                ShowGestureStatus(gesture);
            }
            lastStep = now;
            reference = p;
            last = p;
            continue;
        }
        if (msg.message == WM_LBUTTONDOWN) {
            if (msg.wParam & MK_RBUTTON)
                DoMouseAction(AppSettings().mouseRL);
            handled = true;
            break;
        }
        if (msg.message == WM_LBUTTONUP && (m_state & kViewRocker)) {
            m_state &= ~static_cast<DWORD>(kViewRocker);
            handled = true;
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            continue;
        if (msg.message == WM_LBUTTONDBLCLK) {
            DoMouseAction(AppSettings().mouseDC);
            handled = true;
            break;
        }
        loop.Dispatch(msg);
        // The tab may be gone with a fault in it.
        if (loop.IsBroken())
            return 1;
        if (msg.message == WM_RBUTTONUP) {
            released = true;
            break;
        }
        // A dispatched message may have closed the tab.
        if (!IsStillAttached(this, self))
            return 1;
    }
    if (released && !gesture.IsEmpty()) {
        Host().ExecuteGesture(gesture);
        handled = true;
    }
    if (::GetCapture() == self)
        ::ReleaseCapture();
    if (!handled && gesture.IsEmpty() && ::IsWindow(press)) {
        // No gesture: the page gets its right-button release (its context
        // menu) after all.
        POINT client = last;
        ::ScreenToClient(press, &client);
        pMsg->lParam = MAKELPARAM(client.x, client.y);
        ::PostMessageA(press, WM_RBUTTONUP, start.wParam, pMsg->lParam);
    }
    return handled ? 1 : 0;
}
