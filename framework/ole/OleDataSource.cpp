#include "framework/ole/OleDataSource.h"

#include <shlobj.h>

#include "framework/app/FaultGuard.h"
#include "framework/ole/OleUtil.h"
#include "framework/win/Wnd.h"

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

namespace {

// data[0]: the capture before the drag.
void EndTrackerLeftBehind(const ULONG_PTR* data)
{
    const HWND hCapture = ::GetCapture();
    if (hCapture != nullptr && CWnd::FromHandlePermanent(hCapture) == nullptr)
        AfxEndSystemTracker(reinterpret_cast<HWND>(data[0]));
}

} // namespace

DWORD COleDataSource::DoDragDrop(DWORD dwAllowed)
{
    DWORD dwEffect = DROPEFFECT_NONE;
    // The system's drag loop keeps the capture on a tracker window of its
    // own, whose timer reads the loop's state. A fault that the loop lets
    // through (a page's window faulting while the user drags) unwinds the
    // loop and leaves the tracker: the guard that takes the fault ends it
    // through this hold. After an orderly end the tracker is gone already.
    CFaultHold tracker;
    tracker.Hold(&EndTrackerLeftBehind, reinterpret_cast<ULONG_PTR>(::GetCapture()));
    HRESULT hr = ::DoDragDrop(static_cast<IDataObject*>(this), static_cast<IDropSource*>(this), dwAllowed,
                              &dwEffect);
    return hr == DRAGDROP_S_DROP ? dwEffect : DROPEFFECT_NONE;
}
