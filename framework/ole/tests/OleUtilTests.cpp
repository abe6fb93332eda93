#include "framework/ole/OleUtil.h"

#include <gtest/gtest.h>

namespace {

// "表示" in cp932: the trail byte of the first character is '\\'.
const char kHyoujiCp932[] = "\x95\x5C\x8E\xA6";
const wchar_t kHyoujiWide[] = L"\u8868\u793A";

TEST(OleTextConversion, Cp932AndWideRoundTripIncludingBackslashTrailBytes)
{
    EXPECT_EQ(std::wstring(kHyoujiWide), VaWideFromAnsi(kHyoujiCp932));
    EXPECT_STREQ(kHyoujiCp932, (LPCSTR)VaAnsiFromWide(kHyoujiWide));
    EXPECT_EQ(std::wstring(L"a"), VaWideFromAnsi("abc", 1));
    EXPECT_TRUE(VaWideFromAnsi(nullptr).empty());
    EXPECT_TRUE(VaAnsiFromWide(nullptr).IsEmpty());
    EXPECT_TRUE(VaAnsiFromWide(L"").IsEmpty());
}

TEST(OleBstr, FromAnsiToAnsiAndOwnership)
{
    CBstr b = CBstr::FromAnsi(kHyoujiCp932);
    ASSERT_NE(nullptr, (BSTR)b);
    EXPECT_EQ(2u, b.Length());
    EXPECT_STREQ(kHyoujiCp932, (LPCSTR)b.ToAnsi());
    BSTR raw = b.Detach();
    EXPECT_EQ(nullptr, (BSTR)b);
    b.Attach(raw);
    EXPECT_EQ(raw, (BSTR)b);
    EXPECT_EQ(nullptr, (BSTR)CBstr::FromAnsi(nullptr));
}

TEST(OleVariant, BytesSurviveASafeArrayAndAReference)
{
    CVariant v;
    ASSERT_EQ(S_OK, v.SetBytes("a\0b", 3));
    EXPECT_EQ(VT_ARRAY | VT_UI1, v.vt);
    std::string bytes;
    ASSERT_TRUE(VaBytesFromVariant(&v, bytes));
    EXPECT_EQ(std::string("a\0b", 3), bytes);

    VARIANT ref;
    ::VariantInit(&ref);
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = &v;
    ASSERT_TRUE(VaBytesFromVariant(&ref, bytes));
    EXPECT_EQ(3u, bytes.size());

    CVariant empty;
    ASSERT_EQ(S_OK, empty.SetBytes(nullptr, 0));
    ASSERT_TRUE(VaBytesFromVariant(&empty, bytes));
    EXPECT_TRUE(bytes.empty());

    CVariant text;
    text.SetString("x");
    EXPECT_FALSE(VaBytesFromVariant(&text, bytes));
    EXPECT_FALSE(VaBytesFromVariant(nullptr, bytes));
}

TEST(OleVariant, StringOfBstrReferenceNumberAndEmpty)
{
    CVariant s;
    ASSERT_EQ(S_OK, s.SetString(kHyoujiCp932));
    EXPECT_STREQ(kHyoujiCp932, (LPCSTR)VaStringFromVariant(&s));

    BSTR inner = ::SysAllocString(L"http://x/");
    VARIANT byref;
    ::VariantInit(&byref);
    byref.vt = VT_BYREF | VT_BSTR;
    byref.pbstrVal = &inner;
    EXPECT_STREQ("http://x/", (LPCSTR)VaStringFromVariant(&byref));
    ::SysFreeString(inner);

    CVariant n;
    n.SetLong(42);
    EXPECT_STREQ("42", (LPCSTR)VaStringFromVariant(&n));
    CVariant none;
    EXPECT_TRUE(VaStringFromVariant(&none).IsEmpty());
    EXPECT_TRUE(VaStringFromVariant(nullptr).IsEmpty());
}

// A counted object to watch the smart pointer's references.
struct CountedUnknown : IUnknown
{
    ULONG refs = 1;
    STDMETHOD(QueryInterface)(REFIID, void** ppv) override { *ppv = nullptr; return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
};

TEST(OleComPtr, CopiesMovesAndOutParametersKeepTheCountRight)
{
    CountedUnknown obj;
    {
        CComPtr<IUnknown> a(&obj);
        EXPECT_EQ(2u, obj.refs);
        CComPtr<IUnknown> b(a);
        EXPECT_EQ(3u, obj.refs);
        CComPtr<IUnknown> c(std::move(b));
        EXPECT_EQ(3u, obj.refs);
        EXPECT_EQ(nullptr, b.Get());
        IUnknown** pp = &c;  // releases what c held
        EXPECT_EQ(2u, obj.refs);
        *pp = &obj;          // as a callee hands out a reference
        obj.AddRef();
        a = c;
        EXPECT_EQ(3u, obj.refs);
    }
    EXPECT_EQ(1u, obj.refs);
}

} // namespace
