// CDlgSetTab10: the tab operations page of the settings dialog (template
// 228): where new tabs go, which tab follows a closed one, the default
// actions of "new" and of in-page search, what a tab opened from a link
// inherits, and the page-source editor (a machine-wide registry value,
// written when the dialog is confirmed with its text changed).
#ifndef VA_DIALOGS_PAGES_DLGSETTAB10_H
#define VA_DIALOGS_PAGES_DLGSETTAB10_H

#include "dialogs/pages/SettingsPage.h"

class CDlgSetTab10 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab10)

public:
    CDlgSetTab10();

protected:
    BOOL OnInitDialog() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnInherit();
    void OnBrowse();

private:
    // Writes the editor text to the registry: "notepad.exe" (any case)
    // removes the keys of "reg.dat" lines 3 and 4, another text sets the
    // default value of the line 3 key, an empty text changes nothing; a key
    // whose line is empty is never touched. A failure is told.
    void SaveEditor(const CString& text);
    // The editor value could not be written: says so, with the key and the
    // system's reason.
    void TellEditorNotSaved(const CString& editorKey, DWORD error);

    // The editor text as OnInitDialog showed it.
    CString m_strEditorShown;
};

#endif // VA_DIALOGS_PAGES_DLGSETTAB10_H
