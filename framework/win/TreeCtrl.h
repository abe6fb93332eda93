// CTreeCtrl: the tree-view common control. One message per method; items
// are the control's HTREEITEM handles. Texts may be supplied on demand
// (LPSTR_TEXTCALLBACKA with TVN_GETDISPINFO).
#ifndef VA_FRAMEWORK_WIN_TREECTRL_H
#define VA_FRAMEWORK_WIN_TREECTRL_H

#include "framework/win/Wnd.h"

class CTreeCtrl : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return WC_TREEVIEWA; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }

    HTREEITEM InsertItem(const TVINSERTSTRUCTA* pInsert)
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(pInsert)));
    }
    // Text, images and item data set (nMask adds the TVIF_ bits named).
    HTREEITEM InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, LPARAM lParam,
                         HTREEITEM hParent, HTREEITEM hInsertAfter)
    {
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = hParent;
        tvis.hInsertAfter = hInsertAfter;
        tvis.item.mask = nMask;
        tvis.item.pszText = const_cast<LPSTR>(lpszItem);
        tvis.item.iImage = nImage;
        tvis.item.iSelectedImage = nSelectedImage;
        tvis.item.lParam = lParam;
        return InsertItem(&tvis);
    }
    HTREEITEM InsertItem(LPCSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST)
    {
        return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, hParent, hInsertAfter);
    }
    BOOL DeleteItem(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)hItem); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }

    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return reinterpret_cast<HTREEITEM>(::SendMessageA(m_hWnd, TVM_GETNEXTITEM, nCode, (LPARAM)hItem));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL ItemHasChildren(HTREEITEM hItem) const { return GetChildItem(hItem) != nullptr; }
    UINT GetCount() const { return (UINT)::SendMessageA(m_hWnd, TVM_GETCOUNT, 0, 0); }

    BOOL Select(HTREEITEM hItem, UINT nCode) { return (BOOL)SendMessage(TVM_SELECTITEM, nCode, (LPARAM)hItem); }
    BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM hItem) { return Select(hItem, TVGN_DROPHILITE); }
    BOOL Expand(HTREEITEM hItem, UINT nCode) { return (BOOL)SendMessage(TVM_EXPAND, nCode, (LPARAM)hItem); }
    BOOL EnsureVisible(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)hItem); }

    BOOL GetItem(TVITEMA* pItem) const { return (BOOL)::SendMessageA(m_hWnd, TVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(TVITEMA* pItem) { return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)pItem); }
    // The whole text, however long (a text on demand comes back as asked).
    CString GetItemText(HTREEITEM hItem) const;
    DWORD_PTR GetItemData(HTREEITEM hItem) const
    {
        TVITEMA item = {};
        item.mask = TVIF_PARAM;
        item.hItem = hItem;
        return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
    }
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
    {
        TVITEMA item = {};
        item.mask = TVIF_PARAM;
        item.hItem = hItem;
        item.lParam = static_cast<LPARAM>(dwData);
        return SetItem(&item);
    }
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
    {
        TVITEMA item = {};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = hItem;
        if (!GetItem(&item))
            return FALSE;
        nImage = item.iImage;
        nSelectedImage = item.iSelectedImage;
        return TRUE;
    }

    HIMAGELIST GetImageList(int nType = TVSIL_NORMAL) const
    {
        return reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TVM_GETIMAGELIST, nType, 0));
    }
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nType = TVSIL_NORMAL)
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, nType, (LPARAM)hImageList));
    }
    // The item at a client point, or null; pFlags receives the TVHT_ bits.
    HTREEITEM HitTest(POINT pt, UINT* pFlags = nullptr) const
    {
        TVHITTESTINFO info = {};
        info.pt = pt;
        HTREEITEM hItem = reinterpret_cast<HTREEITEM>(::SendMessageA(m_hWnd, TVM_HITTEST, 0, (LPARAM)&info));
        if (pFlags != nullptr)
            *pFlags = info.flags;
        return hItem;
    }
};

inline CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    // Grown until the text fits with room to spare.
    for (int size = 256;; size *= 2)
    {
        CString text;
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = text.GetBuffer(size);
        item.cchTextMax = size;
        item.pszText[0] = '\0';
        BOOL ok = GetItem(&item);
        // A text on demand may come back in the control's own buffer.
        CString result = ok && item.pszText != nullptr ? CString(item.pszText) : CString();
        text.ReleaseBuffer(0);
        if (result.GetLength() < size - 1 || size >= 1 << 20)
            return result;
    }
}

#endif // VA_FRAMEWORK_WIN_TREECTRL_H
