// Where the pages' own dialogs open: centred over the settings dialog (an
// editor's entry dialog over the editor), the key and gesture dialogs beside
// the page's list.
#include "dialogs/tests/PageHarness.h"

#include <string>

#include "dialogs/pages/BindingPages.h"
#include "dialogs/pages/BindingPagesRes.h"
#include "dialogs/pages/GroupTabPage.h"
#include "dialogs/pages/GroupTabPageRes.h"
#include "dialogs/pages/PopupPage.h"
#include "dialogs/pages/PopupPageRes.h"
#include "dialogs/pages/ProxyPage.h"
#include "dialogs/pages/ProxyPageRes.h"
#include "dialogs/pages/SearchEditorRes.h"
#include "dialogs/pages/SearchPage.h"
#include "dialogs/pages/SearchPageRes.h"
#include "dialogs/pages/StartupPage.h"
#include "dialogs/pages/StartupPageRes.h"

namespace {

POINT Centre(const RECT& rc)
{
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

RECT WindowRect(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

void ExpectCentredOver(const RECT& rcOwner, const RECT& rc)
{
    EXPECT_NEAR(Centre(rcOwner).x, Centre(rc).x, 1);
    EXPECT_NEAR(Centre(rcOwner).y, Centre(rc).y, 1);
}

} // namespace

TEST_F(PageTest, PagesDialogsOpenCentredOverTheSettingsDialog)
{
    m_folder->WriteBytes("SearchEngine.dat", "ROOT:\r\nENDROOT:\r\n");
    const struct
    {
        const char* name;
        const CRuntimeClass* pClass;
        UINT nIDTemplate;
        int nButton;
        int nNestedButton;  // a button of the dialog that opens another, 0 for none
    } cases[] = {
        { "popup-rule", RUNTIME_CLASS(CDlgPop), IDD_POP, IDC_POP_NEW, 0 },
        { "search-editor", RUNTIME_CLASS(CDlgSetTab18), IDD_SETTAB18, IDC_SEARCH_EDITLIST, IDC_SEARCHEDIT_NEWITEM },
        { "group-entry", RUNTIME_CLASS(CDlgPTabSC), IDD_PTABSC, IDC_PTAB_NEW, 0 },
        { "proxy-entry", RUNTIME_CLASS(CDlgSetTab8), IDD_SETTAB8, IDC_PROXY_NEW, 0 },
        { "proxy-batch", RUNTIME_CLASS(CDlgSetTab8), IDD_SETTAB8, IDC_PROXY_BATCH, 0 },
        { "startup-entry", RUNTIME_CLASS(CDlgSetTab7), IDD_SETTAB7, IDC_START_NEW, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RECT rcSettings = {};
        RECT rcDialog = {};
        RECT rcNested = {};
        HWND hDialog = nullptr;
        std::vector<Step> steps = {
            [&](HWND hPage) {
                // The settings dialog away from where it opened.
                HWND hSettings = ::GetAncestor(hPage, GA_ROOT);
                ::SetWindowPos(hSettings, nullptr, 330, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                rcSettings = WindowRect(hSettings);
                Click(hPage, c.nButton);
            },
            [&](HWND) {
                hDialog = FindDialog();
                rcDialog = WindowRect(hDialog);
                if (c.nNestedButton != 0)
                    Click(hDialog, c.nNestedButton);
                else
                    Click(hDialog, IDCANCEL);
            },
        };
        if (c.nNestedButton != 0) {
            steps.push_back([&](HWND) {
                HWND hNested = FindDialog();
                rcNested = WindowRect(hNested);
                Click(hNested, IDCANCEL);
            });
            steps.push_back([&](HWND) { Click(hDialog, IDCANCEL); });
        }
        RunPage(c.pClass, c.nIDTemplate, steps, IDCANCEL);
        ExpectCentredOver(rcSettings, rcDialog);
        if (c.nNestedButton != 0)
            ExpectCentredOver(rcDialog, rcNested);
    }
}

TEST_F(PageTest, KeyAndGestureDialogsOpenBesideTheListNotCentred)
{
    const struct
    {
        const CRuntimeClass* pClass;
        UINT nIDTemplate;
    } cases[] = {
        { RUNTIME_CLASS(CDlgSetTab13), IDD_SETTAB13 },
        { RUNTIME_CLASS(CDlgSetTab6), IDD_SETTAB6 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nIDTemplate);
        RECT rcSettings = {};
        RECT rcList = {};
        RECT rcDialog = {};
        RunPage(c.pClass, c.nIDTemplate, {
            [&](HWND hPage) {
                HWND hSettings = ::GetAncestor(hPage, GA_ROOT);
                ::SetWindowPos(hSettings, nullptr, 600, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                rcSettings = WindowRect(hSettings);
                rcList = WindowRect(::GetDlgItem(hPage, IDC_BINDING_LIST));
                Click(hPage, IDC_BINDING_NEW);
            },
            [&](HWND) {
                HWND hDlg = FindDialog();
                rcDialog = WindowRect(hDlg);
                Click(hDlg, IDCANCEL);
            },
        }, IDCANCEL);
        EXPECT_EQ(rcList.left - 6, rcDialog.right);
        EXPECT_EQ(rcSettings.top, rcDialog.top);
    }
}
