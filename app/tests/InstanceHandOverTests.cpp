// The hand-over of a command line from a second start, on a real window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/InstanceHandOver.h"
#include "shared/FrameMessages.h"

namespace {

std::string g_received;
int g_messages = 0;

LRESULT CALLBACK ReceiverProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_FRAME_OPENCOMMANDLINE) {
        CString text;
        if (InstanceHandOver::ReadAtomText(static_cast<ATOM>(wParam), text)) {
            g_received = static_cast<LPCTSTR>(text);
            GlobalDeleteAtom(static_cast<ATOM>(wParam));
        }
        ++g_messages;
        return 0;
    }
    if (msg == WM_COPYDATA) {
        auto* data = reinterpret_cast<COPYDATASTRUCT*>(lParam);
        if (data->dwData == VA_COPYDATA_OPENCOMMANDLINE)
            g_received.assign(static_cast<const char*>(data->lpData), data->cbData - 1);
        ++g_messages;
        return TRUE;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

class HandOverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VaHandOverReceiver";
        RegisterClassA(&wc);
        m_wnd = CreateWindowA("VaHandOverReceiver", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
        ASSERT_NE(nullptr, m_wnd);
        g_received.clear();
        g_messages = 0;
    }
    void TearDown() override { DestroyWindow(m_wnd); }
    void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    HWND m_wnd = nullptr;
};

TEST_F(HandOverTest, ShortCommandLineTravelsAsAnAtom)
{
    ASSERT_TRUE(InstanceHandOver::SendToRunningInstance(m_wnd, "http://example.com/", false));
    Pump();
    EXPECT_EQ(1, g_messages);
    EXPECT_EQ("http://example.com/", g_received);
}

TEST_F(HandOverTest, CommandLineTooLongForAnAtomIsNotLost)
{
    std::string url = "http://example.com/" + std::string(600, 'q');
    ASSERT_TRUE(InstanceHandOver::SendToRunningInstance(m_wnd, url.c_str(), false));
    Pump();
    EXPECT_EQ(1, g_messages);
    EXPECT_EQ(url, g_received);
}

TEST_F(HandOverTest, EmptyCommandLinePostsNothing)
{
    ASSERT_TRUE(InstanceHandOver::SendToRunningInstance(m_wnd, "", false));
    Pump();
    EXPECT_EQ(0, g_messages);
}

// Regression: with activation, a hidden running window (in the tray) has to
// be shown; the tests passed only no activation or a visible window.
TEST_F(HandOverTest, ActivationShowsAHiddenRunningWindow)
{
    ASSERT_FALSE(IsWindowVisible(m_wnd));
    ASSERT_TRUE(InstanceHandOver::SendToRunningInstance(m_wnd, "", false));
    EXPECT_FALSE(IsWindowVisible(m_wnd));
    ASSERT_TRUE(InstanceHandOver::SendToRunningInstance(m_wnd, "http://example.com/", true));
    Pump();
    EXPECT_TRUE(IsWindowVisible(m_wnd));
    EXPECT_EQ("http://example.com/", g_received);
}

DWORD WINAPI TryStartupLock(void*)
{
    InstanceHandOver::CStartupLock lock("VaStartupLockTest", 0);
    return lock.IsHeld() ? 1 : 0;
}

DWORD LockResultOnAnotherThread()
{
    HANDLE thread = CreateThread(nullptr, 0, TryStartupLock, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 99;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code;
}

TEST(StartupLock, OneStartDecidesAtATimeAndReleasingLetsTheNextIn)
{
    InstanceHandOver::CStartupLock held("VaStartupLockTest");
    ASSERT_TRUE(held.IsHeld());
    EXPECT_EQ(0u, LockResultOnAnotherThread());
    held.Release();
    EXPECT_FALSE(held.IsHeld());
    EXPECT_EQ(1u, LockResultOnAnotherThread());
}

TEST(HandOverText, QuotesAreRemovedWithoutEatingASingleQuote)
{
    EXPECT_STREQ("http://a/", InstanceHandOver::NormalizeText("\"http://a/\""));
    EXPECT_STREQ("C:\\my page.htm", InstanceHandOver::NormalizeText("\"C:\\my page.htm\""));
    EXPECT_STREQ("ab", InstanceHandOver::NormalizeText("a\"b"));
    EXPECT_STREQ("", InstanceHandOver::NormalizeText("\""));
    EXPECT_STREQ("", InstanceHandOver::NormalizeText("\"\""));
}

} // namespace
