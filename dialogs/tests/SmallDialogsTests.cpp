// The small dialogs through their exports, the about box, and the string
// reader's ten-line cache.
#include "dialogs/tests/DialogsTestApp.h"

#include <cstdlib>
#include <new>
#include <string>

#include "dialogs/core/DlgAbout.h"
#include "dialogs/core/SmallDialogs.h"
#include "dialogs/res/resource.h"
#include "tab/TabGroup.h"

extern "C" {
const char* WINAPI ShowOpenDlg(int, const char*, int*);
const char* WINAPI ShowPFindDlg(HICON, int*, int*, int*);
int WINAPI ShowDlgWide(HICON, RECT*);
int WINAPI ShowAboutDlg(HICON, HWND, const char*, const char*, const char*, const char*, int);
void WINAPI ShowPostedDlg(HICON, const char*, const char*);
int WINAPI ShowAddPopup(HWND, const char*);
void WINAPI StartupAddDlg(HWND, const char*, const char*, const char*);
const char* WINAPI ShowPtabRename(HICON, const CTabGroup*, int*);
}

namespace {

bool g_failNextAllocation = false;

} // namespace

// Out of memory on demand: the next allocation of the program fails. GCC
// takes the free() below for one on memory from the replaced operator new,
// which is exactly where that memory comes from.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size)
{
    if (g_failNextAllocation) {
        g_failNextAllocation = false;
        throw std::bad_alloc();
    }
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

std::string ItemText(HWND hDlg, int id)
{
    char text[512] = {};
    ::GetDlgItemTextA(hDlg, id, text, sizeof(text));
    return text;
}

// The text of the message box showing now, then OK on it.
std::string AnswerMessageBox()
{
    HWND hBox = DialogsTest::FindDialog();
    std::string text;
    for (HWND h = ::GetWindow(hBox, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char cls[16] = {};
        ::GetClassNameA(h, cls, sizeof(cls));
        char buffer[256] = {};
        ::GetWindowTextA(h, buffer, sizeof(buffer));
        if (strcmp(cls, "Static") == 0 || strcmp(cls, "STATIC") == 0)
            text += buffer;
    }
    ::SendMessageA(hBox, WM_COMMAND, IDOK, 0);
    return text;
}

using SmallDialogsTest = DialogsTest;

} // namespace

TEST_F(SmallDialogsTest, OpenDialogStartsWithHttpAndCancelKeepsTheInitialText)
{
    int result = 0;
    EXPECT_EQ(nullptr, ShowOpenDlg(0, nullptr, nullptr));

    std::string shown;
    DWORD selection = 0;
    WhileModal({ [&] {
        HWND hDlg = FindDialog();
        shown = ItemText(hDlg, IDC_OPEN_TEXT);
        selection = static_cast<DWORD>(::SendDlgItemMessageA(hDlg, IDC_OPEN_TEXT, EM_GETSEL, 0, 0));
        ::SetDlgItemTextA(hDlg, IDC_OPEN_TEXT, "typed");
        Click(hDlg, IDCANCEL);
    } });
    const char* text = ShowOpenDlg(0, nullptr, &result);
    EXPECT_EQ("http://", shown);
    // The caret behind the text, nothing selected.
    EXPECT_EQ(7u, LOWORD(selection));
    EXPECT_EQ(7u, HIWORD(selection));
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_STREQ("http://", text);

    // Title mode 1 takes line 47 of "etc.dat"; the browse button shows the
    // file dialog titled by line 48; OK returns what was typed.
    m_folder->WriteBytes("String/etc.dat", std::string(46, '\n') + "Open it\nPick a file\nAll|*.*|\n");
    std::string title, browseTitle;
    HWND hOpen = nullptr;
    WhileModal({
        [&] {
            hOpen = FindDialog();
            char buffer[64] = {};
            ::GetWindowTextA(hOpen, buffer, sizeof(buffer));
            title = buffer;
            ::PostMessageA(hOpen, WM_COMMAND, MAKEWPARAM(IDC_OPEN_BROWSE, BN_CLICKED), 0);
        },
        [&] {
            HWND hFile = FindDialog();
            char buffer[64] = {};
            ::GetWindowTextA(hFile, buffer, sizeof(buffer));
            browseTitle = buffer;
            ::PostMessageA(hFile, WM_COMMAND, IDCANCEL, 0);
        },
        [&] {
            HWND hDlg = FindDialog();
            EXPECT_EQ(hOpen, hDlg);
            ::SetDlgItemTextA(hDlg, IDC_OPEN_TEXT, "example.org");
            Click(hDlg, IDOK);
        },
    });
    EXPECT_STREQ("example.org", ShowOpenDlg(1, "start", &result));
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("Open it", title);
    EXPECT_EQ("Pick a file", browseTitle);
}

TEST_F(SmallDialogsTest, KeywordDialogRefusesEmptyClearsAndReusesTheResultText)
{
    int reserved = 5, cleared = 5, result = 0;
    HICON hIcon = theApp.m_hIcon;
    EXPECT_EQ(nullptr, ShowPFindDlg(nullptr, &reserved, &cleared, &result));

    m_folder->WriteBytes("String/message.dat", std::string(10, '\n') + "Type a keyword\n");
    std::string message;
    bool stayed = false;
    WhileModal({
        [] { Click(FindDialog(), IDOK); },
        [&] { message = AnswerMessageBox(); },
        [&] {
            HWND hDlg = FindDialog();
            stayed = hDlg != nullptr;
            ::SetDlgItemTextA(hDlg, IDC_KEYWORD_TEXT, "first");
            Click(hDlg, IDOK);
        },
    });
    const char* first = ShowPFindDlg(hIcon, &reserved, &cleared, &result);
    EXPECT_EQ("Type a keyword", message);
    EXPECT_TRUE(stayed);
    EXPECT_STREQ("first", first);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0, reserved);
    EXPECT_EQ(0, cleared);

    // The clear button: OK, no keyword, cleared; the first text changed.
    WhileModal({ [] { Click(FindDialog(), IDC_KEYWORD_CLEAR); } });
    const char* second = ShowPFindDlg(hIcon, &reserved, &cleared, &result);
    EXPECT_EQ(first, second);
    EXPECT_STREQ("", first);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, cleared);
}

TEST_F(SmallDialogsTest, WindowSizeReportsTheHeightFirstThenTheWidth)
{
    RECT rect = { 10, 20, 410, 320 };
    EXPECT_EQ(0, ShowDlgWide(nullptr, &rect));
    // A line whose conversions are not two numbers is not used.
    m_folder->WriteBytes("String/message.dat", std::string(16, '\n') + "%s between %d and %d\n");
    std::string initial, first, second;
    WhileModal({
        [&] {
            HWND hDlg = FindDialog();
            initial = ItemText(hDlg, IDC_SIZE_WIDTH) + "x" + ItemText(hDlg, IDC_SIZE_HEIGHT);
            ::SetDlgItemTextA(hDlg, IDC_SIZE_HEIGHT, "0");
            ::SetDlgItemTextA(hDlg, IDC_SIZE_WIDTH, "6000");
            Click(hDlg, IDOK);
        },
        [&] { first = AnswerMessageBox(); },
        [&] {
            HWND hDlg = FindDialog();
            // The focus is only this thread's while its window is active.
            if (::GetForegroundWindow() == hDlg) {
                EXPECT_EQ(::GetDlgItem(hDlg, IDC_SIZE_HEIGHT), ::GetFocus());
            }
            ::SetDlgItemTextA(hDlg, IDC_SIZE_HEIGHT, "150");
            Click(hDlg, IDOK);
        },
        [&] { second = AnswerMessageBox(); },
        [&] {
            HWND hDlg = FindDialog();
            if (::GetForegroundWindow() == hDlg) {
                EXPECT_EQ(::GetDlgItem(hDlg, IDC_SIZE_WIDTH), ::GetFocus());
            }
            ::SetDlgItemTextA(hDlg, IDC_SIZE_WIDTH, "250");
            Click(hDlg, IDOK);
        },
    });
    EXPECT_EQ(IDOK, ShowDlgWide(theApp.m_hIcon, &rect));
    EXPECT_TRUE(AllStepsRan());
    EXPECT_EQ("400x300", initial);
    EXPECT_EQ("1 - 5000", first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(10, rect.left);
    EXPECT_EQ(20, rect.top);
    EXPECT_EQ(260, rect.right);
    EXPECT_EQ(170, rect.bottom);

    // Cancel leaves the caller's rectangle alone, also after an entry was
    // taken and the next one rejected.
    WhileModal({
        [] {
            HWND hDlg = FindDialog();
            ::SetDlgItemTextA(hDlg, IDC_SIZE_HEIGHT, "90");
            ::SetDlgItemTextA(hDlg, IDC_SIZE_WIDTH, "0");
            Click(hDlg, IDOK);
        },
        [] { AnswerMessageBox(); },
        [] { Click(FindDialog(), IDCANCEL); },
    });
    EXPECT_EQ(IDCANCEL, ShowDlgWide(theApp.m_hIcon, &rect));
    EXPECT_TRUE(AllStepsRan());
    EXPECT_EQ(260, rect.right);
    EXPECT_EQ(170, rect.bottom);
}

TEST_F(SmallDialogsTest, AboutBoxShowsTheTextsAndReturnsTheTraceState)
{
    const char* folder = m_folder->Path().c_str();
    EXPECT_EQ(1, ShowAboutDlg(theApp.m_hIcon, m_hMain, folder, nullptr, "b", "c", 1));
    std::string text1, block;
    COLORREF linkColor = 0, otherColor = 0;
    LRESULT linkBrush = 0;
    WhileModal({ [&] {
        HWND hDlg = FindDialog();
        text1 = ItemText(hDlg, IDC_ABOUT_TEXT1);
        // The link static: blue on a hollow brush; the others as they were.
        HDC hdc = ::CreateCompatibleDC(nullptr);
        ::SetTextColor(hdc, RGB(1, 2, 3));
        linkBrush = ::SendMessageA(hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                   reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDC_ABOUT_LINK)));
        linkColor = ::GetTextColor(hdc);
        ::SetTextColor(hdc, RGB(1, 2, 3));
        ::SendMessageA(hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDC_ABOUT_TEXT2)));
        otherColor = ::GetTextColor(hdc);
        ::DeleteDC(hdc);
        block = ItemText(hDlg, IDC_ABOUT_VERSIONS);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hDlg, IDC_ABOUT_TRACE)));
        Click(hDlg, IDOK);
    } });
    // With the trace on and OK, the trace stays on and its file is kept.
    m_folder->WriteBytes("VA_TRACE.txt", "trace");
    EXPECT_EQ(1, ShowAboutDlg(theApp.m_hIcon, m_hMain, folder, "Name ver 1.0", "Build 13014", "third", 1));
    EXPECT_EQ("Name ver 1.0", text1);
    EXPECT_EQ(RGB(0, 0, 255), linkColor);
    EXPECT_EQ(reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH)), linkBrush);
    EXPECT_NE(RGB(0, 0, 255), otherColor);
    EXPECT_EQ(0u, block.find("Name ver 1.0\r\nBuild 13014\r\nOS:"));
    EXPECT_NE(std::string::npos, block.find("\r\nIE:"));
    EXPECT_TRUE(m_folder->Exists("VA_TRACE.txt"));

    // The library's record asked for the trace, the caller not: OK deletes it.
    theApp.m_settings.bVATrace(true);
    WhileModal({ [] { Click(FindDialog(), IDOK); } });
    EXPECT_EQ(0, ShowAboutDlg(theApp.m_hIcon, m_hMain, folder, "a", "b", "c", 0));
    EXPECT_FALSE(m_folder->Exists("VA_TRACE.txt"));
}

TEST_F(SmallDialogsTest, SystemTableNamesKnownVersionsOnly)
{
    EXPECT_STREQ("Windows XP", CDlgAbout::OsNameOf("5.1"));
    EXPECT_STREQ("Windows 95", CDlgAbout::OsNameOf("4.0"));  // the first match wins
    EXPECT_EQ(nullptr, CDlgAbout::OsNameOf("10.0"));
    CString name = CDlgAbout::GetOsName();
    EXPECT_NE(-1, name.Find(" ("));
}

TEST_F(SmallDialogsTest, LinkClickOpensOneNewWindowAndClosesTheBox)
{
    // The main window answers WM_FRAME_NEWWINDOW: count what reaches it.
    static int s_newWindows = 0;
    static std::string s_url;
    s_newWindows = 0;
    struct Main
    {
        static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
        {
            if (m == 0x9484) {
                ++s_newWindows;
                s_url = reinterpret_cast<const char*>(w);
                return 1;
            }
            return ::DefWindowProcA(h, m, w, l);
        }
    };
    ::SetWindowLongPtrA(m_hMain, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Main::Proc));
    m_folder->WriteBytes("String/url.dat", std::string(7, '\n') + "http://example.org/\n");
    WhileModal({ [] {
        HWND hDlg = FindDialog();
        HWND hLink = nullptr;
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            char cls[32] = {};
            ::GetClassNameA(h, cls, sizeof(cls));
            if (strcmp(cls, "VaLinkLabel") == 0)
                hLink = h;
        }
        ASSERT_NE(nullptr, hLink);
        ::SendMessageA(hLink, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageA(hLink, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    } });
    EXPECT_EQ(0, ShowAboutDlg(theApp.m_hIcon, m_hMain, m_folder->Path().c_str(), "a", "b", "c", 0));
    EXPECT_EQ(1, s_newWindows);
    EXPECT_EQ("http://example.org/", s_url);
    ::SetWindowLongPtrA(m_hMain, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&::DefWindowProcA));
}

TEST_F(SmallDialogsTest, PostedWindowIsReplacedAndShowsTheEndOfItsText)
{
    ShowPostedDlg(theApp.m_hIcon, "extra", "first");
    CDlgPosted* first = theApp.GetPostedDialog();
    ASSERT_NE(nullptr, first);
    HWND hFirst = first->m_hWnd;
    std::string body;
    for (int i = 0; i < 200; ++i)
        body += "line " + std::to_string(i) + "\r\n";
    ShowPostedDlg(theApp.m_hIcon, "extra", body.c_str());
    EXPECT_FALSE(::IsWindow(hFirst));
    CDlgPosted* second = theApp.GetPostedDialog();
    ASSERT_NE(nullptr, second);
    EXPECT_TRUE(second->IsWindowVisible());
    HWND hEdit = ::GetDlgItem(second->m_hWnd, IDC_POSTED_TEXT);
    EXPECT_GT(::SendMessageA(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 100);
    // Esc hides it; the window stays until the next text or the exit.
    ::SendMessageA(second->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(second->IsWindowVisible());
    EXPECT_TRUE(::IsWindow(second->m_hWnd));
    theApp.ExitInstance();
    EXPECT_EQ(nullptr, theApp.GetPostedDialog());
}

TEST_F(SmallDialogsTest, PopupRuleAndGroupNameExportsRunTheirDialogs)
{
    int result = 0;
    EXPECT_EQ(0, ShowAddPopup(nullptr, "x"));
    WhileModal({ [] { Click(FindDialog(), IDCANCEL); } });
    EXPECT_EQ(IDCANCEL, ShowAddPopup(m_hMain, m_folder->Path().c_str()));
    EXPECT_FALSE(m_folder->Exists("PopClose.dat"));

    // The name is trimmed and "｀" cannot stay in it; blanks alone are refused.
    CTabGroup group;
    group.m_captionTemplate = "Work %i";
    WhileModal({ [] {
        HWND hDlg = FindDialog();
        EXPECT_EQ("Work %i", ItemText(hDlg, 1039));
        ::SetDlgItemTextA(hDlg, 1039, "  New\x81\x4Dname ");
        Click(hDlg, IDOK);
    } });
    EXPECT_STREQ("New`name", ShowPtabRename(theApp.m_hIcon, &group, &result));
    EXPECT_EQ(IDOK, result);
    std::string refused;
    WhileModal({ [] {
                    ::SetDlgItemTextA(FindDialog(), 1039, "   ");
                    Click(FindDialog(), IDOK);
                },
                 [&] { refused = AnswerMessageBox(); },
                 [] { Click(FindDialog(), IDCANCEL); } });
    EXPECT_STREQ("Work %i", ShowPtabRename(theApp.m_hIcon, &group, &result));
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(std::string(theApp.GetMessageString(16)), refused);

    // Out of memory inside: the export still returns, and shows nothing.
    const std::string folder = m_folder->Path() + "\\another folder";
    g_failNextAllocation = true;
    EXPECT_EQ(0, ShowAddPopup(m_hMain, folder.c_str()));
    g_failNextAllocation = true;
    EXPECT_NO_THROW(StartupAddDlg(m_hMain, "P", folder.c_str(), "http://a.example/"));
    g_failNextAllocation = false;
}

TEST_F(SmallDialogsTest, StringReaderCachesTenLinesOfOneFile)
{
    std::string lines;
    for (int i = 1; i <= 40; ++i)
        lines += "line" + std::to_string(i) + "\n";
    m_folder->WriteBytes("String/etc.dat", lines);
    m_folder->WriteBytes("String/dlg.dat", lines);
    const int before = theApp.GetStringCache().GetFileReadCount();
    EXPECT_STREQ("line9", theApp.GetEtcString(9));
    EXPECT_STREQ("line10", theApp.GetEtcString(10));
    EXPECT_STREQ("line11", theApp.GetEtcString(11));
    EXPECT_EQ(before + 1, theApp.GetStringCache().GetFileReadCount());
    EXPECT_STREQ("line20", theApp.GetEtcString(20));
    EXPECT_STREQ("line29", theApp.GetEtcString(29));
    EXPECT_EQ(before + 2, theApp.GetStringCache().GetFileReadCount());
    // Another file always misses.
    EXPECT_STREQ("line21", theApp.GetDlgString(21));
    EXPECT_EQ(before + 3, theApp.GetStringCache().GetFileReadCount());

    // A product name of 40 characters keeps its first 31.
    theApp.SetProductName(std::string(40, 'p').c_str());
    EXPECT_EQ(std::string(31, 'p'), theApp.GetProductName());
}
