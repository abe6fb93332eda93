// The settings dialogs the six settings exports run: which pages each
// registers, its title and the saved rectangle of the single-page ones.
#ifndef VA_DIALOGS_PAGES_SETTINGSPAGES_H
#define VA_DIALOGS_PAGES_SETTINGSPAGES_H

#include "framework/win/Wnd.h"
#include "shared/SettingsRecord.h"

enum class SettingsDialogKind {
    All,             // every page, with the tree
    PlugIns,         // single pages from here on
    Scripts,
    LiveGroups,      // the group tabs of the main window
    GroupTemplates,  // the group definitions of "GroupTab.dat"
    Proxies,
};

// One page of a settings dialog.
struct SettingsPageSpec
{
    const CRuntimeClass* pClass;  // null: registered by its caption only
    unsigned nIDTemplate;
    int nTitleLine;         // line of "etc.dat"
    // Sets the page's own switches (its mode, row dragging) after it is
    // made and before the dialog runs; null: none.
    void (*pConfigure)(CWnd* pPage);
};

// The full dialog's pages, in registration order.
extern const SettingsPageSpec kAllSettingsPages[];
extern const int kAllSettingsPageCount;

// The single page of a kind (null for All) and its saved rectangle in the
// settings record (null for All).
const SettingsPageSpec* SinglePageOf(SettingsDialogKind kind);
SettingsRect* SavedRectOf(SettingsRecord& settings, SettingsDialogKind kind);

// Builds and runs the dialog of the kind on the library's settings; the
// dialog's result (IDOK, IDCANCEL, -1 when it could not be made). A
// single-page dialog's rectangle goes back into the library's record,
// whatever the result.
int RunSettingsDialog(SettingsDialogKind kind);

#endif // VA_DIALOGS_PAGES_SETTINGSPAGES_H
