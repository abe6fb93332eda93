// The favorites cache file, the ordering of folders and the order value.
#include <gtest/gtest.h>

#include "framework/core/AtomicFile.h"
#include "lists/FavoriteTree.h"
#include "lists/FavoritesOrder.h"
#include "lists/KeywordTreeFile.h"
#include "tests/support/ProgramFolder.h"

namespace {

class FavoriteTreeTest : public ::testing::Test
{
protected:
    CString Path(const char* name) const { return m_folder.File(name).c_str(); }
    void Load(const std::string& bytes)
    {
        m_folder.WriteBytes("IEFavorite.dat", bytes);
        ASSERT_TRUE(m_tree.LoadCache(Path("IEFavorite.dat"), "Favorites"));
    }

    ProgramFolder m_folder{ProgramFolder::kEmpty};
    CFavoriteTree m_tree;
};

TEST_F(FavoriteTreeTest, CacheRoundTripKeepsOrderKindsAndBytes)
{
    // "表示" ends in 0x5C twice; "メ" ends in 0x81; a trailing blank.
    std::string deep = "C:\\Fav\\\x95\x5C\\Deep\\";
    std::string file =
        "ROOT:\r\n"
        "\tENTRY:\r\n\t\tLABEL:b.URL\r\n\t\tURL:http://b.example/ \r\n"
        "\tFOLDER:\r\n\t\tLABEL:\x95\x5C\r\n\t\tPATH:C:\\Fav\\\x95\x5C\\\r\n"
        "\t\tFOLDER:\r\n\t\t\tLABEL:Deep\r\n\t\t\tPATH:" + deep + "\r\n"
        "\t\t\tENTRY:\r\n\t\t\t\tLABEL:\x83\x81.htm\r\n\t\t\t\tURL:" + deep + "\x83\x81.htm\r\n"
        "\t\t\tENTRY:\r\n\t\t\t\tLABEL:notes.txt\r\n\t\t\t\tURL:" + deep + "notes.txt\r\n"
        "\t\tENDFOLDER:\r\n"
        "\tENDFOLDER:\r\n"
        "\tENTRY:\r\n\t\tLABEL:a.url\r\n\t\tURL:http://a.example/\r\n"
        "ENDROOT:\r\n";
    Load(file);
    ASSERT_EQ(7, m_tree.GetFlatCount());
    EXPECT_EQ(3, m_tree.m_containers.GetSize());
    EXPECT_EQ(CFavoriteNode::kRoot, m_tree.GetNode(0)->m_kind);
    EXPECT_STREQ("Favorites", m_tree.GetNode(0)->m_label);
    EXPECT_EQ(CFavoriteNode::kShortcut, m_tree.GetNode(1)->m_kind);  // ".URL"
    EXPECT_STREQ("http://b.example/ ", m_tree.GetNode(1)->m_url);
    EXPECT_EQ(CFavoriteNode::kFolder, m_tree.GetNode(2)->m_kind);
    EXPECT_STREQ(deep.c_str(), m_tree.GetNode(3)->m_url);
    EXPECT_EQ(CFavoriteNode::kShortcut, m_tree.GetNode(4)->m_kind);
    EXPECT_EQ(CFavoriteNode::kFile, m_tree.GetNode(5)->m_kind);
    EXPECT_STREQ("a.url", m_tree.GetNode(6)->m_label);
    for (INT_PTR i = 0; i < m_tree.GetFlatCount(); ++i)
        EXPECT_EQ(i, m_tree.GetNode(i)->m_flatIndex);

    ASSERT_TRUE(m_tree.Save(Path("Saved.dat")));
    EXPECT_EQ(file, m_folder.ReadBytes("Saved.dat"));
}

TEST_F(FavoriteTreeTest, FolderPathsGainABackslashUnlessTheyEndInOne)
{
    Load("ROOT:\n"
         "FOLDER:\nLABEL:a\nPATH:C:\\A\n"          // no backslash: one is added
         "ENDFOLDER:\n"
         "FOLDER:\nLABEL:b\nPATH:C:\\\x95\x5C\n"   // ends in a trail byte 0x5C
         "ENDFOLDER:\n"
         "FOLDER:\nLABEL:\nPATH:C:\\C\\\n"         // no label: content goes to the root
         "ENTRY:\nLABEL:x.url\nURL:http://x/\n"
         "ENDFOLDER:\n"                            // ends the root body
         "ENTRY:\nLABEL:y.url\nURL:http://y/\n");  // outside
    ASSERT_EQ(4, m_tree.GetFlatCount());
    EXPECT_STREQ("C:\\A\\", m_tree.GetNode(1)->m_url);
    EXPECT_STREQ("C:\\\x95\x5C\\", m_tree.GetNode(2)->m_url);
    EXPECT_STREQ("x.url", m_tree.GetNode(3)->m_label);
    EXPECT_EQ(m_tree.GetNode(3), m_tree.GetRoot()->GetChild(2));
}

// A path that ends in a stray lead byte would take the added backslash as its
// trail byte; the stray byte goes, and the path is stable from then on.
TEST_F(FavoriteTreeTest, APathEndingInALoneLeadByteIsStableAcrossLoads)
{
    Load("ROOT:\nFOLDER:\nLABEL:a\nPATH:C:\\A\x83\nENDFOLDER:\nENDROOT:\n");
    ASSERT_EQ(2, m_tree.GetFlatCount());
    EXPECT_STREQ("C:\\A\\", m_tree.GetNode(1)->m_url);
    ASSERT_TRUE(m_tree.Save(Path("IEFavorite.dat")));
    const std::string once = m_folder.ReadBytes("IEFavorite.dat");
    ASSERT_TRUE(m_tree.LoadCache(Path("IEFavorite.dat"), "Favorites"));
    ASSERT_TRUE(m_tree.Save(Path("IEFavorite.dat")));
    EXPECT_EQ(once, m_folder.ReadBytes("IEFavorite.dat"));

    CString name("\x97\x5c\x92\xe8\x95\x5c");  // a name ending in trail byte 0x5C
    EnsureTrailingBackslash(name);
    EXPECT_STREQ("\x97\x5c\x92\xe8\x95\x5c\\", name);
    EnsureTrailingBackslash(name);
    EXPECT_EQ(7, name.GetLength());
}

// The cache is replaced whole or not at all, and a NUL inside a label does
// not cut it to nothing.
TEST_F(FavoriteTreeTest, CacheWriterKeepsTheOldFileOnFailureAndWritesCountedTexts)
{
    Load("ROOT:\nENTRY:\nLABEL:a.url\nURL:http://a/\nENDROOT:\n");
    ASSERT_TRUE(m_tree.Save(Path("IEFavorite.dat")));
    const std::string old = m_folder.ReadBytes("IEFavorite.dat");
    m_tree.GetNode(1)->m_label = CString("\0b.url", 6);
    for (CAtomicTextFile::Fault fault : {CAtomicTextFile::kFailCreate, CAtomicTextFile::kFailWrite,
                                         CAtomicTextFile::kFailMove}) {
        CAtomicTextFile::InjectFault(fault);
        EXPECT_FALSE(m_tree.Save(Path("IEFavorite.dat"))) << fault;
        CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
        EXPECT_EQ(old, m_folder.ReadBytes("IEFavorite.dat")) << fault;
    }
    ASSERT_TRUE(m_tree.Save(Path("IEFavorite.dat")));
    ASSERT_TRUE(m_tree.LoadCache(Path("IEFavorite.dat"), "Favorites"));
    ASSERT_EQ(2, m_tree.GetFlatCount());
    EXPECT_EQ(6, m_tree.GetNode(1)->m_label.GetLength());
}

TEST_F(FavoriteTreeTest, EntriesNeedBothValuesOnTheirOwnLines)
{
    Load("ROOT:\n"
         "ENTRY:\nURL:http://a/\nLABEL:a.url\n"    // wrong order: both lines used up
         "ENTRY:\nLABEL:b.url\nURL:\n"             // empty URL
         "ENTRY:\nLABEL:c.url\nURL:http://c/\n"
         "ROOT:\n"                                  // a second root reads on
         "ENTRY:\nLABEL:d\nURL:C:\\d\n");
    ASSERT_EQ(3, m_tree.GetFlatCount());
    EXPECT_STREQ("c.url", m_tree.GetNode(1)->m_label);
    EXPECT_STREQ("d", m_tree.GetNode(2)->m_label);
    EXPECT_EQ(CFavoriteNode::kFile, m_tree.GetNode(2)->m_kind);
}

TEST_F(FavoriteTreeTest, FoldersNestedTooDeeplyAreSkippedWhole)
{
    std::string file = "ROOT:\n";
    for (int i = 0; i < 5000; ++i)
        file += "FOLDER:\nLABEL:f\nPATH:C:\\f\n";
    file += "ENTRY:\nLABEL:deep.url\nURL:http://d/\n";
    for (int i = 0; i < 5000; ++i)
        file += "ENDFOLDER:\n";
    file += "ENTRY:\nLABEL:after.url\nURL:http://a/\n";
    Load(file);
    ASSERT_EQ(1 + KeywordTreeFile::kMaxFolderDepth + 1, m_tree.GetFlatCount());
    EXPECT_STREQ("after.url", m_tree.GetNode(m_tree.GetFlatCount() - 1)->m_label);
}

TEST_F(FavoriteTreeTest, MissingCacheLeavesTheTreeToTheCaller)
{
    Load("ROOT:\nENTRY:\nLABEL:a.url\nURL:http://a/\n");
    EXPECT_FALSE(m_tree.LoadCache(Path("Missing.dat"), "Favorites"));
    EXPECT_EQ(2, m_tree.GetFlatCount());
}

TEST_F(FavoriteTreeTest, FlatListStopsAtTheCommandRange)
{
    std::string file = "ROOT:\n";
    for (int i = 0; i < 5005; ++i)
        file += "ENTRY:\nLABEL:e" + std::to_string(i) + ".url\nURL:http://e/\n";
    Load(file);
    EXPECT_EQ(CFavoriteTree::kCommandCount, m_tree.GetFlatCount());
    EXPECT_EQ(5005, m_tree.GetRoot()->GetChildCount());
    EXPECT_EQ(-1, m_tree.GetRoot()->GetChild(5004)->m_flatIndex);
    m_tree.RebuildFlatList();
    EXPECT_EQ(CFavoriteTree::kCommandCount, m_tree.GetFlatCount());
    EXPECT_EQ(4999, m_tree.GetRoot()->GetChild(4998)->m_flatIndex);
}

CFavoriteNode* MakeFolder(const char* const* labels, const BYTE* kinds, int count)
{
    CFavoriteNode* folder = new CFavoriteNode(CFavoriteNode::kFolder);
    for (int i = 0; i < count; ++i)
        folder->AddChild(labels[i], "u", kinds[i]);
    return folder;
}

std::string Labels(const CFavoriteNode* folder)
{
    std::string text;
    for (INT_PTR i = 0; i < folder->GetChildCount(); ++i)
        text += std::string(folder->GetChild(i)->m_label) + " ";
    return text;
}

TEST(FavoriteOrderTest, FoldersFirstOrByTheOrderValue)
{
    const char* const labels[] = {"a.url", "F1", "b.txt", "F2", "c.url"};
    const BYTE kinds[] = {3, 2, 4, 2, 3};
    CFavoriteNode* folder = MakeFolder(labels, kinds, 5);
    CFavoriteTree::OrderChildren(folder, nullptr);
    EXPECT_EQ("F1 F2 a.url b.txt c.url ", Labels(folder));

    // Fewer names than children (a new favorite): folders first.
    FavoriteOrderMap order = {{"c.url", 0}, {"F2", 1}, {"a.url", 2}, {"F1", 3}};
    CFavoriteTree::OrderChildren(folder, &order);
    EXPECT_EQ("F1 F2 a.url b.txt c.url ", Labels(folder));

    // Numbers out of range, duplicates and unknown names go behind the rest.
    order = {{"c.url", 0}, {"F2", 0}, {"a.url", 9}, {"b.txt", 2}, {"gone.url", 1}};
    CFavoriteTree::OrderChildren(folder, &order);
    EXPECT_EQ("F2 b.txt F1 a.url c.url ", Labels(folder));
    delete folder;
}

std::string Word(uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

std::string Record(uint32_t length, uint32_t order, const std::string& items)
{
    return Word(length) + Word(order) + items;
}

TEST(FavoriteOrderTest, OrderValueRecordsAreReadWithinTheirBounds)
{
    // Item ID list: one item of 4 bytes ("\x04\0" + 2 bytes), then a zero length.
    std::string items = std::string("\x04\0ab\0\0", 6);
    std::string header = Word(8) + std::string(16, '\0');  // first record at 8 + 12 = 20
    std::string value = header + Record(14, 5, items) + Record(14, 2, items);
    std::vector<FavoriteOrderRecord> records =
        ParseFavoritesOrder(reinterpret_cast<const BYTE*>(value.data()), value.size());
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(5, records[0].order);
    EXPECT_EQ(items, records[0].idList);

    struct Case { const char* name; std::string bytes; size_t expected; };
    const Case cases[] = {
        {"zero length", header + Record(0, 1, items) + Record(14, 2, items), 0},
        {"short length", header + Record(7, 1, items), 0},
        {"oversized", header + Record(14, 1, items) + Record(1000, 2, items), 1},
        {"unterminated list", header + Record(12, 1, std::string("\x04\0ab", 4)), 0},
        {"item past the record", header + Record(14, 1, std::string("\x40\0ab\0\0", 6)), 0},
        {"header past the end", Word(0xFFFFFFF0u) + std::string(20, '\0'), 0},
        {"tiny value", std::string(11, '\0'), 0},
        {"record header cut", header + Word(14), 0},
    };
    for (const Case& c : cases) {
        records = ParseFavoritesOrder(reinterpret_cast<const BYTE*>(c.bytes.data()),
                                      c.bytes.size());
        EXPECT_EQ(c.expected, records.size()) << c.name;
    }
}

} // namespace
