// The numbered list of closed tabs.
#include <gtest/gtest.h>

#include "app/ClosedTabList.h"

TEST(ClosedTabList, SameUrlTwiceInARowIsOneEntryAndMissingTextsAreRefused)
{
    CClosedTabList list;
    EXPECT_EQ(0, list.Add("A", "http://a/", nullptr, nullptr));
    EXPECT_EQ(-1, list.Add("A again", "http://a/", nullptr, nullptr));
    EXPECT_EQ(1, list.Add("B", "http://b/", nullptr, nullptr));
    EXPECT_EQ(2, list.Add("A", "http://a/", nullptr, nullptr));
    EXPECT_EQ(-1, list.Add("", "http://c/", nullptr, nullptr));
    EXPECT_EQ(-1, list.Add("C", "", nullptr, nullptr));
    ASSERT_EQ(3u, list.size());
    EXPECT_STREQ("http://a/", list[0].url);
    EXPECT_EQ(2, list.GetIdAt(0));
    EXPECT_EQ(0, list.GetIdAt(2));
    EXPECT_EQ(-1, list.GetIdAt(3));
    EXPECT_EQ(-1, list.GetIdAt(-1));
}

TEST(ClosedTabList, TheSixteenthPushesOutTheOldestAndTakesItsNumber)
{
    CClosedTabList list;
    SavedHistory back;
    back.Add("http://back/", "Back");
    for (int i = 0; i < 15; ++i) {
        CString url;
        url.Format("http://%d/", i);
        EXPECT_EQ(i, list.Add("T", url, &back, nullptr));
    }
    EXPECT_EQ(0, list.Add("T", "http://15/", nullptr, nullptr));
    EXPECT_EQ(1, list.Add("T", "http://16/", nullptr, nullptr));
    ASSERT_EQ(15u, list.size());
    EXPECT_EQ(nullptr, list.Find(15));
    const ClosedTabEntry* entry = list.Find(2);
    ASSERT_NE(nullptr, entry);
    EXPECT_STREQ("http://2/", entry->url);
    ASSERT_EQ(1, entry->back.GetCount());
    EXPECT_STREQ("Back", entry->back.m_titles[0]);
    EXPECT_STREQ("http://16/", list.Find(1)->url);
}
