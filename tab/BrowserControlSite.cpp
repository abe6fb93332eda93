#include "tab/BrowserControlSite.h"

CBrowserControlSite::CBrowserControlSite(COleControlContainer* pCtrlCont)
    : COleControlSite(pCtrlCont)
{
}

void CBrowserControlSite::SetHostObjects(IDocHostUIHandler* pUIHandler, IDispatch* pAmbient,
                                         IOleCommandTarget* pCommandTarget,
                                         IDocHostShowUI* pShowUI)
{
    m_pUIHandler = pUIHandler;
    m_pAmbient = pAmbient;
    m_pCommandTarget = pCommandTarget;
    m_pShowUI = pShowUI;
}

void CBrowserControlSite::DestroyControl()
{
    SetHostObjects(nullptr, nullptr, nullptr, nullptr);
    COleControlSite::DestroyControl();
}

// The host's own download-control word answers the control, so that
// download control is per tab; an object that is off (S_FALSE) or missing
// leaves the answer to the framework.
BOOL CBrowserControlSite::GetAmbientProperty(DISPID dispid, VARIANT* pvar)
{
    if (dispid == DISPID_AMBIENT_DLCONTROL && m_pAmbient != nullptr)
    {
        DISPPARAMS none = { nullptr, nullptr, 0, 0 };
        VARIANT value;
        ::VariantInit(&value);
        HRESULT hr = m_pAmbient->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT,
                                        DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
        if (hr == S_OK)
        {
            *pvar = value;
            return TRUE;
        }
        ::VariantClear(&value);
    }
    return COleControlSite::GetAmbientProperty(dispid, pvar);
}

HRESULT CBrowserControlSite::QueryExtraInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IDocHostUIHandler)
        *ppv = static_cast<IDocHostUIHandler*>(this);
    else if (riid == IID_IOleCommandTarget)
        *ppv = static_cast<IOleCommandTarget*>(this);
    else if (riid == IID_IDocHostShowUI)
        *ppv = static_cast<IDocHostShowUI*>(this);
    else
        return COleControlSite::QueryExtraInterface(riid, ppv);
    AddRef();
    return S_OK;
}

//--- IDocHostUIHandler, forwarded

STDMETHODIMP CBrowserControlSite::ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                                  IDispatch* pdispReserved)
{
    return VaRunComMethod("ShowContextMenu", [&]() -> HRESULT {
        return m_pUIHandler != nullptr
            ? m_pUIHandler->ShowContextMenu(dwID, ppt, pcmdtReserved, pdispReserved) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    return VaRunComMethod("GetHostInfo", [&]() -> HRESULT {
        return m_pUIHandler != nullptr ? m_pUIHandler->GetHostInfo(pInfo) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                         IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                         IOleInPlaceUIWindow* pDoc)
{
    return VaRunComMethod("ShowUI", [&]() -> HRESULT {
        return m_pUIHandler != nullptr
            ? m_pUIHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::HideUI()
{
    return VaRunComMethod("HideUI", [&]() -> HRESULT {
        return m_pUIHandler != nullptr ? m_pUIHandler->HideUI() : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::UpdateUI()
{
    return VaRunComMethod("UpdateUI", [&]() -> HRESULT {
        return m_pUIHandler != nullptr ? m_pUIHandler->UpdateUI() : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::EnableModeless(BOOL fEnable)
{
    return VaRunComMethod("EnableModeless", [&]() -> HRESULT {
        return m_pUIHandler != nullptr ? m_pUIHandler->EnableModeless(fEnable) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::OnDocWindowActivate(BOOL fActivate)
{
    return VaRunComMethod("OnDocWindowActivate", [&]() -> HRESULT {
        return m_pUIHandler != nullptr ? m_pUIHandler->OnDocWindowActivate(fActivate) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::OnFrameWindowActivate(BOOL fActivate)
{
    return VaRunComMethod("OnFrameWindowActivate", [&]() -> HRESULT {
        return m_pUIHandler != nullptr ? m_pUIHandler->OnFrameWindowActivate(fActivate) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                                               BOOL fRameWindow)
{
    return VaRunComMethod("ResizeBorder", [&]() -> HRESULT {
        return m_pUIHandler != nullptr
            ? m_pUIHandler->ResizeBorder(prcBorder, pUIWindow, fRameWindow) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup,
                                                       DWORD nCmdID)
{
    return VaRunComMethod("TranslateAccelerator", [&]() -> HRESULT {
        return m_pUIHandler != nullptr
            ? m_pUIHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw)
{
    return VaRunComMethod("GetOptionKeyPath", [&]() -> HRESULT {
        if (m_pUIHandler != nullptr)
            return m_pUIHandler->GetOptionKeyPath(pchKey, dw);
        if (pchKey != nullptr)
            *pchKey = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    return VaRunComMethod("GetDropTarget", [&]() -> HRESULT {
        if (m_pUIHandler != nullptr)
            return m_pUIHandler->GetDropTarget(pDropTarget, ppDropTarget);
        if (ppDropTarget != nullptr)
            *ppDropTarget = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::GetExternal(IDispatch** ppDispatch)
{
    return VaRunComMethod("GetExternal", [&]() -> HRESULT {
        if (m_pUIHandler != nullptr)
            return m_pUIHandler->GetExternal(ppDispatch);
        if (ppDispatch != nullptr)
            *ppDispatch = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut)
{
    return VaRunComMethod("TranslateUrl", [&]() -> HRESULT {
        if (m_pUIHandler != nullptr)
            return m_pUIHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
        if (ppchURLOut != nullptr)
            *ppchURLOut = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    return VaRunComMethod("FilterDataObject", [&]() -> HRESULT {
        if (m_pUIHandler != nullptr)
            return m_pUIHandler->FilterDataObject(pDO, ppDORet);
        if (ppDORet != nullptr)
            *ppDORet = nullptr;
        return E_NOTIMPL;
    });
}

//--- IOleCommandTarget, forwarded

STDMETHODIMP CBrowserControlSite::QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds,
                                              OLECMD prgCmds[], OLECMDTEXT* pCmdText)
{
    return VaRunComMethod("QueryStatus", [&]() -> HRESULT {
        return m_pCommandTarget != nullptr
            ? m_pCommandTarget->QueryStatus(pguidCmdGroup, cCmds, prgCmds, pCmdText) : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt,
                                       VARIANT* pvaIn, VARIANT* pvaOut)
{
    return VaRunComMethod("Exec", [&]() -> HRESULT {
        return m_pCommandTarget != nullptr
            ? m_pCommandTarget->Exec(pguidCmdGroup, nCmdID, nCmdexecopt, pvaIn, pvaOut) : E_NOTIMPL;
    });
}

//--- IDocHostShowUI, forwarded

STDMETHODIMP CBrowserControlSite::ShowMessage(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption,
                                              DWORD dwType, LPOLESTR lpstrHelpFile,
                                              DWORD dwHelpContext, LRESULT* plResult)
{
    return VaRunComMethod("ShowMessage", [&]() -> HRESULT {
        return m_pShowUI != nullptr
            ? m_pShowUI->ShowMessage(hwnd, lpstrText, lpstrCaption, dwType, lpstrHelpFile,
                                     dwHelpContext, plResult)
            : E_NOTIMPL;
    });
}

STDMETHODIMP CBrowserControlSite::ShowHelp(HWND hwnd, LPOLESTR pszHelpFile, UINT uCommand,
                                           DWORD dwData, POINT ptMouse,
                                           IDispatch* pDispatchObjectHit)
{
    return VaRunComMethod("ShowHelp", [&]() -> HRESULT {
        return m_pShowUI != nullptr
            ? m_pShowUI->ShowHelp(hwnd, pszHelpFile, uCommand, dwData, ptMouse, pDispatchObjectHit)
            : E_NOTIMPL;
    });
}

//--- CBrowserOccManager

COleControlSite* CBrowserOccManager::CreateSite(COleControlContainer* pCtrlCont)
{
    return new CBrowserControlSite(pCtrlCont);
}
