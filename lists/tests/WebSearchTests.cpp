// The search commands: which URLs open, in which group, with which pauses.
#include <algorithm>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists/WebSearch.h"
#include "tests/support/ProgramFolder.h"

namespace {

// Records every call as a line of text.
class FakeTabs : public ISearchTabs
{
public:
    CTabGroup* CreateSearchGroup(const CString& name, bool defaultOptions) override
    {
        log.push_back("group " + std::string(name) + (defaultOptions ? " default" : " search"));
        return makeGroups ? reinterpret_cast<CTabGroup*>(&log) : nullptr;
    }
    bool OpenSearchTab(CTabGroup* group, const CString& url, int reason) override
    {
        log.push_back(std::string(group != nullptr ? "new " : "cur ") + std::string(url) + " " +
                      std::to_string(reason));
        return --acceptTabs >= 0;
    }
    void DiscardSearchGroup(CTabGroup*) override { log.push_back("discard"); }
    void BeginBatch() override { log.push_back("begin"); }
    void PauseBatch() override { log.push_back("pause"); }
    void EndBatch() override { log.push_back("end"); }

    std::vector<std::string> log;
    bool makeGroups = true;
    int acceptTabs = 1000;
};

std::string Entry(const std::string& label, const std::string& url, int state)
{
    return "ENTRY:\nLABEL:" + label + "\nURL:" + url + "\nICON:\nADDTOOL:0\nSTATE:" +
           std::to_string(state) + "\n";
}

class WebSearchTest : public ::testing::Test
{
protected:
    void Load(const std::string& bytes)
    {
        m_folder.WriteBytes("SearchEngine.dat", bytes);
        m_tree.Load(m_folder.File("SearchEngine.dat").c_str());
    }
    void LoadStandard()
    {
        Load("ROOT:\n" + Entry("A", "a?q=<UTF8>", 1) + Entry("B", "b?q=<SJIS>", 0) +
             "FOLDER:\nLABEL:50%[%c]\nPATH:\n" + Entry("C", "c?<EUC>", 0) +
             "FOLDER:\nLABEL:Sub\nPATH:\n" + Entry("D", "d", 0) + "ENDFOLDER:\n" +
             Entry("E", "e?<UTF8>", 0) + "ENDFOLDER:\n" +
             "FOLDER:\nLABEL:Empty\nPATH:\nENDFOLDER:\nENDROOT:\n");
        // 0 root, 1 A, 2 B, 3 folder, 4 C, 5 Sub, 6 D, 7 E, 8 Empty
    }

    ProgramFolder m_folder{ProgramFolder::kEmpty};
    CSearchEngineTree m_tree;
    FakeTabs m_tabs;
    CWebSearch m_search{m_tree, m_tabs};
};

using Log = std::vector<std::string>;

TEST_F(WebSearchTest, CurrentEngineSearchFollowsTheNewGroupRuleAndModifiers)
{
    LoadStandard();
    EXPECT_EQ(CWebSearch::kSearched, m_search.Run(0, "k w", false, false, 0));
    EXPECT_EQ((Log{"cur a?q=k+w 0"}), m_tabs.log);
    EXPECT_STREQ("k w", m_search.GetLastKeyword());

    m_tabs.log.clear();
    m_search.Run(0, "50%[%c]", true, false, 0);  // Ctrl reverses: a new group
    EXPECT_EQ((Log{"group 50%[%c] search", "new a?q=50%25%5B%25c%5D 0"}), m_tabs.log);

    m_tabs.log.clear();
    m_search.Run(0, "k", false, true, kRuleSearchNewGroup);  // reversed back
    EXPECT_EQ((Log{"cur a?q=k 0"}), m_tabs.log);

    m_tabs.log.clear();
    m_search.Run(kCmdRunSearch, "k", false, false, kRuleSearchNewGroup);
    EXPECT_EQ((Log{"group k search", "new a?q=k 0"}), m_tabs.log);
}

TEST_F(WebSearchTest, ModifiersOnAnEngineMakeItCurrent)
{
    LoadStandard();
    EXPECT_EQ(CWebSearch::kFocusSearchBox, m_search.Run(30003, "k", true, false, 0));
    EXPECT_TRUE(m_tabs.log.empty());
    EXPECT_STREQ("B", m_tree.GetCurrentEngine()->m_label);
    EXPECT_EQ(0, m_tree.GetNode(1)->m_state);

    EXPECT_EQ(CWebSearch::kSearched, m_search.Run(30002, "k", false, true, 0));
    EXPECT_STREQ("A", m_tree.GetCurrentEngine()->m_label);
    EXPECT_EQ((Log{"cur a?q=k 0"}), m_tabs.log);

    m_tabs.log.clear();
    m_search.Run(30003, "\x8C\x9F", false, false, kRuleSearchNewGroup);
    EXPECT_EQ((Log{"group \x8C\x9F search", "new b?q=%8C%9F 0"}), m_tabs.log);
    EXPECT_STREQ("A", m_tree.GetCurrentEngine()->m_label);
}

TEST_F(WebSearchTest, FolderSearchOpensTheDirectEntriesAsABatch)
{
    LoadStandard();
    EXPECT_EQ(CWebSearch::kSearched, m_search.Run(30004, "k", false, false, 0));
    EXPECT_EQ((Log{"begin", "pause", "cur c?k 1", "cur e?k 1", "end"}), m_tabs.log);

    m_tabs.log.clear();
    m_search.Run(30004, "k", false, false, kRuleFolderSearchNewGroup);
    EXPECT_EQ((Log{"group 50%[%c] default", "begin", "pause", "new c?k 1", "new e?k 1", "end"}),
              m_tabs.log);

    // The root: its own entries only.
    m_tabs.log.clear();
    m_search.Run(30001, "k", false, false, kRuleFolderSearchNewGroup);
    EXPECT_EQ((Log{"group SearchROOT default", "begin", "pause", "new a?q=k 1", "new b?q=k 1",
                   "end"}),
              m_tabs.log);

    // A folder without entries: nothing opens and no group is made.
    m_tabs.log.clear();
    m_search.Run(30009, "k", false, false, kRuleFolderSearchNewGroup);
    EXPECT_EQ((Log{}), m_tabs.log);
}

TEST_F(WebSearchTest, RefusedTabsEndASingleSearchAndRedirectABatch)
{
    std::string file = "ROOT:\n";
    for (int i = 0; i < 25; ++i)
        file += Entry("E" + std::to_string(i), "u" + std::to_string(i), 0);
    Load(file);
    m_tabs.acceptTabs = 11;
    m_search.Run(30001, "k", false, false, kRuleFolderSearchNewGroup);
    ASSERT_EQ(1u + 1 + 3 + 25 + 1, m_tabs.log.size());
    EXPECT_EQ("pause", m_tabs.log[2]);
    EXPECT_EQ("new u0 1", m_tabs.log[3]);
    EXPECT_EQ("pause", m_tabs.log[13]);
    EXPECT_EQ("new u10 1", m_tabs.log[14]);
    EXPECT_EQ("new u11 1", m_tabs.log[15]);  // refused
    EXPECT_EQ("cur u12 1", m_tabs.log[16]);
    EXPECT_EQ("pause", m_tabs.log[24]);
    EXPECT_EQ("cur u20 1", m_tabs.log[25]);

    m_tabs.log.clear();
    m_tabs.acceptTabs = 0;
    SearchPlan plan = PlanEngineSearch("k", "x<SJIS>", false, 0);
    plan.urls.Add("second");
    plan.pauseBefore.Add(0);
    EXPECT_EQ(0, OpenSearchPlan(plan, m_tabs));
    EXPECT_EQ((Log{"cur xk 0"}), m_tabs.log);
}

// A new group whose first tab is refused does not stay on the bar empty.
TEST_F(WebSearchTest, ANewGroupWithoutTabsIsDiscarded)
{
    m_tabs.acceptTabs = 0;
    SearchPlan plan = PlanEngineSearch("k", "x<SJIS>", false, kRuleSearchNewGroup);
    ASSERT_TRUE(plan.newGroup);
    EXPECT_EQ(0, OpenSearchPlan(plan, m_tabs));
    EXPECT_EQ((Log{"group k search", "new xk 0", "discard"}), m_tabs.log);

    LoadStandard();
    m_tabs.log.clear();
    m_tabs.acceptTabs = 0;  // refused in the new group, then in the current one
    m_search.Run(30004, "k", false, false, kRuleFolderSearchNewGroup);
    EXPECT_EQ("discard", m_tabs.log[m_tabs.log.size() - 2]);

    m_tabs.log.clear();
    m_tabs.acceptTabs = 1;  // the new group keeps its first tab
    m_search.Run(30004, "k", false, false, kRuleFolderSearchNewGroup);
    EXPECT_EQ(m_tabs.log.end(), std::find(m_tabs.log.begin(), m_tabs.log.end(), "discard"));
}

TEST_F(WebSearchTest, DroppedTextUsesItsDirectionsEngineOrTheCurrentOne)
{
    Load("ROOT:\n" + Entry("A", "a<SJIS>", 1) + Entry("B", "b<SJIS>", kRoleDragDown) +
         "ENDROOT:\n");
    EXPECT_TRUE(m_search.SearchDroppedText("x", kRoleDragDown, 0));
    EXPECT_TRUE(m_search.SearchDroppedText("y", kRoleDragUp, 0));
    EXPECT_FALSE(m_search.SearchDroppedText("", kRoleDragUp, 0));
    EXPECT_EQ((Log{"cur bx 0", "cur ay 0"}), m_tabs.log);
    EXPECT_STREQ("y", m_search.GetLastKeyword());
}

TEST_F(WebSearchTest, NothingHappensWithoutKeywordEnginesOrAValidNode)
{
    LoadStandard();
    EXPECT_EQ(CWebSearch::kNothing, m_search.Run(0, "", false, false, 0));
    EXPECT_EQ(CWebSearch::kNothing, m_search.Run(30010, "k", false, false, 0));
    EXPECT_EQ(CWebSearch::kNothing, m_search.Run(30000 + 513, "k", false, false, 0));
    EXPECT_TRUE(m_tabs.log.empty());

    Load("ROOT:\n" + Entry("A", "a", 0) + "ENDROOT:\n");  // no current engine
    EXPECT_EQ(CWebSearch::kNothing, m_search.Run(0, "k", false, false, 0));
    Load("ROOT:\nENDROOT:\n");
    EXPECT_EQ(CWebSearch::kNothing, m_search.Run(30001, "k", false, false, 0));
    EXPECT_TRUE(m_tabs.log.empty());
    EXPECT_STREQ("", m_search.GetLastKeyword());
}

} // namespace
