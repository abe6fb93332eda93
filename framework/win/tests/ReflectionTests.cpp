// Reflection: notifications a parent receives from a child are offered to the
// child's own object first.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/win/Wnd.h"

namespace {

const UINT kChildId = 100;
const UINT kCodeReflected = 0x300;  // a control notification code in WM_COMMAND

std::vector<std::string> g_calls;

class CReflectChild : public CWnd
{
protected:
    void OnReflectClick(NMHDR*, LRESULT* pResult) { g_calls.push_back("child click"); *pResult = 5; }
    BOOL OnReflectDblClk(NMHDR*, LRESULT*) { g_calls.push_back("child dblclk"); return FALSE; }
    void OnReflectCommand() { g_calls.push_back("child command"); }

public:
    void DrawItem(LPDRAWITEMSTRUCT) { g_calls.push_back("child drawitem"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectChild, CWnd)
    ON_NOTIFY_REFLECT(NM_CLICK, OnReflectClick)
    ON_NOTIFY_REFLECT_EX(NM_DBLCLK, OnReflectDblClk)
    ON_CONTROL_REFLECT(kCodeReflected, OnReflectCommand)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

class CReflectParent : public CWnd
{
protected:
    void OnDrawItem(int, LPDRAWITEMSTRUCT) { g_calls.push_back("parent drawitem"); }
    void OnClick(NMHDR*, LRESULT*) { g_calls.push_back("parent click"); }
    void OnDblClk(NMHDR*, LRESULT*) { g_calls.push_back("parent dblclk"); }
    void OnRClick(NMHDR*, LRESULT*) { g_calls.push_back("parent rclick"); }
    void OnCommandCode() { g_calls.push_back("parent command"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectParent, CWnd)
    ON_WM_DRAWITEM()
    ON_CONTROL(kCodeReflected, kChildId, OnCommandCode)
    ON_NOTIFY(NM_CLICK, kChildId, OnClick)
    ON_NOTIFY(NM_DBLCLK, kChildId, OnDblClk)
    ON_NOTIFY(NM_RCLICK, kChildId, OnRClick)
END_MESSAGE_MAP()

class ReflectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.clear();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                                      nullptr, nullptr));
        ASSERT_TRUE(m_child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50),
                                   &m_parent, kChildId));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    LRESULT Notify(HWND hFrom, UINT nCode)
    {
        NMHDR hdr = { hFrom, kChildId, nCode };
        return m_parent.SendMessage(WM_NOTIFY, kChildId, reinterpret_cast<LPARAM>(&hdr));
    }

    CReflectParent m_parent;
    CReflectChild m_child;
};

TEST_F(ReflectionTest, ReflectedNotifyIsHandledByTheChildOnly)
{
    EXPECT_EQ(5, Notify(m_child.m_hWnd, NM_CLICK));
    EXPECT_EQ(std::vector<std::string>({ "child click" }), g_calls);
}

TEST_F(ReflectionTest, ReflectExReturningFalseLetsTheParentHandleItToo)
{
    Notify(m_child.m_hWnd, NM_DBLCLK);
    EXPECT_EQ(std::vector<std::string>({ "child dblclk", "parent dblclk" }), g_calls);
}

TEST_F(ReflectionTest, NotificationWithoutReflectEntryGoesToTheParent)
{
    Notify(m_child.m_hWnd, NM_RCLICK);
    EXPECT_EQ(std::vector<std::string>({ "parent rclick" }), g_calls);
}

TEST_F(ReflectionTest, ControlNotificationAndDrawItemAreReflected)
{
    m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, kCodeReflected),
                         reinterpret_cast<LPARAM>(m_child.m_hWnd));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = kChildId;
    dis.hwndItem = m_child.m_hWnd;
    EXPECT_EQ(TRUE, m_parent.SendMessage(WM_DRAWITEM, kChildId, reinterpret_cast<LPARAM>(&dis)));
    EXPECT_EQ(std::vector<std::string>({ "child command", "child drawitem" }), g_calls);
}

TEST_F(ReflectionTest, ChildWithoutFrameworkObjectLeavesItToTheParent)
{
    HWND hPlain = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, m_parent.m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kChildId)),
                                    nullptr, nullptr);
    ASSERT_NE(nullptr, hPlain);
    Notify(hPlain, NM_CLICK);
    m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, kCodeReflected), reinterpret_cast<LPARAM>(hPlain));
    EXPECT_EQ(std::vector<std::string>({ "parent click", "parent command" }), g_calls);
}

} // namespace
