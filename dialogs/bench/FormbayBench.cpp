// The dialogs library's benchmark (not a test): one round loads Formbay.dll,
// runs ShowSettingDlg, selects each page so that every page window exists,
// cancels and unloads; the baseline round only loads and frees the same
// file. Prints the minimum and the median of each, in milliseconds.
// Usage: FormbayBench.exe rounds path\Formbay.dll dataFolder\   (rounds >= 1)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shared/SettingsRecord.h"
#include "tests/bench/BenchTiming.h"

namespace {

typedef SettingsRecord*(WINAPI* ShowSettingDlgFn)(HICON, HWND, const char*, const char*, SettingsRecord*, int*);

const int kTreeId = 1013;

int s_pagesShown = 0;

BOOL CALLBACK FindSettings(HWND hWnd, LPARAM lParam)
{
    if (::GetDlgItem(hWnd, kTreeId) != nullptr && ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Inside the dialog's loop: every tree item selected in turn, then Cancel.
void CALLBACK WalkPages(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND hDlg = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindSettings, reinterpret_cast<LPARAM>(&hDlg));
    if (hDlg == nullptr)
        return;  // not shown yet: the timer comes again
    ::KillTimer(nullptr, id);
    HWND hTree = ::GetDlgItem(hDlg, kTreeId);
    s_pagesShown = 0;
    for (HTREEITEM h = TreeView_GetRoot(hTree); h != nullptr; h = TreeView_GetNextSibling(hTree, h)) {
        TreeView_SelectItem(hTree, h);
        ++s_pagesShown;
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
        show(hIcon, hMain, "Bench", dataFolder, &record, &result);
        ::FreeLibrary(hModule);
        full.Add(NowMs() - t0);
    }
    std::printf("Formbay.dll, %d rounds (%d pages selected per round)\n", rounds, s_pagesShown);
    std::printf("  %-44s min %8.2f  median %8.2f ms\n", "load, settings dialog, every page, cancel, unload:",
                full.Min(), full.Median());
    std::printf("  %-44s min %8.2f  median %8.2f ms\n", "load and unload only:", plain.Min(), plain.Median());
    ::DestroyWindow(hMain);
    return 0;
}
