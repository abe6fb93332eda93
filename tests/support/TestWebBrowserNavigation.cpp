// Navigation, history and the events of the test control.
#include "tests/support/TestWebBrowser.h"

#include <exdispid.h>

#include "tests/support/TestHtmlDocument.h"

namespace {

const UINT kMsgComplete = WM_APP + 1;
const UINT kMsgPopup = WM_APP + 2;
const wchar_t kHomeUrl[] = L"http://home.test/";
bool g_bSynchronous = false;
bool g_bNeverComplete = false;
bool g_bFaultingNavigate = false;
int* volatile g_nowhere = nullptr;

// Keeps a COM object alive across calls out to the host, which may release
// the last reference of it (a tab closing in an event handler).
class KeepAlive
{
public:
    explicit KeepAlive(IUnknown* p) : m_p(p) { m_p->AddRef(); }
    ~KeepAlive() { m_p->Release(); }
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

private:
    IUnknown* m_p;
};

std::wstring StringOf(const VARIANT* pvar)
{
    while (pvar != nullptr && pvar->vt == (VT_BYREF | VT_VARIANT))
        pvar = pvar->pvarVal;
    if (pvar == nullptr)
        return std::wstring();
    if (pvar->vt == VT_BSTR && pvar->bstrVal != nullptr)
        return std::wstring(pvar->bstrVal, ::SysStringLen(pvar->bstrVal));
    if (pvar->vt == (VT_BYREF | VT_BSTR) && pvar->pbstrVal != nullptr && *pvar->pbstrVal != nullptr)
        return std::wstring(*pvar->pbstrVal, ::SysStringLen(*pvar->pbstrVal));
    return std::wstring();
}

LONG LongOf(const VARIANT* pvar)
{
    while (pvar != nullptr && pvar->vt == (VT_BYREF | VT_VARIANT))
        pvar = pvar->pvarVal;
    if (pvar == nullptr)
        return 0;
    VARIANT v;
    ::VariantInit(&v);
    LONG n = 0;
    if (SUCCEEDED(::VariantChangeType(&v, const_cast<VARIANT*>(pvar), 0, VT_I4)))
        n = v.lVal;
    ::VariantClear(&v);
    return n;
}

std::string BytesOf(const VARIANT* pvar)
{
    while (pvar != nullptr && pvar->vt == (VT_BYREF | VT_VARIANT))
        pvar = pvar->pvarVal;
    if (pvar == nullptr || pvar->vt != (VT_ARRAY | VT_UI1) || pvar->parray == nullptr)
        return std::string();
    LONG lo = 0, hi = -1;
    ::SafeArrayGetLBound(pvar->parray, 1, &lo);
    ::SafeArrayGetUBound(pvar->parray, 1, &hi);
    void* pData = nullptr;
    if (hi < lo || FAILED(::SafeArrayAccessData(pvar->parray, &pData)))
        return std::string();
    std::string bytes(static_cast<const char*>(pData), static_cast<size_t>(hi - lo) + 1);
    ::SafeArrayUnaccessData(pvar->parray);
    return bytes;
}

// The value of a "name=" query parameter, percent-decoded from UTF-8.
bool QueryValue(const std::wstring& url, const wchar_t* name, std::wstring& value)
{
    size_t q = url.find(L'?');
    if (q == std::wstring::npos)
        return false;
    std::wstring key = std::wstring(name) + L"=";
    size_t pos = q + 1;
    while (pos < url.size())
    {
        size_t end = url.find_first_of(L"&#", pos);
        if (end == std::wstring::npos)
            end = url.size();
        if (url.compare(pos, key.size(), key) == 0)
        {
            std::string bytes;
            for (size_t i = pos + key.size(); i < end; ++i)
            {
                wchar_t c = url[i];
                if (c == L'%' && i + 2 < end
                    && iswxdigit(url[i + 1]) && iswxdigit(url[i + 2]))
                {
                    bytes.push_back(static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16)));
                    i += 2;
                }
                else if (c == L'+')
                    bytes.push_back(' ');
                else
                    bytes.push_back(static_cast<char>(c));
            }
            int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                          nullptr, 0);
            value.assign(static_cast<size_t>(n > 0 ? n : 0), L'\0');
            if (n > 0)
                ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      &value[0], n);
            return true;
        }
        if (end >= url.size() || url[end] == L'#')
            break;
        pos = end + 1;
    }
    return false;
}

std::wstring TitleOf(const std::wstring& url)
{
    std::wstring title;
    if (QueryValue(url, L"va-title", title))
        return title;
    return url;
}

BSTR MakeBstr(const std::wstring& s)
{
    return ::SysAllocStringLen(s.c_str(), static_cast<UINT>(s.size()));
}

VARIANT BstrArg(const std::wstring& s)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = MakeBstr(s);
    return v;
}

VARIANT LongArg(LONG n)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

VARIANT RefArg(VARIANT* pTarget)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = pTarget;
    return v;
}

VARIANT DispatchArg(IDispatch* p)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = p;  // borrowed: not cleared by the caller
    return v;
}

// The object of a frame inside the page: another browser object as far as
// the host can tell.
class FrameDispatch : public CHeapObject<CDispatchNoTypeInfo<IDispatch>, IID_IDispatch>
{
public:
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
};

} // namespace

void TestWebBrowser::SetNeverComplete(bool bNever)
{
    g_bNeverComplete = bNever;
}

void TestWebBrowser::SetFaultingNavigate(bool bFaulting)
{
    g_bFaultingNavigate = bFaulting;
}

void TestWebBrowser::SetSynchronous(bool bSynchronous)
{
    g_bSynchronous = bSynchronous;
}

bool TestWebBrowser::Settle(DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;)
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        bool pending = false;
        for (TestWebBrowser* p : GetInstances())
            pending = pending || p->m_bPending;
        if (!pending)
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::wstring TestWebBrowser::GetLocationUrl() const
{
    const TestTravelLog::Page* p = m_travelLog.PageAt(0);
    return p != nullptr ? p->url : std::wstring();
}

void TestWebBrowser::ShowLocationAsWindowText()
{
    if (m_hWnd != nullptr)
        ::SetWindowTextW(m_hWnd, GetLocationUrl().c_str());
}

std::wstring TestWebBrowser::GetTitle() const
{
    const TestTravelLog::Page* p = m_travelLog.PageAt(0);
    return p != nullptr ? p->title : std::wstring();
}

//--- Events

void TestWebBrowser::FireEvent(DISPID dispid, std::vector<VARIANT> args)
{
    KeepAlive keep(static_cast<IWebBrowser2*>(this));
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = { reversed.empty() ? nullptr : reversed.data(), nullptr,
                          static_cast<UINT>(reversed.size()), 0 };
    std::vector<Sink> sinks = m_sinks;
    for (Sink& s : sinks)
        s.pDisp->AddRef();
    for (Sink& s : sinks)
    {
        // A sink that left during an earlier call hears nothing more.
        bool connected = false;
        for (const Sink& live : m_sinks)
            connected = connected || live.cookie == s.cookie;
        if (connected)
            s.pDisp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                            nullptr, nullptr, nullptr);
    }
    for (Sink& s : sinks)
        s.pDisp->Release();
}

void TestWebBrowser::FireNavigationEvent(DISPID dispid, IDispatch* pDisp, const std::wstring& url)
{
    VARIANT urlValue = BstrArg(url);
    FireEvent(dispid, { DispatchArg(pDisp), RefArg(&urlValue) });
    ::VariantClear(&urlValue);
}

bool TestWebBrowser::FireBeforeNavigate2(IDispatch* pDisp, const NavigateCall& call)
{
    VARIANT url = BstrArg(call.url);
    VARIANT flags = LongArg(call.flags);
    VARIANT target = BstrArg(call.targetFrame);
    VARIANT post;
    ::VariantInit(&post);
    if (!call.postData.empty())
    {
        post.vt = VT_ARRAY | VT_UI1;
        post.parray = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(call.postData.size()));
        void* pData = nullptr;
        if (post.parray != nullptr && SUCCEEDED(::SafeArrayAccessData(post.parray, &pData)))
        {
            std::copy(call.postData.begin(), call.postData.end(), static_cast<char*>(pData));
            ::SafeArrayUnaccessData(post.parray);
        }
    }
    VARIANT headers = BstrArg(call.headers);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT cancelArg;
    ::VariantInit(&cancelArg);
    cancelArg.vt = VT_BYREF | VT_BOOL;
    cancelArg.pboolVal = &cancel;
    FireEvent(DISPID_BEFORENAVIGATE2, { DispatchArg(pDisp), RefArg(&url), RefArg(&flags),
                                        RefArg(&target), RefArg(&post), RefArg(&headers),
                                        cancelArg });
    ::VariantClear(&url);
    ::VariantClear(&target);
    ::VariantClear(&post);
    ::VariantClear(&headers);
    return cancel == VARIANT_FALSE;
}

void TestWebBrowser::ScriptTitleChange(LPCWSTR pszTitle)
{
    std::wstring title = pszTitle != nullptr ? pszTitle : L"";
    m_travelLog.SetCurrentTitle(title);
    VARIANT arg = BstrArg(title);
    FireEvent(DISPID_TITLECHANGE, { arg });
    ::VariantClear(&arg);
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void TestWebBrowser::ScriptStatusText(LPCWSTR pszText)
{
    VARIANT arg = BstrArg(pszText != nullptr ? pszText : L"");
    FireEvent(DISPID_STATUSTEXTCHANGE, { arg });
    ::VariantClear(&arg);
}

void TestWebBrowser::ScriptProgress(LONG progress, LONG progressMax)
{
    FireEvent(DISPID_PROGRESSCHANGE, { LongArg(progress), LongArg(progressMax) });
}

TestWebBrowser::NewWindowResult TestWebBrowser::ScriptNewWindow(LPCWSTR pszUrl)
{
    KeepAlive keep(static_cast<IWebBrowser2*>(this));
    NewWindowResult result;
    IDispatch* pNew = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT ppDisp;
    ::VariantInit(&ppDisp);
    ppDisp.vt = VT_BYREF | VT_DISPATCH;
    ppDisp.ppdispVal = &pNew;
    VARIANT cancelArg;
    ::VariantInit(&cancelArg);
    cancelArg.vt = VT_BYREF | VT_BOOL;
    cancelArg.pboolVal = &cancel;
    FireEvent(DISPID_NEWWINDOW2, { ppDisp, cancelArg });
    result.cancelled = cancel != VARIANT_FALSE;
    result.pDisp = pNew;
    if (!result.cancelled && pNew != nullptr)
    {
        result.pNewBrowser = FromUnknown(pNew);
        IWebBrowser2* pBrowser = nullptr;
        if (SUCCEEDED(pNew->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&pBrowser)))
            && pBrowser != nullptr)
        {
            VARIANT url = BstrArg(pszUrl != nullptr ? pszUrl : L"");
            pBrowser->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
            ::VariantClear(&url);
            pBrowser->Release();
        }
    }
    if (pNew != nullptr)
        pNew->Release();
    return result;
}

void TestWebBrowser::ScriptFrameNavigation(LPCWSTR pszUrl)
{
    KeepAlive keep(static_cast<IWebBrowser2*>(this));
    if (m_pFrame == nullptr)
        m_pFrame = new FrameDispatch;
    NavigateCall call;
    call.url = pszUrl != nullptr ? pszUrl : L"";
    if (!FireBeforeNavigate2(m_pFrame, call))
        return;
    FireNavigationEvent(DISPID_NAVIGATECOMPLETE2, m_pFrame, call.url);
    FireNavigationEvent(DISPID_DOCUMENTCOMPLETE, m_pFrame, call.url);
}

// Each frame's document completes before the page's: the event carries the
// frame's control.
void TestWebBrowser::FireFrameDocumentComplete()
{
    if (m_pDocument == nullptr)
        return;
    std::vector<TestWebBrowser*> frames = m_pDocument->GetFrames();
    for (TestWebBrowser* pFrame : frames)
    {
        pFrame->AddRef();
        TestHtmlDocument* pDoc = pFrame->GetDocument();
        FireNavigationEvent(DISPID_DOCUMENTCOMPLETE, static_cast<IWebBrowser2*>(pFrame),
                            pDoc != nullptr ? pDoc->GetUrl() : std::wstring());
        pFrame->Release();
    }
}

//--- Navigation

HRESULT TestWebBrowser::StartNavigation(const NavigateCall& call, int travelOffset)
{
    if (m_bClosed)
        return E_FAIL;
    KeepAlive keep(static_cast<IWebBrowser2*>(this));
    if (!FireBeforeNavigate2(static_cast<IWebBrowser2*>(this), call))
        return S_OK;
    m_bPending = true;
    m_pending = call;
    m_pendingTravel = travelOffset;
    m_readyState = READYSTATE_LOADING;
    FireEvent(DISPID_DOWNLOADBEGIN, {});
    if (g_bNeverComplete)
        return S_OK;
    if (g_bSynchronous)
        CompleteNavigation();
    else if (m_hWndPump != nullptr)
        ::PostMessageA(m_hWndPump, kMsgComplete, 0, 0);
    return S_OK;
}

void TestWebBrowser::CompleteNavigation()
{
    if (!m_bPending || m_bClosed)
        return;
    KeepAlive keep(static_cast<IWebBrowser2*>(this));
    m_bPending = false;
    NavigateCall call = m_pending;
    ReadDlControl();
    LoadDocument(call.url);
    const std::wstring title = TitleOf(call.url);
    if (m_pendingTravel == 0 || !m_travelLog.Move(m_pendingTravel))
        m_travelLog.Push(call.url, title);
    ShowLocationAsWindowText();
    m_readyState = READYSTATE_INTERACTIVE;
    IDispatch* pSelf = static_cast<IWebBrowser2*>(this);
    FireNavigationEvent(DISPID_NAVIGATECOMPLETE2, pSelf, call.url);
    VARIANT canBack;
    ::VariantInit(&canBack);
    canBack.vt = VT_BOOL;
    canBack.boolVal = m_travelLog.CanGoBack() ? VARIANT_TRUE : VARIANT_FALSE;
    FireEvent(DISPID_COMMANDSTATECHANGE, { LongArg(CSC_NAVIGATEBACK), canBack });
    VARIANT canForward = canBack;
    canForward.boolVal = m_travelLog.CanGoForward() ? VARIANT_TRUE : VARIANT_FALSE;
    FireEvent(DISPID_COMMANDSTATECHANGE, { LongArg(CSC_NAVIGATEFORWARD), canForward });
    ScriptTitleChange(GetTitle().c_str());
    ScriptProgress(100, 100);
    FireEvent(DISPID_DOWNLOADCOMPLETE, {});
    m_readyState = READYSTATE_COMPLETE;
    ScriptStatusText(L"");
    FireFrameDocumentComplete();
    FireNavigationEvent(DISPID_DOCUMENTCOMPLETE, pSelf, call.url);

    std::wstring popup;
    if (!m_bClosed && m_hWndPump != nullptr && QueryValue(call.url, L"va-popup", popup))
    {
        auto* pUrl = new std::wstring(popup);
        if (!::PostMessageA(m_hWndPump, kMsgPopup, 0, reinterpret_cast<LPARAM>(pUrl)))
            delete pUrl;
    }
}

LRESULT CALLBACK TestWebBrowser::PumpProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pThis = reinterpret_cast<TestWebBrowser*>(::GetWindowLongPtrA(hWnd, 0));
    if (nMsg == kMsgComplete)
    {
        if (pThis != nullptr)
            pThis->CompleteNavigation();
        return 0;
    }
    if (nMsg == kMsgPopup)
    {
        auto* pUrl = reinterpret_cast<std::wstring*>(lParam);
        if (pThis != nullptr && pUrl != nullptr)
            pThis->ScriptNewWindow(pUrl->c_str());
        delete pUrl;
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

HRESULT TestWebBrowser::TravelBy(void* pOwner, int offset)
{
    auto* pThis = static_cast<TestWebBrowser*>(pOwner);
    const TestTravelLog::Page* page = pThis->m_travelLog.PageAt(offset);
    if (page == nullptr)
        return E_INVALIDARG;
    NavigateCall call;
    call.url = page->url;
    return pThis->StartNavigation(call, offset);
}

STDMETHODIMP TestWebBrowser::Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                      VARIANT* PostData, VARIANT* Headers)
{
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = URL;
    return Navigate2(&url, Flags, TargetFrameName, PostData, Headers);
}

STDMETHODIMP TestWebBrowser::Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                       VARIANT* PostData, VARIANT* Headers)
{
    if (g_bFaultingNavigate)
        *g_nowhere = 1;
    if (URL == nullptr)
        return E_INVALIDARG;
    NavigateCall call;
    call.url = StringOf(URL);
    call.flags = LongOf(Flags);
    call.targetFrame = StringOf(TargetFrameName);
    call.postData = BytesOf(PostData);
    call.headers = StringOf(Headers);
    m_navigateCalls.push_back(call);
    return StartNavigation(call, 0);
}

STDMETHODIMP TestWebBrowser::GoBack()
{
    return m_travelLog.CanGoBack() ? TravelBy(this, -1) : E_FAIL;
}

STDMETHODIMP TestWebBrowser::GoForward()
{
    return m_travelLog.CanGoForward() ? TravelBy(this, 1) : E_FAIL;
}

STDMETHODIMP TestWebBrowser::GoHome()
{
    NavigateCall call;
    call.url = kHomeUrl;
    return StartNavigation(call, 0);
}

STDMETHODIMP TestWebBrowser::Refresh()
{
    VARIANT level;
    ::VariantInit(&level);
    level.vt = VT_I4;
    level.lVal = REFRESH_NORMAL;
    return Refresh2(&level);
}

STDMETHODIMP TestWebBrowser::Refresh2(VARIANT*)
{
    KeepAlive keep(static_cast<IWebBrowser2*>(this));
    ++m_refreshCount;
    FireEvent(DISPID_DOWNLOADBEGIN, {});
    FireEvent(DISPID_DOWNLOADCOMPLETE, {});
    return S_OK;
}

STDMETHODIMP TestWebBrowser::Stop()
{
    if (m_bPending)
    {
        m_bPending = false;
        m_readyState = READYSTATE_COMPLETE;
        FireEvent(DISPID_DOWNLOADCOMPLETE, {});
    }
    return S_OK;
}

//--- Properties

HRESULT TestWebBrowser::GetPos(LONG* pl, int which) const
{
    if (pl == nullptr)
        return E_POINTER;
    const LONG values[4] = { m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                             m_rect.bottom - m_rect.top };
    *pl = values[which];
    return S_OK;
}

namespace {

bool s_applicationFails = false;

} // namespace

void TestWebBrowser::SetApplicationFails(bool bFails)
{
    s_applicationFails = bFails;
}

STDMETHODIMP TestWebBrowser::get_Application(IDispatch** ppDisp)
{
    if (ppDisp == nullptr)
        return E_POINTER;
    *ppDisp = nullptr;
    if (s_applicationFails)
        return E_FAIL;
    *ppDisp = static_cast<IWebBrowser2*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_Parent(IDispatch** ppDisp)
{
    return get_Application(ppDisp);
}

STDMETHODIMP TestWebBrowser::get_Container(IDispatch** ppDisp)
{
    if (ppDisp == nullptr)
        return E_POINTER;
    *ppDisp = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestWebBrowser::ExecWB(OLECMDID cmdID, OLECMDEXECOPT, VARIANT* pvaIn, VARIANT* pvaOut)
{
    if (cmdID != OLECMDID_ZOOM)
        return E_NOTIMPL;
    if (pvaIn != nullptr && pvaIn->vt == VT_I4) {
        if (pvaIn->lVal < 0 || pvaIn->lVal > 4)
            return E_INVALIDARG;
        m_zoom = pvaIn->lVal;
    }
    if (pvaOut != nullptr) {
        VariantInit(pvaOut);
        pvaOut->vt = VT_I4;
        pvaOut->lVal = m_zoom;
    }
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_TopLevelContainer(VARIANT_BOOL* pBool)
{
    if (pBool == nullptr)
        return E_POINTER;
    *pBool = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_Type(BSTR* Type)
{
    if (Type == nullptr)
        return E_POINTER;
    *Type = ::SysAllocString(L"HTML Document");
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_LocationName(BSTR* LocationName)
{
    if (LocationName == nullptr)
        return E_POINTER;
    *LocationName = MakeBstr(GetTitle());
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_LocationURL(BSTR* LocationURL)
{
    if (LocationURL == nullptr)
        return E_POINTER;
    *LocationURL = MakeBstr(GetLocationUrl());
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_Busy(VARIANT_BOOL* pBool)
{
    if (pBool == nullptr)
        return E_POINTER;
    *pBool = (m_bPending || m_bForcedBusy) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_Name(BSTR* Name)
{
    if (Name == nullptr)
        return E_POINTER;
    *Name = ::SysAllocString(L"Test WebBrowser");
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_HWND(SHANDLE_PTR* pHWND)
{
    if (pHWND == nullptr)
        return E_POINTER;
    *pHWND = 0;
    return E_FAIL;  // a control has no top-level window of its own
}

STDMETHODIMP TestWebBrowser::get_Visible(VARIANT_BOOL* pBool)
{
    if (pBool == nullptr)
        return E_POINTER;
    *pBool = (m_hWnd != nullptr && ::IsWindowVisible(m_hWnd)) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_ReadyState(READYSTATE* plReadyState)
{
    if (plReadyState == nullptr)
        return E_POINTER;
    *plReadyState = m_readyState;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::get_RegisterAsBrowser(VARIANT_BOOL* pbRegister)
{
    if (pbRegister == nullptr)
        return E_POINTER;
    *pbRegister = m_bRegisterAsBrowser ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP TestWebBrowser::put_RegisterAsBrowser(VARIANT_BOOL bRegister)
{
    m_bRegisterAsBrowser = bRegister != VARIANT_FALSE;
    return S_OK;
}
