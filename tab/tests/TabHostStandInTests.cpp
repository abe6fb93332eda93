// A tab on a stand-in host: a plain MDI frame without the main frame, the
// application object or any bar. What the tab tells its frame reaches the
// host it was handed, and what it asks of the frame is asked of the host.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/frame/MDIFrameWnd.h"
#include "tab/BrowserControlSite.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabHost.h"
#include "tab/TabItem.h"
#include "tests/support/TestWebBrowser.h"

namespace {

class CStandInHost : public CNoTabHost
{
public:
    HWND GetFrameWindow() const override { return m_pFrame->GetSafeHwnd(); }
    void SetStatusText(LPCTSTR text) override { m_status = text; }
    CBrowserView* GetActiveTabView() const override { return m_pActive; }
    void SetActiveTabView(CBrowserView* view) override { m_pActive = view; }
    void UpdateAddressBar(HWND, LPCTSTR url) override { m_address = url != nullptr ? url : ""; }
    void UpdateTabImage(CTabItem* tab, BOOL) override { m_title = static_cast<LPCTSTR>(tab->m_title); }
    void InsertNewTab(CTabItem*) override { ++m_inserted; }
    void OnTabClosed(CTabItem*) override { ++m_closed; }
    CTabGroup* OpenUrl(CTabGroup*, LPCTSTR url, WORD) override
    {
        m_opened = url;
        return nullptr;
    }
    CChildFrame* CreateTabFrame() override
    {
        CChildFrame* frame = new CChildFrame(this);
        return frame->Create(nullptr, "", WS_CHILD | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, m_pFrame)
                   ? frame
                   : nullptr;
    }

    CMDIFrameWnd* m_pFrame = nullptr;
    CTabGroup m_group;
    CBrowserView* m_pActive = nullptr;
    std::string m_status, m_address, m_title, m_opened;
    int m_inserted = 0;
    int m_closed = 0;
};

class TabHostStandInTest : public testing::Test
{
protected:
    void SetUp() override
    {
        static CBrowserOccManager s_occManager;
        AfxEnableControlContainer(&s_occManager);
        m_browserClass = std::make_unique<TestWebBrowserRegistration>();
        ASSERT_TRUE(m_browserClass->IsRegistered());
        m_host.m_pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(m_host.m_pFrame->Create(nullptr, "stand-in", WS_OVERLAPPEDWINDOW));
        CChildFrame* frame = m_host.CreateTabFrame();
        ASSERT_NE(nullptr, frame);
        m_hTab = frame->m_hWnd;
        frame->m_pGroup = &m_host.m_group;
        m_view = frame->InitialUpdateAndActivate();
        ASSERT_NE(nullptr, m_view);
        m_control = TestWebBrowser::FromUnknown(m_view->GetBrowser());
        ASSERT_NE(nullptr, m_control);
    }
    void TearDown() override
    {
        if (m_host.m_pFrame->GetSafeHwnd() != nullptr)
            m_host.m_pFrame->DestroyWindow();
        m_browserClass.reset();
    }

    CStandInHost m_host;
    HWND m_hTab = nullptr;
    CBrowserView* m_view = nullptr;
    TestWebBrowser* m_control = nullptr;
    std::unique_ptr<TestWebBrowserRegistration> m_browserClass;
};

TEST_F(TabHostStandInTest, WhatATabTellsAndAsksReachesItsHost)
{
    EXPECT_EQ(1, m_host.m_inserted);
    EXPECT_EQ(m_view, m_host.m_pActive);
    struct Case
    {
        const char* what;
        std::function<void()> act;
        std::function<std::string()> seen;
        std::string expected;
    };
    const Case cases[] = {
        {"address", [&] { m_view->Navigate("http://stand.in/a"); },
         [&] { return m_host.m_address; }, "http://stand.in/a"},
        {"status text", [&] { m_control->ScriptStatusText(L"http://stand.in/b"); },
         [&] { return m_host.m_status; }, "http://stand.in/b"},
        {"title", [&] { m_control->ScriptTitleChange(L"Stand-in"); },
         [&] { return m_host.m_title; }, "Stand-in"},
        {"new blank tab", [&] { ::SendMessageA(m_hTab, WM_COMMAND, 1072, 0); },
         [&] { return m_host.m_opened; }, "about:blank"},
        {"page's new window", [&] { m_control->ScriptNewWindow(L"http://stand.in/c"); },
         [&] { return std::to_string(m_host.m_inserted); }, "2"},
        {"close", [&] { ::SendMessageA(m_hTab, WM_CLOSE, 0, 0); },
         [&] { return std::to_string(m_host.m_closed); }, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.act();
        TestWebBrowser::Settle();
        EXPECT_EQ(c.expected, c.seen());
    }
    EXPECT_FALSE(::IsWindow(m_hTab));
}

} // namespace
