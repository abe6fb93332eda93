#include "dialogs/core/DragTreeCtrl.h"

#include <shlobj.h>

#include "framework/ole/OleDataSource.h"

namespace {

// The tree that began the latest drag in this library.
HWND g_hDragSource = nullptr;

const int kScrollMargin = 10;

CDragTreeItem* ItemRecord(const CTreeCtrl* pTree, HTREEITEM hItem)
{
    return reinterpret_cast<CDragTreeItem*>(pTree->GetItemData(hItem));
}

} // namespace

//--- CDragTreeCtrl

BEGIN_MESSAGE_MAP(CDragTreeCtrl, CTreeCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGA, OnBeginDrag)
END_MESSAGE_MAP()

CDragTreeCtrl::CDragTreeCtrl() : m_pDropTarget(new CTreeDropTarget(this))
{
}

CDragTreeCtrl::~CDragTreeCtrl()
{
    // A drag in progress may still hold the target: it only lets go.
    m_pDropTarget->Detach();
    m_pDropTarget->Release();
}

HWND CDragTreeCtrl::GetDragSource()
{
    return g_hDragSource;
}

void CDragTreeCtrl::SetDragSource(HWND hTree)
{
    g_hDragSource = hTree;
}

HTREEITEM CDragTreeCtrl::InsertItemEx(HTREEITEM hParent, HTREEITEM hInsertAfter, LPCSTR lpszText, int nImage,
                                      int nSelectedImage, LPARAM lParam)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, lpszText, nImage, nSelectedImage,
                      lParam, hParent, hInsertAfter);
}

BOOL CDragTreeCtrl::RegisterDropTarget()
{
    return m_pDropTarget->Register(m_hWnd);
}

bool CDragTreeCtrl::IsSameOrBelow(HTREEITEM hItem, HTREEITEM hAncestor) const
{
    for (HTREEITEM h = hItem; h != nullptr; h = GetParentItem(h)) {
        if (h == hAncestor)
            return true;
    }
    return false;
}

int CDragTreeCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    int nResult = CTreeCtrl::OnCreate(lpCreateStruct);
    if (nResult != -1)
        RegisterDropTarget();
    return nResult;
}

void CDragTreeCtrl::OnDestroy()
{
    m_pDropTarget->Revoke();
    CTreeCtrl::OnDestroy();
}

void CDragTreeCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew.hItem;
    SelectItem(hItem);
    SelectDropTarget(hItem);
    SetDragSource(m_hWnd);
    HWND hWnd = m_hWnd;
    COleDataSource* pSource = new COleDataSource;
    pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    pSource->Release();
    // The drop may have ended the tree's window.
    if (::IsWindow(hWnd))
        SelectDropTarget(nullptr);
}

//--- CTreeDropTarget

BOOL CTreeDropTarget::IsForeignData(IDataObject* pDataObject)
{
    static const CLIPFORMAT cfUrl = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("UniformResourceLocator"));
    return OffersFormat(pDataObject, CF_TEXT) || OffersFormat(pDataObject, CF_HDROP) ||
           OffersFormat(pDataObject, cfUrl);
}

DWORD CTreeDropTarget::OnDragEnter(IDataObject*, DWORD, POINTL, DWORD)
{
    return DROPEFFECT_MOVE;
}

DWORD CTreeDropTarget::OnDragOver(IDataObject* pDataObject, DWORD, POINTL pt, DWORD)
{
    if (IsForeignData(pDataObject))
        return DROPEFFECT_NONE;
    CDragTreeCtrl* pTree = m_pOwnTree;
    m_pTargetTree = pTree;
    POINT ptClient = { pt.x, pt.y };
    pTree->ScreenToClient(&ptClient);
    if (HTREEITEM hItem = pTree->HitTest(ptClient)) {
        pTree->Expand(hItem, TVE_EXPAND);
        pTree->SelectDropTarget(hItem);
    }
    RECT rc;
    pTree->GetClientRect(&rc);
    pTree->ClientToScreen(&rc);
    if (pt.y >= rc.bottom - kScrollMargin)
        pTree->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    else if (pt.y <= rc.top + kScrollMargin)
        pTree->SendMessage(WM_VSCROLL, SB_LINEUP);
    if (pt.x <= rc.left + kScrollMargin)
        pTree->SendMessage(WM_HSCROLL, SB_LINELEFT);
    else if (pt.x >= rc.right - kScrollMargin)
        pTree->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    return DROPEFFECT_MOVE;
}

void CTreeDropTarget::OnDragLeave()
{
    m_pTargetTree = m_pOwnTree;
    m_pTargetTree->SelectDropTarget(nullptr);
}

DWORD CTreeDropTarget::OnDrop(IDataObject* pDataObject, DWORD, POINTL, DWORD)
{
    if (IsForeignData(pDataObject))
        return DROPEFFECT_NONE;
    HWND hSource = CDragTreeCtrl::GetDragSource();
    m_pSourceTree = hSource != nullptr && ::IsWindow(hSource)
        ? dynamic_cast<CDragTreeCtrl*>(CWnd::FromHandlePermanent(hSource)) : nullptr;
    if (m_pSourceTree == nullptr)
        return DROPEFFECT_NONE;
    if (m_pTargetTree == nullptr)
        m_pTargetTree = m_pOwnTree;
    HTREEITEM hDragged = m_pSourceTree->GetSelectedItem();
    HTREEITEM hTarget = m_pTargetTree->GetDropHilightItem();
    // A folder dropped on itself or into its own subtree would be copied
    // into the subtree that is then deleted.
    if (hDragged == nullptr || hTarget == nullptr ||
        (m_pSourceTree == m_pTargetTree && m_pTargetTree->IsSameOrBelow(hTarget, hDragged))) {
        m_pTargetTree->SelectDropTarget(nullptr);
        return DROPEFFECT_NONE;
    }
    // A failure half-way must not be reported as a move.
    try {
        MoveItem();
    } catch (...) {
        m_pTargetTree->SelectDropTarget(nullptr);
        return DROPEFFECT_NONE;
    }
    m_pTargetTree->SelectDropTarget(nullptr);
    return DROPEFFECT_MOVE;
}

void CTreeDropTarget::MoveItem()
{
    HTREEITEM hDragged = m_pSourceTree->GetSelectedItem();
    HTREEITEM hTarget = m_pTargetTree->GetDropHilightItem();
    CDragTreeItem* pTargetRecord = ItemRecord(m_pTargetTree, hTarget);
    if (pTargetRecord == nullptr)
        return;
    int nImage = 0;
    int nSelectedImage = 0;
    GetItemImages(hDragged, nImage, nSelectedImage);
    const LPARAM lParam = static_cast<LPARAM>(m_pSourceTree->GetItemData(hDragged));
    const CString text = m_pSourceTree->GetItemText(hDragged);

    m_hNewItem = nullptr;
    if (pTargetRecord->m_nKind == CDragTreeItem::kRoot || pTargetRecord->m_nKind == CDragTreeItem::kFolder)
        m_hNewItem = m_pTargetTree->InsertItemEx(hTarget, TVI_LAST, text, nImage, nSelectedImage, lParam);
    else
        m_hNewItem = m_pTargetTree->InsertItemEx(m_pTargetTree->GetParentItem(hTarget), hTarget, text, nImage,
                                                 nSelectedImage, lParam);
    if (m_hNewItem == nullptr)
        return;
    CopyItemTree(m_pSourceTree->GetChildItem(hDragged), m_hNewItem);
    m_pSourceTree->DeleteItem(hDragged);
    m_pTargetTree->SelectItem(m_hNewItem);
}

void CTreeDropTarget::CopyItemTree(HTREEITEM hFirst, HTREEITEM hParent)
{
    for (HTREEITEM hItem = hFirst; hItem != nullptr && hItem != m_hNewItem;
         hItem = m_pSourceTree->GetNextSiblingItem(hItem)) {
        int nImage = 0;
        int nSelectedImage = 0;
        GetItemImages(hItem, nImage, nSelectedImage);
        HTREEITEM hCopy = m_pTargetTree->InsertItemEx(hParent, TVI_LAST, m_pSourceTree->GetItemText(hItem), nImage,
                                                      nSelectedImage,
                                                      static_cast<LPARAM>(m_pSourceTree->GetItemData(hItem)));
        if (hCopy != nullptr && m_pSourceTree->ItemHasChildren(hItem))
            CopyItemTree(m_pSourceTree->GetChildItem(hItem), hCopy);
    }
}

void CTreeDropTarget::GetItemImages(HTREEITEM hItem, int& nImage, int& nSelectedImage)
{
    nImage = 0;
    nSelectedImage = 0;
    HIMAGELIST hImages = m_pSourceTree->GetImageList(TVSIL_NORMAL);
    if (hImages == nullptr)
        return;
    if (m_pTargetTree->GetImageList(TVSIL_NORMAL) == nullptr)
        m_pTargetTree->SetImageList(hImages, TVSIL_NORMAL);
    m_pSourceTree->GetItemImage(hItem, nImage, nSelectedImage);
}
