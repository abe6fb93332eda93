// ListsBench: the start-up with the favorites and plug-in lists against the
// start-up without them, and the first opening of the favorites menu, for
// scripts/bench-lists.sh. Each run starts the real program in a program
// folder of its own (tests/support/ProgramRun), alternating without the
// lists, with them, and with them but without menu images (the menu's own
// floor: what its images cost is the difference). "With" writes, before
// each start, an "IEFavorite.dat" of 1,000 entries in folders (100 of them
// in the Links folder) and a "plugin.dat" of 20 test plug-ins.
//
// Start-up is timed from process start until the frame has run its posted
// start-up command (plug-ins idle-called, links bar filled): a minimize
// posted once the window shows is handled only after it, so the run ends
// when the window turns iconic.
//
// Usage: ListsBench rounds   (VA_RES_DIR, VA_BIN_DIR and VA_TEST_PLUGIN_DIR
// name the shipped data, the built program and the test plug-ins)
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"

#include "tests/bench/BenchTiming.h"

namespace {

const DWORD kTimeoutMs = 60000;
const int kFolders = 9;           // besides Links
const int kEntriesPerFolder = 100;
const int kLinksEntries = 100;
const int kPlugIns = 20;
const char kSep[] = "\x81\x4d";

// The Links folder the program will look for, as its settings name it.
std::string LinksFolder()
{
    char favorites[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_FAVORITES, nullptr, 0, favorites);
    std::string path = favorites;
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    char name[MAX_PATH] = {};
    DWORD size = sizeof(name) - 1;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Toolbar", 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "LinksFolderName", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size);
        RegCloseKey(key);
    }
    return path + (name[0] != '\0' ? name : "\x83\x8a\x83\x93\x83\x4e") + "\\";
}

std::string FavoritesCache()
{
    std::string text = "ROOT:\r\n";
    auto folder = [&](const std::string& label, const std::string& path, int entries) {
        text += "\tFOLDER:\r\n\t\tLABEL:" + label + "\r\n\t\tPATH:" + path + "\r\n";
        for (int e = 0; e < entries; ++e)
            text += "\t\tENTRY:\r\n\t\t\tLABEL:Site " + std::to_string(e) +
                    ".url\r\n\t\t\tURL:http://bench.invalid/" + label + "/" + std::to_string(e) + "\r\n";
        text += "\tENDFOLDER:\r\n";
    };
    const std::string links = LinksFolder();
    folder("Links", links, kLinksEntries);
    for (int f = 0; f < kFolders; ++f)
        folder("Folder " + std::to_string(f), "C:\\Bench\\Folder " + std::to_string(f) + "\\",
               kEntriesPerFolder);
    return text + "ENDROOT:\r\n";
}

void WriteLists(const ProgramFolder& folder)
{
    folder.WriteBytes("IEFavorite.dat", FavoritesCache());
    const std::string plugIn = ProgramFolder::PathFromEnvironment("VA_TEST_PLUGIN_DIR") + "\\TestPlugInA.dll";
    std::string list;
    for (int i = 0; i < kPlugIns; ++i) {
        const std::string target = folder.File("Plugin/bench" + std::to_string(i) + ".dll");
        CopyFileA(plugIn.c_str(), target.c_str(), FALSE);
        list += target + "?1\r\n";
    }
    folder.WriteBytes("Plugin/plugin.dat", list);
}

// The shown popup menu window of a process, or null.
HWND ShownMenuOf(DWORD processId)
{
    for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu != nullptr;
         menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(menu, &owner);
        if (owner == processId && IsWindowVisible(menu))
            return menu;
    }
    return nullptr;
}

struct Run
{
    double startupMs = -1;
    double menuMs = -1;
};

enum class Lists { kNone, kWith, kWithoutMenuImages };

Run RunOnce(Lists lists)
{
    Run run;
    ProgramFolder folder;
    folder.MakeFolder("Plugin");
    if (lists != Lists::kNone)
        WriteLists(folder);
    else
        folder.Remove("IEFavorite.dat");
    if (lists == Lists::kWithoutMenuImages)
        folder.WriteBytes("VantorelArco.ini", "[Vantorel]\r\niniver=1038\r\nbMenuImage=0\r\n");
    ProgramRun program(folder);
    const double start = NowMs();
    if (!program.Start())
        return run;
    HWND frame = program.WaitForMainWindow(kTimeoutMs);
    while (frame != nullptr && !IsWindowVisible(frame) && NowMs() - start < kTimeoutMs)
        Sleep(1);
    if (frame == nullptr)
        return run;
    PostMessageA(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    while (!IsIconic(frame) && NowMs() - start < kTimeoutMs)
        Sleep(1);
    run.startupMs = NowMs() - start;
    // The favorites menu ("&A" of the menu bar) opened by its key, timed
    // until its popup shows (menus belong to their process under Wine, so
    // it is opened from inside). Its first opening builds it.
    PostMessageA(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    while (IsIconic(frame) && NowMs() - start < kTimeoutMs)
        Sleep(1);
    const double menuStart = NowMs();
    PostMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 'a');
    HWND menu = nullptr;
    while ((menu = ShownMenuOf(program.GetProcessId())) == nullptr &&
           NowMs() - menuStart < kTimeoutMs)
        Sleep(1);
    if (menu != nullptr) {
        run.menuMs = NowMs() - menuStart;
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    program.CloseAndWait(kTimeoutMs);
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Report(const char* name, const std::vector<double>& values)
{
    if (values.empty()) {
        std::printf("  %-28s no runs\n", name);
        return;
    }
    std::printf("  %-28s median %7.1f ms   min %7.1f   max %7.1f   (n=%zu)\n", name, Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()), values.size());
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::vector<double> without, with, menuWithout, menuWith, menuNoImages;
    RunOnce(Lists::kWith);  // uncounted: warms the prefix and the file cache
    for (int i = 0; i < rounds; ++i) {
        for (Lists lists : {Lists::kNone, Lists::kWith, Lists::kWithoutMenuImages}) {
            Run run = RunOnce(lists);
            if (run.startupMs < 0) {
                std::fprintf(stderr, "run %d (lists %d) failed\n", i, static_cast<int>(lists));
                continue;
            }
            if (lists != Lists::kWithoutMenuImages)
                (lists == Lists::kWith ? with : without).push_back(run.startupMs);
            if (run.menuMs >= 0)
                (lists == Lists::kNone ? menuWithout : lists == Lists::kWith ? menuWith : menuNoImages)
                    .push_back(run.menuMs);
        }
    }
    std::printf("Start-up until the start-up command has run:\n");
    Report("without lists", without);
    Report("with 1,000 favorites, 20 plug-ins", with);
    std::printf("  difference of medians        %7.1f ms\n", Median(with) - Median(without));
    std::printf("First opening of the favorites menu:\n");
    Report("without lists", menuWithout);
    Report("with 1,000 favorites", menuWith);
    Report("the same, menu images off", menuNoImages);
    std::printf("  images' share (difference)   %7.1f ms\n", Median(menuWith) - Median(menuNoImages));
    return without.empty() || with.empty() ? 1 : 0;
}
