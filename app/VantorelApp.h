// CVantorelApp: the application object. It decides at start whether this
// process becomes the browser or hands its command line to the one running,
// prepares the data folders and settings, creates the main frame and opens
// the first pages, and keeps the program-wide objects that outlive windows.
#ifndef VA_APP_VANTORELAPP_H
#define VA_APP_VANTORELAPP_H

#include <string>
#include <vector>

#include "framework/app/FaultGuard.h"
#include "framework/app/WinApp.h"
#include "framework/core/Collections.h"
#include "lists/PlugInItem.h"
#include "lists/ScriptItem.h"
#include "shared/DataFolders.h"
#include "shared/SettingsRecord.h"
#include "shared/StringLineCache.h"
#include "tab/KeyBindings.h"

class CBrowserView;
class CChildFrame;
class CMainFrame;
class CTabGroup;
class CTabItem;
class SavedHistory;

// Converts a compact TabLoadFlags word into a download-control word; 0 stays
// 0 (the tab keeps its group's word).
DWORD ConvertTabLoadFlags(WORD tabLoadFlags);

// The single-instance semaphore held for at most 100 ms: Acquired() when it
// was taken, or when there is no semaphore at all (then nothing is locked).
// Only what was acquired is released, at the end of the scope or, when a
// fault breaks the scope off, by the guard that takes the fault: the other
// instances wait on the same semaphore.
class CSemaphoreLock
{
public:
    explicit CSemaphoreLock(HANDLE hSemaphore, DWORD timeoutMs = 100);
    CSemaphoreLock(const CSemaphoreLock&) = delete;
    CSemaphoreLock& operator=(const CSemaphoreLock&) = delete;
    bool Acquired() const { return m_hSemaphore == nullptr || m_held; }

private:
    HANDLE m_hSemaphore;
    bool m_held = false;
    CFaultHold m_hold;
};

// A run of many tabs opened at once, for the length of a scope: every new
// tab goes to the end of its group (the append position is set aside) and
// the page tab bar stays hidden until the run ends, unless another run
// already holds it. A run a fault breaks off ends the same way.
class CTabBatch
{
public:
    CTabBatch();
    CTabBatch(const CTabBatch&) = delete;
    CTabBatch& operator=(const CTabBatch&) = delete;
    // Between tabs of a long run: gives memory back and waits 100 ms.
    static void Pause();

private:
    CFaultHold m_hold;
};

// Bits of CVantorelApp::m_runFlags.
enum AppRunFlag : DWORD
{
    kRunFlagFoldersPending = 0x01,  // cleared once the data folders exist
    kRunFlagShuttingDown = 0x02,    // tab views skip their closed-tab bookkeeping
    kRunFlagKeyMapLoaded = 0x04,
    kRunFlagGestureMapLoaded = 0x08,
    kRunFlagEnableDoc = 0x10,       // bEnableDoc as it was at start
};

class CVantorelApp : public CWinApp
{
public:
    CVantorelApp();
    ~CVantorelApp() override;

    BOOL InitInstance() override;
    // The framework's pump, guarded. After a fault taken anywhere on this
    // thread the status bar says "Access Violation", what the broken-off
    // work left (a disabled main window, a dialog without its loop) is put
    // right, the open tabs are saved to the recovery file (at most once a
    // minute while the fault repeats) and the loop goes on.
    BOOL PumpMessage() override;
    BOOL OnIdle(LONG lCount) override;
    int ExitInstance() override;

    BOOL OpenStartupDocuments(BOOL bOpen);
    // Loads the frame as the main window. On failure the frame object is
    // gone (a frame deletes itself however its load fails) and FALSE comes
    // back.
    BOOL StartMainFrame(CMainFrame* frame);
    void ShutdownCleanup();
    // The exit broke off before its writing was done: the recovery file
    // stays for the next start.
    void KeepRecoveryFile() { m_ownsRecoveryFile = false; }
    // A new main window: the faults before it are none of its recovery's
    // business, and its first fault saves its tabs.
    void BeginFaultRecovery();
    void TrimWorkingSet(BOOL bForce);

    // The program folder (from the program's wide file name) and the data
    // folders below it.
    void CreateDataFolders();
    // A message box when the program folder has no path the ANSI functions
    // take: the program runs without it, reading and writing nothing there.
    void ReportUnusableProgramFolder();
    void LoadSettings();
    // Settings that this version fixes whatever the file says; right after
    // LoadSettings.
    void ForceSessionSettings();

    // Texts of the numbered string files (line numbers start at 1).
    CString GetMessageText(int line) { return m_strings.GetMessageText(line); }
    CString GetUrlText(int line) { return m_strings.GetUrlText(line); }
    CString GetRegText(int line) { return m_strings.GetRegText(line); }
    CString GetEtcText(int line) { return m_strings.GetEtcText(line); }
    CString GetDlgText(int line) { return m_strings.GetDlgText(line); }
    CString GetFirstText(int line) { return m_strings.GetFirstText(line); }
    CString GetIEHistoryText(int line) { return m_strings.GetIEHistoryText(line); }
    CString GetFavText(int line) { return m_strings.GetFavText(line); }

    //--- Tab groups
    // The current key if listed, else the fallback key if listed, else the
    // last group; null without groups.
    CTabGroup* GetActiveGroup() const;
    // Makes the group the current key; the old one becomes the fallback.
    void SetCurrentGroup(CTabGroup* group);
    bool IsGroupListed(const CTabGroup* group) const;
    int GetGroupIndex(const CTabGroup* group) const;
    CTabGroup* GetGroupAt(int index) const;
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    // Takes the group off the list and forgets every key naming it.
    void RemoveGroupFromList(CTabGroup* group);
    int GetGroupTabCount(const CTabGroup* group) const;
    // Current group first, then the others in list order.
    CTabItem* FindTabById(HWND hTab, int* pIndex = nullptr) const;
    bool IsTabListed(const CTabItem* tab) const;
    // A record going away leaves every list and pointer that names it.
    void ForgetTab(CTabItem* tab);
    void ForgetTabFrame(CChildFrame* frame);
    // Deletes every group once no tab window is left.
    void ReleaseGroups();
    bool IsShuttingDown() const { return (m_runFlags & kRunFlagShuttingDown) != 0; }

    //--- Opening pages in tabs
    // Consumes mail links (and a null text); nonzero when consumed.
    BOOL HandleMailto(LPCTSTR url);
    CTabGroup* OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason, DWORD loadFlags = 0,
                       BYTE tabValue = 0);
    // In the current group, by an ordinary reason.
    BOOL OpenUrl(LPCTSTR url, int reason)
    {
        return OpenUrl(nullptr, url, static_cast<WORD>(reason)) != nullptr;
    }
    CTabGroup* OpenUrlWithLoadFlags(CTabGroup* group, LPCTSTR url, WORD reason, WORD tabLoadFlags);
    CTabItem* OpenUrlReturnBrowser(CTabGroup* group, LPCTSTR url, WORD reason, DWORD loadFlags);
    void OpenUrlWithHistory(CTabGroup* group, LPCTSTR url, const SavedHistory* back,
                            const SavedHistory* forward, WORD reason, DWORD loadFlags);
    CTabGroup* OpenUrlInNewGroup(LPCTSTR url, WORD reason, DWORD loadFlags);
    CTabGroup* OpenUrlInNewGroupWithLoadFlags(LPCTSTR url, WORD reason, WORD tabLoadFlags);
    void OpenGroupDefaultPage(CTabGroup* group, DWORD loadFlags);
    // Favorites-folder links ("va-fava:"); nonzero when the text was one
    // (also when refused). sourcePage: the page that asked, null for the
    // program's own callers; a page must be a local page of the Favorite
    // folder.
    BOOL OpenShortcut(LPCTSTR url, LPCTSTR sourcePage = nullptr);
    // A local page (path or "file:" URL) inside the program's Favorite folder.
    bool IsOwnFavoritePage(const CString& page) const;
    // A new tab group for search results: its caption is name as the user
    // typed it ("%" and all, never expanded) followed by "[n]", n its number
    // of tabs. defaultOptions: the default group image (a folder search),
    // else image 1; the download-control word is dwDLControlFlags. Null when
    // no group can be made.
    CTabGroup* CreateSearchGroup(LPCTSTR name, BOOL defaultOptions);
    // Opens url as a new tab of group (null: the current group). FALSE when
    // nothing opened (for example the group's tab limit).
    BOOL OpenUrlInGroup(CTabGroup* group, LPCTSTR url, int reason);
    void OpenStartupList();
    // Opens urls as one run of tabs (CTabBatch), at most maxTabs; empty and
    // script URLs are skipped. The first tab makes the group: a new default
    // group named groupName + "[%c]" (its own "%" kept literal) when newGroup
    // is set, else the current group; a refused tab sends the rest to the
    // current group. Returns the number opened.
    int OpenTabRun(const CStringArray& urls, bool newGroup, const CString& groupName, int maxTabs);

    //--- Plug-ins and scripts
    // Rebuilds the plug-in list (empty while bPlgEnable is off); returns the
    // number of entries.
    int LoadPlugIns();
    // Rebuilds the script list; returns the number of entries.
    int LoadScripts();
    PlugInList m_plugIns;   // position = plug-in index (command 36297 + index)
    ScriptList m_scripts;   // position = script index (command 36701 + index)

    //--- Key and gesture bindings (VantorelAppKeys.cpp)
    // "MGC.dat" and "KEYCONF.dat" (each else its default file), once.
    void LoadGestureMap();
    void LoadKeyMap();
    // Both again, after the settings changed them.
    void ReloadBindingMaps();
    // Runs the key's binding: TRUE when a command was posted (the key is
    // consumed). A key bound to a key goes on as that key (pMsg's wParam).
    BOOL ExecuteKeyBinding(const CString& text, MSG* pMsg);
    // Runs the gesture's binding: a command, or a key pressed and released.
    void ExecuteGesture(const CString& gesture);
    // The shortcut text bound to the command, for menu captions; empty while
    // bMenuShortCutKey is off, else left as it was when nothing is bound.
    void GetShortcutText(int command, CString& text);
    // The shortcut text of a key with the modifiers held now.
    CString FormatKey(UINT vk) const;
    CBindingMap m_keyBindings;
    CBindingMap m_gestureBindings;

    std::vector<CTabGroup*> m_groups;
    int m_nextGroupNumber = 1;
    CTabGroup* m_pCurrentGroupKey = nullptr;
    CTabGroup* m_pFallbackGroupKey = nullptr;
    CChildFrame* m_pActiveTabFrame = nullptr;
    CBrowserView* m_pActiveView = nullptr;

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
    std::wstring m_unusableProgramFolder;  // empty when the folder is usable
    DWORD m_runFlags = kRunFlagEnableDoc;
    int m_keyboardType = 0;

protected:
    void OnFileNew();
    // The about box of the dialogs library, with the texts of the program's
    // version resource; the trace switch comes back into the settings.
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()

private:
    // Posts a bound command to the main window; 32300-32315 stand for the
    // closed tabs newest first. FALSE when nothing was posted.
    BOOL PostBoundCommand(int command);
    void RecoverFromFault();
    void RecoverySave();
    bool HandOverToRunningInstance();
    // Start modes 3 to 5 open saved pages: the tabs of the last closed
    // window, the start-up list, the last session. false for other modes.
    bool OpenSavedPages(int initMode);
    BOOL CreateMainFrame();
    CTabItem* OpenTab(CTabGroup* group, LPCTSTR url, WORD reason, DWORD loadFlags, BYTE tabValue,
                      bool bNewGroup = false);
    CBrowserView* NewTabView(CTabGroup* group, bool bNewGroup, WORD reason, DWORD loadFlags,
                             BYTE tabValue);
    CBrowserView* CreateTabView(CTabGroup* group, WORD reason, DWORD loadFlags, BYTE tabValue);
    bool IsOverTabLimit(const CTabGroup* group) const;
    int OpenShortcutFiles(const CString& folder, const std::vector<std::wstring>& files);
    static CString FolderLabel(const CString& folder);

    DWORD m_startTicks = 0;
    // Only the process that created the main frame owns "Exception.dat":
    // a hand-over process or a failed start must never delete it.
    bool m_ownsRecoveryFile = false;
    bool m_oleInitialized = false;
    // The fault count the last recovery saw, and when it last saved the tabs.
    unsigned m_faultsRecovered = 0;
    bool m_recoverySaved = false;
    DWORD m_recoverySaveTicks = 0;
};

extern CVantorelApp theApp;

#endif // VA_APP_VANTORELAPP_H
