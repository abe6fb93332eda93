// Menu captions shown in a list: what the menu item reads, without the
// marking of its access key.
#include <gtest/gtest.h>

#include "shared/MenuText.h"

TEST(MenuTextTest, CaptionsReadAsTheMenuShowsThem)
{
    const struct
    {
        const char* caption;
        const char* shown;
    } cases[] = {
        // A marker of its own in parentheses goes whole, also before "...".
        { "IE\x82\xCC\x8E\xE6\x82\xE8\x8D\x9E\x82\xDD(&C)", "IE\x82\xCC\x8E\xE6\x82\xE8\x8D\x9E\x82\xDD" },
        { "Import(&I)...", "Import..." },
        { "Import (&I)", "Import" },
        { "(&A)Open", "Open" },
        // "表示(&V)": the trail byte 0x5C of "表" is no separator of anything.
        { "\x95\x5C\x8E\xA6(&V)", "\x95\x5C\x8E\xA6" },
        // A double-byte marked character: "(&あ)".
        { "Go(&\x82\xA0)", "Go" },
        // Inside the word only the marking goes.
        { "Im&port", "Import" },
        { "&File", "File" },
        { "&\x82\xA0" "b", "\x82\xA0" "b" },
        // "&&" is an "&" of the text, in parentheses too.
        { "Tom && Jerry", "Tom & Jerry" },
        { "R&&D(&R)", "R&D" },
        { "A(&&)", "A(&)" },
        { "&&&x", "&x" },
        // The character a lone "&" marks stays as it is, a "(" too.
        { "&(&X)", "(X)" },
        { "&(&X) y", "(X) y" },
        // A lead byte standing alone never pairs with the byte that follows
        // once the marking between them is gone ("\x83" "A" reads as a
        // katakana): it goes; one that pairs with nothing stays.
        { "\x83&A", "A" },
        { "\x83(&X)A", "A" },
        { "\x83 (&X)A", "A" },
        { "\x83&&", "\x83&" },
        { "\x83&", "\x83" },
        { "&\x83" "A", "\x83" "A" },
        // Nothing to mark: a lone "&" at the end shows nothing.
        { "End&", "End" },
        { "(&)", "()" },
        { "(&ab)", "(ab)" },
        { "Plain", "Plain" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.shown, MenuText::WithoutMnemonic(c.caption)) << c.caption;
}
