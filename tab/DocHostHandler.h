// The document host of every window that hosts a WebBrowser control.
//
// Classes in this file:
//   CDocHostHandler   the mix-in such windows derive from: IDocHostUIHandler
//                     (context menu, host flags, window.external),
//                     IDocHostShowUI (message boxes) and IOleCommandTarget
//                     (script errors), answering through its control site
//
// What the handler needs of the program it asks of its owner, the window
// deriving from it, through the virtual operations under "Owner". Every one
// has a safe default, so a window overrides only what it provides.
//
// The handler's objects are not reference counted (AddRef answers 1,
// Release 0): they live as long as their window, and the site hands them
// out (its own QueryInterface answers for them).
#ifndef VA_TAB_DOCHOSTHANDLER_H
#define VA_TAB_DOCHOSTHANDLER_H

#include "framework/core/CString.h"
#include "framework/ole/OleCompat.h"

class CAmbientDispatch;
class COleControlSite;
class CPageSelection;

// Host flags a tab's view sets: DOCHOSTUIFLAG_OPENNEWWIN,
// ENABLE_FORMS_AUTOCOMPLETE, ENABLE_INPLACE_NAVIGATION and THEME.
const DWORD kTabHostFlags = 0x54020;
// The main frame's command that shows the engine's own context menu.
const UINT kCmdShowEngineMenu = 36431;
// Line of the etc text file shown when a script error is suppressed.
const int kEtcLineScriptError = 74;

// The version of the installed browser engine: the decimal prefix of the
// value "Version" of HKLM "SOFTWARE\Microsoft\Internet Explorer"; kept once
// it is at least 1; 0 when the key cannot be opened.
double GetIEMajorVersion();

class CDocHostHandler : public IDocHostUIHandler
{
public:
    // The settings of the handler the owner reads from the program's options.
    struct Options
    {
        bool bShowScriptErr = false;      // let the control show script errors
        bool bShowActiveXErrMsg = false;  // let the control show its ActiveX warning
        bool bShowRefreshMsg = true;      // let the control show its resend warning
    };

    CDocHostHandler();
    virtual ~CDocHostHandler() = default;
    CDocHostHandler(const CDocHostHandler&) = delete;
    CDocHostHandler& operator=(const CDocHostHandler&) = delete;

    IDocHostUIHandler* GetUIHandler() { return this; }
    IDocHostShowUI* GetShowUI() { return &m_showUI; }
    IOleCommandTarget* GetCommandTarget() { return &m_commandTarget; }
    // Gives the site of this window's control the handler's three objects and
    // the ambient object (may be null); FALSE when the site is not one of the
    // browser's sites (CBrowserOccManager not installed).
    BOOL AttachToSite(COleControlSite* pSite, IDispatch* pAmbient);
    // A dialog's browser control nID (made from its template): attaches the
    // handler and the ambient object to its site, switches the ambient on
    // with dlControl and holds the control in it. The control's IDispatch
    // (a new reference), or null when the dialog has no such control.
    IDispatch* HostDialogControl(HWND hDlg, UINT nID, CAmbientDispatch& ambient, DWORD dlControl);

    CString m_strLastUrl;         // the last URL the control asked to translate
    BYTE m_bIEMenuAllowed = 1;    // the control may show its own context menu
    BYTE m_contextMenuMode = 1;   // iIEContext: 0 own menu, 1 the engine's menu
    DWORD m_dwHostFlags = 0;      // DOCHOSTUIFLAG_ bits (kTabHostFlags in a tab)
    DWORD m_dwDoubleClick = 0;    // DOCHOSTUIDBLCLK_ mode

    // IUnknown: the site answers for the handler's interfaces.
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return 0; }

    // IDocHostUIHandler
    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                               IDispatch* pdispReserved) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override { return E_NOTIMPL; }
    STDMETHOD(HideUI)() override { return E_NOTIMPL; }
    STDMETHOD(UpdateUI)() override { return E_NOTIMPL; }
    STDMETHOD(EnableModeless)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(OnDocWindowActivate)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(OnFrameWindowActivate)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(ResizeBorder)(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(TranslateAccelerator)(LPMSG, const GUID*, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject*, IDataObject** ppDORet) override;

    // IDocHostShowUI, through the nested object
    HRESULT ShowMessage(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption, DWORD dwType,
                        LPOLESTR lpstrHelpFile, DWORD dwHelpContext, LRESULT* plResult);
    // IOleCommandTarget, through the nested object
    HRESULT Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                 VARIANT* pvaOut);

protected:
    //--- Owner: what the window deriving from the handler provides.
    virtual Options GetHostOptions() { return Options(); }
    // window.external (the main frame's script automation object); not
    // AddRef'ed; null when there is none.
    virtual IDispatch* GetExternalObject() { return nullptr; }
    // The control's current HTML document, AddRef'ed, or null.
    virtual IDispatch* GetHostDocument() { return nullptr; }
    // Text for the main frame's status bar.
    virtual void SetStatusText(LPCSTR pszText) {}
    // Line n of the etc text file.
    virtual CString GetEtcText(int line) { return CString(); }
    // A context menu is asked for at pt (screen) with the control's menu id:
    // kept for the main frame's page-menu commands.
    virtual void RememberContextMenu(POINT pt, DWORD dwID) {}
    // Mode 1 with a selection: the main frame shows the engine's menu
    // (WM_COMMAND kCmdShowEngineMenu posted to it).
    virtual void ShowEngineMenu() {}
    // Mode 0 with a selection: the program's page menu at pt.
    virtual void ShowPageMenu(POINT pt, const CPageSelection& selection) {}
    // The module with the engine's message strings, by name.
    virtual CString GetEngineMessageModule();
    // Shows a message box; its result.
    virtual int ShowMessageBox(HWND hwnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType);

private:
    // Whether the text equals string nID of the module (both non-empty).
    static bool MatchesModuleString(HMODULE hModule, UINT nID, const CString& text);

    class CDocHostShowUI : public IDocHostShowUI
    {
    public:
        explicit CDocHostShowUI(CDocHostHandler* pOwner) : m_pOwner(pOwner) {}
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override { return 1; }
        STDMETHOD_(ULONG, Release)() override { return 0; }
        STDMETHOD(ShowMessage)(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption, DWORD dwType,
                               LPOLESTR lpstrHelpFile, DWORD dwHelpContext,
                               LRESULT* plResult) override;
        STDMETHOD(ShowHelp)(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) override
        {
            return E_NOTIMPL;
        }

    private:
        CDocHostHandler* m_pOwner;
    };

    class CDocHostCommandTarget : public IOleCommandTarget
    {
    public:
        explicit CDocHostCommandTarget(CDocHostHandler* pOwner) : m_pOwner(pOwner) {}
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override { return 1; }
        STDMETHOD_(ULONG, Release)() override { return 0; }
        STDMETHOD(QueryStatus)(const GUID*, ULONG, OLECMD[], OLECMDTEXT*) override { return E_FAIL; }
        STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                        VARIANT* pvaOut) override;

    private:
        CDocHostHandler* m_pOwner;
    };

    CDocHostShowUI m_showUI;
    CDocHostCommandTarget m_commandTarget;
};

#endif // VA_TAB_DOCHOSTHANDLER_H
