// The test WebBrowser control: an in-process COM object that stands in for
// the browser engine, which Wine does not have here.
//
// Classes in this file:
//   TestWebBrowser              the control (IWebBrowser2, IOleObject,
//                               IOleInPlaceObject, IOleInPlaceActiveObject,
//                               IOleControl, IConnectionPointContainer,
//                               IServiceProvider with the travel log)
//   TestWebBrowserRegistration  installs the control as CLSID_WebBrowser for
//                               this process while it lives
//
// Navigating fires the real DWebBrowserEvents2 events: BeforeNavigate2 at
// once (a Cancel stops the navigation), then, from the message loop (or at
// once in synchronous mode), DownloadBegin, NavigateComplete2,
// CommandStateChange for back and forward, StatusTextChange, TitleChange,
// ProgressChange, DownloadComplete and DocumentComplete.
//
// Documents: a navigation shows the HTML the test gave for its URL
// (SetPageHtml), else the file of a "file:" URL (cp932), else an empty page
// (TestHtmlDocument.h holds the model). Frames of a page complete their
// documents before the page's own DocumentComplete fires.
//
// Pages: the title of a page is the value of a "va-title=" query parameter
// (percent-escaped UTF-8), else its URL. A page with "va-popup=<url>" opens
// that URL in a new window (NewWindow2) once its document is complete.
// The control's window (class "VaTestWebBrowser") has the address of the
// page it shows as its text, which another process can read.
#ifndef VA_TESTS_SUPPORT_TESTWEBBROWSER_H
#define VA_TESTS_SUPPORT_TESTWEBBROWSER_H

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>
#include <servprov.h>
#include <exdisp.h>

#include <string>
#include <vector>

#include "framework/ole/OleObject.h"
#include "tests/support/TestTravelLog.h"

class TestHtmlDocument;

class TestWebBrowser : public CDispatchNoTypeInfo<IWebBrowser2>,
                       public IOleObject,
                       public IOleInPlaceObject,
                       public IOleInPlaceActiveObject,
                       public IOleControl,
                       public IConnectionPointContainer,
                       public IServiceProvider,
                       public IProvideClassInfo2
{
public:
    // One call of Navigate or Navigate2 as the host made it.
    struct NavigateCall
    {
        std::wstring url;
        LONG flags = 0;
        std::wstring targetFrame;
        std::string postData;
        std::wstring headers;
    };
    // The outcome of a scripted new-window request.
    struct NewWindowResult
    {
        bool cancelled = false;
        IDispatch* pDisp = nullptr;  // what the host returned (not AddRef'ed)
        TestWebBrowser* pNewBrowser = nullptr;  // the test control behind it
    };

    TestWebBrowser();
    virtual ~TestWebBrowser();

    // The live instances of this thread, oldest first.
    static const std::vector<TestWebBrowser*>& GetInstances();
    // The test control behind an interface of it, or null.
    static TestWebBrowser* FromUnknown(IUnknown* pUnk);
    // Pumps this thread's messages until no test control has a navigation
    // pending (or the time is up); FALSE on time-out.
    static bool Settle(DWORD timeoutMs = 5000);
    // Completes navigations inside Navigate2 instead of from the message loop.
    static void SetSynchronous(bool bSynchronous);
    // While set, Navigate2 writes through a null pointer: a fault inside a
    // call of the host's.
    static void SetFaultingNavigate(bool bFaulting);
    // While set, SetObjectRects writes through a null pointer.
    static void SetFaultingObjectRects(bool bFaulting);
    // Navigations start but never complete (a page that hangs).
    static void SetNeverComplete(bool bNever);
    // While set, get_Application of every control fails (E_FAIL).
    static void SetApplicationFails(bool bFails);

    //--- What a test reads
    HWND GetControlWindow() const { return m_hWnd; }
    // The place the host last gave the control (SetObjectRects).
    const RECT& GetObjectRect() const { return m_rect; }
    IOleClientSite* GetClientSite() const { return m_pClientSite; }
    const std::vector<NavigateCall>& GetNavigateCalls() const { return m_navigateCalls; }
    std::wstring GetLocationUrl() const;
    std::wstring GetTitle() const;
    READYSTATE GetReadyStateValue() const { return m_readyState; }
    // The download-control word last read from the site's ambient properties.
    LONG GetDlControl() const { return m_dlControl; }
    bool IsRegisteredAsBrowser() const { return m_bRegisterAsBrowser; }
    int GetRefreshCount() const { return m_refreshCount; }
    // The window the document shows in: a hidden child of the control's
    // window, made when first asked for (null without the control's window).
    HWND GetDocumentWindow();
    // The WM_COMMAND ids the document window received, in order.
    const std::vector<UINT>& GetDocumentCommands() const { return m_documentCommands; }
    LONG GetZoom() const { return m_zoom; }
    int GetConnectionCount() const { return static_cast<int>(m_sinks.size()); }
    bool IsClosed() const { return m_bClosed; }
    // The window went (with its parent) while the control was still active,
    // instead of being taken down by the control's deactivation.
    bool WasWindowLostWhileActive() const { return m_bWindowLost; }
    TestTravelLog& GetTravelLog() { return m_travelLog; }
    // The document shown (not AddRef'ed), or null before the first page.
    TestHtmlDocument* GetDocument() const { return m_pDocument; }

    //--- Documents
    // The HTML that a navigation to url shows, for this thread's controls.
    static void SetPageHtml(const std::wstring& url, const std::wstring& html);
    static void ClearPages();
    // Shows a page at once, without navigation events.
    void LoadDocument(const std::wstring& url);
    void SetDocumentHtml(const std::wstring& html, const std::wstring& url = L"file:///C:/page.htm");
    // A frame's place in its page (its Left and Top).
    void SetFramePosition(LONG left, LONG top);

    //--- What the page asks of its host
    // Calls name on window.external (the host's GetExternal) with the page's
    // document first, then args; the call's HRESULT, the result in *pResult.
    HRESULT CallExternal(const std::wstring& name, std::vector<VARIANT> args,
                         VARIANT* pResult = nullptr, WORD flags = DISPATCH_METHOD);
    // Offers pTarget to the host's GetDropTarget; the target the host
    // answers (AddRef'ed, or null) in *ppOut.
    HRESULT OfferDropTarget(IDropTarget* pTarget, IDropTarget** ppOut);

    //--- Scripted events
    void SetBusy(bool bBusy) { m_bForcedBusy = bBusy; }
    void ScriptTitleChange(LPCWSTR pszTitle);
    void ScriptStatusText(LPCWSTR pszText);
    void ScriptProgress(LONG progress, LONG progressMax);
    // A page script asks for a new window showing url (NewWindow2); when the
    // host hands back a control that is not cancelled, it navigates there.
    NewWindowResult ScriptNewWindow(LPCWSTR pszUrl);
    // A frame of the page navigates: the events carry the frame's object.
    void ScriptFrameNavigation(LPCWSTR pszUrl);
    // window.close() of a page: WM_CLOSE to the control's window.
    void ScriptWindowClose();
    // Fires one event with the given arguments (declared order).
    void FireEvent(DISPID dispid, std::vector<VARIANT> args);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IDispatch
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // IWebBrowser
    STDMETHOD(GoBack)() override;
    STDMETHOD(GoForward)() override;
    STDMETHOD(GoHome)() override;
    STDMETHOD(GoSearch)() override { return E_NOTIMPL; }
    STDMETHOD(Navigate)(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                        VARIANT* Headers) override;
    STDMETHOD(Refresh)() override;
    STDMETHOD(Refresh2)(VARIANT* Level) override;
    STDMETHOD(Stop)() override;
    STDMETHOD(get_Application)(IDispatch** ppDisp) override;
    STDMETHOD(get_Parent)(IDispatch** ppDisp) override;
    STDMETHOD(get_Container)(IDispatch** ppDisp) override;
    STDMETHOD(get_Document)(IDispatch** ppDisp) override;
    STDMETHOD(get_TopLevelContainer)(VARIANT_BOOL* pBool) override;
    STDMETHOD(get_Type)(BSTR* Type) override;
    STDMETHOD(get_Left)(LONG* pl) override { return GetPos(pl, 0); }
    STDMETHOD(put_Left)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_Top)(LONG* pl) override { return GetPos(pl, 1); }
    STDMETHOD(put_Top)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_Width)(LONG* pl) override { return GetPos(pl, 2); }
    STDMETHOD(put_Width)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_Height)(LONG* pl) override { return GetPos(pl, 3); }
    STDMETHOD(put_Height)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_LocationName)(BSTR* LocationName) override;
    STDMETHOD(get_LocationURL)(BSTR* LocationURL) override;
    STDMETHOD(get_Busy)(VARIANT_BOOL* pBool) override;

    // IWebBrowserApp
    STDMETHOD(Quit)() override { return E_NOTIMPL; }
    STDMETHOD(ClientToWindow)(int*, int*) override { return E_NOTIMPL; }
    STDMETHOD(PutProperty)(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(GetProperty)(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(get_Name)(BSTR* Name) override;
    STDMETHOD(get_HWND)(SHANDLE_PTR* pHWND) override;
    STDMETHOD(get_FullName)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_Path)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(get_Visible)(VARIANT_BOOL* pBool) override;
    STDMETHOD(put_Visible)(VARIANT_BOOL) override { return S_OK; }
    STDMETHOD(get_StatusBar)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_StatusBar)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_StatusText)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(put_StatusText)(BSTR) override { return E_NOTIMPL; }
    STDMETHOD(get_ToolBar)(int*) override { return E_NOTIMPL; }
    STDMETHOD(put_ToolBar)(int) override { return E_NOTIMPL; }
    STDMETHOD(get_MenuBar)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_MenuBar)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_FullScreen)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_FullScreen)(VARIANT_BOOL) override { return E_NOTIMPL; }

    // IWebBrowser2
    STDMETHOD(Navigate2)(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                         VARIANT* PostData, VARIANT* Headers) override;
    STDMETHOD(QueryStatusWB)(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
    // Only the page zoom (OLECMDID_ZOOM, 0 smallest to 4 largest) is known.
    STDMETHOD(ExecWB)(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT* pvaIn, VARIANT* pvaOut) override;
    STDMETHOD(ShowBrowserBar)(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(get_ReadyState)(READYSTATE* plReadyState) override;
    STDMETHOD(get_Offline)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_Offline)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_Silent)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_Silent)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_RegisterAsBrowser)(VARIANT_BOOL* pbRegister) override;
    STDMETHOD(put_RegisterAsBrowser)(VARIANT_BOOL bRegister) override;
    STDMETHOD(get_RegisterAsDropTarget)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_RegisterAsDropTarget)(VARIANT_BOOL) override { return S_OK; }
    STDMETHOD(get_TheaterMode)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_TheaterMode)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_AddressBar)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_AddressBar)(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHOD(get_Resizable)(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHOD(put_Resizable)(VARIANT_BOOL) override { return E_NOTIMPL; }

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* pClientSite) override;
    STDMETHOD(GetClientSite)(IOleClientSite** ppClientSite) override;
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHOD(Close)(DWORD dwSaveOption) override;
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                      LPCRECT lprcPosRect) override;
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID* pClsid) override;
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL* psizel) override;
    STDMETHOD(GetExtent)(DWORD, SIZEL* psizel) override;
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* pdwStatus) override;
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceObject
    STDMETHOD(InPlaceDeactivate)() override;
    STDMETHOD(UIDeactivate)() override { return S_OK; }
    STDMETHOD(SetObjectRects)(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }
    // IOleInPlaceActiveObject
    STDMETHOD(TranslateAccelerator)(LPMSG) override { return S_FALSE; }
    STDMETHOD(OnFrameWindowActivate)(BOOL) override { return S_OK; }
    STDMETHOD(OnDocWindowActivate)(BOOL) override { return S_OK; }
    STDMETHOD(ResizeBorder)(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHOD(EnableModeless)(BOOL) override { return S_OK; }

    // IOleControl
    STDMETHOD(GetControlInfo)(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHOD(OnMnemonic)(MSG*) override { return E_NOTIMPL; }
    STDMETHOD(OnAmbientPropertyChange)(DISPID dispid) override;
    STDMETHOD(FreezeEvents)(BOOL) override { return S_OK; }

    // IConnectionPointContainer
    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) override;

    // IServiceProvider
    STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppv) override;

    // IProvideClassInfo2
    STDMETHOD(GetClassInfo)(ITypeInfo** ppTI) override;
    STDMETHOD(GetGUID)(DWORD dwGuidKind, GUID* pGUID) override;

    // The event connection point (used by the nested connection point).
    HRESULT AdviseSink(IUnknown* pUnk, DWORD* pdwCookie);
    HRESULT UnadviseSink(DWORD dwCookie);

private:
    class ConnectionPoint;

    HRESULT GetPos(LONG* pl, int which) const;
    HRESULT StartNavigation(const NavigateCall& call, int travelOffset);
    void CompleteNavigation();
    // The window's text is the address shown, for other processes to read.
    void ShowLocationAsWindowText();
    void ShowDocument(TestHtmlDocument* pDocument);
    void FireFrameDocumentComplete();
    void ReadDlControl();
    void FireNavigationEvent(DISPID dispid, IDispatch* pDisp, const std::wstring& url);
    bool FireBeforeNavigate2(IDispatch* pDisp, const NavigateCall& call);
    static HRESULT TravelBy(void* pOwner, int offset);
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PumpProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DocumentProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    ULONG m_cRef = 0;
    IOleClientSite* m_pClientSite = nullptr;
    IOleInPlaceSite* m_pInPlaceSite = nullptr;
    HWND m_hWnd = nullptr;       // the in-place window
    HWND m_hWndPump = nullptr;   // a message-only window for deferred work
    RECT m_rect = {};
    SIZEL m_extent = { 0, 0 };
    bool m_bInPlaceActive = false;
    bool m_bClosed = false;
    bool m_bWindowLost = false;
    struct Sink { DWORD cookie; IDispatch* pDisp; };
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
    ConnectionPoint* m_pConnPt = nullptr;
    IDispatch* m_pFrame = nullptr;  // the object of the page's frame
    TestHtmlDocument* m_pDocument = nullptr;
    TestTravelLog m_travelLog;

    std::vector<NavigateCall> m_navigateCalls;
    bool m_bPending = false;
    NavigateCall m_pending;
    int m_pendingTravel = 0;  // 0: a new page; else a move in the history
    READYSTATE m_readyState = READYSTATE_UNINITIALIZED;
    bool m_bForcedBusy = false;
    LONG m_dlControl = 0;
    bool m_bRegisterAsBrowser = false;
    int m_refreshCount = 0;
    LONG m_zoom = 2;
    HWND m_hWndDocument = nullptr;
    std::vector<UINT> m_documentCommands;
};

//--- TestWebBrowserRegistration
class TestWebBrowserRegistration
{
public:
    TestWebBrowserRegistration();
    ~TestWebBrowserRegistration();
    TestWebBrowserRegistration(const TestWebBrowserRegistration&) = delete;
    TestWebBrowserRegistration& operator=(const TestWebBrowserRegistration&) = delete;
    bool IsRegistered() const { return m_dwCookie != 0; }

private:
    DWORD m_dwCookie = 0;
};

// The class factory of the control (also what the COM server DLL hands out).
HRESULT TestWebBrowserGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);

#endif // VA_TESTS_SUPPORT_TESTWEBBROWSER_H
