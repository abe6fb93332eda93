// The search engines as owner-drawn menu items: commands by command index,
// the current engine's check mark, folders as submenus, captions and
// columns.
#include <windows.h>

#include <gtest/gtest.h>

#include "lists/SearchEngineMenu.h"
#include "menulib/NewMenu.h"
#include "tests/support/ProgramFolder.h"

namespace {

std::string Entry(const std::string& label, int state)
{
    return "ENTRY:\r\nLABEL:" + label + "\r\nURL:http://s/?q=<UTF8>\r\nICON:\r\nADDTOOL:0\r\nSTATE:" +
           std::to_string(state) + "\r\n";
}

CString Text(const CNewMenu& menu, int position)
{
    CString text;
    EXPECT_TRUE(menu.GetMenuText(static_cast<UINT>(position), text, MF_BYPOSITION));
    return text;
}

class SearchEngineMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_menu.Attach(::CreatePopupMenu()));
        m_texts.searchAll = "All";
        m_texts.emptyFolder = "(none)";
    }

    ProgramFolder m_folder{ ProgramFolder::kEmpty };
    CSearchEngineTree m_tree;
    CNewMenu m_menu;
    SearchEngineMenuTexts m_texts;
};

} // namespace

TEST_F(SearchEngineMenuTest, EnginesAndFoldersBecomeCommandsOfTheirIndexes)
{
    m_folder.WriteBytes("SearchEngine.dat",
                        "ROOT:\r\n" + Entry("One", 0) + Entry("R&D", 1) +
                            "FOLDER:\r\nLABEL:Dict\r\nPATH:\r\n" + Entry("Two", 0) +
                            "ENDFOLDER:\r\nFOLDER:\r\nLABEL:Empty\r\nPATH:\r\nENDFOLDER:\r\nENDROOT:\r\n");
    m_tree.Load(m_folder.File("SearchEngine.dat").c_str());
    ASSERT_EQ(6, m_tree.GetFlatCount());  // root, One, R&D, Dict, Two, Empty

    BuildSearchEngineMenu(m_menu, m_tree, m_texts);
    ASSERT_EQ(6, ::GetMenuItemCount(m_menu.m_hMenu));
    EXPECT_EQ(30001u, ::GetMenuItemID(m_menu.m_hMenu, 0));
    EXPECT_STREQ("All", Text(m_menu, 0));
    EXPECT_TRUE(::GetMenuState(m_menu.m_hMenu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(30002u, ::GetMenuItemID(m_menu.m_hMenu, 2));
    EXPECT_FALSE(::GetMenuState(m_menu.m_hMenu, 2, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(30003u, ::GetMenuItemID(m_menu.m_hMenu, 3));
    EXPECT_TRUE(::GetMenuState(m_menu.m_hMenu, 3, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_STREQ("R&&D", Text(m_menu, 3));

    CNewMenu* dict = m_menu.GetSubMenu(4);
    ASSERT_NE(nullptr, dict);
    EXPECT_STREQ("Dict", Text(m_menu, 4));
    ASSERT_EQ(3, ::GetMenuItemCount(dict->m_hMenu));
    EXPECT_EQ(30004u, ::GetMenuItemID(dict->m_hMenu, 0));  // all engines of the folder
    EXPECT_STREQ("All", Text(*dict, 0));
    EXPECT_EQ(30005u, ::GetMenuItemID(dict->m_hMenu, 2));

    CNewMenu* empty = m_menu.GetSubMenu(5);
    ASSERT_NE(nullptr, empty);
    ASSERT_EQ(1, ::GetMenuItemCount(empty->m_hMenu));
    EXPECT_EQ(kCmdSearchEngineNone, ::GetMenuItemID(empty->m_hMenu, 0));
    EXPECT_TRUE(::GetMenuState(empty->m_hMenu, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_STREQ("(none)", Text(*empty, 0));
    EXPECT_EQ(1u, empty->Items().size());
}

TEST_F(SearchEngineMenuTest, EnginesBeyondTheCommandRangeAreLeftOut)
{
    std::string file = "ROOT:\r\n";
    for (int i = 0; i < CSearchEngineTree::kCommandCount + 3; ++i)
        file += Entry("E" + std::to_string(i), 0);
    m_folder.WriteBytes("SearchEngine.dat", file + "ENDROOT:\r\n");
    m_tree.Load(m_folder.File("SearchEngine.dat").c_str());

    CNewMenu plain;
    ASSERT_TRUE(plain.Attach(::CreatePopupMenu()));
    AppendSearchEngineItems(plain, *m_tree.GetRoot(), m_texts);
    int count = ::GetMenuItemCount(plain.m_hMenu);
    ASSERT_EQ(CSearchEngineTree::kCommandCount - 1, count);
    EXPECT_EQ(30512u, ::GetMenuItemID(plain.m_hMenu, count - 1));
}

TEST_F(SearchEngineMenuTest, CaptionsAreCutAtCharactersAndShowAmpersands)
{
    // "検索" is two double-byte characters.
    EXPECT_STREQ("\x8C\x9F\x81\x63", MakeMenuCaption("\x8C\x9F\x8D\xF5", 3));
    EXPECT_STREQ("\x8C\x9F\x8D\xF5", MakeMenuCaption("\x8C\x9F\x8D\xF5", 4));
    EXPECT_STREQ("A&&B", MakeMenuCaption("A&B", 55));
    EXPECT_STREQ("A&&\x81\x63", MakeMenuCaption("A&B", 2));
    EXPECT_STREQ("\x81\x63", MakeMenuCaption("abc", 0));
    EXPECT_STREQ("abc", MakeMenuCaption("abc", -1));
}

TEST_F(SearchEngineMenuTest, TallMenusRunInColumnsOfTheItemsThatFit)
{
    for (UINT id = 1; id <= 11; ++id)
        ASSERT_TRUE(m_menu.AppendODMenu("item", MF_STRING, id));
    BreakMenuIntoColumns(m_menu, 0, 20, 220);  // 11 x 20 fits
    for (int i = 0; i < 11; ++i)
        EXPECT_FALSE(::GetMenuState(m_menu.m_hMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_MENUBARBREAK);

    // Five fit: breaks at 5 + 1 and 6 later, while the rest does not fit.
    for (UINT id = 12; id <= 17; ++id)
        ASSERT_TRUE(m_menu.AppendODMenu("item", MF_STRING, id));
    BreakMenuIntoColumns(m_menu, 0, 20, 100);
    for (int i = 0; i < 17; ++i) {
        bool starts = i == 6 || i == 12;
        EXPECT_EQ(starts, (::GetMenuState(m_menu.m_hMenu, static_cast<UINT>(i), MF_BYPOSITION) &
                           MF_MENUBARBREAK) != 0)
            << "position " << i;
        EXPECT_EQ(starts, (m_menu.Items()[static_cast<size_t>(i)]->m_nFlags & MF_MENUBARBREAK) != 0);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        ASSERT_TRUE(::GetMenuItemInfoA(m_menu.m_hMenu, static_cast<UINT>(i), TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(m_menu.Items()[static_cast<size_t>(i)].get()), info.dwItemData);
    }
}
