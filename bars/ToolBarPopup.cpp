#include "bars/ToolBarPopup.h"

#include <algorithm>

#include "bars/PopupLoop.h"
#include "bars/ToolBarEx.h"
#include "framework/app/FaultGuard.h"

CToolBarPopup::CToolBarPopup(CToolBarEx* pSource, int textMode)
    : m_pSource(pSource), m_hSource(pSource != nullptr ? pSource->m_hWnd : nullptr), m_textMode(textMode),
      m_showTexts(textMode == 0 || textMode == 1)
{
}

// The source toolbar belongs to the frame, which a message dispatched by
// the loop may destroy: it is used only while still attached to its window.
CToolBarEx* CToolBarPopup::Source() const
{
    return IsStillAttached(m_pSource, m_hSource) ? m_pSource : nullptr;
}

CToolBarPopup::~CToolBarPopup() = default;

//--- Placement

CRect CToolBarPopup::PlacePopup(CSize size, UINT flags, int x, int y, const RECT& exclude, const RECT& desktop)
{
    if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    else if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    else if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    CRect rc(CPoint(x, y), size);
    // On the desktop: back from the far edges first, then from the near ones.
    if (rc.right > desktop.right)
        ::OffsetRect(&rc, desktop.right - rc.right, 0);
    if (rc.bottom > desktop.bottom)
        ::OffsetRect(&rc, 0, desktop.bottom - rc.bottom);
    if (rc.left < desktop.left)
        ::OffsetRect(&rc, desktop.left - rc.left, 0);
    if (rc.top < desktop.top)
        ::OffsetRect(&rc, 0, desktop.top - rc.top);
    CRect overlap;
    if (::IsRectEmpty(&exclude) || !::IntersectRect(&overlap, &rc, &exclude))
        return rc;
    if (flags & TPM_VERTICAL)
    {
        CRect above = rc, below = rc;
        ::OffsetRect(&above, 0, exclude.top - rc.bottom);
        ::OffsetRect(&below, 0, exclude.bottom - rc.top);
        if (above.top < desktop.top)
            return below;
        if (below.bottom > desktop.bottom)
            return above;
        return std::abs(above.top - rc.top) < std::abs(below.top - rc.top) ? above : below;
    }
    CRect left = rc, right = rc;
    ::OffsetRect(&left, exclude.left - rc.right, 0);
    ::OffsetRect(&right, exclude.right - rc.left, 0);
    if (left.left < desktop.left)
        return right;
    if (right.right > desktop.right)
        return left;
    return std::abs(left.left - rc.left) < std::abs(right.left - rc.left) ? left : right;
}

//--- Filling

// The source's buttons beyond its right edge, neither separators nor
// hidden, one per row.
BOOL CToolBarPopup::FillButtons()
{
    const DWORD style = 0x56001B4C;  // child, list, flat, wrapable, tooltips, no divider or alignment
    if (!m_bar.Create(style, CRect(0, 0, 100, 100), this, static_cast<UINT>(m_pSource->GetDlgCtrlID())))
        return FALSE;
    m_bar.SetExtendedStyle(TBSTYLE_EX_MIXEDBUTTONS | (m_dropDownArrows ? TBSTYLE_EX_DRAWDDARROWS : 0));
    HWND hTips = m_bar.GetToolTips();
    if (hTips != nullptr)
        ::SetWindowLongPtrA(hTips, GWL_STYLE, ::GetWindowLongPtrA(hTips, GWL_STYLE) | TTS_ALWAYSTIP);
    m_bar.SetImageList(m_pSource->GetImageList());
    m_bar.SetHotImageList(reinterpret_cast<HIMAGELIST>(m_pSource->SendMessage(TB_GETHOTIMAGELIST)));
    m_bar.SetDisabledImageList(reinterpret_cast<HIMAGELIST>(m_pSource->SendMessage(TB_GETDISABLEDIMAGELIST)));
    CRect client;
    m_pSource->GetClientRect(&client);
    int added = 0, widest = 0;
    for (int i = 0, n = m_pSource->GetButtonCount(); i < n; ++i)
    {
        TBBUTTON button = {};
        CRect rc;
        if (!m_pSource->GetButton(i, &button) || (button.fsStyle & TBSTYLE_SEP) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        if (!m_pSource->GetItemRect(i, &rc) || rc.right <= client.right)
            continue;
        if (m_showTexts)
        {
            CString text;
            if (!m_pSource->GetItemName(button, text))
                m_pSource->GetButtonText(button.idCommand, text);
            button.iString = m_bar.AddString(text);
        }
        button.fsStyle |= m_showTexts ? (BTNS_SHOWTEXT | BTNS_AUTOSIZE) : BTNS_AUTOSIZE;
        m_bar.AddButtons(1, &button);
        CRect added_rc;
        m_bar.GetItemRect(added, &added_rc);
        widest = std::max<int>(widest, added_rc.Width());
        ++added;
    }
    if (added == 0)
        return FALSE;
    if (m_showTexts)
        for (int i = 0; i < added; ++i)
        {
            TBBUTTONINFOA info = {};
            info.cbSize = sizeof(info);
            info.dwMask = TBIF_SIZE | TBIF_STYLE | TBIF_BYINDEX;
            m_bar.GetButtonInfo(i, &info);
            info.cx = static_cast<WORD>(widest);
            info.fsStyle &= ~BTNS_AUTOSIZE;
            m_bar.SetButtonInfo(i, &info);
        }
    m_bar.AutoSize();
    CRect rows;
    if (added == 1)
        m_bar.GetItemRect(0, &rows);
    else
    {
        m_bar.SendMessage(TB_SETROWS, MAKEWPARAM(added / 2, m_showTexts), reinterpret_cast<LPARAM>(&rows));
        m_bar.SendMessage(TB_SETROWS, MAKEWPARAM(added, m_showTexts), reinterpret_cast<LPARAM>(&rows));
        if (m_hCommandTarget != nullptr)
            m_bar.SendMessage(TB_SETROWS, MAKEWPARAM(3, m_showTexts), reinterpret_cast<LPARAM>(&rows));
    }
    m_bar.MoveWindow(0, 0, rows.Width(), rows.Height());
    return TRUE;
}

BOOL CToolBarPopup::TrackPopup(UINT flags, int x, int y, const RECT& exclude)
{
    if (m_pSource == nullptr || !::IsWindow(m_hSource))
        return FALSE;
    LPCSTR cls = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_MENU + 1));
    // Owned by the source's frame: the popup goes with it.
    HWND hOwner = ::GetAncestor(m_hSource, GA_ROOTOWNER);
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_WINDOWEDGE, cls, nullptr,
                  WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_DLGFRAME, 0, 0, 10, 10, hOwner, nullptr))
        return FALSE;
    // A fault that breaks this call off leaves no window on the object,
    // whose frame may be gone with the call.
    CFaultHold abandoned;
    abandoned.Hold(&AfxDestroyAbandonedWindow, reinterpret_cast<ULONG_PTR>(this),
                   reinterpret_cast<ULONG_PTR>(m_hWnd));
    if (!FillButtons())
    {
        DestroyWindow();
        return FALSE;
    }
    CRect rc;
    m_bar.GetWindowRect(&rc);
    CRect frame(0, 0, rc.Width(), rc.Height());
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(GetStyle()), FALSE, GetExStyle());
    CRect desktop;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &desktop, 0);
    CRect place = PlacePopup(frame.Size(), flags, x, y, exclude, desktop);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, place.left, place.top, place.Width(), place.Height(), SWP_NOACTIVATE);
    ShowWindow(SW_SHOWNOACTIVATE);
    {
        // The loop lets the capture go as it ends; a fault that breaks it off
        // lets it go too.
        CFaultCapture capture(m_hWnd);
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        CPopupKeyHook keys(m_hWnd, m_bar.m_hWnd, [this](UINT vk) { OnKey(vk); });
        RunModalLoop();
    }
    DestroyWindow();
    return TRUE;
}

void CToolBarPopup::RunModalLoop()
{
    m_looping = true;
    RunPopupLoop(m_looping, m_hWnd, m_hSource);
    m_looping = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

//--- Keys

void CToolBarPopup::OnKey(UINT vk)
{
    switch (vk)
    {
    case VK_RETURN:
    {
        int hot = m_bar.GetHotItem();
        TBBUTTON button = {};
        if (hot >= 0 && m_bar.GetButton(hot, &button) && !(button.fsStyle & TBSTYLE_SEP) && button.idCommand != 0)
            SendMessage(WM_COMMAND, static_cast<WPARAM>(button.idCommand), 0);
        else
            Close();
        break;
    }
    case VK_ESCAPE:
    case VK_MENU:
        Close();
        break;
    case VK_UP: MoveHot(-1); break;
    case VK_DOWN: MoveHot(1); break;
    default: break;
    }
}

void CToolBarPopup::MoveHot(int step)
{
    int count = m_bar.GetButtonCount();
    if (count == 0)
        return;
    int hot = m_bar.GetHotItem();
    int next = hot < 0 ? (step < 0 ? count - 1 : 0) : hot + step;
    for (int tries = 0; tries < count; ++tries)
    {
        next = (next + count) % count;
        m_bar.SetHotItem(next);
        if (m_bar.GetHotItem() == next)
            return;
        next += step;
    }
}

//--- Mouse, commands and notifications

LRESULT CToolBarPopup::OnMouse(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    DWORD pos = ::GetMessagePos();
    CPoint screen(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
    CRect barRect;
    m_bar.GetWindowRect(&barRect);
    bool overBar = ::PtInRect(&barRect, screen) != FALSE;
    if (nMsg == WM_MOUSEMOVE)
    {
        if (overBar)
        {
            CPoint pt = screen;
            m_bar.ScreenToClient(&pt);
            int hit = m_bar.HitTest(pt);
            if (hit >= 0)
                m_bar.SetHotItem(hit);
            HWND hTips = m_bar.GetToolTips();
            if (hTips != nullptr)
            {
                MSG msg = { m_bar.m_hWnd, WM_MOUSEMOVE, wParam, MAKELPARAM(pt.x, pt.y), 0, { screen.x, screen.y } };
                ::SendMessageA(hTips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
            }
        }
        else if (m_inside)
            m_bar.SetHotItem(-1);
        m_inside = overBar;
        return 0;
    }
    if (nMsg == WM_LBUTTONDOWN)
    {
        CRect own;
        GetWindowRect(&own);
        if (::PtInRect(&own, screen) && !overBar)
            return 0;  // the popup's own frame
        if (!overBar)
        {
            Close();
            // The click still reaches what is under it.
            HWND hTarget = ::WindowFromPoint(screen);
            if (hTarget != nullptr && hTarget != m_hWnd)
            {
                LRESULT hit = ::SendMessageA(hTarget, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
                if (hit == HTCLIENT)
                {
                    CPoint pt = screen;
                    ::ScreenToClient(hTarget, &pt);
                    ::PostMessageA(hTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
                }
                else
                    ::PostMessageA(hTarget, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
            }
            return 0;
        }
        // On the popup's toolbar: the button presses as usual.
        CPoint pt = screen;
        m_bar.ScreenToClient(&pt);
        return m_bar.SendMessage(nMsg, wParam, MAKELPARAM(pt.x, pt.y));
    }
    if (overBar && nMsg == WM_LBUTTONUP)
    {
        CPoint pt = screen;
        m_bar.ScreenToClient(&pt);
        return m_bar.SendMessage(nMsg, wParam, MAKELPARAM(pt.x, pt.y));
    }
    return Default();
}

LRESULT CToolBarPopup::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_TOOLBARPOPUP_CLOSE:
        m_looping = false;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATEANDEAT;
    case WM_CAPTURECHANGED:
        if (m_looping && reinterpret_cast<HWND>(lParam) != m_hWnd && reinterpret_cast<HWND>(lParam) != m_bar.m_hWnd)
            Close();
        return 0;
    case WM_COMMAND:
    {
        Close();
        HWND hTarget = m_hCommandTarget != nullptr ? m_hCommandTarget : m_hSource;
        ::PostMessageA(hTarget, WM_COMMAND, LOWORD(wParam), 0);
        return TRUE;
    }
    case WM_NOTIFY:
    {
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        if (pHdr == nullptr || pHdr->hwndFrom != m_bar.m_hWnd)
            break;
        if (pHdr->code == NM_RELEASEDCAPTURE)
        {
            ::SetCapture(m_hWnd);
            return 0;
        }
        if (pHdr->code == TBN_GETINFOTIPA)
            return 0;
        CToolBarEx* pSource = Source();
        if (pSource == nullptr)
            break;
        if (pHdr->code == NM_CUSTOMDRAW)
            return pSource->OnCustomDrawItem(reinterpret_cast<NMTBCUSTOMDRAW*>(lParam));
        return ::SendMessageA(::GetParent(m_hSource), WM_NOTIFY, wParam, lParam);
    }
    default:
        if (nMsg >= WM_MOUSEMOVE && nMsg <= WM_MBUTTONDBLCLK)
            return OnMouse(nMsg, wParam, lParam);
        break;
    }
    return CWnd::WindowProc(nMsg, wParam, lParam);
}
