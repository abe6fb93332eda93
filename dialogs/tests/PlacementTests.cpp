// Where the library's dialogs open: over the main window that called them,
// or at the rectangle a single-page dialog saved.
#include "dialogs/tests/DialogsTestApp.h"

#include <functional>
#include <string>

#include "shared/SettingsRecord.h"
#include "tab/TabGroup.h"
#include "tests/support/WindowCapture.h"

extern "C" {
SettingsRecord* WINAPI ShowSettingDlg(HICON, HWND, const char*, const char*, SettingsRecord*, int*);
SettingsRecord* WINAPI ShowProxySettingDlg(HICON, HWND, const char*, const char*, SettingsRecord*, int*);
const char* WINAPI ShowOpenDlg(int, const char*, int*);
const char* WINAPI ShowPFindDlg(HICON, int*, int*, int*);
int WINAPI ShowDlgWide(HICON, RECT*);
int WINAPI ShowAboutDlg(HICON, HWND, const char*, const char*, const char*, const char*, int);
int WINAPI ShowAddPopup(HWND, const char*);
void WINAPI StartupAddDlg(HWND, const char*, const char*, const char*);
const char* WINAPI ShowPtabRename(HICON, const CTabGroup*, int*);
const char* WINAPI ShowPtabCustom(HICON, CTabGroup*, int*);
}

namespace {

using PlacementTest = DialogsTest;

POINT Centre(const RECT& rc)
{
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

} // namespace

TEST_F(PlacementTest, EveryExportsDialogOpensCentredOverTheMainWindow)
{
    // The main window away from the screen's origin, active as when the
    // user picks a command.
    ::SetWindowPos(m_hMain, nullptr, 260, 170, 700, 560, SWP_NOZORDER);
    ::SetForegroundWindow(m_hMain);
    RECT rcMain = {};
    ::GetWindowRect(m_hMain, &rcMain);
    const POINT mainCentre = Centre(rcMain);

    const HICON hIcon = theApp.m_hIcon;
    const char* folder = m_folder->Path().c_str();
    SettingsRecord settings;
    CTabGroup group;
    RECT size = { 0, 0, 640, 480 };
    int result = 0;
    int reserved = 0;
    int cleared = 0;
    const struct
    {
        const char* name;
        std::function<void()> run;
    } cases[] = {
        { "settings", [&] { ShowSettingDlg(hIcon, m_hMain, "P", folder, &settings, &result); } },
        { "proxies-unsaved", [&] { ShowProxySettingDlg(hIcon, m_hMain, "P", folder, &settings, &result); } },
        { "about", [&] { ShowAboutDlg(hIcon, m_hMain, folder, "Name ver 1.0", "Build", "third", 0); } },
        { "keyword", [&] { ShowPFindDlg(hIcon, &reserved, &cleared, &result); } },
        { "open-location", [&] { ShowOpenDlg(0, nullptr, &result); } },
        { "window-size", [&] { ShowDlgWide(hIcon, &size); } },
        { "group-name", [&] { ShowPtabRename(hIcon, &group, &result); } },
        { "group-customise", [&] { ShowPtabCustom(hIcon, &group, &result); } },
        { "popup-rule", [&] { ShowAddPopup(m_hMain, folder); } },
        { "startup-url", [&] { StartupAddDlg(m_hMain, "P", folder, "http://a.example/"); } },
    };
    const std::string artifacts = ArtifactFolder("VA_DIALOGS_ARTIFACTS");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RECT rc = {};
        WhileModal({ [&] {
            HWND hDlg = FindDialog();
            ::GetWindowRect(hDlg, &rc);
            ::UpdateWindow(hDlg);
            WriteBitmap(artifacts + "/placement-" + c.name + ".bmp", CaptureWindow(::GetDesktopWindow()));
            Click(hDlg, IDCANCEL);
        } });
        c.run();
        ASSERT_TRUE(AllStepsRan());
        EXPECT_NEAR(mainCentre.x, Centre(rc).x, 1);
        EXPECT_NEAR(mainCentre.y, Centre(rc).y, 1);
    }
}

TEST_F(PlacementTest, SinglePageDialogOpensAtItsSavedRectangleWhateverTheMainWindow)
{
    ::SetWindowPos(m_hMain, nullptr, 260, 170, 700, 560, SWP_NOZORDER);
    ::SetForegroundWindow(m_hMain);
    SettingsRecord settings;
    settings.rcPrxpSetting = SettingsRect{ 40, 30, 880, 790 };
    int result = 0;
    RECT rc = {};
    WhileModal({ [&] {
        HWND hDlg = FindDialog();
        ::GetWindowRect(hDlg, &rc);
        Click(hDlg, IDCANCEL);
    } });
    ShowProxySettingDlg(theApp.m_hIcon, m_hMain, "P", m_folder->Path().c_str(), &settings, &result);
    EXPECT_EQ(40, rc.left);
    EXPECT_EQ(30, rc.top);
    EXPECT_EQ(880, rc.right);
    EXPECT_EQ(790, rc.bottom);
}
