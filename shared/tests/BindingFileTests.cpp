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

TEST(BindingFile, WriterSortsByUnsignedBytesAndKeepsTheFieldsAsRead)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    // "ソ" (0x83 0x5C) and "―" (0x81 0x5C) end in "\"; "↑" (0x81 0xAA) and
    // "→" (0x81 0xA8) sort by their second byte; "A" comes first.
    folder.WriteBytes("KEYCONF.dat", Join({ "\x83\x5C", "\x81\xAA", "1", "0" }).GetString() + std::string("\r\n") +
                                         Join({ "x", "Ctrl+B", "2" }).GetString() + "\r\n" + "malformed\r\n" +
                                         Join({ "y", "\x81\xA8", "3", "1", "extra" }).GetString() + "\r\n" +
                                         Join({ "\x81\x5C", "A", "-4", "1" }).GetString() + "\r\n");
    std::vector<BindingFile::Line> lines;
    ASSERT_TRUE(BindingFile::Read(folder.Path().c_str(), "KEYCONF.dat", "none.dat", lines));
    ASSERT_EQ(4u, lines.size());
    ASSERT_TRUE(BindingFile::Write((folder.Path() + "KEYCONF.dat").c_str(), lines));
    const std::string expected = Join({ "\x81\x5C", "A", "-4", "1" }).GetString() + std::string("\r\n") +
                                 Join({ "x", "Ctrl+B", "2", "" }).GetString() + "\r\n" +
                                 Join({ "y", "\x81\xA8", "3", "" }).GetString() + "\r\n" +
                                 Join({ "\x83\x5C", "\x81\xAA", "1", "0" }).GetString() + "\r\n";
    EXPECT_EQ(expected, folder.ReadBytes("KEYCONF.dat"));
    // Read again, the file gives the same lines.
    std::vector<BindingFile::Line> again;
    ASSERT_TRUE(BindingFile::Read(folder.Path().c_str(), "KEYCONF.dat", "none.dat", again));
    ASSERT_EQ(4u, again.size());
    EXPECT_STREQ("\x83\x5C", again[3].label);
    EXPECT_EQ(-4, again[0].command);

    // An empty list writes an empty file.
    ASSERT_TRUE(BindingFile::Write((folder.Path() + "KEYCONF.dat").c_str(), {}));
    EXPECT_EQ("", folder.ReadBytes("KEYCONF.dat"));
}

// A label or key text holding "｀" or a line break would shift every field
// of its line; the writer makes each field safe as the other list writers
// do, and the line reads back with its four fields.
TEST(BindingFile, WriterCleansEachFieldSoTheLineKeepsItsFourFields)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    BindingFile::Line line;
    line.label = "a\x81\x4D" "b\r\nc";
    line.text = "Ctrl+\x81\x4D";
    line.commandField = "7";
    line.kindField = "1";
    ASSERT_TRUE(BindingFile::Write((folder.Path() + "KEYCONF.dat").c_str(), { line }));
    EXPECT_EQ(std::string(Join({ "a`b  c", "Ctrl+`", "7", "1" })) + "\r\n", folder.ReadBytes("KEYCONF.dat"));
    std::vector<BindingFile::Line> lines;
    ASSERT_TRUE(BindingFile::Read(folder.Path().c_str(), "KEYCONF.dat", "none.dat", lines));
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(4, lines[0].fieldCount);
    EXPECT_EQ(1, lines[0].kind);
}

// A line whose last byte is a lone lead byte keeps its last field as it
// was: no "メM" (83 81 4D) is read into it, and so none is written back.
TEST(BindingFile, ALoneLeadByteAtTheLineEndAddsNothingToTheLastField)
{
    const struct
    {
        CString line;
        const char* commandField;
        const char* kindField;
        int fieldCount;
    } kCases[] = {
        { Join({ "Back", "Ctrl+Z", "32771", "1\x83" }), "32771", "1", 4 },
        { Join({ "Back", "Ctrl+Z", "32771\x83" }), "32771", "", 3 },
        { Join({ "Back", "Ctrl+Z", "32771", "\x83" }), "32771", "", 4 },
    };
    for (const auto& c : kCases) {
        BindingFile::Line line;
        ASSERT_TRUE(BindingFile::Parse(c.line, line)) << c.line.GetString();
        EXPECT_STREQ(c.commandField, line.commandField) << c.line.GetString();
        EXPECT_STREQ(c.kindField, line.kindField) << c.line.GetString();
        EXPECT_EQ(c.fieldCount, line.fieldCount) << c.line.GetString();
    }
}

// The editor's read: the defaults stand in for a missing file only. A file
// that is there but does not open (here a folder of its name) gives no
// lines, not the defaults, and says so.
TEST(BindingFile, EditorsReadTakesTheDefaultsOnlyForAMissingFile)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    folder.WriteBytes("MGCDefault.dat", std::string(Join({ "d", "\x81\xAA", "1", "0" })) + "\r\n");
    std::vector<BindingFile::Line> lines;
    FileReadState state = BindingFile::ReadForEditing(folder.Path().c_str(), "MGC.dat", "MGCDefault.dat", lines);
    EXPECT_EQ(FileReadState::kMissing, state.result);
    EXPECT_EQ(1u, lines.size());

    folder.MakeFolder("MGC.dat");
    state = BindingFile::ReadForEditing(folder.Path().c_str(), "MGC.dat", "MGCDefault.dat", lines);
    EXPECT_EQ(FileReadState::kUnreadable, state.result);
    EXPECT_EQ(folder.File("MGC.dat"), state.path.GetString());
    EXPECT_TRUE(lines.empty());
    // A reader that never writes the file still takes the defaults.
    EXPECT_TRUE(BindingFile::Read(folder.Path().c_str(), "MGC.dat", "MGCDefault.dat", lines));
    EXPECT_EQ(1u, lines.size());

    folder.Remove("MGC.dat");
    folder.WriteBytes("MGC.dat", std::string(Join({ "u", "\x81\xAB", "2", "0" })) + "\r\n");
    state = BindingFile::ReadForEditing(folder.Path().c_str(), "MGC.dat", "MGCDefault.dat", lines);
    EXPECT_EQ(FileReadState::kOpened, state.result);
    ASSERT_EQ(1u, lines.size());
    EXPECT_STREQ("u", lines[0].label);
}
