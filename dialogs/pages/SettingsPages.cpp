#include "dialogs/pages/SettingsPages.h"

#include "dialogs/core/DlgSetting.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/AssocPage.h"
#include "dialogs/pages/BindingPages.h"
#include "dialogs/pages/CheckListPages.h"
#include "dialogs/pages/DlgSetTab10.h"
#include "dialogs/pages/DlgSetTab5.h"
#include "dialogs/pages/DlgSetTab9.h"
#include "dialogs/pages/GroupTabPage.h"
#include "dialogs/pages/PlugInPage.h"
#include "dialogs/pages/ProxyPage.h"
#include "dialogs/pages/SearchPage.h"
#include "dialogs/pages/SimplePages.h"
#include "dialogs/pages/TabBarPages.h"

// The full dialog's pages, in the order of its page list; pages save in
// this order. iParentTabNewRule is shared: the new group-tab page writes the
// bits of its rows and keeps the others, among them 0x40 and 0x80, which the
// search page owns.
const SettingsPageSpec kAllSettingsPages[] = {
    { RUNTIME_CLASS(CDlgSetTab5), 214, 9, nullptr },  // general
    { RUNTIME_CLASS(CDlgSetTab9), 226, 10, nullptr },   // page defaults
    { RUNTIME_CLASS(CDlgSetTab10), 228, 11, nullptr },   // tab operations
    { RUNTIME_CLASS(CDlgSetTab17), 268, 75, nullptr },   // messages
    { RUNTIME_CLASS(CDlgSetTab1), 165, 12, nullptr },   // tab bar
    { RUNTIME_CLASS(CDlgSetTab15), 256, 13, nullptr },   // group-tab bar
    { RUNTIME_CLASS(CDlgSetTab16), 257, 14, nullptr },   // new group-tab triggers
    { RUNTIME_CLASS(CDlgPTabSC), 259, 15, CDlgPTabSC::ConfigureDefinitions },  // group definitions
    { RUNTIME_CLASS(CDlgSetTab3), 210, 17, nullptr },   // favorites window
    { RUNTIME_CLASS(CDlgSetTab4), 212, 18, nullptr },   // address bar
    { RUNTIME_CLASS(CDlgSetTab6), 216, 19, nullptr },   // mouse and gestures
    { RUNTIME_CLASS(CDlgSetTab13), 247, 20, nullptr },  // keys
    { RUNTIME_CLASS(CDlgSetTab8), 222, 21, nullptr },   // proxies
    { RUNTIME_CLASS(CDlgSetTab11), 190, 24, nullptr },  // file associations
    { RUNTIME_CLASS(CDlgSetTab12), 196, 25, nullptr },       // plug-ins
    { RUNTIME_CLASS(CDlgScriptSetting), 196, 26, nullptr },  // scripts
    { RUNTIME_CLASS(CDlgSetTab14), 255, 27, nullptr },  // full-screen items
    { RUNTIME_CLASS(CDlgSetTab18), 1003, 80, nullptr },  // search
};
const int kAllSettingsPageCount = static_cast<int>(sizeof(kAllSettingsPages) / sizeof(kAllSettingsPages[0]));

namespace {

const SettingsPageSpec kPlugInsPage = { RUNTIME_CLASS(CDlgSetTab12), 196, 25, nullptr };
const SettingsPageSpec kScriptsPage = { RUNTIME_CLASS(CDlgScriptSetting), 196, 26, nullptr };
const SettingsPageSpec kLiveGroupsPage = { RUNTIME_CLASS(CDlgPTabSC), 259, 29, CDlgPTabSC::ConfigureLive };
const SettingsPageSpec kGroupTemplatesPage = { RUNTIME_CLASS(CDlgPTabSC), 259, 15, CDlgPTabSC::ConfigureDefinitions };
const SettingsPageSpec kProxiesPage = { RUNTIME_CLASS(CDlgSetTab8), 222, 21, nullptr };

RECT ToRect(const SettingsRect& rc)
{
    return RECT{ rc.left, rc.top, rc.right, rc.bottom };
}

} // namespace

const SettingsPageSpec* SinglePageOf(SettingsDialogKind kind)
{
    switch (kind) {
    case SettingsDialogKind::PlugIns: return &kPlugInsPage;
    case SettingsDialogKind::Scripts: return &kScriptsPage;
    case SettingsDialogKind::LiveGroups: return &kLiveGroupsPage;
    case SettingsDialogKind::GroupTemplates: return &kGroupTemplatesPage;
    case SettingsDialogKind::Proxies: return &kProxiesPage;
    case SettingsDialogKind::All: break;
    }
    return nullptr;
}

SettingsRect* SavedRectOf(SettingsRecord& settings, SettingsDialogKind kind)
{
    switch (kind) {
    case SettingsDialogKind::PlugIns:
    case SettingsDialogKind::Scripts: return &settings.rcPlgSetting;
    case SettingsDialogKind::LiveGroups: return &settings.rcScSetting;
    case SettingsDialogKind::GroupTemplates: return &settings.rcPTmpSetting;
    case SettingsDialogKind::Proxies: return &settings.rcPrxpSetting;
    case SettingsDialogKind::All: break;
    }
    return nullptr;
}

int RunSettingsDialog(SettingsDialogKind kind)
{
    CFormsetApp& app = FormsetApp();
    CDlgSetting dialog(nullptr);
    dialog.SetProductName(app.GetProductName());
    dialog.SetTitle(CString(app.GetProductName()) + app.GetEtcString(28));

    const SettingsPageSpec* single = SinglePageOf(kind);
    SettingsRect* saved = SavedRectOf(app.m_settings, kind);
    if (single != nullptr) {
        const CString title = app.GetEtcString(single->nTitleLine);
        dialog.m_bSinglePage = 1;
        CWnd* pPage = dialog.AddPage(single->pClass, title, single->nIDTemplate, title);
        if (pPage != nullptr && single->pConfigure != nullptr)
            single->pConfigure(pPage);
        dialog.m_rcSaved = ToRect(*saved);
    } else {
        for (int i = 0; i < kAllSettingsPageCount; ++i) {
            const SettingsPageSpec& page = kAllSettingsPages[i];
            const CString title = app.GetEtcString(page.nTitleLine);
            CWnd* pPage = dialog.AddPage(page.pClass, title, page.nIDTemplate, title);
            if (pPage != nullptr && page.pConfigure != nullptr)
                page.pConfigure(pPage);
        }
    }

    const int result = static_cast<int>(dialog.DoModal());
    if (saved != nullptr) {
        saved->left = dialog.m_rcSaved.left;
        saved->top = dialog.m_rcSaved.top;
        saved->right = dialog.m_rcSaved.right;
        saved->bottom = dialog.m_rcSaved.bottom;
    }
    return result;
}
