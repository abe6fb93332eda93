// Times keyword marking in a big page (not a test): a page of three frames
// with 1 MB of text and 1,000 whole-word matches of one word, marked and
// cleared ten times each, in the real main frame around the test control.
// The time budget is made to run out once per request and answered Yes (the
// questions are counted); after every clearing each document's body HTML and
// text must equal the originals byte for byte.
//
// Usage: HighlightBench [runs]; the shipped data is found through VA_RES_DIR.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "tab/BrowserControlSite.h"
#include "tab/BrowserView.h"
#include "tab/TabItem.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestHtmlDocument.h"
#include "tests/support/TestWebBrowser.h"

CVantorelApp theApp;

namespace {

const int kFrames = 3;
const int kMatches = 1000;
// Page bytes with markup, for 1 MB of text in all.
const size_t kTextBytes = 1026000;

int g_questions = 0;
HHOOK g_hook = nullptr;
DWORD g_ticks = 0;
DWORD g_readings = 0;

// Every 400th reading of the clock jumps past the budget.
DWORD WINAPI BenchTicks()
{
    if (++g_readings % 400 == 0)
        g_ticks += 20000;
    return g_ticks;
}

// Answers the budget question Yes as soon as it shows, and counts it.
LRESULT CALLBACK AnswerYes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE)
    {
        char name[16] = {};
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
        if (strcmp(name, "#32770") == 0)
        {
            ++g_questions;
            ::PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDYES, 0);
        }
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// One frame's page: paragraphs of filler words with the word spread evenly.
std::wstring FramePage(int matches, size_t bytes)
{
    static const wchar_t* const kWords[] = { L"lorem", L"ipsum", L"dolor", L"sit", L"amet",
                                             L"consectetur", L"adipiscing", L"elit" };
    std::wstring text;
    const size_t every = bytes / static_cast<size_t>(matches);
    size_t next = every / 2;
    int placed = 0, w = 0;
    while (text.size() < bytes)
    {
        text += L"<p>";
        for (int i = 0; i < 40 && text.size() < bytes; ++i)
        {
            if (text.size() >= next && placed < matches)
            {
                text += L"needle ";
                ++placed;
                next += every;
            }
            else
                text += std::wstring(kWords[w++ % 8]) + L" ";
        }
        text += L"</p>";
    }
    while (placed++ < matches)
        text += L"<p>needle</p>";
    return text;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void Pump()
{
    TestWebBrowser::Settle();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Report(const char* what, const std::vector<double>& ms)
{
    std::printf("%-24s median %8.1f ms  min %8.1f ms  max %8.1f ms  (%zu runs)\n", what,
                Median(ms), *std::min_element(ms.begin(), ms.end()),
                *std::max_element(ms.begin(), ms.end()), ms.size());
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    ::OleInitialize(nullptr);
    static CBrowserOccManager s_occManager;
    AfxEnableControlContainer(&s_occManager);
    TestWebBrowserRegistration registration;
    ProgramFolder folder;
    std::string module = folder.File("VantorelArco.exe");
    lstrcpynA(theApp.m_className, "VantorelArcoBench", sizeof(theApp.m_className));
    theApp.m_folders.CreateDataFolders(module.c_str());
    theApp.m_strings.SetFolder(theApp.m_folders.GetStringFolder());
    auto* frame = new CMainFrame;
    theApp.m_pMainWnd = frame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
        return 2;
    frame->ShowWindow(SW_SHOW);

    std::wstring top = L"<p>three frames</p>";
    for (int f = 0; f < kFrames; ++f)
    {
        const std::wstring url = L"http://bench.invalid/frame" + std::to_wstring(f);
        const int matches = kMatches / kFrames + (f < kMatches % kFrames ? 1 : 0);
        TestWebBrowser::SetPageHtml(url, FramePage(matches, kTextBytes / kFrames));
        top += L"<iframe src=\"" + url + L"\"></iframe>";
    }
    TestWebBrowser::SetPageHtml(L"http://bench.invalid/", top);
    CTabItem* tab = theApp.OpenUrlReturnBrowser(nullptr, "http://bench.invalid/", 0, 0);
    Pump();
    if (tab == nullptr || tab->m_pView == nullptr)
        return 2;
    CBrowserView* view = tab->m_pView;
    view->m_pfnHighlightTicks = &BenchTicks;
    TestWebBrowser* control = TestWebBrowser::FromUnknown(view->GetBrowser());
    std::vector<TestHtmlDocument*> docs{ control->GetDocument() };
    for (TestWebBrowser* f : control->GetDocument()->GetFrames())
        docs.push_back(f->GetDocument());
    std::vector<std::pair<std::wstring, std::wstring>> originals;
    size_t textBytes = 0;
    for (TestHtmlDocument* d : docs)
    {
        originals.emplace_back(d->GetBodyHtml(), d->GetBodyText());
        textBytes += d->GetBodyText().size();
    }
    g_hook = ::SetWindowsHookExA(WH_CBT, &AnswerYes, nullptr, ::GetCurrentThreadId());
    const CString style = theApp.GetEtcText(43);
    const CString prefix = theApp.GetEtcText(42);

    LARGE_INTEGER freq, t0, t1;
    ::QueryPerformanceFrequency(&freq);
    std::vector<double> marking, clearing;
    bool bOk = true;
    for (int r = 0; r < runs && bOk; ++r)
    {
        ::QueryPerformanceCounter(&t0);
        const int marks = view->SetHighlightWords(FALSE, "needle", 0, style, prefix);
        ::QueryPerformanceCounter(&t1);
        marking.push_back(1000.0 * (t1.QuadPart - t0.QuadPart) / freq.QuadPart);
        if (marks != kMatches)
        {
            std::printf("run %d: %d marks, not %d\n", r, marks, kMatches);
            bOk = false;
        }
        ::QueryPerformanceCounter(&t0);
        view->SetHighlightWords(TRUE, "", 0, style, prefix);
        ::QueryPerformanceCounter(&t1);
        clearing.push_back(1000.0 * (t1.QuadPart - t0.QuadPart) / freq.QuadPart);
        for (size_t i = 0; i < docs.size(); ++i)
        {
            if (docs[i]->GetBodyHtml() != originals[i].first
                || docs[i]->GetBodyText() != originals[i].second)
            {
                std::printf("run %d: document %zu differs after clearing\n", r, i);
                bOk = false;
            }
        }
    }
    ::UnhookWindowsHookEx(g_hook);
    std::printf("page: %d frames, %zu characters of text, %d matches\n", kFrames, textBytes,
                kMatches);
    Report("SetHighlightWords", marking);
    Report("remove-only", clearing);
    std::printf("budget questions answered Yes: %d\n", g_questions);
    std::printf("bodies identical after every clearing: %s\n", bOk ? "yes" : "NO");
    frame->DestroyWindow();
    Pump();
    theApp.ReleaseGroups();
    return bOk ? 0 : 1;
}
