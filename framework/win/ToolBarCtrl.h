// The system toolbar control ("ToolbarWindow32"); one message each. Buttons
// are TBBUTTON records.
//
// Classes in this file:
//   CToolBarCtrlT   the control's messages over a window base (CWnd, or the
//                   control bar that CToolBar is)
//   CToolBarCtrl    the control as a plain window
#ifndef VA_FRAMEWORK_WIN_TOOLBARCTRL_H
#define VA_FRAMEWORK_WIN_TOOLBARCTRL_H

#include <string>

#include "framework/win/Wnd.h"

template <class TBase>
class CToolBarCtrlT : public TBase
{
public:
    static LPCSTR GetWndClassName() { return TOOLBARCLASSNAMEA; }

    int GetButtonCount() const { return static_cast<int>(::SendMessageA(this->m_hWnd, TB_BUTTONCOUNT, 0, 0)); }
    BOOL GetButton(int nIndex, TBBUTTON* pButton) const
    {
        return static_cast<BOOL>(::SendMessageA(this->m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                                                reinterpret_cast<LPARAM>(pButton)));
    }
    BOOL AddButtons(int nNumButtons, const TBBUTTON* pButtons)
    {
        return static_cast<BOOL>(this->SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(nNumButtons),
                                             reinterpret_cast<LPARAM>(pButtons)));
    }
    BOOL InsertButton(int nIndex, const TBBUTTON* pButton)
    {
        return static_cast<BOOL>(this->SendMessage(TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex),
                                             reinterpret_cast<LPARAM>(pButton)));
    }
    BOOL DeleteButton(int nIndex) { return static_cast<BOOL>(this->SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex))); }
    void DeleteAllButtons()
    {
        for (int n = GetButtonCount(); n > 0; --n)
            DeleteButton(n - 1);
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return static_cast<BOOL>(::SendMessageA(this->m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                                                reinterpret_cast<LPARAM>(lpRect)));
    }
    BOOL GetRect(int nID, LPRECT lpRect) const
    {
        return static_cast<BOOL>(::SendMessageA(this->m_hWnd, TB_GETRECT, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(lpRect)));
    }
    int CommandToIndex(UINT nID) const { return static_cast<int>(::SendMessageA(this->m_hWnd, TB_COMMANDTOINDEX, nID, 0)); }
    // The index of the button under a client point; negative off the buttons.
    int HitTest(POINT pt) const
    {
        return static_cast<int>(::SendMessageA(this->m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
    }
    int GetHotItem() const { return static_cast<int>(::SendMessageA(this->m_hWnd, TB_GETHOTITEM, 0, 0)); }
    int SetHotItem(int nHot) { return static_cast<int>(this->SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(nHot))); }

    BOOL EnableButton(int nID, BOOL bEnable = TRUE)
    {
        return static_cast<BOOL>(this->SendMessage(TB_ENABLEBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bEnable, 0)));
    }
    BOOL CheckButton(int nID, BOOL bCheck = TRUE)
    {
        return static_cast<BOOL>(this->SendMessage(TB_CHECKBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bCheck, 0)));
    }
    BOOL PressButton(int nID, BOOL bPress = TRUE)
    {
        return static_cast<BOOL>(this->SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bPress, 0)));
    }
    BOOL HideButton(int nID, BOOL bHide = TRUE)
    {
        return static_cast<BOOL>(this->SendMessage(TB_HIDEBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bHide, 0)));
    }
    BOOL IsButtonEnabled(int nID) const { return static_cast<BOOL>(::SendMessageA(this->m_hWnd, TB_ISBUTTONENABLED, static_cast<WPARAM>(nID), 0)); }
    BOOL IsButtonChecked(int nID) const { return static_cast<BOOL>(::SendMessageA(this->m_hWnd, TB_ISBUTTONCHECKED, static_cast<WPARAM>(nID), 0)); }
    BOOL IsButtonHidden(int nID) const { return static_cast<BOOL>(::SendMessageA(this->m_hWnd, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(nID), 0)); }
    int GetState(int nID) const { return static_cast<int>(::SendMessageA(this->m_hWnd, TB_GETSTATE, static_cast<WPARAM>(nID), 0)); }
    BOOL SetState(int nID, UINT nState) { return static_cast<BOOL>(this->SendMessage(TB_SETSTATE, static_cast<WPARAM>(nID), MAKELPARAM(nState, 0))); }
    BOOL GetButtonInfo(int nID, TBBUTTONINFOA* ptbbi) const
    {
        return ::SendMessageA(this->m_hWnd, TB_GETBUTTONINFOA, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(ptbbi)) >= 0;
    }
    BOOL SetButtonInfo(int nID, TBBUTTONINFOA* ptbbi)
    {
        return static_cast<BOOL>(this->SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(ptbbi)));
    }

    void SetButtonStructSize(int nSize) { this->SendMessage(TB_BUTTONSTRUCTSIZE, static_cast<WPARAM>(nSize)); }
    BOOL SetBitmapSize(CSize size) { return static_cast<BOOL>(this->SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
    BOOL SetButtonSize(CSize size) { return static_cast<BOOL>(this->SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
    CSize GetButtonSize() const
    {
        DWORD dw = static_cast<DWORD>(::SendMessageA(this->m_hWnd, TB_GETBUTTONSIZE, 0, 0));
        return CSize(LOWORD(dw), HIWORD(dw));
    }
    HIMAGELIST SetImageList(HIMAGELIST hImageList)
    {
        return reinterpret_cast<HIMAGELIST>(this->SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)));
    }
    HIMAGELIST GetImageList() const { return reinterpret_cast<HIMAGELIST>(::SendMessageA(this->m_hWnd, TB_GETIMAGELIST, 0, 0)); }
    HIMAGELIST SetHotImageList(HIMAGELIST hImageList)
    {
        return reinterpret_cast<HIMAGELIST>(this->SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)));
    }
    HIMAGELIST SetDisabledImageList(HIMAGELIST hImageList)
    {
        return reinterpret_cast<HIMAGELIST>(this->SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)));
    }
    // The index of the added string, or -1; the text ends at its NUL (the
    // control reads a list closed by two).
    int AddString(LPCSTR lpszText)
    {
        std::string list(lpszText != nullptr ? lpszText : "");
        list.append(2, '\0');
        return static_cast<int>(this->SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list.c_str())));
    }
    BOOL SetMaxTextRows(int nRows) { return static_cast<BOOL>(this->SendMessage(TB_SETMAXTEXTROWS, static_cast<WPARAM>(nRows))); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(::SendMessageA(this->m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0)); }
    DWORD SetExtendedStyle(DWORD dwExStyle) { return static_cast<DWORD>(this->SendMessage(TB_SETEXTENDEDSTYLE, 0, static_cast<LPARAM>(dwExStyle))); }
    DWORD GetStyleBits() const { return static_cast<DWORD>(::SendMessageA(this->m_hWnd, TB_GETSTYLE, 0, 0)); }
    void SetStyleBits(DWORD dwStyle) { this->SendMessage(TB_SETSTYLE, 0, static_cast<LPARAM>(dwStyle)); }
    void AutoSize() { this->SendMessage(TB_AUTOSIZE); }
    // The size all buttons take in one row (TB_GETMAXSIZE).
    CSize GetMaxSize() const
    {
        SIZE size = {};
        ::SendMessageA(this->m_hWnd, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
        return CSize(size);
    }
    HWND GetToolTips() const { return reinterpret_cast<HWND>(::SendMessageA(this->m_hWnd, TB_GETTOOLTIPS, 0, 0)); }
    void Customize() { this->SendMessage(TB_CUSTOMIZE); }
};

// The control as a plain window.
class CToolBarCtrl : public CToolBarCtrlT<CWnd>
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        if (!CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID))
            return FALSE;
        SetButtonStructSize(sizeof(TBBUTTON));
        return TRUE;
    }
};


#endif // VA_FRAMEWORK_WIN_TOOLBARCTRL_H
