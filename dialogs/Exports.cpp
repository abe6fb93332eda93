// The library's 15 exports: plain functions under undecorated names (see
// Formbay.def), with the platform's standard calling convention. Null
// arguments make an export return at once; each runs in the library's own
// guard (AfxRunExport), so no exception leaves one and a fault inside is
// the library's to clean up; texts
// they return live in the application object until the next text-returning
// export or the unload.
#include <windows.h>

#include <type_traits>

#include "dialogs/core/DlgAbout.h"
#include "dialogs/core/DlgSetting.h"
#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/GroupTabPage.h"
#include "dialogs/pages/PopupPage.h"
#include "dialogs/pages/SettingsPages.h"
#include "dialogs/pages/StartupPage.h"
#include "dialogs/core/SmallDialogs.h"
#include "framework/app/FaultGuard.h"
#include "shared/FormbayExports.h"
#include "shared/FrameMessages.h"
#include "shared/SettingsRecord.h"
#include "tab/TabGroup.h"

// Exported by name through Formbay.def, so no decorated name is exported.
#define FORMBAY_EXPORT extern "C"

namespace {

// The six settings exports: the record copied in, the dialog run, the
// library's record returned after OK.
SettingsRecord* RunSettings(HICON hIcon, HWND hMainWnd, const char* productName, const char* dataFolder,
                            SettingsRecord* settings, int* dlgResult, SettingsDialogKind kind)
{
    if (hIcon == nullptr || hMainWnd == nullptr || productName == nullptr || dataFolder == nullptr ||
        settings == nullptr || dlgResult == nullptr)
        return nullptr;
    CFormsetApp& app = FormsetApp();
    app.m_hIcon = hIcon;
    app.m_hMainWnd = hMainWnd;
    app.SetProductName(productName);
    app.SetDataFolder(dataFolder);
    app.m_settings.CopyFrom(settings);
    const int result = RunSettingsDialog(kind);
    *dlgResult = result;
    return result == IDOK ? &app.m_settings : nullptr;
}

} // namespace

// The six settings exports share their arguments and their run.
#define FORMBAY_SETTINGS_EXPORT(name, kind)                                                               \
    FORMBAY_EXPORT SettingsRecord* WINAPI name(HICON icon, HWND mainWnd, const char* productName,        \
                                               const char* dataFolder, SettingsRecord* settings,         \
                                               int* dlgResult)                                           \
    {                                                                                                     \
        return AfxRunExport(#name, static_cast<SettingsRecord*>(nullptr), [&] {                          \
            return RunSettings(icon, mainWnd, productName, dataFolder, settings, dlgResult, kind);       \
        });                                                                                               \
    }

FORMBAY_SETTINGS_EXPORT(ShowSettingDlg, SettingsDialogKind::All)
FORMBAY_SETTINGS_EXPORT(ShowPlgSettingDlg, SettingsDialogKind::PlugIns)
FORMBAY_SETTINGS_EXPORT(ShowScriptSettingDlg, SettingsDialogKind::Scripts)
FORMBAY_SETTINGS_EXPORT(ShowPtabSCDlg, SettingsDialogKind::LiveGroups)
FORMBAY_SETTINGS_EXPORT(ShowPtabTempDlg, SettingsDialogKind::GroupTemplates)
FORMBAY_SETTINGS_EXPORT(ShowProxySettingDlg, SettingsDialogKind::Proxies)

FORMBAY_EXPORT const char* WINAPI ShowOpenDlg(int titleMode, const char* initialText, int* dlgResult)
{
    if (dlgResult == nullptr)
        return nullptr;
    return AfxRunExport("ShowOpenDlg", static_cast<const char*>(nullptr), [&]() -> const char* {
        CFormsetApp& app = FormsetApp();
        app.m_result.Empty();
        CDlgOpenLocation dialog;
        dialog.m_nTitleMode = titleMode;
        if (initialText != nullptr)
            dialog.m_text = initialText;
        *dlgResult = static_cast<int>(dialog.DoModal());
        app.m_result = dialog.m_text;
        return app.m_result;
    });
}

FORMBAY_EXPORT const char* WINAPI ShowPFindDlg(HICON icon, int* reserved, int* cleared, int* dlgResult)
{
    if (icon == nullptr || reserved == nullptr || cleared == nullptr || dlgResult == nullptr)
        return nullptr;
    return AfxRunExport("ShowPFindDlg", static_cast<const char*>(nullptr), [&]() -> const char* {
        CFormsetApp& app = FormsetApp();
        app.m_hIcon = icon;
        app.m_result.Empty();
        CDlgKeywordHighlight dialog;
        *dlgResult = static_cast<int>(dialog.DoModal());
        app.m_result = dialog.m_keyword;
        *reserved = 0;
        *cleared = dialog.m_bCleared ? 1 : 0;
        return app.m_result;
    });
}

// The group-tab dialogs run on one of the main program's groups; the text
// they hand back is the group's caption template as the dialog left it.
FORMBAY_EXPORT const char* WINAPI ShowPtabCustom(HICON icon, CTabGroup* group, int* dlgResult)
{
    if (icon == nullptr || group == nullptr || dlgResult == nullptr)
        return nullptr;
    return AfxRunExport("ShowPtabCustom", static_cast<const char*>(nullptr), [&]() -> const char* {
        CFormsetApp& app = FormsetApp();
        app.m_hIcon = icon;
        app.m_result.Empty();
        CDlgPTabCustom dialog;
        dialog.m_pGroup = group;
        *dlgResult = static_cast<int>(dialog.DoModal());
        app.m_result = dialog.m_strTitle;
        return app.m_result;
    });
}

FORMBAY_EXPORT const char* WINAPI ShowPtabRename(HICON icon, const CTabGroup* group, int* dlgResult)
{
    if (icon == nullptr || group == nullptr || dlgResult == nullptr)
        return nullptr;
    return AfxRunExport("ShowPtabRename", static_cast<const char*>(nullptr), [&]() -> const char* {
        CFormsetApp& app = FormsetApp();
        app.m_hIcon = icon;
        app.m_result.Empty();
        CDlgPTabRename dialog;
        dialog.m_strName = group->m_captionTemplate;
        *dlgResult = static_cast<int>(dialog.DoModal());
        app.m_result = dialog.m_strName;
        return app.m_result;
    });
}

FORMBAY_EXPORT int WINAPI ShowAboutDlg(HICON icon, HWND mainWnd, const char* dataFolder, const char* text1,
                                       const char* text2, const char* text3, int debugTrace)
{
    if (icon == nullptr || mainWnd == nullptr || dataFolder == nullptr || text1 == nullptr || text2 == nullptr ||
        text3 == nullptr)
        return debugTrace;
    return AfxRunExport("ShowAboutDlg", debugTrace, [&]() -> int {
        CFormsetApp& app = FormsetApp();
        app.m_hMainWnd = mainWnd;
        app.m_hIcon = icon;
        app.SetDataFolder(dataFolder);
        CDlgAbout dialog;
        dialog.m_text1 = text1;
        dialog.m_text2 = text2;
        dialog.m_text3 = text3;
        dialog.m_nTrace = debugTrace;
        dialog.DoModal();
        return dialog.m_nTrace;
    });
}

FORMBAY_EXPORT int WINAPI ShowDlgWide(HICON icon, RECT* rect)
{
    if (icon == nullptr || rect == nullptr)
        return 0;
    return AfxRunExport("ShowDlgWide", 0, [&]() -> int {
        FormsetApp().m_hIcon = icon;
        CDlgWindowSize dialog;
        dialog.m_rect = *rect;
        const int result = static_cast<int>(dialog.DoModal());
        if (result == IDOK)
            *rect = dialog.m_rect;
        return result;
    });
}

FORMBAY_EXPORT void WINAPI ShowPostedDlg(HICON icon, const char* extraText, const char* bodyText)
{
    if (icon == nullptr || extraText == nullptr || bodyText == nullptr)
        return;
    AfxRunExport("ShowPostedDlg", [&] {
        CFormsetApp& app = FormsetApp();
        app.m_hIcon = icon;
        app.m_postedExtraText = extraText;
        app.SetPostedDialog(nullptr);
        CDlgPosted* pDialog = new CDlgPosted(bodyText);
        if (pDialog->Create())
            app.SetPostedDialog(pDialog);
        else
            delete pDialog;
    });
}

// One popup-block rule for the active tab, appended to "PopClose.dat" and
// then handed to the main window. The dialog's result, or IDCANCEL when the
// file could not take the rule.
FORMBAY_EXPORT int WINAPI ShowAddPopup(HWND mainWnd, const char* dataFolder)
{
    if (mainWnd == nullptr || dataFolder == nullptr)
        return 0;
    return AfxRunExport("ShowAddPopup", 0, [&]() -> int {
        CFormsetApp& app = FormsetApp();
        app.SetDataFolder(dataFolder);
        app.m_hMainWnd = mainWnd;
        const CString path = app.GetFolders().ProgramFile("PopClose.dat");
        if (TellIfListUnreadable(mainWnd, path))
            return IDCANCEL;
        CDlgAddPopup dialog;
        dialog.m_rule.url = AskMainWindowText(WM_FRAME_GETACTIVEURL);
        dialog.m_rule.title = AskMainWindowText(WM_FRAME_GETACTIVETITLE);
        const int result = static_cast<int>(dialog.DoModal());
        if (result == IDOK) {
            // A rule the file does not hold is not handed on either: it would
            // last only until the next start.
            FileReadState read;
            DWORD error = 0;
            if (!AppendPopupRule(path, dialog.m_rule, &read, &error)) {
                if (!TellIfUnreadable(mainWnd, read))
                    TellNotSaved(mainWnd, path, error);
                return IDCANCEL;
            }
            ::SendMessageA(mainWnd, WM_FRAME_ADDPOPUPENTRY, reinterpret_cast<WPARAM>(&dialog.m_rule), 1);
        }
        return result;
    });
}

// One start-up URL, prefilled and enabled, appended to "StartUpURL.dat" on
// OK.
FORMBAY_EXPORT void WINAPI StartupAddDlg(HWND mainWnd, const char* productName, const char* dataFolder,
                                         const char* url)
{
    if (mainWnd == nullptr || productName == nullptr || dataFolder == nullptr || url == nullptr)
        return;
    AfxRunExport("StartupAddDlg", [&] {
        CFormsetApp& app = FormsetApp();
        app.m_hMainWnd = mainWnd;
        app.SetProductName(productName);
        app.SetDataFolder(dataFolder);
        const CString path = app.GetFolders().ProgramFile("StartUpURL.dat");
        if (TellIfListUnreadable(mainWnd, path))
            return;
        CDlgStartupAdd dialog;
        dialog.m_entry.url = url;
        dialog.m_entry.bEnabled = true;
        FileReadState read;
        DWORD error = 0;
        if (dialog.DoModal() == IDOK && !AppendStartupEntry(path, dialog.m_entry, &read, &error) &&
            !TellIfUnreadable(mainWnd, read))
            TellNotSaved(mainWnd, path, error);
    });
}

// Each definition has the type the main program calls it through.
#define FORMBAY_CHECK_EXPORT(name, type) \
    static_assert(std::is_same<decltype(&name), FormbayExports::type>::value, #name " differs from its caller")
FORMBAY_CHECK_EXPORT(ShowSettingDlg, ShowSettingDlgFn);
FORMBAY_CHECK_EXPORT(ShowPlgSettingDlg, ShowSettingDlgFn);
FORMBAY_CHECK_EXPORT(ShowScriptSettingDlg, ShowSettingDlgFn);
FORMBAY_CHECK_EXPORT(ShowPtabSCDlg, ShowSettingDlgFn);
FORMBAY_CHECK_EXPORT(ShowPtabTempDlg, ShowSettingDlgFn);
FORMBAY_CHECK_EXPORT(ShowProxySettingDlg, ShowSettingDlgFn);
FORMBAY_CHECK_EXPORT(ShowOpenDlg, ShowOpenDlgFn);
FORMBAY_CHECK_EXPORT(ShowPFindDlg, ShowPFindDlgFn);
FORMBAY_CHECK_EXPORT(ShowPtabCustom, ShowPtabCustomFn);
FORMBAY_CHECK_EXPORT(ShowPtabRename, ShowPtabRenameFn);
FORMBAY_CHECK_EXPORT(ShowAboutDlg, ShowAboutDlgFn);
FORMBAY_CHECK_EXPORT(ShowDlgWide, ShowDlgWideFn);
FORMBAY_CHECK_EXPORT(ShowPostedDlg, ShowPostedDlgFn);
FORMBAY_CHECK_EXPORT(ShowAddPopup, ShowAddPopupFn);
FORMBAY_CHECK_EXPORT(StartupAddDlg, StartupAddDlgFn);
