#include "bars/ComboBoxXP.h"

#include <imm.h>

#include "bars/BarHost.h"
#include "framework/app/FaultGuard.h"
#include "shared/AppSettings.h"
#include "shared/FrameMessages.h"
#include "tab/TabItem.h"

//--- CHoverFrame

void CHoverFrame::Repaint()
{
    if (m_hOwner == nullptr)
        return;
    if (m_repaint & kInvalidate)
        ::InvalidateRect(m_hOwner, nullptr, FALSE);
    if (m_repaint & kFrameChanged)
        ::SetWindowPos(m_hOwner, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void CHoverFrame::OnMouseMove(HWND hWnd)
{
    if (m_hOwner == nullptr || (m_hovering && hWnd == m_hTracked))
        return;
    if (!m_hovering)
    {
        m_hovering = true;
        Repaint();
    }
    // Onto the other window of the pair: tracking moves, nothing repaints.
    m_hTracked = hWnd;
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hWnd, 0};
    ::TrackMouseEvent(&track);
}

void CHoverFrame::OnMouseLeave(HWND hWnd)
{
    if (m_hOwner == nullptr || hWnd != m_hTracked)
        return;
    if (m_hovering)
    {
        m_hovering = false;
        Repaint();
    }
    else if (m_repaint & kInvalidate)
        ::InvalidateRect(m_hOwner, nullptr, FALSE);
}

//--- CComboEditXP

BEGIN_MESSAGE_MAP(CComboEditXP, CEdit)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

void CComboEditXP::OnSetFocus(CWnd*)
{
    Default();
    if (m_pCombo == nullptr || m_pCombo->KeepsIme())
        return;
    HIMC hImc = ::ImmGetContext(m_hWnd);
    if (hImc == nullptr)
        return;
    m_imeWasOpen = ::ImmGetOpenStatus(hImc) != FALSE;
    if (m_imeWasOpen)
        ::ImmSetOpenStatus(hImc, FALSE);
    ::ImmReleaseContext(m_hWnd, hImc);
}

void CComboEditXP::OnKillFocus(CWnd*)
{
    Default();
    if (m_pCombo == nullptr || m_pCombo->KeepsIme() || !m_imeWasOpen)
        return;
    HIMC hImc = ::ImmGetContext(m_hWnd);
    if (hImc == nullptr)
        return;
    ::ImmSetOpenStatus(hImc, TRUE);
    ::ImmReleaseContext(m_hWnd, hImc);
}

void CComboEditXP::OnMouseMove(UINT, CPoint)
{
    if (m_pCombo != nullptr && m_pCombo->PassesHover())
        m_pCombo->m_hover.OnMouseMove(m_hWnd);
    Default();
}

LRESULT CComboEditXP::OnMouseLeave(WPARAM, LPARAM)
{
    if (m_pCombo != nullptr)
        m_pCombo->m_hover.OnMouseLeave(m_hWnd);
    return Default();
}

//--- CComboBoxXP

BEGIN_MESSAGE_MAP(CComboBoxXP, CComboBox)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CComboBoxXP::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID)
{
    // The sizes the control gives itself while it is made and takes its
    // font are not layouts: the box is fitted to the first size its owner
    // lays it out with (the fit depends on that height alone), not to each
    // of them, which would resize its parts every time for nothing.
    BOOL made = FALSE;
    {
        CFaultSetting<bool> making(m_making, true);
        made = CComboBox::Create(dwStyle, rect, pParent, nID);
        if (made)
            SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    }
    if (!made)
        return FALSE;
    AttachParts();
    return TRUE;
}

void CComboBoxXP::AttachParts()
{
    const int menuStyle = AppSettings().iMENU_STYLE;
    if (menuStyle != 0 && menuStyle != 1)
        m_hover.Attach(m_hWnd, CHoverFrame::kInvalidate);
    HWND hEdit = ::GetWindow(m_hWnd, GW_CHILD);
    m_edit.m_pCombo = this;
    if (hEdit != nullptr && m_edit.m_hWnd == nullptr)
        m_edit.SubclassWindow(hEdit);
}

// Runs before the combo's messages come here, so the new height is the
// control's own drop-down extent, not a layout height.
void CComboBoxXP::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    AttachParts();
    CRect rc;
    GetWindowRect(&rc);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.Width(), kSubclassedHeight, SWP_NOMOVE | SWP_NOZORDER);
}

bool CComboBoxXP::PassesHover() const
{
    const int menuStyle = AppSettings().iMENU_STYLE;
    return menuStyle != 0 && menuStyle != 1;
}

void CComboBoxXP::OnMouseMove(UINT, CPoint)
{
    if (PassesHover())
        m_hover.OnMouseMove(m_hWnd);
    Default();
}

LRESULT CComboBoxXP::OnMouseLeave(WPARAM, LPARAM)
{
    m_hover.OnMouseLeave(m_hWnd);
    return Default();
}

LRESULT CComboBoxXP::OnGetDlgCode(WPARAM, LPARAM)
{
    LRESULT code = Default();
    if (::GetKeyState(VK_RETURN) & 0x8000)
        code |= DLGC_WANTALLKEYS;
    return code;
}

// A box laid out h pixels high shows a selection field of h - 6 pixels and
// a list of seven items: the layout's size is turned into a request of seven
// items and the field height first read, and the control makes the list that
// height less its field and keeps its own window at the closed field's
// height. The field is set before the control sees the new size, so that the
// list is measured against the new field. While the request is carried out
// the control's own resizes (to a new field, back to its closed height)
// pass untouched. A size that keeps the window's present height (a width
// change, or a rebar placing the closed box) keeps the field and the list,
// and a field that already has its height is not set again.
LRESULT CComboBoxXP::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    auto* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
    if ((pPos->flags & SWP_NOSIZE) || m_settingField || m_fitting)
        return Default();
    // The field height is still read at the first size change, as ever.
    if (m_fieldHeight < 0)
        m_fieldHeight = GetItemHeight(-1);
    if (m_making)
        return Default();
    CRect rc;
    GetWindowRect(&rc);
    if (pPos->cy == rc.Height() && m_requestedHeight >= 0)
        return Default();
    m_requestedHeight = pPos->cy;
    const int field = m_requestedHeight - 6;
    if (field > 0 && field != m_fieldSet)
    {
        {
            CFaultSetting<bool> settingField(m_settingField, true);
            SetItemHeight(-1, static_cast<UINT>(field));
        }
        m_fieldSet = field;
    }
    pPos->cy = GetItemHeight(0) * kListItems + kListItems * ::GetSystemMetrics(SM_CYBORDER) + m_fieldHeight;
    // The fit lasts until the control has sized itself (the outermost
    // WM_WINDOWPOSCHANGED), or until a fault breaks off the call that sized
    // the box: a fit left standing would keep the box from ever being laid
    // out again.
    m_fitting = true;
    m_fit.Hold([](const ULONG_PTR* data) { reinterpret_cast<CComboBoxXP*>(data[0])->m_fitting = false; },
               reinterpret_cast<ULONG_PTR>(this));
    return Default();
}

LRESULT CComboBoxXP::OnWindowPosChanged(WPARAM, LPARAM)
{
    // The depth comes down again however the call ends, a fault included.
    CFaultHold depth;
    ++m_changedDepth;
    depth.Hold([](const ULONG_PTR* data) {
        CComboBoxXP* box = reinterpret_cast<CComboBoxXP*>(data[0]);
        if (--box->m_changedDepth == 0)
            box->m_fit.Release();
    }, reinterpret_cast<ULONG_PTR>(this));
    LRESULT result = Default();
    depth.Release();
    if (m_edit.m_hWnd != nullptr && ::GetFocus() != m_edit.m_hWnd)
        m_edit.SetSel(-1, 0);
    return result;
}

LRESULT CComboBoxXP::OnMouseWheel(WPARAM, LPARAM)
{
    return TRUE;  // the wheel never changes the choice
}

void CComboBoxXP::OnSetFocus(CWnd*)
{
    Default();
    if (m_edit.m_hWnd != nullptr)
        ::SetFocus(m_edit.m_hWnd);
}

void CComboBoxXP::FocusActivePage()
{
    if (m_pHost != nullptr)
        m_pHost->FocusActivePage();
}

BOOL CComboBoxXP::OnBoxKey(UINT vk)
{
    if (vk == VK_RETURN)
    {
        ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID()), 0);
        return TRUE;
    }
    if (vk == VK_ESCAPE)
    {
        if (GetDroppedState())
            ShowDropDown(FALSE);
        else
            FocusActivePage();
        return TRUE;
    }
    return FALSE;
}

BOOL CComboBoxXP::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && OnBoxKey(static_cast<UINT>(pMsg->wParam)))
        return TRUE;
    return CComboBox::PreTranslateMessage(pMsg);
}

BOOL CComboBoxXP::OnSelEndOk()
{
    return FALSE;
}

//--- CComboBoxEX_XP

BEGIN_MESSAGE_MAP(CComboBoxEX_XP, CComboBoxXP)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

void CComboBoxEX_XP::OnSetFocus(CWnd*)
{
    Default();
}

//--- CAddressCombo

BEGIN_MESSAGE_MAP(CAddressCombo, CComboBoxXP)
    ON_CONTROL_REFLECT_EX(CBN_SELENDOK, OnSelEndOk)
END_MESSAGE_MAP()

void CAddressCombo::AttachAutoComplete()
{
    if (!m_autoCompletePending)
        return;
    m_autoCompletePending = false;
    if (!AppSettings().bAddBar_AutoCompEnable() || m_edit.m_hWnd == nullptr)
        return;
    HMODULE hShell = ::GetModuleHandleA("shlwapi.dll");
    bool loaded = false;
    if (hShell == nullptr)
    {
        hShell = ::LoadLibraryA("shlwapi.dll");
        loaded = hShell != nullptr;
    }
    if (hShell == nullptr)
        return;
    using AutoCompleteFn = HRESULT(WINAPI*)(HWND, DWORD);
    auto fn = reinterpret_cast<AutoCompleteFn>(reinterpret_cast<void*>(::GetProcAddress(hShell, "SHAutoComplete")));
    if (fn != nullptr)
        fn(m_edit.m_hWnd, 14);  // URL history, recently used, Tab moves on
    if (loaded)
        ::FreeLibrary(hShell);
}

BOOL CAddressCombo::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN)
        return CComboBoxXP::PreTranslateMessage(pMsg);
    AttachAutoComplete();
    HWND hOwner = m_pOwnerFrame != nullptr ? m_pOwnerFrame->GetSafeHwnd() : nullptr;
    if (pMsg->wParam == VK_RETURN && hOwner != nullptr)
    {
        ::SendMessageA(hOwner, WM_FRAME_ADDRESSENTER, 0, reinterpret_cast<LPARAM>(this));
        return TRUE;
    }
    if (pMsg->wParam == VK_ESCAPE)
    {
        if (GetDroppedState())
            ShowDropDown(FALSE);
        CTabItem* active = m_pHost != nullptr ? m_pHost->GetActiveTab() : nullptr;
        if (active != nullptr && ::IsWindow(active->m_hFrame))
        {
            SetWindowText(active->m_url);
            int end = active->m_url.GetLength();
            SetEditSel(end, end);
            if (m_edit.m_hWnd != nullptr)
                m_edit.SendMessage(EM_SCROLLCARET);
        }
        else
            FocusActivePage();
        return TRUE;
    }
    return CComboBoxXP::PreTranslateMessage(pMsg);
}

BOOL CAddressCombo::OnSelEndOk()
{
    if (m_pOwnerFrame != nullptr && m_pOwnerFrame->IsWindow())
        m_pOwnerFrame->SendMessage(WM_FRAME_COMBOSELECT, 0, reinterpret_cast<LPARAM>(this));
    return FALSE;
}

//--- CSearchCombo

BEGIN_MESSAGE_MAP(CSearchCombo, CComboBoxEX_XP)
    ON_CONTROL_REFLECT_EX(CBN_SELENDOK, OnSelEndOk)
END_MESSAGE_MAP()

BOOL CSearchCombo::PreTranslateMessage(MSG* pMsg)
{
    HWND hOwner = m_pOwnerFrame != nullptr ? m_pOwnerFrame->GetSafeHwnd() : nullptr;
    if (pMsg->message == WM_KEYDOWN && hOwner != nullptr)
    {
        if (pMsg->wParam == VK_RETURN)
        {
            ::SendMessageA(hOwner, WM_COMMAND, kCmdRunSearch, 0);
            return TRUE;
        }
        if (pMsg->wParam == VK_ESCAPE && GetDroppedState())
            ShowDropDown(FALSE);
    }
    return CComboBoxEX_XP::PreTranslateMessage(pMsg);
}

BOOL CSearchCombo::OnSelEndOk()
{
    HWND hOwner = m_pOwnerFrame != nullptr ? m_pOwnerFrame->GetSafeHwnd() : nullptr;
    if (hOwner != nullptr)
        ::SendMessageA(hOwner, WM_FRAME_COMBOSELECT, 0, reinterpret_cast<LPARAM>(this));
    return FALSE;
}
