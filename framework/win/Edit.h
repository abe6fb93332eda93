// CEdit: the system edit control; one message each.
#ifndef VA_FRAMEWORK_WIN_EDIT_H
#define VA_FRAMEWORK_WIN_EDIT_H

#include "framework/win/Wnd.h"

class CEdit : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return "EDIT"; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }
    void GetSel(int& nStart, int& nEnd) const
    {
        DWORD start = 0, end = 0;
        ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        nStart = static_cast<int>(start);
        nEnd = static_cast<int>(end);
    }
    // nEnd -1 selects to the end; nStart -1 removes the selection.
    void SetSel(int nStart, int nEnd) { SendMessage(EM_SETSEL, static_cast<WPARAM>(nStart), nEnd); }
    void ReplaceSel(LPCSTR lpszText, BOOL bCanUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszText));
    }
    void LimitText(int nChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
    BOOL GetModify() const { return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0)); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, bReadOnly)); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
    BOOL Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
};

#endif // VA_FRAMEWORK_WIN_EDIT_H
