// CFormsetApp: the dialogs library's application object.
//
// One object per loaded library (the library defines it; test programs
// define their own). It holds what outlives one dialog: the caller's icon,
// the library's copy of the settings, the data folder, the product name,
// the main program's window, the text the text-returning exports hand back,
// the one modeless posted-data window and the reader of the numbered string
// files, which caches ten lines of one file.
#ifndef VA_DIALOGS_CORE_FORMSETAPP_H
#define VA_DIALOGS_CORE_FORMSETAPP_H

#include "framework/app/WinApp.h"
#include "framework/core/CString.h"
#include "shared/DataFolders.h"
#include "shared/SettingsRecord.h"
#include "shared/StringLineCache.h"

class CDlgPosted;

class CFormsetApp : public CWinApp
{
public:
    static constexpr int kStringCacheLines = 10;
    static constexpr int kProductNameSize = 32;

    CFormsetApp();
    ~CFormsetApp() override;

    // Defaults into the settings, the data folder from the executable's path.
    BOOL InitInstance() override;
    // Destroys the posted-data window and releases the library's pools.
    int ExitInstance() override;

    // Lines (from 1) of the numbered string files of the data folder's
    // String folder; empty when the file or the line is missing.
    CString GetMessageString(int line) { return m_strings.GetMessageText(line); }
    CString GetUrlString(int line) { return m_strings.GetUrlText(line); }
    CString GetRegString(int line) { return m_strings.GetRegText(line); }
    CString GetEtcString(int line) { return m_strings.GetEtcText(line); }
    CString GetDlgString(int line) { return m_strings.GetDlgText(line); }
    // A line of any file of the String folder, by its bare name
    // ("config.dat"), through the same cache.
    CString GetFileString(const char* fileName, int line) { return m_strings.GetText(fileName, line); }
    const CStringLineCache& GetStringCache() const { return m_strings.GetCache(); }
    // The reader itself, for code shared with the main program.
    CStringFiles& GetStringFiles() { return m_strings; }

    // The program folder, ending in "\"; data files are built on it.
    const CString& GetDataFolder() const { return m_folders.GetProgramFolder(); }
    // The data folders below it, with the paths of their files.
    const CDataFolders& GetFolders() const { return m_folders; }
    void SetDataFolder(const char* folder);
    // The first 31 characters of name (cp932-safe).
    void SetProductName(const char* name);
    const char* GetProductName() const { return m_productName; }

    // Replaces the posted-data window (null: none).
    void SetPostedDialog(CDlgPosted* pDialog);
    CDlgPosted* GetPostedDialog() const { return m_pPostedDialog; }

    HICON m_hIcon = nullptr;
    SettingsRecord m_settings;
    CString m_postedExtraText;
    HWND m_hMainWnd = nullptr;
    // The text of the last text-returning export.
    CString m_result;

private:
    CDataFolders m_folders;
    CDlgPosted* m_pPostedDialog = nullptr;
    char m_productName[kProductNameSize] = {};
    CStringFiles m_strings;
};

// The module's application object.
CFormsetApp& FormsetApp();

#endif // VA_DIALOGS_CORE_FORMSETAPP_H
