// End-to-end: the real program started under Wine in a test's own program
// folder, driven by its command line and window messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shared/FrameMessages.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"

namespace {

std::string SettingValue(const std::string& ini, const std::string& key)
{
    std::string needle = "\r\n" + key + "=";
    size_t at = ini.find(needle);
    if (at == std::string::npos)
        return "<missing>";
    at += needle.size();
    return ini.substr(at, ini.find("\r\n", at) - at);
}

// The placement the crafted settings give (130,90)-(930,690), written back
// with the show command.
void ExpectCraftedPlacement(const std::string& ini, const std::string& show)
{
    EXPECT_EQ("130", SettingValue(ini, "left"));
    EXPECT_EQ("90", SettingValue(ini, "top"));
    EXPECT_EQ("930", SettingValue(ini, "right"));
    EXPECT_EQ("690", SettingValue(ini, "bottom"));
    EXPECT_EQ(show, SettingValue(ini, "showCmd"));
}

// Memory in another process for the replies of its controls' messages.
class RemoteBlock
{
public:
    RemoteBlock(DWORD processId, SIZE_T size)
        : m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
          m_size(size)
    {
        if (m_process != nullptr)
            m_at = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (m_at != nullptr)
            VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
        if (m_process != nullptr)
            CloseHandle(m_process);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_at); }
    // Sends the message with the block (first holding value) as lParam and
    // reads the block back into value.
    template <class T>
    LRESULT Send(HWND wnd, UINT msg, WPARAM wParam, T& value)
    {
        SIZE_T done = 0;
        if (m_at == nullptr || sizeof(T) > m_size || !WriteProcessMemory(m_process, m_at, &value, sizeof(T), &done))
            return 0;
        const LRESULT result = SendMessageA(wnd, msg, wParam, Address());
        ReadProcessMemory(m_process, m_at, &value, sizeof(T), &done);
        return result;
    }

private:
    HANDLE m_process;
    SIZE_T m_size;
    void* m_at = nullptr;
};

BOOL CALLBACK FindReBar(HWND wnd, LPARAM lParam)
{
    char name[32] = {};
    GetClassNameA(wnd, name, sizeof(name));
    if (strcmp(name, REBARCLASSNAMEA) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = wnd;
    return FALSE;
}

// What is wrong with the toolbar bands of the window's rebar: each button a
// band holds that it does not show (hidden, outside the band, or covered by
// another window) while its buttons fit in the band. Empty when all is well.
std::vector<std::string> ToolBandFaults(HWND main, DWORD processId)
{
    std::vector<std::string> faults;
    HWND rebar = nullptr;
    EnumChildWindows(main, FindReBar, reinterpret_cast<LPARAM>(&rebar));
    if (rebar == nullptr)
        return {"no rebar"};
    RemoteBlock block(processId, 256);
    const int bands = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    int toolBands = 0;
    for (int b = 0; b < bands; ++b) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_CHILD | RBBIM_STYLE | RBBIM_ID;
        block.Send(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(b), band);
        char name[32] = {};
        GetClassNameA(band.hwndChild, name, sizeof(name));
        if ((band.fStyle & RBBS_HIDDEN) != 0 || strcmp(name, TOOLBARCLASSNAMEA) != 0)
            continue;
        ++toolBands;
        HWND bar = band.hwndChild;
        RECT client = {};
        GetClientRect(bar, &client);
        const DWORD size = static_cast<DWORD>(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0));
        const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
        std::vector<std::string> unseen;
        LONG need = 0;
        for (int i = 0; i < count; ++i) {
            TBBUTTON button = {};
            block.Send(bar, TB_GETBUTTON, static_cast<WPARAM>(i), button);
            RECT item = {};
            block.Send(bar, TB_GETITEMRECT, static_cast<WPARAM>(i), item);
            const bool hidden = (button.fsState & TBSTATE_HIDDEN) != 0;
            need += hidden ? LOWORD(size) : item.right - item.left;
            if (button.fsStyle & TBSTYLE_SEP)
                continue;
            const POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
            const bool inside = item.left >= client.left && item.right <= client.right && item.top >= client.top &&
                                item.bottom <= client.bottom;
            if (hidden || !inside || ChildWindowFromPointEx(bar, centre, CWP_SKIPINVISIBLE) != bar)
                unseen.push_back("band " + std::to_string(band.wID) + " button " + std::to_string(button.idCommand));
        }
        if (need <= client.right - client.left)
            faults.insert(faults.end(), unseen.begin(), unseen.end());
    }
    if (toolBands < 3)
        faults.push_back("only " + std::to_string(toolBands) + " toolbar bands");
    return faults;
}

class StartAndClose : public ::testing::Test
{
protected:
    // Asks the browser whether the session may end, then cancels the end.
    static void CancelSessionEnd(HWND wnd)
    {
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(wnd, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000,
                                        &answer));
        EXPECT_EQ(TRUE, static_cast<BOOL>(answer));
        ASSERT_TRUE(SendMessageTimeoutA(wnd, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 10000,
                                        &answer));
    }

    ProgramFolder m_folder;
};

TEST_F(StartAndClose, OrderlyCloseRewritesTheSettingsWithBackupsRotated)
{
    const std::string crafted =
        "[Vantorel]\r\niniver=1038\r\niWindowMaxCnt=70000\r\niTabStrLen_P=12\r\n"
        "iFixedWidth=300\r\nbTabOpen=2\r\nbTaskTray=0\r\nbWindowMaxCnt=3\r\n"
        "strTitle_P=\x83\x5c\x95\x5c\r\n";
    m_folder.WriteBytes("VantorelArco.ini", crafted);

    ProgramRun run(m_folder);
    ASSERT_TRUE(run.Start());
    ASSERT_NE(nullptr, run.WaitForMainWindow());
    EXPECT_EQ(0u, run.CloseAndWait());

    std::string written = m_folder.ReadBytes("VantorelArco.ini");
    EXPECT_EQ(crafted, m_folder.ReadBytes("VantorelArco.ini.bak0"));
    EXPECT_EQ(0u, written.find("[Vantorel]\r\niniver=1038\r\n"));
    EXPECT_EQ("4464", SettingValue(written, "iWindowMaxCnt"));
    EXPECT_EQ("12", SettingValue(written, "iTabStrLen_P"));
    EXPECT_EQ("44", SettingValue(written, "iFixedWidth"));
    EXPECT_EQ("0", SettingValue(written, "bTabOpen"));
    EXPECT_EQ("1", SettingValue(written, "bWindowMaxCnt"));
    EXPECT_EQ("\x83\x5c\x95\x5c", SettingValue(written, "strTitle_P"));
    // Forced at every start whatever the file said.
    EXPECT_EQ("0", SettingValue(written, "iMENU_STYLE"));
    EXPECT_EQ("1", SettingValue(written, "iDocFavMode"));
}

// Regression: the first show read the placement from lines already dropped,
// and every start opened at the default rectangle.
TEST_F(StartAndClose, TheSavedPlacementIsWhereTheWindowOpensAndWhatItWritesBack)
{
    for (const char* show : {"1", "3"}) {
        SCOPED_TRACE(show);
        m_folder.WriteBytes("VantorelArco.ini", std::string("[Vantorel]\r\niniver=1038\r\nleft=130\r\n") +
                                                    "top=90\r\nright=930\r\nbottom=690\r\nshowCmd=" + show +
                                                    "\r\n");
        ProgramRun run(m_folder);
        ASSERT_TRUE(run.Start());
        HWND wnd = run.WaitForMainWindow();
        ASSERT_NE(nullptr, wnd);
        const bool maximised = show[0] == '3';
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        for (int i = 0; i < 100 && (!IsWindowVisible(wnd) || (IsZoomed(wnd) != FALSE) != maximised); ++i)
            Sleep(50);
        EXPECT_EQ(maximised, IsZoomed(wnd) != FALSE);
        // Seen from another process, Wine gives a maximised window's own
        // rectangle as its normal one: the normal one is checked on the
        // normal start, and through what the program writes back on both.
        if (!maximised) {
            ASSERT_TRUE(GetWindowPlacement(wnd, &placement));
            const RECT& normal = placement.rcNormalPosition;
            EXPECT_EQ(130, normal.left);
            EXPECT_EQ(90, normal.top);
            EXPECT_EQ(930, normal.right);
            EXPECT_EQ(690, normal.bottom);
        }

        EXPECT_EQ(0u, run.CloseAndWait());
        ExpectCraftedPlacement(m_folder.ReadBytes("VantorelArco.ini"), show);
    }
}

// Regression: the File menu's exit command did nothing; and the placement
// written at the exit from full screen was the full-screen rectangle.
TEST_F(StartAndClose, TheExitCommandEndsInOrderWithThePlacementFromBeforeFullScreen)
{
    const std::string crafted = "[Vantorel]\r\niniver=1038\r\nleft=130\r\ntop=90\r\nright=930\r\n"
                                "bottom=690\r\nshowCmd=1\r\n";
    m_folder.WriteBytes("VantorelArco.ini", crafted);
    m_folder.WriteBytes("Exception.dat", "VADatFileVer003\r\n");
    ProgramRun run(m_folder);
    // A URL on the command line skips the restore question.
    ASSERT_TRUE(run.Start("http://example.com/"));
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    for (int i = 0; i < 100 && !IsWindowVisible(wnd); ++i)
        Sleep(50);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(wnd, WM_COMMAND, 36437, 0, SMTO_ABORTIFHUNG, 10000, &answer));
    RECT full = {};
    GetWindowRect(wnd, &full);
    EXPECT_EQ(-1, full.left);

    PostMessageA(wnd, WM_COMMAND, 57665, 0);
    EXPECT_EQ(0u, run.WaitForExit());
    const std::string written = m_folder.ReadBytes("VantorelArco.ini");
    ExpectCraftedPlacement(written, "1");
    // Written once, and the recovery file is gone.
    EXPECT_EQ(crafted, m_folder.ReadBytes("VantorelArco.ini.bak0"));
    EXPECT_FALSE(m_folder.Exists("VantorelArco.ini.bak1"));
    EXPECT_FALSE(m_folder.Exists("Exception.dat"));
}

TEST_F(StartAndClose, SecondStartHandsOverAndLeavesTheRecoveryFile)
{
    m_folder.WriteBytes("Exception.dat", "VADatFileVer003\r\n");
    ProgramRun first(m_folder);
    // A URL on the command line skips the restore question.
    ASSERT_TRUE(first.Start("http://example.com/"));
    ASSERT_NE(nullptr, first.WaitForMainWindow());

    ProgramRun second(m_folder);
    ASSERT_TRUE(second.Start("http://example.org/"));
    EXPECT_NE(static_cast<DWORD>(STILL_ACTIVE), second.WaitForExit());
    EXPECT_EQ(1, ProgramRun::CountMainWindows());
    EXPECT_TRUE(first.IsRunning());
    // Only the instance that made the main window owns the recovery file.
    EXPECT_TRUE(m_folder.Exists("Exception.dat"));

    ProgramRun third(m_folder);
    ASSERT_TRUE(third.Start());
    EXPECT_NE(static_cast<DWORD>(STILL_ACTIVE), third.WaitForExit());
    EXPECT_TRUE(first.IsRunning());

    EXPECT_EQ(0u, first.CloseAndWait());
    // An orderly end leaves no recovery file.
    EXPECT_FALSE(m_folder.Exists("Exception.dat"));
}

// Regression: starts at the same moment each looked for the window before
// any existed and made three browsers on one settings file.
TEST_F(StartAndClose, StartsAtTheSameMomentMakeOneBrowserWithEveryPageAsATab)
{
    ProgramRun first(m_folder);
    ProgramRun second(m_folder);
    ProgramRun third(m_folder);
    ASSERT_TRUE(first.Start("http://example.com/1"));
    ASSERT_TRUE(second.Start("http://example.com/2"));
    ASSERT_TRUE(third.Start("http://example.com/3"));
    // The two that hand over end; the one left is the browser.
    ProgramRun* runs[] = {&first, &second, &third};
    ProgramRun* browser = nullptr;
    int ended = 0;
    for (int i = 0; i < 200 && ended < 2; ++i) {
        ended = 0;
        for (ProgramRun* run : runs) {
            if (run->IsRunning())
                browser = run;
            else
                ++ended;
        }
        if (ended < 2)
            Sleep(100);
    }
    EXPECT_EQ(2, ended);
    ASSERT_NE(nullptr, browser);
    HWND wnd = browser->WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    EXPECT_EQ(1, ProgramRun::CountMainWindows());
    EXPECT_EQ(3, ProgramRun::WaitForReply(wnd, WM_FRAME_GETCOUNT, 0, 0, 3));
    EXPECT_EQ(0u, browser->CloseAndWait());
}

TEST_F(StartAndClose, DoubleInstanceStartsASecondBrowserAndKeepsTheRecoveryFile)
{
    m_folder.WriteBytes("VantorelArco.ini",
                        "[Vantorel]\r\niniver=1038\r\nbDoubleInstance=1\r\n");
    m_folder.WriteBytes("Exception.dat", "VADatFileVer003\r\n");
    ProgramRun first(m_folder);
    ProgramRun second(m_folder);
    ASSERT_TRUE(first.Start());
    ASSERT_NE(nullptr, first.WaitForMainWindow());
    ASSERT_TRUE(second.Start());
    ASSERT_NE(nullptr, second.WaitForMainWindow());
    EXPECT_EQ(2, ProgramRun::CountMainWindows());

    EXPECT_EQ(0u, second.CloseAndWait());
    EXPECT_EQ(0u, first.CloseAndWait());
    EXPECT_TRUE(m_folder.Exists("Exception.dat"));
}

// A cancelled session end must not end the exit work: a change made after it
// is saved at the orderly close, and the recovery file goes only then.
TEST_F(StartAndClose, CancelledSessionEndThenAChangeIsSavedAtTheClose)
{
    m_folder.WriteBytes("Exception.dat", "VADatFileVer003\r\n");
    ProgramRun run(m_folder);
    // A URL on the command line skips the restore question.
    ASSERT_TRUE(run.Start("http://example.com/"));
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);

    CancelSessionEnd(wnd);
    EXPECT_TRUE(m_folder.Exists("VantorelArco.ini"));
    EXPECT_TRUE(m_folder.Exists("Exception.dat"));

    // The change: the window moves, which the settings record at the close.
    ShowWindow(wnd, SW_RESTORE);
    ASSERT_TRUE(SetWindowPos(wnd, nullptr, 37, 41, 600, 440, SWP_NOZORDER | SWP_NOACTIVATE));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ASSERT_TRUE(GetWindowPlacement(wnd, &placement));

    EXPECT_EQ(0u, run.CloseAndWait());
    std::string written = m_folder.ReadBytes("VantorelArco.ini");
    EXPECT_EQ(std::to_string(placement.rcNormalPosition.left), SettingValue(written, "left"));
    EXPECT_EQ(std::to_string(placement.rcNormalPosition.right), SettingValue(written, "right"));
    EXPECT_NE(SettingValue(m_folder.ReadBytes("VantorelArco.ini.bak0"), "right"),
              SettingValue(written, "right"));
    EXPECT_FALSE(m_folder.Exists("Exception.dat"));
}

TEST_F(StartAndClose, CancelledSessionEndSavesButKeepsTheBrowserRunning)
{
    ProgramRun run(m_folder);
    ASSERT_TRUE(run.Start());
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);

    CancelSessionEnd(wnd);
    EXPECT_TRUE(m_folder.Exists("VantorelArco.ini"));
    // The session end is cancelled: the browser goes on as before.
    EXPECT_TRUE(run.IsRunning());
    EXPECT_TRUE(IsWindow(wnd));

    EXPECT_EQ(0u, run.CloseAndWait());
}

// The bands of a first start: every button a toolbar band holds shows
// while the band has room for them all (the search bar's among them, whose
// box stands left of its buttons).
TEST_F(StartAndClose, AFirstStartShowsEveryButtonOfEachToolbarBandThatHasRoom)
{
    ProgramRun run(m_folder);
    ASSERT_TRUE(run.Start());
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    // The bands are laid out while the program's loop goes idle.
    std::vector<std::string> faults = {"not shown"};
    for (int i = 0; i < 50 && !faults.empty(); ++i) {
        Sleep(100);
        DWORD_PTR answer = 0;
        if (IsWindowVisible(wnd) && SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
            faults = ToolBandFaults(wnd, run.GetProcessId());
    }
    for (const std::string& fault : faults)
        ADD_FAILURE() << fault;
    EXPECT_EQ(0u, run.CloseAndWait());
}

} // namespace
