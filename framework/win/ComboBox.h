// CComboBox: the system combo box ("ComboBox"); one message each.
#ifndef VA_FRAMEWORK_WIN_COMBOBOX_H
#define VA_FRAMEWORK_WIN_COMBOBOX_H

#include "framework/win/Wnd.h"

class CComboBox : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return "COMBOBOX"; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect))); }
    int AddString(LPCSTR lpszString)
    {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
    }
    int InsertString(int nIndex, LPCSTR lpszString)
    {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszString)));
    }
    int DeleteString(int nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(nIndex))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    // -1 when absent; searches from after nStartAfter (-1: the whole list).
    int FindStringExact(int nStartAfter, LPCSTR lpszString) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(nStartAfter),
                                               reinterpret_cast<LPARAM>(lpszString)));
    }
    int GetLBTextLen(int nIndex) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0));
    }
    // Empty for an index out of range.
    CString GetLBText(int nIndex) const
    {
        CString text;
        int nLen = GetLBTextLen(nIndex);
        if (nLen <= 0)
            return text;
        LPSTR buffer = text.GetBuffer(nLen);
        int nGot = static_cast<int>(::SendMessageA(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                                                   reinterpret_cast<LPARAM>(buffer)));
        text.ReleaseBuffer(nGot > 0 ? nGot : 0);
        return text;
    }
    DWORD_PTR GetItemData(int nIndex) const
    {
        return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
    }
    BOOL GetDroppedState() const { return static_cast<BOOL>(::SendMessageA(m_hWnd, CB_GETDROPPEDSTATE, 0, 0)); }
    void ShowDropDown(BOOL bShow = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShow); }
    DWORD GetEditSel() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, CB_GETEDITSEL, 0, 0)); }
    BOOL SetEditSel(int nStart, int nEnd) { return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(nStart, nEnd))); }
    BOOL LimitText(int nMaxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars))); }
    int SetItemHeight(int nIndex, UINT cyItem)
    {
        return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(cyItem)));
    }
    int GetItemHeight(int nIndex) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex), 0));
    }
    int SetDroppedWidth(UINT nWidth) { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, nWidth)); }
    // The edit child of a drop-down combo; null for a drop list.
    HWND GetEditWindow() const { return ::FindWindowExA(m_hWnd, nullptr, "Edit", nullptr); }
};

#endif // VA_FRAMEWORK_WIN_COMBOBOX_H
