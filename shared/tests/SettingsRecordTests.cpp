#include "shared/SettingsRecord.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

int Key(const char* name)
{
    const int index = SettingsRecord::FindKey(name);
    EXPECT_GE(index, 0) << name;
    return index;
}

// Every key set to 0: all switches off (the keyless mirror bit stays).
SettingsRecord ZeroedRecord()
{
    SettingsRecord record;
    for (int i = 0; i < SettingsRecord::GetKeyCount(); ++i) {
        if (!SettingsRecord::IsLayoutKey(i))
            record.SetKeyValue(i, "0");
    }
    return record;
}

} // namespace

TEST(SettingsRecord, DefaultsOfTheSwitchTableGiveTheDocumentedWords)
{
    const SettingsRecord record;
    EXPECT_EQ(0x623C42F1u, record.dwOptionBits1);
    EXPECT_EQ(0xDA17F3C2u, record.dwOptionBits2);
    EXPECT_EQ(0x00019EBDu, record.dwOptionBits3);
}

TEST(SettingsRecord, DefaultsOfNumbersStringsAndUnnamedFields)
{
    const SettingsRecord r;
    EXPECT_EQ(600, r.bottom);
    EXPECT_EQ(800, r.right);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(1, r.showCmd);
    EXPECT_EQ(100, r.iWindowMaxCnt);
    EXPECT_EQ(1023, r.iFullScreenShowItem);
    EXPECT_EQ(113u, r.dwDLControlFlags);
    EXPECT_EQ(113, r.dwDLControlFlags_LinkActivate);
    EXPECT_EQ(374, r.POPUP_MAP_H);
    EXPECT_EQ(203, r.POPUP_MAP_W);
    EXPECT_EQ(60, r.iFixedWidth_P);
    EXPECT_EQ(2, r.iMENU_STYLE);
    EXPECT_EQ(4, r.iParentTabNewRule);
    EXPECT_EQ(0, r.rcPrxpSetting.bottom);
    EXPECT_TRUE(r.bPopUpNewStyle());
    EXPECT_TRUE(r.bStatusShowMirror());
    EXPECT_TRUE(r.strUserAgent.IsEmpty());
    EXPECT_TRUE(r.strTargetURL_P.IsEmpty());
    EXPECT_TRUE(r.strTitle_P.IsEmpty());
    EXPECT_EQ(0, r.unnamedByte);
    for (uint16_t w : r.unnamedWords)
        EXPECT_EQ(0, w);
}

TEST(SettingsRecord, KeyTableHas183UniqueKeysOneOfThemTheLayout)
{
    ASSERT_EQ(183, SettingsRecord::GetKeyCount());
    std::set<std::string> names;
    int layoutKeys = 0;
    for (int i = 0; i < SettingsRecord::GetKeyCount(); ++i) {
        names.insert(SettingsRecord::GetKeyName(i));
        layoutKeys += SettingsRecord::IsLayoutKey(i) ? 1 : 0;
        EXPECT_EQ(i, SettingsRecord::FindKey(SettingsRecord::GetKeyName(i)));
    }
    EXPECT_EQ(183u, names.size());
    EXPECT_EQ(1, layoutKeys);
    EXPECT_TRUE(SettingsRecord::IsLayoutKey(Key("Rebar")));
    EXPECT_EQ(-1, SettingsRecord::FindKey("iniver"));
    EXPECT_EQ(-1, SettingsRecord::FindKey(nullptr));
    EXPECT_EQ(nullptr, SettingsRecord::GetKeyName(183));
}

// Every switch key must own exactly one bit, and together they must cover
// every bit but the keyless mirror bit and the unused top of the third word.
TEST(SettingsRecord, EachSwitchKeyOwnsOneDistinctBit)
{
    const SettingsRecord off = ZeroedRecord();
    EXPECT_EQ(0u, off.dwOptionBits1);
    EXPECT_EQ(1u << SettingsRecord::kStatusMirrorBit, off.dwOptionBits2);
    EXPECT_EQ(0u, off.dwOptionBits3);

    uint32_t seen[3] = {0, 0, 0};
    int switches = 0;
    for (int i = 0; i < SettingsRecord::GetKeyCount(); ++i) {
        SettingsRecord r = off;
        r.SetKeyValue(i, "1");
        const uint32_t diff[3] = {r.dwOptionBits1 ^ off.dwOptionBits1,
                                  r.dwOptionBits2 ^ off.dwOptionBits2,
                                  r.dwOptionBits3 ^ off.dwOptionBits3};
        int changedBits = 0;
        for (int w = 0; w < 3; ++w) {
            for (uint32_t d = diff[w]; d != 0; d &= d - 1)
                ++changedBits;
            EXPECT_EQ(0u, seen[w] & diff[w]) << SettingsRecord::GetKeyName(i);
            seen[w] |= diff[w];
        }
        if (changedBits == 0)
            continue;
        EXPECT_EQ(1, changedBits) << SettingsRecord::GetKeyName(i);
        EXPECT_EQ(CString("1"), r.GetKeyValue(i)) << SettingsRecord::GetKeyName(i);
        ++switches;
    }
    EXPECT_EQ(81, switches);
    EXPECT_EQ(0xFFFFFFFFu, seen[0]);
    EXPECT_EQ(~(1u << SettingsRecord::kStatusMirrorBit), seen[1]);
    EXPECT_EQ(SettingsRecord::kOptionBits3Mask, seen[2]);
}

TEST(SettingsRecord, SwitchAccessorsReachTheirBits)
{
    SettingsRecord r;
    r.bTabOpen(false);
    EXPECT_EQ(0x623C42F0u, r.dwOptionBits1);
    r.bTaskTray(true);
    EXPECT_TRUE(r.bTaskTray());
    EXPECT_EQ(0x623C42F2u, r.dwOptionBits1);
    r.bIEOrder(false);
    EXPECT_EQ(0x5A17F3C2u, r.dwOptionBits2);
    r.bEnableDoc(false);
    EXPECT_EQ(0x00009EBDu, r.dwOptionBits3);
    r.bRandWheel(true);
    EXPECT_EQ(0x00029EBDu, r.dwOptionBits3);
}

TEST(SettingsRecord, LoadedNumbersAreCutToTheFieldWidth)
{
    SettingsRecord r;
    r.SetKeyValue(Key("iTabStrLen"), "70000");
    EXPECT_EQ(4464, r.iTabStrLen);
    r.SetKeyValue(Key("iBackHistoryMax"), "300");
    EXPECT_EQ(44, r.iBackHistoryMax);
    r.SetKeyValue(Key("showCmd"), "70000");
    EXPECT_EQ(4464, r.showCmd);
    r.SetKeyValue(Key("showCmd"), "-2");
    EXPECT_EQ(-2, r.showCmd);
    r.SetKeyValue(Key("iWindowMaxCnt"), "-1");
    EXPECT_EQ(65535, r.iWindowMaxCnt);
    r.SetKeyValue(Key("rcScSetting.left"), "-40");
    EXPECT_EQ(-40, r.rcScSetting.left);
    r.SetKeyValue(Key("iReload"), "many");
    EXPECT_EQ(0, r.iReload);
}

TEST(SettingsRecord, LoadedSwitchKeepsOnlyTheLowestBit)
{
    SettingsRecord r;
    r.SetKeyValue(Key("bTabOpen"), "2");
    EXPECT_FALSE(r.bTabOpen());
    r.SetKeyValue(Key("bTabOpen"), "3");
    EXPECT_TRUE(r.bTabOpen());
    // Neighbouring bits are untouched.
    EXPECT_EQ(0x623C42F1u, r.dwOptionBits1);
}

TEST(SettingsRecord, ValuesAreWrittenUnsignedOrSignedByWidth)
{
    SettingsRecord r;
    r.SetKeyValue(Key("iTabTop"), "-1");
    EXPECT_EQ(CString("255"), r.GetKeyValue(Key("iTabTop")));
    r.SetKeyValue(Key("mouseLR"), "-1");
    EXPECT_EQ(CString("65535"), r.GetKeyValue(Key("mouseLR")));
    r.dwDLControlFlags = 0xFFFFFFFFu;
    EXPECT_EQ(CString("-1"), r.GetKeyValue(Key("dwDLControlFlags")));
    r.SetKeyValue(Key("dwDLControlFlags"), "-2147483648");
    EXPECT_EQ(0x80000000u, r.dwDLControlFlags);
    r.showCmd = -3;
    EXPECT_EQ(CString("-3"), r.GetKeyValue(Key("showCmd")));
    r.rcPlgSetting.top = -7;
    EXPECT_EQ(CString("-7"), r.GetKeyValue(Key("rcPlgSetting.top")));
    r.SetKeyValue(Key("strTitle_P"), " \x95\x5c ");
    EXPECT_EQ(CString(" \x95\x5c "), r.GetKeyValue(Key("strTitle_P")));
    EXPECT_TRUE(r.GetKeyValue(Key("Rebar")).IsEmpty());
}

TEST(SettingsRecord, ParseSettingsNumberBehavesLikeAtoi)
{
    EXPECT_EQ(12, ParseSettingsNumber(" \t12abc"));
    EXPECT_EQ(7, ParseSettingsNumber("+7"));
    EXPECT_EQ(-7, ParseSettingsNumber("-7"));
    EXPECT_EQ(0, ParseSettingsNumber(""));
    EXPECT_EQ(0, ParseSettingsNumber("- 5"));
    EXPECT_EQ(0, ParseSettingsNumber(nullptr));
    EXPECT_EQ(INT32_MAX, ParseSettingsNumber("99999999999999999999"));
    EXPECT_EQ(INT32_MIN, ParseSettingsNumber("-99999999999999999999"));
}

TEST(SettingsRecord, CopyFromNullLeavesTheTargetUnchanged)
{
    SettingsRecord r;
    r.iReload = 9;
    r.CopyFrom(nullptr);
    EXPECT_EQ(9, r.iReload);
}

TEST(SettingsRecord, CopyFromTakesEveryFieldAndTheLowBitsOfTheThirdWord)
{
    SettingsRecord src = ZeroedRecord();
    src.unnamedByte = 5;
    src.unnamedWords[3] = 77;
    src.rcPTmpSetting.right = 123;
    src.strTitle_P = "group";
    src.dwOptionBits2 = 0x12345678;
    src.dwOptionBits3 = 0xFFFC0003;

    SettingsRecord dst;
    dst.dwOptionBits3 |= 0x00040000;
    dst.CopyFrom(&src);
    EXPECT_EQ(5, dst.unnamedByte);
    EXPECT_EQ(77, dst.unnamedWords[3]);
    EXPECT_EQ(123, dst.rcPTmpSetting.right);
    EXPECT_EQ(CString("group"), dst.strTitle_P);
    EXPECT_EQ(0u, dst.dwOptionBits1);
    EXPECT_EQ(0x12345678u, dst.dwOptionBits2);
    EXPECT_EQ(0x00040003u, dst.dwOptionBits3);

    src.strTitle_P = "changed";
    EXPECT_EQ(CString("group"), dst.strTitle_P);
}

TEST(SettingsRecord, CopyConstructorCopiesAllBits)
{
    SettingsRecord src;
    src.dwOptionBits3 = 0xFFFFFFFF;
    src.unnamedWords[0] = 1;
    src.strUserAgent = "agent";
    const SettingsRecord copy(src);
    EXPECT_EQ(0xFFFFFFFFu, copy.dwOptionBits3);
    EXPECT_EQ(1, copy.unnamedWords[0]);
    EXPECT_EQ(CString("agent"), copy.strUserAgent);
}
