#include "framework/core/Types.h"

#include <type_traits>

#include <gtest/gtest.h>

// The data-file code reads and writes fields of these widths on both builds.
static_assert(sizeof(BYTE) == 1 && sizeof(WORD) == 2 && sizeof(DWORD) == 4, "Windows widths");
static_assert(sizeof(LONG) == 4 && sizeof(ULONG) == 4 && sizeof(BOOL) == 4, "Windows widths");
static_assert(sizeof(LONGLONG) == 8 && sizeof(INT_PTR) == sizeof(void*), "Windows widths");
static_assert(std::is_signed<LONG>::value && std::is_unsigned<DWORD>::value, "signedness");
static_assert(std::is_same<LPCTSTR, const char*>::value, "ANSI build");

#ifdef _WIN32
// Identical to the SDK's, so that overloads and format checks agree.
static_assert(std::is_same<DWORD, unsigned long>::value, "SDK DWORD");
static_assert(std::is_same<LONG, long>::value, "SDK LONG");
#endif

TEST(Types, PositionIsAPointerThatCanBeNull)
{
    POSITION pos = nullptr;
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(TRUE, 1);
    EXPECT_EQ(FALSE, 0);
}
