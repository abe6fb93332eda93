// CSettingsPage: the base of the settings dialog's pages.
//
// A page edits the library's settings record. Its field table (PageFields.h)
// fills the controls when the page window is made and is written back on
// WM_SAVE_SETTINGS, which the settings dialog sends only to pages that have
// a window: a page never shown writes nothing. OK and Cancel commands from a
// page's controls do nothing: only the settings dialog ends. Menus a page
// shows are owner-drawn CNewMenu objects. Controls that follow the page's
// edges are registered with m_layout, which WM_SIZE re-lays.
#ifndef VA_DIALOGS_PAGES_SETTINGSPAGE_H
#define VA_DIALOGS_PAGES_SETTINGSPAGE_H

#include "dialogs/core/AnchorLayout.h"
#include "dialogs/pages/PageFields.h"
#include "framework/dialog/PropertyPage.h"
#include "menulib/NewFrame.h"

class CSettingsPage : public CNewFrame<CPropertyPage>
{
    DECLARE_DYNAMIC(CSettingsPage)

public:
    // The table must outlive the page (a static array of the page's file).
    explicit CSettingsPage(UINT nIDTemplate, const PageField* fields = nullptr, int nFields = 0);

    const PageField* GetFields() const { return m_pFields; }
    int GetFieldCount() const { return m_nFields; }

    // The library's settings record.
    static SettingsRecord& Settings();
    // A message box over the page with the product name as caption: the
    // text of a "message.dat" line, or a text of the caller's.
    int MessageBoxLine(int nLine, UINT nType);
    int MessageBoxText(LPCSTR text, UINT nType);

protected:
    // Fills the controls from the field table.
    BOOL OnInitDialog() override;
    // WM_SAVE_SETTINGS: writes the field table back; pages that own files
    // write them here too.
    virtual void OnSaveSettings();
    void OnOK() override {}
    void OnCancel() override {}

    DECLARE_MESSAGE_MAP()
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnSaveSettingsMessage(WPARAM wParam, LPARAM lParam);

    CAnchorLayout m_layout;

private:
    const PageField* m_pFields;
    int m_nFields;
};

// Enables or disables a control of a dialog.
void EnableDlgItem(HWND hDlg, int nID, bool bEnable);
// Disables and hides the controls of a dialog, in the order given.
void HideDlgItems(HWND hDlg, const int* ids, int count);
// Appends count strings of the module's string table, from nFirstString
// on, to a combo box (resource scripts give a combo no items).
void FillComboStrings(HWND hCombo, UINT nFirstString, int count);

// The whole text of a dialog's control.
CString PageItemText(HWND hDlg, int nID);

// The library's icon, big and small, on a page's own dialog.
void SetPageIcons(HWND hDlg);

#endif // VA_DIALOGS_PAGES_SETTINGSPAGE_H
