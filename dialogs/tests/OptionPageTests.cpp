// The option pages on the field table: the checks every option page
// passes, the row kinds on a page that has one of each, and the general
// page's own rules.
#include "dialogs/tests/PageHarness.h"

#include "dialogs/core/DlgSetting.h"
#include "dialogs/pages/BindingPages.h"
#include "dialogs/pages/BindingPagesRes.h"
#include "dialogs/pages/CheckListPages.h"
#include "dialogs/pages/CheckListPagesRes.h"
#include "dialogs/pages/DlgSetTab10.h"
#include "dialogs/pages/DlgSetTab10Res.h"
#include "dialogs/pages/DlgSetTab5.h"
#include "dialogs/pages/DlgSetTab5Res.h"
#include "dialogs/pages/DlgSetTab9.h"
#include "dialogs/pages/DlgSetTab9Res.h"
#include "dialogs/pages/SearchPage.h"
#include "dialogs/pages/SearchPageRes.h"
#include "dialogs/pages/SimplePages.h"
#include "dialogs/pages/SimplePagesRes.h"
#include "dialogs/pages/TabBarPages.h"
#include "dialogs/pages/TabBarPagesRes.h"
#include "dialogs/tests/DialogsTestsRes.h"

namespace {

const PageField kTestFields[] = {
    CheckField(IDC_FIELDS_CHECK, "bTaskTray"),
    InvertedCheckField(IDC_FIELDS_INVERTED, "bTabOpen"),
    WholeWordField("iFocusMove", 0x01),
    BitField(IDC_FIELDS_BIT1, "iFocusMove", 1),
    BitField(IDC_FIELDS_BIT2, "iFocusMove", 2),
    CheckField(IDC_FIELDS_HIDDEN, "bClipBordCheck"),
    IndexField(IDC_FIELDS_LIST, "iInitMode"),
    RadioField(IDC_FIELDS_RADIO0, "iTabTop", 3),
    NumberField(IDC_FIELDS_NUMBER, "iTabStrLen", 3, 400, 50),
    TextField(IDC_FIELDS_TEXT, "strUserAgent", 7),
};

// A page with a field of every kind; its list has three items.
class CTestFieldsPage : public CSettingsPage
{
    DECLARE_DYNCREATE(CTestFieldsPage)
public:
    CTestFieldsPage()
        : CSettingsPage(IDD_TESTFIELDS, kTestFields, static_cast<int>(sizeof(kTestFields) / sizeof(kTestFields[0])))
    {
    }
    BOOL OnInitDialog() override
    {
        for (const char* item : { "a", "b", "c" })
            ::SendDlgItemMessageA(m_hWnd, IDC_FIELDS_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        CSettingsPage::OnInitDialog();
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_FIELDS_HIDDEN), SW_HIDE);
        return TRUE;
    }
};

IMPLEMENT_DYNCREATE(CTestFieldsPage, CSettingsPage)

struct OptionPage
{
    const CRuntimeClass* pClass;
    UINT nIDTemplate;
};

const OptionPage kOptionPages[] = {
    { RUNTIME_CLASS(CTestFieldsPage), IDD_TESTFIELDS },
    { RUNTIME_CLASS(CDlgSetTab5), IDD_SETTAB5 },
    { RUNTIME_CLASS(CDlgSetTab6), IDD_SETTAB6 },
    { RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18 },
    { RUNTIME_CLASS(CDlgSetTab9), IDD_SETTAB9 },
    { RUNTIME_CLASS(CDlgSetTab10), IDD_SETTAB10 },
    { RUNTIME_CLASS(CDlgSetTab1), IDD_SETTAB1 },
    { RUNTIME_CLASS(CDlgSetTab15), IDD_SETTAB15 },
    { RUNTIME_CLASS(CDlgSetTab16), IDD_SETTAB16 },
    { RUNTIME_CLASS(CDlgSetTab14), IDD_SETTAB14 },
    { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3 },
    { RUNTIME_CLASS(CDlgSetTab4), IDD_SETTAB4 },
    { RUNTIME_CLASS(CDlgSetTab17), IDD_SETTAB17 },
};

} // namespace

TEST_F(PageTest, EveryOptionPagePassesTheCommonChecks)
{
    for (const OptionPage& page : kOptionPages) {
        SCOPED_TRACE(page.pClass->m_lpszClassName);
        theApp.InitInstance();
        theApp.SetDataFolder(m_folder->Path().c_str());
        CheckOptionPage(page.pClass, page.nIDTemplate);
    }
}

TEST_F(PageTest, FieldKindsShowAndStoreTheirValues)
{
    SettingsRecord& settings = theApp.m_settings;
    settings.bTabOpen(false);
    settings.iFocusMove = 0xFF;  // bit 0 kept by the mask, bits 3-7 cleared
    settings.iInitMode = 4;      // no item: kept
    settings.iTabTop = 2;
    settings.strUserAgent = "agent";
    std::string shown;
    RunPage(RUNTIME_CLASS(CTestFieldsPage), IDD_TESTFIELDS, { [&](HWND hPage) {
        shown = std::to_string(IsChecked(hPage, IDC_FIELDS_INVERTED)) +
                std::to_string(IsChecked(hPage, IDC_FIELDS_BIT1)) + std::to_string(IsChecked(hPage, IDC_FIELDS_BIT2)) +
                std::to_string(::SendDlgItemMessageA(hPage, IDC_FIELDS_LIST, CB_GETCURSEL, 0, 0)) +
                std::to_string(IsChecked(hPage, IDC_FIELDS_RADIO2)) + "|" + Text(hPage, IDC_FIELDS_TEXT);
        int lower = 0, upper = 0;
        ::SendDlgItemMessageA(hPage, IDC_FIELDS_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                              reinterpret_cast<LPARAM>(&upper));
        shown += "|" + std::to_string(lower) + "-" + std::to_string(upper);
        SetCheck(hPage, IDC_FIELDS_BIT1, false);
        // Seven bytes end inside the second character: it goes whole.
        SetText(hPage, IDC_FIELDS_TEXT, "abcd\x82\xA0\x82\xA2");
    } });
    EXPECT_EQ("111-11|agent|3-400", shown);
    EXPECT_EQ(0x05, settings.iFocusMove);
    EXPECT_EQ(4, settings.iInitMode);
    EXPECT_EQ(2, settings.iTabTop);
    EXPECT_STREQ("abcd\x82\xA0", settings.strUserAgent);
}

TEST_F(PageTest, GeneralPageOffersItsItemsAndFollowsItsSwitches)
{
    SettingsRecord& settings = theApp.m_settings;
    settings.bWindowMaxCnt(false);
    settings.iFocusMove = 0x06;  // the exceptions on, the switch off
    settings.bPopUpNewStyle(true);
    std::string items;
    std::vector<int> states;
    RunPage(RUNTIME_CLASS(CDlgSetTab5), IDD_SETTAB5, { [&](HWND hPage) {
        for (int i = 0; i < 3; ++i) {
            char text[64] = {};
            ::SendDlgItemMessageA(hPage, IDC_GEN_INITMODE, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                  reinterpret_cast<LPARAM>(text));
            items += std::string(text) + "|";
        }
        items += std::to_string(::SendDlgItemMessageA(hPage, IDC_GEN_MENUSTYLE, CB_GETCOUNT, 0, 0));
        auto state = [&](int nID) {
            HWND h = ::GetDlgItem(hPage, nID);
            return (::IsWindowVisible(h) ? 2 : 0) + (::IsWindowEnabled(h) ? 1 : 0);
        };
        for (int nID : { IDC_GEN_WINDOWMAXCNT, IDC_GEN_WINDOWMAXSPIN, IDC_GEN_FOCUSADDRESS, IDC_GEN_POPUPALPHA,
                         IDC_GEN_CLIPBOARD, IDC_GEN_MENUSTYLE })
            states.push_back(state(nID));
        SetCheck(hPage, IDC_GEN_WINDOWMAX, true);
        SetCheck(hPage, IDC_GEN_FOCUSMOVE, true);
        states.push_back(state(IDC_GEN_WINDOWMAXCNT));
        states.push_back(state(IDC_GEN_FOCUSSEARCH));
        SetText(hPage, IDC_GEN_WINDOWMAXCNT, "42");
        SetItem(hPage, IDC_GEN_INITMODE, 2);
    } });
    // "何も開かない", "ホームを開く", "空白を開く" in cp932.
    EXPECT_EQ("\x89\xBD\x82\xE0\x8A\x4A\x82\xA9\x82\xC8\x82\xA2|\x83\x7A\x81\x5B\x83\x80\x82\xF0\x8A\x4A\x82\xAD|"
              "\x8B\xF3\x94\x92\x82\xF0\x8A\x4A\x82\xAD|6",
              items);
    // Disabled edit, its arrows still enabled, the exceptions disabled;
    // the hidden ones hidden and disabled; then the switches enable them.
    EXPECT_EQ((std::vector<int>{ 2, 3, 2, 0, 0, 0, 3, 3 }), states);
    EXPECT_TRUE(settings.bWindowMaxCnt());
    EXPECT_EQ(42, settings.iWindowMaxCnt);
    EXPECT_EQ(0x07, settings.iFocusMove);
    EXPECT_EQ(2, settings.iInitMode);
    EXPECT_TRUE(settings.bPopUpNewStyle());
}

TEST_F(PageTest, GeneralPageKeepsStartModesItDoesNotOffer)
{
    for (int mode : { 3, 4, 5 }) {
        theApp.m_settings.iInitMode = static_cast<uint8_t>(mode);
        int selected = 0;
        RunPage(RUNTIME_CLASS(CDlgSetTab5), IDD_SETTAB5, { [&](HWND hPage) {
            selected = static_cast<int>(::SendDlgItemMessageA(hPage, IDC_GEN_INITMODE, CB_GETCURSEL, 0, 0));
        } });
        EXPECT_EQ(CB_ERR, selected);
        EXPECT_EQ(mode, theApp.m_settings.iInitMode);
    }
}
