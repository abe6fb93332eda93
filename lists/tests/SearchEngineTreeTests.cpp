// The search-engine list: reading, writing, the command index and the roles.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/AtomicFile.h"
#include "lists/KeywordTreeFile.h"
#include "lists/SearchEngineTree.h"
#include "tests/support/ProgramFolder.h"

namespace {

// cp932 texts: "表" and "ソ" end in 0x5C, "メ" in 0x81; a full-width space.
const char kHyo[] = "\x95\x5C";
const char kSo[] = "\x83\x5C";
const char kMe[] = "\x83\x81";
const char kWideSpace[] = "\x81\x40";

std::string Entry(const std::string& indent, const std::string& label, const std::string& url,
                  int addTool, int state, const std::string& icon = "")
{
    return indent + "ENTRY:\r\n" + indent + "\tLABEL:" + label + "\r\n" + indent + "\tURL:" + url +
           "\r\n" + indent + "\tICON:" + icon + "\r\n" + indent + "\tADDTOOL:" +
           std::to_string(addTool) + "\r\n" + indent + "\tSTATE:" + std::to_string(state) + "\r\n";
}

class SearchEngineTreeTest : public ::testing::Test
{
protected:
    CString Path(const char* name) const { return m_folder.File(name).c_str(); }
    void Load(const std::string& bytes)
    {
        m_folder.WriteBytes("SearchEngine.dat", bytes);
        m_tree.Load(Path("SearchEngine.dat"));
    }
    std::string SaveAndRead()
    {
        EXPECT_TRUE(m_tree.Save(Path("Saved.dat")));
        return m_folder.ReadBytes("Saved.dat");
    }

    ProgramFolder m_folder{ProgramFolder::kEmpty};
    CSearchEngineTree m_tree;
};

TEST_F(SearchEngineTreeTest, WritesTheExactTemplatesAndReadsThemBack)
{
    std::string label1 = std::string(kHyo) + kSo + " " + kMe + "@ ";   // trailing blank
    std::string label2 = std::string("Deep") + kWideSpace;              // trailing wide space
    std::string url1 = "http://a.example/?q=<UTF8> ";
    std::string file = "ROOT:\r\n" + Entry("\t", label1, url1, 1, 3, "Icon\\a.ico") +
                       "\tFOLDER:\r\n\t\tLABEL:" + std::string(kHyo) +
                       "\r\n\t\tPATH:\r\n" + "\t\tFOLDER:\r\n\t\t\tLABEL:Inner\r\n\t\t\tPATH:\r\n" +
                       Entry("\t\t\t", label2, "http://b.example/<EUC>", 0, 4) +
                       "\t\tENDFOLDER:\r\n" + Entry("\t\t", "S", "http://c.example/<SJIS>", 7, 0) +
                       "\tENDFOLDER:\r\n" + "ENDROOT:\r\n";
    Load(file);

    ASSERT_EQ(6, m_tree.GetFlatCount());
    CSearchEngineNode* root = m_tree.GetRoot();
    EXPECT_EQ(root, m_tree.GetNode(0));
    EXPECT_STREQ("SearchROOT", root->m_label);
    EXPECT_STREQ(Path("SearchEngine.dat"), root->m_url);
    CSearchEngineNode* first = m_tree.GetNode(1);
    EXPECT_STREQ(label1.c_str(), first->m_label);
    EXPECT_STREQ(url1.c_str(), first->m_url);
    EXPECT_STREQ("Icon\\a.ico", first->m_iconPath);  // kept though it does not load
    EXPECT_EQ(1, first->m_addTool);
    EXPECT_EQ(3, first->m_state);
    EXPECT_EQ(CSearchEngineNode::kFolder, m_tree.GetNode(2)->m_kind);
    EXPECT_STREQ(kHyo, m_tree.GetNode(2)->m_label);
    EXPECT_STREQ("Inner", m_tree.GetNode(3)->m_label);
    EXPECT_STREQ(label2.c_str(), m_tree.GetNode(4)->m_label);
    EXPECT_STREQ("S", m_tree.GetNode(5)->m_label);
    EXPECT_EQ(3, m_tree.m_containers.GetSize());
    for (INT_PTR i = 0; i < m_tree.GetFlatCount(); ++i)
        EXPECT_EQ(i, m_tree.GetNode(i)->m_flatIndex);

    EXPECT_EQ(file, SaveAndRead());
}

TEST_F(SearchEngineTreeTest, LastHolderOfEachRoleKeepsIt)
{
    Load("ROOT:\n" + Entry("", "A", "u1", 0, 1) + Entry("", "B", "u2", 0, 1 | 16) +
         Entry("", "C", "u3", 0, 2 | 4 | 8) + Entry("", "D", "u4", 0, 8) + "ENDROOT:\n");
    CSearchEngineNode* a = m_tree.GetNode(1);
    CSearchEngineNode* b = m_tree.GetNode(2);
    CSearchEngineNode* c = m_tree.GetNode(3);
    CSearchEngineNode* d = m_tree.GetNode(4);
    EXPECT_EQ(0, a->m_state);
    EXPECT_EQ(b, m_tree.GetCurrentEngine());
    EXPECT_EQ(b, m_tree.GetRoleHolder(kRoleDragLeft));
    EXPECT_EQ(c, m_tree.GetRoleHolder(kRoleDragUp));
    EXPECT_EQ(c, m_tree.GetRoleHolder(kRoleDragRight));
    EXPECT_EQ(d, m_tree.GetRoleHolder(kRoleDragDown));
    EXPECT_EQ(2 | 4, c->m_state);

    m_tree.SetCurrentEngine(a);
    EXPECT_EQ(a, m_tree.GetCurrentEngine());
    EXPECT_EQ(1, a->m_state);
    EXPECT_EQ(16, b->m_state);
    // Folders and the root never take a role.
    m_tree.SetCurrentEngine(m_tree.GetRoot());
    EXPECT_EQ(a, m_tree.GetCurrentEngine());
}

TEST_F(SearchEngineTreeTest, MalformedContentIsSkippedAsTheGrammarSays)
{
    Load("junk before\n"
         "ROOT:\n"
         "  ENTRY:\n    LABEL:NoUrl\n    URL:\n    STATE:1\n"      // dropped
         "ENTRY:\nLABEL:Swallow\nURL:u\nADDTOOL:x\n"              // no STATE: line...
         "FOLDER:\nLABEL:Lost\nPATH:\n"                            // ...swallows this line
         "entry:\nLABEL:lower\nURL:v\nSTATE:0\n"                   // lower-case key skipped
         "FOLDER:\nPATH:\n"                                        // no label: no folder
         "ENTRY:\nLABEL:Flat\nURL:w\nSTATE:32x\n"
         "ENDFOLDER:\n"                                            // closes the root body
         "ENTRY:\nLABEL:Outside\nURL:z\nSTATE:0\n"                 // outside any body
         "ROOT:\n"                                                 // a second body, same root
         "ENTRY:\nLABEL:Second\nURL:s\nSTATE:+5\n");
    ASSERT_EQ(4, m_tree.GetFlatCount());
    EXPECT_STREQ("Swallow", m_tree.GetNode(1)->m_label);
    EXPECT_EQ(0, m_tree.GetNode(1)->m_addTool);
    EXPECT_STREQ("Flat", m_tree.GetNode(2)->m_label);
    EXPECT_EQ(32, m_tree.GetNode(2)->m_state);
    EXPECT_STREQ("Second", m_tree.GetNode(3)->m_label);
    EXPECT_EQ(3, m_tree.GetNode(3)->m_flatIndex);
    EXPECT_EQ(3, m_tree.GetRoot()->GetChildCount());
}

TEST_F(SearchEngineTreeTest, MissingFilesAndFilesWithoutRootGiveTheRootAlone)
{
    m_tree.Load(Path("Missing.dat"));
    ASSERT_NE(nullptr, m_tree.GetRoot());
    EXPECT_EQ(0, m_tree.GetFlatCount());
    Load("ENTRY:\nLABEL:a\nURL:b\nSTATE:1\n");
    EXPECT_EQ(0, m_tree.GetFlatCount());
    EXPECT_EQ(nullptr, m_tree.GetCurrentEngine());
    Load("ROOT:\nENDROOT:\n");
    EXPECT_EQ(1, m_tree.GetFlatCount());
    EXPECT_EQ("ROOT:\r\nENDROOT:\r\n", SaveAndRead());
}

TEST_F(SearchEngineTreeTest, NodesBeyondTheCommandRangeAreKeptWithoutAnIndex)
{
    std::string file = "ROOT:\n";
    for (int i = 1; i <= 520; ++i)
        file += Entry("\t", "E" + std::to_string(i), "u", 1, i == 520 ? 1 : 0, "a.ico");
    file += "ENDROOT:\n";
    Load(file);
    EXPECT_EQ(CSearchEngineTree::kCommandCount, m_tree.GetFlatCount());
    EXPECT_STREQ("E511", m_tree.GetNode(511)->m_label);
    EXPECT_EQ(nullptr, m_tree.GetNode(512));
    CSearchEngineNode* last = m_tree.GetRoot()->GetChild(519);
    EXPECT_EQ(-1, last->m_flatIndex);
    EXPECT_EQ(last, m_tree.GetCurrentEngine());
    EXPECT_EQ(520, m_tree.GetRoot()->GetChildCount());
    EXPECT_NE(std::string::npos, SaveAndRead().find("LABEL:E520\r\n"));
}

TEST_F(SearchEngineTreeTest, FoldersNestedTooDeeplyAreSkippedWhole)
{
    std::string file = "ROOT:\n";
    for (int i = 0; i < 5000; ++i)
        file += "FOLDER:\nLABEL:f\nPATH:\n";
    file += Entry("", "Deep", "d", 0, 0);
    for (int i = 0; i < 5000; ++i)
        file += "ENDFOLDER:\n";
    file += Entry("", "After", "a", 0, 0) + "ENDROOT:\n";
    Load(file);
    ASSERT_EQ(1 + KeywordTreeFile::kMaxFolderDepth + 1, m_tree.GetFlatCount());
    EXPECT_STREQ("After", m_tree.GetNode(m_tree.GetFlatCount() - 1)->m_label);
    EXPECT_EQ(2, m_tree.GetRoot()->GetChildCount());
}

TEST_F(SearchEngineTreeTest, DefaultListIsCopiedOnlyWhenTheListIsMissing)
{
    m_folder.WriteBytes("SearchEngineDefault.dat", "ROOT:\n" + Entry("", "Def", "d", 0, 1));
    CString folder = m_folder.Path().c_str();
    LoadSearchEngineFile(m_tree, folder);
    EXPECT_TRUE(m_folder.Exists("SearchEngine.dat"));
    ASSERT_EQ(2, m_tree.GetFlatCount());
    EXPECT_STREQ("Def", m_tree.GetNode(1)->m_label);

    m_folder.WriteBytes("SearchEngine.dat", "ROOT:\n" + Entry("", "Mine", "m", 0, 1));
    LoadSearchEngineFile(m_tree, folder);
    EXPECT_STREQ("Mine", m_tree.GetNode(1)->m_label);

    m_tree.SetCurrentEngine(nullptr);
    ASSERT_TRUE(SaveSearchEngineFile(m_tree, folder));
    EXPECT_EQ("ROOT:\r\n" + Entry("\t", "Mine", "m", 0, 1) + "ENDROOT:\r\n",
              m_folder.ReadBytes("SearchEngine.dat"));
}

// The exit writes the list back only when it was read: a file held by another
// program at start, or no list and no default, is never replaced by the root.
TEST_F(SearchEngineTreeTest, AListThatCouldNotBeReadSurvivesTheExit)
{
    CString folder = m_folder.Path().c_str();
    LoadSearchEngineFile(m_tree, folder);  // neither the list nor the default
    EXPECT_FALSE(m_tree.WasFileRead());
    EXPECT_FALSE(SaveSearchEngineFile(m_tree, folder));
    EXPECT_FALSE(m_folder.Exists("SearchEngine.dat"));

#ifdef _WIN32
    const std::string mine = "ROOT:\r\n" + Entry("\t", "Mine", "m", 0, 1) + "ENDROOT:\r\n";
    m_folder.WriteBytes("SearchEngine.dat", mine);
    {
        CFile holder;  // another program holds the list while we start
        ASSERT_TRUE(holder.Open(Path("SearchEngine.dat"), CFile::modeRead | CFile::shareExclusive));
        LoadSearchEngineFile(m_tree, folder);
    }
    EXPECT_FALSE(m_tree.WasFileRead());
    EXPECT_EQ(0, m_tree.GetFlatCount());
    EXPECT_FALSE(SaveSearchEngineFile(m_tree, folder));
    EXPECT_EQ(mine, m_folder.ReadBytes("SearchEngine.dat"));
#endif
}

// Each step of the replacement made to fail: the old list stays whole and
// the caller hears of it.
TEST_F(SearchEngineTreeTest, InjectedWriteFailuresKeepTheOldListAndAreReported)
{
    const std::string mine = "ROOT:\r\n" + Entry("\t", "Mine", "m", 0, 1) + "ENDROOT:\r\n";
    m_folder.WriteBytes("SearchEngine.dat", mine);
    CString folder = m_folder.Path().c_str();
    LoadSearchEngineFile(m_tree, folder);
    ASSERT_TRUE(m_tree.WasFileRead());
    m_tree.GetNode(1)->m_label = "Changed";
    for (CAtomicTextFile::Fault fault : {CAtomicTextFile::kFailCreate, CAtomicTextFile::kFailWrite,
                                         CAtomicTextFile::kFailMove}) {
        CAtomicTextFile::InjectFault(fault);
        EXPECT_FALSE(SaveSearchEngineFile(m_tree, folder)) << fault;
        CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
        EXPECT_EQ(mine, m_folder.ReadBytes("SearchEngine.dat")) << fault;
    }
    EXPECT_TRUE(SaveSearchEngineFile(m_tree, folder));
    EXPECT_NE(std::string::npos, m_folder.ReadBytes("SearchEngine.dat").find("LABEL:Changed\r\n"));
}

// Labels and URLs are written as counted texts: a NUL inside does not cut
// them, so the entry is still there at the next load.
TEST_F(SearchEngineTreeTest, ANulInsideALabelDoesNotCutTheEntry)
{
    Load("ROOT:\n" + Entry("", "x", "u", 0, 0));
    m_tree.GetNode(1)->m_label = CString("\0tail", 5);
    m_tree.GetNode(1)->m_url = CString("http://a/\0b", 11);
    std::string written = SaveAndRead();
    EXPECT_NE(std::string::npos, written.find(std::string("LABEL:\0tail\r\n", 13)));
    m_tree.Load(Path("Saved.dat"));
    ASSERT_EQ(2, m_tree.GetFlatCount());
    EXPECT_EQ(5, m_tree.GetNode(1)->m_label.GetLength());
}

TEST(KeywordTreeFileTest, NumbersAndLinesReadAsTheFormatSays)
{
    using KeywordTreeFile::ParseNumber;
    EXPECT_EQ(0, ParseNumber(""));
    EXPECT_EQ(0, ParseNumber("x1"));
    EXPECT_EQ(12, ParseNumber("12abc"));
    EXPECT_EQ(-7, ParseNumber("-7"));
    EXPECT_EQ(2147483647, ParseNumber("99999999999999999999"));
    EXPECT_EQ(-2147483647 - 1, ParseNumber("-99999999999999999999"));
    EXPECT_TRUE(KeywordTreeFile::IsRootLine(" \tROOT: \t"));
    EXPECT_FALSE(KeywordTreeFile::IsRootLine("ROOT:x"));
}

} // namespace

namespace {

TEST(ShippedSearchEnginesTest, DefaultListHasACurrentEngineEveryEncodingAndFolders)
{
    ProgramFolder folder;
    CSearchEngineTree tree;
    LoadSearchEngineFile(tree, folder.Path().c_str());
    ASSERT_GT(tree.GetFlatCount(), 5);
    ASSERT_NE(nullptr, tree.GetCurrentEngine());
    int tags[3] = {};
    int folders = 0;
    for (INT_PTR i = 1; i < tree.GetFlatCount(); ++i) {
        const CSearchEngineNode* node = tree.GetNode(i);
        folders += node->m_kind == CSearchEngineNode::kFolder;
        const char* url = node->m_url;
        tags[0] += strstr(url, "<UTF8>") != nullptr;
        tags[1] += strstr(url, "<EUC>") != nullptr;
        tags[2] += strstr(url, "<SJIS>") != nullptr;
    }
    EXPECT_GT(folders, 0);
    EXPECT_GT(tags[0], 0);
    EXPECT_GT(tags[1], 0);
    EXPECT_GT(tags[2], 0);
    // The shipped file is written as the program writes it.
    ASSERT_TRUE(tree.Save(folder.File("Saved.dat").c_str()));
    EXPECT_EQ(folder.ReadBytes("SearchEngineDefault.dat"), folder.ReadBytes("Saved.dat"));
}

} // namespace
