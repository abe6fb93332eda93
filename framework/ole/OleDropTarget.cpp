#include "framework/ole/OleDropTarget.h"

#include "framework/app/FaultGuard.h"
#include "framework/ole/OleObject.h"

namespace {

} // namespace

COleDropTarget::~COleDropTarget()
{
    Revoke();
}

STDMETHODIMP_(ULONG) COleDropTarget::Release()
{
    ULONG n = --m_cRef;
    if (n == 0)
        delete this;
    return n;
}

void COleDropTarget::Detach()
{
    m_bDetached = TRUE;
    Revoke();
}

BOOL COleDropTarget::Register(HWND hWnd)
{
    if (m_hWnd != nullptr || hWnd == nullptr || m_bDetached)
        return FALSE;
    if (FAILED(::RegisterDragDrop(hWnd, static_cast<IDropTarget*>(this))))
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    ReleaseDataObject();
    if (m_hWnd == nullptr)
        return;
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    ::RevokeDragDrop(hWnd);
}

void COleDropTarget::ReleaseDataObject()
{
    if (m_pDataObject != nullptr)
    {
        IDataObject* p = m_pDataObject;
        m_pDataObject = nullptr;
        p->Release();
    }
}

DWORD COleDropTarget::OnDragEnter(IDataObject*, DWORD, POINTL, DWORD)
{
    return DROPEFFECT_NONE;
}

DWORD COleDropTarget::OnDragOver(IDataObject*, DWORD, POINTL, DWORD)
{
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave()
{
}

DWORD COleDropTarget::OnDrop(IDataObject*, DWORD, POINTL, DWORD)
{
    return DROPEFFECT_NONE;
}

STDMETHODIMP COleDropTarget::QueryInterface(REFIID riid, void** ppv)
{
    return VaQueryInterface(static_cast<IDropTarget*>(this), riid, IID_IDropTarget, ppv);
}

// Each callback runs its handler only while the owner holds on, and no
// handler's exception or fault reaches OLE: the drag then shows no effect.
STDMETHODIMP COleDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                       DWORD* pdwEffect)
{
    if (pdwEffect == nullptr)
        return E_INVALIDARG;
    const DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    if (m_bDetached)
        return E_UNEXPECTED;
    ReleaseDataObject();
    m_pDataObject = pDataObj;
    if (m_pDataObject != nullptr)
        m_pDataObject->AddRef();
    DWORD dwEffect = DROPEFFECT_NONE;
    if (!AfxRunEntry("DragEnter", [&] { dwEffect = OnDragEnter(pDataObj, grfKeyState, pt, dwAllowed); }))
        return E_UNEXPECTED;
    *pdwEffect = dwEffect & dwAllowed;
    return S_OK;
}

STDMETHODIMP COleDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (pdwEffect == nullptr)
        return E_INVALIDARG;
    const DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    if (m_bDetached)
        return E_UNEXPECTED;
    DWORD dwEffect = DROPEFFECT_NONE;
    if (!AfxRunEntry("DragOver", [&] { dwEffect = OnDragOver(m_pDataObject, grfKeyState, pt, dwAllowed); }))
        return E_UNEXPECTED;
    *pdwEffect = dwEffect & dwAllowed;
    return S_OK;
}

STDMETHODIMP COleDropTarget::DragLeave()
{
    HRESULT hr = S_OK;
    if (m_bDetached)
        hr = E_UNEXPECTED;
    else if (!AfxRunEntry("DragLeave", [&] { OnDragLeave(); }))
        hr = E_UNEXPECTED;
    ReleaseDataObject();
    return hr;
}

STDMETHODIMP COleDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                  DWORD* pdwEffect)
{
    if (pdwEffect == nullptr)
        return E_INVALIDARG;
    const DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    HRESULT hr = S_OK;
    if (m_bDetached)
        hr = E_UNEXPECTED;
    else
    {
        DWORD dwEffect = DROPEFFECT_NONE;
        if (AfxRunEntry("Drop", [&] { dwEffect = OnDrop(pDataObj, grfKeyState, pt, dwAllowed); }))
            *pdwEffect = dwEffect & dwAllowed;
        else
            hr = E_UNEXPECTED;
    }
    ReleaseDataObject();
    return hr;
}

BOOL COleDropTarget::OffersFormat(IDataObject* pDataObject, CLIPFORMAT cfFormat)
{
    if (pDataObject == nullptr)
        return FALSE;
    FORMATETC format = { cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    return pDataObject->QueryGetData(&format) == S_OK;
}
