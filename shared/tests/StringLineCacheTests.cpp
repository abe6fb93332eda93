#include "shared/StringLineCache.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/ProgramFolder.h"

namespace {

// count lines "<prefix><n>", CR LF terminated as the shipped files are.
std::string NumberedLines(const std::string& prefix, int count)
{
    std::string text;
    for (int n = 1; n <= count; ++n)
        text += prefix + std::to_string(n) + "\r\n";
    return text;
}

class StringLineCacheTest : public ::testing::Test
{
protected:
    StringLineCacheTest() : m_folder(ProgramFolder::kEmpty) {}

    CString Line(const char* name, int number)
    {
        return m_cache.LoadStringLine(m_folder.File(name).c_str(), name, number);
    }

    ProgramFolder m_folder;
    CStringLineCache m_cache;
};

} // namespace

TEST_F(StringLineCacheTest, NeighbouringLinesComeFromOneRead)
{
    m_folder.WriteBytes("etc.dat", NumberedLines("E", 120));
    EXPECT_EQ(CString("E10"), Line("etc.dat", 10));
    EXPECT_EQ(CString("E40"), Line("etc.dat", 40));
    EXPECT_EQ(CString("E59"), Line("etc.dat", 59));
    EXPECT_EQ(1, m_cache.GetFileReadCount());

    // Beyond the cached range: reread from line 70, which then starts it.
    EXPECT_EQ(CString("E70"), Line("etc.dat", 70));
    EXPECT_EQ(2, m_cache.GetFileReadCount());
    EXPECT_EQ(CString("E119"), Line("etc.dat", 119));
    EXPECT_EQ(2, m_cache.GetFileReadCount());
    EXPECT_EQ(CString("E69"), Line("etc.dat", 69));
    EXPECT_EQ(3, m_cache.GetFileReadCount());
}

TEST_F(StringLineCacheTest, AlternatingFilesRereadEachTime)
{
    m_folder.WriteBytes("a.dat", NumberedLines("A", 5));
    m_folder.WriteBytes("b.dat", NumberedLines("B", 5));
    EXPECT_EQ(CString("A1"), Line("a.dat", 1));
    EXPECT_EQ(CString("B2"), Line("b.dat", 2));
    EXPECT_EQ(CString("A2"), Line("a.dat", 2));
    EXPECT_EQ(3, m_cache.GetFileReadCount());
}

TEST_F(StringLineCacheTest, EmptyLineIsReadAgainEachTime)
{
    m_folder.WriteBytes("etc.dat", "one\r\n\r\nthree\r\n");
    EXPECT_EQ(CString("one"), Line("etc.dat", 1));
    EXPECT_TRUE(Line("etc.dat", 2).IsEmpty());
    EXPECT_TRUE(Line("etc.dat", 2).IsEmpty());
    EXPECT_EQ(3, m_cache.GetFileReadCount());
    // The reread started at line 2, so line 1 now misses too.
    EXPECT_EQ(CString("one"), Line("etc.dat", 1));
    EXPECT_EQ(4, m_cache.GetFileReadCount());
}

TEST_F(StringLineCacheTest, FailedOpenServesNoLinesOfTheEarlierFile)
{
    m_folder.WriteBytes("a.dat", NumberedLines("A", 60));
    EXPECT_EQ(CString("A1"), Line("a.dat", 1));
    EXPECT_TRUE(Line("missing.dat", 1).IsEmpty());
    EXPECT_TRUE(Line("missing.dat", 2).IsEmpty());
    EXPECT_EQ(3, m_cache.GetFileReadCount());
    // Nothing of a.dat is cached any more either.
    EXPECT_EQ(CString("A2"), Line("a.dat", 2));
    EXPECT_EQ(4, m_cache.GetFileReadCount());
}

TEST_F(StringLineCacheTest, ShortReadLeavesNoStaleSlots)
{
    m_folder.WriteBytes("a.dat", NumberedLines("A", 60));
    m_folder.WriteBytes("b.dat", NumberedLines("B", 3));
    EXPECT_EQ(CString("A1"), Line("a.dat", 1));
    EXPECT_EQ(CString("B1"), Line("b.dat", 1));
    EXPECT_TRUE(Line("b.dat", 10).IsEmpty());

    // The same file, refilled from near its end.
    EXPECT_EQ(CString("A55"), Line("a.dat", 55));
    EXPECT_TRUE(Line("a.dat", 61).IsEmpty());
    EXPECT_TRUE(Line("a.dat", 100).IsEmpty());
}

TEST_F(StringLineCacheTest, FileNameIsTheCacheKey)
{
    m_folder.WriteBytes("a.dat", NumberedLines("A", 5));
    EXPECT_EQ(CString("A1"), Line("a.dat", 1));
    const std::string path = m_folder.File("a.dat");
    EXPECT_EQ(CString("A2"), m_cache.LoadStringLine(path.c_str(), "A.DAT", 2));
    EXPECT_EQ(2, m_cache.GetFileReadCount());
}

TEST_F(StringLineCacheTest, NullPathAndLineZeroGiveEmptyWithoutReading)
{
    m_folder.WriteBytes("a.dat", NumberedLines("A", 5));
    EXPECT_TRUE(m_cache.LoadStringLine(nullptr, "a.dat", 1).IsEmpty());
    EXPECT_TRUE(Line("a.dat", 0).IsEmpty());
    EXPECT_TRUE(Line("a.dat", -3).IsEmpty());
    EXPECT_EQ(0, m_cache.GetFileReadCount());
}

TEST_F(StringLineCacheTest, EscapesAreExpandedAndLineEndsDropped)
{
    m_folder.WriteBytes("m.dat", "a\\nb\\rc\\td\\x\r\nlf only\n\\\\n\r\n");
    EXPECT_EQ(CString("a\nb\rc\td\\x"), Line("m.dat", 1));
    EXPECT_EQ(CString("lf only"), Line("m.dat", 2));
    EXPECT_EQ(CString("\\\n"), Line("m.dat", 3));
}

// "ソ" is 83 5C and "表" 95 5C: their trail bytes are not escape starts.
TEST_F(StringLineCacheTest, TrailByte5CIsNotAnEscape)
{
    m_folder.WriteBytes("m.dat", "\x83\x5cn\x95\x5ct\r\n\x95\x5c\\n\r\n");
    EXPECT_EQ(CString("\x83\x5cn\x95\x5ct"), Line("m.dat", 1));
    EXPECT_EQ(CString("\x95\x5c\n"), Line("m.dat", 2));
}

TEST(StringEscapes, ExpandsOnlyTheThreeEscapes)
{
    EXPECT_EQ(CString("x\ty"), ExpandStringFileEscapes("x\\ty"));
    EXPECT_EQ(CString("trailing\\"), ExpandStringFileEscapes("trailing\\"));
    EXPECT_EQ(CString("\\a\\0"), ExpandStringFileEscapes("\\a\\0"));
    // A lead byte at the very end is one truncated character, kept as it is.
    EXPECT_EQ(CString("a\n\x95"), ExpandStringFileEscapes("a\\n\x95"));
}

TEST(StringFiles, ShippedFilesHoldTheNamedLines)
{
    ProgramFolder folder;
    CStringFiles files;
    files.SetFolder(folder.File("String/").c_str());
    // "グループ", the default group name.
    EXPECT_EQ(CString("\x83\x4f\x83\x8b\x81\x5b\x83\x76"), files.GetEtcText(68));
    EXPECT_EQ(0, files.GetEtcText(69).Find("wID="));
    EXPECT_FALSE(files.GetEtcText(53).IsEmpty());
    EXPECT_FALSE(files.GetEtcText(54).IsEmpty());
    EXPECT_FALSE(files.GetEtcText(55).IsEmpty());
    EXPECT_FALSE(files.GetEtcText(58).IsEmpty());
    EXPECT_FALSE(files.GetEtcText(59).IsEmpty());
    EXPECT_FALSE(files.GetMessageText(23).IsEmpty());
    EXPECT_FALSE(files.GetMessageText(28).IsEmpty());
    EXPECT_EQ(CString("FileVersion"), files.GetEtcText(55));
}

TEST(StringFiles, EachGetterReadsItsOwnFile)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    folder.MakeFolder("String");
    const char* const names[] = {"message.dat", "url.dat", "reg.dat", "etc.dat",
                                 "dlg.dat", "first.dat", "iehistory.dat"};
    for (const char* name : names)
        folder.WriteBytes(std::string("String/") + name, std::string("x\r\n") + name + "\r\n");

    CStringFiles files;
    EXPECT_TRUE(files.GetEtcText(2).IsEmpty());
    files.SetFolder(folder.File("String/").c_str());
    EXPECT_EQ(CString("message.dat"), files.GetMessageText(2));
    EXPECT_EQ(CString("url.dat"), files.GetUrlText(2));
    EXPECT_EQ(CString("reg.dat"), files.GetRegText(2));
    EXPECT_EQ(CString("etc.dat"), files.GetEtcText(2));
    EXPECT_EQ(CString("dlg.dat"), files.GetDlgText(2));
    EXPECT_EQ(CString("first.dat"), files.GetFirstText(2));
    EXPECT_EQ(CString("iehistory.dat"), files.GetIEHistoryText(2));
    EXPECT_EQ(7, files.GetCache().GetFileReadCount());
    EXPECT_EQ(CString("x"), files.GetIEHistoryText(1));
}
