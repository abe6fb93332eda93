#include "framework/ole/OleEvents.h"

#include <gtest/gtest.h>

namespace {

// The arguments of BeforeNavigate2-like events as a control passes them:
// last argument first, most of them by reference.
struct NavigateParams
{
    VARIANT url;
    VARIANT urlRef;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* pNewDisp = nullptr;
    VARIANT args[4];
    DISPPARAMS params;

    NavigateParams()
    {
        ::VariantInit(&url);
        url.vt = VT_BSTR;
        url.bstrVal = ::SysAllocString(L"http://example.test/");
        ::VariantInit(&urlRef);
        urlRef.vt = VT_BYREF | VT_VARIANT;
        urlRef.pvarVal = &url;
        for (VARIANT& v : args)
            ::VariantInit(&v);
        // Declared order: (ppDisp, URL, Flags, Cancel)
        args[3].vt = VT_BYREF | VT_DISPATCH;
        args[3].ppdispVal = &pNewDisp;
        args[2] = urlRef;
        args[1].vt = VT_I4;
        args[1].lVal = 7;
        args[0].vt = VT_BYREF | VT_BOOL;
        args[0].pboolVal = &cancel;
        params = { args, nullptr, 4, 0 };
    }
    ~NavigateParams() { ::VariantClear(&url); }
};

TEST(OleEventArgs, ArgumentsComeInDeclaredOrderWithReferencesFollowed)
{
    NavigateParams p;
    VaEventArgs args(&p.params);
    EXPECT_EQ(4u, args.GetCount());
    EXPECT_STREQ("http://example.test/", (LPCSTR)args.GetString(1));
    EXPECT_EQ(7, args.GetLong(2));
    ASSERT_NE(nullptr, args.GetBoolRef(3));
    *args.GetBoolRef(3) = VARIANT_TRUE;
    EXPECT_EQ(VARIANT_TRUE, p.cancel);
    ASSERT_EQ(&p.pNewDisp, args.GetDispatchRef(0));
    EXPECT_EQ(&p.url, args.GetVariantRef(1));
}

TEST(OleEventArgs, MissingOrMistypedArgumentsGiveSafeDefaults)
{
    NavigateParams p;
    VaEventArgs args(&p.params);
    EXPECT_EQ(nullptr, args.Get(4));
    EXPECT_EQ(nullptr, args.GetBoolRef(1));      // a string, not a flag
    EXPECT_EQ(nullptr, args.GetDispatchRef(2));
    EXPECT_EQ(nullptr, args.GetDispatch(2));
    EXPECT_EQ(0, args.GetLong(9));
    EXPECT_TRUE(args.GetString(9).IsEmpty());

    VaEventArgs none(nullptr);
    EXPECT_EQ(0u, none.GetCount());
    EXPECT_EQ(nullptr, none.GetRaw(0));
    DISPPARAMS empty = { nullptr, nullptr, 3, 0 };  // a count without arguments
    EXPECT_EQ(nullptr, VaEventArgs(&empty).GetRaw(0));
}

class SinkMapOwner : public COleEventHandler
{
public:
    int titles = 0;
    int progress = 0;
    void OnTitle(VaEventArgs&) { ++titles; }
    void OnProgress(VaEventArgs& args) { progress = args.GetLong(0); }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(SinkMapOwner, COleEventHandler)
    ON_EVENT(SinkMapOwner, 100, 113, OnTitle)
    ON_EVENT(SinkMapOwner, 100, 108, OnProgress)
END_EVENTSINK_MAP()

class DerivedOwner : public SinkMapOwner
{
public:
    int otherTitles = 0;
    void OnOtherTitle(VaEventArgs&) { ++otherTitles; }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(DerivedOwner, SinkMapOwner)
    ON_EVENT(DerivedOwner, 200, 113, OnOtherTitle)
END_EVENTSINK_MAP()

TEST(OleEventSinkMap, EventsGoToTheEntryOfTheirControlAndDispidThenToTheBase)
{
    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = 55;
    DISPPARAMS params = { &arg, nullptr, 1, 0 };
    VaEventArgs args(&params);

    DerivedOwner owner;
    EXPECT_TRUE(owner.OnOleEvent(200, 113, args));
    EXPECT_TRUE(owner.OnOleEvent(100, 113, args));
    EXPECT_TRUE(owner.OnOleEvent(100, 108, args));
    EXPECT_FALSE(owner.OnOleEvent(300, 113, args));
    EXPECT_FALSE(owner.OnOleEvent(100, 999, args));
    EXPECT_EQ(1, owner.otherTitles);
    EXPECT_EQ(1, owner.titles);
    EXPECT_EQ(55, owner.progress);
}

} // namespace
