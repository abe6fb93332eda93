// Message maps: chaining to the base map, typed crackers, opting out, and the
// exception barrier of the window procedure.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/win/Wnd.h"

namespace {

const UINT kMsgBaseOnly = WM_APP + 1;
const UINT kMsgThrows = WM_APP + 2;
UINT g_nRegisteredMsg = 0;

class CBaseTestWnd : public CWnd
{
public:
    std::vector<std::string> m_calls;
    int m_cx = 0, m_cy = 0;
    CPoint m_point;

protected:
    void OnSize(UINT, int cx, int cy) { m_cx = cx; m_cy = cy; m_calls.push_back("base size"); }
    void OnTimer(UINT_PTR) { m_calls.push_back("base timer"); }
    LRESULT OnBaseOnly(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 10; }
    void OnLButtonDown(UINT, CPoint point) { m_point = point; }
    void OnContextMenu(CWnd*, CPoint pos) { m_point = pos; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTestWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_MESSAGE(kMsgBaseOnly, OnBaseOnly)
    ON_WM_LBUTTONDOWN()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

class CDerivedTestWnd : public CBaseTestWnd
{
public:
    int m_nPostNcDestroy = 0;
    bool m_bThrowOnCreate = false;
    std::string m_copied;

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (m_bThrowOnCreate)
            throw std::runtime_error("creation fault");
        m_calls.push_back(std::string("create ") + (lpcs->lpszName ? lpcs->lpszName : ""));
        return 0;
    }
    void OnTimer(UINT_PTR nIDEvent)
    {
        m_calls.push_back("derived timer");
        if (nIDEvent == 2)
            SetMsgHandled(FALSE);
    }
    LRESULT OnRegistered(WPARAM, LPARAM lParam) { return lParam * 2; }
    LRESULT OnThrows(WPARAM, LPARAM) { throw std::logic_error("handler fault"); }
    BOOL OnCopyData(CWnd*, COPYDATASTRUCT* pCopyDataStruct)
    {
        m_copied.assign(static_cast<const char*>(pCopyDataStruct->lpData), pCopyDataStruct->cbData);
        return TRUE;
    }
    BOOL OnQueryEndSession() { return FALSE; }
    void PostNcDestroy() override { ++m_nPostNcDestroy; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTestWnd, CBaseTestWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_COPYDATA()
    ON_WM_QUERYENDSESSION()
    ON_REGISTERED_MESSAGE(g_nRegisteredMsg, OnRegistered)
    ON_MESSAGE(kMsgThrows, OnThrows)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_nRegisteredMsg = ::RegisterWindowMessageA("VaFrameworkTestMessage");
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, "title", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                   nullptr, nullptr));
    }
    void TearDown() override { m_wnd.DestroyWindow(); }

    CDerivedTestWnd m_wnd;
};

TEST_F(MessageMapTest, CreateReachesTheDerivedMapWithTheCreateStruct)
{
    ASSERT_FALSE(m_wnd.m_calls.empty());
    EXPECT_EQ("create title", m_wnd.m_calls.front());
    EXPECT_EQ(&m_wnd, CWnd::FromHandlePermanent(m_wnd.m_hWnd));
}

TEST_F(MessageMapTest, MessagesTheDerivedMapLacksFallThroughToTheBaseMap)
{
    m_wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_EQ(123, m_wnd.m_cx);
    EXPECT_EQ(45, m_wnd.m_cy);
    EXPECT_EQ(17, m_wnd.SendMessage(kMsgBaseOnly, 7, 0));
}

TEST_F(MessageMapTest, DerivedHandlerWinsUnlessItOptsOut)
{
    m_wnd.m_calls.clear();
    m_wnd.SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(std::vector<std::string>({ "derived timer" }), m_wnd.m_calls);
    m_wnd.m_calls.clear();
    m_wnd.SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(std::vector<std::string>({ "derived timer", "base timer" }), m_wnd.m_calls);
}

TEST_F(MessageMapTest, UnmappedMessagesReachTheDefaultWindowProcedure)
{
    m_wnd.SetWindowText("\x95\x5c\x8e\xa6");
    CString text;
    m_wnd.GetWindowText(text);
    EXPECT_STREQ("\x95\x5c\x8e\xa6", text);
}

TEST_F(MessageMapTest, RegisteredMessageIsMatchedByItsRuntimeNumber)
{
    ASSERT_NE(0u, g_nRegisteredMsg);
    EXPECT_EQ(42, m_wnd.SendMessage(g_nRegisteredMsg, 0, 21));
}

TEST_F(MessageMapTest, MouseCrackersKeepNegativeCoordinates)
{
    m_wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, -7));
    EXPECT_EQ(-5, m_wnd.m_point.x);
    EXPECT_EQ(-7, m_wnd.m_point.y);
    // A keyboard context menu comes as (-1, -1), which handlers test for.
    m_wnd.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_wnd.m_hWnd), MAKELPARAM(-1, -1));
    EXPECT_EQ(CPoint(-1, -1), m_wnd.m_point);
}

TEST_F(MessageMapTest, ResultOfTypedHandlersIsTheMessageResult)
{
    const char data[] = "http://a/";
    COPYDATASTRUCT cds = { 1, sizeof(data) - 1, const_cast<char*>(data) };
    EXPECT_EQ(TRUE, m_wnd.SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)));
    EXPECT_EQ("http://a/", m_wnd.m_copied);
    EXPECT_EQ(FALSE, m_wnd.SendMessage(WM_QUERYENDSESSION, 0, 0));
}

TEST_F(MessageMapTest, ExceptionInAHandlerDoesNotLeaveTheWindowProcedure)
{
    EXPECT_EQ(0, m_wnd.SendMessage(kMsgThrows, 0, 0));
    // The window and its map keep working afterwards.
    EXPECT_EQ(11, m_wnd.SendMessage(kMsgBaseOnly, 1, 0));
}

TEST(MessageMapCreation, ExceptionInOnCreateFailsTheCreationCleanly)
{
    CDerivedTestWnd wnd;
    wnd.m_bThrowOnCreate = true;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(1, wnd.m_nPostNcDestroy);
}

TEST(MessageMapCreation, DestructionDetachesAndRunsPostNcDestroyOnce)
{
    CDerivedTestWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(1, wnd.m_nPostNcDestroy);
}

} // namespace
