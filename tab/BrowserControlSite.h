// The control site and container manager of the program's WebBrowser
// controls.
//
// Classes in this file:
//   CBrowserControlSite   the framework's site plus the document-host
//                         interfaces, forwarded to its owner's objects
//   CBrowserOccManager    the manager the application installs so that every
//                         hosted control gets a CBrowserControlSite
#ifndef VA_TAB_BROWSERCONTROLSITE_H
#define VA_TAB_BROWSERCONTROLSITE_H

#include "framework/ole/OccManager.h"
#include "framework/ole/OleControlSite.h"

class CBrowserControlSite : public COleControlSite,
                            public IDocHostUIHandler,
                            public IOleCommandTarget,
                            public IDocHostShowUI
{
public:
    explicit CBrowserControlSite(COleControlContainer* pCtrlCont);

    // The owner's objects (not owned; all may be null), set by the owner's
    // initial update. Until then each forwarded call answers E_NOTIMPL, and
    // the download-control ambient property is left to the framework.
    void SetHostObjects(IDocHostUIHandler* pUIHandler, IDispatch* pAmbient,
                        IOleCommandTarget* pCommandTarget, IDocHostShowUI* pShowUI);

    // The download-control word from the owner's ambient object.
    BOOL GetAmbientProperty(DISPID dispid, VARIANT* pvar) override;
    // The owner's objects are forgotten with the control: the site may
    // outlive the owner while the control still holds it.
    void DestroyControl() override;

    // IUnknown (one identity for every interface of the site)
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        return COleControlSite::QueryInterface(riid, ppv);
    }
    STDMETHOD_(ULONG, AddRef)() override { return COleControlSite::AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return COleControlSite::Release(); }

    // IDocHostUIHandler
    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                               IDispatch* pdispReserved) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                      IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                      IOleInPlaceUIWindow* pDoc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
    STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                            BOOL fRameWindow) override;
    using COleControlSite::TranslateAccelerator;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dw) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;

    // IOleCommandTarget
    STDMETHOD(QueryStatus)(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[],
                           OLECMDTEXT* pCmdText) override;
    STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                    VARIANT* pvaOut) override;

    // IDocHostShowUI
    STDMETHOD(ShowMessage)(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption, DWORD dwType,
                           LPOLESTR lpstrHelpFile, DWORD dwHelpContext, LRESULT* plResult) override;
    STDMETHOD(ShowHelp)(HWND hwnd, LPOLESTR pszHelpFile, UINT uCommand, DWORD dwData,
                        POINT ptMouse, IDispatch* pDispatchObjectHit) override;

protected:
    HRESULT QueryExtraInterface(REFIID riid, void** ppv) override;

private:
    IDocHostUIHandler* m_pUIHandler = nullptr;
    IDispatch* m_pAmbient = nullptr;
    IOleCommandTarget* m_pCommandTarget = nullptr;
    IDocHostShowUI* m_pShowUI = nullptr;
};

class CBrowserOccManager : public COccManager
{
public:
    COleControlSite* CreateSite(COleControlContainer* pCtrlCont) override;
};

#endif // VA_TAB_BROWSERCONTROLSITE_H
