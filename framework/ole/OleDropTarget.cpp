#include "framework/ole/OleDropTarget.h"

#include "framework/ole/OleObject.h"

BOOL COleDropTarget::Register(HWND hWnd)
{
    if (m_hWnd != nullptr || hWnd == nullptr)
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

STDMETHODIMP COleDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                       DWORD* pdwEffect)
{
    if (pdwEffect == nullptr)
        return E_INVALIDARG;
    ReleaseDataObject();
    m_pDataObject = pDataObj;
    if (m_pDataObject != nullptr)
        m_pDataObject->AddRef();
    *pdwEffect = OnDragEnter(pDataObj, grfKeyState, pt, *pdwEffect) & *pdwEffect;
    return S_OK;
}

STDMETHODIMP COleDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (pdwEffect == nullptr)
        return E_INVALIDARG;
    *pdwEffect = OnDragOver(m_pDataObject, grfKeyState, pt, *pdwEffect) & *pdwEffect;
    return S_OK;
}

STDMETHODIMP COleDropTarget::DragLeave()
{
    OnDragLeave();
    ReleaseDataObject();
    return S_OK;
}

STDMETHODIMP COleDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                  DWORD* pdwEffect)
{
    if (pdwEffect == nullptr)
        return E_INVALIDARG;
    *pdwEffect = OnDrop(pDataObj, grfKeyState, pt, *pdwEffect) & *pdwEffect;
    ReleaseDataObject();
    return S_OK;
}
