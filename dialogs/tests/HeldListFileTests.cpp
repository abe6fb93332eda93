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
#include "dialogs/pages/StartupPage.h"
#include "dialogs/pages/StartupPageRes.h"
#include "tests/support/HeldFile.h"

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
    const struct
    {
        const char* file;
        const CRuntimeClass* pClass;
        UINT nIDTemplate;
        std::string bytes;
    } kPages[] = {
        // The shipped defaults would stand in for these two.
        { "KEYCONF.dat", RUNTIME_CLASS(CDlgSetTab13), IDD_SETTAB13, binding },
        { "MGC.dat", RUNTIME_CLASS(CDlgSetTab6), IDD_SETTAB6, gesture },
        { "GroupTab.dat", RUNTIME_CLASS(CDlgPTabSC), IDD_PTABSC, std::string("Work") + kSep + "113" + kSep + "3\r\n" },
        // The folder's scan would list its modules, none here: an empty list.
        { "Plugin/plugin.dat", RUNTIME_CLASS(CDlgSetTab12), IDD_SETTAB12, "C:\\elsewhere\\p.dll?1\r\n" },
        { "Script/script.dat", RUNTIME_CLASS(CDlgScriptSetting), IDD_SETTAB12, "C:\\elsewhere\\s.js?0\r\n" },
        { "StartUpURL.dat", RUNTIME_CLASS(CDlgSetTab7), IDD_SETTAB7, std::string("http://mine/") + kSep + "1\r\n" },
        { "PopClose.dat", RUNTIME_CLASS(CDlgPop), IDD_POP,
          std::string("t") + kSep + "u" + kSep + "1" + kSep + "1" + kSep + "0" + kSep + "0\r\n" },
        // The profile functions read a held file as an empty list.
        { "Proxy.ini", RUNTIME_CLASS(CDlgSetTab8), IDD_SETTAB8,
          "[PROXY]\r\nProxy0=mine.example:8080\r\nProxy1=other.example:3128\r\n" },
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
                    { [&](HWND hPage) { Click(::GetAncestor(hPage, GA_ROOT), IDOK); },
                      [&](HWND) { AnswerHeldFileBox(path, held, kAccessDenied); } },
                    0);
            EXPECT_EQ(page.bytes, m_folder->ReadBytes(page.file)) << page.file;
            EXPECT_FALSE(held.IsHeld()) << page.file;
        }
    }
}

TEST_F(HeldListFileTest, AppendingExportsLeaveAFileTheyCouldNotReadAsItWas)
{
    const struct
    {
        const char* file;
        std::string bytes;
        std::function<int()> run;
        int nHeldAtOpen;  // the export's result when told at once
        int nHeldAtOk;    // and when told after its dialog's OK
    } kExports[] = {
        { "StartUpURL.dat", std::string("http://mine/") + kSep + "1\r\n",
          [&] {
              StartupAddDlg(m_pMain->Handle(), "Product", m_folder->Path().c_str(), "http://new/");
              return 0;
          },
          0, 0 },
        { "PopClose.dat", std::string("t") + kSep + "u" + kSep + "1" + kSep + "1" + kSep + "0" + kSep + "0\r\n",
          [&] { return ShowAddPopup(m_pMain->Handle(), m_folder->Path().c_str()); }, IDCANCEL, IDCANCEL },
    };
    for (const auto& call : kExports) {
        m_folder->WriteBytes(call.file, call.bytes);
        const std::string path = m_folder->File(call.file);
        {
            // Held as the export opens: told at once, no entry to type in vain.
            HeldFile held(path);
            ASSERT_TRUE(held.IsHeld()) << call.file;
            WhileModal({ [&] { AnswerHeldFileBox(path, held); } });
            EXPECT_EQ(call.nHeldAtOpen, call.run()) << call.file;
            EXPECT_TRUE(AllStepsRan()) << call.file;
            EXPECT_EQ(call.bytes, m_folder->ReadBytes(call.file)) << call.file;
        }
        {
            // Taken while the entry dialog shows: OK tells, and writes nothing.
            std::unique_ptr<HeldFile> held;
            WhileModal({
                [&] {
                    held.reset(new HeldFile(path));
                    EXPECT_TRUE(held->IsHeld());
                    Click(FindDialog(), IDOK);
                },
                [&] { AnswerHeldFileBox(path, *held); },
            });
            EXPECT_EQ(call.nHeldAtOk, call.run()) << call.file;
            EXPECT_TRUE(AllStepsRan()) << call.file;
            EXPECT_EQ(call.bytes, m_folder->ReadBytes(call.file)) << call.file;
        }
        {
            // Read as the export opens, held against replacement at OK: the
            // failed write is told.
            HeldFile held(path, FILE_SHARE_READ);
            ASSERT_TRUE(held.IsHeld()) << call.file;
            WhileModal({
                [&] { Click(FindDialog(), IDOK); },
                [&] { AnswerHeldFileBox(path, held, kAccessDenied); },
            });
            EXPECT_EQ(call.nHeldAtOk, call.run()) << call.file;
            EXPECT_TRUE(AllStepsRan()) << call.file;
            EXPECT_EQ(call.bytes, m_folder->ReadBytes(call.file)) << call.file;
        }
    }
    // No rule that the file does not hold reached the main window.
    EXPECT_EQ(0u, m_pMain->m_sent.size());
}
