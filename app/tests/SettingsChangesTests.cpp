// What is rebuilt after the settings dialog: each part on its own settings.
#include <gtest/gtest.h>

#include "app/SettingsChanges.h"

TEST(SettingsChangesTest, EachBarFollowsItsOwnSettingsOnly)
{
    SettingsRecord before;
    SettingsRecord after(before);
    EXPECT_EQ(0u, DiffSettings(before, after));

    after.iTabStrLen = static_cast<uint16_t>(before.iTabStrLen + 1);
    EXPECT_EQ(static_cast<unsigned>(kChangePageTabBar), DiffSettings(before, after));

    after = before;
    after.bTabShow_P(!before.bTabShow_P());
    EXPECT_EQ(static_cast<unsigned>(kChangeGroupTabBar), DiffSettings(before, after));

    after = before;
    after.iMENU_STYLE = static_cast<uint8_t>(before.iMENU_STYLE + 2);
    EXPECT_EQ(static_cast<unsigned>(kChangeMenuStyle), DiffSettings(before, after));
}

TEST(SettingsChangesTest, FavoritesAndTrayChanges)
{
    SettingsRecord before;
    before.bTaskTray(false);
    SettingsRecord after(before);
    after.bFavLoadCache(!before.bFavLoadCache());
    EXPECT_EQ(static_cast<unsigned>(kChangeFavoritesScan | kChangeFavoritesMenu), DiffSettings(before, after));

    after = before;
    after.iFavItemRowMax = static_cast<uint16_t>(before.iFavItemRowMax + 1);
    EXPECT_EQ(static_cast<unsigned>(kChangeFavoritesMenu), DiffSettings(before, after));

    after = before;
    after.bTaskTray(true);
    EXPECT_EQ(static_cast<unsigned>(kChangeTrayOn), DiffSettings(before, after));
    EXPECT_EQ(static_cast<unsigned>(kChangeTrayOff), DiffSettings(after, before));
}

// Every field the settings command compares, changed alone, in both
// directions: it rebuilds exactly its own part.
TEST(SettingsChangesTest, EachComparedFieldChangedAloneRebuildsOnlyItsPart)
{
    const unsigned kGroup = kChangeGroupTabBar;
    const unsigned kPage = kChangePageTabBar;
    const unsigned kFavorites = kChangeFavoritesScan | kChangeFavoritesMenu;
    const unsigned kMenu = kChangeFavoritesMenu;
    const struct
    {
        const char* name;
        void (*change)(SettingsRecord&);
        unsigned forward;   // before -> changed
        unsigned backward;  // changed -> before
    } kCases[] = {
        { "iMENU_STYLE", [](SettingsRecord& s) { s.iMENU_STYLE = static_cast<uint8_t>(s.iMENU_STYLE + 1); },
          kChangeMenuStyle, kChangeMenuStyle },

        { "iTabTop_P", [](SettingsRecord& s) { s.iTabTop_P = static_cast<uint8_t>(s.iTabTop_P + 1); }, kGroup, kGroup },
        { "iTabStrLen_P", [](SettingsRecord& s) { s.iTabStrLen_P = static_cast<uint16_t>(s.iTabStrLen_P + 1); },
          kGroup, kGroup },
        { "iFixedWidth_P", [](SettingsRecord& s) { s.iFixedWidth_P = static_cast<uint8_t>(s.iFixedWidth_P + 1); },
          kGroup, kGroup },
        { "bTabButton_P", [](SettingsRecord& s) { s.bTabButton_P(!s.bTabButton_P()); }, kGroup, kGroup },
        { "bOldStyle_P", [](SettingsRecord& s) { s.bOldStyle_P(!s.bOldStyle_P()); }, kGroup, kGroup },
        { "bMLine_P", [](SettingsRecord& s) { s.bMLine_P(!s.bMLine_P()); }, kGroup, kGroup },
        { "bTabWidth_P", [](SettingsRecord& s) { s.bTabWidth_P(!s.bTabWidth_P()); }, kGroup, kGroup },
        { "bTabShow_P", [](SettingsRecord& s) { s.bTabShow_P(!s.bTabShow_P()); }, kGroup, kGroup },
        { "bTabImage_P", [](SettingsRecord& s) { s.bTabImage_P(!s.bTabImage_P()); }, kGroup, kGroup },

        { "iTabTop", [](SettingsRecord& s) { s.iTabTop = static_cast<uint8_t>(s.iTabTop + 1); }, kPage, kPage },
        { "iTabStrLen", [](SettingsRecord& s) { s.iTabStrLen = static_cast<uint16_t>(s.iTabStrLen + 1); },
          kPage, kPage },
        { "iFixedWidth", [](SettingsRecord& s) { s.iFixedWidth = static_cast<uint8_t>(s.iFixedWidth + 1); },
          kPage, kPage },
        { "bTabButton", [](SettingsRecord& s) { s.bTabButton(!s.bTabButton()); }, kPage, kPage },
        { "bOldStyle", [](SettingsRecord& s) { s.bOldStyle(!s.bOldStyle()); }, kPage, kPage },
        { "bMLine", [](SettingsRecord& s) { s.bMLine(!s.bMLine()); }, kPage, kPage },
        { "bTabShow", [](SettingsRecord& s) { s.bTabShow(!s.bTabShow()); }, kPage, kPage },
        { "bTabImage", [](SettingsRecord& s) { s.bTabImage(!s.bTabImage()); }, kPage, kPage },
        { "bTabWidth", [](SettingsRecord& s) { s.bTabWidth(!s.bTabWidth()); }, kPage, kPage },

        { "bIEOrder", [](SettingsRecord& s) { s.bIEOrder(!s.bIEOrder()); }, kFavorites, kFavorites },
        { "bFavLoadCache", [](SettingsRecord& s) { s.bFavLoadCache(!s.bFavLoadCache()); }, kFavorites, kFavorites },
        { "iFavTitleMaxStr",
          [](SettingsRecord& s) { s.iFavTitleMaxStr = static_cast<uint16_t>(s.iFavTitleMaxStr + 1); }, kMenu, kMenu },
        { "iFavItemRowMax",
          [](SettingsRecord& s) { s.iFavItemRowMax = static_cast<uint16_t>(s.iFavItemRowMax + 1); }, kMenu, kMenu },
        { "bFavAllOpenMenuAdd", [](SettingsRecord& s) { s.bFavAllOpenMenuAdd(!s.bFavAllOpenMenuAdd()); }, kMenu,
          kMenu },

        { "bTaskTray on", [](SettingsRecord& s) { s.bTaskTray(true); }, kChangeTrayOn, kChangeTrayOff },
        { "bPopUpNewStyle", [](SettingsRecord& s) { s.bPopUpNewStyle(!s.bPopUpNewStyle()); }, kChangePopup,
          kChangePopup },
    };
    SettingsRecord before;
    before.bTaskTray(false);
    for (const auto& c : kCases) {
        SettingsRecord after(before);
        c.change(after);
        EXPECT_EQ(c.forward, DiffSettings(before, after)) << c.name;
        EXPECT_EQ(c.backward, DiffSettings(after, before)) << c.name;
    }
}
