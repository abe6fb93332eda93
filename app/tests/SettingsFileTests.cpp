#include "app/SettingsFile.h"
#include "framework/core/AtomicFile.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/core/Collections.h"
#include "framework/core/FileSystem.h"
#include "shared/SettingsRecord.h"
#include "shared/StringLineCache.h"
#include "tests/support/ProgramFolder.h"

namespace {

// The writer's key order, spelled out independently of the key table.
const char* const kWriterOrder[] = {
    "bAddBar_AutoCompEnable", "left", "right", "top", "bottom", "showCmd", "Rebar", "iReload",
    "bTabOpen", "bTaskTray", "bClickOpen", "bMouseG", "bMouseGMenu", "mouseLR", "mouseRL",
    "mouseDC", "bFavView", "bDocView", "iTabTop", "iTabStrLen", "bMailToNotOpen", "iInitMode",
    "bWindowChangeLoop", "bWheelChange", "iTabmouseR", "iTabmouseDC", "iTabmouseWC",
    "iDocmouseR", "iDocmouseDC", "bOpenNewTab_FAV", "bOpenNewTab_FAV_WC", "bOpenNewTab_AddBar",
    "bOpenNewTab_DocHistory", "bTabActivate_FAV", "bTabActivate_FAV_WC", "bTabActivate_AddBar",
    "bTabActivate_DocHistory", "bTabActivate_WC", "bOpenNewWindowWC", "bWindowMaxCnt",
    "iWindowMaxCnt", "bClipBordCheck", "bDoubleInstance", "iMouseGSence", "iMouseGSence2",
    "bOpenDlg_AutoCompEnable", "POPUP_F2_H", "POPUP_F2_W", "POPUP_FAV_H", "POPUP_FAV_W",
    "POPUP_FAVA_H", "POPUP_FAVA_W", "POPUP_FIND_H", "POPUP_FIND_W", "POPUP_Y_H", "POPUP_Y_W",
    "POPUP_TR_H", "POPUP_TR_W", "POPUP_SOFT_H", "POPUP_SOFT_W", "POPUP_MAP_H", "POPUP_MAP_W",
    "POPUP_IEH_H", "POPUP_IEH_W", "POPUP_TEXT_FIND_H", "POPUP_TEXT_FIND_W",
    "POPUP_HYPER_FIND_H", "POPUP_HYPER_FIND_W", "iMENU_STYLE", "bBar_Status", "bBar_Plg",
    "bFavViewAutoHide", "iFavViewAutoDelay", "iFavViewAutoSence", "bFavViewAutoHideClick",
    "bFavHideBarShow", "bDocViewAutoHide", "iDocViewAutoDelay", "iDocViewAutoSence",
    "bDocViewAutoHideClick", "bDocHideBarShow", "bDelCache", "bDelCookie", "bDelHistory",
    "bReCompFav", "bReCompFavAll", "bReCompIEHistory", "bDiffDomainNewWnd", "bLightRefresh",
    "dwDLControlFlags", "bTabActivate_LINK", "bTabActivate_PL", "bPopUpNewStyle",
    "bStatusBar_URL_Only", "iPopUpNewStyle_nnn", "iTabClosePos", "iTabAppendPos", "CtrlN",
    "CtrlF", "iIEContext", "bLinkActivateSetting", "dwDLControlFlags_LinkActivate",
    "dwTool_LinkActivate", "bTabButton", "bOldStyle", "iFixedWidth", "bTabWidth", "bMLine",
    "bTabShow", "bTabImage", "bTabMode", "bPlgEnable", "wDocListViewState", "bTargetName",
    "bStatusShow", "bCloseWindowHistoryMax", "iCloseWindowHistoryMaxCnt", "bPopUpCloseEnable",
    "bAddStrEnable", "iFullScreenShowItem", "bWheelChange_P", "iTabmouseWC_P", "iTabmouseR_P",
    "iTabmouseDC_P", "iTabStrLen_P", "iFixedWidth_P", "bTabButton_P", "bOldStyle_P", "bMLine_P",
    "bTabWidth_P", "bTabShow_P", "bTabImage_P", "iDefault_P", "iTabTop_P", "iParentTabNewRule",
    "bCloseWindowHistoryAppendTop", "rcPlgSetting.bottom", "rcPlgSetting.left",
    "rcPlgSetting.right", "rcPlgSetting.top", "rcScSetting.bottom", "rcScSetting.left",
    "rcScSetting.right", "rcScSetting.top", "rcPTmpSetting.bottom", "rcPTmpSetting.left",
    "rcPTmpSetting.right", "rcPTmpSetting.top", "rcPrxpSetting.bottom", "rcPrxpSetting.left",
    "rcPrxpSetting.right", "rcPrxpSetting.top", "iTabImageDef_P", "bVATrace", "bShowDocList",
    "bIEOrder", "bFavLoadCache", "iFavTitleMaxStr", "iFavItemRowMax", "bFavAllOpenMenuAdd",
    "iFocusMove", "bMenuImage", "bMenuShortCutKey", "bWorkingSet", "bShowHelpTip",
    "bShowScriptErr", "bShowOFFLineMsg", "bShowActiveXErrMsg", "bShowRefreshMsg",
    "bShowDocCloseHistory", "bParamActivate", "bShowTabCloseButton", "bShowTabCloseButton_P",
    "bClosePTabChildEmpty", "bTabMenuShow", "bSuperDnD", "iBackHistoryMax", "bEnableDoc",
    "iDocFavMode", "bRandWheel", "strUserAgent", "strTargetURL_P", "strTitle_P",
};

const char kRebarDefault[] = "wID=E803,cx=1,fStyle=00000221";
const char kTitleDefault[] = "\x83\x4f\x83\x8b\x81\x5b\x83\x76";

std::vector<std::string> SplitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Every key of the record, with the mirror bit and the words, as one text.
std::string Snapshot(const SettingsRecord& r)
{
    std::string text;
    for (int i = 0; i < SettingsRecord::GetKeyCount(); ++i) {
        text += SettingsRecord::GetKeyName(i);
        text += '=';
        text += static_cast<LPCTSTR>(r.GetKeyValue(i));
        text += '\n';
    }
    text += std::to_string(r.dwOptionBits1) + ' ' + std::to_string(r.dwOptionBits2) + ' ' +
            std::to_string(r.dwOptionBits3);
    return text;
}

// A settings file: the header lines, then the given CR LF lines.
std::string SettingsText(const std::string& lines)
{
    return "[Vantorel]\r\niniver=1038\r\n" + lines;
}

class SettingsFileTest : public ::testing::Test
{
protected:
    SettingsFileTest() : m_folder(ProgramFolder::kEmpty), m_file(m_folder.Path().c_str()) {}
    ~SettingsFileTest() override { CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault); }

    CSettingsFile::LoadResult Load()
    {
        return m_file.Load(m_record, m_rebar, m_keys, kRebarDefault, kTitleDefault);
    }

    bool Save(const SettingsRecord& record) { return m_file.Save(record, SettingsWindowPos(), "layout"); }

    // The temporary file's name inside the folder.
    std::string PendingName() const
    {
        return std::string(m_file.GetPendingPath().GetString()).substr(m_folder.Path().size());
    }

    ProgramFolder m_folder;
    CSettingsFile m_file;
    SettingsRecord m_record;
    CString m_rebar;
    CMapStringToString m_keys;
};

} // namespace

TEST_F(SettingsFileTest, FileNamesFollowTheBaseName)
{
    const CString folder = m_folder.Path().c_str();
    EXPECT_EQ(folder + "VantorelArco.ini", m_file.GetCurrentPath());
    EXPECT_EQ(folder + "VantorelArco.ini.bak0", m_file.GetBackup0Path());
    EXPECT_EQ(folder + "VantorelArco.ini.bak1", m_file.GetBackup1Path());
    EXPECT_EQ(folder + "VantorelArcoDefault.ini", m_file.GetDefaultPath());
}

TEST_F(SettingsFileTest, WrittenFileHasTheExactLinesInWriterOrder)
{
    SettingsRecord record;
    record.left = 111;  // the record's own window values are not written
    SettingsWindowPos window;
    window.left = -4;
    window.top = 20;
    window.right = 1030;
    window.bottom = 740;
    window.showCmd = 3;
    ASSERT_TRUE(m_file.Save(record, window, "band@layout"));

    const std::string bytes = m_folder.ReadBytes("VantorelArco.ini");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ("\r\n", bytes.substr(bytes.size() - 2));
    const std::vector<std::string> lines = SplitCrLf(bytes);
    ASSERT_EQ(2u + 183u, lines.size());
    EXPECT_EQ("[Vantorel]", lines[0]);
    EXPECT_EQ("iniver=1038", lines[1]);
    for (size_t i = 0; i < 183; ++i) {
        const std::string& line = lines[i + 2];
        EXPECT_EQ(std::string(kWriterOrder[i]) + "=", line.substr(0, line.find('=') + 1)) << i;
        EXPECT_EQ(std::string::npos, line.find(' ')) << line;
        EXPECT_EQ(std::string::npos, line.find('\r')) << i;
    }
    EXPECT_EQ("bAddBar_AutoCompEnable=1", lines[2]);
    EXPECT_EQ("left=-4", lines[3]);
    EXPECT_EQ("right=1030", lines[4]);
    EXPECT_EQ("top=20", lines[5]);
    EXPECT_EQ("bottom=740", lines[6]);
    EXPECT_EQ("showCmd=3", lines[7]);
    EXPECT_EQ("Rebar=band@layout", lines[8]);
    EXPECT_EQ("iReload=1", lines[9]);
    EXPECT_EQ("strTitle_P=", lines.back());
    EXPECT_FALSE(m_folder.Exists(PendingName()));
}

TEST_F(SettingsFileTest, DefaultRecordIsWrittenWithTheDocumentedDefaults)
{
    const CString text = CSettingsFile::FormatSettings(SettingsRecord(), SettingsWindowPos(), "");
    for (const char* line : {"\niWindowMaxCnt=100\n", "\niFullScreenShowItem=1023\n",
                             "\nbPopUpNewStyle=1\n", "\ndwDLControlFlags=113\n",
                             "\nPOPUP_FIND_H=261\n", "\nPOPUP_Y_W=240\n", "\niMENU_STYLE=2\n",
                             "\nbMouseGMenu=1\n", "\nbOldStyle=0\n", "\nbEnableDoc=1\n",
                             "\nrcPrxpSetting.top=0\n", "\niFixedWidth=60\n",
                             "\nbottom=600\n", "\nshowCmd=1\n"})
        EXPECT_GE(text.Find(line), 0) << line;
}

TEST_F(SettingsFileTest, WrittenValuesReadBack)
{
    SettingsRecord record;
    record.iReload = 7;
    record.bTabOpen(false);
    record.bStatusShow(false);
    record.rcScSetting.left = -30;
    record.dwDLControlFlags = 0xF0000000u;
    record.strTitle_P = "\x95\x5c\x8e\xa6";
    record.strTargetURL_P = "http://example.com/?a=1&b=2";
    SettingsWindowPos window;
    window.showCmd = 2;
    ASSERT_TRUE(m_file.Save(record, window, "L1@L2"));

    const CSettingsFile::LoadResult result = Load();
    ASSERT_TRUE(result.fileRead);
    EXPECT_EQ(m_file.GetCurrentPath(), result.path);
    EXPECT_EQ(7, m_record.iReload);
    EXPECT_FALSE(m_record.bTabOpen());
    EXPECT_FALSE(m_record.bStatusShow());
    EXPECT_FALSE(m_record.bStatusShowMirror());
    EXPECT_EQ(-30, m_record.rcScSetting.left);
    EXPECT_EQ(0xF0000000u, m_record.dwDLControlFlags);
    EXPECT_EQ(CString("\x95\x5c\x8e\xa6"), m_record.strTitle_P);
    EXPECT_EQ(CString("http://example.com/?a=1&b=2"), m_record.strTargetURL_P);
    EXPECT_EQ(2, m_record.showCmd);
    EXPECT_EQ(CString("L1@L2"), m_rebar);
    EXPECT_EQ(CString("1038"), m_keys["iniver"]);
}

TEST_F(SettingsFileTest, ValuesAreCutToTheirFieldWidths)
{
    m_folder.WriteBytes("VantorelArco.ini",
                        SettingsText("iTabStrLen=70000\r\niBackHistoryMax=300\r\nbTabOpen=2\r\n"
                                     "bTaskTray=3\r\nshowCmd=-1\r\n"));
    ASSERT_TRUE(Load().fileRead);
    EXPECT_EQ(4464, m_record.iTabStrLen);
    EXPECT_EQ(44, m_record.iBackHistoryMax);
    EXPECT_FALSE(m_record.bTabOpen());
    EXPECT_TRUE(m_record.bTaskTray());
    EXPECT_EQ(-1, m_record.showCmd);
}

TEST_F(SettingsFileTest, LinesAreTrimmedButKeysAndValuesAreNotSplitFurther)
{
    m_folder.WriteBytes("VantorelArco.ini",
                        SettingsText("   iTabTop=5   \r\n"
                                     "iReload =7\r\n"
                                     "bTabOpen=\r\n"
                                     "iFocusMove=3\r\n"
                                     "iFocusMove=4\r\n"
                                     "no equals sign here\r\n"
                                     "strTargetURL_P=http://a/?x=1\r\n"
                                     "\tiDefault_P\t=\t2\r\n"));
    ASSERT_TRUE(Load().fileRead);
    EXPECT_EQ(5, m_record.iTabTop);
    // "iReload " is a key of its own, so iReload keeps its default.
    EXPECT_EQ(1, m_record.iReload);
    CString value;
    EXPECT_TRUE(m_keys.Lookup("iReload ", value));
    EXPECT_EQ(CString("7"), value);
    EXPECT_TRUE(m_record.bTabOpen());
    EXPECT_EQ(4, m_record.iFocusMove);
    EXPECT_EQ(CString("http://a/?x=1"), m_record.strTargetURL_P);
    EXPECT_EQ(0, m_record.iDefault_P);
    EXPECT_FALSE(m_keys.Lookup("no equals sign here", value));
}

TEST_F(SettingsFileTest, AfterLoadTheTitleDefaultAndMirrorBitAreSet)
{
    m_folder.WriteBytes("VantorelArco.ini", SettingsText("bStatusShow=0\r\nbEnableDoc=0\r\n"));
    const CSettingsFile::LoadResult result = Load();
    ASSERT_TRUE(result.fileRead);
    EXPECT_EQ(CString(kTitleDefault), m_record.strTitle_P);
    EXPECT_FALSE(m_record.bStatusShowMirror());
    EXPECT_FALSE(result.enableDoc);
    EXPECT_EQ(CString(kRebarDefault), m_rebar);
}

TEST_F(SettingsFileTest, WithNoFileOnlyTheRebarDefaultIsSet)
{
    m_record.iReload = 9;
    m_keys.SetAt("kept", "1");
    const CSettingsFile::LoadResult result = Load();
    EXPECT_FALSE(result.fileRead);
    EXPECT_EQ(9, m_record.iReload);
    EXPECT_TRUE(m_record.strTitle_P.IsEmpty());
    EXPECT_EQ(CString(kRebarDefault), m_rebar);
    EXPECT_EQ(1, m_keys.GetCount());
}

TEST_F(SettingsFileTest, NineteenByteCurrentFileFallsBackToBackup0)
{
    m_folder.WriteBytes("VantorelArco.ini", "[Vantorel]\r\niReload");
    ASSERT_EQ(19u, m_folder.ReadBytes("VantorelArco.ini").size());
    m_folder.WriteBytes("VantorelArco.ini.bak0", SettingsText("iReload=4\r\n"));
    m_folder.WriteBytes("VantorelArco.ini.bak1", SettingsText("iReload=5\r\n"));
    const CSettingsFile::LoadResult result = Load();
    EXPECT_EQ(m_file.GetBackup0Path(), result.path);
    EXPECT_EQ(4, m_record.iReload);
}

TEST_F(SettingsFileTest, TwentyByteCurrentFileIsRead)
{
    m_folder.WriteBytes("VantorelArco.ini", "iReload=3\r\n123456789");
    ASSERT_EQ(20u, m_folder.ReadBytes("VantorelArco.ini").size());
    m_folder.WriteBytes("VantorelArco.ini.bak0", SettingsText("iReload=4\r\n"));
    EXPECT_EQ(m_file.GetCurrentPath(), Load().path);
    EXPECT_EQ(3, m_record.iReload);
}

TEST_F(SettingsFileTest, FoldersAndShortFilesAreSkippedDownToTheDefaultFile)
{
    m_folder.MakeFolder("VantorelArco.ini");
    m_folder.WriteBytes("VantorelArco.ini.bak0", "");
    m_folder.WriteBytes("VantorelArco.ini.bak1", "x=1");
    m_folder.WriteBytes("VantorelArcoDefault.ini", SettingsText("iReload=6\r\n"));
    EXPECT_EQ(m_file.GetDefaultPath(), Load().path);
    EXPECT_EQ(6, m_record.iReload);
}

TEST_F(SettingsFileTest, ThreeWritesLeaveTheLastThreeVersions)
{
    SettingsRecord record;
    for (int version = 1; version <= 3; ++version) {
        record.iReload = static_cast<uint8_t>(version);
        ASSERT_TRUE(Save(record));
    }
    EXPECT_NE(std::string::npos, m_folder.ReadBytes("VantorelArco.ini").find("\r\niReload=3\r\n"));
    EXPECT_NE(std::string::npos, m_folder.ReadBytes("VantorelArco.ini.bak0").find("\r\niReload=2\r\n"));
    EXPECT_NE(std::string::npos, m_folder.ReadBytes("VantorelArco.ini.bak1").find("\r\niReload=1\r\n"));
}

TEST_F(SettingsFileTest, ASaveThatChangesNothingKeepsTheFileAndBothBackups)
{
    SettingsRecord record;
    for (int version = 1; version <= 2; ++version) {
        record.iReload = static_cast<uint8_t>(version);
        ASSERT_TRUE(Save(record));
    }
    const std::string current = m_folder.ReadBytes("VantorelArco.ini");
    ASSERT_TRUE(Save(record));
    EXPECT_EQ(current, m_folder.ReadBytes("VantorelArco.ini"));
    EXPECT_NE(std::string::npos, m_folder.ReadBytes("VantorelArco.ini.bak0").find("\r\niReload=1\r\n"));
}

TEST_F(SettingsFileTest, EmptyBackup0IsNotCopiedOverBackup1)
{
    m_folder.WriteBytes("VantorelArco.ini.bak0", "");
    m_folder.WriteBytes("VantorelArco.ini.bak1", "older version");
    ASSERT_TRUE(Save(SettingsRecord()));
    EXPECT_EQ("older version", m_folder.ReadBytes("VantorelArco.ini.bak1"));
    // No current file before the write: backup 0 stays as it was.
    EXPECT_EQ("", m_folder.ReadBytes("VantorelArco.ini.bak0"));
}

TEST_F(SettingsFileTest, LineBreaksInValuesCannotAddKeys)
{
    SettingsRecord record;
    record.strTargetURL_P = "http://x/\r\nbTabOpen=0";
    record.strUserAgent = "agent\nbReload=0\r";
    // A stray lead byte must not carry the line break after it past the guard.
    record.strTitle_P = "UA\x97\nbTabOpen=0\x83\r\niReload=9";
    ASSERT_TRUE(m_file.Save(record, SettingsWindowPos(), "band\r\niReload=9"));
    EXPECT_EQ(185u, SplitCrLf(m_folder.ReadBytes("VantorelArco.ini")).size());

    ASSERT_TRUE(Load().fileRead);
    EXPECT_TRUE(m_record.bTabOpen());
    EXPECT_EQ(1, m_record.iReload);
    EXPECT_EQ(CString("http://x/  bTabOpen=0"), m_record.strTargetURL_P);
    EXPECT_EQ(CString("agent bReload=0"), m_record.strUserAgent);
    EXPECT_EQ(CString("UA\x97 bTabOpen=0\x83  iReload=9"), m_record.strTitle_P);
    EXPECT_EQ(CString("band  iReload=9"), m_rebar);
}

// Every failure of the write leaves the current file and the backups as they
// were, and the caller hears of it; a move refused once is retried.
TEST_F(SettingsFileTest, InjectedFailuresKeepTheFilesAndAreReported)
{
    SettingsRecord record;
    record.iReload = 2;
    ASSERT_TRUE(Save(record));
    record.iReload = 3;
    ASSERT_TRUE(Save(record));
    const std::string current = m_folder.ReadBytes("VantorelArco.ini");
    const std::string backup0 = m_folder.ReadBytes("VantorelArco.ini.bak0");

    record.iReload = 4;
    for (CAtomicTextFile::Fault fault :
         {CAtomicTextFile::kFailCreate, CAtomicTextFile::kFailWrite}) {
        CAtomicTextFile::InjectFault(fault);
        EXPECT_FALSE(Save(record)) << fault;
        EXPECT_EQ(current, m_folder.ReadBytes("VantorelArco.ini")) << fault;
        EXPECT_EQ(backup0, m_folder.ReadBytes("VantorelArco.ini.bak0")) << fault;
        EXPECT_FALSE(m_folder.Exists(PendingName())) << fault;
    }
    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailMove);
    EXPECT_FALSE(Save(record));
    EXPECT_EQ(current, m_folder.ReadBytes("VantorelArco.ini"));
    EXPECT_FALSE(m_folder.Exists(PendingName()));

    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailFirstMove);
    EXPECT_TRUE(Save(record));
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    ASSERT_TRUE(Load().fileRead);
    EXPECT_EQ(4, m_record.iReload);
}

// The new file is written aside and moved over the current one, so a write
// that cannot complete leaves the current file whole.
TEST_F(SettingsFileTest, FailedWriteLeavesTheCurrentFileIntact)
{
    SettingsRecord record;
    record.iReload = 2;
    ASSERT_TRUE(Save(record));
    const std::string before = m_folder.ReadBytes("VantorelArco.ini");

    m_folder.MakeFolder(PendingName());
    record.iReload = 3;
    EXPECT_FALSE(Save(record));
    EXPECT_EQ(before, m_folder.ReadBytes("VantorelArco.ini"));
    ASSERT_TRUE(Load().fileRead);
    EXPECT_EQ(2, m_record.iReload);
}

TEST_F(SettingsFileTest, LeftoverTempFileIsReplaced)
{
    m_folder.WriteBytes(PendingName(), "torn");
    ASSERT_TRUE(Save(SettingsRecord()));
    EXPECT_FALSE(m_folder.Exists(PendingName()));
    EXPECT_EQ(0u, m_folder.ReadBytes("VantorelArco.ini").find("[Vantorel]\r\n"));
}

TEST(SettingsFile, UserAgentIsFilledOnlyWhenEmpty)
{
    SettingsRecord record;
    CSettingsFile::FillUserAgentIfEmpty(record, [] { return CString("system agent"); });
    EXPECT_EQ(CString("system agent"), record.strUserAgent);
    CSettingsFile::FillUserAgentIfEmpty(record, [] { return CString("other"); });
    EXPECT_EQ(CString("system agent"), record.strUserAgent);
}

// The shipped default file must be exactly what the writer makes of a fresh
// record, with the default window position and band layout.
TEST(ShippedSettings, DefaultFileIsTheWriterOutputForAFreshRecord)
{
    ProgramFolder folder;
    CStringFiles strings;
    strings.SetFolder(folder.File("String/").c_str());
    CSettingsFile file(folder.Path().c_str());
    ASSERT_TRUE(file.Save(SettingsRecord(), SettingsWindowPos(), strings.GetEtcText(69)));
    EXPECT_EQ(folder.ReadBytes("VantorelArcoDefault.ini"), folder.ReadBytes("VantorelArco.ini"));
}

TEST(ShippedSettings, DefaultFileReadsBackAsTheDefaults)
{
    ProgramFolder folder;
    CStringFiles strings;
    strings.SetFolder(folder.File("String/").c_str());
    CSettingsFile file(folder.Path().c_str());
    SettingsRecord record;
    record.iReload = 0;
    record.bTabOpen(false);
    CString rebar;
    CMapStringToString keys;
    const CSettingsFile::LoadResult result =
        file.Load(record, rebar, keys, "none", strings.GetEtcText(68));
    ASSERT_TRUE(result.fileRead);
    EXPECT_EQ(file.GetDefaultPath(), result.path);
    EXPECT_TRUE(result.enableDoc);

    SettingsRecord expected;
    expected.strTitle_P = strings.GetEtcText(68);
    EXPECT_EQ(Snapshot(expected), Snapshot(record));
    EXPECT_EQ(strings.GetEtcText(69), rebar);
    EXPECT_EQ(184, keys.GetCount());  // the settings and "iniver"
}
