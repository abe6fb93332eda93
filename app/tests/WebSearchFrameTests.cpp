// Web search through the main frame: the search-engine list reloaded by its
// command, dropped text searched with the engine of its drag direction, and
// the result opened in the current group or a new one.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "lists/WebSearch.h"
#include "shared/AppSettings.h"
#include "shared/FrameMessages.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

std::string Entry(const std::string& label, const std::string& url, int state)
{
    return "\tENTRY:\r\n\t\tLABEL:" + label + "\r\n\t\tURL:" + url +
           "\r\n\t\tICON:\r\n\t\tADDTOOL:0\r\n\t\tSTATE:" + std::to_string(state) + "\r\n";
}

class WebSearchFrame : public TabTest
{
protected:
    void LoadEngines(const std::string& body)
    {
        m_folder->WriteBytes("SearchEngine.dat", "ROOT:\r\n" + body + "ENDROOT:\r\n");
        ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, kCmdReloadSearchEngines, 0);
    }
    void Drop(const char* text, int roleBit)
    {
        ::SendMessageA(m_frame->m_hWnd, WM_FRAME_DROPTEXT, static_cast<WPARAM>(roleBit),
                       reinterpret_cast<LPARAM>(text));
        Pump();
    }
    static std::wstring LastUrl(CTabItem* tab)
    {
        TestWebBrowser* control = ControlOf(tab);
        if (control == nullptr || control->GetNavigateCalls().empty())
            return std::wstring();
        return control->GetNavigateCalls().back().url;
    }
};

} // namespace

TEST_F(WebSearchFrame, DroppedTextUsesItsDirectionsEngineInTheCurrentGroup)
{
    LoadEngines(Entry("Current", "http://cur/?q=<UTF8>", 1) + Entry("Up", "http://up/?q=<SJIS>", 2));
    ASSERT_EQ(3, m_frame->m_searchEngines.GetFlatCount());
    Open(nullptr, "about:blank");
    CTabGroup* group = theApp.GetActiveGroup();
    ASSERT_NE(nullptr, group);

    Drop("  a b ", kRoleDragUp);
    ASSERT_EQ(2, group->GetTabCount());
    EXPECT_EQ(L"http://up/?q=a+b", LastUrl(group->GetTab(1)));
    EXPECT_STREQ("a b", theApp.m_lastSearchKeyword);

    // No engine holds the downward role: the current engine searches.
    Drop("\x8C\x9F", kRoleDragDown);
    ASSERT_EQ(3, group->GetTabCount());
    EXPECT_EQ(L"http://cur/?q=%E6%A4%9C", LastUrl(group->GetTab(2)));
    EXPECT_EQ(1, theApp.GetGroupCount());
}

TEST_F(WebSearchFrame, NewGroupRuleOpensTheResultInAGroupNamedAfterTheKeyword)
{
    LoadEngines(Entry("Current", "http://cur/?q=<UTF8>", 1));
    Open(nullptr, "about:blank");
    AppSettings().iParentTabNewRule = kRuleSearchNewGroup;
    AppSettings().dwDLControlFlags = 0x10;

    Drop("50%c", kRoleCurrent);
    ASSERT_EQ(2, theApp.GetGroupCount());
    CTabGroup* group = theApp.m_groups.back();
    ASSERT_EQ(1, group->GetTabCount());
    EXPECT_EQ(L"http://cur/?q=50%25c", LastUrl(group->GetTab(0)));
    EXPECT_EQ(DWORD(0x10), group->m_options);
    EXPECT_EQ(1, group->m_image);
    // The keyword stays as typed; only the suffix counts the tabs.
    EXPECT_EQ(0, group->m_caption.Find("50%c"));
    EXPECT_NE("50%c[%c]", group->m_caption);
}

// A mail engine opens no tab: the group made for its result goes again.
TEST_F(WebSearchFrame, ANewGroupWhoseTabCannotOpenIsRemovedAgain)
{
    LoadEngines(Entry("Mail", "mailto:x?subject=<SJIS>", 1));
    Open(nullptr, "about:blank");
    AppSettings().iParentTabNewRule = kRuleSearchNewGroup;
    AppSettings().bMailToNotOpen(true);

    Drop("k", kRoleCurrent);
    EXPECT_EQ(1, theApp.GetGroupCount());
    EXPECT_EQ(1, theApp.GetActiveGroup()->GetTabCount());
}

TEST_F(WebSearchFrame, ReloadedListReplacesTheEnginesAndAnEmptyListSearchesNothing)
{
    LoadEngines(Entry("A", "http://a/?q=<UTF8>", 1));
    ASSERT_EQ(2, m_frame->m_searchEngines.GetFlatCount());
    LoadEngines("");
    EXPECT_EQ(1, m_frame->m_searchEngines.GetFlatCount());
    Open(nullptr, "about:blank");
    Drop("word", kRoleCurrent);
    EXPECT_EQ(1, theApp.GetActiveGroup()->GetTabCount());
}
