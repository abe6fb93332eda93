// Hosting the test WebBrowser control in real windows: creation at a
// rectangle with an id, events through the parent's sink map, ambient
// properties, the replaceable site factory and teardown.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/dialog/Dialog.h"
#include "framework/ole/OccManager.h"
#include "framework/ole/OleControlContainer.h"
#include "framework/ole/OleControlSite.h"
#include "framework/ole/OleControlWnd.h"
#include "framework/ole/OleUtil.h"
#include "tests/support/TestWebBrowser.h"
#include "OleHostingTestsRes.h"

namespace {

const UINT kBrowserId = 0xE900;

class HostWnd : public CWnd, public COleEventHandler
{
public:
    std::vector<CString> beforeUrls;
    std::vector<CString> completeUrls;
    CString title;
    BOOL cancelNext = FALSE;
    IDispatch* newWindowAnswer = nullptr;
    BOOL cancelNewWindow = FALSE;

    BOOL Make()
    {
        return CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                        0, 0, 400, 300, nullptr, nullptr);
    }
    void OnBeforeNavigate2(VaEventArgs& args)
    {
        beforeUrls.push_back(args.GetString(1));
        if (cancelNext && args.GetBoolRef(6) != nullptr)
            *args.GetBoolRef(6) = VARIANT_TRUE;
    }
    BOOL destroyOnComplete = FALSE;
    void OnDocumentComplete(VaEventArgs& args)
    {
        completeUrls.push_back(args.GetString(1));
        if (destroyOnComplete)
            DestroyWindow();  // as a pop-up tab closes at its first page
    }
    void OnTitleChange(VaEventArgs& args) { title = args.GetString(0); }
    void OnNewWindow2(VaEventArgs& args)
    {
        if (cancelNewWindow)
        {
            *args.GetBoolRef(1) = VARIANT_TRUE;
            return;
        }
        IDispatch** ppDisp = args.GetDispatchRef(0);
        if (ppDisp != nullptr && newWindowAnswer != nullptr)
        {
            newWindowAnswer->AddRef();
            *ppDisp = newWindowAnswer;
        }
    }
    // What the window still sees of its control while it is destroyed.
    COleControlWnd* pWatched = nullptr;
    std::wstring urlAtDestroy;
    void OnDestroy()
    {
        if (pWatched != nullptr && pWatched->GetControlUnknown() != nullptr)
            urlAtDestroy = TestWebBrowser::FromUnknown(pWatched->GetControlUnknown())->GetLocationUrl();
        Default();
    }
    DECLARE_EVENTSINK_MAP()
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HostWnd, CWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(HostWnd, COleEventHandler)
    ON_EVENT(HostWnd, kBrowserId, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2)
    ON_EVENT(HostWnd, kBrowserId, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete)
    ON_EVENT(HostWnd, kBrowserId, DISPID_TITLECHANGE, OnTitleChange)
    ON_EVENT(HostWnd, kBrowserId, DISPID_NEWWINDOW2, OnNewWindow2)
END_EVENTSINK_MAP()

class OleHosting : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_registration.IsRegistered());
        TestWebBrowser::SetSynchronous(true);
        ASSERT_TRUE(m_host.Make());
    }
    void TearDown() override
    {
        if (m_host.m_hWnd != nullptr)
            m_host.DestroyWindow();
        TestWebBrowser::SetSynchronous(false);
        AfxEnableControlContainer(nullptr);
    }
    BOOL CreateBrowser(COleControlWnd& wnd, const RECT& rect = { 10, 20, 210, 170 })
    {
        return wnd.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD | WS_VISIBLE, rect, &m_host,
                                 kBrowserId, DIID_DWebBrowserEvents2);
    }
    static CComPtr<IWebBrowser2> BrowserOf(COleControlWnd& wnd)
    {
        CComPtr<IWebBrowser2> browser;
        if (wnd.GetControlUnknown() != nullptr)
            wnd.GetControlUnknown()->QueryInterface(IID_IWebBrowser2,
                                                    reinterpret_cast<void**>(&browser));
        return browser;
    }
    static void Navigate(IWebBrowser2* pBrowser, LPCWSTR url)
    {
        CVariant v;
        v.SetWideString(url);
        pBrowser->Navigate2(&v, nullptr, nullptr, nullptr, nullptr);
    }

    TestWebBrowserRegistration m_registration;
    HostWnd m_host;
};

TEST_F(OleHosting, ControlWindowTakesTheRectangleIdAndParent)
{
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    ASSERT_NE(nullptr, wnd.m_hWnd);
    EXPECT_EQ(m_host.m_hWnd, ::GetParent(wnd.m_hWnd));
    EXPECT_EQ(static_cast<int>(kBrowserId), ::GetDlgCtrlID(wnd.m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(wnd.m_hWnd));
    RECT rc;
    ::GetWindowRect(wnd.m_hWnd, &rc);
    ::MapWindowPoints(nullptr, m_host.m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
    EXPECT_EQ(10, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_EQ(210, rc.right);
    EXPECT_EQ(170, rc.bottom);
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    EXPECT_NE(nullptr, BrowserOf(wnd).Get());
}

TEST_F(OleHosting, ContainerListsItsControlsAndIsTheInPlaceFrame)
{
    COleControlWnd first, second;
    ASSERT_TRUE(CreateBrowser(first));
    ASSERT_TRUE(second.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD, { 0, 0, 5, 5 }, &m_host,
                                     kBrowserId + 1, DIID_DWebBrowserEvents2));
    CComPtr<IOleContainer> container;
    ASSERT_EQ(S_OK, first.GetControlSite()->GetContainer(&container));
    CComPtr<IEnumUnknown> objects;
    ASSERT_EQ(S_OK, container->EnumObjects(OLECONTF_EMBEDDINGS, &objects));
    IUnknown* items[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, objects->Next(3, items, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(first.GetControlUnknown(), items[0]);
    EXPECT_EQ(second.GetControlUnknown(), items[1]);
    for (ULONG i = 0; i < fetched; ++i)
        items[i]->Release();

    CComPtr<IOleInPlaceFrame> frame;
    CComPtr<IOleInPlaceUIWindow> doc;
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    ASSERT_EQ(S_OK, first.GetControlSite()->GetWindowContext(&frame, &doc, &pos, &clip, &info));
    HWND hFrame = nullptr;
    frame->GetWindow(&hFrame);
    EXPECT_EQ(m_host.m_hWnd, hFrame);
    EXPECT_EQ(m_host.m_hWnd, info.hwndFrame);
    EXPECT_EQ(20, pos.top);
}

TEST_F(OleHosting, MovingTheWindowMovesTheControlThroughItsInPlaceObject)
{
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    wnd.MoveWindow(5, 6, 100, 50);
    const RECT& siteRect = wnd.GetControlSite()->GetRect();
    EXPECT_EQ(5, siteRect.left);
    EXPECT_EQ(56, siteRect.bottom);
    LONG width = 0, height = 0;
    BrowserOf(wnd)->get_Width(&width);
    BrowserOf(wnd)->get_Height(&height);
    EXPECT_EQ(100, width);
    EXPECT_EQ(50, height);
}

TEST_F(OleHosting, EventsReachTheParentsSinkMapAndCancelIsHonoured)
{
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    EXPECT_TRUE(wnd.GetControlSite()->IsEventSinkConnected());
    CComPtr<IWebBrowser2> browser = BrowserOf(wnd);
    Navigate(browser, L"http://a.test/?va-title=%E8%A1%A8%E7%A4%BA");
    ASSERT_EQ(1u, m_host.beforeUrls.size());
    EXPECT_STREQ("http://a.test/?va-title=%E8%A1%A8%E7%A4%BA", (LPCSTR)m_host.beforeUrls[0]);
    ASSERT_EQ(1u, m_host.completeUrls.size());
    EXPECT_STREQ("\x95\x5C\x8E\xA6", (LPCSTR)m_host.title);  // "表示" in cp932

    m_host.cancelNext = TRUE;
    Navigate(browser, L"http://b.test/");
    EXPECT_EQ(2u, m_host.beforeUrls.size());
    EXPECT_EQ(1u, m_host.completeUrls.size());
    EXPECT_EQ(std::wstring(L"http://a.test/?va-title=%E8%A1%A8%E7%A4%BA"),
              TestWebBrowser::FromUnknown(browser)->GetLocationUrl());
}

TEST_F(OleHosting, HandlerMayCloseTheControlInsideItsOwnEvent)
{
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    CComPtr<IWebBrowser2> browser = BrowserOf(wnd);
    TestWebBrowser* pControl = TestWebBrowser::FromUnknown(browser);
    m_host.destroyOnComplete = TRUE;
    Navigate(browser, L"http://closing.test/");
    EXPECT_EQ(nullptr, m_host.m_hWnd);
    EXPECT_TRUE(pControl->IsClosed());
    EXPECT_EQ(0, pControl->GetConnectionCount());
    // Later events of the closed control reach nobody.
    pControl->ScriptTitleChange(L"late");
    EXPECT_STREQ("http://closing.test/", (LPCSTR)m_host.title);
}

TEST_F(OleHosting, NewWindowRequestGetsTheControlTheHostReturns)
{
    COleControlWnd opener, target;
    ASSERT_TRUE(CreateBrowser(opener));
    ASSERT_TRUE(target.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD, { 0, 0, 50, 50 },
                                     &m_host, kBrowserId + 1, DIID_DWebBrowserEvents2));
    CComPtr<IDispatch> app;
    BrowserOf(target)->get_Application(&app);
    m_host.newWindowAnswer = app;
    TestWebBrowser* pOpener = TestWebBrowser::FromUnknown(opener.GetControlUnknown());
    TestWebBrowser::NewWindowResult result = pOpener->ScriptNewWindow(L"http://popup.test/");
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(TestWebBrowser::FromUnknown(target.GetControlUnknown()), result.pNewBrowser);
    EXPECT_EQ(std::wstring(L"http://popup.test/"), result.pNewBrowser->GetLocationUrl());

    // A page that opens a window when it has loaded.
    Navigate(BrowserOf(opener), L"http://opener.test/?va-popup=http%3A%2F%2Fsecond.test%2F");
    EXPECT_TRUE(TestWebBrowser::Settle());
    EXPECT_EQ(std::wstring(L"http://second.test/"), result.pNewBrowser->GetLocationUrl());

    m_host.cancelNewWindow = TRUE;
    EXPECT_TRUE(pOpener->ScriptNewWindow(L"http://other.test/").cancelled);
}

TEST_F(OleHosting, AmbientDefaultsUnknownPropertiesAndThePerSiteDownloadControl)
{
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    COleControlSite* pSite = wnd.GetControlSite();
    IDispatch* pAmbient = static_cast<IDispatch*>(pSite);
    DISPPARAMS none = { nullptr, nullptr, 0, 0 };
    CVariant v;
    ASSERT_EQ(S_OK, pAmbient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET,
                                     &none, &v, nullptr, nullptr));
    EXPECT_EQ(VT_BOOL, v.vt);
    EXPECT_EQ(VARIANT_TRUE, v.boolVal);
    v.Clear();
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, pAmbient->Invoke(-7777, IID_NULL, 0, DISPATCH_PROPERTYGET,
                                                      &none, &v, nullptr, nullptr));
    // Without an answer of its own the site does not know the property.
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              pAmbient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET,
                               &none, &v, nullptr, nullptr));

    TestWebBrowser* pControl = TestWebBrowser::FromUnknown(wnd.GetControlUnknown());
    pSite->SetAmbientDlControl(0x71);
    EXPECT_EQ(S_OK, pSite->NotifyAmbientChange(DISPID_AMBIENT_DLCONTROL));
    EXPECT_EQ(0x71, pControl->GetDlControl());
    pSite->SetAmbientDlControl(0x780);
    pSite->NotifyAmbientChange(DISPID_AMBIENT_DLCONTROL);
    EXPECT_EQ(0x780, pControl->GetDlControl());
}

// A program's own site class, handed out by its own manager.
class ExtraSite : public COleControlSite
{
public:
    using COleControlSite::COleControlSite;
    static int s_made;

protected:
    HRESULT QueryExtraInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IOleCommandTarget)
            return COleControlSite::QueryExtraInterface(riid, ppv);
        *ppv = reinterpret_cast<void*>(0x1);  // must not leak out on failure
        return E_NOINTERFACE;
    }
};
int ExtraSite::s_made = 0;

class ExtraManager : public COccManager
{
public:
    COleControlSite* CreateSite(COleControlContainer* pCtrlCont) override
    {
        ++ExtraSite::s_made;
        return new ExtraSite(pCtrlCont);
    }
};

TEST_F(OleHosting, InstalledManagerMakesTheSitesAndFailedLookupsNullThePointer)
{
    ExtraManager manager;
    AfxEnableControlContainer(&manager);
    ExtraSite::s_made = 0;
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    EXPECT_EQ(1, ExtraSite::s_made);
    ASSERT_NE(nullptr, dynamic_cast<ExtraSite*>(wnd.GetControlSite()));
    void* p = reinterpret_cast<void*>(0x2);
    EXPECT_EQ(E_NOINTERFACE,
              static_cast<IOleClientSite*>(wnd.GetControlSite())->QueryInterface(IID_IOleCommandTarget, &p));
    EXPECT_EQ(nullptr, p);
    p = reinterpret_cast<void*>(0x2);
    EXPECT_EQ(E_NOINTERFACE,
              static_cast<IOleClientSite*>(wnd.GetControlSite())->QueryInterface(IID_IDocHostShowUI, &p));
    EXPECT_EQ(nullptr, p);
}

TEST_F(OleHosting, DestroyingTheParentClosesTheControlAndDisconnectsItsSink)
{
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    CComPtr<IWebBrowser2> browser = BrowserOf(wnd);
    TestWebBrowser* pControl = TestWebBrowser::FromUnknown(browser);
    EXPECT_EQ(1, pControl->GetConnectionCount());
    EXPECT_NE(nullptr, COleControlContainer::FromWindow(m_host.m_hWnd, FALSE));

    m_host.DestroyWindow();
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, wnd.GetControlSite());
    EXPECT_TRUE(pControl->IsClosed());
    // Closed while its window was intact, as controls expect.
    EXPECT_FALSE(pControl->WasWindowLostWhileActive());
    EXPECT_EQ(0, pControl->GetConnectionCount());
    EXPECT_EQ(nullptr, pControl->GetClientSite());
    EXPECT_EQ(nullptr, COleControlContainer::FromWindow(m_host.m_hWnd, FALSE));
}

// A view saves its tab's history from the control in its own WM_DESTROY:
// the control must still be there then.
TEST_F(OleHosting, ContainerStillReachesItsControlWhileItIsDestroyed)
{
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    Navigate(BrowserOf(wnd), L"http://kept.test/");
    m_host.pWatched = &wnd;
    m_host.DestroyWindow();
    EXPECT_EQ(std::wstring(L"http://kept.test/"), m_host.urlAtDestroy);
}

TEST_F(OleHosting, DestroyingTheControlWindowAloneFreesItsSite)
{
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    COleControlWnd other;
    ASSERT_TRUE(other.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD, { 0, 0, 5, 5 }, &m_host,
                                    7, DIID_DWebBrowserEvents2));
    COleControlContainer* pCont = COleControlContainer::FromWindow(m_host.m_hWnd, FALSE);
    ASSERT_NE(nullptr, pCont);
    EXPECT_EQ(2u, pCont->GetSiteCount());
    TestWebBrowser* pControl = TestWebBrowser::FromUnknown(wnd.GetControlUnknown());
    pControl->AddRef();
    wnd.DestroyWindow();
    EXPECT_TRUE(pControl->IsClosed());
    EXPECT_FALSE(pControl->WasWindowLostWhileActive());
    pControl->Release();
    EXPECT_EQ(1u, pCont->GetSiteCount());
    EXPECT_EQ(nullptr, pCont->FindSite(kBrowserId));
    EXPECT_NE(nullptr, pCont->FindSite(7));
}

// The site's answer to the user-mode ambient property.
HRESULT AskUserMode(COleControlSite* pSite, VARIANT* pValue)
{
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return static_cast<IDispatch*>(pSite)->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET,
                                                  &none, pValue, nullptr, nullptr);
}

// A site and a container that count their deletions, and a site whose
// ambient answer throws.
class CountedSite : public COleControlSite
{
public:
    using COleControlSite::COleControlSite;
    static int s_deleted;
    BOOL throwOnAmbient = FALSE;
    BOOL GetAmbientProperty(DISPID dispid, VARIANT* pvar) override
    {
        if (throwOnAmbient)
            throw std::runtime_error("ambient");
        return COleControlSite::GetAmbientProperty(dispid, pvar);
    }

protected:
    ~CountedSite() override { ++s_deleted; }
};
int CountedSite::s_deleted = 0;

class CountedContainer : public COleControlContainer
{
public:
    using COleControlContainer::COleControlContainer;
    static int s_deleted;

protected:
    ~CountedContainer() override { ++s_deleted; }
};
int CountedContainer::s_deleted = 0;

class CountingManager : public COccManager
{
public:
    COleControlContainer* CreateContainer(HWND hWnd) override { return new CountedContainer(hWnd); }
    COleControlSite* CreateSite(COleControlContainer* pCtrlCont) override { return new CountedSite(pCtrlCont); }
};

// Regression: the owners deleted the site and the container while the
// control (or what it handed them to) still held references.
TEST_F(OleHosting, SiteAndContainerHeldPastTheirWindowFailCleanlyAndGoOnTheirLastRelease)
{
    CountingManager manager;
    AfxEnableControlContainer(&manager);
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    COleControlSite* pSite = wnd.GetControlSite();
    ASSERT_NE(nullptr, pSite);
    IOleClientSite* pClient = static_cast<IOleClientSite*>(pSite);
    pClient->AddRef();
    IOleContainer* pContainer = nullptr;
    ASSERT_EQ(S_OK, pClient->GetContainer(&pContainer));
    IOleInPlaceSite* pInPlace = nullptr;
    ASSERT_EQ(S_OK, pClient->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&pInPlace)));
    CountedSite::s_deleted = 0;
    CountedContainer::s_deleted = 0;

    m_host.DestroyWindow();
    EXPECT_EQ(0, CountedSite::s_deleted);
    EXPECT_EQ(0, CountedContainer::s_deleted);
    // Detached: every method fails cleanly.
    IOleInPlaceFrame* pFrame = reinterpret_cast<IOleInPlaceFrame*>(0x1);
    IOleInPlaceUIWindow* pDoc = reinterpret_cast<IOleInPlaceUIWindow*>(0x1);
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    EXPECT_EQ(E_UNEXPECTED, pInPlace->GetWindowContext(&pFrame, &pDoc, &pos, &clip, &info));
    EXPECT_EQ(nullptr, pFrame);
    EXPECT_EQ(nullptr, pDoc);
    HWND hWnd = reinterpret_cast<HWND>(0x1);
    EXPECT_TRUE(FAILED(pInPlace->GetWindow(&hWnd)));
    IOleContainer* pAgain = reinterpret_cast<IOleContainer*>(0x1);
    EXPECT_TRUE(FAILED(pClient->GetContainer(&pAgain)));
    EXPECT_EQ(nullptr, pAgain);
    VARIANT value;
    ::VariantInit(&value);
    EXPECT_EQ(E_UNEXPECTED, AskUserMode(pSite, &value));
    IEnumUnknown* pEnum = nullptr;
    ASSERT_EQ(S_OK, pContainer->EnumObjects(OLECONTF_EMBEDDINGS, &pEnum));
    IUnknown* pItem = nullptr;
    EXPECT_EQ(S_FALSE, pEnum->Next(1, &pItem, nullptr));
    pEnum->Release();
    IOleInPlaceFrame* pContFrame = nullptr;
    ASSERT_EQ(S_OK, pContainer->QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(&pContFrame)));
    EXPECT_TRUE(FAILED(pContFrame->GetWindow(&hWnd)));
    pContFrame->Release();

    pInPlace->Release();
    EXPECT_EQ(0, CountedSite::s_deleted);
    pClient->Release();
    EXPECT_EQ(1, CountedSite::s_deleted);
    EXPECT_EQ(0, CountedContainer::s_deleted);
    pContainer->Release();
    EXPECT_EQ(1, CountedContainer::s_deleted);
}

TEST_F(OleHosting, ExceptionOfAnAmbientAnswerStopsAtTheSite)
{
    CountingManager manager;
    AfxEnableControlContainer(&manager);
    COleControlWnd wnd;
    ASSERT_TRUE(CreateBrowser(wnd));
    CountedSite* pSite = dynamic_cast<CountedSite*>(wnd.GetControlSite());
    ASSERT_NE(nullptr, pSite);
    pSite->throwOnAmbient = TRUE;
    VARIANT value;
    ::VariantInit(&value);
    EXPECT_EQ(E_UNEXPECTED, AskUserMode(pSite, &value));
    EXPECT_EQ(VT_EMPTY, value.vt);
    pSite->throwOnAmbient = FALSE;
}

TEST_F(OleHosting, UnknownClassFailsCleanly)
{
    const CLSID kNoSuchClass =
        { 0x12345678, 0x1111, 0x2222, { 0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66 } };
    COleControlWnd wnd;
    EXPECT_FALSE(wnd.CreateControl(kNoSuchClass, nullptr, WS_CHILD, { 0, 0, 5, 5 }, &m_host, 9));
    EXPECT_TRUE(FAILED(wnd.GetCreateResult()));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, COleControlContainer::FromWindow(m_host.m_hWnd, FALSE));
}

// An in-memory dialog template: one "Static" placeholder naming the
// WebBrowser by class id, and one ordinary static text.
std::vector<WORD> PlaceholderTemplate()
{
    std::vector<WORD> t;
    auto dword = [&t](DWORD d) { t.push_back(LOWORD(d)); t.push_back(HIWORD(d)); };
    auto text = [&t](const wchar_t* s) { do { t.push_back(static_cast<WORD>(*s)); } while (*s++); };
    auto align = [&t]() { if (t.size() % 2) t.push_back(0); };
    dword(WS_POPUP | WS_VISIBLE | DS_SETFONT);
    dword(0);
    t.push_back(2);                       // items
    t.push_back(0); t.push_back(0); t.push_back(200); t.push_back(150);
    t.push_back(0); t.push_back(0);       // no menu, default class
    text(L"dlg");
    t.push_back(9);
    text(L"MS Shell Dlg");
    const struct { const wchar_t* text; WORD id; WORD x; } items[] = {
        { L"{8856F961-340A-11D0-A96B-00C04FD705A2}", 1001, 10 },
        { L"plain", 1002, 120 },
    };
    for (const auto& item : items)
    {
        align();
        dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
        dword(0);
        t.push_back(item.x); t.push_back(10); t.push_back(100); t.push_back(80);
        t.push_back(item.id);
        t.push_back(0xFFFF); t.push_back(0x0082);  // the Static class
        text(item.text);
        t.push_back(0);
    }
    return t;
}

INT_PTR CALLBACK PlainDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

TEST_F(OleHosting, TemplatePlaceholderBecomesTheControlAtItsRectangleAndId)
{
    std::vector<WORD> tmpl = PlaceholderTemplate();
    HWND hDlg = ::CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                            nullptr, PlainDlgProc, 0);
    ASSERT_NE(nullptr, hDlg);
    RECT placeholder;
    ::GetWindowRect(::GetDlgItem(hDlg, 1001), &placeholder);

    EXPECT_EQ(1, AfxCreateTemplateControls(hDlg));
    HWND hCtrl = ::GetDlgItem(hDlg, 1001);
    ASSERT_NE(nullptr, hCtrl);
    char cls[64] = {};
    ::GetClassNameA(hCtrl, cls, sizeof(cls));
    EXPECT_STREQ("VaTestWebBrowser", cls);
    RECT rc;
    ::GetWindowRect(hCtrl, &rc);
    EXPECT_TRUE(::EqualRect(&rc, &placeholder));
    EXPECT_NE(0, ::GetWindowLongPtrA(hCtrl, GWL_STYLE) & WS_TABSTOP);
    ::GetClassNameA(::GetDlgItem(hDlg, 1002), cls, sizeof(cls));
    EXPECT_STREQ("Static", cls);

    ::DestroyWindow(hDlg);  // the auto-deleting window object goes with it
    EXPECT_EQ(nullptr, COleControlContainer::FromWindow(hDlg, FALSE));
}

class BrowserDialog : public CDialog
{
public:
    BrowserDialog() : CDialog(IDD_OLEHOSTTEST) {}
    BOOL OnInitDialog() override
    {
        HWND hCtrl = ::GetDlgItem(m_hWnd, IDC_OLEHOSTTEST_WEB);
        ::GetClassNameA(hCtrl, classAtInit, sizeof(classAtInit));
        return TRUE;
    }
    char classAtInit[64] = {};
};

TEST_F(OleHosting, DialogTemplateControlsExistWhenTheDialogInitialises)
{
    BrowserDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_OLEHOSTTEST, nullptr));
    EXPECT_STREQ("VaTestWebBrowser", dlg.classAtInit);
    HWND hCtrl = ::GetDlgItem(dlg.m_hWnd, IDC_OLEHOSTTEST_WEB);
    EXPECT_NE(nullptr, COleControlContainer::FromWindow(dlg.m_hWnd, FALSE)->FindSiteByWindow(hCtrl));
    dlg.DestroyWindow();
}

} // namespace
