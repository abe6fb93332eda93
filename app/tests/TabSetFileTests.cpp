// Tab-set files: the version-3 and version-2 layouts, crafted and stray
// lines, and the whole-or-nothing write.
#include <gtest/gtest.h>

#include "app/TabSetFile.h"
#include "framework/core/AtomicFile.h"
#include "framework/core/File.h"
#include "shared/DataFields.h"
#include "tests/support/ProgramFolder.h"

using namespace TabSetFile;

namespace {

CStringArray Lines(std::initializer_list<const char*> lines)
{
    CStringArray result;
    for (const char* line : lines)
        result.Add(line);
    return result;
}

CStringArray SplitText(const CString& text)
{
    CStringArray lines;
    int start = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '\n') {
            lines.Add(text.Mid(start, i - start));
            start = i + 1;
        }
    }
    if (start < text.GetLength())
        lines.Add(text.Mid(start));
    return lines;
}

Group TwoTabGroup()
{
    Group group;
    group.caption = "News[%c]";
    group.options = -113;
    group.image = 3;
    Tab first;
    first.flags = 113;
    first.title = "First";
    first.url = "http://a.example/3";
    first.back.Add("http://a.example/2", "Two");
    first.back.Add("http://a.example/1", "");
    first.forward.Add("http://a.example/4", "Four");
    Tab second;
    second.flags = 0;
    second.title = "Second";
    second.url = "http://b.example/";
    group.tabs = {first, second};
    return group;
}

} // namespace

TEST(TabSetFile, Version3WritesTheLayoutAndSkipsEmptyHistory)
{
    std::vector<Group> groups = {TwoTabGroup()};
    Group other;
    other.caption = "Empty";
    groups.push_back(other);
    const CString text = FormatV3(groups);
    EXPECT_STREQ("VADatFileVer003\n"
                 "FOLDER:\n\tLABEL:News[%c]\n\tSTATE:-113\n\tICON:3\n"
                 "\tENTRY:\n\t\tSTATE:113\n\t\tLABEL:First\n\t\tURL:http://a.example/3\n"
                 "\t\tBACKTITLE:Two\x81\x4Fnotitle\n"
                 "\t\tBACKURL:http://a.example/2\x81\x4Fhttp://a.example/1\n"
                 "\t\tFORETITLE:Four\n\t\tFOREURL:http://a.example/4\n"
                 "\tENDENTRY:\n\tENTRY:\n\t\tSTATE:0\n\t\tLABEL:Second\n\t\tURL:http://b.example/\n"
                 "\tENDENTRY:\n"
                 "ENDFOLDER:\nFOLDER:\n\tLABEL:Empty\n\tSTATE:0\n\tICON:0\n"
                 "ENDFOLDER:\n",
                 text);
}

TEST(TabSetFile, Version3RoundTripKeepsHistoryInOrderAndDropsEmptyGroups)
{
    std::vector<Group> groups = {TwoTabGroup()};
    groups.push_back(Group());
    groups.back().caption = "NoTabs";
    std::vector<Group> read;
    ASSERT_TRUE(ParseV3(SplitText(FormatV3(groups)), "Default", read));
    ASSERT_EQ(1u, read.size());
    const Group& group = read[0];
    EXPECT_STREQ("News[%c]", group.caption);
    EXPECT_EQ(-113, group.options);
    EXPECT_EQ(3, group.image);
    ASSERT_EQ(2u, group.tabs.size());
    const Tab& first = group.tabs[0];
    EXPECT_EQ(113, first.flags);
    EXPECT_STREQ("First", first.title);
    EXPECT_STREQ("http://a.example/3", first.url);
    ASSERT_EQ(2, first.back.GetCount());
    EXPECT_STREQ("http://a.example/2", first.back.m_urls[0]);
    EXPECT_STREQ("Two", first.back.m_titles[0]);
    EXPECT_STREQ("http://a.example/1", first.back.m_urls[1]);
    EXPECT_STREQ("notitle", first.back.m_titles[1]);
    ASSERT_EQ(1, first.forward.GetCount());
    EXPECT_STREQ("Four", first.forward.m_titles[0]);
    EXPECT_TRUE(group.tabs[1].back.IsEmpty());
    EXPECT_TRUE(group.tabs[1].forward.IsEmpty());
}

TEST(TabSetFile, SeparatorsAndLineBreaksInTitlesAndCaptionsAreReplaced)
{
    Group group;
    group.caption = "A\x81\x4F" "B\r\nC";
    Tab tab;
    tab.title = "T\x81\x4Dx\ny";
    tab.url = "http://a.example/";
    tab.back.Add("http://b.example/", "P\x81\x4Fq");
    tab.back.Add("http://c.example/", "R");
    group.tabs.push_back(tab);
    std::vector<Group> read;
    ASSERT_TRUE(ParseV3(SplitText(FormatV3({group})), "", read));
    ASSERT_EQ(1u, read.size());
    EXPECT_STREQ("A^B  C", read[0].caption);
    EXPECT_STREQ("T`x y", read[0].tabs[0].title);
    ASSERT_EQ(2, read[0].tabs[0].back.GetCount());
    EXPECT_STREQ("P^q", read[0].tabs[0].back.m_titles[0]);
    EXPECT_STREQ("http://c.example/", read[0].tabs[0].back.m_urls[1]);
    // A one-entry history titled with blanks only is not trimmed away.
    Tab blank;
    blank.url = "http://d.example/";
    blank.back.Add("http://e.example/", "  ");
    group.tabs = {blank};
    read.clear();
    ASSERT_TRUE(ParseV3(SplitText(FormatV3({group})), "", read));
    ASSERT_EQ(1, read[0].tabs[0].back.GetCount());
    EXPECT_STREQ("notitle", read[0].tabs[0].back.m_titles[0]);
    // A "メ" (0x83 0x81) before "M" is one character: nothing is split there.
    EXPECT_STREQ("\x83\x81M", DataFields::CleanTitleField("\x83\x81M"));
    CStringArray items;
    SplitList("\x83\x81\x4F\x81\x4Fx", items);
    ASSERT_EQ(2, items.GetSize());
    EXPECT_STREQ("\x83\x81\x4F", items[0]);
}

TEST(TabSetFile, Version3StrayLinesBeforeTheFirstEntryAndUnequalListsAreHarmless)
{
    const CStringArray lines = Lines({
        "  VADatFileVer003 \t",
        "STATE:7",  // outside a group
        "FOLDER:",
        "\tLABEL:",
        "\tICON:5",  // in the STATE place: the state stays 0
        "\tICON:2",
        "\t\tSTATE:99",  // before the first ENTRY: belongs to no tab
        "\t\tURL:http://stray.example/",
        "\t\tBACKTITLE:x\x81\x4Fy",
        "",
        "\tENTRY:",
        "\t\tURL:http://a.example/",
        "\t\tBACKTITLE:One\x81\x4F\x81\x4FThree",
        "\t\tBACKURL:http://1.example/\x81\x4Fhttp://2.example/",
        "\t\tFOREURL:http://f.example/",  // no titles: no forward list
        "\tENTRY:",
        "\t\tBACKURL:http://stale.example/",  // the titles of the tab before are gone
        "\t\tURL:http://b.example/",
        "ENDFOLDER:",
        "FOLDER:",
        "\tLABEL:Second",
        "ENDFOLDER:",  // consumed as the STATE line
        "\tICON:1",
        "ENDFOLDER:",  // no tabs: no group
    });
    std::vector<Group> read;
    ASSERT_TRUE(ParseV3(lines, "Group", read));
    ASSERT_EQ(1u, read.size());
    EXPECT_STREQ("Group", read[0].caption);
    EXPECT_EQ(0, read[0].options);
    EXPECT_EQ(2, read[0].image);
    ASSERT_EQ(2u, read[0].tabs.size());
    const Tab& a = read[0].tabs[0];
    EXPECT_EQ(0, a.flags);
    EXPECT_STREQ("http://a.example/", a.url);
    ASSERT_EQ(2, a.back.GetCount());
    EXPECT_STREQ("One", a.back.m_titles[0]);
    EXPECT_STREQ("notitle", a.back.m_titles[1]);
    EXPECT_TRUE(a.forward.IsEmpty());
    EXPECT_TRUE(read[0].tabs[1].back.IsEmpty());
}

TEST(TabSetFile, OtherMagicIsNoVersion3AndTruncatedFilesOpenWhatIsComplete)
{
    std::vector<Group> read;
    EXPECT_FALSE(ParseV3(Lines({"VADatFileVer002"}), "", read));
    EXPECT_FALSE(ParseV3(CStringArray(), "", read));
    EXPECT_TRUE(ParseV3(Lines({"VADatFileVer003", "FOLDER:", "\tLABEL:x", "\tSTATE:0", "\tICON:0",
                               "\tENTRY:", "\t\tURL:http://a.example/"}),
                        "", read));
    EXPECT_TRUE(read.empty());
}

TEST(TabSetFile, Version2ReadsHistoryWithAndWithoutTitles)
{
    const CStringArray lines = Lines({
        "VADatFileVer002",
        "FOLDER:",
        "\tNews\x81\x4D" "5\x81\x4D" "2",
        "ENTRY:",
        "\t\t113\x81\x4Dhttp://first/\x81\x4Fhttp://second/\x81\x4Fhttp://third/",
        "\t\t0\x81\x4Dhttp://p/\x81\x4Fhttp://q/\x81\x4Fhttp://r/\x81\x4D"
        "P\x81\x4FQ",  // fewer titles than addresses
        "\t\t1\x81\x4D\x81\x4D",  // three fields, both lists empty
        "\t\tjunk",
        "\t\t0\x81\x4D" "\x83\x81M",
        "ENDENTRY:",
        "ENDFOLDER:",
        "FOLDER:",
        "\tTwoFields\x81\x4D" "1",
        "ENTRY:",
        "\t\t0\x81\x4Dhttp://skipped/",
        "ENDFOLDER:",
    });
    std::vector<Group> read;
    ASSERT_TRUE(ParseV2(lines, "Default", read));
    ASSERT_EQ(1u, read.size());
    EXPECT_STREQ("News", read[0].caption);
    EXPECT_EQ(5, read[0].options);
    EXPECT_EQ(2, read[0].image);
    ASSERT_EQ(3u, read[0].tabs.size());
    const Tab& first = read[0].tabs[0];
    EXPECT_EQ(113, first.flags);
    EXPECT_STREQ("http://first/", first.url);
    ASSERT_EQ(2, first.back.GetCount());
    EXPECT_STREQ("http://second/", first.back.m_urls[0]);
    EXPECT_STREQ("notitle", first.back.m_titles[0]);
    EXPECT_STREQ("http://third/", first.back.m_urls[1]);
    const Tab& paired = read[0].tabs[1];
    EXPECT_STREQ("P", paired.title);
    ASSERT_EQ(1, paired.back.GetCount());
    EXPECT_STREQ("http://q/", paired.back.m_urls[0]);
    EXPECT_STREQ("Q", paired.back.m_titles[0]);
    EXPECT_STREQ("\x83\x81M", read[0].tabs[2].url);
    EXPECT_FALSE(ParseV2(Lines({"VADatFileVer003"}), "", read));
}

// A tab line cut after a lead byte: the titles, its last field, gain
// nothing from the separators the reader appends to split it.
TEST(TabSetFile, ALoneLeadByteAtTheLineEndAddsNothingToTheLastTitle)
{
    std::vector<Group> read;
    ASSERT_TRUE(ParseV2(Lines({ "VADatFileVer002", "FOLDER:", "\tG\x81\x4D" "0\x81\x4D" "0", "ENTRY:",
                                "\t\t0\x81\x4Dhttp://p/\x81\x4Fhttp://q/\x81\x4DP\x81\x4FQ\x83", "ENDENTRY:",
                                "ENDFOLDER:" }),
                        "", read));
    ASSERT_EQ(1u, read.size());
    ASSERT_EQ(1u, read[0].tabs.size());
    ASSERT_EQ(1, read[0].tabs[0].back.GetCount());
    EXPECT_STREQ("Q", read[0].tabs[0].back.m_titles[0]);
}

TEST(TabSetFile, Version2WriterRoundTripsThroughTheClosedSetReader)
{
    std::vector<Group> groups = {TwoTabGroup()};
    const CString text = FormatV2(groups);
    EXPECT_STREQ("VADatFileVer002\nFOLDER:\n\tNews[%c]\x81\x4D-113\x81\x4D" "3\nENTRY:\n"
                 "\t\t113\x81\x4Dhttp://a.example/3\n\t\t0\x81\x4Dhttp://b.example/\n"
                 "ENDENTRY:\nENDFOLDER:\n",
                 text);
    std::vector<Group> read;
    std::vector<Tab> loose;
    ParseClosedSet(SplitText(text), "", read, loose);
    EXPECT_TRUE(loose.empty());
    ASSERT_EQ(1u, read.size());
    ASSERT_EQ(2u, read[0].tabs.size());
    EXPECT_STREQ("http://b.example/", read[0].tabs[1].url);
    EXPECT_TRUE(read[0].tabs[0].back.IsEmpty());

    // "｀" and "＾" in an address neither split its line nor cut it.
    groups[0].tabs[0].url = "file:///C:/\x83\x81\x83\x82\x81\x4F/a.htm?q=\x81\x4D";
    read.clear();
    ParseClosedSet(SplitText(FormatV2(groups)), "", read, loose);
    ASSERT_EQ(1u, read.size());
    ASSERT_EQ(2u, read[0].tabs.size());
    EXPECT_STREQ("file:///C:/\x83\x81\x83\x82%81%4F/a.htm?q=%81%4D", read[0].tabs[0].url);
}

TEST(TabSetFile, PlainClosedSetTakesEveryTwoFieldLine)
{
    std::vector<Group> groups;
    std::vector<Tab> loose;
    ParseClosedSet(Lines({"0\x81\x4Dhttp://a/", "", "5\x81\x4Dhttp://b/\x81\x4Dx", "7\x81\x4D",
                          " 3\x81\x4Dhttp://c/ "}),
                   "", groups, loose);
    EXPECT_TRUE(groups.empty());
    ASSERT_EQ(2u, loose.size());
    EXPECT_STREQ("http://a/", loose[0].url);
    EXPECT_EQ(3, loose[1].flags);
    EXPECT_STREQ("http://c/", loose[1].url);
}

TEST(TabSetFile, AFailedWriteKeepsTheLastGoodFile)
{
    ProgramFolder folder;
    const CString path = folder.File("Exception.dat").c_str();
    ASSERT_TRUE(WriteWhole(path, "first\n"));
    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailWrite);
    EXPECT_FALSE(WriteWhole(path, "second\n"));
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    CStringArray lines;
    ASSERT_TRUE(ReadLines(path, lines));
    ASSERT_EQ(1, lines.GetSize());
    EXPECT_STREQ("first", lines[0]);
    EXPECT_FALSE(ReadLines(folder.File("missing.dat").c_str(), lines));
}
