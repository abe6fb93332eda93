#include "framework/ole/OleControlSite.h"

#include "framework/app/FaultGuard.h"
#include "framework/ole/OleControlContainer.h"
#include "framework/ole/OleControlWnd.h"
#include "framework/ole/OleUtil.h"
#include "framework/win/Wnd.h"

namespace {

// HIMETRIC units (0.01 mm) per pixel at the screen's resolution.
int ScreenDpi(BOOL bHorizontal)
{
    HDC hdc = ::GetDC(nullptr);
    int dpi = hdc != nullptr ? ::GetDeviceCaps(hdc, bHorizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
    if (hdc != nullptr)
        ::ReleaseDC(nullptr, hdc);
    return dpi > 0 ? dpi : 96;
}

LONG PixelsToHimetric(LONG pixels, BOOL bHorizontal)
{
    return ::MulDiv(pixels, 2540, ScreenDpi(bHorizontal));
}

LONG HimetricToPixels(LONG himetric, BOOL bHorizontal)
{
    return ::MulDiv(himetric, ScreenDpi(bHorizontal), 2540);
}

OLE_COLOR SysColorAsOle(int index)
{
    return static_cast<OLE_COLOR>(0x80000000u | static_cast<unsigned>(index));
}

} // namespace

COleControlSite::COleControlSite(COleControlContainer* pCtrlCont)
    : m_pCtrlCont(pCtrlCont), m_pEventSink(new COleEventSink(this))
{
}

COleControlSite::~COleControlSite()
{
    DestroyControl();
    m_pEventSink->DetachSite();
    m_pEventSink->Release();
}

STDMETHODIMP_(ULONG) COleControlSite::Release()
{
    ULONG n = --m_cRef;
    if (n == 0)
        delete this;
    return n;
}

void COleControlSite::Detach()
{
    DestroyControl();
    m_pCtrlCont = nullptr;
}

HRESULT COleControlSite::CreateControl(REFCLSID clsid, LPCSTR lpszName, DWORD dwStyle,
                                       const RECT& rect, UINT nID, REFIID iidEvents)
{
    if (m_pObject != nullptr || m_pCtrlCont == nullptr)
        return E_UNEXPECTED;
    m_nID = nID;
    m_rect = rect;
    m_strName = lpszName;

    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                    IID_IOleObject, reinterpret_cast<void**>(&m_pObject));
    if (FAILED(hr) || m_pObject == nullptr)
    {
        m_pObject = nullptr;
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }

    // The site first: some controls (the WebBrowser among them) read their
    // ambient properties while they initialise.
    hr = m_pObject->SetClientSite(static_cast<IOleClientSite*>(this));
    if (SUCCEEDED(hr))
    {
        IPersistStreamInit* pInit = nullptr;
        if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit,
                                                reinterpret_cast<void**>(&pInit)))
            && pInit != nullptr)
        {
            pInit->InitNew();
            pInit->Release();
        }
        // Events are connected before activation so that none is missed; a
        // control without events is still hosted.
        ConnectEvents(iidEvents);

        if (rect.right > rect.left && rect.bottom > rect.top)
        {
            SIZEL size = { PixelsToHimetric(rect.right - rect.left, TRUE),
                           PixelsToHimetric(rect.bottom - rect.top, FALSE) };
            m_pObject->SetExtent(DVASPECT_CONTENT, &size);
        }
        RECT pos = rect;
        hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                               static_cast<IOleClientSite*>(this), 0,
                               m_pCtrlCont->GetContainerWindow(), &pos);
    }
    if (SUCCEEDED(hr))
    {
        hr = m_pObject->QueryInterface(IID_IOleInPlaceObject,
                                       reinterpret_cast<void**>(&m_pInPlaceObject));
        if (SUCCEEDED(hr) && m_pInPlaceObject != nullptr)
            hr = m_pInPlaceObject->GetWindow(&m_hWnd);
        else
            m_pInPlaceObject = nullptr;
        if (SUCCEEDED(hr) && (m_hWnd == nullptr || !::IsWindow(m_hWnd)))
            hr = E_FAIL;
    }
    if (FAILED(hr))
    {
        DestroyControl();
        return hr;
    }

    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID));
    if ((dwStyle & WS_VISIBLE) != 0)
    {
        if (!::IsWindowVisible(m_hWnd))
            ::ShowWindow(m_hWnd, SW_SHOWNA);
    }
    else
    {
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
    return S_OK;
}

HRESULT COleControlSite::ConnectEvents(REFIID iidEvents)
{
    IID iid = iidEvents;
    if (iid == IID_NULL)
    {
        IProvideClassInfo2* pInfo = nullptr;
        if (FAILED(m_pObject->QueryInterface(IID_IProvideClassInfo2,
                                             reinterpret_cast<void**>(&pInfo)))
            || pInfo == nullptr)
            return E_NOINTERFACE;
        HRESULT hr = pInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid);
        pInfo->Release();
        if (FAILED(hr))
            return hr;
    }
    return m_pEventSink->Connect(m_pObject, iid);
}

void COleControlSite::DestroyControl()
{
    // The window object lets go of this site before the control goes.
    if (m_pWndCtrl != nullptr)
    {
        m_pWndCtrl->m_pCtrlSite = nullptr;
        m_pWndCtrl = nullptr;
    }
    m_pEventSink->Disconnect();
    if (m_pInPlaceObject != nullptr)
    {
        IOleInPlaceObject* p = m_pInPlaceObject;
        m_pInPlaceObject = nullptr;
        if (m_bInPlaceActive)
            p->InPlaceDeactivate();
        p->Release();
    }
    if (m_pObject != nullptr)
    {
        IOleObject* p = m_pObject;
        m_pObject = nullptr;
        p->Close(OLECLOSE_NOSAVE);
        p->SetClientSite(nullptr);
        p->Release();
    }
    m_bInPlaceActive = FALSE;
    m_hWnd = nullptr;
}

BOOL COleControlSite::SetObjectRects(const RECT& rect)
{
    m_rect = rect;
    if (m_pInPlaceObject == nullptr || m_bInSetObjectRects)
        return FALSE;
    // Cleared again by a fault in the control too: else the page would never
    // follow the window's size again.
    CFaultSetting<BOOL> inSetObjectRects(m_bInSetObjectRects, TRUE);
    RECT clip = rect;
    HRESULT hr = m_pInPlaceObject->SetObjectRects(&rect, &clip);
    return SUCCEEDED(hr);
}

void COleControlSite::SetAmbientDlControl(DWORD dwFlags)
{
    m_bDlControl = TRUE;
    m_dwDlControl = dwFlags;
}

HRESULT COleControlSite::NotifyAmbientChange(DISPID dispid)
{
    if (m_pObject == nullptr)
        return E_UNEXPECTED;
    IOleControl* pControl = nullptr;
    HRESULT hr = m_pObject->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&pControl));
    if (FAILED(hr) || pControl == nullptr)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    hr = pControl->OnAmbientPropertyChange(dispid);
    pControl->Release();
    return hr;
}

COleEventHandler* COleControlSite::GetEventHandler() const
{
    if (m_pCtrlCont == nullptr)
        return nullptr;
    CWnd* pWnd = CWnd::FromHandlePermanent(m_pCtrlCont->GetContainerWindow());
    return dynamic_cast<COleEventHandler*>(pWnd);
}

// The defaults a dialog or view container gives its controls: run mode, no
// design-time decorations, the system colours and the thread's locale.
BOOL COleControlSite::GetAmbientProperty(DISPID dispid, VARIANT* pvar)
{
    switch (dispid)
    {
    case DISPID_AMBIENT_DLCONTROL:
        if (!m_bDlControl)
            return FALSE;
        pvar->vt = VT_I4;
        pvar->lVal = static_cast<LONG>(m_dwDlControl);
        return TRUE;
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_AUTOCLIP:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_MESSAGEREFLECT:
        pvar->vt = VT_BOOL;
        pvar->boolVal = VARIANT_TRUE;
        return TRUE;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
        pvar->vt = VT_BOOL;
        pvar->boolVal = VARIANT_FALSE;
        return TRUE;
    case DISPID_AMBIENT_BACKCOLOR:
        pvar->vt = VT_I4;
        pvar->lVal = static_cast<LONG>(SysColorAsOle(COLOR_WINDOW));
        return TRUE;
    case DISPID_AMBIENT_FORECOLOR:
        pvar->vt = VT_I4;
        pvar->lVal = static_cast<LONG>(SysColorAsOle(COLOR_WINDOWTEXT));
        return TRUE;
    case DISPID_AMBIENT_LOCALEID:
        pvar->vt = VT_I4;
        pvar->lVal = static_cast<LONG>(::GetThreadLocale());
        return TRUE;
    case DISPID_AMBIENT_APPEARANCE:
        pvar->vt = VT_I2;
        pvar->iVal = 0;  // flat
        return TRUE;
    case DISPID_AMBIENT_DISPLAYNAME: {
        std::wstring name = VaWideFromAnsi(m_strName);
        BSTR b = ::SysAllocStringLen(name.c_str(), static_cast<UINT>(name.size()));
        if (b == nullptr)
            return FALSE;
        pvar->vt = VT_BSTR;
        pvar->bstrVal = b;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

//--- IUnknown

STDMETHODIMP COleControlSite::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleControlSite)
        *ppv = static_cast<IOleControlSite*>(this);
    else if (riid == IID_IDispatch)
        *ppv = static_cast<IDispatch*>(this);
    else
    {
        HRESULT hr = QueryExtraInterface(riid, ppv);
        if (FAILED(hr))
            *ppv = nullptr;
        return hr;
    }
    AddRef();
    return S_OK;
}

HRESULT COleControlSite::QueryExtraInterface(REFIID, void** ppv)
{
    *ppv = nullptr;
    return E_NOINTERFACE;
}

//--- IOleClientSite

STDMETHODIMP COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    return VaRunComMethod("GetMoniker", [&]() -> HRESULT {
        if (ppmk != nullptr)
            *ppmk = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP COleControlSite::GetContainer(IOleContainer** ppContainer)
{
    return VaRunComMethod("GetContainer", [&]() -> HRESULT {
        if (ppContainer == nullptr)
            return E_POINTER;
        *ppContainer = m_pCtrlCont;
        if (m_pCtrlCont == nullptr)
            return E_NOINTERFACE;
        m_pCtrlCont->AddRef();
        return S_OK;
    });
}

//--- IOleWindow, IOleInPlaceSite

STDMETHODIMP COleControlSite::GetWindow(HWND* phwnd)
{
    return VaRunComMethod("GetWindow", [&]() -> HRESULT {
        if (phwnd == nullptr)
            return E_POINTER;
        *phwnd = m_pCtrlCont != nullptr ? m_pCtrlCont->GetContainerWindow() : nullptr;
        return *phwnd != nullptr ? S_OK : E_FAIL;
    });
}

STDMETHODIMP COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame,
                                               IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    return VaRunComMethod("GetWindowContext", [&]() -> HRESULT {
        if (ppFrame == nullptr || ppDoc == nullptr || lprcPosRect == nullptr
            || lprcClipRect == nullptr)
            return E_POINTER;
        // The frame is the document window too.
        *ppDoc = nullptr;
        *ppFrame = m_pCtrlCont;
        if (m_pCtrlCont == nullptr)
            return E_UNEXPECTED;
        m_pCtrlCont->AddRef();
        *lprcPosRect = m_rect;
        *lprcClipRect = m_rect;
        if (lpFrameInfo != nullptr)
        {
            lpFrameInfo->fMDIApp = FALSE;
            lpFrameInfo->hwndFrame = ::GetAncestor(m_pCtrlCont->GetContainerWindow(), GA_ROOT);
            lpFrameInfo->haccel = nullptr;
            lpFrameInfo->cAccelEntries = 0;
        }
        return S_OK;
    });
}

STDMETHODIMP COleControlSite::OnInPlaceActivate()
{
    return VaRunComMethod("OnInPlaceActivate", [&]() -> HRESULT {
        if (IsDetached())
            return E_UNEXPECTED;
        m_bInPlaceActive = TRUE;
        return S_OK;
    });
}

STDMETHODIMP COleControlSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    return VaRunComMethod("OnPosRectChange", [&]() -> HRESULT {
        if (lprcPosRect == nullptr)
            return E_POINTER;
        if (IsDetached())
            return E_UNEXPECTED;
        SetObjectRects(*lprcPosRect);
        return S_OK;
    });
}

//--- IOleControlSite

STDMETHODIMP COleControlSite::GetExtendedControl(IDispatch** ppDisp)
{
    return VaRunComMethod("GetExtendedControl", [&]() -> HRESULT {
        if (ppDisp == nullptr)
            return E_POINTER;
        *ppDisp = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP COleControlSite::TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer,
                                              DWORD dwFlags)
{
    return VaRunComMethod("TransformCoords", [&]() -> HRESULT {
        if (pPtlHimetric == nullptr || pPtfContainer == nullptr)
            return E_POINTER;
        if ((dwFlags & XFORMCOORDS_HIMETRICTOCONTAINER) != 0)
        {
            pPtfContainer->x = static_cast<float>(HimetricToPixels(pPtlHimetric->x, TRUE));
            pPtfContainer->y = static_cast<float>(HimetricToPixels(pPtlHimetric->y, FALSE));
            return S_OK;
        }
        if ((dwFlags & XFORMCOORDS_CONTAINERTOHIMETRIC) != 0)
        {
            pPtlHimetric->x = PixelsToHimetric(static_cast<LONG>(pPtfContainer->x), TRUE);
            pPtlHimetric->y = PixelsToHimetric(static_cast<LONG>(pPtfContainer->y), FALSE);
            return S_OK;
        }
        return E_INVALIDARG;
    });
}

//--- IDispatch: ambient properties

STDMETHODIMP COleControlSite::Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS*,
                                     VARIANT* pResult, EXCEPINFO*, UINT*)
{
    if ((wFlags & DISPATCH_PROPERTYGET) == 0)
        return DISP_E_MEMBERNOTFOUND;
    if (IsDetached())
        return E_UNEXPECTED;
    VARIANT value;
    ::VariantInit(&value);
    // A derived site's answer may throw or fault; neither reaches the control.
    BOOL bKnown = FALSE;
    if (!AfxRunEntry("an ambient property", [&] { bKnown = GetAmbientProperty(dispid, &value); }))
    {
        ::VariantClear(&value);
        return E_UNEXPECTED;
    }
    if (!bKnown)
    {
        ::VariantClear(&value);
        return DISP_E_MEMBERNOTFOUND;
    }
    if (pResult != nullptr)
    {
        *pResult = value;  // the caller owns it now
    }
    else
    {
        ::VariantClear(&value);
    }
    return S_OK;
}
