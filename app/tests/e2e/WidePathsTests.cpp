// End-to-end: a program folder whose path holds characters the ANSI code
// page lacks. Regression: the program took it from the ANSI module name, got
// "?" in their place, and then silently wrote nothing (settings, lists,
// recovery).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shared/FrameMessages.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/WideFiles.h"

namespace fs = std::filesystem;

namespace {

const UINT kCmdSettings = 32772;
const UINT kCmdNewBlankTab = 1072;

bool WaitUntilGone(HWND wnd)
{
    for (int i = 0; i < 400 && IsWindow(wnd); ++i)
        Sleep(50);
    return !IsWindow(wnd);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string Tab(const char* url)
{
    return std::string("\tENTRY:\r\n\t\tSTATE:0\r\n\t\tLABEL:T\r\n\t\tURL:") + url + "\r\n\tENDENTRY:\r\n";
}

class ProgramFolderBeyondTheCodePage : public ::testing::TestWithParam<const wchar_t*>
{
};

// Settings read and written with their backup, the favorites cache and the
// bar order written, crash recovery restored and cleared, the dialogs
// library's strings and a plug-in of the plug-in folder.
TEST_P(ProgramFolderBeyondTheCodePage, EverythingIsReadAndWrittenThere)
{
    ProgramFolder folder(ProgramFolder::kShippedData, GetParam());
    const std::string crafted = "[Vantorel]\r\niniver=1038\r\niTabStrLen_P=12\r\nbFavLoadCache=1\r\n"
                                "bPlgEnable=1\r\niInitMode=0\r\n";
    folder.WriteBytes("VantorelArco.ini", crafted);
    folder.MakeFolder("plugin");
    const std::string bin = ProgramFolder::PathFromEnvironment("VA_BIN_DIR");
    ASSERT_TRUE(CopyFileA((bin + "\\plugin\\Skiffport.vap").c_str(),
                          folder.File("plugin/Skiffport.vap").c_str(), FALSE));
    folder.WriteBytes("Exception.dat", "VADatFileVer003\r\nFOLDER:\r\n\tLABEL:Old\r\n\tSTATE:0\r\n\tICON:0\r\n" +
                                           Tab("http://a.example/") + Tab("http://b.example/") +
                                           "ENDFOLDER:\r\n");

    ProgramRun run(folder);
    ASSERT_TRUE(run.Start());
    // The restore question, asked from the string files of the folder.
    HWND question = run.WaitForWindow("#32770");
    ASSERT_NE(nullptr, question);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(2, ProgramRun::WaitForReply(main, WM_FRAME_GETCOUNT, 0, 0, 2));
    EXPECT_TRUE(ProgramRun::HasModule(run.GetProcessId(), "Skiffport.vap"));

    // The settings dialog's title ends with its line of the etc string file.
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    HWND dialog = run.WaitForWindow("#32770");
    ASSERT_NE(nullptr, dialog);
    char title[256] = {};
    GetWindowTextA(dialog, title, sizeof(title));
    const std::string line28 = Lines(folder.ReadBytes("String/etc.dat")).at(27);
    ASSERT_FALSE(line28.empty());
    EXPECT_EQ(line28, std::string(title).substr(std::max<size_t>(strlen(title), line28.size()) - line28.size()));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntilGone(dialog));

    EXPECT_EQ(0u, run.CloseAndWait());
    const std::string written = folder.ReadBytes("VantorelArco.ini");
    EXPECT_EQ(185u, Lines(written).size());
    EXPECT_NE(std::string::npos, written.find("\r\niTabStrLen_P=12\r\n"));
    EXPECT_EQ(crafted, folder.ReadBytes("VantorelArco.ini.bak0"));
    EXPECT_TRUE(folder.Exists("toolbar.dat2"));
    EXPECT_EQ(0u, folder.ReadBytes("IEFavorite.dat").find("ROOT:\r\n"));
    EXPECT_FALSE(folder.Exists("Exception.dat"));
}

// Started by the folder's own name, which cp932 cannot hold, the program
// finds its folder by the folder's short name: the settings it reads and
// writes are the folder's.
TEST_P(ProgramFolderBeyondTheCodePage, StartedByItsLongNameItKeepsItsSettingsThere)
{
    ProgramFolder folder(ProgramFolder::kShippedData, GetParam());
    const std::string crafted = "[Vantorel]\r\niniver=1038\r\niTabStrLen_P=12\r\niInitMode=0\r\n";
    folder.WriteBytes("VantorelArco.ini", crafted);
    ProgramRun run(folder);
    run.SetStartFolder(folder.WidePath());
    ASSERT_TRUE(run.Start());
    ASSERT_NE(nullptr, run.WaitForMainWindow());
    EXPECT_EQ(0u, run.CloseAndWait());
    // Rewritten whole, with the value it read, and the old file kept.
    const std::string written = folder.ReadBytes("VantorelArco.ini");
    EXPECT_NE(crafted, written);
    EXPECT_NE(std::string::npos, written.find("\r\niTabStrLen_P=12\r\n"));
    EXPECT_EQ(crafted, folder.ReadBytes("VantorelArco.ini.bak0"));
}

INSTANTIATE_TEST_SUITE_P(Names, ProgramFolderBeyondTheCodePage,
                         ::testing::Values(L"J\u00F6rg \uD55C", L"smile \U0001F600"));

} // namespace

namespace {

// Every file below a folder (names, sizes and times), to see that a run
// wrote nothing there.
std::map<std::wstring, std::pair<uintmax_t, fs::file_time_type>> Listing(const std::wstring& folder)
{
    std::map<std::wstring, std::pair<uintmax_t, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(folder)))
        files[entry.path().wstring()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                         entry.last_write_time()};
    return files;
}

std::wstring TextOf(HWND box)
{
    wchar_t text[2048] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    return text;
}

} // namespace

// Regression: a program folder cp932 cannot hold and without a short name
// became its best-fit spelling: the program then read and wrote a look-alike
// folder ("Jörg" -> "Jorg"), loaded its plug-ins and the dialogs library from
// it, and restored its tabs. Now it says so once and runs with no folder.
TEST(ProgramFolderWithoutAShortName, NothingIsReadWrittenOrLoadedThereNorInALookAlike)
{
    ProgramFolder folder(ProgramFolder::kShippedData, L"J\u00F6rg");
    const std::wstring wide = folder.WidePath();
    const std::wstring lookAlike = wide.substr(0, wide.rfind(L'\\', wide.size() - 2) + 1) + L"Jorg\\";
    // On Wine a folder reached through the Unix root's drive has no short
    // form once a folder above it has a long name.
    const std::wstring start = ThroughUnixRoot(wide);
    wchar_t shortName[MAX_PATH] = {};
    if (start.empty() || GetShortPathNameW(start.c_str(), shortName, MAX_PATH) != 0)
        GTEST_SKIP() << "the system gives this folder a short name by every path";

    // What the look-alike would have given: its settings, a crash-recovery
    // file, a plug-in and the dialogs library; the folder holds them too.
    fs::copy(fs::path(ProgramFolder::ShippedDataPath()), fs::path(lookAlike), fs::copy_options::recursive);
    const std::string bin = ProgramFolder::PathFromEnvironment("VA_BIN_DIR");
    for (const std::wstring& place : {wide, lookAlike}) {
        const fs::path root(place);
        fs::create_directories(root / L"plugin");
        fs::copy_file(fs::path(bin) / "plugin" / "Skiffport.vap", root / L"plugin" / L"Skiffport.vap");
        std::ofstream(root / L"VantorelArco.ini", std::ios::binary)
            << "[Vantorel]\r\niniver=1038\r\nbPlgEnable=1\r\niInitMode=0\r\n";
        std::ofstream(root / L"Exception.dat", std::ios::binary)
            << "VADatFileVer003\r\nFOLDER:\r\n\tLABEL:Old\r\n\tSTATE:0\r\n\tICON:0\r\n" << Tab("http://a.example/")
            << "ENDFOLDER:\r\n";
    }
    fs::copy_file(fs::path(bin) / "Formbay.dll", fs::path(lookAlike) / L"Formbay.dll");
    ProgramRun run(folder);
    run.SetStartFolder(start);
    const auto before = Listing(wide);
    const auto lookAlikeBefore = Listing(lookAlike);
    const bool rootsHadIni = fs::exists(L"C:\\VantorelArco.ini") || fs::exists(L"Z:\\VantorelArco.ini");

    ASSERT_TRUE(run.Start());
    // The one box of the start names the folder; no restore question.
    HWND box = run.WaitForWindow("#32770");
    ASSERT_NE(nullptr, box);
    ASSERT_NE(std::wstring::npos, TextOf(box).find(start)) << "the first box is another";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntilGone(box));
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);

    // The settings command finds no dialogs library; a new tab opens behind
    // it and behind the plug-in step, which loads none.
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    PostMessageA(main, WM_COMMAND, kCmdNewBlankTab, 0);
    EXPECT_EQ(1, ProgramRun::WaitForReply(main, WM_FRAME_GETCOUNT, 0, 0, 1));
    EXPECT_EQ(nullptr, run.WaitForWindow("#32770", 500));
    EXPECT_FALSE(ProgramRun::HasModule(run.GetProcessId(), "Skiffport.vap"));
    EXPECT_FALSE(ProgramRun::HasModule(run.GetProcessId(), "Formbay.dll"));
    EXPECT_EQ(0u, run.CloseAndWait());

    EXPECT_TRUE(before == Listing(wide)) << "the folder changed";
    EXPECT_TRUE(lookAlikeBefore == Listing(lookAlike)) << "the look-alike changed";
    if (!rootsHadIni) {
        EXPECT_FALSE(fs::exists(L"C:\\VantorelArco.ini") || fs::exists(L"Z:\\VantorelArco.ini"));
    }
}
