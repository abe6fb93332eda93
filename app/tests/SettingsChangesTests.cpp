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
