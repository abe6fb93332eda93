// The dialogs library's benchmark (not a test): one round loads Formbay.dll,
// runs ShowSettingDlg, selects each page so that every page window exists,
// selects each page once more, cancels and unloads; the baseline round only
// loads and frees the same file. Prints the minimum and the median of each,
// in milliseconds, and of every page switch: the first selection of a page
// (which makes its window) and the second (which only shows it), as wall
// time and as this thread's CPU time.
// Usage: FormbayBench.exe rounds path\Formbay.dll dataFolder\   (rounds >= 1)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/win/TreeCtrl.h"
#include "shared/SettingsRecord.h"
#include "shared/WidePath.h"
#include "tests/bench/BenchTiming.h"

namespace {

typedef SettingsRecord*(WINAPI* ShowSettingDlgFn)(HICON, HWND, const char*, const char*, SettingsRecord*, int*);

const int kTreeId = 1013;

// Per page, in tree order: the first and the second selection, and the
// page's title as the tree shows it.
struct PageTimes
{
    TimedSeries first, again;
    std::string title;
};

std::vector<PageTimes> s_pages;
TimedSeries s_open;  // from the call until the dialog and its first page stand
double s_callStart = 0;
double s_callCpuStart = 0;

BOOL CALLBACK FindSettings(HWND hWnd, LPARAM lParam)
{
    if (::GetDlgItem(hWnd, kTreeId) != nullptr && ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The tree's text (cp932) as UTF-8, for the console of the host.
std::string ItemTitle(HWND hTree, HTREEITEM hItem)
{
    CTreeCtrl tree;
    tree.Attach(hTree);
    const std::wstring wide = WidePath::FromAnsi(tree.GetItemText(hItem));
    tree.Detach();
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes : 1, '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

// One selection, timed; a switch to the item already selected selects the
// other item first, untimed, so that every timed step is a switch.
void TimeSelect(HWND hTree, HTREEITEM hItem, HTREEITEM hOther, TimedSeries& series)
{
    if (TreeView_GetSelection(hTree) == hItem && hOther != nullptr)
        TreeView_SelectItem(hTree, hOther);
    double wall = NowMs();
    double cpu = MainThreadCpuFineMs();
    TreeView_SelectItem(hTree, hItem);
    series.Add(NowMs() - wall, MainThreadCpuFineMs() - cpu);
}

// Inside the dialog's loop: every tree item selected in turn, twice, then
// Cancel.
void CALLBACK WalkPages(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND hDlg = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindSettings, reinterpret_cast<LPARAM>(&hDlg));
    if (hDlg == nullptr)
        return;  // not shown yet: the timer comes again
    ::KillTimer(nullptr, id);
    s_open.Add(NowMs() - s_callStart, MainThreadCpuFineMs() - s_callCpuStart);
    HWND hTree = ::GetDlgItem(hDlg, kTreeId);
    std::vector<HTREEITEM> items;
    for (HTREEITEM h = TreeView_GetRoot(hTree); h != nullptr; h = TreeView_GetNextSibling(hTree, h))
        items.push_back(h);
    if (s_pages.size() < items.size())
        s_pages.resize(items.size());
    // The first page was made with the dialog: its first switch is the
    // dialog's opening.
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = pass == 0 ? 1 : 0; i < items.size(); ++i) {
            HTREEITEM other = items[i == 0 ? items.size() - 1 : i - 1];
            TimeSelect(hTree, items[i], items.size() > 1 ? other : nullptr,
                       pass == 0 ? s_pages[i].first : s_pages[i].again);
            if (s_pages[i].title.empty())
                s_pages[i].title = ItemTitle(hTree, items[i]);
        }
    ::SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: FormbayBench rounds Formbay.dll dataFolder\\\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    const char* dll = argv[2];
    const char* dataFolder = argv[3];
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
    HWND hMain = ::CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                   nullptr, nullptr);
    HICON hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));

    // The caller's record, as the main program hands it over.
    SettingsRecord record;
    HMODULE hProbe = ::LoadLibraryA(dll);
    if (hProbe == nullptr || ::GetProcAddress(hProbe, "ShowSettingDlg") == nullptr) {
        std::fprintf(stderr, "no ShowSettingDlg in %s\n", dll);
        return 1;
    }
    ::FreeLibrary(hProbe);

    Series full;
    Series plain;
    for (int round = 0; round < rounds; ++round) {
        double t0 = NowMs();
        HMODULE hModule = ::LoadLibraryA(dll);
        ::FreeLibrary(hModule);
        plain.Add(NowMs() - t0);

        t0 = NowMs();
        hModule = ::LoadLibraryA(dll);
        ShowSettingDlgFn show =
            reinterpret_cast<ShowSettingDlgFn>(reinterpret_cast<void*>(::GetProcAddress(hModule, "ShowSettingDlg")));
        int result = 0;
        ::SetTimer(nullptr, 0, 1, WalkPages);
        s_callStart = NowMs();
        s_callCpuStart = MainThreadCpuFineMs();
        show(hIcon, hMain, "Bench", dataFolder, &record, &result);
        ::FreeLibrary(hModule);
        full.Add(NowMs() - t0);
    }
    std::printf("Formbay.dll, %d rounds (%d pages selected twice per round)\n", rounds,
                static_cast<int>(s_pages.size()));
    std::printf("  %-44s min %8.2f  median %8.2f ms\n", "load, settings dialog, every page, cancel, unload:",
                full.Min(), full.Median());
    std::printf("  %-44s min %8.2f  median %8.2f ms\n", "load and unload only:", plain.Min(), plain.Median());
    std::printf("  %-44s wall median %7.2f | CPU median %7.2f ms\n", "dialog open with its first page:",
                s_open.wall.Median(), s_open.cpu.Median());
    std::printf("  Page switches (medians; the first makes the page's window, the second only shows it):\n");
    double worstFirst = 0;
    for (size_t i = 0; i < s_pages.size(); ++i) {
        const PageTimes& page = s_pages[i];
        worstFirst = std::max(worstFirst, page.first.wall.Median());
        if (i == 0)
            std::printf("  %2d first: with the dialog's opening              ", 1);
        else
            std::printf("  %2d first wall %7.2f CPU %7.2f (max wall %7.2f)", static_cast<int>(i + 1),
                        page.first.wall.Median(), page.first.cpu.Median(), page.first.wall.Max());
        std::printf(" | again wall %6.2f CPU %6.2f ms  %s\n", page.again.wall.Median(), page.again.cpu.Median(),
                    page.title.c_str());
    }
    std::printf("  slowest first switch (median): %.2f ms wall\n", worstFirst);
    ::DestroyWindow(hMain);
    return 0;
}
