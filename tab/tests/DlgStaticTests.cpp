// The busy dialog: its text, its animation from the resource folder and its
// place over the parent; gone with the object.
#include <windows.h>

#include <gtest/gtest.h>

#include "tab/DlgStatic.h"
#include "tests/support/PlainFrameFixture.h"

namespace {

using BusyDialogTest = PlainFrameTest;

TEST_F(BusyDialogTest, ShowsItsTextAndAnimationCentredOverItsParent)
{
    m_pFrame->MoveWindow(100, 100, 600, 400);
    HWND hDialog = nullptr;
    {
        CDlgStatic busy(m_pFrame);
        busy.m_text = "working";
        ASSERT_TRUE(busy.Create());
        hDialog = busy.m_hWnd;
        char text[32] = "";
        ::GetDlgItemTextA(hDialog, CDlgStatic::kTextId, text, sizeof(text));
        EXPECT_STREQ("working", text);
        EXPECT_TRUE(busy.GetAnimation().IsWindow());
        EXPECT_TRUE(busy.GetAnimation().Open(m_folder->File("Res\\Torv.avi").c_str()));
        RECT frame, own;
        ::GetWindowRect(m_pFrame->m_hWnd, &frame);
        ::GetWindowRect(hDialog, &own);
        EXPECT_LE(std::abs((frame.left + frame.right) - (own.left + own.right)), 1);
        EXPECT_LE(std::abs((frame.top + frame.bottom) - (own.top + own.bottom)), 1);
    }
    EXPECT_FALSE(::IsWindow(hDialog));
}

TEST_F(BusyDialogTest, AMissingClipLeavesTheTextShowing)
{
    ::DeleteFileA(m_folder->File("Res\\Torv.avi").c_str());
    CDlgStatic busy(m_pFrame);
    busy.m_text = "still here";
    ASSERT_TRUE(busy.Create());
    char text[32] = "";
    ::GetDlgItemTextA(busy.m_hWnd, CDlgStatic::kTextId, text, sizeof(text));
    EXPECT_STREQ("still here", text);
}

} // namespace
