// The frame and dialog classes: LoadFrame with an owner-drawn menu bar, the
// routing of the menu messages, the menu loop and the dialog's popup update.
#include <gtest/gtest.h>

#include "menulib/NewFrame.h"
#include "MenuTestsRes.h"

namespace {

class CTestFrame : public CNewFrameWnd
{
public:
    int m_nOpens = 0;

protected:
    void OnOpen() { ++m_nOpens; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CNewFrameWnd)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
END_MESSAGE_MAP()

class NewFrameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CTestFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW));
    }
    void TearDown() override
    {
        if (m_pFrame != nullptr && ::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow();
    }
    CNewMenuHook m_setup{ MenuLibBuild::DialogsLibrary };
    CTestFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F(NewFrameTest, LoadFrameGivesTheWindowAnOwnerDrawnMenuBar)
{
    HMENU hBar = ::GetMenu(m_pFrame->m_hWnd);
    EXPECT_EQ(m_pFrame->m_DefaultNewMenu.m_hMenu, hBar);
    EXPECT_EQ(hBar, m_pFrame->m_hMenuDefault);
    EXPECT_EQ(&m_pFrame->m_DefaultNewMenu, CNewMenu::FromHandleNew(hBar));
    EXPECT_TRUE(::GetMenuState(hBar, 0, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_STREQ("Menu test frame", m_pFrame->GetTitle());
    // The system menu is attached to a CNewMenu at creation.
    EXPECT_EQ(::GetSystemMenu(m_pFrame->m_hWnd, FALSE), m_pFrame->m_SystemNewMenu.m_hMenu);
    EXPECT_EQ(-1, m_pFrame->m_nHotMenuBarItem);
}

class CEndRecordingFrame : public CTestFrame
{
public:
    static HMENU s_barHeldAtEnd;

protected:
    void PostNcDestroy() override
    {
        s_barHeldAtEnd = m_DefaultNewMenu.m_hMenu;
        CTestFrame::PostNcDestroy();
    }
};

HMENU CEndRecordingFrame::s_barHeldAtEnd = nullptr;

// Regression: the bar's CNewMenu kept the handle the window owned, and its
// destructor destroyed it a second time (by then perhaps another menu's).
TEST(NewFrameEnd, MenuBarDestroyedWithTheWindowIsNoLongerHeld)
{
    CNewMenuHook setup(MenuLibBuild::DialogsLibrary);
    CEndRecordingFrame* pFrame = new CEndRecordingFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW));
    HMENU hBar = ::GetMenu(pFrame->m_hWnd);
    ASSERT_NE(nullptr, hBar);
    CEndRecordingFrame::s_barHeldAtEnd = hBar;
    pFrame->DestroyWindow();  // deletes the frame
    EXPECT_EQ(nullptr, CEndRecordingFrame::s_barHeldAtEnd);
    EXPECT_FALSE(::IsMenu(hBar));
}

TEST_F(NewFrameTest, FrameWithoutAMenuResourceFailsCreation)
{
    CNewFrameWnd* pFrame = new CNewFrameWnd;
    EXPECT_FALSE(pFrame->LoadFrame(IDR_NOMENU, WS_OVERLAPPEDWINDOW));  // deleted itself
}

TEST_F(NewFrameTest, MeasuringMenuCharAndInitPopupReachTheMenus)
{
    HWND hWnd = m_pFrame->m_hWnd;
    HMENU hBar = ::GetMenu(hWnd);
    HMENU hFile = ::GetSubMenu(hBar, 0);
    CNewMenu* pFile = CNewMenu::FromHandleNew(hFile);
    ASSERT_NE(nullptr, pFile);

    // A menu-bar item, measured through its submenu's object.
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(hFile));
    mis.itemData = reinterpret_cast<ULONG_PTR>(m_pFrame->m_DefaultNewMenu.Items()[0].get());
    ::SendMessageA(hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_GT(mis.itemHeight, 0u);
    EXPECT_GT(mis.itemWidth, 0u);

    // A plain item of the bar's submenu, found by command and record.
    MEASUREITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemID = ID_TEST_OPEN;
    item.itemData = reinterpret_cast<ULONG_PTR>(pFile->Items()[0].get());
    ::SendMessageA(hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_GT(item.itemWidth, UINT(2 * 16));

    EXPECT_EQ(MAKELRESULT(0, MNC_EXECUTE),
              ::SendMessageA(hWnd, WM_MENUCHAR, MAKEWPARAM('o', MF_POPUP), reinterpret_cast<LPARAM>(hFile)));

    // An item added behind the library's back is converted when the popup opens.
    ::AppendMenuA(hFile, MF_STRING, ID_TEST_SAVE, "Save");
    ::SendMessageA(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hFile), 0);
    EXPECT_TRUE(::GetMenuState(hFile, 1, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_EQ(2u, pFile->Items().size());
    EXPECT_EQ(1, m_pFrame->m_DefaultNewMenu.GetOpenPopups());
    // The frame's command-state update ran first: no handler, disabled.
    EXPECT_TRUE(::GetMenuState(hFile, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(hFile, 0, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(NewFrameTest, MenuLoopFlagFollowsTheLoop)
{
    HWND hWnd = m_pFrame->m_hWnd;
    ::SendMessageA(hWnd, WM_ENTERMENULOOP, FALSE, 0);
    EXPECT_EQ(1, m_pFrame->m_bInMenuLoop);
    EXPECT_EQ(-1, m_pFrame->m_nHotMenuBarItem);
    ::SendMessageA(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSubMenu(::GetMenu(hWnd), 0)), 0);
    EXPECT_EQ(1, m_pFrame->m_DefaultNewMenu.GetOpenPopups());
    ::SendMessageA(hWnd, WM_EXITMENULOOP, FALSE, 0);
    EXPECT_EQ(0, m_pFrame->m_bInMenuLoop);
    EXPECT_EQ(0, m_pFrame->m_DefaultNewMenu.GetOpenPopups());
}

namespace {

class CMenuDialog : public CNewDialog
{
public:
    CMenuDialog() : CNewDialog(IDD_TESTDIALOG) {}
    CNewMenu m_menu;
    UINT m_nOpenState = 0;
    UINT m_nSaveState = 0;
    bool m_bConverted = false;

    BOOL OnInitDialog() override
    {
        if (m_menu.CreatePopupMenu())
        {
            ::AppendMenuA(m_menu.m_hMenu, MF_STRING, ID_TEST_OPEN, "Open");
            ::AppendMenuA(m_menu.m_hMenu, MF_STRING, ID_TEST_SAVE, "Save");
            SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m_menu.m_hMenu), 0);
            m_nOpenState = ::GetMenuState(m_menu.m_hMenu, 0, MF_BYPOSITION);
            m_nSaveState = ::GetMenuState(m_menu.m_hMenu, 1, MF_BYPOSITION);
            m_bConverted = m_menu.Items().size() == 2;
        }
        PostMessage(WM_COMMAND, IDOK, 0);
        return TRUE;
    }

protected:
    void OnOpen() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuDialog, CNewDialog)
    ON_COMMAND(ID_TEST_OPEN, OnOpen)
END_MESSAGE_MAP()

} // namespace

TEST(NewDialogTest, PopupIsUpdatedThroughTheDialogThenConverted)
{
    CNewMenuHook setup(MenuLibBuild::DialogsLibrary);
    CMenuDialog dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(dialog.m_bConverted);
    EXPECT_TRUE(dialog.m_nOpenState & MF_OWNERDRAW);
    EXPECT_FALSE(dialog.m_nOpenState & MF_GRAYED);
    EXPECT_TRUE(dialog.m_nSaveState & MF_GRAYED);
}

TEST_F(NewFrameTest, ItemOfAPopupTrackedOutsideTheLibraryIsStillMeasured)
{
    CNewMenu context;
    ASSERT_TRUE(context.CreatePopupMenu());
    ASSERT_TRUE(context.AppendODMenu("Context item", 0, ID_TEST_CUT));
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_TEST_CUT;
    mis.itemData = reinterpret_cast<ULONG_PTR>(context.Items()[0].get());
    ::SendMessageA(m_pFrame->m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_GT(mis.itemWidth, UINT(2 * 16));
    EXPECT_GT(mis.itemHeight, 0u);
}

// A bar floated off a frame of the library stands in the library's floating
// frame, whose system menu opens owner-drawn like the frame's own; the mini
// frame classes are made by their run-time classes.
TEST_F(NewFrameTest, AFloatedBarsFrameDrawsItsSystemMenuLikeTheOthers)
{
    CControlBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE820, 30));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(&bar);
    m_pFrame->FloatControlBar(&bar, CPoint(300, 300));
    HWND hFloating = ::GetParent(::GetParent(bar.m_hWnd));
    auto* pFloating = dynamic_cast<CNewMiniDockFrameWnd*>(CWnd::FromHandlePermanent(hFloating));
    ASSERT_NE(nullptr, pFloating);
    EXPECT_TRUE(pFloating->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    HMENU hSystem = ::GetSystemMenu(hFloating, FALSE);
    ASSERT_EQ(hSystem, pFloating->m_SystemNewMenu.m_hMenu);
    ::SendMessageA(hFloating, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hSystem), MAKELPARAM(0, TRUE));
    EXPECT_TRUE(::GetMenuState(hSystem, SC_CLOSE, MF_BYCOMMAND) & MF_OWNERDRAW);

    auto* pMini = dynamic_cast<CNewMiniFrameWnd*>(RUNTIME_CLASS(CNewMiniFrameWnd)->CreateObject());
    ASSERT_NE(nullptr, pMini);
    ASSERT_TRUE(pMini->Create(nullptr, "mini", WS_POPUP | WS_CAPTION | WS_SYSMENU, CRect(10, 10, 200, 100),
                              m_pFrame));
    EXPECT_EQ(::GetSystemMenu(pMini->m_hWnd, FALSE), pMini->m_SystemNewMenu.m_hMenu);
    EXPECT_TRUE(::GetWindowLongPtrA(pMini->m_hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    pMini->DestroyWindow();  // deletes it
    EXPECT_TRUE(RUNTIME_CLASS(CNewMultiDocTemplate)->IsDerivedFrom(RUNTIME_CLASS(CMultiDocTemplate)));
}
