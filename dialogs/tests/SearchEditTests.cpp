// The search-engine list editor, opened from the search page: its tree and
// role marks, the entry dialog, the working file "SearchEngine.dat.tmp"
// with its failures, and the external editor.
#include "dialogs/tests/PageHarness.h"

#include "dialogs/pages/SearchEditor.h"
#include "dialogs/pages/SearchEditorRes.h"
#include "dialogs/pages/SearchPage.h"
#include "dialogs/pages/SearchPageRes.h"
#include "framework/core/AtomicFile.h"
#include "shared/RegKey.h"
#include "shared/WidePath.h"
#include "tests/support/HeldFile.h"
#include "tests/support/WideFiles.h"

namespace {

const char kStar[] = "\x81\x9A";    // "★"
const char kUp[] = "\x81\xAA";      // "↑"
const char kRight[] = "\x81\xA8";   // "→"
const char kEditorKey[] = "Software\\VantorelArcoTests\\SearchEditor";

std::string Engine(const std::string& label, int state, const std::string& indent = "\t",
                   const std::string& icon = "", int addTool = 0)
{
    return indent + "ENTRY:\r\n" + indent + "\tLABEL:" + label + "\r\n" + indent + "\tURL:http://" + label +
           "/?q=<UTF8>\r\n" + indent + "\tICON:" + icon + "\r\n" + indent + "\tADDTOOL:" + std::to_string(addTool) +
           "\r\n" + indent + "\tSTATE:" + std::to_string(state) + "\r\n";
}

std::string Folder(const std::string& label, const std::string& body, const std::string& indent = "\t")
{
    return indent + "FOLDER:\r\n" + indent + "\tLABEL:" + label + "\r\n" + indent + "\tPATH:\r\n" + body + indent +
           "ENDFOLDER:\r\n";
}

// A 16 x 16, 32-bit icon file.
std::string IconFile()
{
    std::string file;
    auto put = [&file](uint32_t v, int bytes) { file.append(reinterpret_cast<const char*>(&v), bytes); };
    const uint32_t image = 40 + 16 * 16 * 4 + 16 * 4;
    put(0, 2); put(1, 2); put(1, 2); put(16, 1); put(16, 1); put(0, 2); put(1, 2); put(32, 2);
    put(image, 4); put(22, 4);
    put(40, 4); put(16, 4); put(32, 4); put(1, 2); put(32, 2);
    file += std::string(24, '\0');
    return file + std::string(16 * 16 * 4, '\x7F') + std::string(16 * 4, '\0');
}

// The items' texts, a folder's content in brackets: "A;F[B;]".
std::string TreeText(HWND hTree, HTREEITEM hItem)
{
    std::string text;
    for (; hItem != nullptr; hItem = TreeView_GetNextSibling(hTree, hItem)) {
        char buffer[256] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        ::SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        text += buffer;
        if (HTREEITEM hChild = TreeView_GetChild(hTree, hItem))
            text += "[" + TreeText(hTree, hChild) + "]";
        else
            text += ";";
    }
    return text;
}

std::string TreeText(HWND hDlg)
{
    HWND hTree = ::GetDlgItem(hDlg, IDC_SEARCHEDIT_TREE);
    return TreeText(hTree, TreeView_GetRoot(hTree));
}

// Selects the item whose node has the label.
bool SelectEngine(HWND hDlg, const char* label)
{
    CDlgSearchEdit* pEditor = dynamic_cast<CDlgSearchEdit*>(CWnd::FromHandlePermanent(hDlg));
    if (pEditor == nullptr)
        return false;
    CDragTreeCtrl& tree = pEditor->GetTreeCtrl();
    std::vector<HTREEITEM> items = { tree.GetRootItem() };
    while (!items.empty()) {
        HTREEITEM hItem = items.back();
        items.pop_back();
        if (hItem == nullptr)
            continue;
        if (pEditor->NodeOf(hItem)->m_label == label)
            return tree.SelectItem(hItem) != FALSE;
        items.push_back(tree.GetNextSiblingItem(hItem));
        items.push_back(tree.GetChildItem(hItem));
    }
    return false;
}

std::string MessageBoxText(HWND hBox)
{
    std::string text;
    for (HWND h = ::GetWindow(hBox, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char cls[16] = {};
        char buffer[512] = {};
        ::GetClassNameA(h, cls, sizeof(cls));
        ::GetWindowTextA(h, buffer, sizeof(buffer));
        if (lstrcmpiA(cls, "Static") == 0)
            text += buffer;
    }
    return text;
}

// Answers the message box showing now; its text.
std::string Answer(int nButton)
{
    HWND hBox = DialogsTest::FindDialog();
    const std::string text = MessageBoxText(hBox);
    ::SendMessageA(hBox, WM_COMMAND, static_cast<WPARAM>(nButton), 0);
    return text;
}

std::string g_browsedPath;

BOOL PromptForIcon(HWND, LPCSTR, LPCSTR, DWORD, CString& path)
{
    path = g_browsedPath.c_str();
    return TRUE;
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof(buffer), buffer);
    return buffer;
}

using SearchEditTest = PageTest;

} // namespace

TEST_F(SearchEditTest, EditorMovesRolesAddsEntriesAndFoldersAndOkOnThePageRewritesTheEngines)
{
    m_folder->WriteBytes("SearchEngine.dat", "ROOT:\r\n" + Engine("A", 1) +
                                                 Folder("F", Engine("B", 2, "\t\t", "Icon\\e.ico")) + Engine("D", 0) +
                                                 "ENDROOT:\r\n");
    m_folder->MakeFolder("Icon");
    m_folder->WriteBytes("Icon/e.ico", IconFile());
    g_browsedPath = m_folder->File("Icon\\e.ico");
    AfxSetPromptOpenFileHook(PromptForIcon);
    // Icons resolve against the program folder, wherever the process is.
    const std::string cwd = CurrentDirectory();
    ASSERT_TRUE(::SetCurrentDirectoryA(m_folder->File("Icon").c_str()));
    HWND hEditor = nullptr;
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {
        [&](HWND hPage) { Click(hPage, IDC_SEARCH_EDITLIST); },
        [&](HWND) {
            hEditor = FindDialog("\x95\xD2\x8F\x57");  // "編集"
            ASSERT_NE(nullptr, hEditor);
            EXPECT_EQ("[" + std::string(kStar) + "]A;F[[" + kUp + "]B;]D;", TreeText(hEditor));
            ASSERT_TRUE(SelectEngine(hEditor, "D"));
            Click(hEditor, IDC_SEARCHEDIT_EDIT);
        },
        [&](HWND) {
            HWND hDlg = FindDialog();
            EXPECT_EQ("D", Text(hDlg, IDC_ENGINE_TITLE));
            EXPECT_EQ("http://D/?q=<UTF8>", Text(hDlg, IDC_ENGINE_URL));
            SetCheck(hDlg, IDC_ENGINE_DEFAULT, true);
            Click(hDlg, IDOK);
        },
        [&](HWND) {
            // The default moved; un-ticking B's role ends its holding.
            EXPECT_EQ("A;F[[" + std::string(kUp) + "]B;][" + kStar + "]D;", TreeText(hEditor));
            ASSERT_TRUE(SelectEngine(hEditor, "B"));
            Click(hEditor, IDC_SEARCHEDIT_EDIT);
        },
        [&](HWND) {
            HWND hDlg = FindDialog();
            EXPECT_TRUE(IsChecked(hDlg, IDC_ENGINE_UP));
            EXPECT_NE(0, ::SendDlgItemMessageA(hDlg, IDC_ENGINE_ICON, STM_GETICON, 0, 0));
            SetCheck(hDlg, IDC_ENGINE_UP, false);
            SetText(hDlg, IDC_ENGINE_ICONPATH, "");  // the icon goes
            Click(hDlg, IDOK);
        },
        [&](HWND) {
            EXPECT_EQ("A;F[B;][" + std::string(kStar) + "]D;", TreeText(hEditor));
            ASSERT_TRUE(SelectEngine(hEditor, "F"));
            Click(hEditor, IDC_SEARCHEDIT_NEWFOLDER);
        },
        [&](HWND) {
            HWND hDlg = FindDialog();
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_ENGINE_URL)));
            SetText(hDlg, IDC_ENGINE_TITLE, "G");
            Click(hDlg, IDOK);
        },
        [&](HWND) {
            EXPECT_EQ("A;F[G;B;][" + std::string(kStar) + "]D;", TreeText(hEditor));
            ASSERT_TRUE(SelectEngine(hEditor, "D"));
            Click(hEditor, IDC_SEARCHEDIT_NEWITEM);
        },
        [&](HWND) {
            HWND hDlg = FindDialog();
            SetText(hDlg, IDC_ENGINE_TITLE, "E");
            Click(hDlg, IDOK);  // no URL: said, and the dialog stays
        },
        [&](HWND) { EXPECT_NE("", Answer(IDOK)); },
        [&](HWND) {
            HWND hDlg = FindDialog();
            SetText(hDlg, IDC_ENGINE_URL, "http://E/?q=<UTF8>");
            Click(hDlg, IDC_ENGINE_BROWSE);
            EXPECT_EQ(".\\Icon\\e.ico", Text(hDlg, IDC_ENGINE_ICONPATH));
            EXPECT_NE(0, ::SendDlgItemMessageA(hDlg, IDC_ENGINE_ICON, STM_GETICON, 0, 0));
            SetCheck(hDlg, IDC_ENGINE_RIGHT, true);
            SetCheck(hDlg, IDC_ENGINE_ADDTOOL, true);
            Click(hDlg, IDOK);
        },
        [&](HWND) {
            EXPECT_EQ("A;F[G;B;][" + std::string(kStar) + "]D;[" + kRight + "]E;", TreeText(hEditor));
            Click(hEditor, IDOK);
        },
        [&](HWND hPage) {
            EXPECT_EQ("D", Text(hPage, IDC_SEARCH_TITLE));
            EXPECT_EQ("E", Text(hPage, IDC_SEARCH_RIGHTTEXT));
            EXPECT_EQ("D", Text(hPage, IDC_SEARCH_UPTEXT));
        },
    });
    AfxSetPromptOpenFileHook(nullptr);
    EXPECT_EQ(m_folder->File("Icon"), CurrentDirectory());
    ::SetCurrentDirectoryA(cwd.c_str());
    EXPECT_EQ("ROOT:\r\n" + Engine("A", 0) + Folder("F", Folder("G", "", "\t\t") + Engine("B", 0, "\t\t")) +
                  Engine("D", 1) + Engine("E", 4, "\t", ".\\Icon\\e.ico", 1) + "ENDROOT:\r\n",
              m_folder->ReadBytes("SearchEngine.dat"));
}

TEST_F(SearchEditTest, EditorSaysWhenTheWorkingFileCannotBeWrittenOrReadBackAndKeepsItsTree)
{
    m_folder->WriteBytes("SearchEngine.dat", "ROOT:\r\n" + Engine("A", 1) + "ENDROOT:\r\n");
    m_folder->WriteBytes("Edited.dat", "ROOT:\r\n" + Engine("X", 1) + "ENDROOT:\r\n");
    // Line 3 names the editor's key.
    m_folder->WriteBytes("String/reg.dat", "\r\n\r\n" + std::string(kEditorKey) + "\r\n");
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, kEditorKey));
    // Scripted editors: one copies the edited list over the file, one
    // deletes it.
    const std::string cmd = "\"C:\\windows\\system32\\cmd.exe\" /c ";
    const std::string copy = cmd + "copy /y \"" + m_folder->File("Edited.dat") + "\"";
    const std::string remove = cmd + "del";
    const std::string star = "[" + std::string(kStar) + "]";
    HWND hEditor = nullptr;
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {
        // The page says so and opens no editor on a file it could not write.
        [&](HWND hPage) {
            CAtomicTextFile::InjectFault(CAtomicTextFile::kFailCreate);
            Click(hPage, IDC_SEARCH_EDITLIST);
        },
        [&](HWND) {
            CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
            EXPECT_NE(std::string::npos, Answer(IDOK).find("SearchEngine.dat.tmp"));
        },
        [&](HWND hPage) { Click(hPage, IDC_SEARCH_EDITLIST); },
        [&](HWND) {
            hEditor = FindDialog();
            EXPECT_EQ(star + "A;", TreeText(hEditor));
            CAtomicTextFile::InjectFault(CAtomicTextFile::kFailCreate);
            Click(hEditor, IDOK);
        },
        [&](HWND) {
            CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
            EXPECT_NE(std::string::npos, Answer(IDOK).find("SearchEngine.dat.tmp"));
        },
        [&](HWND) {
            EXPECT_EQ(hEditor, FindDialog());
            ASSERT_EQ(ERROR_SUCCESS, key.SetString(nullptr, copy.c_str()));
            Click(hEditor, IDC_SEARCHEDIT_EDITOR);
        },
        [&](HWND) { Answer(IDYES); },
        [&](HWND) {
            EXPECT_EQ(star + "X;", TreeText(hEditor));
            ASSERT_EQ(ERROR_SUCCESS, key.SetString(nullptr, remove.c_str()));
            Click(hEditor, IDC_SEARCHEDIT_EDITOR);
        },
        [&](HWND) { Answer(IDYES); },
        [&](HWND) { EXPECT_NE(std::string::npos, Answer(IDOK).find("SearchEngine.dat.tmp")); },
        [&](HWND) {
            EXPECT_EQ(star + "X;", TreeText(hEditor));
            Click(hEditor, IDCANCEL);
        },
        // A cancelled editor leaves the page as it was.
        [&](HWND hPage) { EXPECT_EQ("A", Text(hPage, IDC_SEARCH_TITLE)); },
    }, IDCANCEL);
    key.Close();
    CRegKey software;
    if (software.Open(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS) == ERROR_SUCCESS)
        (void)software.DeleteSubKeyTree("VantorelArcoTests");
    EXPECT_EQ("ROOT:\r\n" + Engine("A", 1) + "ENDROOT:\r\n", m_folder->ReadBytes("SearchEngine.dat"));
}

// Regression: an editor in a folder the code page cannot name and without a
// short name was started by its best-fit spelling ("\u00E9dit" as "edit"):
// a look-alike program, or none. It is started by its own name.
TEST_F(SearchEditTest, AnEditorBeyondTheCodePageWithoutAShortNameIsStartedByItsOwnName)
{
    const std::wstring base = ThroughUnixRoot(WidePath::FromAnsi(m_folder->Path().c_str()));
    const std::wstring folder = base + L"\u00E9dit\\";
    if (base.empty() || !::CreateDirectoryW(folder.c_str(), nullptr) || !HasNoShortName(folder))
        GTEST_SKIP() << "no folder without a short name here";
    // The system's command processor, under its own file name.
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring editor = folder + L"cmd.exe";
    ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\cmd.exe").c_str(), editor.c_str(), FALSE));
    m_folder->WriteBytes("SearchEngine.dat", "ROOT:\r\n" + Engine("A", 1) + "ENDROOT:\r\n");
    m_folder->WriteBytes("Edited.dat", "ROOT:\r\n" + Engine("X", 1) + "ENDROOT:\r\n");
    m_folder->WriteBytes("String/reg.dat", "\r\n\r\n" + std::string(kEditorKey) + "\r\n");
    // A scripted editor that copies the edited list over the file.
    const std::wstring command =
        L"\"" + editor + L"\" /c copy /y \"" + WidePath::FromAnsi(m_folder->File("Edited.dat").c_str()) + L"\"";
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, kEditorKey));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))));
    key.Close();
    HWND hEditor = nullptr;
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {
        [&](HWND hPage) { Click(hPage, IDC_SEARCH_EDITLIST); },
        [&](HWND) {
            hEditor = FindDialog();
            Click(hEditor, IDC_SEARCHEDIT_EDITOR);
        },
        [&](HWND) { Answer(IDYES); },
        [&](HWND) {
            EXPECT_EQ("[" + std::string(kStar) + "]X;", TreeText(hEditor));
            Click(hEditor, IDCANCEL);
        },
    }, IDCANCEL);
    CRegKey software;
    if (software.Open(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS) == ERROR_SUCCESS)
        (void)software.DeleteSubKeyTree("VantorelArcoTests");
}

TEST_F(SearchEditTest, AListMadeInTheEditorIsSavedWhereNoEngineFileWas)
{
    m_folder->Remove("SearchEngine.dat");
    HWND hEditor = nullptr;
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {
        [&](HWND hPage) { Click(hPage, IDC_SEARCH_EDITLIST); },
        [&](HWND) {
            hEditor = FindDialog();
            EXPECT_EQ("", TreeText(hEditor));
            Click(hEditor, IDC_SEARCHEDIT_NEWITEM);
        },
        [&](HWND) {
            HWND hDlg = FindDialog();
            SetText(hDlg, IDC_ENGINE_TITLE, "N");
            SetText(hDlg, IDC_ENGINE_URL, "http://N/?q=<UTF8>");
            SetCheck(hDlg, IDC_ENGINE_DEFAULT, true);
            Click(hDlg, IDOK);
        },
        [&](HWND) { Click(hEditor, IDOK); },
        [&](HWND hPage) { EXPECT_EQ("N", Text(hPage, IDC_SEARCH_TITLE)); },
    });
    EXPECT_EQ("ROOT:\r\n" + Engine("N", 1) + "ENDROOT:\r\n", m_folder->ReadBytes("SearchEngine.dat"));
}

TEST_F(SearchEditTest, AHeldFileIsToldAboutKeptAndEditedOnlyOnceItReads)
{
    const std::string bytes = "ROOT:\r\n" + Engine("A", 1) + "ENDROOT:\r\n";
    m_folder->WriteBytes("SearchEngine.dat", bytes);
    const std::string path = m_folder->File("SearchEngine.dat");
    // The box names the file and the system's reason for a held file.
    auto expectTold = [&path](const std::string& text) {
        EXPECT_NE(std::string::npos, text.find(path)) << text;
        EXPECT_NE(std::string::npos, text.find("(32)")) << text;
    };
    {
        // Let go before OK: the file that was not read is not written.
        HeldFile held(path);
        ASSERT_TRUE(held.IsHeld());
        RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {
            [&](HWND) {
                expectTold(BoxText(FindDialog()));
                held.Release();
                Answer(IDOK);
            },
        });
        EXPECT_EQ(bytes, m_folder->ReadBytes("SearchEngine.dat"));
    }
    HeldFile held(path);
    ASSERT_TRUE(held.IsHeld());
    RunPage(RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, {
        [&](HWND) { expectTold(Answer(IDOK)); },
        // Still held: told again, and no editor on an empty list.
        [&](HWND hPage) { Click(hPage, IDC_SEARCH_EDITLIST); },
        [&](HWND) {
            expectTold(BoxText(FindDialog()));
            held.Release();
            Answer(IDOK);
        },
        [&](HWND hPage) {
            EXPECT_EQ("", Text(hPage, IDC_SEARCH_TITLE));
            Click(hPage, IDC_SEARCH_EDITLIST);
        },
        // Free again: the editor opens on the file's engines.
        [&](HWND) {
            EXPECT_EQ("[" + std::string(kStar) + "]A;", TreeText(FindDialog()));
            Click(FindDialog(), IDCANCEL);
        },
        [&](HWND hPage) { EXPECT_EQ("A", Text(hPage, IDC_SEARCH_TITLE)); },
    }, IDCANCEL);
    EXPECT_EQ(bytes, m_folder->ReadBytes("SearchEngine.dat"));
}
