// The small helpers of opening pages: flag conversion, percent-decoding,
// the single-instance lock and the up-one-level address.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/VantorelApp.h"
#include "shared/UrlText.h"
#include "tab/BrowserView.h"

TEST(TabLoadFlags, ConvertToDownloadControlBits)
{
    EXPECT_EQ(0u, ConvertTabLoadFlags(0));
    // No scripts, images off: base, sounds, videos, no scripts.
    EXPECT_EQ(0xE1u, ConvertTabLoadFlags(0x11));
    EXPECT_EQ(0x01u | 0x10 | 0x40 | 0x20 | 0x100 | 0x200 | 0x400 | 0x4000 | 0x40000000,
              ConvertTabLoadFlags(0x18E));
}

TEST(UrlDecode, DecodesEscapesAndDropsCarriageReturns)
{
    EXPECT_STREQ("C:\\a b\\", UrlDecode("C:%5Ca%20b%5C"));
    EXPECT_STREQ("ab", UrlDecode("a%0Db"));
    EXPECT_STREQ("a+b", UrlDecode("a+b"));
    EXPECT_STREQ("a b", UrlDecode("a+b", true));
    EXPECT_STREQ("", UrlDecode(""));
}

TEST(UrlDecode, IncompleteOrNonHexEscapeIsCopiedAsItIs)
{
    EXPECT_STREQ("100%", UrlDecode("100%"));
    EXPECT_STREQ("x%4", UrlDecode("x%4"));
    EXPECT_STREQ("%zz%4g", UrlDecode("%zz%4g"));
    // Lower-case letters are not hexadecimal digits here.
    EXPECT_STREQ("%5c", UrlDecode("%5c"));
}

TEST(ScriptUrl, RecognisesScriptSchemesInAnyCase)
{
    EXPECT_TRUE(IsScriptUrl("JavaScript:void(0)"));
    EXPECT_TRUE(IsScriptUrl("vbscript:x"));
    EXPECT_TRUE(IsScriptUrl("jscript:x"));
    EXPECT_FALSE(IsScriptUrl("http://javascript.example/"));
    EXPECT_FALSE(IsScriptUrl(nullptr));
}

TEST(SemaphoreLock, ProceedsUnlockedWithoutASemaphore)
{
    CSemaphoreLock lock(nullptr);
    EXPECT_TRUE(lock.Acquired());
}

TEST(SemaphoreLock, ReleasesOnlyWhatItAcquired)
{
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 1, 1, nullptr);
    ASSERT_NE(nullptr, semaphore);
    {
        CSemaphoreLock first(semaphore, 0);
        EXPECT_TRUE(first.Acquired());
        {
            // Busy: not acquired, and its end must not free the first one's hold.
            CSemaphoreLock second(semaphore, 0);
            EXPECT_FALSE(second.Acquired());
        }
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(semaphore, 0));
    }
    // Released once: taking it again works, and the count never rose above 1.
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(semaphore, 0));
    LONG previous = -1;
    EXPECT_TRUE(::ReleaseSemaphore(semaphore, 1, &previous));
    EXPECT_EQ(0, previous);
    ::CloseHandle(semaphore);
}

TEST(UpOneLevel, CutsTheQueryAndTheLastPathPart)
{
    EXPECT_STREQ("http://a.example/b/", CBrowserView::UpOneLevel("http://a.example/b/c.html?q=1"));
    EXPECT_STREQ("http://a.example/", CBrowserView::UpOneLevel("http://a.example/b/"));
    EXPECT_STREQ("", CBrowserView::UpOneLevel("http://a.example/"));
    EXPECT_STREQ("", CBrowserView::UpOneLevel("http://a.example"));
}
