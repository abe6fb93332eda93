// List files held by another program: held while an editor opens them, or
// held against replacement only (others may read them) when the user
// confirms, every list page and both appending exports tell the user, with
// the file's path and the system's reason, and leave the file's bytes as
// they were, also after the other program lets go and the user confirms.
#include "dialogs/tests/PageHarness.h"

#include <memory>

#include "dialogs/pages/BindingPages.h"
#include "dialogs/pages/BindingPagesRes.h"
#include "dialogs/pages/GroupTabPage.h"
#include "dialogs/pages/GroupTabPageRes.h"
#include "dialogs/pages/PlugInPage.h"
#include "dialogs/pages/PlugInPageRes.h"
#include "dialogs/pages/PopupPage.h"
#include "dialogs/pages/PopupPageRes.h"
#include "dialogs/pages/ProxyPage.h"
#include "dialogs/pages/ProxyPageRes.h"
#include "dialogs/pages/SearchEditor.h"
#include "dialogs/pages/SearchEditorRes.h"
#include "dialogs/pages/SearchPage.h"
#include "dialogs/pages/SearchPageRes.h"
#include "dialogs/pages/StartupPage.h"
#include "dialogs/pages/StartupPageRes.h"
#include "framework/core/AtomicFile.h"
#include "tests/support/HeldFile.h"
#include "tests/support/ProgramFolder.h"

extern "C" int WINAPI ShowAddPopup(HWND, const char*);
extern "C" void WINAPI StartupAddDlg(HWND, const char*, const char*, const char*);

namespace {

const char kSep[] = "\x81\x4D";
// Wine's and Windows' code of a file another program holds, and of one
// that cannot be replaced while another program reads it.
const char kSharingViolation[] = "(32)";
const char kAccessDenied[] = "(5)";

// The message box showing now: checks that it names the file and the
// system's reason, lets the file go and answers it. Without a box the
// dialog showing is confirmed instead, the file free again.
void AnswerHeldFileBox(const std::string& path, HeldFile& held, const char* reason = kSharingViolation)
{
    HWND hBox = DialogsTest::FindDialog();
    const std::string text = PageTest::BoxText(hBox);
    EXPECT_NE(std::string::npos, text.find(path)) << text;
    EXPECT_NE(std::string::npos, text.find(reason)) << text;
    held.Release();
    DialogsTest::Click(hBox, IDOK);
}

using HeldListFileTest = PageTest;

} // namespace

TEST_F(HeldListFileTest, EveryListPageLeavesAHeldFileAsItWas)
{
    const std::string binding = std::string("Mine") + kSep + "Ctrl+Q" + kSep + "57665" + kSep + "0\r\n";
    const std::string gesture = std::string("Mine") + kSep + "\x81\xAA" + kSep + "57665" + kSep + "0\r\n";
    const std::string engines =
        "ROOT:\r\n\tENTRY:\r\n\t\tLABEL:A\r\n\t\tURL:http://a/?q=<UTF8>\r\n\t\tICON:\r\n\t\tADDTOOL:0\r\n"
        "\t\tSTATE:1\r\nENDROOT:\r\n";
    // A listed module and script of the folders, each deleted before OK: the
    // deleted row's file stays while the list file still names it.
    ASSERT_TRUE(::CopyFileA((ProgramFolder::PathFromEnvironment("VA_TEST_PLUGIN_DIR") + "\\TestPlugInA.dll").c_str(),
                            m_folder->File("Plugin/a.dll").c_str(), FALSE));
    m_folder->WriteBytes("Script/s.js", "// s\r\n");
    const auto deleteFirstRow = [](HWND hPage) {
        SelectRows(::GetDlgItem(hPage, IDC_PLG_LIST), { 0 });
        ::SendMessageA(hPage, WM_COMMAND, IDC_PLG_DELETE, 0);
        EXPECT_EQ(0, RowCount(::GetDlgItem(hPage, IDC_PLG_LIST)));
    };
    const struct
    {
        const char* file;
        const CRuntimeClass* pClass;
        UINT nIDTemplate;
        std::string bytes;
        Step edit;             // the user's change before OK, or none
        const char* kept;      // a file the failed OK must not delete, or null
    } kPages[] = {
        // The shipped defaults would stand in for these two.
        { "KEYCONF.dat", RUNTIME_CLASS(CDlgSetTab13), IDD_SETTAB13, binding, nullptr, nullptr },
        { "MGC.dat", RUNTIME_CLASS(CDlgSetTab6), IDD_SETTAB6, gesture, nullptr, nullptr },
        { "GroupTab.dat", RUNTIME_CLASS(CDlgPTabSC), IDD_PTABSC, std::string("Work") + kSep + "113" + kSep + "3\r\n",
          nullptr, nullptr },
        { "Plugin/plugin.dat", RUNTIME_CLASS(CDlgSetTab12), IDD_SETTAB12, m_folder->File("Plugin/a.dll") + "?1\r\n",
          deleteFirstRow, "Plugin/a.dll" },
        { "Script/script.dat", RUNTIME_CLASS(CDlgScriptSetting), IDD_SETTAB12,
          m_folder->File("Script/s.js") + "?0\r\n", deleteFirstRow, "Script/s.js" },
        { "StartUpURL.dat", RUNTIME_CLASS(CDlgSetTab7), IDD_SETTAB7, std::string("http://mine/") + kSep + "1\r\n",
          nullptr, nullptr },
        { "PopClose.dat", RUNTIME_CLASS(CDlgPop), IDD_POP,
          std::string("t") + kSep + "u" + kSep + "1" + kSep + "1" + kSep + "0" + kSep + "0\r\n", nullptr, nullptr },
        // The profile functions read a held file as an empty list.
        { "Proxy.ini", RUNTIME_CLASS(CDlgSetTab8), IDD_SETTAB8,
          "[PROXY]\r\nProxy0=mine.example:8080\r\nProxy1=other.example:3128\r\n", nullptr, nullptr },
        // The engine for the right-hand drags chosen: the list OK writes differs.
        { "SearchEngine.dat", RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, engines,
          [](HWND hPage) { ::SendMessageA(hPage, WM_COMMAND, ID_SEARCH_RIGHT_FIRST + 1, 0); }, nullptr },
    };
    for (const auto& page : kPages) {
        m_folder->WriteBytes(page.file, page.bytes);
        const std::string path = m_folder->File(page.file);
        {
            HeldFile held(path);
            ASSERT_TRUE(held.IsHeld()) << page.file;
            RunPage(page.pClass, page.nIDTemplate, { [&](HWND) { AnswerHeldFileBox(path, held); } });
            EXPECT_EQ(page.bytes, m_folder->ReadBytes(page.file)) << page.file;
            EXPECT_FALSE(held.IsHeld()) << page.file;
        }
        {
            // Read as the page opens, held against replacement at OK: the
            // failed write is told.
            HeldFile held(path, FILE_SHARE_READ);
            ASSERT_TRUE(held.IsHeld()) << page.file;
            RunPage(page.pClass, page.nIDTemplate,
                    { [&](HWND hPage) {
                         if (page.edit)
                             page.edit(hPage);
                         Click(::GetAncestor(hPage, GA_ROOT), IDOK);
                     },
                      [&](HWND) { AnswerHeldFileBox(path, held, kAccessDenied); } },
                    0);
            EXPECT_EQ(page.bytes, m_folder->ReadBytes(page.file)) << page.file;
            EXPECT_FALSE(held.IsHeld()) << page.file;
            if (page.kept != nullptr) {
                EXPECT_TRUE(m_folder->Exists(page.kept)) << page.kept;
            }
        }
    }
}

// The engine editor's working file held against replacement at its OK:
// told, and the editor stays open with the user's list.
TEST_F(HeldListFileTest, EngineEditorTellsAWorkingFileItCouldNotWrite)
{
    m_folder->WriteBytes("SearchEngine.dat", "ROOT:\r\nENDROOT:\r\n");
    const std::string work = static_cast<LPCSTR>(CDlgSearchEdit::WorkingFilePath());
    std::unique_ptr<HeldFile> held;
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18,
            { [&](HWND hPage) { ::PostMessageA(hPage, WM_COMMAND, IDC_SEARCH_EDITLIST, 0); },
              [&](HWND) {
                  // The editor shows, opened from the file the page wrote.
                  HWND hEditor = FindDialog();
                  held.reset(new HeldFile(work, FILE_SHARE_READ));
                  ASSERT_TRUE(held->IsHeld());
                  ::PostMessageA(hEditor, WM_COMMAND, IDOK, 0);
              },
              [&](HWND) { AnswerHeldFileBox(work, *held, kAccessDenied); },
              [&](HWND) { Click(FindDialog(), IDCANCEL); } });
    EXPECT_EQ("ROOT:\r\nENDROOT:\r\n", m_folder->ReadBytes("SearchEngine.dat"));
}

// A list whose reading fails after its file opened (a range another program
// locked meanwhile) is told like one that would not open, through a page and
// through an append, and its bytes stay as they were.
TEST_F(HeldListFileTest, AListWhoseReadFailsAfterTheOpenIsToldAndKept)
{
    const std::string bytes = std::string("http://mine/") + kSep + "1\r\n";
    m_folder->WriteBytes("StartUpURL.dat", bytes);
    const std::string path = m_folder->File("StartUpURL.dat");
    const char kLockViolation[] = "(33)";
    HeldFile free(path);
    free.Release();
    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailRead);
    RunPage(RUNTIME_CLASS(CDlgSetTab7), IDD_SETTAB7,
            { [&](HWND) { AnswerHeldFileBox(path, free, kLockViolation); },
              [&](HWND hPage) { EXPECT_EQ(0, RowCount(::GetDlgItem(hPage, IDC_START_LIST))); } });
    WhileModal({ [&] { Click(FindDialog(), IDOK); }, [&] { AnswerHeldFileBox(path, free, kLockViolation); } });
    StartupAddDlg(m_pMain->Handle(), "Product", m_folder->Path().c_str(), "http://new/");
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    EXPECT_TRUE(AllStepsRan());
    EXPECT_EQ(bytes, m_folder->ReadBytes("StartUpURL.dat"));
}
