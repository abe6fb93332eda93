// "PopClose.dat": the field rule, the texts kept to their fields, appending.
#include "lists/PopupRules.h"

#include <gtest/gtest.h>

#include "tests/support/ProgramFolder.h"

namespace {

const std::string kSep = "\x81\x4d";

std::string Join(std::initializer_list<const char*> fields)
{
    std::string line;
    bool bFirst = true;
    for (const char* field : fields) {
        line += (bFirst ? std::string() : kSep) + field;
        bFirst = false;
    }
    return line;
}

} // namespace

TEST(PopupRulesTests, FlagsComeFromTheirFieldsAndTextsStayInTheirs)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    // Five fields: the regular-expression flags are clear; three: dropped.
    folder.WriteBytes("PopClose.dat", Join({ "\x83\x5C", "http://a/", "1", "0", "1", "1" }) + "\r\n" +
                                          Join({ "t", "u", "0", "2", "1" }) + "\r\n" + Join({ "x", "y", "1" }) +
                                          "\r\n");
    std::vector<PopupRule> rules;
    const CString path = (folder.Path() + "PopClose.dat").c_str();
    ASSERT_TRUE(ReadPopupRules(path, rules));
    ASSERT_EQ(2u, rules.size());
    EXPECT_EQ(PopupRule::kTitleOn | PopupRule::kTitleRegex | PopupRule::kUrlRegex, rules[0].flags);
    EXPECT_EQ(static_cast<DWORD>(PopupRule::kUrlOn), rules[1].flags);

    // A "｀" or a line break in a text never makes a field of its own.
    PopupRule added;
    added.title = ("a" + kSep + "b\r\nc").c_str();
    added.url = ("http://x/" + kSep + "\n").c_str();
    ASSERT_TRUE(AppendPopupRule(path, added));
    const std::string expected = Join({ "\x83\x5C", "http://a/", "1", "0", "1", "1" }) + "\r\n" +
                                 Join({ "t", "u", "0", "2", "1" }) + "\r\n" + Join({ "x", "y", "1" }) + "\r\n" +
                                 Join({ "a`b  c", "http://x/%81%4D", "1", "1", "0", "0" }) + "\r\n";
    EXPECT_EQ(expected, folder.ReadBytes("PopClose.dat"));

    ASSERT_TRUE(ReadPopupRules(path, rules));
    ASSERT_EQ(3u, rules.size());
    ASSERT_TRUE(WritePopupRules(path, rules));
    ASSERT_TRUE(ReadPopupRules(path, rules));
    EXPECT_EQ(3u, rules.size());
    EXPECT_STREQ("http://x/%81%4D", rules[2].url);
}
