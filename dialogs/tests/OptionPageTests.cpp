// The option pages on the field table: the checks every option page
// passes, the row kinds on a page that has one of each, and the general
// page's own rules.
#include "dialogs/tests/PageHarness.h"

#include <urlmon.h>

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
#include "dialogs/pages/SettingsPages.h"
#include "dialogs/pages/SimplePages.h"
#include "dialogs/pages/SimplePagesRes.h"
#include "dialogs/pages/TabBarPages.h"
#include "dialogs/pages/TabBarPagesRes.h"
#include "dialogs/tests/DialogsTestsRes.h"
#include "shared/RegKey.h"

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

namespace {

// Checks one radio of a group as a click does, and tells the page.
void ClickRadio(HWND hPage, int nFirst, int nLast, int nID)
{
    ::CheckRadioButton(hPage, nFirst, nLast, nID);
    ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hPage, nID)));
}

// "checked enabled" as two digits per control.
std::string States(HWND hPage, std::initializer_list<int> ids)
{
    std::string states;
    for (int nID : ids) {
        states += ::IsDlgButtonChecked(hPage, nID) == BST_CHECKED ? '1' : '0';
        states += ::IsWindowEnabled(::GetDlgItem(hPage, nID)) ? '1' : '0';
        states += ' ';
    }
    return states;
}

void SetKey(const char* key, const char* value)
{
    theApp.m_settings.SetKeyValue(SettingsRecord::FindKey(key), value);
}

std::string Key(const char* key)
{
    return static_cast<LPCSTR>(theApp.m_settings.GetKeyValue(SettingsRecord::FindKey(key)));
}

std::vector<std::string> ComboItems(HWND hPage, int nID)
{
    std::vector<std::string> items;
    const int count = static_cast<int>(::SendDlgItemMessageA(hPage, nID, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[1024] = {};
        ::SendDlgItemMessageA(hPage, nID, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

struct TypedNumber
{
    const CRuntimeClass* pClass;
    UINT nIDTemplate;
    int nID;
    const char* typed;
    const char* key;
    const char* stored;
};

} // namespace

TEST_F(PageTest, NumbersTypedIntoThePagesFallBackByTheirOwnRules)
{
    const TypedNumber kTyped[] = {
        { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, IDC_FAV_ROWMAX, "0", "iFavItemRowMax", "0" },
        { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, IDC_FAV_ROWMAX, "10", "iFavItemRowMax", "35" },
        { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, IDC_FAV_ROWMAX, "6000", "iFavItemRowMax", "35" },
        { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, IDC_FAV_ROWMAX, "30", "iFavItemRowMax", "30" },
        { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, IDC_FAV_ROWMAX, "5000", "iFavItemRowMax", "5000" },
        { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, IDC_FAV_DELAY, "0", "iFavViewAutoDelay", "250" },
        { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, IDC_FAV_BARWIDTH, "10000", "iFavViewAutoSence", "25" },
        { RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, IDC_FAV_TITLEMAX, "300", "iFavTitleMaxStr", "55" },
        { RUNTIME_CLASS(CDlgSetTab17), IDD_SETTAB17, IDC_MSG_HISTORYMAX, "0", "iBackHistoryMax", "255" },
        { RUNTIME_CLASS(CDlgSetTab1), IDD_SETTAB1, IDC_TABBAR_TITLELEN, "256", "iTabStrLen", "50" },
        { RUNTIME_CLASS(CDlgSetTab1), IDD_SETTAB1, IDC_TABBAR_WIDTH, "0", "iFixedWidth", "50" },
        { RUNTIME_CLASS(CDlgSetTab15), IDD_SETTAB15, IDC_TABBAR_TITLELEN, "255", "iTabStrLen_P", "255" },
        { RUNTIME_CLASS(CDlgSetTab15), IDD_SETTAB15, IDC_TABBAR_WIDTH, "300", "iFixedWidth_P", "50" },
    };
    for (const TypedNumber& row : kTyped) {
        theApp.m_settings = SettingsRecord();
        RunPage(row.pClass, row.nIDTemplate, { [&](HWND hPage) { SetText(hPage, row.nID, row.typed); } });
        EXPECT_EQ(row.stored, Key(row.key)) << row.key << " typed " << row.typed;
    }
}

TEST_F(PageTest, TabBarOnTheLeftOrRightForcesButtonsFixedWidthAndRows)
{
    for (const OptionPage& page : { OptionPage{ RUNTIME_CLASS(CDlgSetTab1), IDD_SETTAB1 },
                                    OptionPage{ RUNTIME_CLASS(CDlgSetTab15), IDD_SETTAB15 } }) {
        SCOPED_TRACE(page.pClass->m_lpszClassName);
        const bool bGroup = page.nIDTemplate == IDD_SETTAB15;
        theApp.m_settings = SettingsRecord();
        for (const char* key : { "bTabButton", "bTabWidth", "bMLine" })
            SetKey(bGroup ? (std::string(key) + "_P").c_str() : key, "0");
        SetKey(bGroup ? "iTabTop_P" : "iTabTop", "1");  // up
        std::vector<std::string> seen;
        RunPage(page.pClass, page.nIDTemplate, { [&](HWND hPage) {
            const auto design = [&] {
                return States(hPage, { IDC_TABBAR_FIXEDWIDTH, IDC_TABBAR_MLINE, IDC_TABBAR_BUTTON }) +
                       (::IsWindowEnabled(::GetDlgItem(hPage, IDC_TABBAR_WIDTH)) ? "w" : "-");
            };
            seen.push_back(design());
            ClickRadio(hPage, IDC_TABBAR_POSDOWN, IDC_TABBAR_POSRIGHT, IDC_TABBAR_POSLEFT);
            seen.push_back(design());
            ClickRadio(hPage, IDC_TABBAR_POSDOWN, IDC_TABBAR_POSRIGHT, IDC_TABBAR_POSUP);
            seen.push_back(design());
            SetCheck(hPage, IDC_TABBAR_SHOW, false);
            seen.push_back(design() + States(hPage, { IDC_TABBAR_POSUP, IDC_TABBAR_TITLELEN }));
            SetCheck(hPage, IDC_TABBAR_SHOW, true);
            ClickRadio(hPage, IDC_TABBAR_POSDOWN, IDC_TABBAR_POSRIGHT, IDC_TABBAR_POSRIGHT);
        } });
        EXPECT_EQ((std::vector<std::string>{ "01 01 01 -", "10 10 10 w", "11 11 11 w", "10 10 10 -10 00 " }), seen);
        const std::string suffix = bGroup ? "_P" : "";
        EXPECT_EQ("3", Key(("iTabTop" + suffix).c_str()));
        EXPECT_EQ("111", Key(("bTabButton" + suffix).c_str()) + Key(("bTabWidth" + suffix).c_str()) +
                             Key(("bMLine" + suffix).c_str()));
    }
}

TEST_F(PageTest, PageDefaultsOfferTheAgentsOfTheFileAndCutTheAgentAt500Bytes)
{
    m_folder->WriteBytes("String/UserAgent.dat", "Agent A\r\n\r\nAgent B\r\n");
    theApp.m_settings.strUserAgent = "Current";
    theApp.m_settings.dwDLControlFlags = 0x810;  // images, and a bit no check names
    std::vector<std::string> items;
    std::string shown;
    RunPage(RUNTIME_CLASS(CDlgSetTab9), IDD_SETTAB9, { [&](HWND hPage) {
        items = ComboItems(hPage, IDC_DEF_AGENT);
        shown = Text(hPage, IDC_DEF_AGENT);
        SetCheck(hPage, IDC_DEF_SCRIPTS, false);
        SetText(hPage, IDC_DEF_AGENT, "  Typed  ");
    } });
    EXPECT_EQ((std::vector<std::string>{ "Current", "Agent A", "", "Agent B" }), items);
    EXPECT_EQ("Current", shown);
    EXPECT_EQ(0x90u, theApp.m_settings.dwDLControlFlags);
    EXPECT_STREQ("Typed", theApp.m_settings.strUserAgent);

    // Without the file the list holds the current agent only.
    m_folder->Remove("String/UserAgent.dat");
    const std::string a499(499, 'a');
    const std::string a498(498, 'a');
    const struct { std::string typed, stored; } kAgents[] = {
        { "   ", "" },
        { a499 + "\x82\xA0" + std::string(99, 'b'), a499 },                   // a lead byte at 499: cut at 499
        { a498 + "\x82\x82" + std::string(100, 'b'), a498 + "\x82\x82" },     // a pair at 498: cut at 500
    };
    for (const auto& agent : kAgents) {
        RunPage(RUNTIME_CLASS(CDlgSetTab9), IDD_SETTAB9, { [&](HWND hPage) {
            items = ComboItems(hPage, IDC_DEF_AGENT);
            SetText(hPage, IDC_DEF_AGENT, agent.typed.c_str());
        } });
        EXPECT_EQ(1u, items.size());
        EXPECT_EQ(agent.stored, std::string(theApp.m_settings.strUserAgent));
    }
}

TEST_F(PageTest, ResetPutsTheSystemsAgentAndLeavesTheFieldWhenItCannotBeHad)
{
    char system[CDlgSetTab9::kAgentBufferSize] = {};
    DWORD size = sizeof(system);
    ASSERT_EQ(S_OK, ::ObtainUserAgentString(0, system, &size));
    const std::string systemAgent = system;
    std::string afterReset;
    RunPage(RUNTIME_CLASS(CDlgSetTab9), IDD_SETTAB9, { [&](HWND hPage) {
        SetText(hPage, IDC_DEF_AGENT, "Typed");
        Click(hPage, IDC_DEF_AGENTRESET);
        afterReset = Text(hPage, IDC_DEF_AGENT);
    } }, IDCANCEL);
    EXPECT_EQ(systemAgent, afterReset);

    // An agent longer than the buffer: the system's answer fails.
    const std::string longAgent(600, 'x');
    ASSERT_EQ(S_OK, ::UrlMkSetSessionOption(URLMON_OPTION_USERAGENT, const_cast<char*>(longAgent.c_str()),
                                            static_cast<DWORD>(longAgent.size()), 0));
    size = sizeof(system);
    const HRESULT hr = ::ObtainUserAgentString(0, system, &size);
    RunPage(RUNTIME_CLASS(CDlgSetTab9), IDD_SETTAB9, { [&](HWND hPage) {
        SetText(hPage, IDC_DEF_AGENT, "Typed");
        Click(hPage, IDC_DEF_AGENTRESET);
        afterReset = Text(hPage, IDC_DEF_AGENT);
    } }, IDCANCEL);
    ::UrlMkSetSessionOption(URLMON_OPTION_USERAGENT, const_cast<char*>(systemAgent.c_str()),
                            static_cast<DWORD>(systemAgent.size()), 0);
    ASSERT_TRUE(FAILED(hr));
    EXPECT_EQ("Typed", afterReset);
}

namespace {

const char kTestEditorParent[] = "Software\\VantorelArcoTests\\View Source Editor";
const char kTestEditorKey[] = "Software\\VantorelArcoTests\\View Source Editor\\Editor Name";

// The default value of a key under HKEY_LOCAL_MACHINE; "-" for no key,
// "(none)" for no value.
std::string MachineDefault(const char* keyPath)
{
    CRegKey key;
    if (keyPath != nullptr && key.Open(HKEY_LOCAL_MACHINE, keyPath) != ERROR_SUCCESS)
        return "-";
    CString value;
    if ((keyPath != nullptr ? key.QueryString(nullptr, value)
                            : ::RegQueryValueExA(HKEY_LOCAL_MACHINE, nullptr, nullptr, nullptr, nullptr, nullptr)) !=
        ERROR_SUCCESS)
        return "(none)";
    return keyPath != nullptr ? static_cast<LPCSTR>(value) : "set";
}

// The browse dialog's answer, and what it was asked with.
std::string s_chosenPath;
std::string s_asked;
BOOL AnswerOpenFile(HWND, LPCSTR filter, LPCSTR title, DWORD, CString& path)
{
    s_asked = std::string(filter) + "|" + title;
    path = s_chosenPath.c_str();
    return TRUE;
}

} // namespace

TEST_F(PageTest, TabOperationsBrowseReplacesTheEditorOnlyWithAChosenPath)
{
    AfxSetPromptOpenFileHook(AnswerOpenFile);
    std::vector<std::string> shown;
    RunPage(RUNTIME_CLASS(CDlgSetTab10), IDD_SETTAB10, { [&](HWND hPage) {
        SetText(hPage, IDC_TABOP_EDITOR, "typed.exe");
        s_chosenPath = "";
        Click(hPage, IDC_TABOP_BROWSE);
        shown.push_back(Text(hPage, IDC_TABOP_EDITOR));
        s_chosenPath = "C:\\Tools\\chosen.exe";
        Click(hPage, IDC_TABOP_BROWSE);
        shown.push_back(Text(hPage, IDC_TABOP_EDITOR));
    } }, IDCANCEL);
    AfxSetPromptOpenFileHook(nullptr);
    EXPECT_EQ((std::vector<std::string>{ "typed.exe", "C:\\Tools\\chosen.exe" }), shown);
    EXPECT_EQ(std::string(theApp.GetEtcString(50)) + "|" + std::string(theApp.GetEtcString(48)), s_asked);
    EXPECT_NE(std::string::npos, s_asked.find("*.exe"));
}

TEST_F(PageTest, TabOperationsWriteAndRemoveTheEditorKeyOfRegDat)
{
    // The keys of the test's own "reg.dat" lines 3 and 4.
    m_folder->WriteBytes("String/reg.dat", std::string("a\r\nb\r\n") + kTestEditorKey + "\r\n" + kTestEditorParent +
                                               "\r\n");
    theApp.GetEtcString(1);  // the line cache holds one file: reg.dat is read anew
    const struct { const char* typed; const char* shown; const char* stored; } kSteps[] = {
        { "C:\\Tools\\ed.exe", "notepad.exe", "C:\\Tools\\ed.exe" },
        { "", "C:\\Tools\\ed.exe", "C:\\Tools\\ed.exe" },  // empty: nothing changes
        { "NotePad.EXE", "C:\\Tools\\ed.exe", "-" },       // both keys removed
    };
    for (const auto& step : kSteps) {
        std::string shown;
        RunPage(RUNTIME_CLASS(CDlgSetTab10), IDD_SETTAB10, { [&](HWND hPage) {
            shown = Text(hPage, IDC_TABOP_EDITOR);
            SetText(hPage, IDC_TABOP_EDITOR, step.typed);
        } });
        EXPECT_EQ(step.shown, shown) << step.typed;
        EXPECT_EQ(step.stored, MachineDefault(kTestEditorKey)) << step.typed;
    }
    EXPECT_EQ("-", MachineDefault(kTestEditorParent));

    // Empty lines name no key: nothing is written or removed at the root.
    m_folder->WriteBytes("String/reg.dat", "a\r\nb\r\n\r\n\r\n");
    theApp.GetEtcString(1);
    const std::string rootBefore = MachineDefault(nullptr);
    for (const char* typed : { "C:\\Tools\\ed.exe", "notepad.exe" })
        RunPage(RUNTIME_CLASS(CDlgSetTab10), IDD_SETTAB10, { [&](HWND hPage) {
            SetText(hPage, IDC_TABOP_EDITOR, typed);
        } });
    EXPECT_EQ(rootBefore, MachineDefault(nullptr));
    if (rootBefore == "(none)")
        ::RegDeleteValueA(HKEY_LOCAL_MACHINE, nullptr);
    CRegKey software;
    if (software.Open(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS) == ERROR_SUCCESS)
        (void)software.DeleteSubKeyTree("VantorelArcoTests");
}

TEST_F(PageTest, GroupTabBarTakesTheActiveTabsAddressAndThePickedImage)
{
    theApp.m_settings.iDefault_P = 0;
    theApp.m_settings.strTargetURL_P = "http://old.example/";
    theApp.m_settings.iTabImageDef_P = 40;  // beyond the strip
    std::vector<std::string> seen;
    auto imageShown = [](HWND hPage) {
        return ::SendDlgItemMessageA(hPage, IDC_TABBAR_IMAGEBOX, STM_GETICON, 0, 0) != 0 ? "image" : "empty";
    };
    RunPage(RUNTIME_CLASS(CDlgSetTab15), IDD_SETTAB15, { [&](HWND hPage) {
        seen.push_back(States(hPage, { IDC_TABBAR_URL, IDC_TABBAR_ACTIVEURL }) + imageShown(hPage));
        SetItem(hPage, IDC_TABBAR_NEWACTION, 2);
        seen.push_back(States(hPage, { IDC_TABBAR_URL, IDC_TABBAR_ACTIVEURL }));
        m_pMain->m_activeUrl = "";
        Click(hPage, IDC_TABBAR_ACTIVEURL);
        seen.push_back(Text(hPage, IDC_TABBAR_URL));
        m_pMain->m_activeUrl = "http://active.example/";
        Click(hPage, IDC_TABBAR_ACTIVEURL);
        seen.push_back(Text(hPage, IDC_TABBAR_URL));
    } });
    EXPECT_EQ((std::vector<std::string>{ "00 00 empty", "01 01 ", "http://old.example/", "http://active.example/" }),
              seen);
    EXPECT_STREQ("http://active.example/", theApp.m_settings.strTargetURL_P);
    EXPECT_EQ(2, theApp.m_settings.iDefault_P);
    EXPECT_EQ(40, theApp.m_settings.iTabImageDef_P);

    // A picked image (the picker's command) shows and is saved.
    std::string shown;
    RunPage(RUNTIME_CLASS(CDlgSetTab15), IDD_SETTAB15, { [&](HWND hPage) {
        ::SendMessageA(hPage, WM_COMMAND, ID_TABBAR_IMAGE_FIRST + 3, 0);
        shown = imageShown(hPage);
    } });
    EXPECT_EQ("image", shown);
    EXPECT_EQ(3, theApp.m_settings.iTabImageDef_P);
}

namespace {

std::string CheckedRows(HWND hPage)
{
    HWND hList = ::GetDlgItem(hPage, IDC_CHECKLIST_LIST);
    std::string rows;
    const int count = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const UINT state = static_cast<UINT>(::SendMessageA(hList, LVM_GETITEMSTATE, static_cast<WPARAM>(i),
                                                            LVIS_STATEIMAGEMASK));
        char text[256] = {};
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        rows += text[0] == '\0' ? '?' : ((state >> 12) == 2 ? '1' : '0');
    }
    return rows;
}

} // namespace

TEST_F(PageTest, CheckListsShowTheirBitsAndKeepOnlyWhatTheyDoNotOwn)
{
    const struct {
        const CRuntimeClass* pClass;
        UINT nIDTemplate;
        const char* key;
        const char* stored;   // the value before the page
        const char* shown;    // the rows' checks ("?" for a row without text)
        const char* kept;     // after OK without changes
        const char* all;      // after "全てにチェックする"
        const char* none;     // after "全てのチェックを外す"
    } kLists[] = {
        { RUNTIME_CLASS(CDlgSetTab16), IDD_SETTAB16, "iParentTabNewRule", "4", "0010000", "4", "319", "0" },
        // The search page's bits 0x40 and 0x80 and a bit no page names stay.
        { RUNTIME_CLASS(CDlgSetTab16), IDD_SETTAB16, "iParentTabNewRule", "33476", "0010000", "33476", "33791",
          "33472" },
        { RUNTIME_CLASS(CDlgSetTab14), IDD_SETTAB14, "iFullScreenShowItem", "1023", "11101100", "787", "36627", "0" },
    };
    for (const auto& list : kLists) {
        SCOPED_TRACE(std::string(list.key) + "=" + list.stored);
        for (int button : { 0, IDC_CHECKLIST_ALL, IDC_CHECKLIST_NONE }) {
            SetKey(list.key, list.stored);
            std::string shown;
            RunPage(list.pClass, list.nIDTemplate, { [&](HWND hPage) {
                shown = CheckedRows(hPage);
                if (button != 0)
                    Click(hPage, button);
            } });
            EXPECT_EQ(list.shown, shown);
            EXPECT_EQ(button == 0 ? list.kept : button == IDC_CHECKLIST_ALL ? list.all : list.none, Key(list.key));
        }
    }

    // A double click toggles the one selected row.
    SetKey("iFullScreenShowItem", "0");
    RunPage(RUNTIME_CLASS(CDlgSetTab14), IDD_SETTAB14, { [&](HWND hPage) {
        HWND hList = ::GetDlgItem(hPage, IDC_CHECKLIST_LIST);
        SetItem(hPage, IDC_CHECKLIST_LIST, 3);
        NMHDR hdr = { hList, IDC_CHECKLIST_LIST, static_cast<UINT>(NM_DBLCLK) };
        ::SendMessageA(hPage, WM_NOTIFY, IDC_CHECKLIST_LIST, reinterpret_cast<LPARAM>(&hdr));
    } });
    EXPECT_EQ("32768", Key("iFullScreenShowItem"));
}

namespace {

BOOL CALLBACK FindTree(HWND hWnd, LPARAM lParam)
{
    char name[32] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (lstrcmpiA(name, WC_TREEVIEWA) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// Selects every item of a tree, children after their parent.
void SelectEveryItem(HWND hTree, HTREEITEM hItem)
{
    for (; hItem != nullptr; hItem = TreeView_GetNextSibling(hTree, hItem)) {
        TreeView_SelectItem(hTree, hItem);
        SelectEveryItem(hTree, TreeView_GetChild(hTree, hItem));
    }
}

} // namespace

TEST_F(PageTest, EveryPageShownAndConfirmedKeepsStartModeFourAndTheSearchPagesBit)
{
    theApp.m_settings.iInitMode = 4;
    theApp.m_settings.iParentTabNewRule = 0x44;
    int shownPages = 0;
    WhileModal({ [&] {
        HWND hDialog = FindDialog();
        HWND hTree = nullptr;
        ::EnumChildWindows(hDialog, FindTree, reinterpret_cast<LPARAM>(&hTree));
        SelectEveryItem(hTree, TreeView_GetRoot(hTree));
        shownPages = static_cast<int>(TreeView_GetCount(hTree));
        Click(hDialog, IDOK);
    } });
    EXPECT_EQ(IDOK, RunSettingsDialog(SettingsDialogKind::All));
    EXPECT_TRUE(AllStepsRan());
    EXPECT_EQ(kAllSettingsPageCount, shownPages);
    EXPECT_EQ(4, theApp.m_settings.iInitMode);
    EXPECT_EQ(0x44, theApp.m_settings.iParentTabNewRule);
}
