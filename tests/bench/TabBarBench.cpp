// The page tab bar's cost: 100 tabs opened in one group (one by one and in
// one batch) until the bar shows their titles and the frame has laid out,
// at the top, in the left column and in several bottom rows of buttons,
// each against the same with the bar off (the rounds alternate on and off);
// and one full repaint of the bar with 100 items drawn here against the
// system-drawn bar. Wall and CPU time are printed; nothing is asserted on
// time. The settings the cases force are put back afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/PageTabBar.h"
#include "shared/AppSettings.h"
#include "tab/TabGroup.h"
#include "app/tests/TabFixture.h"
#include "tests/bench/BenchTiming.h"

namespace {

const int kTabs = 100;
// Each round opens 100 tabs in the foreground, several seconds under Wine:
// five rounds keep the whole benchmark within ten minutes.
const int kRounds = 5;

struct Figures
{
    double min = 0, median = 0, cpuMin = 0, cpuMedian = 0;
};

Figures Summarize(const TimedSeries& times)
{
    return Figures{times.wall.Min(), times.wall.Median(), times.cpu.Min(), times.cpu.Median()};
}

// The settings the cases change, put back when it goes.
class BarSettingsKept
{
public:
    BarSettingsKept() : m_kept(AppSettings()) {}
    ~BarSettingsKept()
    {
        SettingsRecord& s = AppSettings();
        s.bTabShow(m_kept.bTabShow());
        s.iTabTop = m_kept.iTabTop;
        s.bTabButton(m_kept.bTabButton());
        s.bMLine(m_kept.bMLine());
        s.bOldStyle(m_kept.bOldStyle());
        if (g_pMainFrame != nullptr && g_pMainFrame->m_pPageTabBar != nullptr)
            g_pMainFrame->m_pPageTabBar->Create(g_pMainFrame, s.bTabImage() ? 0x2 : 0, s.iTabTop);
    }
    BarSettingsKept(const BarSettingsKept&) = delete;
    BarSettingsKept& operator=(const BarSettingsKept&) = delete;

private:
    const SettingsRecord m_kept;
};

class TabBarBench : public TabTest
{
protected:
    // One round: the bar set up for the position, kTabs pages opened, the
    // frame laid out and painted; then every group closed again.
    void OpenRound(int position, bool barOn, bool batch, TimedSeries& times)
    {
        SettingsRecord& s = AppSettings();
        s.bTabShow(barOn);
        s.iTabTop = static_cast<BYTE>(position);
        s.bTabButton(position == 0);
        s.bMLine(position == 0);
        m_frame->m_pPageTabBar->Create(m_frame, 0x2, position);
        Stopwatch watch;
        if (batch)
        {
            CTabBatch run;
            for (int i = 0; i < kTabs; ++i)
                theApp.OpenUrl(nullptr, "http://bench.example/", 0);
        }
        else
        {
            for (int i = 0; i < kTabs; ++i)
                theApp.OpenUrl(nullptr, "http://bench.example/", 0);
        }
        Pump();
        m_frame->RecalcLayout();
        m_frame->UpdateWindow();
        watch.AddTo(times);
        m_frame->CloseAllGroupsNow();
        Pump();
    }
    static void Report(const char* what, Figures on, Figures off)
    {
        std::printf("%-26s on: min %7.1f med %7.1f ms (CPU %7.1f) | off: min %7.1f med %7.1f ms (CPU %7.1f) | "
                    "bar per tab %6.3f ms, CPU %6.3f ms (ratio %.2f)\n",
                    what, on.min, on.median, on.cpuMedian, off.min, off.median, off.cpuMedian,
                    (on.median - off.median) / kTabs, (on.cpuMedian - off.cpuMedian) / kTabs,
                    off.median > 0 ? on.median / off.median : 0.0);
    }
};

TEST_F(TabBarBench, OpeningAHundredTabs)
{
    struct Case
    {
        const char* name;
        int position;
        bool batch;
    };
    const Case cases[] = {
        {"top, one by one", 1, false},     {"top, one batch", 1, true},
        {"left column, one by one", 2, false}, {"left column, one batch", 2, true},
        {"bottom rows, one by one", 0, false}, {"bottom rows, one batch", 0, true},
    };
    BarSettingsKept kept;
    for (const Case& c : cases)
    {
        // On and off by turns, so that a change in the machine's load
        // falls on both alike.
        TimedSeries on, off;
        for (int i = 0; i < kRounds; ++i)
        {
            OpenRound(c.position, true, c.batch, on);
            OpenRound(c.position, false, c.batch, off);
        }
        Report(c.name, Summarize(on), Summarize(off));
    }
}

TEST_F(TabBarBench, RepaintingAHundredItems)
{
    BarSettingsKept kept;
    SettingsRecord& s = AppSettings();
    s.iTabTop = 1;
    s.bMLine(true);
    for (int i = 0; i < kTabs; ++i)
        theApp.OpenUrl(nullptr, "http://bench.example/", 0);
    Pump();
    auto repaint = [&](bool oldStyle, TimedSeries& times) {
        s.bOldStyle(oldStyle);
        m_frame->m_pPageTabBar->Create(m_frame, 0x2, 1);
        m_frame->FillTabBar(theApp.GetActiveGroup());
        m_frame->RecalcLayout();
        Stopwatch watch;
        m_frame->m_pPageTabBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        watch.AddTo(times);
    };
    TimedSeries drawnTimes, systemTimes;
    for (int i = 0; i < kRounds; ++i)
    {
        repaint(false, drawnTimes);
        repaint(true, systemTimes);
    }
    Figures drawn = Summarize(drawnTimes), system = Summarize(systemTimes);
    std::printf("%-26s drawn: min %8.3f med %8.3f ms (CPU %7.1f) | system: min %8.3f med %8.3f ms (CPU %7.1f) | "
                "ratio %.2f\n",
                "full repaint, 100 items", drawn.min, drawn.median, drawn.cpuMedian, system.min, system.median,
                system.cpuMedian, system.median > 0 ? drawn.median / system.median : 0.0);
    m_frame->CloseAllGroupsNow();
    Pump();
}

} // namespace
