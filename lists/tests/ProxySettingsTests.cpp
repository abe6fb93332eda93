// The proxy list in "Proxy.ini" and the start-up connection mode.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lists/ProxySettings.h"
#include "shared/ProfileSection.h"
#include "tests/support/ProgramFolder.h"

namespace {

const char kTestInternetKey[] = "Software\\VantorelArcoTests\\Internet Settings";

class ProxySettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_places.programFolder = m_folder.Path().c_str();
        m_places.internetSettingsKey = kTestInternetKey;
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestInternetKey);
    }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestInternetKey); }

    void WriteProxyIni(const std::string& body)
    {
        m_folder.WriteBytes("Proxy.ini", "[PROXY]\r\n" + body);
    }
    void SetSystemValue(LPCSTR name, LPCSTR value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kTestInternetKey, 0, nullptr,
                                                 0, KEY_SET_VALUE, nullptr, &key, nullptr));
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>(strlen(value) + 1));
        RegCloseKey(key);
    }
    DWORD StoredExtendedStyle()
    {
        CProfileSection section(m_places.programFolder);
        section.Open("PROXY");
        DWORD value = 0xFFFFFFFF;
        EXPECT_EQ(CProfileSection::kOk, section.QueryDWORDValue(value, "Extended_Style"));
        return value;
    }

    ProgramFolder m_folder{ProgramFolder::kEmpty};
    ProxyPlaces m_places;
};

TEST_F(ProxySettingsTest, ProfileSectionReportsMissingAndEmptyValuesAsReadFailures)
{
    WriteProxyIni("Empty=\r\nName=value\r\nSentinel=2882339107\r\nNumber=17\r\n");
    CProfileSection section(m_places.programFolder);
    section.Open("PROXY");
    char buffer[32];
    DWORD size = sizeof(buffer);
    EXPECT_EQ(CProfileSection::kCantRead, section.QueryStringValue(buffer, "Empty", &size));
    EXPECT_EQ(CProfileSection::kCantRead, section.QueryStringValue(buffer, "Missing", &size));
    ASSERT_EQ(CProfileSection::kOk, section.QueryStringValue(buffer, "Name", &size));
    EXPECT_STREQ("value", buffer);

    DWORD value = 5;
    EXPECT_EQ(CProfileSection::kCantRead, section.QueryDWORDValue(value, "Sentinel"));
    EXPECT_EQ(CProfileSection::kCantRead, section.QueryDWORDValue(value, "Missing"));
    EXPECT_EQ(5u, value);
    EXPECT_EQ(CProfileSection::kOk, section.QueryDWORDValue(value, "Number"));
    EXPECT_EQ(17u, value);

    section.Close();
    EXPECT_EQ(CProfileSection::kCantRead, section.QueryDWORDValue(value, "Number"));
    EXPECT_EQ(CProfileSection::kCantWrite, section.SetDWORDValue(1, "Number"));
}

TEST_F(ProxySettingsTest, ServerComesFromTheSelectedEntryOrTheSystem)
{
    SetSystemValue("ProxyServer", "system.example:8080");
    WriteProxyIni("Proxy0=\r\nProxy1=list.example:3128\r\nUseProxyIndex=1\r\n");
    EXPECT_STREQ("list.example:3128", GetProxyServer(m_places, -1));
    EXPECT_STREQ("list.example:3128", GetProxyServer(m_places, 1));
    EXPECT_STREQ("system.example:8080", GetProxyServer(m_places, 0));  // empty entry
    EXPECT_STREQ("system.example:8080", GetProxyServer(m_places, 7));  // missing entry
    EXPECT_EQ(1, GetUseProxyIndex(m_places));
}

// Without its key path the fallback reads nothing, rather than a value of
// the same name at the root of the user's hive.
TEST_F(ProxySettingsTest, AnEmptyKeyPathReadsNothingFromTheHiveRoot)
{
    const char value[] = "root.example";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(HKEY_CURRENT_USER, "ProxyOverride", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(value), sizeof(value)));
    m_places.internetSettingsKey.Empty();
    EXPECT_STREQ("", ReadProxyBypassList(m_places));
    RegDeleteValueA(HKEY_CURRENT_USER, "ProxyOverride");
}

TEST_F(ProxySettingsTest, MissingFileReadsAsAnEmptyList)
{
    EXPECT_EQ(0, GetUseProxyIndex(m_places));
    EXPECT_STREQ("", GetProxyServer(m_places, -1));
    SetSystemValue("ProxyOverride", "<local>");
    EXPECT_STREQ("<local>", ReadProxyBypassList(m_places));
}

TEST_F(ProxySettingsTest, StartupModeDirectWinsAndOtherBitsSurvive)
{
    EXPECT_EQ(kProxyModeDirect, StartupProxyMode(2 | 4));
    EXPECT_EQ(kProxyModeList, StartupProxyMode(4 | 0x18));
    EXPECT_EQ(kProxyModeSystem, StartupProxyMode(0x18));
    EXPECT_EQ(0x18u | 4u, WithProxyMode(0x18 | 1, kProxyModeList));

    WriteProxyIni("Extended_Style=" + std::to_string(0x40 | 2 | 4) + "\r\n");
    EXPECT_EQ(kProxyModeDirect, ApplyStartupProxyMode(m_places));
    EXPECT_EQ(0x40u | 2u, StoredExtendedStyle());
}

TEST_F(ProxySettingsTest, StartupWithoutAStoredModeRecordsTheSystemSettings)
{
    EXPECT_EQ(kProxyModeSystem, ApplyStartupProxyMode(m_places));
    EXPECT_EQ(1u, StoredExtendedStyle());
}

TEST_F(ProxySettingsTest, EntriesCountUpToTheFirstMissingOrEmptyKeyAtMost150)
{
    EXPECT_EQ(0, CountProxyEntries(m_places));
    WriteProxyIni("Proxy0=a:1\r\nProxy1=b:2\r\nProxy3=d:4\r\n");
    EXPECT_EQ(2, CountProxyEntries(m_places));
    WriteProxyIni("Proxy0=a:1\r\nProxy1=\r\nProxy2=c:3\r\n");
    EXPECT_EQ(1, CountProxyEntries(m_places));
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "Proxy" + std::to_string(i) + "=h" + std::to_string(i) + ":80\r\n";
    WriteProxyIni(many);
    EXPECT_EQ(150, CountProxyEntries(m_places));

    ASSERT_TRUE(StoreUseProxyIndex(m_places, -3));
    EXPECT_EQ(0, GetUseProxyIndex(m_places));
    ASSERT_TRUE(StoreUseProxyIndex(m_places, 2));
    EXPECT_EQ(2, GetUseProxyIndex(m_places));
}

TEST_F(ProxySettingsTest, SwitchingToAnEmptyServerKeepsTheStoredMode)
{
    // Regression: an empty entry with no system proxy used to record the
    // list mode while the process had no proxy at all.
    WriteProxyIni("Proxy0=\r\nUseProxyIndex=0\r\nExtended_Style=" + std::to_string(0x18 | 2) +
                  "\r\n");
    EXPECT_FALSE(ApplyProxyMode(m_places, kProxyModeList));
    EXPECT_EQ(0x18u | 2u, StoredExtendedStyle());
    // At start the system's settings stay in force and the stored choice waits.
    WriteProxyIni("Proxy0=\r\nExtended_Style=" + std::to_string(0x18 | 4) + "\r\n");
    EXPECT_EQ(kProxyModeSystem, ApplyStartupProxyMode(m_places));
    EXPECT_EQ(0x18u | 4u, StoredExtendedStyle());

    // The system mode sets nothing and is always taken.
    EXPECT_TRUE(ApplyProxyMode(m_places, kProxyModeSystem));
    EXPECT_EQ(0x18u | 1u, StoredExtendedStyle());
}

TEST_F(ProxySettingsTest, SwitchingToAListEntryRecordsTheListMode)
{
    WriteProxyIni("Proxy0=a.example:1\r\nProxy1=b.example:2\r\nUseProxyIndex=1\r\n"
                  "Extended_Style=" + std::to_string(0x18 | 1) + "\r\n");
    // Whether the session takes a named proxy is the platform's (Wine 8
    // refuses it): the stored mode follows what happened.
    const bool taken = ApplyProxyMode(m_places, kProxyModeList);
    EXPECT_EQ(0x18u | (taken ? 4u : 1u), StoredExtendedStyle());
    ASSERT_TRUE(ApplyProxyMode(m_places, kProxyModeDirect));
    EXPECT_EQ(0x18u | 2u, StoredExtendedStyle());
}

} // namespace

TEST_F(ProxySettingsTest, ServerTextsSplitAtTheFirstAndLastColon)
{
    struct Case
    {
        const char* text;
        bool ok;
        const char* host;
        const char* port;
    };
    const Case cases[] = {
        { "proxy.example:8080", true, "proxy.example", "8080" },
        { "a:b:8080", true, "a", "8080" },
        { "host:", false, "host", "" },
        { ":8080", false, "", "8080" },
        { "nocolon", false, "", "" },
    };
    for (const Case& c : cases) {
        CString host;
        CString port;
        EXPECT_EQ(c.ok, SplitProxyServer(c.text, host, port)) << c.text;
        if (c.ok) {
            EXPECT_STREQ(c.host, host);
            EXPECT_STREQ(c.port, port);
        }
    }
}

// A shorter list ends where it ends: every old entry after it is written
// empty, the first one too, so a deleted server does not come back.
TEST_F(ProxySettingsTest, AShorterListEmptiesEveryOldEntryAfterIt)
{
    struct Case
    {
        int oldCount;
        int newCount;
    };
    const Case cases[] = { { 3, 2 }, { 5, 3 }, { 1, 0 }, { 12, 9 }, { 101, 100 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.oldCount) + " -> " + std::to_string(c.newCount));
        std::string body;
        for (int i = 0; i < c.oldCount; ++i)
            body += "Proxy" + std::to_string(i) + "=old" + std::to_string(i) + ":1\r\n";
        WriteProxyIni(body + "UseProxyIndex=0\r\n");
        std::vector<CString> servers;
        for (int i = 0; i < c.newCount; ++i)
            servers.push_back(CString(("new" + std::to_string(i) + ":2").c_str()));
        ASSERT_TRUE(WriteProxyList(m_places, servers));
        EXPECT_EQ(c.newCount, CountProxyEntries(m_places, kMaxProxyListKeys));
        // Each old key stays in the file, with the new server or empty.
        const std::string ini = m_folder.File("Proxy.ini");
        char value[64] = {};
        for (int i = 0; i < c.oldCount; ++i) {
            const std::string key = "Proxy" + std::to_string(i);
            GetPrivateProfileStringA("PROXY", key.c_str(), "<none>", value, sizeof(value), ini.c_str());
            EXPECT_EQ(i < c.newCount ? "new" + std::to_string(i) + ":2" : std::string(), value) << key;
        }
    }
}

TEST_F(ProxySettingsTest, WritingTheListEmptiesEveryLaterKeyAndKeepsTheOthers)
{
    // Proxy3 stands after a gap: the list shows two entries, and an old key
    // there must not join a shorter list written later.
    WriteProxyIni("Proxy0=a:1\r\nProxy1=b:2\r\nProxy2=\r\nProxy3=old:3\r\nProxy7=older:7\r\n"
                  "UseProxyIndex=1\r\nBypass=<local>\r\n");
    EXPECT_EQ(2, CountProxyEntries(m_places, kMaxProxyListKeys));
    // A cp932 text whose second byte is "\" stays as it is.
    const std::vector<CString> servers = { "\x83\x5C:8080", "", "c:3" };
    ASSERT_TRUE(WriteProxyList(m_places, servers));
    EXPECT_EQ(2, CountProxyEntries(m_places, kMaxProxyListKeys));
    EXPECT_STREQ("\x83\x5C:8080", GetProxyServer(m_places, 0));
    EXPECT_STREQ("c:3", GetProxyServer(m_places, 1));
    char value[64] = {};
    const std::string ini = m_folder.File("Proxy.ini");
    for (const char* key : { "Proxy2", "Proxy3", "Proxy7" }) {
        EXPECT_EQ(0u, GetPrivateProfileStringA("PROXY", key, "", value, sizeof(value), ini.c_str())) << key;
    }
    EXPECT_EQ(1, GetUseProxyIndex(m_places));
    GetPrivateProfileStringA("PROXY", "Bypass", "", value, sizeof(value), ini.c_str());
    EXPECT_STREQ("<local>", value);

    // At most 200 keys are written and counted.
    std::vector<CString> many;
    for (int i = 0; i < 250; ++i) {
        CString text;
        text.Format("h%d:%d", i, i);
        many.push_back(text);
    }
    ASSERT_TRUE(WriteProxyList(m_places, many));
    EXPECT_EQ(kMaxProxyListKeys, CountProxyEntries(m_places, 1000));
}
