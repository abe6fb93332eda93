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
    return VaQueryInterface(static_cast<IDispatch*>(this), riid, IID_IDispatch, ppv);
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
