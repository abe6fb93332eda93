// window.external: the automation object through the pages of real tabs
// and by direct IDispatch calls.
#include <windows.h>
#include <activscp.h>
#include <mshtml.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/FrameMessages.h"
#include "tab/BrowserView.h"
#include "tab/ScriptExternal.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "framework/ole/OleObject.h"
#include "app/tests/TabFixture.h"
#include "tests/support/TestHtmlDocument.h"

namespace {

VARIANT Text(const wchar_t* s)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(s);
    return v;
}

VARIANT Int(LONG n, VARTYPE vt = VT_I4)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = vt;
    if (vt == VT_I2)
        v.iVal = static_cast<SHORT>(n);
    else
        v.lVal = n;
    return v;
}

VARIANT Real(double d)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = d;
    return v;
}

std::string Ansi(const std::shared_ptr<CVariant>& p)
{
    const VARIANT& v = *p;
    if (v.vt != VT_BSTR)
        return "<not text>";
    return std::string(VaAnsiFromWide(v.bstrVal, -1, CP_ACP));
}

class ScriptExternalTest : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        m_tab = Open(nullptr, "http://a.example/");
        ASSERT_NE(nullptr, m_tab);
        ShowLocal();
    }
    void ShowLocal() { ControlOf(m_tab)->SetDocumentHtml(L"<p>local</p>", ProgramUrl("x.htm")); }
    // The "file:" address of a file in the program folder.
    static std::wstring ProgramUrl(const char* name)
    {
        std::wstring url = L"file:///" + VaWideFromAnsi(CString(AppFolders().GetProgramFolder()) + name, -1, CP_ACP);
        for (wchar_t& c : url)
            if (c == L'\\')
                c = L'/';
        return url;
    }
    // Calls the method with the page's document first; the result variant.
    std::shared_ptr<CVariant> Call(const wchar_t* name, std::vector<VARIANT> args,
                                   WORD flags = DISPATCH_METHOD)
    {
        auto result = std::make_shared<CVariant>();
        EXPECT_EQ(S_OK, ControlOf(m_tab)->CallExternal(name, args, result.get(), flags));
        for (VARIANT& v : args)
            ::VariantClear(&v);
        return result;
    }

    CTabItem* m_tab = nullptr;
};

} // namespace

TEST_F(ScriptExternalTest, RemotePagesReachTheObjectButLocalMethodsDoNothingForThem)
{
    ControlOf(m_tab)->SetDocumentHtml(L"<p>remote</p>", L"http://remote.example/");
    auto both = Call(L"Vantorel_AppPath", {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    EXPECT_EQ(VT_BOOL, both->vt);
    EXPECT_EQ(VARIANT_TRUE, both->boolVal);
    auto method = Call(L"Vantorel_AppPath", {});
    EXPECT_EQ(VT_EMPTY, method->vt);

    ShowLocal();
    auto local = Call(L"Vantorel_AppPath", {});
    EXPECT_EQ(std::string(AppFolders().GetProgramFolder()), Ansi(local));
    // A property read alone does nothing but the default.
    auto get = Call(L"Vantorel_AppPath", {}, DISPATCH_PROPERTYGET);
    EXPECT_EQ(VT_BOOL, get->vt);
}

TEST_F(ScriptExternalTest, TabQueriesGoThroughTheMainWindowsMessages)
{
    Open(nullptr, "http://b.example/");
    auto count = Call(L"vantorel_getcount", {});
    EXPECT_EQ(VT_INT, count->vt);
    EXPECT_EQ(2, count->intVal);
    auto handle = Call(L"Vantorel_Handle", {});
    EXPECT_EQ(static_cast<int>(reinterpret_cast<INT_PTR>(m_frame->m_hWnd)), handle->intVal);
}

TEST_F(ScriptExternalTest, CreateParentTabTakesOnlyAShortOption)
{
    const int groups = theApp.GetGroupCount();
    Call(L"Vantorel_CreateParentTab", { Text(L"Made"), Int(0, VT_I4) });
    EXPECT_EQ(groups, theApp.GetGroupCount());
    auto made = Call(L"Vantorel_CreateParentTab", { Text(L"Made"), Int(0, VT_I2) });
    EXPECT_EQ(VARIANT_TRUE, made->boolVal);
    EXPECT_EQ(groups + 1, theApp.GetGroupCount());
}

TEST_F(ScriptExternalTest, CloseActsOnlyOnTheProgramsOwnTabs)
{
    HWND stranger = ::CreateWindowExA(0, "STATIC", "x", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                      nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, stranger);
    Call(L"Vantorel_Close", { Int(static_cast<LONG>(reinterpret_cast<INT_PTR>(stranger))) });
    Pump();
    EXPECT_TRUE(::IsWindow(stranger));
    ::DestroyWindow(stranger);

    CTabItem* other = Open(nullptr, "http://b.example/");
    HWND hOther = other->m_hFrame;
    Call(L"Vantorel_Close", { Int(static_cast<LONG>(reinterpret_cast<INT_PTR>(hOther))) });
    Pump();
    EXPECT_FALSE(::IsWindow(hOther));
}

TEST_F(ScriptExternalTest, ClipboardTextGoesOutAndComesBack)
{
    Call(L"Vantorel_SetClipString", { Text(L"clip text") });
    auto back = Call(L"Vantorel_GetClipString", {});
    EXPECT_EQ("clip text", Ansi(back));
}

TEST_F(ScriptExternalTest, SprintfFillsOneConversionPerValueAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ("003.1", Ansi(Call(L"Vantorel_Sprintf", { Text(L"%05.1f"), Real(3.14159) })));
    EXPECT_EQ("5 and x",
              Ansi(Call(L"Vantorel_Sprintf", { Text(L"%d and %%s"), Int(5), Text(L"x") })));
    EXPECT_EQ("100%% sure", Ansi(Call(L"Vantorel_Sprintf", { Text(L"100%% sure") })));
    // Conversions that would read or write beyond the one value.
    EXPECT_EQ("%n", Ansi(Call(L"Vantorel_Sprintf", { Text(L"%n"), Int(5) })));
    EXPECT_EQ("%s", Ansi(Call(L"Vantorel_Sprintf", { Text(L"%s"), Int(5) })));
    EXPECT_EQ("%d %d", Ansi(Call(L"Vantorel_Sprintf", { Text(L"%d %d"), Int(5) })));
    EXPECT_EQ("%*d", Ansi(Call(L"Vantorel_Sprintf", { Text(L"%*d"), Int(5) })));
    EXPECT_EQ("-0x1f", Ansi(Call(L"Vantorel_Sprintf", { Text(L"-%#x"), Int(31, VT_I2) })));
    EXPECT_EQ("12345678901", Ansi(Call(L"Vantorel_Sprintf", { Text(L"%I64d1"), Int(1234567890) })));
}

TEST_F(ScriptExternalTest, EncodersWriteBytesAsThePercentForm)
{
    EXPECT_EQ("a+b*", Ansi(Call(L"Vantorel_EncodeSJIS", { Text(L"a b*") })));
    EXPECT_EQ("%7E", Ansi(Call(L"Vantorel_EncodeSJIS", { Text(L"~") })));
    EXPECT_EQ("%82%A0", Ansi(Call(L"Vantorel_EncodeSJIS", { Text(L"\u3042") })));
    EXPECT_EQ("%E3%81%82", Ansi(Call(L"Vantorel_EncodeUTF8", { Text(L"\u3042") })));
    EXPECT_EQ("%A4%A2", Ansi(Call(L"Vantorel_EncodeEUC", { Text(L"\u3042") })));
    EXPECT_EQ(VT_EMPTY, Call(L"Vantorel_EncodeSJIS", { Text(L"") })->vt);
}

TEST_F(ScriptExternalTest, VersionNamesTheProgramsFileVersionAndBuild)
{
    EXPECT_EQ("Version 1.00.13014 Build 13014 ", Ansi(Call(L"Vantorel_Version", {})));
}

TEST_F(ScriptExternalTest, PageObjectsGiveTheirAddressAndTitle)
{
    ControlOf(m_tab)->SetDocumentHtml(L"<title>T1</title><p>x</p>", ProgramUrl("t.htm"));
    VARIANT doc;
    ::VariantInit(&doc);
    doc.vt = VT_DISPATCH;
    doc.pdispVal = static_cast<IHTMLDocument2*>(ControlOf(m_tab)->GetDocument());
    doc.pdispVal->AddRef();
    VARIANT doc2 = doc;
    doc2.pdispVal->AddRef();
    EXPECT_EQ(std::string(VaAnsiFromWide(ProgramUrl("t.htm").c_str(), -1, CP_ACP)),
              Ansi(Call(L"Vantorel_GetURL", { doc })));
    EXPECT_EQ("T1", Ansi(Call(L"Vantorel_GetTitle", { doc2 })));
}

TEST_F(ScriptExternalTest, OnlyPagesInsideTheProgramFolderAreTrusted)
{
    std::wstring folder = VaWideFromAnsi(AppFolders().GetProgramFolder(), -1, CP_ACP);
    folder.pop_back();
    std::wstring spaced = ProgramUrl("Favorite/a b.htm");
    spaced.replace(spaced.find(L' '), 1, L"%20");
    std::wstring sibling = ProgramUrl("");
    sibling.replace(sibling.size() - 1, 1, L"-other/page.htm");
    std::wstring upper = ProgramUrl("Script/run.htm");
    ::CharUpperBuffW(&upper[8], static_cast<DWORD>(upper.size() - 8));
    const struct
    {
        std::wstring url;
        bool trusted;
    } kCases[] = {
        { ProgramUrl("Favorite/page.htm"), true },
        { spaced, true },
        { upper + L"#top", true },
        { L"mk:@MSITStore:" + folder + L"\\help\\help.chm::/index.htm", true },
        { L"file://server/share/page.htm", false },
        { L"file:////server/share/page.htm", false },
        { L"file:///%5C%5Cserver%5Cshare%5Cpage.htm", false },
        { L"file:///C:/Downloads/saved.htm", false },
        { ProgramUrl("../elsewhere.htm"), false },
        { ProgramUrl("%2e%2e/elsewhere.htm"), false },
        { sibling, false },
        { L"mk:@MSITStore:C:\\Downloads\\help.chm::/index.htm", false },
        { L"http://remote.example/", false },
    };
    for (const auto& c : kCases)
    {
        ControlOf(m_tab)->SetDocumentHtml(L"<p>x</p>", c.url);
        auto path = Call(L"Vantorel_AppPath", {});
        EXPECT_EQ(c.trusted ? std::string(AppFolders().GetProgramFolder()) : "<not text>", Ansi(path))
            << std::string(VaAnsiFromWide(c.url.c_str(), -1, CP_ACP));
    }
}

namespace {

ULONG References(IUnknown* p)
{
    p->AddRef();
    return p->Release();
}

} // namespace

TEST_F(ScriptExternalTest, PageObjectsHandedOutKeepNoReferenceOfTheirOwn)
{
    TestWebBrowser* control = ControlOf(m_tab);
    IUnknown* doc = static_cast<IHTMLDocument2*>(control->GetDocument());
    IUnknown* browser = static_cast<IWebBrowser2*>(control);
    const LONG id = static_cast<LONG>(reinterpret_cast<INT_PTR>(m_tab->m_hFrame));
    const struct
    {
        const wchar_t* name;
        bool byId;
        IUnknown* counted;
    } kCases[] = {
        { L"Vantorel_GetActiveTabDoc2Ptr", false, doc },
        { L"Vantorel_GetDocumentObject", true, doc },
        { L"Vantorel_GetWindowObject", true, doc },
        { L"Vantorel_GetWebBrowserObject", true, browser },
    };
    for (const auto& c : kCases)
    {
        const ULONG before = References(c.counted);
        auto result = Call(c.name, c.byId ? std::vector<VARIANT>{ Int(id) } : std::vector<VARIANT>{});
        EXPECT_EQ(VT_DISPATCH, result->vt) << c.name;
        EXPECT_NE(nullptr, result->pdispVal) << c.name;
        result.reset();
        EXPECT_EQ(before, References(c.counted)) << c.name;
        // A call that wants no result.
        std::vector<VARIANT> args;
        if (c.byId)
            args.push_back(Int(id));
        EXPECT_EQ(S_OK, control->CallExternal(c.name, args, nullptr, DISPATCH_METHOD));
        EXPECT_EQ(before, References(c.counted)) << c.name;
    }

    // A page polling another tab's document lets it go with the tab.
    CTabItem* other = Open(nullptr, "http://other.example/");
    const int live = TestHtmlDocument::LiveCount();
    const LONG otherId = static_cast<LONG>(reinterpret_cast<INT_PTR>(other->m_hFrame));
    for (int i = 0; i < 3; ++i)
        Call(L"Vantorel_GetDocumentObject", { Int(otherId) });
    ::PostMessageA(other->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_GT(live, TestHtmlDocument::LiveCount());
}

TEST_F(ScriptExternalTest, FormattedTextsAndMenusStayWithinTheirCaps)
{
    EXPECT_EQ("[%2000000000d]", Ansi(Call(L"Vantorel_Sprintf", { Text(L"[%2000000000d]"), Int(5) })));
    EXPECT_EQ("%.99999f", Ansi(Call(L"Vantorel_Sprintf", { Text(L"%.99999f"), Real(1.5) })));
    EXPECT_EQ(std::string(1000, ' ') + "5",
              Ansi(Call(L"Vantorel_Sprintf", { Text(L"%1001d"), Int(5) })));
    // A menu of a thousand commas takes the first 50 entries, separators too.
    CStringArray items;
    CScriptExternal::SplitMenuItems(CString('a', 1) + CString(',', 1000), items);
    ASSERT_EQ(VA_SHOWMENU_MAX_ENTRIES, items.GetSize());
    EXPECT_STREQ("a", items[0]);
    EXPECT_STREQ("", items[49]);
}

TEST(ScriptExternal, NamesAreFoundWithoutCaseAndTheCacheKeepsTheFiveLast)
{
    CScriptExternal external;
    EXPECT_EQ(109, external.LookUp("VANTOREL_GETCOUNT"));
    EXPECT_EQ(109, external.LookUp("vantorel_getcount"));
    EXPECT_EQ(DISPID_UNKNOWN, external.LookUp("Vantorel_Nothing"));
    EXPECT_EQ(1, external.LookUp("addfavorite"));
    EXPECT_EQ(2, external.LookUp("ShowBrowserUI"));
    const char* names[] = { "Vantorel_AppPath", "Vantorel_ScriptPath", "Vantorel_Handle",
                            "Vantorel_Version", "Vantorel_IsBusy" };
    for (const char* name : names)
        external.LookUp(name);
    EXPECT_STREQ("Vantorel_IsBusy", external.GetCachedName(0));
    EXPECT_STREQ("Vantorel_AppPath", external.GetCachedName(4));
    // A cached name found again leaves the order.
    external.LookUp("Vantorel_ScriptPath");
    EXPECT_STREQ("Vantorel_IsBusy", external.GetCachedName(0));

    LPOLESTR two[] = { const_cast<LPOLESTR>(L"paget"), const_cast<LPOLESTR>(L"x") };
    DISPID ids[2] = { 5, 5 };
    EXPECT_EQ(S_OK, external.GetIDsOfNames(IID_NULL, two, 2, 0, ids));
    EXPECT_EQ(DISPID_UNKNOWN, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}

TEST(ScriptExternal, MenuItemsSplitAtEveryCommaAndSecurityWordsFollowTheSwitches)
{
    CStringArray items;
    CScriptExternal::SplitMenuItems("a,,b", items);
    ASSERT_EQ(3, items.GetSize());
    EXPECT_STREQ("", items[1]);
    CScriptExternal::SplitMenuItems("", items);
    EXPECT_EQ(1, items.GetSize());
    const bool on[7] = { true, true, true, true, true, true, true };
    const bool off[7] = {};
    EXPECT_EQ(0x70u, CScriptExternal::SecurityWord(on));
    EXPECT_EQ(0x780u, CScriptExternal::SecurityWord(off));
}

TEST(ScriptExternal, UnknownIdsAndWrongArgumentsAnswerSOkWithTheDefault)
{
    CScriptExternal external;
    VARIANT result;
    ::VariantInit(&result);
    DISPPARAMS none = { nullptr, nullptr, 0, 0 };
    EXPECT_EQ(S_OK, external.Invoke(999, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                    &none, &result, nullptr, nullptr));
    EXPECT_EQ(VT_BOOL, result.vt);
    EXPECT_EQ(S_OK, external.Invoke(109, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr,
                                    nullptr));
    EXPECT_EQ(VT_BOOL, result.vt);
    // The frame's member is never freed by its last Release.
    EXPECT_EQ(1u, external.AddRef());
    EXPECT_EQ(0u, external.Release());
}

namespace {

// IActiveScriptParse of this pointer size (the import library lacks them).
#ifdef _WIN64
const IID kIID_ActiveScriptParse =
    { 0xc7ef7658, 0xe1ee, 0x480e, { 0x97, 0xea, 0xd5, 0x2c, 0xb4, 0xd7, 0x6d, 0x17 } };
#else
const IID kIID_ActiveScriptParse =
    { 0xbb1a2ae2, 0xa4f9, 0x11cf, { 0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64 } };
#endif

// A script engine's host with two named items: "external" (the frame's
// automation object) and "document" (the page's document).
class ScriptSite : public CHeapObject<IActiveScriptSite, IID_IActiveScriptSite>
{
public:
    ScriptSite(IUnknown* pExternal, IUnknown* pDocument) : m_pExternal(pExternal), m_pDocument(pDocument) {}
    STDMETHOD(GetLCID)(LCID* plcid) override
    {
        *plcid = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    STDMETHOD(GetItemInfo)(LPCOLESTR name, DWORD mask, IUnknown** ppunk, ITypeInfo** ppti) override
    {
        if (ppti != nullptr)
            *ppti = nullptr;
        if (!(mask & SCRIPTINFO_IUNKNOWN) || ppunk == nullptr)
            return (mask & SCRIPTINFO_ITYPEINFO) ? TYPE_E_ELEMENTNOTFOUND : S_OK;
        IUnknown* p = lstrcmpiW(name, L"external") == 0   ? m_pExternal
                      : lstrcmpiW(name, L"document") == 0 ? m_pDocument
                                                           : nullptr;
        *ppunk = p;
        if (p == nullptr)
            return TYPE_E_ELEMENTNOTFOUND;
        p->AddRef();
        return S_OK;
    }
    STDMETHOD(GetDocVersionString)(BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(OnScriptTerminate)(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
    STDMETHOD(OnStateChange)(SCRIPTSTATE) override { return S_OK; }
    STDMETHOD(OnScriptError)(IActiveScriptError*) override
    {
        ++m_errors;
        return S_OK;
    }
    STDMETHOD(OnEnterScript)() override { return S_OK; }
    STDMETHOD(OnLeaveScript)() override { return S_OK; }

    int m_errors = 0;

private:
    IUnknown* m_pExternal;
    IUnknown* m_pDocument;
};

// Runs code in the engine of progId; false when the engine is missing.
bool RunScript(const wchar_t* progId, const wchar_t* code, IUnknown* pExternal,
               IUnknown* pDocument, int* pErrors)
{
    CLSID clsid;
    if (FAILED(::CLSIDFromProgID(progId, &clsid)))
        return false;
    CComPtr<IActiveScript> engine;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                  reinterpret_cast<void**>(&engine))))
        return false;
    CComPtr<IActiveScriptParse> parse;
    engine.QueryInterface(kIID_ActiveScriptParse, parse);
    if (parse == nullptr)
        return false;
    auto* site = new ScriptSite(pExternal, pDocument);
    parse->InitNew();
    engine->SetScriptSite(site);
    engine->AddNamedItem(L"external", SCRIPTITEM_ISVISIBLE);
    engine->AddNamedItem(L"document", SCRIPTITEM_ISVISIBLE);
    EXCEPINFO info = {};
    parse->ParseScriptText(code, nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISVISIBLE, nullptr, &info);
    engine->SetScriptState(SCRIPTSTATE_CONNECTED);
    engine->Close();
    *pErrors = site->m_errors;
    site->Release();
    return true;
}

} // namespace

TEST_F(ScriptExternalTest, JScriptAndVBScriptCallTheObjectWithTheirOwnTypes)
{
    IUnknown* external = &m_frame->m_scriptExternal;
    IUnknown* document = static_cast<IHTMLDocument2*>(ControlOf(m_tab)->GetDocument());
    const int groups = theApp.GetGroupCount();
    int errors = 0;
    // JScript passes numbers as VT_I4: the group option is refused.
    ASSERT_TRUE(RunScript(L"JScript",
                          L"external.Vantorel_CreateParentTab(document, 'js', 0);"
                          L"external.Vantorel_SetClipString(document,"
                          L" external.Vantorel_Sprintf(document, '%03d-%%s', 7, 'js'));",
                          external, document, &errors));
    EXPECT_EQ(0, errors);
    EXPECT_EQ(groups, theApp.GetGroupCount());
    EXPECT_EQ("007-js", Ansi(Call(L"Vantorel_GetClipString", {})));

    // VBScript passes a small integer as VT_I2: the group is made.
    ASSERT_TRUE(RunScript(L"VBScript",
                          L"external.Vantorel_CreateParentTab document, \"vb\", 0\r\n"
                          L"external.Vantorel_SetClipString document, external.Vantorel_EncodeSJIS(document, \"a b\")\r\n",
                          external, document, &errors));
    EXPECT_EQ(0, errors);
    EXPECT_EQ(groups + 1, theApp.GetGroupCount());
    EXPECT_EQ("a+b", Ansi(Call(L"Vantorel_GetClipString", {})));
}
