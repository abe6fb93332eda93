// Favorites-folder links ("va-fava:") and the keys that invert a new tab's
// activation.
#include <windows.h>

#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/core/File.h"
#include "bars/PageTabBar.h"
#include "shared/AppSettings.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

class ShortcutFolder : public TabTest
{
protected:
    // A folder of the Favorite folder with n Internet shortcuts; returns its
    // "va-fava:" link with the path percent-escaped.
    std::string MakeFolder(const std::string& name, int n)
    {
        m_folder->MakeFolder("Favorite");
        m_folder->MakeFolder("Favorite/" + name);
        for (int i = 0; i < n; ++i)
            m_folder->WriteBytes("Favorite/" + name + "/s" + std::to_string(i) + ".url",
                                 "[InternetShortcut]\r\nURL=http://example.com/" + std::to_string(i) +
                                     "\r\n");
        return "va-fava:" + Escape(m_folder->File("Favorite/" + name));
    }
    std::string FavoritePage() const { return "file:///" + m_folder->File("Favorite/index.html"); }

    static std::string Escape(const std::string& path)
    {
        std::string out;
        for (char c : path) {
            if (c == '\\')
                out += "%5C";
            else if (c == ' ')
                out += "%20";
            else if (c == '%')
                out += "%25";
            else
                out += c;
        }
        return out;
    }
};

} // namespace

TEST_F(ShortcutFolder, OwnFavoritePageOpensEveryShortcutOfTheFolder)
{
    std::string link = MakeFolder("News", 12);
    AppSettings().iParentTabNewRule = 0x04;  // into a group named after the folder
    AppSettings().iTabAppendPos = 3;
    EXPECT_TRUE(theApp.OpenShortcut(link.c_str(), FavoritePage().c_str()));
    Pump();
    ASSERT_EQ(1, theApp.GetGroupCount());
    CTabGroup* group = theApp.GetGroupAt(0);
    EXPECT_EQ(12, group->GetTabCount());
    EXPECT_STREQ("News[%c]", group->m_captionTemplate);
    // The batch leaves the append setting as it found it.
    EXPECT_EQ(3, AppSettings().iTabAppendPos);
    EXPECT_FALSE(m_frame->m_pPageTabBar->IsUpdating());
}

TEST_F(ShortcutFolder, OtherPagesNetworkAndParentPathsAreRefused)
{
    std::string link = MakeFolder("News", 2);
    EXPECT_TRUE(theApp.OpenShortcut(link.c_str(), "http://evil.example/"));
    std::string unc = "va-fava:%5C%5Cserver%5Cshare%5C";
    EXPECT_TRUE(theApp.OpenShortcut(unc.c_str(), FavoritePage().c_str()));
    std::string parent = link + "%5C..%5C..";
    EXPECT_TRUE(theApp.OpenShortcut(parent.c_str(), FavoritePage().c_str()));
    Pump();
    EXPECT_EQ(0, theApp.GetGroupCount());
    EXPECT_FALSE(theApp.OpenShortcut("http://example.com/", nullptr));
}

TEST_F(ShortcutFolder, PageLinkIsCancelledInTheView)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    BOOL cancel = FALSE;
    tab->m_pView->OnBeforeNavigate2(tab->m_pView->GetBrowser(), "va-fava:C:%5C", &cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(1, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
}

TEST_F(TabTest, CtrlAloneInvertsTheActivationOfANewTab)
{
    CTabItem* first = Open(nullptr, "about:blank");
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    CTabItem* front = Open(nullptr, "about:blank", kReasonPageBackground);
    CTabItem* back = Open(nullptr, "about:blank", kReasonPageForeground);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(front, Active());
    EXPECT_NE(back, Active());
    (void)first;
}

TEST_F(ShortcutFolder, FolderWithoutPagesReportsAndLeavesTheSettingsAsTheyWere)
{
    std::string link = MakeFolder("Empty", 0);
    m_folder->WriteBytes("Favorite/Empty/script.url", "[InternetShortcut]\r\nURL=javascript:alert(1)\r\n");
    AppSettings().iTabAppendPos = 2;
    AnswerNextMessageBox(IDOK);
    EXPECT_TRUE(theApp.OpenShortcut(link.c_str(), FavoritePage().c_str()));
    EXPECT_TRUE(s_messageBoxSeen);
    EXPECT_EQ(2, AppSettings().iTabAppendPos);
    EXPECT_FALSE(m_frame->m_pPageTabBar->IsUpdating());
    EXPECT_EQ(0, theApp.GetGroupCount());
}

// "予定表" ends in the trail byte 0x5C: still a folder name that needs its
// separator. A "%" in a name stays literal in the group's caption, and a
// shortcut without a "URL=" line neither opens nor counts.
TEST_F(ShortcutFolder, Cp932AndPercentFolderNamesOpenAsGroupsOfTheirShortcuts)
{
    AppSettings().iParentTabNewRule = 0x04;
    const std::string names[] = {"\x97\x5c\x92\xe8\x95\x5c", "50%c"};
    for (const std::string& name : names) {
        m_folder->MakeFolder("Favorite");
        const std::string folder = m_folder->File("Favorite/" + name);
        ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
        for (const char* file : {"\\a.url", "\\b.url"}) {
            CFile out;
            ASSERT_TRUE(out.Open((folder + file).c_str(), CFile::modeCreate | CFile::modeWrite));
            const std::string text = "[InternetShortcut]\r\nURL=http://example.com/\r\n";
            ASSERT_TRUE(out.Write(text.data(), static_cast<UINT>(text.size())));
        }
        CFile bare;
        ASSERT_TRUE(bare.Open((folder + "\\c.url").c_str(), CFile::modeCreate | CFile::modeWrite));
        bare.Close();

        const std::string link = "va-fava:" + Escape(folder);
        EXPECT_TRUE(theApp.OpenShortcut(link.c_str(), FavoritePage().c_str()));
        Pump();
        CTabGroup* group = theApp.m_groups.empty() ? nullptr : theApp.m_groups.back();
        ASSERT_NE(nullptr, group) << name;
        EXPECT_EQ(2, group->GetTabCount()) << name;
        CString expected(name.c_str());
        expected.Replace("%", "%%");
        EXPECT_STREQ(expected + "[%c]", group->m_captionTemplate) << name;
    }
    EXPECT_EQ(2, theApp.GetGroupCount());
}

TEST_F(ShortcutFolder, DecodedNulInTheFolderIsRefused)
{
    std::string link = MakeFolder("News", 2) + "%00%5C..%5C..";
    EXPECT_TRUE(theApp.OpenShortcut(link.c_str(), FavoritePage().c_str()));
    Pump();
    EXPECT_EQ(0, theApp.GetGroupCount());
}
