// CTabCtrl: the system tab control ("SysTabControl32"); one message each.
#ifndef VA_FRAMEWORK_WIN_TABCTRL_H
#define VA_FRAMEWORK_WIN_TABCTRL_H

#include "framework/win/Wnd.h"

class CTabCtrl : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return WC_TABCONTROLA; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }

    int GetItemCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0)); }
    BOOL GetItem(int nItem, TCITEMA* pItem) const
    {
        return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(nItem),
                                                reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(int nItem, TCITEMA* pItem)
    {
        return static_cast<BOOL>(SendMessage(TCM_SETITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pItem)));
    }
    // The new item's index, or -1.
    int InsertItem(int nItem, TCITEMA* pItem)
    {
        return static_cast<int>(SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(nItem))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const
    {
        return static_cast<BOOL>(::SendMessageA(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(nItem),
                                                reinterpret_cast<LPARAM>(lpRect)));
    }
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0)); }
    int SetCurSel(int nItem) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(nItem))); }
    int GetCurFocus() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURFOCUS, 0, 0)); }
    void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(nItem)); }
    BOOL HighlightItem(int nItem, BOOL bHighlight = TRUE)
    {
        return static_cast<BOOL>(SendMessage(TCM_HIGHLIGHTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(bHighlight, 0)));
    }
    // The item under a client point, or -1; pFlags gets TCHT_ bits.
    int HitTest(POINT pt, UINT* pFlags = nullptr) const
    {
        TCHITTESTINFO info = {};
        info.pt = pt;
        int nItem = static_cast<int>(::SendMessageA(m_hWnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
        if (pFlags != nullptr)
            *pFlags = info.flags;
        return nItem;
    }
    // bLarger: display rectangle to window rectangle; otherwise the reverse.
    void AdjustRect(BOOL bLarger, LPRECT lpRect) const
    {
        ::SendMessageA(m_hWnd, TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(lpRect));
    }
    int GetRowCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETROWCOUNT, 0, 0)); }
    // The old size.
    CSize SetItemSize(CSize size)
    {
        LRESULT old = SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
        return CSize(LOWORD(old), HIWORD(old));
    }
    void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
    HIMAGELIST GetImageList() const
    {
        return reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TCM_GETIMAGELIST, 0, 0));
    }
    HIMAGELIST SetImageList(HIMAGELIST hImageList)
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)));
    }
    HWND GetToolTips() const { return reinterpret_cast<HWND>(::SendMessageA(m_hWnd, TCM_GETTOOLTIPS, 0, 0)); }

    // Item fields by one call each; the text is cut to what fits cchMax.
    LPARAM GetItemData(int nItem) const;
    int GetItemImage(int nItem) const;
    CString GetItemText(int nItem, int cchMax = 256) const;
};

inline LPARAM CTabCtrl::GetItemData(int nItem) const
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    return GetItem(nItem, &item) ? item.lParam : 0;
}

inline int CTabCtrl::GetItemImage(int nItem) const
{
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    return GetItem(nItem, &item) ? item.iImage : -1;
}

inline CString CTabCtrl::GetItemText(int nItem, int cchMax) const
{
    CString text;
    if (cchMax <= 0)
        return text;
    LPSTR buffer = text.GetBuffer(cchMax);
    buffer[0] = '\0';
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = cchMax;
    BOOL bOk = GetItem(nItem, &item);
    // The control may point pszText at its own copy rather than fill ours.
    if (bOk && item.pszText != nullptr && item.pszText != buffer)
    {
        CString copy(item.pszText);
        text.ReleaseBuffer(0);
        return copy;
    }
    text.ReleaseBuffer(bOk ? -1 : 0);
    return text;
}

#endif // VA_FRAMEWORK_WIN_TABCTRL_H
