// The favorites side pane in tree mode: a child dialog (template 271) that
// holds one tree control (1234) showing the favorites tree. A click on an
// entry's label or icon, or Enter, opens it through the main frame's
// favorites command; a middle click opens its URL in a tab; a right click on
// a folder offers to open everything in it. Keys go to the key bindings
// first, and the tree takes the focus when the mouse moves over it.
//
// Classes in this file:
//   CFavTreeCtrl   the tree: right click and its context menu
//   CDlgFavTree    the pane: fill, keys and clicks
#ifndef VA_APP_DLGFAVTREE_H
#define VA_APP_DLGFAVTREE_H

#include "bars/SizingControlBar.h"
#include "framework/dialog/Dialog.h"
#include "framework/win/ImageList.h"
#include "framework/win/TreeCtrl.h"

class CFavoriteNode;
class CFavoriteTree;

//--- CFavTreeCtrl
// Every item carries 40000 + its node's flat index (the favorites command).
class CFavTreeCtrl : public CTreeCtrl
{
public:
    // The node an item stands for in tree, or null.
    static const CFavoriteNode* NodeOfData(const CFavoriteTree& tree, DWORD_PTR data);
    // The item under a client point when the point is on its icon or label
    // (or state icon with withState), else null.
    HTREEITEM ItemOnLabelOrIcon(POINT client, bool withState) const;
    // Context menu of the selected item at a screen point: a folder asks
    // before opening all of it, an entry shows menu 273.
    void ShowItemMenu(POINT screen);

protected:
    // Where the message being handled happened, in client coordinates.
    POINT CursorInClient() const;
    void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    // The entry menu's choice: open here, or in a new tab.
    void OnEntryMenuChoice(UINT nID, const CFavoriteNode& node, DWORD_PTR data);

    DECLARE_MESSAGE_MAP()
};

//--- CDlgFavTree
class CDlgFavTree : public CFavoritesTreePane
{
public:
    explicit CDlgFavTree(CWnd* pParentWnd = nullptr);
    ~CDlgFavTree() override;

    // Fills the tree from the frame's favorites once; later calls do
    // nothing until Refill.
    void Fill() override;
    // Empties and fills again: the tree was rebuilt, so every item's data
    // names a flat index of the new tree. Nothing before the first Fill.
    void Refill();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CImageList m_images;
    CFavTreeCtrl m_tree;
    bool m_filled = false;

protected:
    void OnSize(UINT nType, int cx, int cy);
    // Posts the favorites command of the selected item when it is an entry.
    void OpenSelectedItem();
    // A middle click: the item's URL (an entry's, or a folder's path) in a
    // tab by the middle-click setting.
    void OpenItemAtPoint(POINT client);
    // Focus follows the mouse: the tree takes the focus when the frame lets
    // the focused window give it up.
    void FocusTreeUnderMouse();

    DECLARE_MESSAGE_MAP()

private:
    void AddChildren(const CFavoriteNode& folder, HTREEITEM parent);
};

#endif // VA_APP_DLGFAVTREE_H
