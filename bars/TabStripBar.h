// The common part of the main frame's tab strips: a single-line tab control
// docked at the top whose items each carry a pointer in their lParam.
//
// Classes in this file:
//   CTabStripBar   a tab-control bar of pointer-carrying items
#ifndef VA_BARS_TABSTRIPBAR_H
#define VA_BARS_TABSTRIPBAR_H

#include "framework/frame/ControlBar.h"

//--- CTabStripBar
class CTabStripBar : public CControlBar
{
public:
    BOOL Create(CWnd* pParentWnd, UINT nID);

    int GetItemCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0)); }
    void DeleteAllItems() { SendMessage(TCM_DELETEALLITEMS); }
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0)); }
    void SetCurSel(int index) { SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index)); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    // The item's lParam; 0 when there is no such item.
    LPARAM GetItemParam(int index) const;
    // The index of the first item carrying param, or -1.
    int FindItemParam(LPARAM param) const;
    void DeleteItemWithParam(LPARAM param);
};

#endif // VA_BARS_TABSTRIPBAR_H
