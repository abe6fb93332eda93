// The test control's COM identity, OLE embedding, window, connection point
// and registration. Navigation and events are in TestWebBrowserNavigation.cpp.
#include "tests/support/TestWebBrowser.h"

#include <algorithm>
#include <string>

#include <mshtmdid.h>
#include <mshtmhst.h>

#include "tests/support/TestHtmlDocument.h"

namespace {

// The private identity through which FromUnknown finds the object.
const IID kIID_TestWebBrowser =
    { 0x5a1e0c57, 0x3b7d, 0x4c2e, { 0x9f, 0x61, 0x2d, 0x0b, 0x77, 0x4e, 0x1a, 0x93 } };

bool g_bFaultingObjectRects = false;
int* volatile g_nowhereRects = nullptr;

const char kWindowClass[] = "VaTestWebBrowser";
const char kPumpClass[] = "VaTestWebBrowserPump";
const char kDocumentClass[] = "VaTestWebBrowserDocument";

std::vector<TestWebBrowser*>& Instances()
{
    static std::vector<TestWebBrowser*> s_instances;
    return s_instances;
}

HINSTANCE ThisModule()
{
    HMODULE h = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
                             | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&Instances), &h);
    return h;
}

// The control a window of its own was made for (its creation parameter,
// kept in the window's extra bytes), or null once the window let it go.
TestWebBrowser* ControlOfWindow(HWND hWnd, UINT nMsg, LPARAM lParam)
{
    if (nMsg == WM_NCCREATE)
    {
        auto* pcs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hWnd, 0, reinterpret_cast<LONG_PTR>(pcs->lpCreateParams));
    }
    return reinterpret_cast<TestWebBrowser*>(::GetWindowLongPtrA(hWnd, 0));
}

void RegisterClassOnce(const char* name, WNDPROC proc, bool bVisible)
{
    WNDCLASSA wc = {};
    HINSTANCE hInst = ThisModule();
    if (::GetClassInfoA(hInst, name, &wc))
        return;
    wc.lpfnWndProc = proc;
    wc.hInstance = hInst;
    wc.lpszClassName = name;
    wc.cbWndExtra = sizeof(void*);
    if (bVisible)
    {
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    }
    ::RegisterClassA(&wc);
}

} // namespace

//--- The event connection point

class TestWebBrowser::ConnectionPoint : public IConnectionPoint
{
public:
    explicit ConnectionPoint(TestWebBrowser* pOwner) : m_pOwner(pOwner) {}
    virtual ~ConnectionPoint() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        return VaQueryInterface(static_cast<IConnectionPoint*>(this), riid, IID_IConnectionPoint,
                                ppv);
    }
    STDMETHOD_(ULONG, AddRef)() override { return m_pOwner->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return m_pOwner->Release(); }
    STDMETHOD(GetConnectionInterface)(IID* pIID) override
    {
        if (pIID == nullptr)
            return E_POINTER;
        *pIID = DIID_DWebBrowserEvents2;
        return S_OK;
    }
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) override
    {
        if (ppCPC == nullptr)
            return E_POINTER;
        *ppCPC = static_cast<IConnectionPointContainer*>(m_pOwner);
        m_pOwner->AddRef();
        return S_OK;
    }
    STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) override
    {
        return m_pOwner->AdviseSink(pUnkSink, pdwCookie);
    }
    STDMETHOD(Unadvise)(DWORD dwCookie) override { return m_pOwner->UnadviseSink(dwCookie); }
    STDMETHOD(EnumConnections)(IEnumConnections**) override { return E_NOTIMPL; }

private:
    TestWebBrowser* m_pOwner;
};

//--- Life

TestWebBrowser::TestWebBrowser()
{
    m_pConnPt = new ConnectionPoint(this);
    m_travelLog.SetTravelHandler(&TestWebBrowser::TravelBy, this);
    RegisterClassOnce(kPumpClass, &TestWebBrowser::PumpProc, false);
    m_hWndPump = ::CreateWindowExA(0, kPumpClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ThisModule(), nullptr);
    if (m_hWndPump != nullptr)
        ::SetWindowLongPtrA(m_hWndPump, 0, reinterpret_cast<LONG_PTR>(this));
    Instances().push_back(this);
}

TestWebBrowser::~TestWebBrowser()
{
    auto& all = Instances();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
    {
        ::SetWindowLongPtrA(m_hWnd, 0, 0);
        ::DestroyWindow(m_hWnd);
    }
    if (m_hWndPump != nullptr)
    {
        ::SetWindowLongPtrA(m_hWndPump, 0, 0);
        ::DestroyWindow(m_hWndPump);
    }
    for (Sink& s : m_sinks)
        s.pDisp->Release();
    m_sinks.clear();
    if (m_pInPlaceSite != nullptr)
        m_pInPlaceSite->Release();
    if (m_pClientSite != nullptr)
        m_pClientSite->Release();
    delete m_pConnPt;
    if (m_pFrame != nullptr)
        m_pFrame->Release();
    if (m_pDocument != nullptr)
        m_pDocument->Release();
}

const std::vector<TestWebBrowser*>& TestWebBrowser::GetInstances()
{
    return Instances();
}

TestWebBrowser* TestWebBrowser::FromUnknown(IUnknown* pUnk)
{
    if (pUnk == nullptr)
        return nullptr;
    void* p = nullptr;
    if (FAILED(pUnk->QueryInterface(kIID_TestWebBrowser, &p)) || p == nullptr)
        return nullptr;
    TestWebBrowser* pThis = static_cast<TestWebBrowser*>(static_cast<IWebBrowser2*>(p));
    pThis->Release();
    return pThis;
}

//--- IUnknown

STDMETHODIMP TestWebBrowser::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser
        || riid == IID_IWebBrowserApp || riid == IID_IWebBrowser2 || riid == kIID_TestWebBrowser)
        *ppv = static_cast<IWebBrowser2*>(this);
    else if (riid == IID_IOleObject)
        *ppv = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IOleInPlaceActiveObject)
        *ppv = static_cast<IOleInPlaceActiveObject*>(this);
    else if (riid == IID_IOleControl)
        *ppv = static_cast<IOleControl*>(this);
    else if (riid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IServiceProvider)
        *ppv = static_cast<IServiceProvider*>(this);
    else if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2)
        *ppv = static_cast<IProvideClassInfo2*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TestWebBrowser::AddRef()
{
    return ++m_cRef;
}

STDMETHODIMP_(ULONG) TestWebBrowser::Release()
{
    ULONG n = --m_cRef;
    if (n == 0)
        delete this;
    return n;
}

//--- IDispatch: the control is not scripted by name

STDMETHODIMP TestWebBrowser::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                    EXCEPINFO*, UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

//--- IOleObject

STDMETHODIMP TestWebBrowser::SetClientSite(IOleClientSite* pClientSite)
{
    if (pClientSite != nullptr)
        pClientSite->AddRef();
    if (m_pClientSite != nullptr)
        m_pClientSite->Release();
    m_pClientSite = pClientSite;
    if (m_pClientSite != nullptr)
        ReadDlControl();
    return S_OK;
}

STDMETHODIMP TestWebBrowser::GetClientSite(IOleClientSite** ppClientSite)
{
    if (ppClientSite == nullptr)
        return E_POINTER;
    *ppClientSite = m_pClientSite;
    if (m_pClientSite != nullptr)
        m_pClientSite->AddRef();
    return S_OK;
}

STDMETHODIMP TestWebBrowser::Close(DWORD)
{
    InPlaceDeactivate();
    m_bClosed = true;
    m_bPending = false;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG,
                                    HWND hwndParent, LPCRECT lprcPosRect)
{
    if (iVerb != OLEIVERB_INPLACEACTIVATE && iVerb != OLEIVERB_UIACTIVATE
        && iVerb != OLEIVERB_SHOW && iVerb != OLEIVERB_PRIMARY)
        return OLEOBJ_S_INVALIDVERB;
    if (m_bInPlaceActive)
        return S_OK;
    IOleClientSite* pSite = pActiveSite != nullptr ? pActiveSite : m_pClientSite;
    if (pSite == nullptr || m_bClosed)
        return E_UNEXPECTED;
    if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSite,
                                     reinterpret_cast<void**>(&m_pInPlaceSite))))
    {
        m_pInPlaceSite = nullptr;
        return E_NOINTERFACE;
    }
    if (m_pInPlaceSite->CanInPlaceActivate() != S_OK)
    {
        m_pInPlaceSite->Release();
        m_pInPlaceSite = nullptr;
        return E_FAIL;
    }
    m_pInPlaceSite->OnInPlaceActivate();
    IOleInPlaceFrame* pFrame = nullptr;
    IOleInPlaceUIWindow* pDoc = nullptr;
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO info = { sizeof(info), FALSE, nullptr, nullptr, 0 };
    if (SUCCEEDED(m_pInPlaceSite->GetWindowContext(&pFrame, &pDoc, &pos, &clip, &info)))
    {
        if (iVerb == OLEIVERB_UIACTIVATE && pFrame != nullptr)
            pFrame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"");
        if (pFrame != nullptr)
            pFrame->Release();
        if (pDoc != nullptr)
            pDoc->Release();
    }
    if (lprcPosRect != nullptr)
        pos = *lprcPosRect;
    m_rect = pos;
    HWND hParent = hwndParent;
    if (hParent == nullptr)
        m_pInPlaceSite->GetWindow(&hParent);
    RegisterClassOnce(kWindowClass, &TestWebBrowser::WndProc, true);
    m_hWnd = ::CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                               pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                               hParent, nullptr, ThisModule(), this);
    if (m_hWnd == nullptr)
    {
        m_pInPlaceSite->OnInPlaceDeactivate();
        m_pInPlaceSite->Release();
        m_pInPlaceSite = nullptr;
        return E_FAIL;
    }
    m_bInPlaceActive = true;
    ShowLocationAsWindowText();
    if (iVerb == OLEIVERB_UIACTIVATE)
        m_pInPlaceSite->OnUIActivate();
    return S_OK;
}

STDMETHODIMP TestWebBrowser::GetUserClassID(CLSID* pClsid)
{
    if (pClsid == nullptr)
        return E_POINTER;
    *pClsid = CLSID_WebBrowser;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::SetExtent(DWORD, SIZEL* psizel)
{
    if (psizel == nullptr)
        return E_POINTER;
    m_extent = *psizel;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::GetExtent(DWORD, SIZEL* psizel)
{
    if (psizel == nullptr)
        return E_POINTER;
    *psizel = m_extent;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::GetMiscStatus(DWORD, DWORD* pdwStatus)
{
    if (pdwStatus == nullptr)
        return E_POINTER;
    *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE
               | OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

//--- IOleWindow, IOleInPlaceObject

STDMETHODIMP TestWebBrowser::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = m_hWnd;
    return m_hWnd != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP TestWebBrowser::InPlaceDeactivate()
{
    if (!m_bInPlaceActive)
        return S_OK;
    m_bInPlaceActive = false;
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    if (m_pInPlaceSite != nullptr)
    {
        IOleInPlaceSite* p = m_pInPlaceSite;
        m_pInPlaceSite = nullptr;
        p->OnInPlaceDeactivate();
        p->Release();
    }
    return S_OK;
}

void TestWebBrowser::SetFaultingObjectRects(bool bFaulting)
{
    g_bFaultingObjectRects = bFaulting;
}

STDMETHODIMP TestWebBrowser::SetObjectRects(LPCRECT lprcPosRect, LPCRECT)
{
    if (g_bFaultingObjectRects)
        *g_nowhereRects = 1;
    if (lprcPosRect == nullptr)
        return E_POINTER;
    m_rect = *lprcPosRect;
    if (m_hWnd != nullptr)
        ::MoveWindow(m_hWnd, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                     m_rect.bottom - m_rect.top, TRUE);
    return S_OK;
}

//--- IOleControl

STDMETHODIMP TestWebBrowser::OnAmbientPropertyChange(DISPID dispid)
{
    if (dispid == DISPID_AMBIENT_DLCONTROL || dispid == DISPID_UNKNOWN)
        ReadDlControl();
    return S_OK;
}

void TestWebBrowser::ReadDlControl()
{
    IDispatch* pAmbient = nullptr;
    if (m_pClientSite == nullptr
        || FAILED(m_pClientSite->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pAmbient)))
        || pAmbient == nullptr)
        return;
    DISPPARAMS none = { nullptr, nullptr, 0, 0 };
    VARIANT result;
    ::VariantInit(&result);
    HRESULT hr = pAmbient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, LOCALE_USER_DEFAULT,
                                  DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    pAmbient->Release();
    if (hr == S_OK && result.vt == VT_I4)
        m_dlControl = result.lVal;
    ::VariantClear(&result);
}

//--- IConnectionPointContainer

STDMETHODIMP TestWebBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    if (ppCP == nullptr)
        return E_POINTER;
    *ppCP = nullptr;
    if (riid != DIID_DWebBrowserEvents2)
        return CONNECT_E_NOCONNECTION;
    *ppCP = m_pConnPt;
    m_pConnPt->AddRef();
    return S_OK;
}

HRESULT TestWebBrowser::AdviseSink(IUnknown* pUnk, DWORD* pdwCookie)
{
    if (pUnk == nullptr || pdwCookie == nullptr)
        return E_POINTER;
    IDispatch* pDisp = nullptr;
    if (FAILED(pUnk->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&pDisp)))
        && FAILED(pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDisp))))
        return CONNECT_E_CANNOTCONNECT;
    *pdwCookie = m_nextCookie++;
    m_sinks.push_back({ *pdwCookie, pDisp });
    return S_OK;
}

HRESULT TestWebBrowser::UnadviseSink(DWORD dwCookie)
{
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it)
    {
        if (it->cookie == dwCookie)
        {
            IDispatch* p = it->pDisp;
            m_sinks.erase(it);
            p->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

//--- IServiceProvider, IProvideClassInfo2

STDMETHODIMP TestWebBrowser::QueryService(REFGUID guidService, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (guidService == IID_ITravelLogStg)
        return m_travelLog.QueryInterface(riid, ppv);
    if (guidService == IID_IWebBrowserApp || guidService == IID_IWebBrowser2)
        return QueryInterface(riid, ppv);
    return E_NOINTERFACE;
}

STDMETHODIMP TestWebBrowser::GetClassInfo(ITypeInfo** ppTI)
{
    if (ppTI != nullptr)
        *ppTI = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestWebBrowser::GetGUID(DWORD dwGuidKind, GUID* pGUID)
{
    if (pGUID == nullptr)
        return E_POINTER;
    if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *pGUID = DIID_DWebBrowserEvents2;
    return S_OK;
}

//--- Windows

LRESULT CALLBACK TestWebBrowser::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    TestWebBrowser* pThis = ControlOfWindow(hWnd, nMsg, lParam);
    switch (nMsg)
    {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(hWnd, &ps);
        if (pThis != nullptr)
        {
            std::wstring text = pThis->GetTitle() + L"\n" + pThis->GetLocationUrl();
            RECT rc;
            ::GetClientRect(hWnd, &rc);
            ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rc, DT_LEFT | DT_TOP);
        }
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        // The window may go with its parent before the host closes the control.
        if (pThis != nullptr && pThis->m_hWnd == hWnd)
        {
            pThis->m_hWnd = nullptr;
            if (pThis->m_bInPlaceActive)
                pThis->m_bWindowLost = true;
        }
        ::SetWindowLongPtrA(hWnd, 0, 0);
        break;
    default:
        break;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

HWND TestWebBrowser::GetDocumentWindow()
{
    if (m_hWndDocument == nullptr && m_hWnd != nullptr)
    {
        RegisterClassOnce(kDocumentClass, &TestWebBrowser::DocumentProc, false);
        RECT rc = {};
        ::GetClientRect(m_hWnd, &rc);
        m_hWndDocument = ::CreateWindowExA(0, kDocumentClass, "", WS_CHILD, 0, 0, rc.right, rc.bottom, m_hWnd,
                                           nullptr, ThisModule(), this);
    }
    return m_hWndDocument;
}

LRESULT CALLBACK TestWebBrowser::DocumentProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    TestWebBrowser* pThis = ControlOfWindow(hWnd, nMsg, lParam);
    if (nMsg == WM_COMMAND && pThis != nullptr)
    {
        pThis->m_documentCommands.push_back(LOWORD(wParam));
        return 0;
    }
    if (nMsg == WM_DESTROY)
    {
        if (pThis != nullptr && pThis->m_hWndDocument == hWnd)
            pThis->m_hWndDocument = nullptr;
        ::SetWindowLongPtrA(hWnd, 0, 0);
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

void TestWebBrowser::ScriptWindowClose()
{
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

//--- Class factory and registration

namespace {

class TestWebBrowserFactory : public IClassFactory
{
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory)
        {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // One static factory for the process.
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (pUnkOuter != nullptr)
            return CLASS_E_NOAGGREGATION;
        TestWebBrowser* p = new TestWebBrowser;
        p->AddRef();
        HRESULT hr = p->QueryInterface(riid, ppv);
        p->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }
};

TestWebBrowserFactory g_factory;

} // namespace

HRESULT TestWebBrowserGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_WebBrowser)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

TestWebBrowserRegistration::TestWebBrowserRegistration()
{
    if (FAILED(::CoRegisterClassObject(CLSID_WebBrowser, &g_factory, CLSCTX_INPROC_SERVER,
                                       REGCLS_MULTIPLEUSE, &m_dwCookie)))
        m_dwCookie = 0;
}

TestWebBrowserRegistration::~TestWebBrowserRegistration()
{
    if (m_dwCookie != 0)
        ::CoRevokeClassObject(m_dwCookie);
}

//--- Documents

namespace {

std::vector<std::pair<std::wstring, std::wstring>>& Pages()
{
    static std::vector<std::pair<std::wstring, std::wstring>> s_pages;
    return s_pages;
}

// The file behind a "file:" URL (or a plain path), read as cp932 text.
bool ReadFilePage(const std::wstring& url, std::wstring& html)
{
    std::wstring path = url;
    if (path.compare(0, 8, L"file:///") == 0)
        path.erase(0, 8);
    else if (path.compare(0, 7, L"file://") == 0)
        path.erase(0, 7);
    else if (path.size() < 3 || path[1] != L':')
        return false;
    std::wstring decoded;
    for (size_t i = 0; i < path.size(); ++i)
    {
        if (path[i] == L'%' && i + 2 < path.size())
        {
            decoded += static_cast<wchar_t>(std::stoi(path.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
        else
            decoded += path[i] == L'/' ? L'\\' : path[i];
    }
    HANDLE h = ::CreateFileW(decoded.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
        bytes.append(buf, got);
    ::CloseHandle(h);
    int n = ::MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    html.assign(static_cast<size_t>(n), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), &html[0], n);
    return true;
}

std::wstring PageSource(const std::wstring& url)
{
    for (const auto& page : Pages())
        if (page.first == url)
            return page.second;
    std::wstring html;
    ReadFilePage(url, html);
    return html;
}

} // namespace

void TestWebBrowser::SetPageHtml(const std::wstring& url, const std::wstring& html)
{
    for (auto& page : Pages())
        if (page.first == url)
        {
            page.second = html;
            return;
        }
    Pages().emplace_back(url, html);
}

void TestWebBrowser::ClearPages()
{
    Pages().clear();
}

void TestWebBrowser::ShowDocument(TestHtmlDocument* pDocument)
{
    if (m_pDocument != nullptr)
        m_pDocument->Release();
    m_pDocument = pDocument;
}

void TestWebBrowser::LoadDocument(const std::wstring& url)
{
    ShowDocument(TestHtmlDocument::Create(this, url, PageSource(url)));
}

void TestWebBrowser::SetDocumentHtml(const std::wstring& html, const std::wstring& url)
{
    ShowDocument(TestHtmlDocument::Create(this, url, html));
}

void TestWebBrowser::SetFramePosition(LONG left, LONG top)
{
    m_rect = { left, top, left + 300, top + 200 };
}

STDMETHODIMP TestWebBrowser::get_Document(IDispatch** ppDisp)
{
    if (ppDisp == nullptr)
        return E_POINTER;
    *ppDisp = nullptr;
    if (m_pDocument == nullptr)
        return S_FALSE;
    *ppDisp = static_cast<IHTMLDocument2*>(m_pDocument);
    m_pDocument->AddRef();
    return S_OK;
}

HRESULT TestWebBrowser::CallExternal(const std::wstring& name, std::vector<VARIANT> args,
                                     VARIANT* pResult, WORD flags)
{
    IDocHostUIHandler* pHandler = nullptr;
    if (m_pClientSite == nullptr
        || FAILED(m_pClientSite->QueryInterface(IID_IDocHostUIHandler,
                                                reinterpret_cast<void**>(&pHandler))))
        return E_NOINTERFACE;
    IDispatch* pExternal = nullptr;
    HRESULT hr = pHandler->GetExternal(&pExternal);
    pHandler->Release();
    if (FAILED(hr) || pExternal == nullptr)
        return FAILED(hr) ? hr : E_FAIL;
    std::vector<wchar_t> buf(name.begin(), name.end());
    buf.push_back(0);
    LPOLESTR names[1] = { buf.data() };
    DISPID id = DISPID_UNKNOWN;
    hr = pExternal->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (SUCCEEDED(hr))
    {
        // The page's document goes first; DISPPARAMS hold the last first.
        std::vector<VARIANT> all;
        VARIANT doc;
        ::VariantInit(&doc);
        if (m_pDocument != nullptr)
        {
            doc.vt = VT_DISPATCH;
            doc.pdispVal = static_cast<IHTMLDocument2*>(m_pDocument);
        }
        all.push_back(doc);
        all.insert(all.end(), args.begin(), args.end());
        std::reverse(all.begin(), all.end());
        DISPPARAMS params = { all.data(), nullptr, static_cast<UINT>(all.size()), 0 };
        hr = pExternal->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, pResult,
                               nullptr, nullptr);
    }
    pExternal->Release();
    return hr;
}

HRESULT TestWebBrowser::OfferDropTarget(IDropTarget* pTarget, IDropTarget** ppOut)
{
    if (ppOut == nullptr)
        return E_POINTER;
    *ppOut = nullptr;
    IDocHostUIHandler* pHandler = nullptr;
    if (m_pClientSite == nullptr
        || FAILED(m_pClientSite->QueryInterface(IID_IDocHostUIHandler,
                                                reinterpret_cast<void**>(&pHandler))))
        return E_NOINTERFACE;
    HRESULT hr = pHandler->GetDropTarget(pTarget, ppOut);
    pHandler->Release();
    return hr;
}
