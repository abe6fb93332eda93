// The pages that edit lists: keys and gestures with their dialogs, proxies
// and the search engines, through the settings dialog and their files.
#include "dialogs/tests/PageHarness.h"

#include <cstring>

#include "dialogs/pages/BindingDialog.h"
#include "dialogs/pages/BindingDialogsRes.h"
#include "dialogs/pages/BindingPages.h"
#include "dialogs/pages/BindingPagesRes.h"
#include "dialogs/pages/GroupTabPage.h"
#include "dialogs/pages/GroupTabPageRes.h"
#include "dialogs/pages/ProxyPage.h"
#include "dialogs/pages/ProxyPageRes.h"
#include "dialogs/pages/SearchPage.h"
#include "dialogs/pages/SearchPageRes.h"
#include "menulib/NewMenu.h"
#include "tab/TabGroup.h"

extern "C" int WINAPI ShowAddPopup(HWND, const char*);

namespace {

const char kSep[] = "\x81\x4D";
const char kKeyCaption[] = "\x83\x4C\x81\x5B\x83\x4A\x83\x58\x83\x5E\x83\x7D\x83\x43\x83\x59\x90\xDD\x92\xE8";

std::string Line(std::initializer_list<const char*> fields)
{
    std::string line;
    bool bFirst = true;
    for (const char* field : fields) {
        line += (bFirst ? "" : kSep) + std::string(field);
        bFirst = false;
    }
    return line + "\r\n";
}

HWND List(HWND hPage)
{
    return ::GetDlgItem(hPage, IDC_BINDING_LIST);
}

// The rows' cells joined, "a,b;c,d;".
std::string Rows(HWND hList, int nColumns)
{
    std::string rows;
    for (int nRow = 0; nRow < PageTest::RowCount(hList); ++nRow) {
        for (int nColumn = 0; nColumn < nColumns; ++nColumn)
            rows += PageTest::Cell(hList, nRow, nColumn) + (nColumn + 1 < nColumns ? "," : ";");
    }
    return rows;
}

// Selects the tree item with the label (depth first); false when none.
bool SelectTreeItem(HWND hTree, HTREEITEM hItem, const char* label)
{
    for (; hItem != nullptr; hItem = TreeView_GetNextSibling(hTree, hItem)) {
        char text[128] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (strcmp(text, label) == 0)
            return TreeView_SelectItem(hTree, hItem) != FALSE;
        if (SelectTreeItem(hTree, TreeView_GetChild(hTree, hItem), label))
            return true;
    }
    return false;
}

bool PickCommand(HWND hDlg, const char* label)
{
    HWND hTree = ::GetDlgItem(hDlg, IDC_BIND_TREE);
    return SelectTreeItem(hTree, TreeView_GetRoot(hTree), label);
}

// A key press seen by the capture edit as the dialog's loop hands it over,
// with the modifiers held in the keyboard state.
void PressKey(HWND hEdit, UINT nMsg, UINT vk, std::initializer_list<UINT> held)
{
    BYTE keys[256] = {};
    for (UINT key : held)
        keys[key] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg = { hEdit, nMsg, vk, 0, 0, {} };
    CWnd* pEdit = CWnd::FromHandlePermanent(hEdit);
    ASSERT_NE(nullptr, pEdit);
    EXPECT_TRUE(pEdit->PreTranslateMessage(&msg));
    BYTE none[256] = {};
    ::SetKeyboardState(none);
}

// "戻る", "ホーム", "進む", commands of the shipped catalogue.
const char kBack[] = "\x96\xDF\x82\xE9";
const char kHome[] = "\x83\x7A\x81\x5B\x83\x80";
const char kForward[] = "\x90\x69\x82\xDE";

} // namespace

TEST_F(PageTest, KeyCaptureShowsTheKeysPressedAndDropsModifiersAlone)
{
    struct Case
    {
        UINT vk;
        std::initializer_list<UINT> held;
        const char* down;
        const char* up;
    };
    const Case cases[] = {
        { 'A', { VK_CONTROL }, "Ctrl+A", "Ctrl+A" },
        { VK_CONTROL, { VK_CONTROL }, "Ctrl+", "" },
        { VK_TAB, { VK_TAB }, "Tab+", "" },
        { VK_TAB, { VK_CONTROL, VK_TAB }, "Ctrl+Tab", "Ctrl+Tab" },
        { VK_TAB, { VK_CONTROL, VK_SHIFT, VK_TAB }, "Ctrl+Shift+Tab", "Ctrl+Shift+Tab" },
        { 'Q', { VK_TAB }, "Tab+Q", "Tab+Q" },
        { VK_CAPITAL, {}, "\x82\xC8\x82\xB5", "\x82\xC8\x82\xB5" },
        { VK_CAPITAL, { VK_CONTROL }, "Ctrl+\x82\xC8\x82\xB5", "" },
        { VK_F5, { VK_SHIFT, VK_MENU }, "Shift+Alt+F5", "Shift+Alt+F5" },
        { 10, {}, "a", "a" },
    };
    CDlgKeyCustom dialog;
    WhileModal({ [&] {
        HWND hDlg = FindDialog();
        HWND hEdit = ::GetDlgItem(hDlg, IDC_BIND_KEY);
        for (const Case& c : cases) {
            PressKey(hEdit, WM_KEYDOWN, c.vk, c.held);
            EXPECT_EQ(c.down, Text(hDlg, IDC_BIND_KEY)) << c.vk;
            PressKey(hEdit, WM_KEYUP, c.vk, {});
            EXPECT_EQ(c.up, Text(hDlg, IDC_BIND_KEY)) << c.vk;
        }
        Click(hDlg, IDCANCEL);
    } });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST_F(PageTest, KeyPageEntersBindingsInASeriesAndAsksBeforeTakingAKeyFromAnotherRow)
{
    m_folder->WriteBytes("KEYCONF.dat", Line({ kBack, "Ctrl+A", "1018", "0" }));
    RECT rcFirst = {};
    std::string afterNo;
    RunPage(RUNTIME_CLASS(CDlgSetTab13), IDD_SETTAB13, {
        [&](HWND hPage) { Click(hPage, IDC_BINDING_NEW); },
        [&](HWND) {
            // The first of the series: a key, a command, the series check.
            HWND hDlg = FindDialog(kKeyCaption);
            ASSERT_NE(nullptr, hDlg);
            ::SetDlgItemTextA(hDlg, IDC_BIND_KEY, "Ctrl+B");
            EXPECT_TRUE(PickCommand(hDlg, kHome));
            EXPECT_EQ(kHome, Text(hDlg, IDC_BIND_COMMAND));
            SetCheck(hDlg, IDC_BIND_CONTINUOUS, true);
            ::GetWindowRect(hDlg, &rcFirst);
            Click(hDlg, IDOK);
        },
        [&](HWND) {
            // The next one opens at once where the first was, the check on;
            // a key of another row is asked about.
            HWND hDlg = FindDialog(kKeyCaption);
            RECT rc = {};
            ::GetWindowRect(hDlg, &rc);
            EXPECT_EQ(rcFirst.left, rc.left);
            EXPECT_EQ(rcFirst.top, rc.top);
            EXPECT_TRUE(IsChecked(hDlg, IDC_BIND_CONTINUOUS));
            ::SetDlgItemTextA(hDlg, IDC_BIND_KEY, "Ctrl+A");
            PickCommand(hDlg, kForward);
            Click(hDlg, IDOK);
        },
        [&](HWND) { Click(FindDialog(), IDNO); },
        [&](HWND hPage) {
            // No: the dialog stays and the other row too.
            EXPECT_NE(nullptr, FindDialog(kKeyCaption));
            afterNo = Rows(List(hPage), 2);
            Click(FindDialog(kKeyCaption), IDOK);
        },
        [&](HWND) { Click(FindDialog(), IDYES); },
        // Yes ended that dialog with OK; the series goes on until Cancel.
        [&](HWND) { Click(FindDialog(kKeyCaption), IDCANCEL); },
        [&](HWND hPage) {
            EXPECT_EQ(std::string(kBack) + ",Ctrl+A;" + kHome + ",Ctrl+B;", afterNo);
            EXPECT_EQ(std::string(kHome) + ",Ctrl+B,1020,0;" + kForward + ",Ctrl+A,1019,0;", Rows(List(hPage), 4));
        },
    });
    EXPECT_EQ(Line({ kForward, "Ctrl+A", "1019", "0" }) + Line({ kHome, "Ctrl+B", "1020", "0" }),
              m_folder->ReadBytes("KEYCONF.dat"));
}

TEST_F(PageTest, EditingARowKeepsItWhereverItStandsAndAGestureRowIsNeverItsOwnDuplicate)
{
    // "→", "↑": the gesture page, with a three-field line the main
    // program reads, kept.
    m_folder->WriteBytes("MGC.dat", Line({ kBack, "\x81\xAA", "1018", "0" }) + Line({ kHome, "\x81\xA8", "1020" }) +
                                        Line({ "x", "\x81\xA9", "1019", "0", "5" }));
    RunPage(RUNTIME_CLASS(CDlgSetTab6), IDD_SETTAB6, {
        [&](HWND hPage) {
            EXPECT_EQ(std::string(kBack) + ",\x81\xAA,1018,0;" + kHome + ",\x81\xA8,1020,;x,\x81\xA9,1019,;",
                      Rows(List(hPage), 4));
            PageTest::SelectRows(List(hPage), { 2 });
            PageTest::DoubleClick(List(hPage));
        },
        [&](HWND) {
            // Drawn up, the key of the first row: Yes takes it from there.
            HWND hDlg = FindDialog();
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hDlg, IDC_BIND_CONTINUOUS)));
            EXPECT_EQ("\x81\xA9", Text(hDlg, IDC_BIND_GESTURE));
            Click(hDlg, IDC_BIND_BACKSPACE);
            Click(hDlg, IDC_BIND_UP);
            PickCommand(hDlg, kForward);
            Click(hDlg, IDOK);
        },
        [&](HWND) { Click(FindDialog(), IDYES); },
        [&](HWND hPage) {
            EXPECT_EQ(std::string(kHome) + ",\x81\xA8,1020,;" + kForward + ",\x81\xAA,1019,0;", Rows(List(hPage), 4));
        },
    });
    EXPECT_EQ(Line({ kHome, "\x81\xA8", "1020", "" }) + Line({ kForward, "\x81\xAA", "1019", "0" }),
              m_folder->ReadBytes("MGC.dat"));
}

TEST_F(PageTest, BindingListsFallBackToTheDefaultsAndExportAnEscapedPage)
{
    m_folder->Remove("KEYCONF.dat");
    m_folder->WriteBytes("KEYCONFDefault.dat", Line({ "<b>&\"", "Ctrl+Z", "1", "0" }) + Line({ "a", "B", "2", "0" }));
    RunPage(RUNTIME_CLASS(CDlgSetTab13), IDD_SETTAB13, {
        [&](HWND hPage) {
            Click(hPage, IDC_BINDING_EXPORT);
            ASSERT_EQ(1u, m_pMain->m_opened.size());
            EXPECT_EQ(m_folder->File("Favorite/key_settinglist.htm"), m_pMain->m_opened[0]);
            const std::string html = m_folder->ReadBytes("Favorite/key_settinglist.htm");
            EXPECT_NE(std::string::npos, html.find("<td>\x81\x40&lt;b&gt;&amp;&quot;</td><td>\x81\x40" "Ctrl+Z</td>"));
            EXPECT_EQ(std::string::npos, html.find("<b>"));
        },
    });
    EXPECT_EQ(Line({ "a", "B", "2", "0" }) + Line({ "<b>&\"", "Ctrl+Z", "1", "0" }), m_folder->ReadBytes("KEYCONF.dat"));
    EXPECT_EQ(Line({ "<b>&\"", "Ctrl+Z", "1", "0" }) + Line({ "a", "B", "2", "0" }),
              m_folder->ReadBytes("KEYCONFDefault.dat"));
}

TEST_F(PageTest, StrokesGiveTheArrowOfTheirSectorAndRepeatOnlyAfterAPause)
{
    // From (100, 100): screen y grows downward.
    struct Case
    {
        int dx;
        int dy;
        const char* arrow;
    };
    const Case cases[] = {
        { 20, 0, "\x81\xA8" }, { 20, -19, "\x81\xA8" }, { 20, -20, "\x81\xAA" }, { -20, -20, "\x81\xAA" },
        { -20, -19, "\x81\xA9" }, { -20, 20, "\x81\xAB" }, { 20, 20, "\x81\xAB" }, { 0, 20, "\x81\xAB" },
    };
    for (const Case& c : cases) {
        StrokeState state;
        state.anchor = POINT{ 100, 100 };
        EXPECT_TRUE(StrokeStep(state, POINT{ 100 + c.dx, 100 + c.dy }, 1000, 10)) << c.dx << "," << c.dy;
        EXPECT_STREQ(c.arrow, state.gesture) << c.dx << "," << c.dy;
    }
    StrokeState state;
    DWORD now = 1000;
    EXPECT_FALSE(StrokeStep(state, POINT{ 9, 0 }, now, 10));  // too short: the anchor stays
    EXPECT_TRUE(StrokeStep(state, POINT{ 10, 0 }, now += 10, 10));
    EXPECT_FALSE(StrokeStep(state, POINT{ 20, 0 }, now += 120, 10));  // within the repeat time
    EXPECT_TRUE(StrokeStep(state, POINT{ 30, 0 }, now += 121, 10));    // after a pause
    EXPECT_TRUE(StrokeStep(state, POINT{ 30, -10 }, now += 10, 10));
    EXPECT_TRUE(StrokeStep(state, POINT{ 40, -10 }, now += 10, 10));
    EXPECT_STREQ("\x81\xA8\x81\xA8\x81\xAA\x81\xA8", state.gesture);
}

TEST_F(PageTest, ProxyPageListsTheServersSortsThemAndWritesTheList)
{
    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=b.example:80\r\nProxy1=bad\r\nProxy2=a:x:8080\r\n"
                                      "Proxy3=\r\nProxy4=late:1\r\nUseProxyIndex=2\r\n");
    RunPage(RUNTIME_CLASS(CDlgSetTab8), IDD_SETTAB8, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PROXY_LIST);
            EXPECT_EQ("b.example:80,b.example,80;a:x:8080,a,8080;", Rows(hList, 3));
            ClickHeader(hList, 1);
            EXPECT_EQ("b.example:80;a:x:8080;", Rows(hList, 1));
            ClickHeader(hList, 1);
            EXPECT_EQ("a:x:8080;b.example:80;", Rows(hList, 1));
            Click(hPage, IDC_PROXY_NEW);
        },
        [&](HWND) {
            // An empty text is refused; a text without a port adds nothing.
            Click(FindDialog(), IDOK);
        },
        [&](HWND) { Click(FindDialog(), IDOK); },
        [&](HWND) {
            HWND hDlg = FindDialog();
            ::SetDlgItemTextA(hDlg, IDC_PROXY_TEXT, "c.example:");
            Click(hDlg, IDOK);
        },
        [&](HWND hPage) {
            EXPECT_EQ(2, RowCount(::GetDlgItem(hPage, IDC_PROXY_LIST)));
            Click(hPage, IDC_PROXY_BATCH);
        },
        [&](HWND) {
            HWND hDlg = FindDialog();
            EXPECT_EQ("a:x:8080\r\nb.example:80\r\n", Text(hDlg, IDC_PROXY_BATCHTEXT));
            std::string text;
            for (int i = 0; i < 250; ++i)
                text += (i == 1 ? std::string("nocolon") : "h" + std::to_string(i) + ":" + std::to_string(i)) + "\r\n";
            ::SetDlgItemTextA(hDlg, IDC_PROXY_BATCHTEXT, text.c_str());
            Click(hDlg, IDOK);
        },
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PROXY_LIST);
            EXPECT_EQ(199, RowCount(hList));
            EXPECT_EQ("h2:2", Cell(hList, 1, 0));
            // The first row two places down and one back up; the last row
            // cannot go further down.
            PageTest::SelectRows(hList, { 0 });
            Click(hPage, IDC_PROXY_DOWN);
            Click(hPage, IDC_PROXY_DOWN);
            Click(hPage, IDC_PROXY_UP);
            EXPECT_EQ("h2:2;h0:0;h3:3;", Rows(hList, 1).substr(0, 15));
            PageTest::SelectRows(hList, { 198 });
            Click(hPage, IDC_PROXY_DOWN);
            EXPECT_EQ("h199:199", Cell(hList, 198, 0));
            PageTest::SelectRows(hList, { 1, 3, 198 });
            Click(hPage, IDC_PROXY_DELETE);
            EXPECT_EQ(196, RowCount(hList));
        },
    });
    const std::string ini = m_folder->File("Proxy.ini");
    char value[64] = {};
    ::GetPrivateProfileStringA("PROXY", "Proxy0", "", value, sizeof(value), ini.c_str());
    EXPECT_STREQ("h2:2", value);
    ::GetPrivateProfileStringA("PROXY", "Proxy195", "", value, sizeof(value), ini.c_str());
    EXPECT_STREQ("h198:198", value);
    EXPECT_EQ(0u, ::GetPrivateProfileStringA("PROXY", "Proxy196", "", value, sizeof(value), ini.c_str()));
    EXPECT_EQ(2u, ::GetPrivateProfileIntA("PROXY", "UseProxyIndex", 0, ini.c_str()));
}

// Deleting walks the selection from the last row up: rows next to each
// other go together, at the start, in the middle and at the end.
TEST_F(PageTest, DeletingSelectedRowsTakesNeighboursTogether)
{
    std::string ini = "[PROXY]\r\n";
    for (int i = 0; i < 8; ++i)
        ini += "Proxy" + std::to_string(i) + "=" + static_cast<char>('a' + i) + ":" + std::to_string(i) + "\r\n";
    m_folder->WriteBytes("Proxy.ini", ini);
    struct Case
    {
        std::initializer_list<int> rows;
        const char* left;
    };
    const Case cases[] = {
        { { 1, 2 }, "a:0;d:3;e:4;f:5;g:6;h:7;" },
        { { 4, 5 }, "a:0;d:3;e:4;f:5;" },
        { { 0, 1, 2 }, "f:5;" },
    };
    RunPage(RUNTIME_CLASS(CDlgSetTab8), IDD_SETTAB8, { [&](HWND hPage) {
        HWND hList = ::GetDlgItem(hPage, IDC_PROXY_LIST);
        for (const Case& c : cases) {
            PageTest::SelectRows(hList, c.rows);
            Click(hPage, IDC_PROXY_DELETE);
            EXPECT_EQ(c.left, Rows(hList, 1)) << c.left;
        }
    } });
    const std::string path = m_folder->File("Proxy.ini");
    char value[64] = {};
    ::GetPrivateProfileStringA("PROXY", "Proxy0", "", value, sizeof(value), path.c_str());
    EXPECT_STREQ("f:5", value);
    EXPECT_EQ(0u, ::GetPrivateProfileStringA("PROXY", "Proxy1", "", value, sizeof(value), path.c_str()));
}

namespace {

std::string Engine(const char* label, int state, const char* indent = "\t")
{
    return std::string(indent) + "ENTRY:\r\n" + indent + "\tLABEL:" + label + "\r\n" + indent + "\tURL:http://" +
           label + "/?q=<UTF8>\r\n" + indent + "\tICON:\r\n" + indent + "\tADDTOOL:0\r\n" + indent + "\tSTATE:" +
           std::to_string(state) + "\r\n";
}

// The items of a menu, "id:caption[*]" with * for a checked one and a
// submenu's items in brackets.
std::string MenuItems(HMENU hMenu)
{
    std::string items;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_DATA | MIIM_FTYPE;
        ::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info);
        const CNewMenuItemData* data = reinterpret_cast<const CNewMenuItemData*>(info.dwItemData);
        const std::string caption = data != nullptr ? static_cast<LPCSTR>(data->m_strText) : "?";
        if (info.hSubMenu != nullptr)
            items += caption + "[" + MenuItems(info.hSubMenu) + "]";
        else
            items += std::to_string(info.wID) + ":" + caption + ((info.fState & MFS_CHECKED) ? "*" : "") + ";";
    }
    return items;
}

} // namespace

TEST_F(PageTest, SearchPageMenusChooseTheDefaultAndDirectionEnginesThatOkWrites)
{
    // Nodes: root 0, A 1, folder 2, B&C 3, D 4.
    m_folder->WriteBytes("SearchEngine.dat", "ROOT:\r\n" + Engine("A", 1) + "\tFOLDER:\r\n\t\tLABEL:F&G\r\n\t\tPATH:\r\n" +
                                                 Engine("B&C", 2, "\t\t") + "\tENDFOLDER:\r\n" + Engine("D", 0) +
                                                 "ENDROOT:\r\n");
    theApp.m_settings.iParentTabNewRule = 0x41;
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {
        [&](HWND hPage) {
            EXPECT_EQ("A", Text(hPage, IDC_SEARCH_TITLE));
            EXPECT_EQ("http://A/?q=<UTF8>", Text(hPage, IDC_SEARCH_URL));
            // Up has its holder; the others show the default engine.
            EXPECT_EQ("B&C", Text(hPage, IDC_SEARCH_UPTEXT));
            EXPECT_EQ("A", Text(hPage, IDC_SEARCH_RIGHTTEXT));
            CDlgSetTab18* pPage = dynamic_cast<CDlgSetTab18*>(CWnd::FromHandlePermanent(hPage));
            ASSERT_NE(nullptr, pPage);
            CNewMenu up;
            up.CreatePopupMenu();
            pPage->BuildEngineMenu(up, kRoleDragUp);
            EXPECT_EQ("31002:A;F&&G[31004:B&&C*;]31005:D;", MenuItems(up.m_hMenu));
            CNewMenu right;
            right.CreatePopupMenu();
            pPage->BuildEngineMenu(right, kRoleDragRight);
            EXPECT_EQ("32002:A*;F&&G[32004:B&&C;]32005:D;", MenuItems(right.m_hMenu));
            // Picks: D goes right, a folder and ids beyond the tree do nothing.
            for (UINT nID : { 32005u, 32003u, 32006u, 30001u })
                ::SendMessageA(hPage, WM_COMMAND, nID, 0);
            EXPECT_EQ("D", Text(hPage, IDC_SEARCH_RIGHTTEXT));
            ::SendMessageA(hPage, WM_COMMAND, 30004, 0);
            EXPECT_EQ("B&C", Text(hPage, IDC_SEARCH_TITLE));
            SetCheck(hPage, IDC_SEARCH_NEWGROUP, false);
            SetCheck(hPage, IDC_SEARCH_FOLDERGROUP, true);
        },
    });
    EXPECT_EQ(0x81, theApp.m_settings.iParentTabNewRule);
    CSearchEngineTree tree;
    tree.Load(m_folder->File("SearchEngine.dat").c_str());
    ASSERT_EQ(5, tree.GetFlatCount());
    EXPECT_EQ(0, tree.GetNode(1)->m_state);
    EXPECT_EQ(kRoleCurrent | kRoleDragUp, tree.GetNode(3)->m_state);
    EXPECT_EQ(kRoleDragRight, tree.GetNode(4)->m_state);
}

TEST_F(PageTest, SearchPageNeverWritesATreeItCouldNotRead)
{
    m_folder->Remove("SearchEngine.dat");
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {});
    EXPECT_FALSE(m_folder->Exists("SearchEngine.dat"));
}

TEST_F(PageTest, GroupDefinitionsShowTheirSwitchesAndAreWrittenBackInListOrder)
{
    const char kOn[] = "\x81\x9B";
    const char kOff[] = "\x81\x7C";
    m_folder->WriteBytes("GroupTab.dat", Line({ "Work", "113", "3" }) + Line({ "bad", "1" }) +
                                             Line({ "A", "1073741952", "0" }));
    CTabGroup group;
    group.m_captionTemplate = "Live %c";
    group.m_options = 0x4010;
    group.m_image = 7;
    m_pMain->m_pCurrentGroup = &group;
    RunPage(RUNTIME_CLASS(CDlgPTabSC), IDD_PTABSC, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PTAB_LIST);
            std::string work;
            std::string a;
            for (int i = 2; i < 12; ++i) {
                work += Cell(hList, 0, i) == kOn ? "1" : "0";
                a += Cell(hList, 1, i) == kOn ? "1" : "0";
            }
            EXPECT_EQ("1111111100", work);
            EXPECT_EQ("0000011101", a);
            // Sounds: the first row's cell inverted for all, then each
            // inverted with Shift; the name column does nothing.
            ClickHeader(hList, 3);
            EXPECT_EQ(std::string(kOff) + kOff, Cell(hList, 0, 3) + Cell(hList, 1, 3));
            SetItem(hPage, IDC_PTAB_LIST, 1);
            ClickHeader(hList, 1);
            Click(hPage, IDC_PTAB_ADDCURRENT);
            ClickHeader(hList, 3, true);
            EXPECT_EQ(std::string(kOn) + kOn + kOn, Cell(hList, 0, 3) + Cell(hList, 1, 3) + Cell(hList, 2, 3));
            // The new row moves up; the first row gets image 5.
            SetItem(hPage, IDC_PTAB_LIST, 2);
            Click(hPage, IDC_PTAB_UP);
            SetItem(hPage, IDC_PTAB_LIST, 0);
            ::SendMessageA(hPage, WM_COMMAND, 36505, 0);
        },
    });
    EXPECT_EQ(Line({ "Work", "113", "5" }) + Line({ "Live %c", "16464", "7" }) + Line({ "A", "1073742016", "0" }),
              m_folder->ReadBytes("GroupTab.dat"));
}

TEST_F(PageTest, PopupRuleExportAppendsTheActiveTabsRule)
{
    m_folder->WriteBytes("PopClose.dat", "old\x81\x4Du\x81\x4D" "1\x81\x4D" "0\r\n");
    WhileModal({ [] {
        HWND hDlg = FindDialog();
        EXPECT_EQ("Active", Text(hDlg, 1037));
        EXPECT_EQ("http://active.example/", Text(hDlg, 1039));
        SetCheck(hDlg, 1043, false);
        SetCheck(hDlg, 1044, true);
        Click(hDlg, IDOK);
    } });
    EXPECT_EQ(IDOK, ShowAddPopup(m_pMain->Handle(), m_folder->Path().c_str()));
    EXPECT_EQ(std::string("old\x81\x4Du\x81\x4D" "1\x81\x4D" "0\r\n") + Line({ "Active", "http://active.example/", "1", "0", "0", "1" }),
              m_folder->ReadBytes("PopClose.dat"));
    ASSERT_EQ(1u, m_pMain->m_sent.size());
    EXPECT_EQ(1, static_cast<int>(m_pMain->m_sent[0].lParam));
}
