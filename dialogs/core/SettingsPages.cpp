#include "dialogs/core/SettingsPages.h"

#include "dialogs/core/DlgSetting.h"
#include "dialogs/core/FormsetApp.h"

// Page classes are filled in as the pages are built; until then a page
// shows its caption only.
const SettingsPageSpec kAllSettingsPages[] = {
    { nullptr, 214, 9 },    // general
    { nullptr, 226, 10 },   // page defaults
    { nullptr, 228, 11 },   // tab operations
    { nullptr, 268, 75 },   // messages
    { nullptr, 165, 12 },   // tab bar
    { nullptr, 256, 13 },   // group-tab bar
    { nullptr, 257, 14 },   // new group-tab triggers
    { nullptr, 259, 15 },   // group definitions
    { nullptr, 210, 17 },   // favorites window
    { nullptr, 212, 18 },   // address bar
    { nullptr, 216, 19 },   // mouse and gestures
    { nullptr, 247, 20 },   // keys
    { nullptr, 222, 21 },   // proxies
    { nullptr, 190, 24 },   // file associations
    { nullptr, 196, 25 },   // plug-ins
    { nullptr, 196, 26 },   // scripts
    { nullptr, 255, 27 },   // full-screen items
    { nullptr, 1003, 80 },  // search
};
const int kAllSettingsPageCount = static_cast<int>(sizeof(kAllSettingsPages) / sizeof(kAllSettingsPages[0]));

namespace {

const SettingsPageSpec kPlugInsPage = { nullptr, 196, 25 };
const SettingsPageSpec kScriptsPage = { nullptr, 196, 26 };
const SettingsPageSpec kLiveGroupsPage = { nullptr, 259, 29 };
const SettingsPageSpec kGroupTemplatesPage = { nullptr, 259, 15 };
const SettingsPageSpec kProxiesPage = { nullptr, 222, 21 };

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
        dialog.AddPage(single->pClass, title, single->nIDTemplate, title);
        dialog.m_rcSaved = ToRect(*saved);
    } else {
        for (int i = 0; i < kAllSettingsPageCount; ++i) {
            const SettingsPageSpec& page = kAllSettingsPages[i];
            const CString title = app.GetEtcString(page.nTitleLine);
            dialog.AddPage(page.pClass, title, page.nIDTemplate, title);
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
