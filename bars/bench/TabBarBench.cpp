// The page tab bar's cost: 100 tabs opened in one group (one by one and in
// one batch) until the bar shows their titles and the frame has laid out,
// at the top, in the left column and in several bottom rows of buttons,
// each against the same with the bar off; and one full repaint of the bar
// with 100 items drawn here against the system-drawn bar. Rounds and
// figures are printed; nothing is asserted on time.
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
#include "tab/tests/TabFixture.h"

namespace {

const int kTabs = 100;
const int kRounds = 7;

double Now()
{
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Figures
{
    double min = 0, median = 0;
};

Figures Summarize(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return Figures{times.front(), times[times.size() / 2]};
}

class TabBarBench : public TabTest
{
protected:
    // One round: the bar set up for the position, kTabs pages opened, the
    // frame laid out and painted; then every group closed again.
    double OpenRound(int position, bool barOn, bool batch)
    {
        SettingsRecord& s = AppSettings();
        s.bTabShow(barOn);
        s.iTabTop = static_cast<BYTE>(position);
        s.bTabButton(position == 0);
        s.bMLine(position == 0);
        m_frame->m_pPageTabBar->Create(m_frame, 0x2, position);
        double start = Now();
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
        double elapsed = Now() - start;
        m_frame->CloseAllGroupsNow();
        Pump();
        return elapsed;
    }
    Figures Rounds(const std::function<double()>& round)
    {
        std::vector<double> times;
        for (int i = 0; i < kRounds; ++i)
            times.push_back(round());
        return Summarize(times);
    }
    static void Report(const char* what, Figures on, Figures off)
    {
        std::printf("%-34s on: min %8.1f ms median %8.1f ms | off: min %8.1f ms median %8.1f ms | "
                    "bar per tab %6.3f ms (ratio %.2f)\n",
                    what, on.min, on.median, off.min, off.median, (on.median - off.median) / kTabs,
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
    for (const Case& c : cases)
    {
        Figures on = Rounds([&] { return OpenRound(c.position, true, c.batch); });
        Figures off = Rounds([&] { return OpenRound(c.position, false, c.batch); });
        Report(c.name, on, off);
    }
}

TEST_F(TabBarBench, RepaintingAHundredItems)
{
    SettingsRecord& s = AppSettings();
    s.iTabTop = 1;
    s.bMLine(true);
    for (int i = 0; i < kTabs; ++i)
        theApp.OpenUrl(nullptr, "http://bench.example/", 0);
    Pump();
    auto repaint = [&](bool oldStyle) {
        s.bOldStyle(oldStyle);
        m_frame->m_pPageTabBar->Create(m_frame, 0x2, 1);
        m_frame->FillTabBar(theApp.GetActiveGroup());
        m_frame->RecalcLayout();
        return Rounds([&] {
            double start = Now();
            m_frame->m_pPageTabBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            return Now() - start;
        });
    };
    Figures drawn = repaint(false);
    Figures system = repaint(true);
    std::printf("%-34s drawn: min %8.3f ms median %8.3f ms | system: min %8.3f ms median %8.3f ms | ratio %.2f\n",
                "full repaint, 100 items", drawn.min, drawn.median, system.min, system.median,
                system.median > 0 ? drawn.median / system.median : 0.0);
}

} // namespace
