#include "framework/ole/OleEvents.h"

#include "framework/app/FaultGuard.h"
#include "framework/ole/OleControlSite.h"
#include "framework/ole/OleUtil.h"

//--- VaEventArgs

VARIANT* VaEventArgs::GetRaw(UINT i) const
{
    if (m_pParams == nullptr || m_pParams->rgvarg == nullptr || i >= m_pParams->cArgs)
        return nullptr;
    // DISPPARAMS holds the arguments last first.
    return &m_pParams->rgvarg[m_pParams->cArgs - 1 - i];
}

const VARIANT* VaEventArgs::Get(UINT i) const
{
    return VaDerefVariant(GetRaw(i));
}

IDispatch* VaEventArgs::GetDispatch(UINT i) const
{
    const VARIANT* pvar = Get(i);
    if (pvar == nullptr)
        return nullptr;
    if (pvar->vt == VT_DISPATCH)
        return pvar->pdispVal;
    if (pvar->vt == (VT_BYREF | VT_DISPATCH) && pvar->ppdispVal != nullptr)
        return *pvar->ppdispVal;
    return nullptr;
}

CString VaEventArgs::GetString(UINT i) const
{
    return VaStringFromVariant(Get(i));
}

LONG VaEventArgs::GetLong(UINT i) const
{
    const VARIANT* pvar = Get(i);
    if (pvar == nullptr)
        return 0;
    switch (pvar->vt)
    {
    case VT_I4: return pvar->lVal;
    case VT_UI4: return static_cast<LONG>(pvar->ulVal);
    case VT_INT: return pvar->intVal;
    case VT_I2: return pvar->iVal;
    case VT_BYREF | VT_I4: return pvar->plVal != nullptr ? *pvar->plVal : 0;
    default: break;
    }
    VARIANT converted;
    ::VariantInit(&converted);
    LONG n = 0;
    if (SUCCEEDED(::VariantChangeType(&converted, const_cast<VARIANT*>(pvar), 0, VT_I4)))
        n = converted.lVal;
    ::VariantClear(&converted);
    return n;
}

BOOL VaEventArgs::GetBool(UINT i) const
{
    const VARIANT* pvar = Get(i);
    if (pvar == nullptr)
        return FALSE;
    if (pvar->vt == VT_BOOL)
        return pvar->boolVal != VARIANT_FALSE;
    if (pvar->vt == (VT_BYREF | VT_BOOL) && pvar->pboolVal != nullptr)
        return *pvar->pboolVal != VARIANT_FALSE;
    return GetLong(i) != 0;
}

VARIANT_BOOL* VaEventArgs::GetBoolRef(UINT i) const
{
    const VARIANT* pvar = Get(i);
    if (pvar == nullptr || pvar->vt != (VT_BYREF | VT_BOOL))
        return nullptr;
    return pvar->pboolVal;
}

IDispatch** VaEventArgs::GetDispatchRef(UINT i) const
{
    const VARIANT* pvar = Get(i);
    if (pvar == nullptr || pvar->vt != (VT_BYREF | VT_DISPATCH))
        return nullptr;
    return pvar->ppdispVal;
}

VARIANT* VaEventArgs::GetVariantRef(UINT i) const
{
    VARIANT* pvar = GetRaw(i);
    if (pvar == nullptr || pvar->vt != (VT_BYREF | VT_VARIANT))
        return nullptr;
    return pvar->pvarVal;
}

//--- COleEventSink

HRESULT COleEventSink::Connect(IUnknown* pControl, REFIID iidEvents)
{
    Disconnect();
    if (pControl == nullptr)
        return E_POINTER;
    IConnectionPointContainer* pCPC = nullptr;
    HRESULT hr = pControl->QueryInterface(IID_IConnectionPointContainer,
                                          reinterpret_cast<void**>(&pCPC));
    if (FAILED(hr) || pCPC == nullptr)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    IConnectionPoint* pCP = nullptr;
    hr = pCPC->FindConnectionPoint(iidEvents, &pCP);
    pCPC->Release();
    if (FAILED(hr) || pCP == nullptr)
        return FAILED(hr) ? hr : CONNECT_E_NOCONNECTION;
    m_iidEvents = iidEvents;
    hr = pCP->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    if (FAILED(hr))
    {
        pCP->Release();
        return hr;
    }
    m_pConnPt = pCP;
    return S_OK;
}

void COleEventSink::Disconnect()
{
    if (m_pConnPt == nullptr)
        return;
    IConnectionPoint* pCP = m_pConnPt;
    m_pConnPt = nullptr;
    pCP->Unadvise(m_dwCookie);
    pCP->Release();
    m_dwCookie = 0;
}

STDMETHODIMP_(ULONG) COleEventSink::Release()
{
    ULONG n = --m_cRef;
    if (n == 0)
        delete this;
    return n;
}

STDMETHODIMP COleEventSink::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch
        || (riid == m_iidEvents && m_iidEvents != IID_NULL))
    {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams,
                                   VARIANT*, EXCEPINFO*, UINT*)
{
    // Events arriving after the site let go of the control are dropped.
    if (m_pConnPt == nullptr || m_pSite == nullptr)
        return S_OK;
    COleEventHandler* pHandler = m_pSite->GetEventHandler();
    if (pHandler == nullptr)
        return S_OK;
    // The handler may close the control and free the site: nothing of the
    // site is used after the call.
    const UINT nCtrlID = m_pSite->GetID();
    // The control fires events from its own window procedures: the guard
    // lies inside that callback.
    AfxRunEntry("an event handler", [&] {
        VaEventArgs args(pParams);
        pHandler->OnOleEvent(nCtrlID, dispid, args);
    });
    return S_OK;
}
