// The drag-to-reorder list and the drag-and-drop tree, on real controls:
// the row orders, the drop rules and the refusal of foreign data.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "dialogs/core/DragListCtrl.h"
#include "dialogs/core/DragTreeCtrl.h"

namespace {

// A data object offering one format (0: none).
class TestDataObject : public IDataObject
{
public:
    explicit TestDataObject(CLIPFORMAT cf) : m_cf(cf) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetData)(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    STDMETHOD(GetDataHere)(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    STDMETHOD(QueryGetData)(FORMATETC* pFormat) override
    {
        return m_cf != 0 && pFormat->cfFormat == m_cf ? S_OK : DV_E_FORMATETC;
    }
    STDMETHOD(GetCanonicalFormatEtc)(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHOD(SetData)(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(EnumFormatEtc)(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHOD(DAdvise)(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(DUnadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumDAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    CLIPFORMAT m_cf;
};

class DragControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr));
    }
    void TearDown() override { m_host.DestroyWindow(); }

    void MakeList(DWORD dwExtraStyle = 0)
    {
        RECT rc = { 0, 0, 300, 300 };
        ASSERT_TRUE(m_list.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | dwExtraStyle, rc, &m_host, 100));
        m_list.SetExtendedStyle(LVS_EX_CHECKBOXES);
        m_list.InsertColumn(0, "a");
        m_list.InsertColumn(1, "b");
        for (int i = 0; i < 6; ++i) {
            m_list.InsertItem(i, std::to_string(i).c_str());
            m_list.SetItemText(i, 1, ("cell " + std::to_string(i)).c_str());
            m_list.SetItemData(i, static_cast<DWORD_PTR>(100 + i));
        }
    }
    std::string Order() const
    {
        std::string order;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            order += static_cast<LPCSTR>(m_list.GetItemText(i, 0));
        return order;
    }
    void Move(std::vector<int> rows, int dropRow)
    {
        m_list.m_draggedRows = rows;
        m_list.m_nDropRow = dropRow;
        m_list.MoveSelectedItems();
    }

    CWnd m_host;
    CDragListCtrl m_list;
};

} // namespace

TEST_F(DragControlsTest, DraggedRowsLandTogetherAfterTheDropRow)
{
    MakeList();
    Move({ 2, 4 }, 0);
    EXPECT_EQ("024135", Order());
    // Each row takes its data and every cell along.
    EXPECT_EQ(102u, m_list.GetItemData(1));
    EXPECT_STREQ("cell 4", m_list.GetItemText(2, 1));

    m_list.DeleteAllItems();
    for (int i = 0; i < 6; ++i)
        m_list.InsertItem(i, std::to_string(i).c_str());
    Move({ 0, 1 }, 4);
    EXPECT_EQ("234015", Order());
    // Below the last row: the end.
    Move({ 0 }, 5);
    EXPECT_EQ("340152", Order());
}

TEST_F(DragControlsTest, MovedRowsKeepLongCellsAndCheckMarks)
{
    MakeList();
    const std::string longText(3000, 'x');
    m_list.SetItemText(3, 1, longText.c_str());
    m_list.SetCheck(3, TRUE);
    Move({ 3 }, -1);  // no drop row yet: the top
    EXPECT_EQ("301245", Order());
    EXPECT_EQ(longText, static_cast<LPCSTR>(m_list.GetItemText(0, 1)));
    EXPECT_TRUE(m_list.GetCheck(0));
    EXPECT_FALSE(m_list.GetCheck(1));
}

TEST_F(DragControlsTest, DragByTheMouseRestoresSingleSelectionAndMovesAfterTheHighlight)
{
    MakeList(LVS_SINGLESEL);
    m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = m_list.m_hWnd;
    nm.hdr.idFrom = 100;
    nm.hdr.code = LVN_BEGINDRAG;
    nm.iItem = 1;
    ::SendMessageA(m_host.m_hWnd, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&nm));
    ASSERT_TRUE(m_list.IsDragging());
    EXPECT_FALSE(m_list.GetStyle() & LVS_SINGLESEL);
    m_list.SetDropHighlight(4);
    ::SendMessageA(m_list.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    EXPECT_FALSE(m_list.IsDragging());
    EXPECT_EQ("023415", Order());
    EXPECT_TRUE(m_list.GetStyle() & LVS_SINGLESEL);

    // Drag switched off: the notification does nothing.
    m_list.m_bDragEnabled = FALSE;
    ::SendMessageA(m_host.m_hWnd, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&nm));
    EXPECT_FALSE(m_list.IsDragging());
}

namespace {

class DragTreeTest : public DragControlsTest
{
protected:
    void SetUp() override
    {
        DragControlsTest::SetUp();
        RECT rc = { 0, 0, 250, 300 };
        ASSERT_TRUE(m_tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, rc, &m_host, 200));
        RECT rc2 = { 300, 0, 550, 300 };
        ASSERT_TRUE(m_other.Create(WS_VISIBLE, rc2, &m_host, 201));
        m_root.m_nKind = CDragTreeItem::kRoot;
        m_folder.m_nKind = CDragTreeItem::kFolder;
        m_sub.m_nKind = CDragTreeItem::kFolder;
        m_hRoot = Add(TVI_ROOT, "root", &m_root);
        m_hFolder = Add(m_hRoot, "folder", &m_folder);
        m_hSub = Add(m_hFolder, "sub", &m_sub);
        m_hDeep = Add(m_hSub, "deep", &m_entries[0]);
        m_hEntry = Add(m_hRoot, "entry", &m_entries[1]);
        m_hLast = Add(m_hRoot, "last", &m_entries[2]);
        m_tree.Expand(m_hRoot, TVE_EXPAND);
        m_tree.Expand(m_hFolder, TVE_EXPAND);
        m_tree.Expand(m_hSub, TVE_EXPAND);
    }

    HTREEITEM Add(HTREEITEM hParent, const char* text, CDragTreeItem* pRecord)
    {
        return m_tree.InsertItemEx(hParent, TVI_LAST, text, 1, 2, reinterpret_cast<LPARAM>(pRecord));
    }
    // A drag of hItem in the source tree dropped onto hTarget of the target
    // tree, through the target's IDropTarget.
    DWORD Drop(CDragTreeCtrl& source, HTREEITEM hItem, CDragTreeCtrl& target, HTREEITEM hTarget,
               CLIPFORMAT cf = 0)
    {
        source.SelectItem(hItem);
        CDragTreeCtrl::SetDragSource(source.m_hWnd);
        TestDataObject data(cf);
        RECT rc;
        TreeView_GetItemRect(target.m_hWnd, hTarget, &rc, TRUE);
        POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        target.ClientToScreen(&pt);
        POINTL ptl = { pt.x, pt.y };
        IDropTarget* pTarget = target.GetDropTarget();
        DWORD effect = DROPEFFECT_MOVE;
        pTarget->DragEnter(&data, MK_LBUTTON, ptl, &effect);
        effect = DROPEFFECT_MOVE;
        pTarget->DragOver(MK_LBUTTON, ptl, &effect);
        if (effect == DROPEFFECT_NONE) {
            pTarget->DragLeave();
            return effect;
        }
        effect = DROPEFFECT_MOVE;
        pTarget->Drop(&data, 0, ptl, &effect);
        return effect;
    }
    // The texts of a subtree in pre-order, children in brackets.
    std::string Shape(CTreeCtrl& tree, HTREEITEM hFirst)
    {
        std::string shape;
        for (HTREEITEM h = hFirst; h != nullptr; h = tree.GetNextSiblingItem(h)) {
            shape += static_cast<LPCSTR>(tree.GetItemText(h));
            if (HTREEITEM hChild = tree.GetChildItem(h))
                shape += "(" + Shape(tree, hChild) + ")";
            if (tree.GetNextSiblingItem(h) != nullptr)
                shape += " ";
        }
        return shape;
    }

    CDragTreeCtrl m_tree;
    CDragTreeCtrl m_other;
    CDragTreeItem m_root, m_folder, m_sub, m_entries[3];
    HTREEITEM m_hRoot = nullptr, m_hFolder = nullptr, m_hSub = nullptr, m_hDeep = nullptr;
    HTREEITEM m_hEntry = nullptr, m_hLast = nullptr;
};

} // namespace

TEST_F(DragTreeTest, EntryGoesIntoAFolderOrAfterAnEntry)
{
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), Drop(m_tree, m_hLast, m_tree, m_hFolder));
    EXPECT_EQ("root(folder(sub(deep) last) entry)", Shape(m_tree, m_tree.GetRootItem()));
    HTREEITEM hLast = m_tree.GetSelectedItem();
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(&m_entries[2]), m_tree.GetItemData(hLast));

    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), Drop(m_tree, hLast, m_tree, m_hEntry));
    EXPECT_EQ("root(folder(sub(deep)) entry last)", Shape(m_tree, m_tree.GetRootItem()));
}

TEST_F(DragTreeTest, FolderMovesWithItsSubtreeButNeverIntoItself)
{
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Drop(m_tree, m_hFolder, m_tree, m_hDeep));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Drop(m_tree, m_hFolder, m_tree, m_hFolder));
    EXPECT_EQ("root(folder(sub(deep)) entry last)", Shape(m_tree, m_tree.GetRootItem()));

    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), Drop(m_tree, m_hFolder, m_tree, m_hLast));
    EXPECT_EQ("root(entry last folder(sub(deep)))", Shape(m_tree, m_tree.GetRootItem()));
}

TEST_F(DragTreeTest, ForeignDataIsRefused)
{
    const CLIPFORMAT cfUrl = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("UniformResourceLocator"));
    for (CLIPFORMAT cf : { static_cast<CLIPFORMAT>(CF_TEXT), static_cast<CLIPFORMAT>(CF_HDROP), cfUrl })
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Drop(m_tree, m_hLast, m_tree, m_hFolder, cf));
    EXPECT_EQ("root(folder(sub(deep)) entry last)", Shape(m_tree, m_tree.GetRootItem()));
}

TEST_F(DragTreeTest, ItemMovesIntoAnotherTreeWithTheSourcesImages)
{
    HIMAGELIST hImages = ImageList_Create(16, 16, ILC_COLOR24, 4, 0);
    m_tree.SetImageList(hImages);
    CDragTreeItem otherRoot;
    otherRoot.m_nKind = CDragTreeItem::kRoot;
    HTREEITEM hOtherRoot = m_other.InsertItemEx(TVI_ROOT, TVI_LAST, "other", 0, 0,
                                                reinterpret_cast<LPARAM>(&otherRoot));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), Drop(m_tree, m_hSub, m_other, hOtherRoot));
    EXPECT_EQ("other(sub(deep))", Shape(m_other, m_other.GetRootItem()));
    EXPECT_EQ("root(folder entry last)", Shape(m_tree, m_tree.GetRootItem()));
    EXPECT_EQ(hImages, m_other.GetImageList());
    int nImage = 0, nSelected = 0;
    m_other.GetItemImage(m_other.GetSelectedItem(), nImage, nSelected);
    EXPECT_EQ(1, nImage);
    EXPECT_EQ(2, nSelected);
    m_other.SetImageList(nullptr);
    m_tree.SetImageList(nullptr);
    ImageList_Destroy(hImages);
}
