// The popup-block rules page and its rule dialog, run in the settings
// dialog on a program folder's "PopClose.dat".
#include "dialogs/tests/PageHarness.h"

#include "dialogs/pages/PopupPage.h"
#include "dialogs/pages/PopupPageRes.h"
#include "shared/FrameMessages.h"

namespace {

const char kSep[] = "\x81\x4D";
const char kOn[] = "\x81\x9B";   // "○"
const char kOff[] = "\x81\x7C";  // "－"
// The rule dialog's caption, "ポップアップ抑止設定".
const char kRuleCaption[] = "\x83\x7C\x83\x62\x83\x76\x83\x41\x83\x62\x83\x76\x97\x7D\x8E\x7E\x90\xDD\x92\xE8";

std::string Line(std::initializer_list<const char*> fields)
{
    std::string line;
    for (const char* field : fields)
        line += (line.empty() ? "" : kSep) + std::string(field);
    return line + "\r\n";
}

HWND List(HWND hPage)
{
    return ::GetDlgItem(hPage, IDC_POP_LIST);
}

// Every row's six cells, "a,b,○,－,○,－;", the flags as 1 and 0.
std::string Rows(HWND hList)
{
    std::string rows;
    for (int nRow = 0; nRow < PageTest::RowCount(hList); ++nRow) {
        rows += PageTest::Cell(hList, nRow, 0) + "," + PageTest::Cell(hList, nRow, 1) + ",";
        for (int nColumn = 2; nColumn < 6; ++nColumn) {
            const std::string cell = PageTest::Cell(hList, nRow, nColumn);
            rows += cell == kOn ? "1" : cell == kOff ? "0" : "?";
        }
        rows += ";";
    }
    return rows;
}

// The text of the message box showing now.
std::string MessageText()
{
    return PageTest::Text(DialogsTest::FindDialog(), 0xFFFF);
}

} // namespace

TEST_F(PageTest, PopupPageShowsTheRulesOfItsFileAndWritesThemBackInItsFormat)
{
    // Six fields; five (the regular-expression flags clear); three (dropped);
    // four, a flag other than 1 counting as set.
    m_folder->WriteBytes("PopClose.dat", Line({ "T1", "http://one/", "1", "0", "1", "0" }) +
                                             Line({ "T2", "http://two/", "0", "1", "1" }) +
                                             Line({ "bad", "http://bad/", "1" }) +
                                             Line({ "T4", "http://four/", "2", "0" }));
    theApp.m_settings.bPopUpCloseEnable(true);
    std::string shown;
    bool bChecked = false;
    RunPage(RUNTIME_CLASS(CDlgPop), IDD_POP, { [&](HWND hPage) {
        shown = Rows(List(hPage));
        bChecked = IsChecked(hPage, IDC_POP_ENABLE);
        SetCheck(hPage, IDC_POP_ENABLE, false);
    } });
    EXPECT_EQ("T1,http://one/,1010;T2,http://two/,0100;T4,http://four/,1000;", shown);
    EXPECT_TRUE(bChecked);
    EXPECT_FALSE(theApp.m_settings.bPopUpCloseEnable());
    EXPECT_EQ(Line({ "T1", "http://one/", "1", "0", "1", "0" }) + Line({ "T2", "http://two/", "0", "1", "0", "0" }) +
                  Line({ "T4", "http://four/", "1", "0", "0", "0" }),
              m_folder->ReadBytes("PopClose.dat"));
    // The main window hears of the change, once, after the save.
    ASSERT_EQ(1u, m_pMain->m_sent.size());
    EXPECT_EQ(static_cast<UINT>(WM_FRAME_POPUPOPTIONCHANGED), m_pMain->m_sent[0].nMsg);
    EXPECT_EQ(0u, m_pMain->m_sent[0].wParam);
    EXPECT_EQ(0, m_pMain->m_sent[0].lParam);
}

TEST_F(PageTest, PopupPageMovesSortsAndDeletesItsRows)
{
    m_folder->WriteBytes("PopClose.dat", Line({ "b", "http://2/", "1", "1", "0", "0" }) +
                                             Line({ "c", "http://1/", "1", "0", "0", "0" }) +
                                             Line({ "a", "http://3/", "0", "1", "0", "0" }));
    struct Step
    {
        const char* what;
        std::function<void(HWND hPage)> act;
        const char* titles;  // the first column after it, top to bottom
    };
    const auto up = [](HWND hPage) { Click(hPage, IDC_POP_UP); };
    const auto down = [](HWND hPage) { Click(hPage, IDC_POP_DOWN); };
    const Step steps[] = {
        { "up on the first row", [&](HWND h) { PageTest::SelectRows(List(h), { 0 }); up(h); }, "bca" },
        { "down on the last row", [&](HWND h) { PageTest::SelectRows(List(h), { 2 }); down(h); }, "bca" },
        { "up with two rows", [&](HWND h) { PageTest::SelectRows(List(h), { 1, 2 }); up(h); }, "bca" },
        { "down with two rows", [&](HWND h) { PageTest::SelectRows(List(h), { 0, 1 }); down(h); }, "bca" },
        { "up on the last row", [&](HWND h) { PageTest::SelectRows(List(h), { 2 }); up(h); }, "bac" },
        { "down on the first row", [&](HWND h) { PageTest::SelectRows(List(h), { 0 }); down(h); }, "abc" },
        { "first header click: descending", [&](HWND h) { ClickHeader(List(h), 0); }, "cba" },
        { "another header: ascending", [&](HWND h) { ClickHeader(List(h), 1); }, "cba" },
        { "that header again: descending", [&](HWND h) { ClickHeader(List(h), 1); }, "abc" },
        { "delete two rows", [&](HWND h) { PageTest::SelectRows(List(h), { 0, 2 }); Click(h, IDC_POP_DELETE); }, "b" },
    };
    RunPage(RUNTIME_CLASS(CDlgPop), IDD_POP, { [&](HWND hPage) {
        for (const Step& step : steps) {
            step.act(hPage);
            std::string titles;
            for (int nRow = 0; nRow < RowCount(List(hPage)); ++nRow)
                titles += Cell(List(hPage), nRow, 0);
            EXPECT_EQ(step.titles, titles) << step.what;
        }
    } });
    EXPECT_EQ(Line({ "b", "http://2/", "1", "1", "0", "0" }), m_folder->ReadBytes("PopClose.dat"));
}

TEST_F(PageTest, PopupPageKeepsAMovedRowSelected)
{
    m_folder->WriteBytes("PopClose.dat", Line({ "a", "u", "1", "1", "0", "0" }) + Line({ "b", "v", "1", "1", "0", "0" }));
    int selected = -1;
    RunPage(RUNTIME_CLASS(CDlgPop), IDD_POP, { [&](HWND hPage) {
        PageTest::SelectRows(List(hPage), { 1 });
        Click(hPage, IDC_POP_UP);
        selected = static_cast<int>(::SendMessageA(List(hPage), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                   LVNI_SELECTED));
    } }, IDCANCEL);
    EXPECT_EQ(0, selected);
}

TEST_F(PageTest, PopupRuleDialogNeedsBothTextsAndTheActiveTabsRuleReachesTheMainWindow)
{
    m_folder->Remove("PopClose.dat");
    std::vector<std::string> seen;
    RunPage(RUNTIME_CLASS(CDlgPop), IDD_POP, {
        // The active tab's rule: its title and URL, both matchings on.
        [&](HWND hPage) { Click(hPage, IDC_POP_ADDACTIVE); },
        [&](HWND) {
            HWND hDlg = FindDialog(kRuleCaption);
            ASSERT_NE(nullptr, hDlg);
            seen.push_back(Text(hDlg, IDC_POP_TITLE) + "|" + Text(hDlg, IDC_POP_URL) + "|" +
                           std::to_string(IsChecked(hDlg, IDC_POP_TITLEON)) +
                           std::to_string(IsChecked(hDlg, IDC_POP_URLON)) +
                           std::to_string(IsChecked(hDlg, IDC_POP_TITLEREGEX)) +
                           std::to_string(IsChecked(hDlg, IDC_POP_URLREGEX)));
            SetCheck(hDlg, IDC_POP_URLREGEX, true);
            Click(hDlg, IDOK);
        },
        // A new rule: empty, both matchings on; OK wants a title, then a
        // URL, even with title matching off.
        [&](HWND hPage) { Click(hPage, IDC_POP_NEW); },
        [&](HWND) {
            HWND hDlg = FindDialog(kRuleCaption);
            seen.push_back(Text(hDlg, IDC_POP_TITLE) + "|" + Text(hDlg, IDC_POP_URL) + "|" +
                           std::to_string(IsChecked(hDlg, IDC_POP_TITLEON)) +
                           std::to_string(IsChecked(hDlg, IDC_POP_URLON)));
            SetCheck(hDlg, IDC_POP_TITLEON, false);
            SetText(hDlg, IDC_POP_URL, "http://only-url/");
            Click(hDlg, IDOK);
        },
        [&](HWND) {
            seen.push_back(MessageText() == std::string(theApp.GetMessageString(5)) ? "line 5" : MessageText());
            Click(FindDialog(), IDOK);
        },
        [&](HWND) {
            HWND hDlg = FindDialog(kRuleCaption);
            ASSERT_NE(nullptr, hDlg);
            SetText(hDlg, IDC_POP_TITLE, "Only URL");
            SetText(hDlg, IDC_POP_URL, "");
            Click(hDlg, IDOK);
        },
        [&](HWND) {
            seen.push_back(MessageText() == std::string(theApp.GetMessageString(2)) ? "line 2" : MessageText());
            Click(FindDialog(), IDOK);
        },
        [&](HWND) {
            HWND hDlg = FindDialog(kRuleCaption);
            ASSERT_NE(nullptr, hDlg);
            SetText(hDlg, IDC_POP_URL, "http://only-url/");
            Click(hDlg, IDOK);
        },
        // Editing the one selected row: its texts and flags, rewritten; a
        // regular-expression box unticked is cleared, one ticked is set.
        [&](HWND hPage) {
            seen.push_back(Rows(List(hPage)));
            PageTest::SelectRows(List(hPage), { 0 });
            PageTest::DoubleClick(List(hPage));
        },
        [&](HWND) {
            HWND hDlg = FindDialog(kRuleCaption);
            ASSERT_NE(nullptr, hDlg);
            seen.push_back(Text(hDlg, IDC_POP_TITLE) + "|" + std::to_string(IsChecked(hDlg, IDC_POP_URLREGEX)));
            SetText(hDlg, IDC_POP_TITLE, "Edited");
            SetCheck(hDlg, IDC_POP_URLON, false);
            SetCheck(hDlg, IDC_POP_URLREGEX, false);
            SetCheck(hDlg, IDC_POP_TITLEREGEX, true);
            Click(hDlg, IDOK);
        },
        // Two rows selected: a double click edits nothing; a cancelled
        // dialog changes nothing.
        [&](HWND hPage) {
            PageTest::SelectRows(List(hPage), { 0, 1 });
            PageTest::DoubleClick(List(hPage));
            seen.push_back(FindDialog(kRuleCaption) == nullptr ? "no dialog" : "dialog");
            Click(hPage, IDC_POP_NEW);
        },
        [&](HWND) { Click(FindDialog(kRuleCaption), IDCANCEL); },
        [&](HWND hPage) { seen.push_back(Rows(List(hPage))); },
    });
    const std::vector<std::string> expected = {
        "Active|http://active.example/|1100",
        "||11",
        "line 5",
        "line 2",
        "Active,http://active.example/,1101;Only URL,http://only-url/,0100;",
        "Active|1",
        "no dialog",
        "Edited,http://active.example/,1010;Only URL,http://only-url/,0100;",
    };
    EXPECT_EQ(expected, seen);
    // The active tab's rule went to the main window as it was added.
    EXPECT_EQ(std::vector<std::string>{ "Active|http://active.example/|11" }, m_pMain->m_addedRules);
    EXPECT_EQ(Line({ "Edited", "http://active.example/", "1", "0", "1", "0" }) +
                  Line({ "Only URL", "http://only-url/", "0", "1", "0", "0" }),
              m_folder->ReadBytes("PopClose.dat"));
}

TEST_F(PageTest, PopupPageTakesEscapeAsItsOwn)
{
    m_folder->WriteBytes("PopClose.dat", Line({ "a", "u", "1", "1", "0", "0" }));
    const int nResult = RunPage(RUNTIME_CLASS(CDlgPop), IDD_POP, {
        [&](HWND hPage) {
            ::SetFocus(List(hPage));
            ::PostMessageA(List(hPage), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        },
        [&](HWND hPage) {
            PageTest::SelectRows(List(hPage), { 0 });
            Click(hPage, IDC_POP_DELETE);
        },
    });
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ("", m_folder->ReadBytes("PopClose.dat"));
}
