// Guards the test runner: every other test assumes a Japanese Windows
// environment, so a runner without it must fail loudly, not pass silently.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Runner, AnsiCodePageIs932)
{
    EXPECT_EQ(932u, GetACP());
    EXPECT_EQ(932u, GetOEMCP());
}

TEST(Runner, Cp932RoundTripsThroughTheSystemConversion)
{
    // "表示" in cp932; its first character has the trail byte 0x5C.
    const char text[] = "\x95\x5c\x8e\xa6";
    wchar_t wide[8] = {};
    ASSERT_EQ(3, MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 8));
    EXPECT_EQ(0x8868, wide[0]);
    EXPECT_EQ(0x793A, wide[1]);
}

TEST(Runner, HasADisplay)
{
    // GUI tests create real windows: the desktop must exist and have a size.
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    HWND wnd = CreateWindowExA(0, "STATIC", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, wnd);
    EXPECT_TRUE(DestroyWindow(wnd));
}
