// Benchmark (not a test) of tab sets and key bindings, inside one process
// with the test WebBrowser control:
//  - 100 tabs in 5 groups with 25 back and 25 forward entries each (built
//    once, the pages passed written into each control's history): the
//    time to save the set and its size, against one write of the same bytes
//    and a line-by-line read; the time to open it again until every tab has
//    its history (less the designed 10 pauses of 100 ms), against opening the
//    100 addresses without history;
//  - 20,000 key presses a round through the program's pre-translation to the MDI
//    client, an edit and a page, with 300 bindings, against an empty map.
// Wall and CPU time of this process are printed for each.
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
const int kKeyPresses = 20000;  // a round; the figure is per press
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

void Print(const char* name, const TimedSeries& s, const char* unit)
{
    printf("  %-46s min %10.3f  median %10.3f %s | CPU min %10.3f median %10.3f\n", name, s.wall.Min(),
           s.wall.Median(), unit, s.cpu.Min(), s.cpu.Median());
}

std::wstring Wide(const CString& text)
{
    std::wstring wide;
    for (int i = 0; i < text.GetLength(); ++i)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    return wide;
}

// Each tab as if it had gone to pages 1 to 50 and back 25: the pages it
// passed are written into its control's history directly; it navigates
// only to the page it shows and takes the last step back.
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
            TestWebBrowser* control =
                tab != nullptr && tab->m_pView != nullptr ? TestWebBrowser::FromUnknown(tab->m_pView->GetBrowser())
                                                          : nullptr;
            if (control == nullptr)
                continue;
            Pump();
            auto pageUrl = [&](int p) {
                CString page;
                page.Format("http://bench.invalid/%d/%d/%d?va-title=Page%d", g, t, p, p);
                return page;
            };
            auto pageTitle = [](int p) {
                CString title;
                title.Format("Page%d", p);
                return Wide(title);
            };
            for (int p = 1; p < kHistory; ++p)
                control->GetTravelLog().Push(Wide(pageUrl(p)), pageTitle(p));
            tab->m_pView->Navigate(pageUrl(kHistory));
            Pump();
            for (int p = kHistory + 1; p <= 2 * kHistory; ++p)
                control->GetTravelLog().Push(Wide(pageUrl(p)), pageTitle(p));
            // The last step back is a real one: the view hears of the
            // pages ahead.
            control->GetTravelLog().Move(1 - kHistory);
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

// The keyboard state is set only where Ctrl goes down or up: the press
// itself, not the setting, is what is timed.
void SetCtrl(BYTE* state, bool down)
{
    state[VK_CONTROL] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
}

void KeyRound(HWND client, HWND edit, HWND page, TimedSeries& times)
{
    const HWND targets[] = {client, edit, page};
    const UINT keys[] = {VK_F5, VK_F9, 'A', VK_NEXT};
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    const Stopwatch watch;
    for (int i = 0; i < kKeyPresses; ++i) {
        // Every eighth press with Ctrl held, every fifth a repeat.
        if (i % 8 == 0)
            SetCtrl(state, true);
        else if (i % 8 == 1)
            SetCtrl(state, false);
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
    SetCtrl(state, false);
    MSG posted;
    while (::PeekMessageA(&posted, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    }
    // Microseconds a press.
    times.Add(watch.WallMs() * 1000.0 / kKeyPresses, watch.CpuMsSince() * 1000.0 / kKeyPresses);
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
    TimedSeries save, write, read, load, plain;
    Series size;
    BuildTabs(frame);
    for (int r = 0; r < rounds; ++r) {
        Stopwatch saving;
        frame->SaveTabSet(setPath);
        saving.AddTo(save);
        CStringArray lines;
        TabSetFile::ReadLines(setPath, lines);
        CString text;
        for (INT_PTR i = 0; i < lines.GetSize(); ++i)
            text += lines[i] + "\n";
        size.Add(static_cast<double>(folder.ReadBytes("Exception.dat").size()) / 1024.0);
        Stopwatch writing;
        {
            CStdioFile file;
            file.Open(copyPath, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
            file.WriteString(text);
        }
        writing.AddTo(write);
        Stopwatch reading;
        TabSetFile::ReadLines(copyPath, lines);
        reading.AddTo(read);

        frame->CloseAllGroupsNow();
        Pump();
        Stopwatch loading;
        frame->LoadTabSet(setPath);
        while (!AllHistoryRestored() && loading.WallMs() < 60000)
            Pump();
        loading.AddTo(load, 10 * 100);

        frame->SaveTabSetV2(plainPath);
        frame->CloseAllGroupsNow();
        Pump();
        Stopwatch opening;
        frame->LoadClosedTabSet(plainPath);
        Pump();
        opening.AddTo(plain, 10 * 100);
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
    printf("  ratios (medians): save/write %.1f, load/plain %.2f (CPU %.2f)\n",
           save.wall.Median() / write.wall.Median(), load.wall.Median() / plain.wall.Median(),
           plain.cpu.Median() > 0 ? load.cpu.Median() / plain.cpu.Median() : 0.0);

    CTabItem* tab = nullptr;
    for (CTabGroup* group : theApp.m_groups)
        if (!group->m_tabs.empty())
            tab = group->m_tabs.front();
    HWND page = tab != nullptr && tab->m_pView != nullptr ? tab->m_pView->GetControlWindow() : nullptr;
    HWND edit = ::CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, frame->m_hWnd, nullptr,
                                nullptr, nullptr);
    TimedSeries bound, empty;
    for (int r = 0; r < rounds; ++r) {
        WriteBindings(folder, 300);
        KeyRound(frame->m_hWndMDIClient, edit, page, bound);
        WriteBindings(folder, 0);
        KeyRound(frame->m_hWndMDIClient, edit, page, empty);
    }
    printf("Keys: %d presses (MDI client, edit, page; bound, unbound, repeated, Ctrl held), %d rounds\n",
           kKeyPresses, rounds);
    Print("with 300 bindings", bound, "us/press");
    Print("with an empty map", empty, "us/press");
    printf("  ratio (medians): %.2f\n", bound.wall.Median() / empty.wall.Median());

    frame->DestroyWindow();
    Pump();
    theApp.ReleaseGroups();
    theApp.m_pMainWnd = nullptr;
    return 0;
}
