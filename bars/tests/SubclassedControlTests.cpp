// Tab controls and combo boxes of a dialog template, taken over by the
// program's classes, get what the classes' own Create gives them.
#include <gtest/gtest.h>

#include "bars/BaseTabCtrl.h"
#include "bars/ComboBoxXP.h"
#include "shared/AppSettings.h"

namespace {

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Dialog 9001 of the test resources: tab control 10, drop-down combo 11.
struct TemplateDialog
{
    HWND hWnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(9001), nullptr, NoDialogProc, 0);
    ~TemplateDialog() { ::DestroyWindow(hWnd); }
    CWnd* Wnd() const { return CWnd::FromHandle(hWnd); }
};

int DroppedHeight(HWND hCombo)
{
    RECT rc = {};
    ::SendMessageA(hCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rc));
    return rc.bottom - rc.top;
}

} // namespace

TEST(SubclassedControls, ATemplateTabControlGetsTheOwnerDrawStyleOfItsDrawMode)
{
    struct Case
    {
        bool drawn;  // CDrawTabCtrl, else CBaseTabCtrl
        int mode;
        DWORD drawStyle;
        bool ownerDraw;
    };
    const Case cases[] = {
        {false, 0, 0, false}, {false, 1, 0, true}, {false, 2, 0, true},
        {true, 0, 0, false},  {true, 0, 29, true}, {true, 2, 31, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.drawn << " mode " << c.mode << " style " << c.drawStyle);
        TemplateDialog dialog;
        CBaseTabCtrl base;
        CDrawTabCtrl drawn;
        CBaseTabCtrl& tabs = c.drawn ? drawn : base;
        tabs.SetDrawMode(c.mode);
        drawn.SetDrawStyle(true, c.drawStyle);
        ASSERT_TRUE(tabs.SubclassDlgItem(10, dialog.Wnd()));
        EXPECT_EQ(c.ownerDraw, (tabs.GetStyle() & TCS_OWNERDRAWFIXED) != 0);
    }
}

TEST(SubclassedControls, ATemplateComboGetsItsEditHoverAndDropDownExtent)
{
    const BYTE before = AppSettings().iMENU_STYLE;
    for (BYTE menuStyle : {BYTE(0), BYTE(2)})
    {
        AppSettings().iMENU_STYLE = menuStyle;
        CComboBoxXP plain;
        CSearchCombo search;  // a CComboBoxEX_XP
        for (CComboBoxXP* box : {&plain, static_cast<CComboBoxXP*>(&search)})
        {
            SCOPED_TRACE(testing::Message() << "menu style " << int(menuStyle) << " search " << (box == &search));
            TemplateDialog dialog;
            ASSERT_TRUE(box->SubclassDlgItem(11, dialog.Wnd()));
            HWND hEdit = ::GetWindow(box->m_hWnd, GW_CHILD);
            EXPECT_EQ(&box->GetEdit(), CWnd::FromHandlePermanent(hEdit));
            // The drop-down extent of the same combo sized to 100 pixels.
            TemplateDialog reference;
            HWND hReference = ::GetDlgItem(reference.hWnd, 11);
            ::SetWindowPos(hReference, nullptr, 0, 0, 160, 100, SWP_NOMOVE | SWP_NOZORDER);
            EXPECT_EQ(DroppedHeight(hReference), DroppedHeight(box->m_hWnd));
            // The mouse over the edit reaches the hover helper as over a made box.
            ::SendMessageA(hEdit, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            EXPECT_EQ(menuStyle == 2, box->GetHover().IsHovering());
        }
    }
    AppSettings().iMENU_STYLE = before;
}
