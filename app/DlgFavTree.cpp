#include "app/DlgFavTree.h"

#include <windows.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "framework/win/RedrawGuard.h"
#include "tab/BrowserView.h"

namespace {

const UINT kTreeId = IDC_FAVTREE;
// Images of "mjr.bmp": the folder, the entry.
const int kImageFolder = 1;
const int kImageEntry = 3;
// The question before opening a whole folder: "「%s」以下を全て開きますか？"
const char kOpenAllQuestion[] = "\x81\x75%s\x81\x76\x88\xc8\x89\xba\x82\xf0\x91\x53\x82\xc4"
                                "\x8a\x4a\x82\xab\x82\xdc\x82\xb7\x82\xa9\x81\x48";

// An entry's text: the label before its last "."; an entry without one (or
// with nothing before it) shows its URL.
CString EntryText(const CFavoriteNode& node)
{
    const int dot = node.m_label.ReverseFind('.');
    const CString name = dot >= 0 ? node.m_label.Left(dot) : CString();
    return name.IsEmpty() ? node.m_url : name;
}

HWND MainWindow()
{
    return g_pMainFrame != nullptr ? g_pMainFrame->GetSafeHwnd() : nullptr;
}

} // namespace

//--- CFavTreeCtrl

BEGIN_MESSAGE_MAP(CFavTreeCtrl, CTreeCtrl)
    ON_WM_CONTEXTMENU()
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
END_MESSAGE_MAP()

const CFavoriteNode* CFavTreeCtrl::NodeOfData(const CFavoriteTree& tree, DWORD_PTR data)
{
    const INT_PTR index = data > kCmdFavoriteFirst ? static_cast<INT_PTR>(data - kCmdFavoriteFirst) : 0;
    return tree.GetNode(index);
}

HTREEITEM CFavTreeCtrl::ItemOnLabelOrIcon(POINT client, bool withState) const
{
    UINT flags = 0;
    HTREEITEM item = HitTest(client, &flags);
    const UINT wanted = TVHT_ONITEMICON | TVHT_ONITEMLABEL | (withState ? TVHT_ONITEMSTATEICON : 0);
    return item != nullptr && (flags & wanted) != 0 ? item : nullptr;
}

POINT CFavTreeCtrl::CursorInClient() const
{
    const DWORD pos = ::GetMessagePos();
    POINT point = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    ::ScreenToClient(m_hWnd, &point);
    return point;
}

void CFavTreeCtrl::OnClick(NMHDR*, LRESULT* pResult)
{
    // The tree reports a click when the button is released (it keeps the
    // release to itself). Only a click on an entry's label or icon opens
    // it: a folder's button or blank space does not.
    *pResult = 0;
    HTREEITEM item = ItemOnLabelOrIcon(CursorInClient(), false);
    if (item == nullptr || g_pMainFrame == nullptr)
        return;
    const DWORD_PTR data = GetItemData(item);
    const CFavoriteNode* node = NodeOfData(g_pMainFrame->m_favorites, data);
    if (data >= kCmdFavoriteFirst && node != nullptr && !node->IsContainer())
        ::PostMessageA(MainWindow(), WM_COMMAND, static_cast<WPARAM>(data), 0);
}

void CFavTreeCtrl::OnRClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const POINT client = CursorInClient();
    POINT screen = client;
    ::ClientToScreen(m_hWnd, &screen);
    HTREEITEM item = ItemOnLabelOrIcon(client, true);
    if (item == nullptr)
        return;
    if (GetSelectedItem() != item)
        SelectItem(item);
    ShowItemMenu(screen);
}

void CFavTreeCtrl::OnContextMenu(CWnd*, CPoint pos)
{
    POINT screen = {pos.x, pos.y};
    if (pos.x == -1 && pos.y == -1) {
        // From the keyboard: beside the selected item's text.
        HTREEITEM item = GetSelectedItem();
        RECT rect = {};
        *reinterpret_cast<HTREEITEM*>(&rect) = item;
        if (item == nullptr || !SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)))
            return;
        screen = {rect.left + 15, rect.top + 8};
        ::ClientToScreen(m_hWnd, &screen);
    }
    ShowItemMenu(screen);
}

void CFavTreeCtrl::ShowItemMenu(POINT screen)
{
    // Without a selection there is nothing to act on.
    HTREEITEM item = GetSelectedItem();
    if (item == nullptr || g_pMainFrame == nullptr)
        return;
    const DWORD_PTR data = GetItemData(item);
    const CFavoriteNode* node = NodeOfData(g_pMainFrame->m_favorites, data);
    if (node == nullptr)
        return;
    const HWND self = m_hWnd;
    if (node->IsContainer()) {
        CString question;
        question.Format(kOpenAllQuestion, static_cast<LPCTSTR>(GetItemText(item)));
        if (::MessageBoxA(self, question, theApp.GetMainClassName(), MB_YESNO) == IDYES &&
            MainWindow() != nullptr)
            ::PostMessageA(MainWindow(), WM_COMMAND, static_cast<WPARAM>(data), 0);
        return;
    }
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_FAVTREEMENU));
    HMENU popup = menu != nullptr ? ::GetSubMenu(menu, 0) : nullptr;
    UINT chosen = popup != nullptr
                      ? static_cast<UINT>(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                          screen.x, screen.y, 0, self, nullptr))
                      : 0;
    if (menu != nullptr)
        ::DestroyMenu(menu);
    // The menu's loop may have rebuilt the tree or closed the pane.
    if (chosen == 0 || !::IsWindow(self) || g_pMainFrame == nullptr)
        return;
    node = NodeOfData(g_pMainFrame->m_favorites, data);
    if (node != nullptr && !node->IsContainer())
        OnEntryMenuChoice(chosen, *node, data);
}

void CFavTreeCtrl::OnEntryMenuChoice(UINT nID, const CFavoriteNode& node, DWORD_PTR data)
{
    if (nID == ID_FAVTREE_OPEN)
        ::PostMessageA(MainWindow(), WM_COMMAND, static_cast<WPARAM>(data), 0);
    else if (nID == ID_FAVTREE_OPENNEWTAB && !node.m_url.IsEmpty())
        theApp.OpenUrl(nullptr, node.m_url, 1);
}

//--- CDlgFavTree

BEGIN_MESSAGE_MAP(CDlgFavTree, CFavoritesTreePane)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CDlgFavTree::CDlgFavTree(CWnd* pParentWnd) : CFavoritesTreePane(IDD_FAVTREE, pParentWnd) {}

CDlgFavTree::~CDlgFavTree()
{
    if (m_tree.GetSafeHwnd() != nullptr)
        m_tree.DestroyWindow();
}

BOOL CDlgFavTree::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_tree.SubclassDlgItem(kTreeId, this);
    m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 1);
    m_images.AddBitmapFile(theApp.m_folders.ResFile("mjr.bmp"),
                           RGB(0xFF, 0x00, 0xFF));
    if (m_tree.GetSafeHwnd() != nullptr)
        m_tree.SetImageList(m_images.GetSafeHandle());
    return TRUE;
}

void CDlgFavTree::OnSize(UINT, int cx, int cy)
{
    if (m_tree.GetSafeHwnd() != nullptr)
        m_tree.MoveWindow(0, 0, cx, cy);
}

void CDlgFavTree::Fill()
{
    if (m_filled || m_tree.GetSafeHwnd() == nullptr || g_pMainFrame == nullptr)
        return;
    RedrawGuard redraw(m_tree.m_hWnd);
    if (const CFavoriteNode* root = g_pMainFrame->m_favorites.GetRoot())
        AddChildren(*root, TVI_ROOT);
    m_filled = true;
}

void CDlgFavTree::Refill()
{
    // A pane never filled (its bar not shown yet) fills from the tree as it
    // is when it first shows.
    if (m_tree.GetSafeHwnd() == nullptr || !m_filled)
        return;
    m_tree.DeleteAllItems();
    // The shell icons of the old fill go with it: back to the strip alone.
    while (m_images.GetImageCount() > 4 && m_images.Remove(m_images.GetImageCount() - 1)) {
    }
    m_filled = false;
    Fill();
}

void CDlgFavTree::AddChildren(const CFavoriteNode& folder, HTREEITEM parent)
{
    const UINT mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    for (INT_PTR i = 0; i < folder.GetChildCount(); ++i) {
        const CFavoriteNode& child = *folder.GetChild(i);
        if (child.m_flatIndex < 0)
            continue;
        const LPARAM data = static_cast<LPARAM>(kCmdFavoriteFirst + child.m_flatIndex);
        if (child.IsContainer()) {
            HTREEITEM item = m_tree.InsertItem(mask, child.m_label, kImageFolder, kImageFolder,
                                               data, parent, TVI_LAST);
            if (item != nullptr)
                AddChildren(child, item);
            continue;
        }
        int image = kImageEntry;
        if (child.m_kind == CFavoriteNode::kFile) {
            const int shell = m_images.AddSmallShellIcon(child.m_url);
            if (shell >= 0)
                image = shell;
        }
        m_tree.InsertItem(mask, EntryText(child), image, image, data, parent, TVI_LAST);
    }
}

void CDlgFavTree::OpenSelectedItem()
{
    HTREEITEM item = m_tree.GetSelectedItem();
    if (item == nullptr || g_pMainFrame == nullptr)
        return;
    const DWORD_PTR data = m_tree.GetItemData(item);
    const CFavoriteNode* node = data >= kCmdFavoriteFirst
                                    ? CFavTreeCtrl::NodeOfData(g_pMainFrame->m_favorites, data)
                                    : nullptr;
    // Folders open only through the context menu's question.
    if (node != nullptr && !node->IsContainer())
        ::PostMessageA(MainWindow(), WM_COMMAND, static_cast<WPARAM>(data), 0);
}

void CDlgFavTree::OpenItemAtPoint(POINT client)
{
    HTREEITEM item = m_tree.ItemOnLabelOrIcon(client, true);
    if (item == nullptr || g_pMainFrame == nullptr)
        return;
    if (m_tree.GetSelectedItem() != item)
        m_tree.SelectItem(item);
    const CFavoriteNode* node =
        CFavTreeCtrl::NodeOfData(g_pMainFrame->m_favorites, m_tree.GetItemData(item));
    if (node == nullptr || node->m_url.IsEmpty())
        return;
    CBrowserView* view = theApp.m_pActiveView;
    if (theApp.m_settings.bOpenNewTab_FAV_WC())
        theApp.OpenUrl(nullptr, node->m_url, 7);
    else if (view != nullptr && ::IsWindow(view->GetSafeHwnd()))
        view->Navigate(node->m_url);
    else
        theApp.OpenUrl(nullptr, node->m_url, 0);
}

void CDlgFavTree::FocusTreeUnderMouse()
{
    if (m_tree.GetSafeHwnd() == nullptr || g_pMainFrame == nullptr)
        return;
    const HWND focus = ::GetFocus();
    if (focus == m_tree.m_hWnd || ::IsChild(m_tree.m_hWnd, focus))
        return;
    if (g_pMainFrame->GetBrowserWindowAtCursor(focus))
        m_tree.SetFocus();
}

BOOL CDlgFavTree::PreTranslateMessage(MSG* pMsg)
{
    const bool inTree = m_tree.GetSafeHwnd() != nullptr &&
                        (pMsg->hwnd == m_tree.m_hWnd || ::IsChild(m_tree.m_hWnd, pMsg->hwnd));
    switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Holding a key moves once: the repeats are swallowed.
        if (pMsg->lParam & 0x40000000)
            return TRUE;
        // A bound key runs its command instead of reaching the tree; a key
        // bound to another key goes on as that key.
        if (theApp.ExecuteKeyBinding(theApp.FormatKey(static_cast<UINT>(pMsg->wParam)), pMsg))
            return TRUE;
        if (pMsg->wParam == VK_RETURN && inTree)
            OpenSelectedItem();
        // The tree gets its keys without the dialog's own handling.
        return FALSE;
    case WM_MOUSEMOVE:
        FocusTreeUnderMouse();
        return FALSE;
    case WM_MBUTTONUP:
        if (inTree) {
            POINT client = {GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)};
            if (pMsg->hwnd != m_tree.m_hWnd)
                ::MapWindowPoints(pMsg->hwnd, m_tree.m_hWnd, &client, 1);
            OpenItemAtPoint(client);
        }
        return FALSE;
    default:
        return CDialog::PreTranslateMessage(pMsg);
    }
}
