#include "tab/PageOptionsAmbient.h"

void CPageOptionsAmbient::Set(DWORD dwOptions, IUnknown* pControl)
{
    m_dwOptions = dwOptions;
    if (pControl == nullptr)
        return;
    IOleControl* pOleControl = nullptr;
    if (SUCCEEDED(pControl->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&pOleControl)))
        && pOleControl != nullptr)
    {
        pOleControl->OnAmbientPropertyChange(DISPID_AMBIENT_DLCONTROL);
        pOleControl->Release();
    }
}

STDMETHODIMP CPageOptionsAmbient::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch)
    {
        *ppv = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CPageOptionsAmbient::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CPageOptionsAmbient::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CPageOptionsAmbient::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CPageOptionsAmbient::Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS*,
                                         VARIANT* pResult, EXCEPINFO*, UINT*)
{
    if (dispid != DISPID_AMBIENT_DLCONTROL || (wFlags & DISPATCH_PROPERTYGET) == 0)
        return DISP_E_MEMBERNOTFOUND;
    if (pResult == nullptr)
        return E_POINTER;
    pResult->vt = VT_I4;
    pResult->lVal = static_cast<LONG>(m_dwOptions);
    return S_OK;
}
