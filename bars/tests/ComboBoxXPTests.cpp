// The flat-look combo box's heights on real windows: the field and list a
// layout height gives, whatever sizes came before.
#include <gtest/gtest.h>

#include <vector>

#include "bars/ComboBoxXP.h"

namespace {

class ComboBoxXPTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                      nullptr, nullptr);
        ASSERT_NE(nullptr, m_hParent);
    }
    void TearDown() override { ::DestroyWindow(m_hParent); }

    struct Heights
    {
        int window;
        int field;    // CB_GETITEMHEIGHT -1
        int dropped;  // CB_GETDROPPEDCONTROLRECT
        int shown;    // list items the open list shows
        bool operator==(const Heights& o) const
        {
            return window == o.window && field == o.field && dropped == o.dropped && shown == o.shown;
        }
    };
    static Heights Read(HWND hBox)
    {
        Heights h = {};
        RECT rc = {};
        ::GetWindowRect(hBox, &rc);
        h.window = rc.bottom - rc.top;
        h.field = static_cast<int>(::SendMessageA(hBox, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        ::SendMessageA(hBox, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rc));
        h.dropped = rc.bottom - rc.top;
        ::SendMessageA(hBox, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(hBox, &info);
        ::GetClientRect(info.hwndList, &rc);
        h.shown = rc.bottom / static_cast<int>(::SendMessageA(hBox, CB_GETITEMHEIGHT, 0, 0));
        ::SendMessageA(hBox, CB_SHOWDROPDOWN, FALSE, 0);
        return h;
    }
    void Make(CComboBoxXP& box, DWORD style)
    {
        ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 0, 0, 0), CWnd::FromHandle(m_hParent), 100));
        for (int i = 0; i < 12; ++i)
            box.AddString("entry");
    }
    static void Lay(CComboBoxXP& box, int width, int height)
    {
        box.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }
    // The field a plain combo reports after being given h - 6 and a size.
    int PlainField(DWORD style, int h)
    {
        HWND hPlain = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | style, 0, 0, 200, 100, m_hParent, nullptr,
                                        nullptr, nullptr);
        ::SendMessageA(hPlain, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        ::SendMessageA(hPlain, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), h - 6);
        ::SetWindowPos(hPlain, nullptr, 0, 0, 150, 120, SWP_NOMOVE | SWP_NOZORDER);
        int field = static_cast<int>(::SendMessageA(hPlain, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        ::DestroyWindow(hPlain);
        return field;
    }

    HWND m_hParent = nullptr;
};

TEST_F(ComboBoxXPTest, ALayoutHeightGivesItsFieldAndListWhateverSizesCameBefore)
{
    // Heights of the main window's boxes and near them, in several orders,
    // then taller ones.
    const std::vector<std::vector<int>> orders = {
        {22, 26, 18, 22}, {26, 20, 20, 26}, {18, 24, 22, 20}, {40, 30, 22, 40}, {30, 40, 30}};
    for (DWORD style : {DWORD(CBS_DROPDOWN | CBS_AUTOHSCROLL), DWORD(CBS_DROPDOWNLIST)})
    {
        for (const auto& order : orders)
        {
            CComboBoxXP box;
            Make(box, style);
            int width = 150;
            for (int h : order)
            {
                SCOPED_TRACE(testing::Message() << "style " << style << " height " << h);
                width += 10;
                Lay(box, width, h);
                const Heights got = Read(box.m_hWnd);
                EXPECT_EQ(PlainField(style, h), got.field);
                if (h <= 26)
                {
                    EXPECT_EQ(CComboBoxXP::kListItems, got.shown);
                    const int item = box.GetItemHeight(0);
                    EXPECT_LE(CComboBoxXP::kListItems * item, got.dropped);
                    EXPECT_GT((CComboBoxXP::kListItems + 1) * item, got.dropped);
                }
                // The same as a box laid out at that height straight away.
                CComboBoxXP fresh;
                Make(fresh, style);
                Lay(fresh, width, h);
                EXPECT_TRUE(got == Read(fresh.m_hWnd));
                fresh.DestroyWindow();

                // Width changes, given the layout height or the window's own, keep every height.
                Lay(box, width + 5, h);
                Lay(box, width + 7, got.window);
                EXPECT_TRUE(got == Read(box.m_hWnd));
            }
            box.DestroyWindow();
        }
    }
}

}  // namespace
