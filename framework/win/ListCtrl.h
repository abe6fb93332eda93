// CListCtrl: the list-view common control, as the settings pages use it: a
// report view with columns, item texts, images, data and state bits, drag
// images and the header control. One message per method.
#ifndef VA_FRAMEWORK_WIN_LISTCTRL_H
#define VA_FRAMEWORK_WIN_LISTCTRL_H

#include <vector>

#include "framework/win/Wnd.h"

class CListCtrl : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return WC_LISTVIEWA; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }

    int GetItemCount() const { return (int)::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
    int InsertColumn(int nCol, LPCSTR lpszHeading, int nFormat = LVCFMT_LEFT, int nWidth = 100)
    {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        col.fmt = nFormat;
        col.cx = nWidth;
        col.pszText = const_cast<LPSTR>(lpszHeading);
        return (int)SendMessage(LVM_INSERTCOLUMNA, nCol, (LPARAM)&col);
    }
    HWND GetHeaderCtrl() const { return (HWND)::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0); }
    // Columns of the header; 0 without one.
    int GetColumnCount() const
    {
        HWND hHeader = GetHeaderCtrl();
        return hHeader != nullptr ? (int)::SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0) : 0;
    }
    DWORD SetExtendedStyle(DWORD dwStyle)
    {
        return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwStyle);
    }
    DWORD GetExtendedStyle() const { return (DWORD)::SendMessageA(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }

    int InsertItem(const LVITEMA* pItem) { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem); }
    int InsertItem(int nItem, LPCSTR lpszItem)
    {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = nItem;
        item.pszText = const_cast<LPSTR>(lpszItem);
        return InsertItem(&item);
    }
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(LVM_DELETEITEM, nItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    BOOL GetItem(LVITEMA* pItem) const { return (BOOL)::SendMessageA(m_hWnd, LVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
    {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.pszText = const_cast<LPSTR>(lpszText);
        return (BOOL)SendMessage(LVM_SETITEMTEXTA, nItem, (LPARAM)&item);
    }
    // The whole cell text, however long.
    CString GetItemText(int nItem, int nSubItem) const
    {
        for (int size = 256;; size *= 2) {
            std::vector<char> buffer(static_cast<size_t>(size), '\0');
            LVITEMA item = {};
            item.iSubItem = nSubItem;
            item.pszText = buffer.data();
            item.cchTextMax = size;
            int n = (int)::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nItem, (LPARAM)&item);
            if (n < size - 1 || size >= (1 << 22))
                return CString(buffer.data(), n);
        }
    }
    DWORD_PTR GetItemData(int nItem) const
    {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
    }
    BOOL SetItemData(int nItem, DWORD_PTR dwData)
    {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        item.lParam = (LPARAM)dwData;
        return SetItem(&item);
    }
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return (UINT)::SendMessageA(m_hWnd, LVM_GETITEMSTATE, nItem, nMask);
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask)
    {
        LVITEMA item = {};
        item.state = nState;
        item.stateMask = nMask;
        return (BOOL)SendMessage(LVM_SETITEMSTATE, nItem, (LPARAM)&item);
    }
    BOOL GetCheck(int nItem) const { return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1; }
    BOOL SetCheck(int nItem, BOOL bCheck = TRUE)
    {
        return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    int GetNextItem(int nItem, int nFlags) const
    {
        return (int)::SendMessageA(m_hWnd, LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0));
    }
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
    {
        lpRect->left = (LONG)nCode;
        return (BOOL)::SendMessageA(m_hWnd, LVM_GETITEMRECT, nItem, (LPARAM)lpRect);
    }
    // The row at a client point, or -1.
    int HitTest(POINT pt, UINT* pFlags = nullptr) const
    {
        LVHITTESTINFO info = {};
        info.pt = pt;
        int nItem = (int)::SendMessageA(m_hWnd, LVM_HITTEST, 0, (LPARAM)&info);
        if (pFlags != nullptr)
            *pFlags = info.flags;
        return nItem;
    }
    // The list's own drag image of a row (the caller destroys it) and the
    // row's top-left corner in client coordinates.
    HIMAGELIST CreateDragImage(int nItem, LPPOINT lpPoint) const
    {
        return (HIMAGELIST)::SendMessageA(m_hWnd, LVM_CREATEDRAGIMAGE, nItem, (LPARAM)lpPoint);
    }
    BOOL Scroll(SIZE size) { return (BOOL)SendMessage(LVM_SCROLL, size.cx, size.cy); }
    BOOL RedrawItems(int nFirst, int nLast) { return (BOOL)SendMessage(LVM_REDRAWITEMS, nFirst, nLast); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return (BOOL)SendMessage(LVM_ENSUREVISIBLE, nItem, bPartialOK);
    }
    // nImageList: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE; the previous list.
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageList)
    {
        return (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, nImageList, (LPARAM)hImageList);
    }
    HIMAGELIST GetImageList(int nImageList) const
    {
        return (HIMAGELIST)::SendMessageA(m_hWnd, LVM_GETIMAGELIST, nImageList, 0);
    }
    UINT GetSelectedCount() const { return (UINT)::SendMessageA(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0); }
    // cx: a width, LVSCW_AUTOSIZE (the widest cell) or
    // LVSCW_AUTOSIZE_USEHEADER (also the header's text).
    BOOL SetColumnWidth(int nCol, int cx) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0)); }
    int GetColumnWidth(int nCol) const { return (int)::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, nCol, 0); }
    // Sorts the rows; the function compares two rows' item data.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return (BOOL)SendMessage(LVM_SORTITEMS, (WPARAM)dwData, (LPARAM)pfnCompare);
    }
};

#endif // VA_FRAMEWORK_WIN_LISTCTRL_H
