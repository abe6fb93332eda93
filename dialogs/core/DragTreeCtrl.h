// A tree whose items, each with its subtree, can be dragged to another
// place in the same tree or into another tree of the class in this process.
//
// Classes in this file:
//   CDragTreeItem     the record an item's data points to: its kind
//   CDragTreeCtrl     the tree: drag source (an OLE drag without data) and,
//                     through its CTreeDropTarget, drop target
//   CTreeDropTarget   moves the dragged item of the recorded source tree
//                     under or after the item under the pointer
//
// The drag carries no data: the target learns the source from the record
// of the tree that began the drag, and refuses anything that offers text,
// files or a URL, so drops from other programs and pages are not taken.
// Item data pointers move with their items and are never freed here.
#ifndef VA_DIALOGS_CORE_DRAGTREECTRL_H
#define VA_DIALOGS_CORE_DRAGTREECTRL_H

#include "framework/ole/OleDropTarget.h"
#include "framework/win/TreeCtrl.h"

//--- CDragTreeItem
struct CDragTreeItem
{
    enum Kind { kEntry = 0, kRoot = 1, kFolder = 2 };
    virtual ~CDragTreeItem() = default;
    int m_nKind = kEntry;
};

class CDragTreeCtrl;

//--- CTreeDropTarget
class CTreeDropTarget : public COleDropTarget
{
public:
    explicit CTreeDropTarget(CDragTreeCtrl* pTree) : m_pOwnTree(pTree) {}

    DWORD OnDragEnter(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;
    DWORD OnDragOver(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;
    void OnDragLeave() override;
    DWORD OnDrop(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) override;

    // Text, a file list or a URL: a drag from elsewhere.
    static BOOL IsForeignData(IDataObject* pDataObject);

private:
    void MoveItem();
    void CopyItemTree(HTREEITEM hFirst, HTREEITEM hParent);
    void GetItemImages(HTREEITEM hItem, int& nImage, int& nSelectedImage);

    CDragTreeCtrl* m_pOwnTree;
    CDragTreeCtrl* m_pSourceTree = nullptr;
    CDragTreeCtrl* m_pTargetTree = nullptr;
    HTREEITEM m_hNewItem = nullptr;
};

//--- CDragTreeCtrl
class CDragTreeCtrl : public CTreeCtrl
{
public:
    CDragTreeCtrl();
    ~CDragTreeCtrl() override;

    // One item with its text, images and data.
    HTREEITEM InsertItemEx(HTREEITEM hParent, HTREEITEM hInsertAfter, LPCSTR lpszText, int nImage,
                           int nSelectedImage, LPARAM lParam);
    // For a tree attached to a dialog's control: its owner registers the
    // drop target after attaching (a tree this class creates does it itself).
    BOOL RegisterDropTarget();
    CTreeDropTarget* GetDropTarget() const { return m_pDropTarget; }

    // The record of the tree that began the latest drag (0 before any).
    static HWND GetDragSource();
    static void SetDragSource(HWND hTree);
    // The item under another item (or the same), walking up from hItem.
    bool IsSameOrBelow(HTREEITEM hItem, HTREEITEM hAncestor) const;

protected:
    DECLARE_MESSAGE_MAP()
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);

private:
    CTreeDropTarget* m_pDropTarget;
};

#endif // VA_DIALOGS_CORE_DRAGTREECTRL_H
