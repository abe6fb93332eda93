#include "framework/ole/OleDataSource.h"

#include <shlobj.h>

#include "framework/ole/OleUtil.h"

STDMETHODIMP COleDataSource::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDataObject)
        *ppv = static_cast<IDataObject*>(this);
    else if (riid == IID_IDropSource)
        *ppv = static_cast<IDropSource*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) COleDataSource::Release()
{
    ULONG cRef = --m_cRef;
    if (cRef == 0)
        delete this;
    return cRef;
}

STDMETHODIMP COleDataSource::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pOut)
{
    return VaRunComMethod("GetCanonicalFormatEtc", [&]() -> HRESULT {
        if (pOut != nullptr)
            pOut->ptd = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP COleDataSource::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum)
{
    return VaRunComMethod("EnumFormatEtc", [&]() -> HRESULT {
        if (ppEnum == nullptr)
            return E_POINTER;
        *ppEnum = nullptr;
        if (dwDirection != DATADIR_GET)
            return E_NOTIMPL;
        // An empty list.
        return ::SHCreateStdEnumFmtEtc(0, nullptr, ppEnum);
    });
}

STDMETHODIMP COleDataSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState)
{
    return VaRunComMethod("QueryContinueDrag", [&]() -> HRESULT {
        if (fEscapePressed)
            return DRAGDROP_S_CANCEL;
        if (!(grfKeyState & (MK_LBUTTON | MK_RBUTTON)))
            return DRAGDROP_S_DROP;
        return S_OK;
    });
}

DWORD COleDataSource::DoDragDrop(DWORD dwAllowed)
{
    DWORD dwEffect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(static_cast<IDataObject*>(this), static_cast<IDropSource*>(this), dwAllowed,
                              &dwEffect);
    return hr == DRAGDROP_S_DROP ? dwEffect : DROPEFFECT_NONE;
}
