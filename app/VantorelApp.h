// CVantorelApp: the application object. It decides at start whether this
// process becomes the browser or hands its command line to the one running,
// prepares the data folders and settings, creates the main frame and opens
// the first pages, and keeps the program-wide objects that outlive windows.
#ifndef VA_APP_VANTORELAPP_H
#define VA_APP_VANTORELAPP_H

#include "app/DataFolders.h"
#include "framework/app/WinApp.h"
#include "framework/core/Collections.h"
#include "shared/SettingsRecord.h"
#include "shared/StringLineCache.h"

class CMainFrame;
class CTabGroup;

// Bits of CVantorelApp::m_runFlags.
enum AppRunFlag : DWORD
{
    kRunFlagFoldersPending = 0x01,  // cleared once the data folders exist
    kRunFlagShuttingDown = 0x02,    // tab views skip their closed-tab bookkeeping
    kRunFlagEnableDoc = 0x10,       // bEnableDoc as it was at start
};

class CVantorelApp : public CWinApp
{
public:
    CVantorelApp();
    ~CVantorelApp() override;

    BOOL InitInstance() override;
    BOOL PumpMessage() override;
    BOOL OnIdle(LONG lCount) override;
    int ExitInstance() override;

    BOOL OpenStartupDocuments(BOOL bOpen);
    void ShutdownCleanup();
    void TrimWorkingSet(BOOL bForce);

    void CreateDataFolders();
    void LoadSettings();

    // Texts of the numbered string files (line numbers start at 1).
    CString GetMessageText(int line) { return m_strings.GetMessageText(line); }
    CString GetUrlText(int line) { return m_strings.GetUrlText(line); }
    CString GetRegText(int line) { return m_strings.GetRegText(line); }
    CString GetEtcText(int line) { return m_strings.GetEtcText(line); }
    CString GetDlgText(int line) { return m_strings.GetDlgText(line); }
    CString GetFirstText(int line) { return m_strings.GetFirstText(line); }
    CString GetIEHistoryText(int line) { return m_strings.GetIEHistoryText(line); }
    CString GetFavText(int line) { return m_strings.GetFavText(line); }

    // Opening pages in tabs; the tabs themselves arrive with the tab frame,
    // until then nothing opens.
    BOOL OpenUrl(LPCTSTR url, int reason);
    // A new tab group for search results, as the search commands ask for it:
    // its caption is name as the user typed it ("%" and all, never expanded)
    // followed by "[n]", n its number of tabs. defaultOptions: the default
    // group options (a folder search); otherwise the download-control word
    // dwDLControlFlags and image 1. Null when no group can be made.
    // Placeholder until the tab groups arrive: makes none.
    CTabGroup* CreateSearchGroup(LPCTSTR name, BOOL defaultOptions);
    // Opens url as a new tab of group (null: the current group, as OpenUrl).
    // FALSE when nothing opened (for example the group's tab limit).
    BOOL OpenUrlInGroup(CTabGroup* group, LPCTSTR url, int reason);
    void OpenStartupList();

    const CString& GetProgramFolder() const { return m_folders.GetProgramFolder(); }
    CString ProgramFile(LPCTSTR name) const;
    const char* GetMainClassName() const { return m_className; }

    SettingsRecord m_settings;
    CDataFolders m_folders;
    CStringFiles m_strings;
    CString m_rebar;
    CMapStringToString m_keyMap;  // the settings-file lines read at start
    CString m_pendingKeyword;     // left by the page context menu for a search
    CString m_lastSearchKeyword;  // the keyword of the last web search
    HMENU m_hMainMenu = nullptr;
    HANDLE m_hSemaphore = nullptr;
    char m_className[16] = {};
    BYTE m_idleCounter = 0;
    DWORD m_runFlags = kRunFlagEnableDoc;
    int m_keyboardType = 0;

protected:
    void OnFileNew();

    DECLARE_MESSAGE_MAP()

private:
    static int DetectKeyboardType();
    void ForceSessionSettings();
    bool HandOverToRunningInstance();
    BOOL CreateMainFrame();

    DWORD m_startTicks = 0;
    // Only the process that created the main frame owns "Exception.dat":
    // a hand-over process or a failed start must never delete it.
    bool m_ownsRecoveryFile = false;
    bool m_oleInitialized = false;
};

extern CVantorelApp theApp;

#endif // VA_APP_VANTORELAPP_H
