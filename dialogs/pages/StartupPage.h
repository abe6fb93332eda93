// The start-up URL list "StartUpURL.dat" (the pages start-up mode 4 opens)
// and its two editors: the page CDlgSetTab7 (registered in no settings
// dialog) with the whole list, and the entry dialog CDlgStartupAdd, which
// the page and the export StartupAddDlg run.
//
// A line is the URL, "｀" and "1" (enabled) or "0". Lines are written
// through DataFields::CleanUrlField, so a URL never breaks its line.
#ifndef VA_DIALOGS_PAGES_STARTUPPAGE_H
#define VA_DIALOGS_PAGES_STARTUPPAGE_H

#include <vector>

#include "dialogs/pages/ListPage.h"
#include "framework/core/File.h"
#include "framework/dialog/Dialog.h"

struct StartupEntry
{
    CString url;
    bool bEnabled = true;
};

// Lines of exactly two fields, in order ("1" enabled, any other flag not);
// false when the file cannot be opened, and *pState (when given) tells a
// missing file from one that would not open.
bool ReadStartupEntries(const CString& path, std::vector<StartupEntry>& entries, FileReadState* pState = nullptr);
// The whole list, or nothing when it cannot be written (false, the system's
// code in *pError when given).
[[nodiscard]] bool WriteStartupEntries(const CString& path, const std::vector<StartupEntry>& entries, DWORD* pError = nullptr);
// One entry after the file's lines, which stay as they are; a file that is
// there but cannot be read is left as it is (*pRead says why; a failed
// replacement gives its code in *pWriteError).
[[nodiscard]] bool AppendStartupEntry(const CString& path, const StartupEntry& entry, FileReadState* pRead = nullptr,
                        DWORD* pWriteError = nullptr);

class CDlgSetTab7 : public CSettingsListPage
{
    DECLARE_DYNCREATE(CDlgSetTab7)

public:
    CDlgSetTab7();

    void AppendEntry(const StartupEntry& entry);
    void SetEntry(int nRow, const StartupEntry& entry);
    StartupEntry GetEntry(int nRow) const;

protected:
    BOOL OnInitDialog() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnPaint();
    void OnAddActiveTab();
    void OnNewEntry();
    void OnEditEntry(NMHDR* pNMHDR, LRESULT* pResult);
};

class CDlgStartupAdd : public CDialog
{
public:
    CDlgStartupAdd();
    StartupEntry m_entry;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

#endif // VA_DIALOGS_PAGES_STARTUPPAGE_H
