#include "bars/TabStripBar.h"

#include <commctrl.h>

namespace {

const int kBarHeight = 24;

} // namespace

BOOL CTabStripBar::Create(CWnd* pParentWnd, UINT nID)
{
    CRect rect(0, 0, 100, kBarHeight);
    return CreateBar(0, WC_TABCONTROLA, pParentWnd, WS_VISIBLE | CBRS_TOP, nID,
                     TCS_FOCUSNEVER | TCS_SINGLELINE, rect);
}

CSize CTabStripBar::CalcFixedLayout(BOOL, BOOL)
{
    return CSize(32767, kBarHeight);
}

LPARAM CTabStripBar::GetItemParam(int index) const
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (!::SendMessageA(m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return 0;
    return item.lParam;
}

int CTabStripBar::FindItemParam(LPARAM param) const
{
    for (int i = 0, n = GetItemCount(); i < n; ++i)
        if (GetItemParam(i) == param)
            return i;
    return -1;
}

void CTabStripBar::DeleteItemWithParam(LPARAM param)
{
    int index = FindItemParam(param);
    if (index >= 0)
        SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(index));
}
