// Start-up settings of the shared browser components.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/BrowserFeatures.h"

namespace {

using BrowserFeatures::ChooseEmulation;

TEST(BrowserFeatures, EmulationFollowsTheInstalledVersion)
{
    EXPECT_FALSE(ChooseEmulation(7.0).write);
    EXPECT_FALSE(ChooseEmulation(0.0).write);
    EXPECT_FALSE(ChooseEmulation(11.0).write);

    auto nine = ChooseEmulation(9.0);
    EXPECT_TRUE(nine.write);
    EXPECT_EQ(8000u, nine.emulation);
    EXPECT_FALSE(nine.legacyScriptOff);
    EXPECT_EQ(8000u, ChooseEmulation(8.0).emulation);

    for (double v : {9.5, 10.0}) {
        auto choice = ChooseEmulation(v);
        EXPECT_TRUE(choice.write);
        EXPECT_EQ(9000u, choice.emulation);
        EXPECT_TRUE(choice.legacyScriptOff);
    }
}

DWORD ReadFeature(LPCSTR feature, LPCSTR name)
{
    CString path = CString("SOFTWARE\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\") + feature;
    DWORD value = 0xFFFFFFFF, size = sizeof(value);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value;
}

TEST(BrowserFeatures, EmulationValuesAreWrittenUnderTheProgramName)
{
    const char kName[] = "VantorelArcoFeatureTest";
    BrowserFeatures::WriteEmulationValues(kName, ChooseEmulation(10.0));
    EXPECT_EQ(9000u, ReadFeature("FEATURE_BROWSER_EMULATION", "VantorelArcoFeatureTest.exe"));
    EXPECT_EQ(0u, ReadFeature("FEATURE_USE_LEGACY_JSCRIPT", "VantorelArcoFeatureTest.exe"));

    // A value name is at most 31 characters.
    const char kLong[] = "ANameThatIsMuchLongerThanThirtyOneCharacters";
    BrowserFeatures::WriteEmulationValues(kLong, ChooseEmulation(8.5));
    EXPECT_EQ(8000u, ReadFeature("FEATURE_BROWSER_EMULATION", CString(kLong).Left(31)));
}

TEST(BrowserFeatures, ConnectionLimitsOnlyRise)
{
    auto low = BrowserFeatures::RaisedConnectionLimits({1, 3});
    EXPECT_EQ(4u, low.perServer);
    EXPECT_EQ(8u, low.perOldServer);
    auto enough = BrowserFeatures::RaisedConnectionLimits({2, 4});
    EXPECT_EQ(2u, enough.perServer);
    EXPECT_EQ(4u, enough.perOldServer);
}

} // namespace
