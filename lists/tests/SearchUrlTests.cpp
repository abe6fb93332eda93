// Search URLs: tags, words, escaping and the three keyword encodings,
// checked against encodings worked out independently.
#include <gtest/gtest.h>

#include "lists/SearchUrl.h"

namespace {

// "検索 テスト" in cp932.
const char kKensakuTest[] = "\x8C\x9F\x8D\xF5 \x83\x65\x83\x58\x83\x67";
// "ｶﾅ　検索": two half-width kana, a full-width space, "検索".
const char kKanaWide[] = "\xB6\xC5\x81\x40\x8C\x9F\x8D\xF5";

TEST(SearchUrlTest, EachTagEncodesTheKeywordInItsCharacterSet)
{
    EXPECT_STREQ("http://s/?q=%E6%A4%9C%E7%B4%A2+%E3%83%86%E3%82%B9%E3%83%88&x",
                 BuildSearchUrl(kKensakuTest, "http://s/?q=<UTF8>&x"));
    EXPECT_STREQ("http://s/?q=%B8%A1%BA%F7+%A5%C6%A5%B9%A5%C8",
                 BuildSearchUrl(kKensakuTest, "http://s/?q=<EUC>"));
    EXPECT_STREQ("http://s/?q=%8C%9F%8D%F5+%83%65%83%58%83%67",
                 BuildSearchUrl(kKensakuTest, "http://s/?q=<SJIS>"));

    EXPECT_STREQ("q=%EF%BD%B6%EF%BE%85%E3%80%80%E6%A4%9C%E7%B4%A2",
                 BuildSearchUrl(kKanaWide, "q=<UTF8>"));
    EXPECT_STREQ("q=%8E%B6%8E%C5%A1%A1%B8%A1%BA%F7", BuildSearchUrl(kKanaWide, "q=<EUC>"));
    EXPECT_STREQ("q=%B6%C5%81%40%8C%9F%8D%F5", BuildSearchUrl(kKanaWide, "q=<SJIS>"));
    // "表示" and "ソ" end in 0x5C.
    EXPECT_STREQ("q=%C9%BD%BC%A8%A5%BD", BuildSearchUrl("\x95\x5C\x8E\xA6\x83\x5C", "q=<EUC>"));
    // Converted text is escaped byte by byte: "索" (EUC BA F7) then "a".
    EXPECT_STREQ("q=%BA%F7a", BuildSearchUrl("\x8D\xF5" "a", "q=<EUC>"));
}

TEST(SearchUrlTest, OnlyTheFirstKindOfTagIsServedAndEveryOccurrenceReplaced)
{
    EXPECT_STREQ("a=x&b=<SJIS>", BuildSearchUrl("x", "a=<UTF8>&b=<SJIS>"));
    EXPECT_STREQ("a=<SJIS>&b=x", BuildSearchUrl("x", "a=<SJIS>&b=<EUC>"));
    EXPECT_STREQ("http://plain/", BuildSearchUrl("x", "http://plain/"));
    EXPECT_STREQ("a=<utf8>", BuildSearchUrl("x", "a=<utf8>"));
}

TEST(SearchUrlTest, SeveralTagsTakeOneWordEach)
{
    EXPECT_STREQ("a=one&b=two", BuildSearchUrl("one two", "a=<UTF8>&b=<UTF8>"));
    // A full-width space splits words too.
    EXPECT_STREQ("a=one&b=%E6%A4%9C", BuildSearchUrl("one\x81\x40\x8C\x9F", "a=<UTF8>&b=<UTF8>"));
    // Too few words: the template as it is.
    EXPECT_STREQ("a=<UTF8>&b=<UTF8>", BuildSearchUrl("one", "a=<UTF8>&b=<UTF8>"));
    // Two spaces make an empty middle word.
    EXPECT_STREQ("a=one&b=", BuildSearchUrl("one  three", "a=<UTF8>&b=<UTF8>"));
    // Words beyond the last tag: one more after the template's tail.
    EXPECT_STREQ("a=1&b=2&c3", BuildSearchUrl("1 2 3 4", "a=<UTF8>&b=<UTF8>&c"));
    // A tag at the start puts its word after the next text.
    EXPECT_STREQ("x1y2", BuildSearchUrl("1 2", "<SJIS>x<SJIS>y"));
    // "メ" ends in 0x81; followed by "@" it is no full-width space.
    EXPECT_STREQ("a=<UTF8>&b=<UTF8>", BuildSearchUrl("\x83\x81@", "a=<UTF8>&b=<UTF8>"));
    EXPECT_STREQ("q=%E3%83%A1@", BuildSearchUrl("\x83\x81@", "q=<UTF8>"));
}

TEST(SearchUrlTest, FillSearchTagsEndsForEveryShapeOfTemplate)
{
    CStringArray words;
    words.Add("w0");
    words.Add("w1");
    EXPECT_STREQ("a=w0", FillSearchTags("a=<SJIS>", "<SJIS>", words));
    EXPECT_STREQ("a=w0b=w1c", FillSearchTags("a=<SJIS><SJIS>b=<SJIS>c", "<SJIS>", words));
    EXPECT_STREQ("", FillSearchTags("<SJIS><SJIS>", "<SJIS>", words));
    words.RemoveAll();
    EXPECT_STREQ("a=b=", FillSearchTags("a=<SJIS>b=<SJIS>", "<SJIS>", words));
}

TEST(SearchUrlTest, QueryEscapingKeepsOnlyTheSafeCharacters)
{
    CString text("Az09*-.@_ /~%+");
    UrlEncodeQuery(text);
    EXPECT_STREQ("Az09*-.@_+%2F%7E%25%2B", text);
    text = "";
    UrlEncodeQuery(text);
    EXPECT_STREQ("", text);
    text = "\x83";  // a lone lead byte
    UrlEncodeQuery(text);
    EXPECT_STREQ("%83", text);
}

// Row-13 symbols with a JIS X 0208 twin convert to the twin, as the
// system's EUC-JP conversion does; those without one stay unknown.
TEST(SearchUrlTest, EucConversionGivesTheJisTwinOfVendorSymbols)
{
    struct { const char* sjis; const char* euc; } cases[] = {
        {"\x87\x90", "\xA2\xE2"}, {"\x87\x91", "\xA2\xE1"}, {"\x87\x92", "\xA2\xE9"},
        {"\x87\x95", "\xA2\xE5"}, {"\x87\x96", "\xA2\xDD"}, {"\x87\x97", "\xA2\xDC"},
        {"\x87\x9A", "\xA2\xE8"}, {"\x87\x9B", "\xA2\xC1"}, {"\x87\x9C", "\xA2\xC0"},
        {"\xFA\x5B", "\xA2\xE8"}, {"\xFA\x54", "\xA2\xCC"}, {"\x87\x93", "?"},
        {"\x87\x98", "?"}, {"\x87\x99", "?"},
    };
    CString out;
    for (const auto& c : cases) {
        ConvertSjisToEuc(c.sjis, out);
        EXPECT_EQ(CString(c.euc), out) << c.sjis;
    }
}

TEST(SearchUrlTest, EucConversionMarksCharactersWithoutACode)
{
    CString out;
    ConvertSjisToEuc("a\x8C\x9F" "\xB6", out);
    EXPECT_EQ(CString("a\xB8\xA1\x8E\xB6"), out);
    ConvertSjisToEuc("ab\x8C", out);  // ends in a lone lead byte
    EXPECT_EQ(CString("ab?"), out);
    ConvertSjisToEuc("\x87\x40x", out);  // vendor row 13 ("①")
    EXPECT_EQ(CString("?x"), out);
    ConvertSjisToEuc("\xF0\x40\xFA\x40\xED\x40", out);  // user-defined and vendor rows
    EXPECT_EQ(CString("???"), out);
    ConvertSjisToEuc("\x81\x20", out);  // no valid trail byte: the space stays
    EXPECT_EQ(CString("? "), out);
    ConvertSjisToEuc("\x88\x9F\xEA\xA4", out);  // first and last JIS X 0208 kanji
    EXPECT_EQ(CString("\xB0\xA1\xF4\xA6"), out);
}

TEST(SearchUrlTest, Utf8ConversionAndCounting)
{
    CString out("stale");
    EXPECT_EQ(0, ConvertAnsiToUtf8("", out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(1, ConvertAnsiToUtf8("\x83\x5C", out));
    EXPECT_EQ(CString("\xE3\x82\xBD"), out);

    EXPECT_EQ(2, CountSubstring("aaaa", "aa"));
    EXPECT_EQ(0, CountSubstring("aaaa", ""));
    EXPECT_EQ(0, CountSubstring("\x83\x81@", "\x81@"));
}

} // namespace
