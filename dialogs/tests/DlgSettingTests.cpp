// The settings dialog shell: lazy page creation, the save order, Esc in a
// page, the single-page rectangle rule and the settings exports.
#include "dialogs/tests/DialogsTestApp.h"

#include <string>

#include "dialogs/core/DlgSetting.h"
#include "dialogs/pages/SettingsPages.h"
#include "dialogs/res/resource.h"
#include "dialogs/tests/DialogsTestsRes.h"
#include "framework/dialog/DataExchange.h"
#include "framework/dialog/PropertyPage.h"

extern "C" SettingsRecord* WINAPI ShowSettingDlg(HICON, HWND, const char*, const char*, SettingsRecord*, int*);
extern "C" SettingsRecord* WINAPI ShowPtabSCDlg(HICON, HWND, const char*, const char*, SettingsRecord*, int*);
extern "C" SettingsRecord* WINAPI ShowPtabTempDlg(HICON, HWND, const char*, const char*, SettingsRecord*, int*);

namespace {

// What the pages did, in order: "save N" (with ":text" when its edit's
// member holds a text), "create N", "box N alive" or "box N gone".
std::string s_log;

class CTestPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CTestPage)
public:
    CTestPage() : CPropertyPage(IDD_TESTPAGE) {}
    BOOL OnInitDialog() override
    {
        s_log += "create " + std::to_string(m_nNumber) + ";";
        for (const char* item : { "a", "b" })
            ::SendDlgItemMessageA(m_hWnd, IDC_TESTPAGE_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return CPropertyPage::OnInitDialog();
    }
    int m_nNumber = 0;
    CString m_text;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_TESTPAGE_EDIT, m_text); }
    DECLARE_MESSAGE_MAP()
    LRESULT OnSaveSettings(WPARAM, LPARAM)
    {
        s_log += "save " + std::to_string(m_nNumber) + (m_text.IsEmpty() ? "" : ":" + std::string(m_text)) + ";";
        return 0;
    }
    // A message box, then the page goes on with its own window.
    void OnBox()
    {
        const HWND hWnd = m_hWnd;
        const int number = m_nNumber;
        ::MessageBoxA(hWnd, "box", "box", MB_OK);
        s_log += "box " + std::to_string(number) + (::IsWindow(hWnd) ? " alive;" : " gone;");
    }
};

IMPLEMENT_DYNCREATE(CTestPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CTestPage, CPropertyPage)
    ON_MESSAGE(WM_SAVE_SETTINGS, OnSaveSettings)
    ON_COMMAND(IDC_TESTPAGE_BOX, OnBox)
END_MESSAGE_MAP()

// The shell with test pages; the running one is reachable from the steps.
class CTestSetting : public CDlgSetting
{
public:
    CTestSetting() { SetTitle("TestSettings"); }
    CTestPage* Add(int number, const char* title)
    {
        CTestPage* page = static_cast<CTestPage*>(AddPage(RUNTIME_CLASS(CTestPage), title, IDD_TESTPAGE, title));
        page->m_nNumber = number;
        return page;
    }
    HWND Tree() const { return ::GetDlgItem(m_hWnd, IDC_SETTING_TREE); }
};

// The tree item at an index of the flat list.
HTREEITEM TreeItem(HWND hTree, int index)
{
    HTREEITEM hItem = TreeView_GetRoot(hTree);
    while (index-- > 0 && hItem != nullptr)
        hItem = TreeView_GetNextSibling(hTree, hItem);
    return hItem;
}

std::string CaptionText(HWND hDlg)
{
    char text[128] = {};
    ::GetDlgItemTextA(hDlg, IDC_SETTING_CAPTION, text, sizeof(text));
    return text;
}

class DlgSettingTest : public DialogsTest
{
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        s_log.clear();
    }
};

} // namespace

TEST_F(DlgSettingTest, PagesAreMadeWhenFirstShownAndOnlyThoseSaveOnOK)
{
    CTestSetting dialog;
    CTestPage* first = dialog.Add(1, "one");
    dialog.Add(2, "two");
    CTestPage* third = dialog.Add(3, "three");
    HWND hFirst = nullptr;
    std::string caption;
    WhileModal({
        [&] {
            // Only the first page exists, shown, with its title in the bar.
            EXPECT_EQ("create 1;", s_log);
            hFirst = first->m_hWnd;
            EXPECT_TRUE(first->GetStyle() & WS_VISIBLE);
            EXPECT_EQ(nullptr, third->m_hWnd);
            EXPECT_EQ("one", CaptionText(dialog.m_hWnd));
            TreeView_SelectItem(dialog.Tree(), TreeItem(dialog.Tree(), 2));
        },
        [&] {
            // Switching hides the previous page and keeps its window.
            EXPECT_EQ("create 1;create 3;", s_log);
            EXPECT_TRUE(::IsWindow(hFirst));
            EXPECT_FALSE(first->GetStyle() & WS_VISIBLE);
            EXPECT_TRUE(third->GetStyle() & WS_VISIBLE);
            caption = CaptionText(dialog.m_hWnd);
            Click(dialog.m_hWnd, IDOK);
        },
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(AllStepsRan());
    EXPECT_EQ("three", caption);
    // Saved in registration order; the page never shown saved nothing.
    EXPECT_EQ("create 1;create 3;save 1;save 3;", s_log);
    EXPECT_FALSE(::IsWindow(hFirst));
}

TEST_F(DlgSettingTest, TreeListsEveryTitleInRegistrationOrder)
{
    CTestSetting dialog;
    dialog.Add(1, "one");
    dialog.AddPage(nullptr, "caption only", 0, "caption only");
    dialog.Add(3, "three");
    std::string texts;
    WhileModal({
        [&] {
            for (int i = 0; i < 3; ++i) {
                char text[64] = {};
                TVITEMA item = {};
                item.mask = TVIF_TEXT;
                item.hItem = TreeItem(dialog.Tree(), i);
                item.pszText = text;
                item.cchTextMax = sizeof(text);
                ::SendMessageA(dialog.Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
                texts += std::string(text) + "|";
            }
            // A page without a class only names itself.
            TreeView_SelectItem(dialog.Tree(), TreeItem(dialog.Tree(), 1));
        },
        [&] {
            EXPECT_EQ("caption only", CaptionText(dialog.m_hWnd));
            Click(dialog.m_hWnd, IDCANCEL);
        },
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ("one|caption only|three|", texts);
    EXPECT_EQ(nullptr, dialog.AddPage(nullptr, "late", 0, "late"));
    EXPECT_EQ("create 1;", s_log);  // cancel saves nothing
}

TEST_F(DlgSettingTest, EscInAPagesEditCancelsTheWholeDialog)
{
    CTestSetting dialog;
    CTestPage* page = dialog.Add(1, "one");
    WhileModal({
        [&] {
            HWND hEdit = ::GetDlgItem(page->m_hWnd, IDC_TESTPAGE_EDIT);
            ::SetFocus(hEdit);
            ::PostMessageA(hEdit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        },
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ("create 1;", s_log);
}

TEST_F(DlgSettingTest, SavedRectangleIsRestoredByTheRule)
{
    const RECT desktop = { 0, 0, 1280, 1024 };
    EXPECT_TRUE(CDlgSetting::IsRestorable(RECT{ 100, 100, 350, 250 }, desktop));   // 250 x 150
    EXPECT_FALSE(CDlgSetting::IsRestorable(RECT{ 100, 100, 350, 190 }, desktop));  // 90 high
    EXPECT_FALSE(CDlgSetting::IsRestorable(RECT{ 100, 100, 290, 300 }, desktop));  // 190 wide
    EXPECT_FALSE(CDlgSetting::IsRestorable(RECT{}, desktop));
    // Off-screen but for its right-bottom corner.
    EXPECT_TRUE(CDlgSetting::IsRestorable(RECT{ -400, -300, 100, 100 }, desktop));
    // Every corner in the 60-pixel margin or beyond.
    EXPECT_FALSE(CDlgSetting::IsRestorable(RECT{ -400, -300, 50, 50 }, desktop));
}

TEST_F(DlgSettingTest, SinglePageDialogOpensAtItsRectangleAndRelaysOnResize)
{
    CTestSetting dialog;
    dialog.m_bSinglePage = 1;
    dialog.m_rcSaved = RECT{ 120, 110, 920, 810 };
    CTestPage* page = dialog.Add(1, "one");
    RECT rcWindow = {}, rcOkBefore = {}, rcOkAfter = {}, rcPage = {}, rcClient = {};
    BOOL treeVisible = TRUE;
    WhileModal({
        [&] {
            dialog.GetWindowRect(&rcWindow);
            treeVisible = ::IsWindowVisible(dialog.Tree());
            ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, IDOK), &rcOkBefore);
            dialog.SetWindowPos(nullptr, 0, 0, 800, 800, SWP_NOMOVE | SWP_NOZORDER);
            ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, IDOK), &rcOkAfter);
            page->GetWindowRect(&rcPage);
            dialog.ScreenToClient(&rcPage);
            dialog.GetClientRect(&rcClient);
            dialog.SetWindowPos(nullptr, 200, 150, 810, 720, SWP_NOZORDER);
            Click(dialog.m_hWnd, IDCANCEL);
        },
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(120, rcWindow.left);
    EXPECT_EQ(110, rcWindow.top);
    EXPECT_EQ(920, rcWindow.right);
    EXPECT_EQ(810, rcWindow.bottom);
    EXPECT_FALSE(treeVisible);
    // OK rides on the bottom edge (the window grew by 100 in height).
    EXPECT_EQ(rcOkBefore.top + 100, rcOkAfter.top);
    EXPECT_EQ(rcOkBefore.bottom - rcOkBefore.top, rcOkAfter.bottom - rcOkAfter.top);
    EXPECT_EQ(rcClient.right - 5, rcPage.right);
    EXPECT_EQ(rcClient.bottom - 34, rcPage.bottom);
    // Cancel keeps the rectangle where the window was.
    EXPECT_EQ(200, dialog.m_rcSaved.left);
    EXPECT_EQ(870, dialog.m_rcSaved.bottom);
}

TEST_F(DlgSettingTest, SettingsExportsKeepNullRulesAndHandTheRecordOver)
{
    SettingsRecord caller;
    caller.iMENU_STYLE = 3;
    int result = 77;
    HICON hIcon = theApp.m_hIcon;
    const char* folder = m_folder->Path().c_str();
    EXPECT_EQ(nullptr, ShowSettingDlg(hIcon, m_hMain, nullptr, folder, &caller, &result));
    EXPECT_EQ(nullptr, ShowSettingDlg(hIcon, m_hMain, "P", folder, &caller, nullptr));
    EXPECT_EQ(77, result);

    // Cancel: null, though the library's copy was made.
    WhileModal({ [] { Click(FindDialog(), IDCANCEL); } });
    EXPECT_EQ(nullptr, ShowSettingDlg(hIcon, m_hMain, "Product", folder, &caller, &result));
    EXPECT_EQ(IDCANCEL, result);

    // OK: the library's own record, a copy of the caller's; the title is the
    // product name and line 28 of "etc.dat".
    m_folder->WriteBytes("String/etc.dat", std::string(27, '\n') + " settings\n");
    std::string title;
    WhileModal({ [&] {
        HWND hDlg = FindDialog();
        char text[64] = {};
        ::GetWindowTextA(hDlg, text, sizeof(text));
        title = text;
        Click(hDlg, IDOK);
    } });
    SettingsRecord* edited = ShowSettingDlg(hIcon, m_hMain, "Product", folder, &caller, &result);
    EXPECT_EQ(IDOK, result);
    ASSERT_EQ(&theApp.m_settings, edited);
    EXPECT_EQ(3, edited->iMENU_STYLE);
    EXPECT_NE(&caller, edited);
    EXPECT_EQ("Product settings", title);
}

TEST_F(DlgSettingTest, SinglePageExportsKeepTheirOwnRectangles)
{
    SettingsRecord caller;
    int result = 0;
    const char* folder = m_folder->Path().c_str();
    auto moveThen = [](int x, int y, int id) {
        return [=] {
            HWND hDlg = FindDialog();
            ::SetWindowPos(hDlg, nullptr, x, y, 820, 730, SWP_NOZORDER);
            Click(hDlg, id);
        };
    };
    WhileModal({ moveThen(100, 90, IDOK) });
    SettingsRecord* edited = ShowPtabTempDlg(theApp.m_hIcon, m_hMain, "P", folder, &caller, &result);
    ASSERT_NE(nullptr, edited);
    caller.CopyFrom(edited);
    EXPECT_EQ(100, caller.rcPTmpSetting.left);
    EXPECT_EQ(820, caller.rcPTmpSetting.bottom);
    EXPECT_EQ(0, caller.rcScSetting.right);

    WhileModal({ moveThen(300, 200, IDOK) });
    caller.CopyFrom(ShowPtabSCDlg(theApp.m_hIcon, m_hMain, "P", folder, &caller, &result));
    EXPECT_EQ(300, caller.rcScSetting.left);
    EXPECT_EQ(100, caller.rcPTmpSetting.left);

    // The templates dialog reopens where it was last closed.
    RECT reopened = {};
    WhileModal({ [&] {
        HWND hDlg = FindDialog();
        ::GetWindowRect(hDlg, &reopened);
        Click(hDlg, IDCANCEL);
    } });
    EXPECT_EQ(nullptr, ShowPtabTempDlg(theApp.m_hIcon, m_hMain, "P", folder, &caller, &result));
    EXPECT_EQ(100, reopened.left);
    EXPECT_EQ(90, reopened.top);
}

TEST_F(DlgSettingTest, HelpTipTakesTheTextAndTheFullDialogResizesNothing)
{
    CTestSetting dialog;
    CTestPage* page = dialog.Add(1, "one");
    CString tip;
    LRESULT nullAnswer = 1;
    RECT rcOkBefore = {}, rcOkAfter = {};
    WhileModal({ [&] {
        HWND hEdit = ::GetDlgItem(page->m_hWnd, IDC_TESTPAGE_EDIT);
        CWnd* pEdit = CWnd::FromHandle(hEdit);
        nullAnswer = dialog.SendMessage(WM_SHOW_HELPTIP, reinterpret_cast<WPARAM>(pEdit), 0);
        dialog.SendMessage(WM_SHOW_HELPTIP, reinterpret_cast<WPARAM>(pEdit),
                           reinterpret_cast<LPARAM>("first\nsecond"));
        // The tip window is the only tool-tip window of the thread.
        HWND hTip = ::FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
        char text[64] = {};
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = page->m_hWnd;
        ti.uId = reinterpret_cast<UINT_PTR>(hEdit);
        ti.lpszText = text;
        ::SendMessageA(hTip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
        tip = text;
        EXPECT_EQ(500, ::SendMessageA(hTip, TTM_GETMAXTIPWIDTH, 0, 0));

        ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, IDOK), &rcOkBefore);
        RECT rc;
        dialog.GetWindowRect(&rc);
        dialog.SetWindowPos(nullptr, 0, 0, rc.right - rc.left + 80, rc.bottom - rc.top + 60,
                            SWP_NOMOVE | SWP_NOZORDER);
        ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, IDOK), &rcOkAfter);
        Click(dialog.m_hWnd, IDCANCEL);
    } });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(0, nullAnswer);
    EXPECT_STREQ("first\r\nsecond", tip);
    EXPECT_EQ(rcOkBefore.left, rcOkAfter.left);
    EXPECT_EQ(rcOkBefore.top, rcOkAfter.top);
}

TEST(PageCaptionTest, GradientDarkensQuadraticallyTowardsTheLeft)
{
    EXPECT_EQ(200, CPageCaption::ShadeChannel(200, 0, 100));
    EXPECT_EQ(150, CPageCaption::ShadeChannel(200, 50, 100));
    EXPECT_EQ(4, CPageCaption::ShadeChannel(200, 99, 100));
    EXPECT_EQ(0, CPageCaption::ShadeChannel(200, 100, 100));
}

TEST_F(DlgSettingTest, OKSavesWhatWasTypedIntoAPage)
{
    CTestSetting dialog;
    CTestPage* page = dialog.Add(1, "one");
    WhileModal({ [&] {
        ::SetDlgItemTextA(page->m_hWnd, IDC_TESTPAGE_EDIT, "typed");
        Click(dialog.m_hWnd, IDOK);
    } });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("create 1;save 1:typed;", s_log);
}

TEST_F(DlgSettingTest, CancelPostedDuringAPagesMessageBoxReturnsToALivePage)
{
    CTestSetting dialog;
    CTestPage* page = dialog.Add(1, "one");
    WhileModal({
        [&] {
            dialog.PostMessage(WM_COMMAND, IDCANCEL);
            Click(page->m_hWnd, IDC_TESTPAGE_BOX);
        },
        // From the message box's own loop, after the cancel was handled.
        [&] { Click(FindDialog("box"), IDOK); },
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(AllStepsRan());
    EXPECT_EQ("create 1;box 1 alive;", s_log);
}

TEST_F(DlgSettingTest, EscClosesADroppedComboListAndLeavesTheDialogOpen)
{
    CTestSetting dialog;
    CTestPage* page = dialog.Add(1, "one");
    HWND hCombo = nullptr;
    BOOL droppedBefore = FALSE, droppedAfter = TRUE;
    WhileModal({
        [&] {
            hCombo = ::GetDlgItem(page->m_hWnd, IDC_TESTPAGE_COMBO);
            ::SetFocus(hCombo);
            ::SendMessageA(hCombo, CB_SHOWDROPDOWN, TRUE, 0);
            droppedBefore = static_cast<BOOL>(::SendMessageA(hCombo, CB_GETDROPPEDSTATE, 0, 0));
            ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        },
        [&] {
            droppedAfter = static_cast<BOOL>(::SendMessageA(hCombo, CB_GETDROPPEDSTATE, 0, 0));
            Click(dialog.m_hWnd, IDCANCEL);
        },
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(AllStepsRan());
    EXPECT_TRUE(droppedBefore);
    EXPECT_FALSE(droppedAfter);
}

TEST_F(DlgSettingTest, SinglePageDialogIsNoSmallerThanItsTemplate)
{
    CTestSetting dialog;
    dialog.m_bSinglePage = 1;
    dialog.Add(1, "one");
    RECT rcStart = {}, rcShrunk = {};
    WhileModal({ [&] {
        dialog.GetWindowRect(&rcStart);
        dialog.SetWindowPos(nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
        dialog.GetWindowRect(&rcShrunk);
        Click(dialog.m_hWnd, IDCANCEL);
    } });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(rcStart.right - rcStart.left, rcShrunk.right - rcShrunk.left);
    EXPECT_EQ(rcStart.bottom - rcStart.top, rcShrunk.bottom - rcShrunk.top);
}

TEST_F(DlgSettingTest, EveryRegisteredTemplateFitsThePageArea)
{
    std::vector<const SettingsPageSpec*> specs;
    for (int i = 0; i < kAllSettingsPageCount; ++i)
        specs.push_back(&kAllSettingsPages[i]);
    for (SettingsDialogKind kind : { SettingsDialogKind::PlugIns, SettingsDialogKind::Scripts,
                                     SettingsDialogKind::LiveGroups, SettingsDialogKind::GroupTemplates,
                                     SettingsDialogKind::Proxies })
        specs.push_back(SinglePageOf(kind));
    int checked = 0;
    for (const SettingsPageSpec* spec : specs) {
        if (spec->pClass == nullptr)
            continue;
        HRSRC hRes = ::FindResourceA(nullptr, MAKEINTRESOURCEA(spec->nIDTemplate), MAKEINTRESOURCEA(5));
        ASSERT_NE(nullptr, hRes) << spec->nIDTemplate;
        const BYTE* p = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, hRes)));
        ASSERT_EQ(0xFFFF, *reinterpret_cast<const WORD*>(p + 2)) << spec->nIDTemplate;  // an extended template
        const short cx = *reinterpret_cast<const short*>(p + 22);
        const short cy = *reinterpret_cast<const short*>(p + 24);
        EXPECT_LE(cx, 270) << spec->nIDTemplate;
        EXPECT_LE(cy, 290) << spec->nIDTemplate;
        ++checked;
    }
    EXPECT_GE(checked, 1);
}
