// Binding files: the field rule and the fallback to the default file.
#include <gtest/gtest.h>

#include "shared/BindingFile.h"
#include "tests/support/ProgramFolder.h"

namespace {

const char kSep[] = "\x81\x4D";

CString Join(std::initializer_list<const char*> fields)
{
    CString line;
    bool first = true;
    for (const char* field : fields) {
        if (!first)
            line += kSep;
        line += field;
        first = false;
    }
    return line;
}

} // namespace

TEST(BindingFile, KindIsReadOnlyFromLinesOfExactlyFourFields)
{
    BindingFile::Line line;
    ASSERT_TRUE(BindingFile::Parse(Join({"Back", "Ctrl+Z", "32771", "1"}), line));
    EXPECT_STREQ("Back", line.label);
    EXPECT_STREQ("Ctrl+Z", line.text);
    EXPECT_EQ(32771, line.command);
    EXPECT_EQ(1, line.kind);
    EXPECT_EQ(4, line.fieldCount);
    ASSERT_TRUE(BindingFile::Parse(Join({"a", "B", "7"}), line));
    EXPECT_EQ(0, line.kind);
    EXPECT_EQ(3, line.fieldCount);
    // A trailing separator makes an empty fifth field: kind 0.
    ASSERT_TRUE(BindingFile::Parse(Join({"a", "B", "7", "1", ""}), line));
    EXPECT_EQ(5, line.fieldCount);
    EXPECT_EQ(0, line.kind);
    EXPECT_FALSE(BindingFile::Parse(Join({"a", "B"}), line));
    EXPECT_FALSE(BindingFile::Parse("", line));
    // "メ" (0x83 0x81) followed by "M" holds no separator.
    ASSERT_TRUE(BindingFile::Parse(Join({"\x83\x81M", "\x81\xAA\x81\xAB", "5"}), line));
    EXPECT_STREQ("\x83\x81M", line.label);
    EXPECT_STREQ("\x81\xAA\x81\xAB", line.text);
}

TEST(BindingFile, MissingFileFallsBackToTheDefaultFile)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    std::vector<BindingFile::Line> lines;
    EXPECT_FALSE(BindingFile::Read(folder.Path().c_str(), "KEYCONF.dat", "KEYCONFDefault.dat", lines));
    folder.WriteBytes("KEYCONFDefault.dat", std::string(Join({"d", "F5", "1"})) + "\r\nshort\r\n");
    ASSERT_TRUE(BindingFile::Read(folder.Path().c_str(), "KEYCONF.dat", "KEYCONFDefault.dat", lines));
    ASSERT_EQ(1u, lines.size());
    EXPECT_STREQ("F5", lines[0].text);
    folder.WriteBytes("KEYCONF.dat", std::string(Join({"u", "F6", "2", "0"})) + "\r\n");
    ASSERT_TRUE(BindingFile::Read(folder.Path().c_str(), "KEYCONF.dat", "KEYCONFDefault.dat", lines));
    ASSERT_EQ(1u, lines.size());
    EXPECT_STREQ("F6", lines[0].text);
}
