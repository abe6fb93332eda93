#include "dialogs/core/DlgSetting.h"

#include "dialogs/core/FormsetApp.h"
#include "dialogs/res/resource.h"
#include "framework/frame/View.h"
#include "menulib/MenuHook.h"

namespace {

// The owner's message for a shell with an owner: wParam 1 OK, 2 Cancel.
const UINT kOwnerDone = WM_USER + 5;

// The help viewer's "display topic" command.
const UINT kHelpDisplayTopic = 0;

void DeflateRect(RECT& rc, int d)
{
    ::InflateRect(&rc, -d, -d);
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgSetting, CDialog)
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_DESTROY()
    ON_COMMAND(IDC_SETTING_HELP, OnHelp)
    ON_COMMAND(IDC_SETTING_HELPTIP, OnHelpTipCheck)
    ON_MESSAGE(WM_SHOW_HELPTIP, OnShowHelpTip)
    ON_NOTIFY(TVN_GETDISPINFOA, IDC_SETTING_TREE, OnGetDispInfo)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_SETTING_TREE, OnSelChanged)
END_MESSAGE_MAP()

CDlgSetting::CDlgSetting(CWnd* pOwner) : CDialog(IDD_SETTING, pOwner), m_pOwner(pOwner)
{
}

CDlgSetting::~CDlgSetting()
{
    // Page objects whose windows were never made (or that the dialog did
    // not get to destroy) still belong to the shell.
    for (auto& entry : m_pages) {
        if (entry->pPage != nullptr && entry->pPage->m_hWnd != nullptr)
            entry->pPage->DestroyWindow();
        delete entry->pPage;
    }
}

CWnd* CDlgSetting::AddPage(const CRuntimeClass* pClass, LPCSTR title, UINT nIDTemplate, LPCSTR parentTitle)
{
    if (m_hWnd != nullptr)
        return nullptr;
    std::unique_ptr<PageEntry> entry(new PageEntry());
    entry->pPage = pClass != nullptr ? dynamic_cast<CWnd*>(pClass->CreateObject()) : nullptr;
    entry->bNotDialog = dynamic_cast<CDialog*>(entry->pPage) == nullptr;
    entry->nIDTemplate = nIDTemplate;
    entry->pParentPage = nullptr;
    entry->title = title;
    entry->parentTitle = parentTitle;
    CWnd* pPage = entry->pPage;
    m_pages.push_back(std::move(entry));
    return pPage;
}

bool CDlgSetting::IsRestorable(const RECT& rcSaved, const RECT& rcDesktop)
{
    if (::IsRectEmpty(&rcSaved) || rcSaved.bottom - rcSaved.top < 100 || rcSaved.right - rcSaved.left < 200)
        return false;
    RECT area = rcDesktop;
    DeflateRect(area, 60);
    const POINT corners[] = { { rcSaved.left, rcSaved.top },
                              { rcSaved.right, rcSaved.bottom },
                              { rcSaved.left, rcSaved.bottom },
                              { rcSaved.right, rcSaved.top } };
    for (const POINT& pt : corners) {
        if (::PtInRect(&area, pt))
            return true;
    }
    return false;
}

BOOL CDlgSetting::OnInitDialog()
{
    CFormsetApp& app = FormsetApp();
    m_helpTip.Create(nullptr);
    SetIcon(app.m_hIcon, TRUE);
    SetIcon(app.m_hIcon, FALSE);
    SetWindowText(m_title);
    m_pageFrame.SubclassDlgItem(IDC_SETTING_PAGEAREA, this);
    m_tree.SubclassDlgItem(IDC_SETTING_TREE, this);
    m_caption.SubclassDlgItem(IDC_SETTING_CAPTION, this);

    m_caption.SetFontFace("Verdana");
    m_caption.SetFontHeight(14);
    m_caption.SetFontWeight(700);
    m_caption.SetTextColor(::GetSysColor(COLOR_BTNFACE));
    m_caption.SetProductName(m_productName);

    ::CheckDlgButton(m_hWnd, IDC_SETTING_HELPTIP, app.m_settings.bShowHelpTip() ? BST_CHECKED : BST_UNCHECKED);

    if (m_bSinglePage) {
        // The template's size is the smallest the window may take.
        RECT rcTemplate;
        GetWindowRect(&rcTemplate);
        m_sizeMin.cx = rcTemplate.right - rcTemplate.left;
        m_sizeMin.cy = rcTemplate.bottom - rcTemplate.top;

        // The page area stretches; OK and Cancel ride on the bottom edge.
        if (m_layout.AddControl(&m_pageFrame, CAnchorLayout::kRight | CAnchorLayout::kBottom) &&
            m_layout.AddControl(GetDlgItem(IDCANCEL), CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight))
            m_layout.AddControl(GetDlgItem(IDOK), CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight);

        GetWindowRect(&m_rcPageArea);
        ScreenToClient(&m_rcPageArea);
        m_rcPageArea.left += 8;
        m_rcPageArea.top += 55;
        m_rcPageArea.right -= 8;
        m_rcPageArea.bottom -= 35;
        DeflateRect(m_rcPageArea, 2);

        m_tree.EnableWindow(FALSE);
        m_tree.ShowWindow(SW_HIDE);

        RECT rcCaption;
        m_caption.GetWindowRect(&rcCaption);
        ScreenToClient(&rcCaption);
        rcCaption.left = m_rcPageArea.left;
        m_caption.MoveWindow(&rcCaption);
    } else {
        GetWindowRect(&m_rcSaved);
        m_pageFrame.GetWindowRect(&m_rcPageArea);
        ScreenToClient(&m_rcPageArea);
        DeflateRect(m_rcPageArea, 2);
        FillTree();
        ExpandAll();
    }

    if (!m_pages.empty())
        ShowPage(m_pages.front().get(), SW_SHOW);

    if (m_bSinglePage) {
        RECT rcDesktop;
        ::GetWindowRect(::GetDesktopWindow(), &rcDesktop);
        if (IsRestorable(m_rcSaved, rcDesktop)) {
            SetWindowPos(nullptr, m_rcSaved.left, m_rcSaved.top, m_rcSaved.right - m_rcSaved.left,
                         m_rcSaved.bottom - m_rcSaved.top, SWP_NOZORDER | SWP_SHOWWINDOW);
        }
    }

    // Neither the help button nor the help-tip switch is ever usable.
    for (int id : { IDC_SETTING_HELPTIP, IDC_SETTING_HELP }) {
        HWND hCtrl = ::GetDlgItem(m_hWnd, id);
        ::EnableWindow(hCtrl, FALSE);
        ::ShowWindow(hCtrl, SW_HIDE);
    }
    // The first page has the focus.
    return m_pages.empty();
}

void CDlgSetting::FillTree()
{
    for (auto& entry : m_pages) {
        HTREEITEM hParent = TVI_ROOT;
        if (entry->pParentPage != nullptr) {
            auto found = m_pageItems.find(entry->pParentPage);
            if (found != m_pageItems.end())
                hParent = found->second;
        } else if (HTREEITEM hMatch = FindItemByTitle(entry->parentTitle)) {
            hParent = hMatch;
        }
        HTREEITEM hItem = m_tree.InsertItem(TVIF_TEXT | TVIF_PARAM, LPSTR_TEXTCALLBACKA, 0, 0,
                                            reinterpret_cast<LPARAM>(entry.get()), hParent, TVI_LAST);
        if (hItem != nullptr && entry->pPage != nullptr)
            m_pageItems[entry->pPage] = hItem;
    }
}

HTREEITEM CDlgSetting::FindItemByTitle(const CString& title) const
{
    if (title.IsEmpty())
        return nullptr;
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem != nullptr; hItem = GetNextTreeItem(hItem)) {
        const PageEntry* entry = reinterpret_cast<const PageEntry*>(m_tree.GetItemData(hItem));
        if (entry != nullptr && entry->title.CompareNoCase(title) == 0)
            return hItem;
    }
    return nullptr;
}

HTREEITEM CDlgSetting::GetNextTreeItem(HTREEITEM hItem) const
{
    if (HTREEITEM hChild = m_tree.GetChildItem(hItem))
        return hChild;
    for (HTREEITEM h = hItem; h != nullptr; h = m_tree.GetParentItem(h)) {
        if (HTREEITEM hNext = m_tree.GetNextSiblingItem(h))
            return hNext;
    }
    return nullptr;
}

void CDlgSetting::ExpandAll()
{
    for (HTREEITEM hItem = m_tree.GetRootItem(); hItem != nullptr; hItem = m_tree.GetNextSiblingItem(hItem)) {
        ExpandBranch(hItem);
        if (HTREEITEM hSelected = m_tree.GetSelectedItem())
            m_tree.EnsureVisible(hSelected);
    }
}

void CDlgSetting::ExpandBranch(HTREEITEM hItem)
{
    if (!m_tree.ItemHasChildren(hItem))
        return;
    m_tree.Expand(hItem, TVE_EXPAND);
    for (HTREEITEM hChild = m_tree.GetChildItem(hItem); hChild != nullptr;
         hChild = m_tree.GetNextSiblingItem(hChild))
        ExpandBranch(hChild);
}

void CDlgSetting::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTVDISPINFOA* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    const PageEntry* entry = reinterpret_cast<const PageEntry*>(pInfo->item.lParam);
    if ((pInfo->item.mask & TVIF_TEXT) && entry != nullptr && pInfo->item.pszText != nullptr &&
        pInfo->item.cchTextMax > 0)
        lstrcpynA(pInfo->item.pszText, entry->title, pInfo->item.cchTextMax);
    *pResult = 0;
}

void CDlgSetting::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTREEVIEWA* pView = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    PageEntry* pNew = reinterpret_cast<PageEntry*>(pView->itemNew.lParam);
    if (pNew != nullptr) {
        // One pause for the switch: the two pages' own pauses nest in it.
        CMenuHookPause pause;
        ShowPage(reinterpret_cast<PageEntry*>(pView->itemOld.lParam), SW_HIDE);
        ShowPage(pNew, SW_SHOW);
    }
    *pResult = 0;
}

void CDlgSetting::ShowPage(PageEntry* pEntry, int nCmdShow)
{
    if (pEntry == nullptr)
        return;
    // A page and its controls get hundreds of messages while they are made,
    // shown and hidden; none of them opens a menu.
    CMenuHookPause pause;
    m_caption.SetCaption("");
    CWnd* pPage = pEntry->pPage;
    if (pPage != nullptr && pPage->m_hWnd == nullptr)
        CreatePage(pEntry);
    if (pPage != nullptr && pPage->m_hWnd != nullptr)
        pPage->ShowWindow(nCmdShow);
    if (nCmdShow != SW_SHOW)
        return;
    if (pPage != nullptr && pPage->m_hWnd != nullptr) {
        pPage->SetFocus();
        if (!m_bSinglePage) {
            auto found = m_pageItems.find(pPage);
            if (found != m_pageItems.end())
                m_tree.SelectItem(found->second);
        }
    }
    m_caption.SetCaption(pEntry->title);
}

void CDlgSetting::CreatePage(PageEntry* pEntry)
{
    CWnd* pPage = pEntry->pPage;
    if (!pEntry->bNotDialog) {
        if (!static_cast<CDialog*>(pPage)->CreateAsChild(pEntry->nIDTemplate, this))
            return;
    } else {
        if (!CreateViewPage(pPage, nullptr))
            return;
        pPage->ModifyStyle(WS_BORDER | WS_THICKFRAME, 0, SWP_FRAMECHANGED);
    }
    pPage->SetWindowPos(&m_tree, m_rcPageArea.left, m_rcPageArea.top, m_rcPageArea.right - m_rcPageArea.left,
                        m_rcPageArea.bottom - m_rcPageArea.top, SWP_NOACTIVATE);
    if (CView* pView = dynamic_cast<CView*>(pPage))
        pView->OnInitialUpdate();
}

BOOL CDlgSetting::CreateViewPage(CWnd* pPage, CCreateContext*)
{
    RECT rcEmpty = {};
    return pPage->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, rcEmpty, this, 0);
}

void CDlgSetting::DestroyPages()
{
    for (auto& entry : m_pages) {
        CWnd* pPage = entry->pPage;
        if (pPage == nullptr || pPage->m_hWnd == nullptr)
            continue;
        pPage->DestroyWindow();
        // Dialog pages are the shell's to delete; others delete themselves
        // with their window.
        if (!entry->bNotDialog)
            delete pPage;
        entry->pPage = nullptr;
    }
    m_pageItems.clear();
}

void CDlgSetting::StoreRect()
{
    GetWindowRect(&m_rcSaved);
}

// OK and Cancel only end the dialog: the pages go with its window
// (OnDestroy), as a page may still be running a message box, a menu or a
// wait when a posted OK or Cancel arrives.
void CDlgSetting::OnOK()
{
    if (HasEnded())
        return;
    for (auto& entry : m_pages) {
        if (!entry->bNotDialog && entry->pPage->m_hWnd != nullptr)
            static_cast<CDialog*>(entry->pPage)->UpdateData(TRUE);
    }
    StoreRect();
    if (m_pOwner != nullptr) {
        m_pOwner->PostMessage(kOwnerDone, 1);
        return;
    }
    for (auto& entry : m_pages) {
        if (entry->pPage != nullptr && entry->pPage->m_hWnd != nullptr)
            entry->pPage->SendMessage(WM_SAVE_SETTINGS);
    }
    EndDialog(IDOK);
}

void CDlgSetting::OnCancel()
{
    if (HasEnded())
        return;
    StoreRect();
    if (m_pOwner != nullptr) {
        m_pOwner->PostMessage(kOwnerDone, 2);
        return;
    }
    EndDialog(IDCANCEL);
}

void CDlgSetting::OnDestroy()
{
    // The window goes (its host ended otherwise): its pages with it.
    DestroyPages();
    if (m_helpTip.m_hWnd != nullptr)
        m_helpTip.DestroyWindow();
    CDialog::OnDestroy();
}

BOOL CDlgSetting::PreTranslateMessage(MSG* pMsg)
{
    if (FormsetApp().m_settings.bShowHelpTip() && m_helpTip.m_hWnd != nullptr)
        m_helpTip.RelayEvent(pMsg);
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && !FocusWantsEscape(pMsg)) {
        OnCancel();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

bool CDlgSetting::HasEnded() const
{
    return m_bModal && !ContinueModal();
}

// A dropped combo list closes on Esc, and a control that asks for every
// key (a key capture field) takes Esc as its own.
bool CDlgSetting::FocusWantsEscape(MSG* pMsg) const
{
    HWND hFocus = ::GetFocus();
    if (hFocus == nullptr || (hFocus != m_hWnd && !::IsChild(m_hWnd, hFocus)))
        return false;
    for (HWND h = hFocus; h != nullptr && h != m_hWnd; h = ::GetParent(h)) {
        char name[16] = {};
        ::GetClassNameA(h, name, sizeof(name));
        if (lstrcmpiA(name, "ComboBox") == 0 && ::SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0))
            return true;
    }
    const LRESULT code = ::SendMessageA(hFocus, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg));
    return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

void CDlgSetting::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    CDialog::OnGetMinMaxInfo(pInfo);
    if (m_bSinglePage && m_sizeMin.cx > 0) {
        pInfo->ptMinTrackSize.x = m_sizeMin.cx;
        pInfo->ptMinTrackSize.y = m_sizeMin.cy;
    }
}

void CDlgSetting::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (!m_bSinglePage)
        return;
    m_layout.Relayout(this);
    CWnd* pFirst = m_pages.empty() ? nullptr : m_pages.front()->pPage;
    if (pFirst != nullptr && pFirst->m_hWnd != nullptr) {
        RECT rc;
        pFirst->GetWindowRect(&rc);
        ScreenToClient(&rc);
        pFirst->MoveWindow(rc.left, rc.top, cx - 5 - rc.left, cy - 34 - rc.top);
    }
}

void CDlgSetting::OnHelp()
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    const PageEntry* entry = hItem != nullptr ? reinterpret_cast<const PageEntry*>(m_tree.GetItemData(hItem)) : nullptr;
    if (entry == nullptr || entry->pPage == nullptr || entry->pPage->m_hWnd == nullptr)
        return;
    CFormsetApp& app = FormsetApp();
    CString topic = app.GetDataFolder() + app.GetUrlString(9) + "::/_RESOURCE/" + entry->title + ".html>VAMainwin";
    typedef HWND(WINAPI * HtmlHelpFn)(HWND, LPCSTR, UINT, DWORD_PTR);
    HMODULE hModule = ::LoadLibraryA("hhctrl.ocx");
    if (hModule == nullptr)
        return;
    if (HtmlHelpFn help = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(::GetProcAddress(hModule, "HtmlHelpA"))))
        help(m_hWnd, topic, kHelpDisplayTopic, 0);
    // The viewer's windows run in that module: it stays loaded.
}

void CDlgSetting::OnHelpTipCheck()
{
    FormsetApp().m_settings.bShowHelpTip(::IsDlgButtonChecked(m_hWnd, IDC_SETTING_HELPTIP) == BST_CHECKED);
}

LRESULT CDlgSetting::OnShowHelpTip(WPARAM wParam, LPARAM lParam)
{
    CWnd* pControl = reinterpret_cast<CWnd*>(wParam);
    const char* text = reinterpret_cast<const char*>(lParam);
    if (pControl == nullptr || text == nullptr || m_helpTip.m_hWnd == nullptr)
        return 0;
    CString tip(text);
    tip.Replace("\n", "\r\n");
    m_helpTip.SetMaxTipWidth(500);
    m_helpTip.AddTool(pControl->m_hWnd, tip);
    return 0;
}
