// Group-tab templates in the File menu and the commands that change the
// current group, through a real main frame and the stand-in dialogs library.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "menulib/NewMenu.h"
#include "shared/AppSettings.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/WindowCapture.h"

namespace {

const std::string kSep = "\x81\x4d";

typedef void(WINAPI* SetAnswerFn)(int, const char*);

// Records what a command's update handler decides.
class ProbeCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    BOOL m_enabled = FALSE;
};

class GroupTabs : public TabTest
{
protected:
    void TearDown() override
    {
        if (m_library != nullptr)
            FreeLibrary(m_library);
        TabTest::TearDown();
    }

    // The stand-in library in the program folder, kept loaded by the test so
    // that its answer stays set across the frame's calls.
    void LoadFakeLibrary(int result, const char* text)
    {
        std::string source = ProgramFolder::PathFromEnvironment("VA_FAKE_FORMBAY_DIR") + "\\Formbay.dll";
        std::string target = m_folder->File("Formbay.dll");
        ASSERT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE));
        m_library = LoadLibraryA(target.c_str());
        ASSERT_NE(nullptr, m_library);
        auto set = reinterpret_cast<SetAnswerFn>(GetProcAddress(m_library, "FakeSetAnswer"));
        ASSERT_NE(nullptr, set);
        set(result, text);
    }

    HMENU FilePopup() { return ::GetSubMenu(::GetMenu(m_frame->m_hWnd), 0); }
    HMENU TemplateMenu()
    {
        HMENU file = FilePopup();
        for (int i = 0, n = 0; i < ::GetMenuItemCount(file); ++i)
            if (HMENU sub = ::GetSubMenu(file, i))
                if (n++ == 1)
                    return sub;
        return nullptr;
    }
    void OpenFileMenu()
    {
        ::SendMessageA(m_frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(FilePopup()),
                       MAKELPARAM(0, FALSE));
    }
    void Command(UINT id) { ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, id, 0); }
    bool Enabled(UINT id)
    {
        ProbeCmdUI probe;
        probe.m_nID = id;
        probe.DoUpdate(m_frame, TRUE);
        return probe.m_enabled != FALSE;
    }

    HMODULE m_library = nullptr;
};

TEST_F(GroupTabs, TemplateMenuHoldsAtMost100DefinitionsWithLiteralAmpersands)
{
    theApp.m_settings.bMenuImage(true);
    std::string lines = "A&B[%c]" + kSep + "96" + kSep + "3\r\nbroken\r\n";
    for (int i = 1; i < 120; ++i)
        lines += "g" + std::to_string(i) + kSep + kSep + "\r\n";
    m_folder->WriteBytes("GroupTab.dat", lines);
    OpenFileMenu();
    HMENU menu = TemplateMenu();
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(103, ::GetMenuItemCount(menu));
    EXPECT_EQ(static_cast<UINT>(ID_GROUP_NEW), ::GetMenuItemID(menu, 0));
    EXPECT_EQ(static_cast<UINT>(ID_GROUPTEMPLATE_FIRST), ::GetMenuItemID(menu, 1));
    EXPECT_EQ(static_cast<UINT>(ID_GROUPTEMPLATE_LAST), ::GetMenuItemID(menu, 100));
    EXPECT_EQ(static_cast<UINT>(ID_GROUPTEMPLATE_EDIT), ::GetMenuItemID(menu, 102));
    CString caption;
    CNewMenu::FromHandleNew(menu)->GetMenuText(1, caption, MF_BYPOSITION);
    EXPECT_EQ(CString("A&&B[%c]"), caption);

    // Built once: a changed file is seen after the editor's OK only.
    m_folder->WriteBytes("GroupTab.dat", "only" + kSep + "0" + kSep + "0\r\n");
    OpenFileMenu();
    EXPECT_EQ(103, ::GetMenuItemCount(TemplateMenu()));
    LoadFakeLibrary(1, "");
    Command(ID_GROUPTEMPLATE_EDIT);
    OpenFileMenu();
    EXPECT_EQ(4, ::GetMenuItemCount(TemplateMenu()));

    // A definition makes a group with its name, switches and image, and the
    // group's default page.
    Command(ID_GROUPTEMPLATE_FIRST);
    CTabGroup* group = theApp.GetActiveGroup();
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(CString("only"), group->m_captionTemplate);
    Pump();
    EXPECT_EQ(1, group->GetTabCount());
    Command(ID_GROUPTEMPLATE_FIRST + 5);  // no such definition
    EXPECT_EQ(1, theApp.GetGroupCount());
}

TEST_F(GroupTabs, WithoutAnyFileTheMenuKeepsItsFirstItemOnly)
{
    m_folder->Remove("GroupTabDefdefault.dat");
    OpenFileMenu();
    EXPECT_EQ(1, ::GetMenuItemCount(TemplateMenu()));
}

TEST_F(GroupTabs, TheShippedDefaultsFillTheMenuWithoutAUserFile)
{
    OpenFileMenu();
    EXPECT_GT(::GetMenuItemCount(TemplateMenu()), 3);
    Command(ID_GROUPTEMPLATE_FIRST);
    ASSERT_EQ(1, theApp.GetGroupCount());
}

TEST_F(GroupTabs, RenameAndCustomiseTakeTheDialogsTextAsTheCaptionTemplate)
{
    Open(nullptr, "http://a.example/");
    Open(nullptr, "http://b.example/");
    CTabGroup* group = theApp.GetActiveGroup();
    LoadFakeLibrary(1, "R%i-%c-%i");
    Command(ID_GROUP_RENAME);
    EXPECT_EQ(CString("R%i-%c-%i"), group->m_captionTemplate);
    CString expected;
    expected.Format("R%d-2-%d", group->m_number, group->m_number);
    EXPECT_EQ(expected, group->m_caption);

    auto set = reinterpret_cast<SetAnswerFn>(GetProcAddress(m_library, "FakeSetAnswer"));
    set(2, "Cancelled");
    Command(ID_GROUP_CUSTOMIZE);
    EXPECT_EQ(CString("R%i-%c-%i"), group->m_captionTemplate);
    set(1, "C[%c]");
    Command(ID_GROUP_CUSTOMIZE);
    EXPECT_EQ(CString("C[2]"), group->m_caption);
}

TEST_F(GroupTabs, ImageCommandsAndTheirStates)
{
    Open(nullptr, "http://a.example/");
    CTabGroup* group = theApp.GetActiveGroup();
    EXPECT_TRUE(Enabled(ID_GROUP_RENAME));
    EXPECT_TRUE(Enabled(ID_GROUP_CLOSEALL));
    EXPECT_FALSE(Enabled(36454));
    EXPECT_FALSE(Enabled(36457));
    m_frame->CloseAllGroupsNow();
    Pump();
    ASSERT_EQ(0, theApp.GetGroupCount());
    EXPECT_TRUE(Enabled(ID_GROUP_NEW));
    EXPECT_FALSE(Enabled(ID_GROUP_RENAME));
    EXPECT_FALSE(Enabled(ID_GROUP_IMAGE));
    Command(ID_GROUP_IMAGE_FIRST + 1);  // no group: nothing
    Open(nullptr, "http://b.example/");
    group = theApp.GetActiveGroup();

    Command(ID_GROUP_IMAGE_LAST);
    EXPECT_EQ(30, group->m_image);
    Command(ID_GROUP_IMAGE_FIRST + 4);
    EXPECT_EQ(4, group->m_image);
}

void CALLBACK PickThirdImage(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = ShownPopupMenu();
    if (menu == nullptr)
        return;
    ::KillTimer(nullptr, id);
    for (int i = 0; i < 3; ++i)
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(GroupTabs, ThePickerSetsTheChosenImage)
{
    Open(nullptr, "http://a.example/");
    CTabGroup* group = theApp.GetActiveGroup();
    m_frame->SetForegroundWindow();
    ::SetTimer(nullptr, 0, 50, PickThirdImage);
    Command(ID_GROUP_IMAGE);
    Pump();
    EXPECT_EQ(2, group->m_image);
}

// The owner-drawn record of an item, or null.
CNewMenuItemData* ItemRecord(HMENU menu, int position, UINT* type = nullptr)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info))
        return nullptr;
    if (type != nullptr)
        *type = info.fType;
    CNewMenu* owner = CNewMenu::FromHandleNew(menu);
    if (!(info.fType & MFT_OWNERDRAW) || owner == nullptr)
        return nullptr;
    return owner->FindRecord(reinterpret_cast<const void*>(info.dwItemData));
}

// Runs check on the popup menu that open shows, while it shows, and closes it.
void CheckMenuOpenedBy(const std::function<void()>& open, const std::function<void(HMENU, HWND)>& check)
{
    EXPECT_TRUE(ReadMenuShownBy(open, check));
}

TEST_F(GroupTabs, TheMenuAtTheGroupTabOffersTwentyImagesAheadOfTheTemplatesWithTheirs)
{
    theApp.m_settings.bMenuImage(true);
    m_folder->WriteBytes("GroupTab.dat", "red" + kSep + "0" + kSep + "3\r\nblue" + kSep + "0" + kSep + "5\r\n");
    Open(nullptr, "http://a.example/");
    HIMAGELIST strip = nullptr;
    CheckMenuOpenedBy([&] { Command(ID_GROUP_TABMENU); }, [&](HMENU menu, HWND) {
        strip = m_frame->m_groupTabImages.GetSafeHandle();
        ASSERT_NE(nullptr, strip);
        ASSERT_EQ(13, ::GetMenuItemCount(menu));
        HMENU images = ::GetSubMenu(menu, 0);
        ASSERT_EQ(20, ::GetMenuItemCount(images));
        for (int i = 0; i < 20; ++i) {
            UINT type = 0;
            CNewMenuItemData* record = ItemRecord(images, i, &type);
            ASSERT_NE(nullptr, record);
            EXPECT_EQ(static_cast<UINT>(ID_GROUP_IMAGE_FIRST + i), ::GetMenuItemID(images, i));
            EXPECT_EQ(i == 10, (type & MFT_MENUBREAK) != 0);
            ASSERT_TRUE(record->HasImage());
            EXPECT_EQ(ImagePixels(strip, i), ImagePixels(record->GetImageList(), record->GetImageIndex())) << i;
        }
        HMENU templates = ::GetSubMenu(menu, 1);
        ASSERT_EQ(5, ::GetMenuItemCount(templates));
        EXPECT_EQ(static_cast<UINT>(ID_GROUP_NEW), ::GetMenuItemID(templates, 0));
        EXPECT_EQ(static_cast<UINT>(ID_GROUPTEMPLATE_FIRST + 1), ::GetMenuItemID(templates, 2));
        EXPECT_EQ(static_cast<UINT>(ID_GROUPTEMPLATE_EDIT), ::GetMenuItemID(templates, 4));
        CNewMenuItemData* red = ItemRecord(templates, 1);
        CNewMenuItemData* blue = ItemRecord(templates, 2);
        ASSERT_TRUE(red != nullptr && red->HasImage() && blue != nullptr && blue->HasImage());
        EXPECT_EQ(CString("blue"), blue->m_strText);
        EXPECT_NE(ImagePixels(strip, 3), ImagePixels(strip, 5));
        EXPECT_EQ(ImagePixels(strip, 3), ImagePixels(red->GetImageList(), red->GetImageIndex()));
        EXPECT_EQ(ImagePixels(strip, 5), ImagePixels(blue->GetImageList(), blue->GetImageIndex()));
    });
}

TEST_F(GroupTabs, TheGroupButtonsDropDownIsTheMenuWithoutImagesBelowTheButton)
{
    m_folder->WriteBytes("GroupTab.dat", "red" + kSep + "0" + kSep + "3\r\n");
    m_frame->SetForegroundWindow();
    auto& toolbar = m_frame->m_wndToolBar;
    RECT button = {};
    ASSERT_TRUE(toolbar.GetRect(ID_GROUP_NEW, &button));
    ::MapWindowPoints(toolbar.m_hWnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
    NMTOOLBARA drop = {};
    drop.hdr.hwndFrom = toolbar.m_hWnd;
    drop.hdr.idFrom = AFX_IDW_TOOLBAR;
    drop.hdr.code = TBN_DROPDOWN;
    drop.iItem = ID_GROUP_NEW;
    auto open = [&] {
        ::SendMessageA(m_frame->m_hWnd, WM_NOTIFY, drop.hdr.idFrom, reinterpret_cast<LPARAM>(&drop));
    };
    CheckMenuOpenedBy(open, [&](HMENU menu, HWND menuWindow) {
        ASSERT_EQ(12, ::GetMenuItemCount(menu));
        HMENU templates = ::GetSubMenu(menu, 0);
        ASSERT_EQ(4, ::GetMenuItemCount(templates));
        EXPECT_EQ(static_cast<UINT>(ID_GROUP_NEW), ::GetMenuItemID(templates, 0));
        EXPECT_EQ(static_cast<UINT>(ID_GROUPTEMPLATE_FIRST), ::GetMenuItemID(templates, 1));
        RECT shown = {};
        ::GetWindowRect(menuWindow, &shown);
        EXPECT_EQ(button.left, shown.left);
        EXPECT_EQ(button.bottom, shown.top);
    });
}

} // namespace

namespace {

CString GroupItemText(CWnd* bar, int index)
{
    char text[128] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(bar->m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return CString(text);
}

} // namespace

// Every tab frame carries the tab icon in its class, and a restored tab
// still covers the whole screen.
TEST_F(GroupTabs, TabFramesShareTheIconClassAndARestoredTabFillsTheScreen)
{
    CTabItem* first = Open(nullptr, "about:blank");
    CTabItem* second = Open(nullptr, "about:blank");
    ASSERT_TRUE(first != nullptr && second != nullptr);
    const HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_TABFRAME));
    ASSERT_NE(nullptr, icon);
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    char firstClass[64] = "", secondClass[64] = "";
    ::GetClassNameA(first->m_hFrame, firstClass, sizeof(firstClass));
    ::GetClassNameA(second->m_hFrame, secondClass, sizeof(secondClass));
    EXPECT_STREQ(firstClass, secondClass);
    for (CTabItem* tab : {first, second}) {
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(icon), ::GetClassLongPtrA(tab->m_hFrame, GCLP_HICON));
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        ASSERT_TRUE(::GetWindowPlacement(tab->m_hFrame, &placement));
        EXPECT_TRUE(::EqualRect(&screen, &placement.rcNormalPosition));
    }
    ::ShowWindow(first->m_hFrame, SW_RESTORE);
    RECT restored = {};
    ::GetWindowRect(first->m_hFrame, &restored);
    EXPECT_EQ(screen.right, restored.right - restored.left);
    EXPECT_EQ(screen.bottom, restored.bottom - restored.top);
}

// The group's tab shows the count of its tabs while new tabs come, and a
// caption without a count stays as it is.
TEST_F(GroupTabs, GroupTabCaptionFollowsTheTabCountAsTabsAreAdded)
{
    struct Case { const char* title; const char* afterThree; };
    const Case cases[] = {{"T(%c)", "T(3)"}, {"Plain", "Plain"}};
    for (const Case& c : cases) {
        AppSettings().strTitle_P = c.title;
        CTabGroup* group = m_frame->CreateDefaultGroup(nullptr);
        ASSERT_NE(nullptr, group);
        for (int i = 0; i < 3; ++i)
            Open(group, "about:blank");
        int index = theApp.GetGroupIndex(group);
        ASSERT_EQ(group, m_frame->m_pGroupTabBar->GetGroupAt(index));
        EXPECT_STREQ(c.afterThree, GroupItemText(m_frame->m_pGroupTabBar, index)) << c.title;
    }
}
