// Engine icons under Windows: loaded icons put engines on the search bar,
// a missing icon keeps its path; and the system's UTF-8 conversion.
#include <windows.h>

#include <gtest/gtest.h>

#include "lists/SearchEngineTree.h"
#include "lists/SearchUrl.h"
#include "tests/support/ProgramFolder.h"

namespace {

// A 16 x 16, 32-bit icon file.
std::string IconFile()
{
    const int size = 16;
    std::string bitmap;
    auto put16 = [&](uint16_t v) { bitmap.append(reinterpret_cast<const char*>(&v), 2); };
    auto put32 = [&](uint32_t v) { bitmap.append(reinterpret_cast<const char*>(&v), 4); };
    put32(40); put32(size); put32(size * 2); put16(1); put16(32);
    put32(0); put32(0); put32(0); put32(0); put32(0); put32(0);
    bitmap += std::string(size * size * 4, '\x7F');   // colour
    bitmap += std::string(size * 4, '\0');             // mask rows of 4 bytes
    std::string file;
    auto f16 = [&](uint16_t v) { file.append(reinterpret_cast<const char*>(&v), 2); };
    auto f32 = [&](uint32_t v) { file.append(reinterpret_cast<const char*>(&v), 4); };
    f16(0); f16(1); f16(1);
    file += static_cast<char>(size);
    file += static_cast<char>(size);
    file += '\0';
    file += '\0';
    f16(1); f16(32); f32(static_cast<uint32_t>(bitmap.size())); f32(22);
    return file + bitmap;
}

std::string Entry(const std::string& label, const std::string& icon, int addTool)
{
    return "\tENTRY:\r\n\t\tLABEL:" + label + "\r\n\t\tURL:u\r\n\t\tICON:" + icon +
           "\r\n\t\tADDTOOL:" + std::to_string(addTool) + "\r\n\t\tSTATE:0\r\n";
}

TEST(SearchEngineIconTest, LoadedIconsMakeButtonsAndMissingOnesKeepTheirPath)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    folder.MakeFolder("Icon");
    folder.WriteBytes("Icon/a.ico", IconFile());
    std::string file = "ROOT:\r\n" + Entry("Rel", "Icon\\a.ico", 1) +
                       Entry("Abs", folder.File("Icon/a.ico"), 1) + Entry("NoTool", "Icon\\a.ico", 0) +
                       Entry("Gone", "Icon\\gone.ico", 1) + Entry("None", "", 1) + "ENDROOT:\r\n";
    folder.WriteBytes("SearchEngine.dat", file);
    CSearchEngineTree tree;
    // Relative paths resolve in the program folder, not the current directory.
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    ProgramFolder elsewhere(ProgramFolder::kEmpty);
    SetCurrentDirectoryA(elsewhere.Path().c_str());
    tree.Load(folder.File("SearchEngine.dat").c_str(), folder.Path().c_str());

    ASSERT_EQ(6, tree.GetFlatCount());
    EXPECT_NE(nullptr, tree.GetNode(1)->m_icon);
    EXPECT_NE(nullptr, tree.GetNode(2)->m_icon);
    EXPECT_NE(nullptr, tree.GetNode(3)->m_icon);
    EXPECT_EQ(nullptr, tree.GetNode(4)->m_icon);
    ASSERT_EQ(2, tree.m_toolbarCount);
    EXPECT_EQ(tree.GetNode(1), tree.m_toolbar[0]);
    EXPECT_EQ(tree.GetNode(2), tree.m_toolbar[1]);

    ASSERT_TRUE(tree.Save(folder.File("Saved.dat").c_str()));
    EXPECT_EQ(file, folder.ReadBytes("Saved.dat"));
    SetCurrentDirectoryA(saved);
}

TEST(SearchUrlWindowsTest, Utf8ConversionUsesCodePage932)
{
    CString out;
    EXPECT_EQ(1, ConvertAnsiToUtf8("\x8C\x9F\x8D\xF5 \xB6", out));
    EXPECT_EQ(CString("\xE6\xA4\x9C\xE7\xB4\xA2 \xEF\xBD\xB6"), out);
    EXPECT_STREQ("q=%E6%A4%9C%E7%B4%A2", BuildSearchUrl("\x8C\x9F\x8D\xF5", "q=<UTF8>"));
}

} // namespace
