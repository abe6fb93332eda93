// The test control itself: its travel log, its history and its COM server.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestWebBrowser.h"

namespace {

std::wstring UrlOf(ITravelLogEntry* p)
{
    LPOLESTR s = nullptr;
    std::wstring url;
    if (SUCCEEDED(p->GetURL(&s)) && s != nullptr)
        url = s;
    ::CoTaskMemFree(s);
    return url;
}

std::vector<std::wstring> Enumerate(ITravelLogStg* pLog, TLENUMF flags)
{
    std::vector<std::wstring> urls;
    IEnumTravelLogEntry* pEnum = nullptr;
    if (FAILED(pLog->EnumEntries(flags, &pEnum)))
        return urls;
    ITravelLogEntry* pEntry = nullptr;
    while (pEnum->Next(1, &pEntry, nullptr) == S_OK)
    {
        urls.push_back(UrlOf(pEntry));
        pEntry->Release();
    }
    pEnum->Release();
    return urls;
}

TEST(TestTravelLog, EnumeratesBackAndForwardNearestFirst)
{
    TestTravelLog log;
    log.Push(L"a", L"A");
    log.Push(L"b", L"B");
    log.Push(L"c", L"C");
    log.Push(L"d", L"D");
    ASSERT_TRUE(log.Move(-2));  // at b
    EXPECT_EQ((std::vector<std::wstring>{ L"a" }), Enumerate(&log, TLEF_RELATIVE_BACK));
    EXPECT_EQ((std::vector<std::wstring>{ L"c", L"d" }), Enumerate(&log, TLEF_RELATIVE_FORE));
    DWORD n = 0;
    log.GetCount(TLEF_ABSOLUTE, &n);
    EXPECT_EQ(4u, n);
    // A new page drops the forward ones.
    log.Push(L"e", L"E");
    EXPECT_TRUE(Enumerate(&log, TLEF_RELATIVE_FORE).empty());
    EXPECT_EQ((std::vector<std::wstring>{ L"b", L"a" }), Enumerate(&log, TLEF_RELATIVE_BACK));
}

TEST(TestTravelLog, CreateEntryPlacesBeforeOrAfterTheAnchorOrTheCurrentEntry)
{
    TestTravelLog log;
    log.Push(L"cur", L"Current");
    ITravelLogEntry* pBack1 = nullptr;
    ASSERT_EQ(S_OK, log.CreateEntry(L"back1", L"B1", nullptr, TRUE, &pBack1));
    ASSERT_EQ(S_OK, log.CreateEntry(L"back2", L"B2", pBack1, TRUE, nullptr));
    ITravelLogEntry* pFore1 = nullptr;
    ASSERT_EQ(S_OK, log.CreateEntry(L"fore1", L"F1", nullptr, FALSE, &pFore1));
    ASSERT_EQ(S_OK, log.CreateEntry(L"fore2", L"F2", pFore1, FALSE, nullptr));
    EXPECT_EQ((std::vector<std::wstring>{ L"back1", L"back2" }), Enumerate(&log, TLEF_RELATIVE_BACK));
    EXPECT_EQ((std::vector<std::wstring>{ L"fore1", L"fore2" }), Enumerate(&log, TLEF_RELATIVE_FORE));
    ITravelLogEntry* pCurrent = nullptr;
    ASSERT_EQ(S_OK, log.GetRelativeEntry(0, &pCurrent));
    EXPECT_EQ(std::wstring(L"cur"), UrlOf(pCurrent));
    pCurrent->Release();
    pBack1->Release();
    pFore1->Release();

    TestTravelLog other;
    other.Push(L"x", L"X");
    ITravelLogEntry* pForeign = nullptr;
    other.GetRelativeEntry(0, &pForeign);
    EXPECT_EQ(E_INVALIDARG, log.CreateEntry(L"y", L"Y", pForeign, TRUE, nullptr));
    pForeign->Release();
}

class TestControl : public testing::Test
{
protected:
    void SetUp() override { TestWebBrowser::SetSynchronous(true); }
    void TearDown() override { TestWebBrowser::SetSynchronous(false); }
};

TEST_F(TestControl, HistoryMovesWithBackAndForwardAndIsReachedAsAService)
{
    TestWebBrowser* p = new TestWebBrowser;
    p->AddRef();
    VARIANT url;
    ::VariantInit(&url);
    for (const wchar_t* u : { L"http://1.test/", L"http://2.test/", L"http://3.test/" })
    {
        url.vt = VT_BSTR;
        url.bstrVal = ::SysAllocString(u);
        p->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
        ::VariantClear(&url);
    }
    EXPECT_EQ(S_OK, p->GoBack());
    EXPECT_EQ(std::wstring(L"http://2.test/"), p->GetLocationUrl());
    EXPECT_EQ(S_OK, p->GoForward());
    EXPECT_EQ(std::wstring(L"http://3.test/"), p->GetLocationUrl());
    EXPECT_EQ(E_FAIL, p->GoForward());

    IServiceProvider* pSP = nullptr;
    ASSERT_EQ(S_OK, p->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&pSP)));
    ITravelLogStg* pLog = nullptr;
    ASSERT_EQ(S_OK, pSP->QueryService(IID_ITravelLogStg, IID_ITravelLogStg,
                                      reinterpret_cast<void**>(&pLog)));
    EXPECT_EQ((std::vector<std::wstring>{ L"http://2.test/", L"http://1.test/" }),
              Enumerate(pLog, TLEF_RELATIVE_BACK));
    pLog->Release();
    pSP->Release();
    p->Release();
}

TEST_F(TestControl, AsynchronousNavigationCompletesFromTheMessageLoop)
{
    TestWebBrowser::SetSynchronous(false);
    TestWebBrowser* p = new TestWebBrowser;
    p->AddRef();
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(L"http://later.test/?va-title=Later");
    p->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
    VARIANT_BOOL busy = VARIANT_FALSE;
    p->get_Busy(&busy);
    EXPECT_EQ(VARIANT_TRUE, busy);
    EXPECT_TRUE(TestWebBrowser::Settle());
    p->get_Busy(&busy);
    EXPECT_EQ(VARIANT_FALSE, busy);
    EXPECT_EQ(std::wstring(L"Later"), p->GetTitle());
    EXPECT_EQ(READYSTATE_COMPLETE, p->GetReadyStateValue());
    p->Release();
}

TEST(TestControlServer, DllServesTheWebBrowserClass)
{
    HMODULE h = ::LoadLibraryA("TestWebBrowser.dll");
    ASSERT_NE(nullptr, h);
    typedef HRESULT(STDAPICALLTYPE * GetClassObjectFn)(REFCLSID, REFIID, LPVOID*);
    auto pfn = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(::GetProcAddress(h, "DllGetClassObject")));
    ASSERT_NE(nullptr, pfn);
    IClassFactory* pFactory = nullptr;
    ASSERT_EQ(S_OK, pfn(CLSID_WebBrowser, IID_IClassFactory, reinterpret_cast<void**>(&pFactory)));
    IWebBrowser2* pBrowser = nullptr;
    ASSERT_EQ(S_OK, pFactory->CreateInstance(nullptr, IID_IWebBrowser2,
                                             reinterpret_cast<void**>(&pBrowser)));
    pBrowser->Release();
    pFactory->Release();
    void* pOther = nullptr;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, pfn(IID_IUnknown, IID_IClassFactory, &pOther));
    EXPECT_NE(nullptr, ::GetProcAddress(h, "DllCanUnloadNow"));
}

} // namespace

namespace {

// The Wine runner registers the DLL in the test prefix before any test runs,
// so that the real program creates the test control through the registry.
TEST(TestControlServer, RegisteredInThePrefixAsTheWebBrowser)
{
    IWebBrowser2* pBrowser = nullptr;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWebBrowser2, reinterpret_cast<void**>(&pBrowser)));
    BSTR name = nullptr;
    EXPECT_EQ(S_OK, pBrowser->get_Name(&name));
    EXPECT_EQ(std::wstring(L"Test WebBrowser"), std::wstring(name != nullptr ? name : L""));
    ::SysFreeString(name);
    pBrowser->Release();
}

} // namespace
