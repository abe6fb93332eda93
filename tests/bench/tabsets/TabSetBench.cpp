// Benchmark (not a test) of tab sets and key bindings, inside one process
// with the test WebBrowser control:
//  - 100 tabs in 5 groups with 25 back and 25 forward entries each: the
//    time to save the set and its size, against one write of the same bytes
//    and a line-by-line read; the time to open it again until every tab has
//    its history (less the designed 10 pauses of 100 ms), against opening the
//    100 addresses without history;
//  - 100,000 key presses through the program's pre-translation to the MDI
//    client, an edit and a page, with 300 bindings, against an empty map.
// Usage: TabSetBench.exe [rounds]; VA_RES_DIR names the shipped data.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/TabSetFile.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "framework/core/File.h"
#include "tab/BrowserControlSite.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "tests/bench/BenchTiming.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestWebBrowser.h"

CVantorelApp theApp;

namespace {

const int kGroups = 5;
const int kTabsPerGroup = 20;
const int kHistory = 25;
const int kKeyPresses = 100000;
const UINT kHarmlessCommand = 39002;  // kept enabled, does nothing

void Pump()
{
    TestWebBrowser::Settle();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Print(const char* name, const Series& s, const char* unit)
{
    printf("  %-46s min %10.3f  median %10.3f %s\n", name, s.Min(), s.Median(), unit);
}

void BuildTabs(CMainFrame* frame)
{
    for (int g = 0; g < kGroups; ++g) {
        CString name;
        name.Format("Group %d", g);
        CTabGroup* group = frame->CreateGroup(name, 0x71, 1);
        for (int t = 0; t < kTabsPerGroup; ++t) {
            CString url;
            url.Format("http://bench.invalid/%d/%d/0?va-title=T%d", g, t, t);
            CTabItem* tab = theApp.OpenUrlReturnBrowser(group, url, kReasonPageBackground, 0);
            if (tab == nullptr || tab->m_pView == nullptr)
                continue;
            for (int p = 1; p <= 2 * kHistory; ++p) {
                url.Format("http://bench.invalid/%d/%d/%d?va-title=Page%d", g, t, p, p);
                tab->m_pView->Navigate(url);
            }
            for (int b = 0; b < kHistory; ++b)
                tab->m_pView->GoBack();
            Pump();
        }
    }
}

// Every tab's saved lists were replayed into its control.
bool AllHistoryRestored()
{
    int tabs = 0;
    for (CTabGroup* group : theApp.m_groups) {
        for (CTabItem* tab : group->m_tabs) {
            ++tabs;
            if ((tab->m_pBack != nullptr && !tab->m_pBack->IsEmpty()) ||
                (tab->m_pForward != nullptr && !tab->m_pForward->IsEmpty()))
                return false;
        }
    }
    return tabs == kGroups * kTabsPerGroup;
}

void WriteBindings(const ProgramFolder& folder, int count)
{
    static const char* const kPrefixes[] = {"", "Ctrl+", "Shift+", "Alt+", "Ctrl+Shift+", "Ctrl+Alt+",
                                            "Shift+Alt+", "Ctrl+Shift+Alt+"};
    std::string text;
    int written = 0;
    for (const char* prefix : kPrefixes) {
        for (char key = 'A'; key <= 'Z' && written < count; ++key) {
            text += std::string("cmd\x81\x4D") + prefix + key + "\x81\x4D" + std::to_string(kHarmlessCommand) +
                    "\x81\x4D" "0\r\n";
            ++written;
        }
        for (int f = 1; f <= 12 && written < count; ++f) {
            text += std::string("cmd\x81\x4D") + prefix + "F" + std::to_string(f) + "\x81\x4D" +
                    std::to_string(kHarmlessCommand) + "\x81\x4D" "0\r\n";
            ++written;
        }
    }
    folder.WriteBytes("KEYCONF.dat", text);
    theApp.ReloadBindingMaps();
}

double KeyRound(HWND client, HWND edit, HWND page)
{
    const HWND targets[] = {client, edit, page};
    const UINT keys[] = {VK_F5, VK_F9, 'A', VK_NEXT};
    BYTE state[256] = {};
    const double start = NowMs();
    for (int i = 0; i < kKeyPresses; ++i) {
        // Every eighth press with Ctrl held, every fifth a repeat.
        const bool ctrl = i % 8 == 0;
        ::GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        ::SetKeyboardState(state);
        MSG msg = {};
        msg.hwnd = targets[i % 3];
        msg.message = WM_KEYDOWN;
        msg.wParam = keys[i % 4];
        msg.lParam = 1 | (i % 5 == 0 ? (1 << 30) : 0);
        theApp.PreTranslateMessage(&msg);
        if (i % 64 == 0) {
            MSG posted;
            while (::PeekMessageA(&posted, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
            }
        }
    }
    state[VK_CONTROL] = 0;
    ::SetKeyboardState(state);
    MSG posted;
    while (::PeekMessageA(&posted, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    }
    return (NowMs() - start) * 1000.0 / kKeyPresses;  // microseconds a press
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    ::OleInitialize(nullptr);
    static CBrowserOccManager occManager;
    AfxEnableControlContainer(&occManager);
    TestWebBrowserRegistration registration;
    TestWebBrowser::SetSynchronous(true);
    ProgramFolder folder;
    const std::string module = folder.File("VantorelArco.exe");
    lstrcpynA(theApp.m_className, "VantorelArcoBench", sizeof(theApp.m_className));
    theApp.m_folders.CreateDataFolders(module.c_str());
    theApp.m_strings.SetFolder(theApp.m_folders.GetStringFolder());
    theApp.m_settings.iBackHistoryMax = kHistory;

    CMainFrame* frame = new CMainFrame;
    theApp.m_pMainWnd = frame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        fprintf(stderr, "no frame\n");
        return 1;
    }
    frame->ShowWindow(SW_SHOW);
    Pump();

    const CString setPath = folder.File("Exception.dat").c_str();
    const CString copyPath = folder.File("Copy.dat").c_str();
    const CString plainPath = folder.File("Plain.dat").c_str();
    Series save, size, write, read, load, plain;
    BuildTabs(frame);
    for (int r = 0; r < rounds; ++r) {
        double t0 = NowMs();
        frame->SaveTabSet(setPath);
        save.Add(NowMs() - t0);
        CStringArray lines;
        TabSetFile::ReadLines(setPath, lines);
        CString text;
        for (INT_PTR i = 0; i < lines.GetSize(); ++i)
            text += lines[i] + "\n";
        size.Add(static_cast<double>(folder.ReadBytes("Exception.dat").size()) / 1024.0);
        t0 = NowMs();
        {
            CStdioFile file;
            file.Open(copyPath, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
            file.WriteString(text);
        }
        write.Add(NowMs() - t0);
        t0 = NowMs();
        TabSetFile::ReadLines(copyPath, lines);
        read.Add(NowMs() - t0);

        frame->CloseAllGroupsNow();
        Pump();
        t0 = NowMs();
        frame->LoadTabSet(setPath);
        while (!AllHistoryRestored() && NowMs() - t0 < 60000)
            Pump();
        load.Add(NowMs() - t0 - 10 * 100);

        frame->SaveTabSetV2(plainPath);
        frame->CloseAllGroupsNow();
        Pump();
        t0 = NowMs();
        frame->LoadClosedTabSet(plainPath);
        Pump();
        plain.Add(NowMs() - t0 - 10 * 100);
        frame->CloseAllGroupsNow();
        Pump();
        frame->LoadTabSet(setPath);  // the next round saves the same set
        while (!AllHistoryRestored())
            Pump();
    }
    printf("Tab sets: %d tabs in %d groups, %d back and %d forward entries each, %d rounds\n",
           kGroups * kTabsPerGroup, kGroups, kHistory, kHistory, rounds);
    Print("SaveTabSet", save, "ms");
    Print("file size", size, "KiB");
    Print("same bytes, one write", write, "ms");
    Print("same file, read line by line", read, "ms");
    Print("LoadTabSet until history (less 10 x 100 ms)", load, "ms");
    Print("100 addresses without history (less pauses)", plain, "ms");
    printf("  ratios (medians): save/write %.1f, load/plain %.2f\n", save.Median() / write.Median(),
           load.Median() / plain.Median());

    CTabItem* tab = nullptr;
    for (CTabGroup* group : theApp.m_groups)
        if (!group->m_tabs.empty())
            tab = group->m_tabs.front();
    HWND page = tab != nullptr && tab->m_pView != nullptr ? tab->m_pView->GetControlWindow() : nullptr;
    HWND edit = ::CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, frame->m_hWnd, nullptr,
                                nullptr, nullptr);
    Series bound, empty;
    for (int r = 0; r < rounds; ++r) {
        WriteBindings(folder, 300);
        bound.Add(KeyRound(frame->m_hWndMDIClient, edit, page));
        WriteBindings(folder, 0);
        empty.Add(KeyRound(frame->m_hWndMDIClient, edit, page));
    }
    printf("Keys: %d presses (MDI client, edit, page; bound, unbound, repeated, Ctrl held), %d rounds\n",
           kKeyPresses, rounds);
    Print("with 300 bindings", bound, "us/press");
    Print("with an empty map", empty, "us/press");
    printf("  ratio (medians): %.2f\n", bound.Median() / empty.Median());

    frame->DestroyWindow();
    Pump();
    theApp.ReleaseGroups();
    theApp.m_pMainWnd = nullptr;
    return 0;
}
