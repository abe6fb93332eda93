#include "framework/ole/OleControlContainer.h"

#include <algorithm>
#include <map>

#include <commctrl.h>

#include "framework/app/FaultGuard.h"
#include "framework/ole/OccManager.h"
#include "framework/ole/OleControlSite.h"
#include "framework/ole/OleObject.h"
#include "framework/ole/OleUtil.h"

namespace {

// The containers of this thread's windows (the UI thread's).
std::map<HWND, COleControlContainer*>& TheContainers()
{
    static std::map<HWND, COleControlContainer*> s_containers;
    return s_containers;
}

} // namespace

COleControlContainer::COleControlContainer(HWND hWnd) : m_hWnd(hWnd)
{
    ::SetWindowSubclass(m_hWnd, &COleControlContainer::ContainerWndProc, 0,
                        reinterpret_cast<DWORD_PTR>(this));
}

COleControlContainer::~COleControlContainer()
{
    // Normally detached already; a container released early lets go here.
    Detach();
    ReleaseActiveObject();
}

STDMETHODIMP_(ULONG) COleControlContainer::Release()
{
    ULONG n = --m_cRef;
    if (n == 0)
        delete this;
    return n;
}

void COleControlContainer::DetachAndRelease()
{
    if (IsDetached())
        return;
    Detach();
    Release();
}

void COleControlContainer::Detach()
{
    if (IsDetached())
        return;
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    ::RemoveWindowSubclass(hWnd, &COleControlContainer::ContainerWndProc, 0);
    auto& containers = TheContainers();
    auto it = containers.find(hWnd);
    if (it != containers.end() && it->second == this)
        containers.erase(it);
    std::vector<COleControlSite*> sites;
    sites.swap(m_sites);
    for (COleControlSite* pSite : sites)
    {
        pSite->Detach();
        pSite->Release();
    }
    ReleaseActiveObject();
}

LRESULT CALLBACK COleControlContainer::ContainerWndProc(HWND hWnd, UINT nMsg, WPARAM wParam,
                                                        LPARAM lParam, UINT_PTR,
                                                        DWORD_PTR dwRefData)
{
    LRESULT lResult = 0;
    AfxCallGuardedFor(hWnd, [&] {
        if (nMsg == WM_DESTROY)
        {
            lResult = ::DefSubclassProc(hWnd, nMsg, wParam, lParam);
            // The window's own handling may have closed the last control,
            // and with it this container.
            auto* pThis = reinterpret_cast<COleControlContainer*>(dwRefData);
            if (FromWindow(hWnd, FALSE) == pThis)
                pThis->DetachAndRelease();
            return;
        }
        if (nMsg == WM_NCDESTROY)
            ::RemoveWindowSubclass(hWnd, &COleControlContainer::ContainerWndProc, 0);
        lResult = ::DefSubclassProc(hWnd, nMsg, wParam, lParam);
    });
    return lResult;
}

COleControlContainer* COleControlContainer::FromWindow(HWND hWnd, BOOL bCreate)
{
    if (hWnd == nullptr)
        return nullptr;
    auto& containers = TheContainers();
    auto it = containers.find(hWnd);
    if (it != containers.end())
        return it->second;
    if (!bCreate || !::IsWindow(hWnd))
        return nullptr;
    COleControlContainer* pCont = AfxGetOccManager()->CreateContainer(hWnd);
    if (pCont != nullptr)
        containers[hWnd] = pCont;
    return pCont;
}

COleControlSite* COleControlContainer::CreateControl(REFCLSID clsid, LPCSTR lpszName,
                                                     DWORD dwStyle, const RECT& rect, UINT nID,
                                                     REFIID iidEvents, HRESULT* phr)
{
    HRESULT hr = E_OUTOFMEMORY;
    COleControlSite* pSite = AfxGetOccManager()->CreateSite(this);
    if (pSite != nullptr)
    {
        m_sites.push_back(pSite);
        hr = pSite->CreateControl(clsid, lpszName, dwStyle, rect, nID, iidEvents);
        if (FAILED(hr))
        {
            // A container made for this control alone goes with it.
            DestroySite(pSite);
            pSite = nullptr;
        }
    }
    if (phr != nullptr)
        *phr = hr;
    return pSite;
}

void COleControlContainer::DestroySite(COleControlSite* pSite)
{
    auto it = std::find(m_sites.begin(), m_sites.end(), pSite);
    if (it == m_sites.end())
        return;
    m_sites.erase(it);
    pSite->Detach();
    pSite->Release();
    if (m_sites.empty())
        DetachAndRelease();
}

COleControlSite* COleControlContainer::FindSite(UINT nID) const
{
    for (COleControlSite* pSite : m_sites)
        if (pSite->GetID() == nID)
            return pSite;
    return nullptr;
}

COleControlSite* COleControlContainer::FindSiteByWindow(HWND hWndCtrl) const
{
    for (COleControlSite* pSite : m_sites)
        if (pSite->GetControlWindow() == hWndCtrl)
            return pSite;
    return nullptr;
}

void COleControlContainer::ReleaseActiveObject()
{
    if (m_pActiveObject != nullptr)
    {
        IOleInPlaceActiveObject* p = m_pActiveObject;
        m_pActiveObject = nullptr;
        p->Release();
    }
}

STDMETHODIMP COleControlContainer::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow
        || riid == IID_IOleInPlaceFrame)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IParseDisplayName || riid == IID_IOleContainer)
        *ppv = static_cast<IOleContainer*>(this);
    else
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP COleControlContainer::GetWindow(HWND* phwnd)
{
    return VaRunComMethod("GetWindow", [&]() -> HRESULT {
        if (phwnd == nullptr)
            return E_POINTER;
        *phwnd = m_hWnd;
        return m_hWnd != nullptr ? S_OK : E_FAIL;
    });
}

STDMETHODIMP COleControlContainer::SetActiveObject(IOleInPlaceActiveObject* pActiveObject,
                                                   LPCOLESTR)
{
    return VaRunComMethod("SetActiveObject", [&]() -> HRESULT {
        // Once detached nothing is held any more: it would never be let go.
        if (IsDetached())
            return pActiveObject != nullptr ? E_UNEXPECTED : S_OK;
        if (pActiveObject != nullptr)
            pActiveObject->AddRef();
        ReleaseActiveObject();
        m_pActiveObject = pActiveObject;
        return S_OK;
    });
}

STDMETHODIMP COleControlContainer::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG* pchEaten,
                                                    IMoniker** ppmkOut)
{
    return VaRunComMethod("ParseDisplayName", [&]() -> HRESULT {
        if (pchEaten != nullptr)
            *pchEaten = 0;
        if (ppmkOut != nullptr)
            *ppmkOut = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP COleControlContainer::EnumObjects(DWORD grfFlags, IEnumUnknown** ppenum)
{
    return VaRunComMethod("EnumObjects", [&]() -> HRESULT {
        if (ppenum == nullptr)
            return E_POINTER;
        *ppenum = nullptr;
        // The list is copied: no exception (out of memory) may reach the caller.
        try
        {
            std::vector<IUnknown*> items;
            if ((grfFlags & (OLECONTF_EMBEDDINGS | OLECONTF_ONLYUSER)) != 0)
                for (COleControlSite* pSite : m_sites)
                    if (pSite->GetControlUnknown() != nullptr)
                        items.push_back(pSite->GetControlUnknown());
            return CSnapshotEnum<IEnumUnknown, IID_IEnumUnknown, IUnknown>::Create(std::move(items), ppenum);
        }
        catch (...)
        {
            ::OutputDebugStringA("framework: exception while enumerating a container's objects\n");
            return E_UNEXPECTED;
        }
    });
}
