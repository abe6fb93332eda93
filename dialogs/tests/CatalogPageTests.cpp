// The plug-in and script pages with their folders and list files, the file
// associations in the test prefix's registry, the start-up URL list and the
// document window page.
#include "dialogs/tests/PageHarness.h"

#include "dialogs/pages/AssocPage.h"
#include "dialogs/pages/AssocPageRes.h"
#include "dialogs/pages/DocPage.h"
#include "dialogs/pages/DocPageRes.h"
#include "dialogs/pages/PlugInPage.h"
#include "dialogs/pages/PlugInPageRes.h"
#include "dialogs/pages/StartupPage.h"
#include "dialogs/pages/StartupPageRes.h"
#include "framework/app/WinApp.h"
#include "framework/gdi/DC.h"
#include "shared/RegKey.h"
#include "shared/StartupList.h"
#include "tests/support/WindowCapture.h"

extern "C" void WINAPI StartupAddDlg(HWND, const char*, const char*, const char*);

namespace {

bool RowChecked(HWND hList, int nRow)
{
    return ListView_GetCheckState(hList, nRow) != FALSE;
}

// Column 0 of every row, "+" before a checked row's text: "+a;b;".
std::string Rows(HWND hList, bool bChecks = true)
{
    std::string rows;
    const int nCount = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int nRow = 0; nRow < nCount; ++nRow)
        rows += (bChecks && RowChecked(hList, nRow) ? "+" : "") + PageTest::Cell(hList, nRow, 0) + ";";
    return rows;
}

void Select(HWND hList, int nRow)
{
    PageTest::SetItem(::GetParent(hList), ::GetDlgCtrlID(hList), nRow);
}

// The open-file dialog answered with s_chosen (empty: cancelled).
std::string s_chosen;
BOOL ChooseFile(HWND, LPCSTR, LPCSTR, DWORD, CString& path)
{
    path = s_chosen.c_str();
    return s_chosen.empty() ? FALSE : TRUE;
}

std::string TestPlugIn(const char* file)
{
    return ProgramFolder::PathFromEnvironment("VA_TEST_PLUGIN_DIR") + "\\" + file;
}

class CatalogPageTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        AfxSetPromptOpenFileHook(ChooseFile);
        m_folder->MakeFolder("Plugin");
        m_folder->MakeFolder("Script");
        m_folder->MakeFolder("src");
    }
    void TearDown() override
    {
        AfxSetPromptOpenFileHook(nullptr);
        PageTest::TearDown();
    }
    void InstallPlugIn(const char* built, const std::string& relative)
    {
        ASSERT_TRUE(::CopyFileA(TestPlugIn(built).c_str(), m_folder->File(relative).c_str(), FALSE)) << built;
    }
    // A built test module's bytes, through a copy in the folder.
    std::string Bytes(const char* built)
    {
        InstallPlugIn(built, "src/bytes");
        return m_folder->ReadBytes("src/bytes");
    }
};

} // namespace

TEST_F(CatalogPageTest, PlugInPageListsRegistersReplacesAndDeletesModulesAndRestartsFromItsList)
{
    InstallPlugIn("TestPlugInA.dll", "Plugin/a.dll");
    InstallPlugIn("TestPlugInB.vap", "Plugin/b.vap");
    InstallPlugIn("TestPlugInC.exe", "Plugin/c.exe");
    InstallPlugIn("TestPlugInD.dll", "Plugin/d.dll");  // no PlugInName: never listed
    InstallPlugIn("TestPlugInB.vap", "src/a.dll");
    InstallPlugIn("TestPlugInA.dll", "src/c.exe");
    const std::string plugin = m_folder->File("Plugin/");
    // A disabled line in other letter case, then a line for a missing file.
    m_folder->WriteBytes("Plugin/plugin.dat", plugin + "C.EXE?0\r\n" + plugin + "gone.dll?1\r\n");
    theApp.m_settings.bPlgEnable(true);
    theApp.m_settings.bTabActivate_PL(false);

    RunPage(RUNTIME_CLASS(CDlgSetTab12), IDD_SETTAB12, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
            EXPECT_EQ("Gamma;+Alpha;+BetaB;", Rows(hList));
            EXPECT_EQ("Gamma", Cell(hList, 0, 1));  // an empty product name gives the caption
            EXPECT_EQ("1.2.3.4", Cell(hList, 0, 2));
            EXPECT_EQ("(c) tests", Cell(hList, 0, 3));
            EXPECT_EQ(plugin + "C.EXE", Cell(hList, 0, 4));
            EXPECT_TRUE(IsChecked(hPage, IDC_PLG_ENABLE));
            // A deleted module's name registered again: the new file
            // replaces the queued one instead of the save deleting it.
            Select(hList, 1);
            Click(hPage, IDC_PLG_DELETE);
            s_chosen = m_folder->File("src/a.dll");
            Click(hPage, IDC_PLG_REGISTER);
            EXPECT_EQ("Gamma;+BetaB;+BetaB;", Rows(hList));
            // A listed module's name: asked, and after Yes replaced.
            s_chosen = m_folder->File("src/c.exe");
            Click(hPage, IDC_PLG_REGISTER);
        },
        [&](HWND) { Click(FindDialog(), IDYES); },
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
            EXPECT_EQ("+BetaB;+BetaB;+Alpha;", Rows(hList));
            EXPECT_EQ(plugin + "c.exe", Cell(hList, 2, 4));
            // A file of that name the list does not hold (a module without
            // a name) is not overwritten, and no row is added.
            s_chosen = m_folder->File("src/d.dll");
            InstallPlugIn("TestPlugInA.dll", "src/d.dll");
            Click(hPage, IDC_PLG_REGISTER);
            EXPECT_EQ(3, ListView_GetItemCount(hList));
            ListView_SetCheckState(hList, 1, FALSE);
            Select(hList, 2);
            Click(hPage, IDC_PLG_UP);
            SetCheck(hPage, IDC_PLG_ACTIVATE, true);
        },
    });
    EXPECT_EQ("38505;38505;38506;", m_pMain->SentLog());
    EXPECT_EQ(plugin + "b.vap?1\r\n" + plugin + "c.exe?1\r\n" + plugin + "a.dll?0\r\n",
              m_folder->ReadBytes("Plugin/plugin.dat"));
    // Compared whole, not printed: they are modules.
    EXPECT_TRUE(Bytes("TestPlugInB.vap") == m_folder->ReadBytes("Plugin/a.dll"));
    EXPECT_TRUE(Bytes("TestPlugInA.dll") == m_folder->ReadBytes("Plugin/c.exe"));
    EXPECT_TRUE(Bytes("TestPlugInD.dll") == m_folder->ReadBytes("Plugin/d.dll"));
    EXPECT_TRUE(theApp.m_settings.bTabActivate_PL());

    // The next start lists the saved order; two deletions then a cancel
    // keep the files, though the main window was told to unload.
    m_pMain->m_sent.clear();
    RunPage(RUNTIME_CLASS(CDlgSetTab12), IDD_SETTAB12, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
            EXPECT_EQ("+BetaB;+Alpha;BetaB;", Rows(hList));
            ClickHeader(hList, 0);
            EXPECT_EQ("BetaB;BetaB;Alpha;", Rows(hList, false));
            ClickHeader(hList, 0);
            EXPECT_EQ("Alpha;BetaB;BetaB;", Rows(hList, false));
            ListView_SetItemState(hList, -1, LVIS_SELECTED, LVIS_SELECTED);
            Click(hPage, IDC_PLG_DELETE);
            EXPECT_EQ(0, ListView_GetItemCount(hList));
        },
    }, IDCANCEL);
    EXPECT_EQ("38505;", m_pMain->SentLog());
    EXPECT_TRUE(m_folder->Exists("Plugin/a.dll"));
    EXPECT_TRUE(m_folder->Exists("Plugin/b.vap"));
}

TEST_F(CatalogPageTest, ScriptPageListsHeadersReloadsOnlyOnChangeAndReplacesAScriptWithItsIcon)
{
    m_folder->WriteBytes("Script/x.js", "//VantorelScriptFile1.00\r\n//@SCRIPT_NAME:Ex\r\n//@VERSION:2\r\n"
                                        "//@COPYRIGHT:me\r\n//@COMMENT:does x\r\n//VantorelScriptEnd\r\n");
    InstallPlugIn("TestScript.ico", "Script/x.js.ico");
    m_folder->WriteBytes("Script/y.vbs", "MsgBox 1\r\n");
    m_folder->WriteBytes("Script/z.htm", "<html></html>\r\n");
    m_folder->WriteBytes("Script/w.html", "<html></html>\r\n");
    m_folder->WriteBytes("src/n.js", "//VantorelScriptFile1.00\r\n//@SCRIPT_NAME:New\r\n//@COMMENT:n\r\n"
                                     "//VantorelScriptEnd\r\n");
    m_folder->WriteBytes("src/z.htm", "<!--VantorelScriptFile1.00\r\n@SCRIPT_NAME:Zed\r\n@COMMENT:z\r\n-->\r\n");
    InstallPlugIn("TestScript.ico", "src/z.htm.ico");
    const std::string script = m_folder->File("Script/");

    RunPage(RUNTIME_CLASS(CDlgScriptSetting), IDD_SETTAB12, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
            EXPECT_EQ("+Ex;+y.vbs;+z.htm;", Rows(hList));
            EXPECT_EQ("does x", Cell(hList, 0, 1));
            EXPECT_EQ("2", Cell(hList, 0, 2));
            EXPECT_EQ("me", Cell(hList, 0, 3));
            EXPECT_EQ("y.vbs", Cell(hList, 1, 1));
            LVITEMA item = {};
            item.mask = LVIF_IMAGE;
            ListView_GetItem(hList, &item);
            EXPECT_GE(item.iImage, 0);
            item.iItem = 1;
            ListView_GetItem(hList, &item);
            EXPECT_LT(item.iImage, 0);
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hPage, IDC_PLG_ENABLE)));
            EXPECT_EQ(std::string(theApp.GetDlgString(63)), Text(hPage, IDC_PLG_REGISTER));
            ListView_SetCheckState(hList, 1, FALSE);
        },
    });
    EXPECT_EQ(script + "x.js?1\r\n" + script + "y.vbs?0\r\n" + script + "z.htm?1\r\n",
              m_folder->ReadBytes("Script/script.dat"));
    EXPECT_EQ("38508;", m_pMain->SentLog());

    m_pMain->m_sent.clear();
    RunPage(RUNTIME_CLASS(CDlgScriptSetting), IDD_SETTAB12, {});
    EXPECT_EQ("", m_pMain->SentLog());

    RunPage(RUNTIME_CLASS(CDlgScriptSetting), IDD_SETTAB12, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
            Select(hList, 0);
            Click(hPage, IDC_PLG_DELETE);
            s_chosen = m_folder->File("src/n.js");
            Click(hPage, IDC_PLG_REGISTER);
            s_chosen = m_folder->File("src/z.htm");
            Click(hPage, IDC_PLG_REGISTER);
        },
        [&](HWND) { Click(FindDialog(), IDYES); },
        [&](HWND hPage) { EXPECT_EQ("y.vbs;+New;+Zed;", Rows(::GetDlgItem(hPage, IDC_PLG_LIST))); },
    });
    EXPECT_EQ("38507;38507;38508;", m_pMain->SentLog());
    EXPECT_FALSE(m_folder->Exists("Script/x.js"));
    EXPECT_FALSE(m_folder->Exists("Script/x.js.ico"));
    EXPECT_TRUE(m_folder->Exists("Script/n.js"));
    EXPECT_FALSE(m_folder->Exists("Script/n.js.ico"));
    EXPECT_EQ(m_folder->ReadBytes("src/z.htm"), m_folder->ReadBytes("Script/z.htm"));
    EXPECT_TRUE(m_folder->Exists("Script/z.htm.ico"));
}

namespace {

std::string ShortPath(const std::string& path)
{
    char buffer[MAX_PATH * 2] = {};
    const DWORD n = ::GetShortPathNameA(path.c_str(), buffer, sizeof(buffer));
    return n > 0 && n < sizeof(buffer) ? std::string(buffer) : path;
}

} // namespace

TEST_F(CatalogPageTest, DeletingRowsRemovesOnlyTheFolderFilesThatNoRowStillNames)
{
    InstallPlugIn("TestPlugInA.dll", "Plugin/a.dll");
    InstallPlugIn("TestPlugInB.vap", "src/b.vap");
    InstallPlugIn("TestPlugInC.exe", "Plugin/c.exe");
    // Beside the folders, with names that begin like them.
    InstallPlugIn("TestPlugInB.vap", "Pluginb.vap");
    const std::string plugin = m_folder->File("Plugin/");
    const std::string src = m_folder->File("src/");
    m_folder->MakeFolder("Script/sub");
    for (const char* script : { "src/out.js", "Script/sub/s.js", "src/dot.js", "Script/two.js", "Script/in.js",
                                "Script/long-script-name.txt", "Scriptx.js" })
        m_folder->WriteBytes(script, "1;\r\n");
    for (const char* icon : { "src/out.js.ico", "Script/two.js.ico", "Script/in.js.ico" })
        InstallPlugIn("TestScript.ico", icon);
    const std::string script = m_folder->File("Script/");
    const struct
    {
        const char* list;
        std::string lines;
        const CRuntimeClass* pClass;
        std::initializer_list<int> deleted;
        std::initializer_list<const char*> kept;
        std::initializer_list<const char*> gone;
    } kPages[] = {
        // A module elsewhere, one beside the folder; one module named twice,
        // in two letter cases.
        { "Plugin/plugin.dat", src + "b.vap?1\r\n" + m_folder->File("Pluginb.vap") + "?1\r\n" + plugin +
              "a.dll?1\r\n" + plugin + "A.DLL?0\r\n" + plugin + "c.exe?1\r\n",
          RUNTIME_CLASS(CDlgSetTab12), { 0, 1, 2, 4 }, { "src/b.vap", "Pluginb.vap", "Plugin/a.dll" },
          { "Plugin/c.exe" } },
        // Scripts elsewhere, beside the folder, below it and out of it by
        // "..", one named twice, one inside, and one by its short name (of a
        // kind the folder's scan does not list again).
        { "Script/script.dat",
          src + "out.js?1\r\n" + m_folder->File("Scriptx.js") + "?1\r\n" + script + "sub\\s.js?1\r\n" + script +
              "..\\src\\dot.js?1\r\n" + script + "two.js?1\r\n" + script + "TWO.JS?1\r\n" + script +
              "in.js?1\r\n" + ShortPath(m_folder->File("Script/long-script-name.txt")) + "?1\r\n",
          RUNTIME_CLASS(CDlgScriptSetting), { 0, 1, 2, 3, 4, 6, 7 },
          { "src/out.js", "src/out.js.ico", "Scriptx.js", "Script/sub/s.js", "src/dot.js", "Script/two.js",
            "Script/two.js.ico" },
          { "Script/in.js", "Script/in.js.ico", "Script/long-script-name.txt" } },
    };
    for (const auto& page : kPages) {
        m_folder->WriteBytes(page.list, page.lines);
        RunPage(page.pClass, IDD_SETTAB12, {
            [&](HWND hPage) {
                HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
                EXPECT_EQ(static_cast<int>(page.deleted.size()) + 1, ListView_GetItemCount(hList)) << page.list;
                SelectRows(hList, page.deleted);
                Click(hPage, IDC_PLG_DELETE);
                EXPECT_EQ(1, ListView_GetItemCount(hList)) << page.list;
            },
        });
        for (const char* file : page.kept)
            EXPECT_TRUE(m_folder->Exists(file)) << file;
        for (const char* file : page.gone)
            EXPECT_FALSE(m_folder->Exists(file)) << file;
    }
    // The last row naming the twice-listed script goes: so do its files.
    RunPage(RUNTIME_CLASS(CDlgScriptSetting), IDD_SETTAB12, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
            ASSERT_EQ(1, ListView_GetItemCount(hList));
            Select(hList, 0);
            Click(hPage, IDC_PLG_DELETE);
        },
    });
    EXPECT_FALSE(m_folder->Exists("Script/two.js"));
    EXPECT_FALSE(m_folder->Exists("Script/two.js.ico"));
}

namespace {

std::string CurrentFolder()
{
    char folder[MAX_PATH * 2] = {};
    const DWORD n = ::GetCurrentDirectoryA(sizeof(folder), folder);
    return n > 0 && n < sizeof(folder) ? std::string(folder) : std::string();
}

// The open-file dialog answered with s_chosen, leaving the current folder
// where the file was picked, as a dialog without OFN_NOCHANGEDIR may.
BOOL ChooseAndMoveTheCurrentFolder(HWND, LPCSTR, LPCSTR, DWORD, CString& path)
{
    path = s_chosen.c_str();
    ::SetCurrentDirectoryA(path.Left(path.ReverseFind('\\')));
    return TRUE;
}

} // namespace

// Regression: a deleted row was queued by its text, and the save deleted
// that text against the current folder of the save. The register button's
// dialog had moved the current folder to where the user picked a file, so a
// relative row deleted the file of its name there.
TEST_F(CatalogPageTest, ARelativeRowDeletedBeforeARegistrationDeletesOnlyTheScriptFoldersFile)
{
    const std::string script = m_folder->File("Script/");
    const std::string fixtureFolder = CurrentFolder();
    const struct
    {
        const char* way;
        AfxPromptOpenFileHook hook;  // null: the system's own dialog
    } kWays[] = {
        { "the system's open dialog", nullptr },
        { "a dialog that moves the current folder", ChooseAndMoveTheCurrentFolder },
    };
    for (const auto& way : kWays) {
        SCOPED_TRACE(way.way);
        m_folder->WriteBytes("Script/rel.txt", "in the script folder\r\n");
        m_folder->WriteBytes("src/rel.txt", "where the new script is picked\r\n");
        m_folder->WriteBytes("src/n.js", "//VantorelScriptFile1.00\r\n//@SCRIPT_NAME:New\r\n//@COMMENT:n\r\n"
                                         "//VantorelScriptEnd\r\n");
        m_folder->Remove("Script/n.js");
        m_folder->WriteBytes("Script/script.dat", "rel.txt?1\r\n");
        ASSERT_TRUE(::SetCurrentDirectoryA(script.c_str()));
        AfxSetPromptOpenFileHook(way.hook);
        s_chosen = m_folder->File("src/n.js");
        std::string beforeDialog, afterDialog;
        std::vector<Step> steps = { [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
            ASSERT_EQ("+rel.txt;", Rows(hList));
            Select(hList, 0);
            Click(hPage, IDC_PLG_DELETE);
            beforeDialog = CurrentFolder();
            Click(hPage, IDC_PLG_REGISTER);
            afterDialog = CurrentFolder();
            EXPECT_EQ("+New;", Rows(hList));
        } };
        if (way.hook == nullptr) {
            // As a user picks the file: the folder typed into the dialog's
            // name box and opened, then the file's name.
            for (const std::string& typed : { m_folder->File("src"), std::string("n.js") }) {
                steps.push_back([typed](HWND) {
                    HWND hDlg = FindDialog();
                    const int kNameCombo = 0x47C, kNameEdit = 0x480;
                    ::SetDlgItemTextA(hDlg, kNameCombo, typed.c_str());
                    ::SetDlgItemTextA(hDlg, kNameEdit, typed.c_str());
                    Click(hDlg, IDOK);
                });
            }
        }
        RunPage(RUNTIME_CLASS(CDlgScriptSetting), IDD_SETTAB12, steps);
        AfxSetPromptOpenFileHook(ChooseFile);
        ::SetCurrentDirectoryA(fixtureFolder.c_str());
        if (way.hook == nullptr) {
            EXPECT_EQ(beforeDialog, afterDialog) << "the dialog moved the current folder";
        }
        EXPECT_FALSE(m_folder->Exists("Script/rel.txt"));
        EXPECT_EQ("where the new script is picked\r\n", m_folder->ReadBytes("src/rel.txt"));
        EXPECT_TRUE(m_folder->Exists("Script/n.js"));
    }
}

TEST_F(CatalogPageTest, AReplacementThatFailsKeepsTheListedRowAndSaysWhy)
{
    InstallPlugIn("TestPlugInA.dll", "Plugin/a.dll");
    InstallPlugIn("TestPlugInB.vap", "src/a.dll");
    m_folder->MakeFolder("src/d");
    InstallPlugIn("TestPlugInD.dll", "src/d/a.dll");  // no PlugInName
    m_folder->WriteBytes("Script/x.js", "//VantorelScriptFile1.00\r\n//@SCRIPT_NAME:Ex\r\n//VantorelScriptEnd\r\n");
    m_folder->WriteBytes("src/x.js", "//VantorelScriptFile1.00\r\n//@SCRIPT_NAME:New\r\n//VantorelScriptEnd\r\n");
    const struct
    {
        const CRuntimeClass* pClass;
        const char* row;       // the listed row's caption
        const char* chosen;    // the file picked to replace it
        const char* held;      // held by another program meanwhile, or null
        const char* named;     // the file the message names
        std::initializer_list<const char*> reasons;  // one is part of the reason given
    } kCases[] = {
        // The copy over the listed module fails: it is in use.
        // Windows says the file is in use, Wine that access is denied.
        { RUNTIME_CLASS(CDlgSetTab12), "+Alpha;", "src/a.dll", "Plugin/a.dll", "Plugin/a.dll", { "(32)", "(5)" } },
        // The new file is no plug-in: it has no name.
        { RUNTIME_CLASS(CDlgSetTab12), "+Alpha;", "src/d/a.dll", nullptr, "src/d/a.dll",
          { "\x83\x76\x83\x89\x83\x4F\x83\x43\x83\x93" } },  // "プラグイン"
        { RUNTIME_CLASS(CDlgScriptSetting), "+Ex;", "src/x.js", "Script/x.js", "Script/x.js", { "(32)", "(5)" } },
        // The new script will not open.
        { RUNTIME_CLASS(CDlgScriptSetting), "+Ex;", "src/x.js", "src/x.js", "src/x.js", { "(32)" } },
    };
    for (const auto& c : kCases) {
        HANDLE hHeld = INVALID_HANDLE_VALUE;
        std::string text;
        m_pMain->m_sent.clear();
        RunPage(c.pClass, IDD_SETTAB12, {
            [&](HWND hPage) {
                EXPECT_EQ(c.row, Rows(::GetDlgItem(hPage, IDC_PLG_LIST))) << c.chosen;
                if (c.held != nullptr) {
                    hHeld = ::CreateFileA(m_folder->File(c.held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                          nullptr);
                    EXPECT_NE(INVALID_HANDLE_VALUE, hHeld) << c.held;
                }
                s_chosen = m_folder->File(c.chosen);
                Click(hPage, IDC_PLG_REGISTER);
            },
            [&](HWND) { Click(FindDialog(), IDYES); },
            [&](HWND) {
                HWND hBox = FindDialog();
                text = BoxText(hBox);
                Click(hBox, IDOK);
            },
            [&](HWND hPage) {
                HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
                EXPECT_EQ(c.row, Rows(hList)) << c.chosen;
                EXPECT_EQ(m_folder->File(c.pClass == RUNTIME_CLASS(CDlgSetTab12) ? "Plugin/a.dll" : "Script/x.js"),
                          Cell(hList, 0, 4)) << c.chosen;
            },
        }, IDCANCEL);
        if (hHeld != INVALID_HANDLE_VALUE)
            ::CloseHandle(hHeld);
        EXPECT_NE(std::string::npos, text.find(m_folder->File(c.named))) << text;
        bool bReasonGiven = false;
        for (const char* reason : c.reasons)
            bReasonGiven = bReasonGiven || text.find(reason) != std::string::npos;
        EXPECT_TRUE(bReasonGiven) << text;
        EXPECT_NE(std::string::npos, text.find("\x8D\x80\x96\xDA")) << text;  // "項目" (the row) stays
        // The main window was told to let go of the module before the copy.
        EXPECT_EQ(c.pClass == RUNTIME_CLASS(CDlgSetTab12) ? "38505;" : "38507;", m_pMain->SentLog()) << c.chosen;
    }
    EXPECT_TRUE(Bytes("TestPlugInA.dll") == m_folder->ReadBytes("Plugin/a.dll"));
    EXPECT_NE(std::string::npos, m_folder->ReadBytes("Script/x.js").find("Ex"));
}

TEST_F(CatalogPageTest, AScriptReplacedByOneWithoutAnIconLosesTheOldIcon)
{
    m_folder->WriteBytes("Script/x.js", "//VantorelScriptFile1.00\r\n//@SCRIPT_NAME:Ex\r\n//VantorelScriptEnd\r\n");
    InstallPlugIn("TestScript.ico", "Script/x.js.ico");
    m_folder->WriteBytes("src/x.js", "//VantorelScriptFile1.00\r\n//@SCRIPT_NAME:New\r\n//VantorelScriptEnd\r\n");
    RunPage(RUNTIME_CLASS(CDlgScriptSetting), IDD_SETTAB12, {
        [&](HWND hPage) {
            s_chosen = m_folder->File("src/x.js");
            Click(hPage, IDC_PLG_REGISTER);
        },
        [&](HWND) { Click(FindDialog(), IDYES); },
        [&](HWND hPage) { EXPECT_EQ("+New;", Rows(::GetDlgItem(hPage, IDC_PLG_LIST))); },
    });
    EXPECT_EQ(m_folder->ReadBytes("src/x.js"), m_folder->ReadBytes("Script/x.js"));
    EXPECT_FALSE(m_folder->Exists("Script/x.js.ico"));
}

// Both list pages name a module by its caption as the menu reads it, and
// size each column to the wider of its texts and its title: the version
// columns of a script without a header are empty, and their titles must
// still read whole.
TEST_F(CatalogPageTest, ListColumnsAreAtLeastAsWideAsTheirTitles)
{
    InstallPlugIn("TestPlugInA.dll", "Plugin/a.dll");
    // The shipped plug-in, whose menu caption ends in "(&C)".
    const std::string shipped = ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\plugin\\Skiffport.vap";
    ASSERT_TRUE(::CopyFileA(shipped.c_str(), m_folder->File("Plugin/Skiffport.vap").c_str(), FALSE));
    m_folder->WriteBytes("Script/y.vbs", "MsgBox 1\r\n");
    const struct
    {
        const CRuntimeClass* pClass;
        const char* shot;
        const char* names;
    } pages[] = {
        // "起動しているIEのURLをタブで開く", as its menu item reads.
        { RUNTIME_CLASS(CDlgSetTab12), "plugin-page",
          "+Alpha;+\x8b\x4e\x93\xae\x82\xb5\x82\xc4\x82\xa2\x82\xe9IE\x82\xccURL\x82\xf0\x83\x5e\x83\x75"
          "\x82\xc5\x8a\x4a\x82\xad;" },
        { RUNTIME_CLASS(CDlgScriptSetting), "script-page", "+y.vbs;" },
    };
    for (const auto& page : pages) {
        RunPage(page.pClass, IDD_SETTAB12, {
            [&](HWND hPage) {
                HWND hList = ::GetDlgItem(hPage, IDC_PLG_LIST);
                EXPECT_EQ(page.names, Rows(hList)) << page.shot;
                WriteBitmap(ArtifactFolder("VA_DIALOGS_ARTIFACTS") + "/" + page.shot + ".bmp",
                            CaptureWindow(::GetParent(hPage)));
                // A header draws its titles three edge widths in from
                // either side of the item.
                const int nMargins = 2 * 3 * ::GetSystemMetrics(SM_CXEDGE);
                HWND hHeader = ListView_GetHeader(hList);
                CClientDC dc(hHeader);
                dc.SelectObject(reinterpret_cast<HGDIOBJ>(::SendMessageA(hHeader, WM_GETFONT, 0, 0)));
                for (int i = 0; i < 5; ++i) {
                    const CString title = theApp.GetDlgString(33 + i);
                    ASSERT_FALSE(title.IsEmpty()) << i;
                    EXPECT_GE(ListView_GetColumnWidth(hList, i), dc.GetTextExtent(title).cx + nMargins)
                        << page.shot << " column " << i;
                }
            },
        }, IDCANCEL);
    }
}

namespace {

const char kVerb[] = "VaAssocTest";

std::string TypeKey(const char* type)
{
    return std::string("SOFTWARE\\Classes\\") + type;
}

bool KeyExists(const std::string& path)
{
    CRegKey key;
    return key.Open(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

std::string DefaultValue(const std::string& path)
{
    CRegKey key;
    CString value;
    if (key.Open(HKEY_CURRENT_USER, path.c_str()) != ERROR_SUCCESS ||
        key.QueryString(nullptr, value) != ERROR_SUCCESS)
        return "(none)";
    return static_cast<LPCSTR>(value);
}

// The association tests write below HKEY_CURRENT_USER of the test prefix,
// only under type keys that did not exist before, and remove those again.
class AssocPageTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        for (const char* type : FileAssociation::kTypes) {
            if (KeyExists(TypeKey(type)))
                m_bTouchable = false;
        }
        theApp.SetProductName(kVerb);
    }
    void TearDown() override
    {
        if (m_bTouchable) {
            CRegKey classes;
            if (classes.Open(HKEY_CURRENT_USER, "SOFTWARE\\Classes", KEY_ALL_ACCESS) == ERROR_SUCCESS) {
                for (const char* type : FileAssociation::kTypes)
                    (void)classes.DeleteSubKeyTree(type);
            }
        }
        PageTest::TearDown();
    }
    bool m_bTouchable = true;
};

} // namespace

TEST_F(AssocPageTest, TypesAreAssociatedDetectedAndRemovedWithoutCreatingMissingKeys)
{
    if (!m_bTouchable)
        GTEST_SKIP() << "a type key exists in the prefix already";
    // Nothing associated: removing creates no type key.
    RunPage(RUNTIME_CLASS(CDlgSetTab11), IDD_SETTAB11, {
        [&](HWND hPage) {
            for (int i = 0; i < 8; ++i)
                EXPECT_FALSE(IsChecked(hPage, IDC_ASSOC_FIRST + i)) << i;
        },
    });
    for (const char* type : FileAssociation::kTypes)
        EXPECT_FALSE(KeyExists(TypeKey(type))) << type;

    RunPage(RUNTIME_CLASS(CDlgSetTab11), IDD_SETTAB11, { [&](HWND hPage) { Click(hPage, IDC_ASSOC_CHECKALL); } });
    const std::string command = "\"" + m_folder->Path() + kVerb + ".exe\" \"%1\"";
    EXPECT_EQ(kVerb, DefaultValue(TypeKey("http") + "\\shell"));
    EXPECT_EQ(kVerb, DefaultValue(TypeKey("http") + "\\shell\\" + kVerb));
    EXPECT_EQ(command, DefaultValue(TypeKey("InternetShortcut") + "\\shell\\" + kVerb + "\\command"));

    // The command compares without case, the default verb with it.
    {
        CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, (TypeKey("http") + "\\shell\\" + kVerb + "\\command").c_str(),
                                          KEY_ALL_ACCESS));
        std::string upper = command;
        for (char& c : upper)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        ASSERT_EQ(ERROR_SUCCESS, key.SetString(nullptr, upper.c_str()));
        CRegKey shell;
        ASSERT_EQ(ERROR_SUCCESS, shell.Open(HKEY_CURRENT_USER, (TypeKey("ftp") + "\\shell").c_str(), KEY_ALL_ACCESS));
        ASSERT_EQ(ERROR_SUCCESS, shell.SetString(nullptr, "other"));
    }
    RunPage(RUNTIME_CLASS(CDlgSetTab11), IDD_SETTAB11, {
        [&](HWND hPage) {
            EXPECT_TRUE(IsChecked(hPage, IDC_ASSOC_FIRST + 5));   // http
            EXPECT_FALSE(IsChecked(hPage, IDC_ASSOC_FIRST + 1));  // ftp
            Click(hPage, IDC_ASSOC_UNCHECKALL);
        },
    });
    for (const char* type : FileAssociation::kTypes) {
        EXPECT_FALSE(KeyExists(TypeKey(type) + "\\shell\\" + kVerb)) << type;
        EXPECT_EQ(std::string(type) == "ftp" ? "other" : "", DefaultValue(TypeKey(type) + "\\shell")) << type;
    }
}

TEST_F(PageTest, StartupListIsEditedWrittenWholeAndReadByTheProgram)
{
    m_folder->WriteBytes("StartUpURL.dat", "http://a/\x81\x4D" "1\r\n" "http://b/\x81\x4D" "2\r\n"
                                           "http://c/\x81\x4Dx\x81\x4D" "1\r\n\r\n");
    const char kOn[] = "\x81\x9B";
    const char kOff[] = "\x81\x7C";
    RunPage(RUNTIME_CLASS(CDlgSetTab7), IDD_SETTAB7, {
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_START_LIST);
            EXPECT_EQ("http://a/;http://b/;", Rows(hList, false));
            EXPECT_EQ(kOn, Cell(hList, 0, 1));
            EXPECT_EQ(kOff, Cell(hList, 1, 1));
            Click(hPage, IDC_START_NEW);
        },
        // An empty URL is refused and the dialog stays.
        [&](HWND) { Click(FindDialog(), IDOK); },
        [&](HWND) { Click(FindDialog(), IDOK); },
        [&](HWND) {
            HWND hDlg = FindDialog();
            EXPECT_TRUE(IsChecked(hDlg, IDC_START_ENABLED));
            SetText(hDlg, IDC_START_URL, "http://n/\x81\x4Dx");
            SetCheck(hDlg, IDC_START_ENABLED, false);
            Click(hDlg, IDOK);
        },
        [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_START_LIST);
            Select(hList, 0);
            Click(hPage, IDC_START_UP);
            Select(hList, 2);
            Click(hPage, IDC_START_DOWN);
            Click(hPage, IDC_START_UP);
            EXPECT_EQ("http://a/;http://n/\x81\x4Dx;http://b/;", Rows(hList, false));
            Click(hPage, IDC_START_ADDACTIVE);
        },
        [&](HWND) {
            HWND hDlg = FindDialog();
            EXPECT_EQ("http://active.example/", Text(hDlg, IDC_START_URL));
            Click(hDlg, IDOK);
        },
    });
    EXPECT_EQ("http://a/\x81\x4D" "1\r\nhttp://n/%81%4Dx\x81\x4D" "0\r\nhttp://b/\x81\x4D" "0\r\n"
              "http://active.example/\x81\x4D" "1\r\n",
              m_folder->ReadBytes("StartUpURL.dat"));

    // The export appends one entry and keeps the lines before it.
    WhileModal({ [] { Click(FindDialog(), IDOK); } });
    StartupAddDlg(m_pMain->Handle(), "P", m_folder->Path().c_str(), "http://x/");
    CStringArray urls;
    ReadStartupList(m_folder->File("StartUpURL.dat").c_str(), urls);
    ASSERT_EQ(3, urls.GetSize());
    EXPECT_STREQ("http://a/", urls[0]);
    EXPECT_STREQ("http://active.example/", urls[1]);
    EXPECT_STREQ("http://x/", urls[2]);
}

TEST_F(PageTest, DocumentPagePassesTheCommonChecksAndItsSwitchSweepsThePage)
{
    CheckOptionPage(RUNTIME_CLASS(CDlgSetTab2), IDD_SETTAB2);
    theApp.m_settings.bEnableDoc(true);
    theApp.m_settings.bOpenNewTab_DocHistory(false);
    theApp.m_settings.wDocListViewState = 0;
    RunPage(RUNTIME_CLASS(CDlgSetTab2), IDD_SETTAB2, {
        [&](HWND hPage) {
            EXPECT_EQ(5, static_cast<int>(::SendDlgItemMessageA(hPage, IDC_DOC_RIGHT, CB_GETCOUNT, 0, 0)));
            // Checked, the switch enables even what a dependent rule disabled.
            EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hPage, IDC_DOC_NOACTIVATE)));
            SetCheck(hPage, IDC_DOC_NEWTAB, false);
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hPage, IDC_DOC_NOACTIVATE)));
            SetCheck(hPage, IDC_DOC_ENABLE, false);
            for (int nID : { IDC_DOC_LIMITCNT, IDC_DOC_RIGHT, IDC_DOC_COLUMN_FIRST + 6, IDC_DOC_HIDEBAR })
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hPage, nID))) << nID;
            SetCheck(hPage, IDC_DOC_COLUMN_FIRST + 6, true);
        },
    });
    EXPECT_FALSE(theApp.m_settings.bEnableDoc());
    EXPECT_EQ(0x40, theApp.m_settings.wDocListViewState & 0x40);
}
