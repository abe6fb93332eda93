#include "tab/AmbientDispatch.h"

#include "framework/ole/OleUtil.h"

void CAmbientDispatch::SetControl(IUnknown* pControl)
{
    if (pControl != nullptr)
        pControl->AddRef();
    if (m_pControl != nullptr)
        m_pControl->Release();
    m_pControl = pControl;
}

STDMETHODIMP CAmbientDispatch::QueryInterface(REFIID, void** ppv)
{
    if (ppv != nullptr)
        *ppv = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CAmbientDispatch::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pResult,
                                      EXCEPINFO*, UINT*)
{
    return VaRunComMethod("Invoke", [&]() -> HRESULT {
        return GetAmbient(pResult);
    });
}

HRESULT CAmbientDispatch::GetAmbient(VARIANT* pResult)
{
    if (m_bOff != 0)
        return S_FALSE;
    if (pResult == nullptr)
        return E_POINTER;
    pResult->vt = VT_I4;
    pResult->lVal = static_cast<LONG>(m_flags);
    return S_OK;
}

HRESULT CAmbientDispatch::SetDownloadControl(DWORD flags)
{
    m_flags = flags;
    IOleControl* pOleControl = nullptr;
    if (m_pControl != nullptr
        && SUCCEEDED(m_pControl->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&pOleControl)))
        && pOleControl != nullptr)
    {
        pOleControl->OnAmbientPropertyChange(DISPID_AMBIENT_DLCONTROL);
        pOleControl->Release();
    }
    return S_OK;
}

HRESULT CAmbientDispatch::GetDownloadControl(DWORD* pFlags)
{
    if (pFlags == nullptr)
        return E_POINTER;
    *pFlags = m_flags;
    return S_OK;
}
