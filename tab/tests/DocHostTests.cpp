// The document host through a real control site: host interfaces forwarded
// to the owner, the per-tab download-control ambient, script errors and the
// engine's messages.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/ole/OleControlWnd.h"
#include "framework/ole/OleUtil.h"
#include "tab/BrowserControlSite.h"
#include "tab/DocHostHandler.h"
#include "tab/AmbientDispatch.h"
#include "tests/support/TestWebBrowser.h"

namespace {

const UINT kBrowserId = 0xE900;

class TestHost : public CDocHostHandler
{
public:
    Options options;
    IDispatch* external = nullptr;
    CString status;
    POINT menuPoint = { -1, -1 };
    DWORD menuId = 0xFFFF;
    int boxes = 0;
    CString boxText, boxCaption;
    UINT boxType = 0;

protected:
    Options GetHostOptions() override { return options; }
    IDispatch* GetExternalObject() override { return external; }
    void SetStatusText(LPCSTR pszText) override { status = pszText; }
    CString GetEtcText(int line) override
    {
        CString s;
        s.Format("etc line %d", line);
        return s;
    }
    void RememberContextMenu(POINT pt, DWORD dwID) override
    {
        menuPoint = pt;
        menuId = dwID;
    }
    // The test program's own strings stand in for the engine's.
    CString GetEngineMessageModule() override
    {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        return CString(path);
    }
    int ShowMessageBox(HWND, LPCSTR pszText, LPCSTR pszCaption, UINT uType) override
    {
        ++boxes;
        boxText = pszText;
        boxCaption = pszCaption;
        boxType = uType;
        return IDYES;
    }
};

class DocHost : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_registration.IsRegistered());
        AfxEnableControlContainer(&m_manager);
        TestWebBrowser::SetSynchronous(true);
        m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_wnd.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD | WS_VISIBLE,
                                        { 0, 0, 300, 200 }, m_hWnd, kBrowserId,
                                        DIID_DWebBrowserEvents2));
        m_pSite = dynamic_cast<CBrowserControlSite*>(m_wnd.GetControlSite());
        ASSERT_NE(nullptr, m_pSite);
        m_pControl = TestWebBrowser::FromUnknown(m_wnd.GetControlUnknown());
    }
    void TearDown() override
    {
        ::DestroyWindow(m_hWnd);
        TestWebBrowser::SetSynchronous(false);
        AfxEnableControlContainer(nullptr);
    }
    template <class I>
    CComPtr<I> SiteAs(REFIID iid)
    {
        CComPtr<I> p;
        static_cast<IOleClientSite*>(m_pSite)->QueryInterface(iid, reinterpret_cast<void**>(&p));
        return p;
    }
    HRESULT AskDlControl(VARIANT* pResult)
    {
        DISPPARAMS none = { nullptr, nullptr, 0, 0 };
        return SiteAs<IDispatch>(IID_IDispatch)->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0,
                                                        DISPATCH_PROPERTYGET, &none, pResult,
                                                        nullptr, nullptr);
    }

    TestWebBrowserRegistration m_registration;
    CBrowserOccManager m_manager;
    HWND m_hWnd = nullptr;
    COleControlWnd m_wnd;
    CBrowserControlSite* m_pSite = nullptr;
    TestWebBrowser* m_pControl = nullptr;
    TestHost m_host;
    CAmbientDispatch m_ambient;
};

TEST_F(DocHost, SiteHandsOutTheHostInterfacesAndAnswersNotImplementedWithoutAnOwner)
{
    CComPtr<IDocHostUIHandler> ui = SiteAs<IDocHostUIHandler>(IID_IDocHostUIHandler);
    CComPtr<IOleCommandTarget> target = SiteAs<IOleCommandTarget>(IID_IOleCommandTarget);
    CComPtr<IDocHostShowUI> showUI = SiteAs<IDocHostShowUI>(IID_IDocHostShowUI);
    ASSERT_NE(nullptr, ui.Get());
    ASSERT_NE(nullptr, target.Get());
    ASSERT_NE(nullptr, showUI.Get());
    // One identity: every interface leads back to the same site.
    CComPtr<IOleClientSite> back;
    ui->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&back));
    EXPECT_EQ(static_cast<IOleClientSite*>(m_pSite), back.Get());

    DOCHOSTUIINFO info = {};
    info.cbSize = sizeof(info);
    EXPECT_EQ(E_NOTIMPL, ui->GetHostInfo(&info));
    IDispatch* pExternal = reinterpret_cast<IDispatch*>(0x1);
    EXPECT_EQ(E_NOTIMPL, ui->GetExternal(&pExternal));
    EXPECT_EQ(nullptr, pExternal);
    EXPECT_EQ(E_NOTIMPL, target->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0,
                                      nullptr, nullptr));
    VARIANT v;
    ::VariantInit(&v);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, AskDlControl(&v));
}

TEST_F(DocHost, HostInfoGivesTheOwnersFlagsWithoutA3DBorder)
{
    m_host.m_dwHostFlags = kTabHostFlags;
    m_host.m_dwDoubleClick = DOCHOSTUIDBLCLK_SHOWCODE;
    ASSERT_TRUE(m_host.AttachToSite(m_pSite, &m_ambient));
    CComPtr<IDocHostUIHandler> ui = SiteAs<IDocHostUIHandler>(IID_IDocHostUIHandler);
    DOCHOSTUIINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_EQ(S_OK, ui->GetHostInfo(&info));
    EXPECT_EQ(12u, info.cbSize);
    EXPECT_EQ(kTabHostFlags | DOCHOSTUIFLAG_NO3DBORDER, info.dwFlags);
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIDBLCLK_SHOWCODE), info.dwDoubleClick);
    EXPECT_EQ(E_POINTER, ui->GetHostInfo(nullptr));
}

TEST_F(DocHost, DownloadControlAmbientIsTheHostsOwnWordWhileOnAndTheDefaultWhileOff)
{
    ASSERT_TRUE(m_host.AttachToSite(m_pSite, &m_ambient));
    // Before the host switches it on the object declines, and the site
    // falls back to the standard answer.
    VARIANT v;
    ::VariantInit(&v);
    EXPECT_EQ(S_FALSE, m_ambient.GetAmbient(&v));
    EXPECT_EQ(VT_EMPTY, v.vt);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, AskDlControl(&v));

    m_ambient.SetOff(false);
    ASSERT_EQ(S_OK, AskDlControl(&v));
    EXPECT_EQ(VT_I4, v.vt);
    EXPECT_EQ(0x71, v.lVal);

    // Without a held control the word is only stored.
    m_ambient.SetDownloadControl(0x40);
    EXPECT_NE(0x40, m_pControl->GetDlControl());
    // A held control reads a changed word at once.
    m_ambient.SetControl(m_wnd.GetControlUnknown());
    m_ambient.SetDownloadControl(0x780);
    EXPECT_EQ(0x780, m_pControl->GetDlControl());
    DWORD flags = 0;
    EXPECT_EQ(S_OK, m_ambient.GetDownloadControl(&flags));
    EXPECT_EQ(0x780u, flags);
    // And every navigation reads the word again.
    m_ambient.SetControl(nullptr);
    m_ambient.SetDownloadControl(0x10);
    CVariant url;
    url.SetWideString(L"http://dl.test/");
    CComPtr<IWebBrowser2> browser;
    m_wnd.GetControlUnknown()->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    browser->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(0x10, m_pControl->GetDlControl());
}

TEST_F(DocHost, ScriptErrorIsSuppressedWithTheStatusTextUnlessShownByTheControl)
{
    ASSERT_TRUE(m_host.AttachToSite(m_pSite, &m_ambient));
    CComPtr<IOleCommandTarget> target = SiteAs<IOleCommandTarget>(IID_IOleCommandTarget);
    const GUID kOtherGroup = IID_IUnknown;
    EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, target->Exec(nullptr, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
    EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, target->Exec(&kOtherGroup, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr));
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, target->Exec(&CGID_DocHostCommandHandler, 41, 0, nullptr, nullptr));
    EXPECT_EQ(E_FAIL, target->QueryStatus(&CGID_DocHostCommandHandler, 0, nullptr, nullptr));

    VARIANT out;
    ::VariantInit(&out);
    ASSERT_EQ(S_OK, target->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out));
    EXPECT_EQ(VT_BOOL, out.vt);
    EXPECT_EQ(VARIANT_TRUE, out.boolVal);
    EXPECT_STREQ("etc line 74", (LPCSTR)m_host.status);

    m_host.options.bShowScriptErr = true;
    EXPECT_EQ(E_NOTIMPL, target->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out));
}

TEST_F(DocHost, ScriptErrorWithoutAnOutVariantIsSuppressedSafely)
{
    ASSERT_TRUE(m_host.AttachToSite(m_pSite, &m_ambient));
    CComPtr<IOleCommandTarget> target = SiteAs<IOleCommandTarget>(IID_IOleCommandTarget);
    EXPECT_EQ(S_OK, target->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0,
                                 nullptr, nullptr));
    EXPECT_STREQ("etc line 74", (LPCSTR)m_host.status);
}

TEST(DocHostHandler, OwnQueryInterfaceAnswersNoInterfaceAndNullsThePointer)
{
    TestHost host;
    for (REFIID iid : { IID_IUnknown, IID_IDocHostUIHandler, IID_IDispatch })
    {
        void* p = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(E_NOINTERFACE, host.QueryInterface(iid, &p));
        EXPECT_EQ(nullptr, p);
        p = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(E_NOINTERFACE, host.GetCommandTarget()->QueryInterface(iid, &p));
        EXPECT_EQ(nullptr, p);
        p = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(E_NOINTERFACE, host.GetShowUI()->QueryInterface(iid, &p));
        EXPECT_EQ(nullptr, p);
    }
    EXPECT_EQ(1u, host.AddRef());
    EXPECT_EQ(0u, host.Release());
}

TEST(DocHostHandler, EngineWarningsGoToTheStatusBarWhenSwitchedOff)
{
    TestHost host;
    host.options.bShowActiveXErrMsg = false;
    host.options.bShowRefreshMsg = false;
    IDocHostShowUI* pShowUI = host.GetShowUI();
    LRESULT result = 0;
    wchar_t activeX[] = L"An ActiveX control on this page is not safe.";
    wchar_t caption[] = L"Page";
    EXPECT_EQ(S_OK, pShowUI->ShowMessage(nullptr, activeX, caption, MB_OK, nullptr, 0, &result));
    EXPECT_STREQ("An ActiveX control on this page is not safe.", (LPCSTR)host.status);
    EXPECT_EQ(0, host.boxes);

    wchar_t refresh[] = L"This page must send the form again.";
    host.status.Empty();
    EXPECT_EQ(S_OK, pShowUI->ShowMessage(nullptr, refresh, caption, MB_OK, nullptr, 0, &result));
    EXPECT_STREQ("This page must send the form again.", (LPCSTR)host.status);

    // The resend warning is wanted: the program shows it itself.
    host.options.bShowRefreshMsg = true;
    EXPECT_EQ(S_OK, pShowUI->ShowMessage(nullptr, refresh, caption, MB_YESNO, nullptr, 0, &result));
    EXPECT_EQ(1, host.boxes);

    host.options.bShowActiveXErrMsg = true;
    EXPECT_EQ(E_NOTIMPL, pShowUI->ShowMessage(nullptr, activeX, caption, MB_OK, nullptr, 0, &result));
}

TEST(DocHostHandler, OtherMessagesGetTheProgramsBoxWithTheControlsCaptionAndStyle)
{
    TestHost host;
    LRESULT result = 0;
    wchar_t text[] = L"\u8868\u793A?";  // "表示?"
    wchar_t caption[] = L"Script";
    ASSERT_EQ(S_OK, host.GetShowUI()->ShowMessage(nullptr, text, caption, MB_YESNO | MB_ICONQUESTION,
                                                  nullptr, 0, &result));
    EXPECT_EQ(1, host.boxes);
    EXPECT_STREQ("\x95\x5C\x8E\xA6?", (LPCSTR)host.boxText);
    EXPECT_STREQ("Script", (LPCSTR)host.boxCaption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), host.boxType);
    EXPECT_EQ(IDYES, result);
    EXPECT_TRUE(host.status.IsEmpty());
}

TEST(DocHostHandler, ContextMenuWithoutSelectionLeavesTheMenuToTheControlWhenAllowed)
{
    TestHost host;
    host.m_contextMenuMode = 0;
    POINT pt = { 40, 50 };
    // Image (1): never the program's menu; no document: no selection.
    EXPECT_EQ(S_FALSE, host.ShowContextMenu(CONTEXT_MENU_IMAGE, &pt, nullptr, nullptr));
    EXPECT_EQ(40, host.menuPoint.x);
    EXPECT_EQ(static_cast<DWORD>(CONTEXT_MENU_IMAGE), host.menuId);
    EXPECT_EQ(S_FALSE, host.ShowContextMenu(CONTEXT_MENU_TEXTSELECT, &pt, nullptr, nullptr));
    host.m_bIEMenuAllowed = 0;
    EXPECT_EQ(S_OK, host.ShowContextMenu(CONTEXT_MENU_DEFAULT, &pt, nullptr, nullptr));
    EXPECT_EQ(S_OK, host.ShowContextMenu(CONTEXT_MENU_DEFAULT, nullptr, nullptr, nullptr));
}

// The owner's operations throw: the handler's COM methods answer
// E_UNEXPECTED instead of letting the exception into the control.
class ThrowingHost : public CDocHostHandler
{
protected:
    void RememberContextMenu(POINT, DWORD) override { throw std::runtime_error("menu"); }
    CString GetEngineMessageModule() override { throw 5; }
};

TEST(DocHostHandler, OwnerExceptionsStopAtTheHandlersMethods)
{
    ThrowingHost host;
    POINT pt = { 1, 2 };
    EXPECT_EQ(E_UNEXPECTED, host.ShowContextMenu(CONTEXT_MENU_DEFAULT, &pt, nullptr, nullptr));
    wchar_t text[] = L"text";
    LRESULT result = 0;
    EXPECT_EQ(E_UNEXPECTED, host.GetShowUI()->ShowMessage(nullptr, text, text, MB_OK, nullptr, 0, &result));
}

TEST(DocHostHandler, ExternalAndTranslateUrl)
{
    TestHost host;
    EXPECT_EQ(E_POINTER, host.GetExternal(nullptr));
    TestWebBrowser* pObject = new TestWebBrowser;  // any dispatch object
    pObject->AddRef();
    host.external = static_cast<IWebBrowser2*>(pObject);
    IDispatch* pExternal = nullptr;
    ASSERT_EQ(S_OK, host.GetExternal(&pExternal));
    EXPECT_EQ(host.external, pExternal);
    pExternal->Release();
    pObject->Release();

    wchar_t url[] = L"http://x.test/\u8868";
    LPWSTR out = reinterpret_cast<LPWSTR>(0x1);
    EXPECT_EQ(E_NOTIMPL, host.TranslateUrl(0, url, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_STREQ("http://x.test/\x95\x5C", (LPCSTR)host.m_strLastUrl);
}

TEST(DocHostHandler, EngineVersionIsReadOnceAndIsZeroOrAtLeastOne)
{
    double version = GetIEMajorVersion();
    EXPECT_TRUE(version == 0 || version >= 1);
    EXPECT_EQ(version, GetIEMajorVersion());
}

} // namespace
