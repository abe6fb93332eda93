// The plug-in and script catalogs over real modules and files: the test
// plug-ins are DLLs with undecorated stdcall exports and a version resource.
#include <windows.h>

#include <gtest/gtest.h>

#include "lists/PlugInItem.h"
#include "lists/PlugInModules.h"
#include "lists/ScriptItem.h"
#include "shared/StringLineCache.h"
#include "tests/support/ProgramFolder.h"

namespace {

typedef const char* (*LogFn)();

std::string TestPlugInPath(const char* file)
{
    return ProgramFolder::PathFromEnvironment("VA_TEST_PLUGIN_DIR") + "\\" + file;
}

std::string LogOf(const CPlugInItem* item)
{
    auto log = reinterpret_cast<LogFn>(GetProcAddress(item->m_hModule, "TestPlugInLog"));
    return log != nullptr ? log() : "no log";
}

class CatalogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strings.SetFolder(m_folder.File("String/").c_str());
        m_folder.MakeFolder("plugin");
        m_folder.MakeFolder("script");
        m_pluginFolder = m_folder.File("plugin/").c_str();
        m_scriptFolder = m_folder.File("script/").c_str();
    }
    void TearDown() override
    {
        DestroyPlugInList(m_plugIns);
        DestroyScriptList(m_scripts);
    }

    // Copies a built test plug-in into the plug-in folder under name.
    std::string InstallPlugIn(const char* built, const std::string& name)
    {
        std::string target = m_folder.File("plugin/" + name);
        EXPECT_TRUE(CopyFileA(TestPlugInPath(built).c_str(), target.c_str(), FALSE)) << built;
        return target;
    }

    ProgramFolder m_folder;
    CStringFiles m_strings;
    CString m_pluginFolder;
    CString m_scriptFolder;
    PlugInList m_plugIns;
    ScriptList m_scripts;
};

TEST(CatalogLineTests, OnlyEnabledTwoFieldLinesGiveAPath)
{
    CString path;
    EXPECT_TRUE(ParseCatalogLine("C:\\p\\a.dll?1", path));
    EXPECT_EQ(CString("C:\\p\\a.dll"), path);
    EXPECT_FALSE(ParseCatalogLine("C:\\p\\a.dll?0", path));
    EXPECT_FALSE(ParseCatalogLine("C:\\p\\a.dll?1?", path));   // a second "?"
    EXPECT_FALSE(ParseCatalogLine("C:\\p\\a.dll?1?x", path));  // three fields
    EXPECT_FALSE(ParseCatalogLine("C:\\p\\a.dll", path));      // one field
    EXPECT_FALSE(ParseCatalogLine("?1", path));                // no path
    EXPECT_FALSE(ParseCatalogLine("C:\\a.dll?11", path));
    // Double-byte names pass whole.
    EXPECT_TRUE(ParseCatalogLine("C:\\\x95\x5c\\a.dll?1", path));
    EXPECT_EQ(CString("C:\\\x95\x5c\\a.dll"), path);
}

TEST_F(CatalogTest, FolderScanLoadsDllThenVapThenExeWithNamesIconsAndVersions)
{
    InstallPlugIn("TestPlugInC.exe", "c.exe");
    InstallPlugIn("TestPlugInB.vap", "b.vap");
    InstallPlugIn("TestPlugInA.dll", "a.dll");
    m_folder.WriteBytes("plugin/readme.txt", "x");
    m_folder.MakeFolder("plugin/sub.dll");

    ASSERT_EQ(3, LoadPlugInList(m_pluginFolder, m_strings, m_plugIns));
    ASSERT_EQ(3u, m_plugIns.size());
    EXPECT_EQ(CString("Alpha"), m_plugIns[0]->m_caption);
    EXPECT_EQ(CString("Beta&B"), m_plugIns[1]->m_caption);
    EXPECT_EQ(CString("Gamma"), m_plugIns[2]->m_caption);
    for (CPlugInItem* item : m_plugIns) {
        EXPECT_EQ(1, item->m_loaded);
        EXPECT_NE(nullptr, item->m_hIcon);
        EXPECT_EQ(CString("1.2.3.4"), item->m_version1);
        EXPECT_EQ(CString("(c) tests"), item->m_version2);
        // An empty product name gives way to the caption.
        EXPECT_EQ(item->m_caption, item->m_version3);
    }
}

TEST_F(CatalogTest, AVersionQueryWithOtherConversionsStandsLiterally)
{
    // Line 60 asks for a string argument: it must not be used as a format.
    std::string etc = m_folder.ReadBytes("String/etc.dat");
    size_t start = 0;
    for (int line = 1; line < 60; ++line)
        start = etc.find('\n', start) + 1;
    size_t end = etc.find('\n', start);
    etc.replace(start, end - start, "\\StringFileInfo\\%s%s\\LegalCopyright\r");
    m_folder.WriteBytes("String/etc.dat", etc);
    InstallPlugIn("TestPlugInA.dll", "a.dll");
    ASSERT_EQ(1, LoadPlugInList(m_pluginFolder, m_strings, m_plugIns));
    EXPECT_EQ(CString("1.2.3.4"), m_plugIns[0]->m_version1);
    EXPECT_TRUE(m_plugIns[0]->m_version2.IsEmpty());
}

TEST_F(CatalogTest, ListFileChoosesEnabledExistingLinesInItsOrder)
{
    std::string a = InstallPlugIn("TestPlugInA.dll", "a.dll");
    std::string b = InstallPlugIn("TestPlugInB.vap", "b.vap");
    std::string c = InstallPlugIn("TestPlugInC.exe", "c.exe");
    m_folder.WriteBytes("plugin/plugin.dat",
                        c + "?1\n" + a + "?0\n" + m_folder.File("plugin/gone.dll") + "?1\n" +
                            b + "?1?\n" + b + "\n\n" + b + "?1\n" + b + "?1\n");
    ASSERT_EQ(3, LoadPlugInList(m_pluginFolder, m_strings, m_plugIns));
    EXPECT_EQ(CString("Gamma"), m_plugIns[0]->m_caption);
    EXPECT_EQ(CString("Beta&B"), m_plugIns[1]->m_caption);
    // Two lines naming one module: two entries, each with its own reference.
    ASSERT_EQ(m_plugIns[1]->m_hModule, m_plugIns[2]->m_hModule);
    HMODULE shared = m_plugIns[1]->m_hModule;
    delete m_plugIns[2];
    m_plugIns.pop_back();
    EXPECT_EQ(shared, GetModuleHandleA(b.c_str()));
    DestroyPlugInList(m_plugIns);
    EXPECT_EQ(nullptr, GetModuleHandleA(b.c_str()));
}

TEST_F(CatalogTest, EmptyListFileLoadsNothingAndAModuleThatFailsKeepsItsIndex)
{
    InstallPlugIn("TestPlugInA.dll", "a.dll");
    m_folder.WriteBytes("plugin/plugin.dat", "");
    EXPECT_EQ(0, LoadPlugInList(m_pluginFolder, m_strings, m_plugIns));

    m_folder.WriteBytes("plugin/broken.dll", "not a module");
    m_folder.Remove("plugin/plugin.dat");
    ASSERT_EQ(2, LoadPlugInList(m_pluginFolder, m_strings, m_plugIns));
    CPlugInItem* broken = m_plugIns[0]->m_caption.IsEmpty() ? m_plugIns[0] : m_plugIns[1];
    EXPECT_EQ(0, broken->m_loaded);
    EXPECT_EQ(nullptr, broken->m_hModule);
    EXPECT_FALSE(broken->IsShown());
    EXPECT_FALSE(broken->Execute(nullptr, ""));
    EXPECT_EQ(0, broken->OfferKey(nullptr, VK_F1));
}

TEST_F(CatalogTest, CallsReachTheModuleWithTheirArguments)
{
    InstallPlugIn("TestPlugInA.dll", "a.dll");
    ASSERT_EQ(1, LoadPlugInList(m_pluginFolder, m_strings, m_plugIns));
    CPlugInItem* item = m_plugIns[0];
    item->CallIdle(nullptr);
    EXPECT_EQ(0, item->OfferKey(nullptr, VK_F2));
    EXPECT_TRUE(item->Execute(nullptr, nullptr));
    EXPECT_TRUE(item->Execute(nullptr, ""));
    EXPECT_TRUE(item->Execute(nullptr, "word"));
    EXPECT_EQ("idle;key(113);execute(0,null);execute(0,empty);execute(0,word);", LogOf(item));
}

// Code of a plug-in that a window still runs keeps its module loaded after
// the list is emptied: a window it subclassed, or a dialog of its own left
// open. The module goes once that window has gone.
TEST_F(CatalogTest, AModuleStaysLoadedWhileAWindowOfItsOwnRunsItsCode)
{
    typedef void (*SetModeFn)(int);
    typedef HWND (*WindowFn)();
    const std::string path = InstallPlugIn("TestPlugInA.dll", "a.dll");
    const struct
    {
        const char* what;
        int mode;
        LRESULT answer;
    } cases[] = {
        { "a subclassed window", 2, 42 },
        { "an open dialog", 5, 43 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(1, LoadPlugInList(m_pluginFolder, m_strings, m_plugIns));
        const HMODULE hModule = m_plugIns[0]->m_hModule;
        auto setMode = reinterpret_cast<SetModeFn>(GetProcAddress(hModule, "TestPlugInSetMode"));
        auto windowOf = reinterpret_cast<WindowFn>(GetProcAddress(hModule, "TestPlugInWindow"));
        ASSERT_TRUE(setMode != nullptr && windowOf != nullptr);
        setMode(c.mode);
        EXPECT_TRUE(m_plugIns[0]->Execute(nullptr, ""));
        const HWND window = windowOf();
        ASSERT_NE(nullptr, window);
        DestroyPlugInList(m_plugIns);
        EXPECT_EQ(1, FreeGivenBackPlugInModules());
        ASSERT_EQ(hModule, GetModuleHandleA(path.c_str()));
        EXPECT_EQ(c.answer, SendMessageA(window, WM_APP + 1, 0, 0));
        DestroyWindow(window);
        EXPECT_EQ(0, FreeGivenBackPlugInModules());
        EXPECT_EQ(nullptr, GetModuleHandleA(path.c_str()));
    }
}

//--- Scripts

TEST_F(CatalogTest, ScriptHeaderFormsTagsAndFallbacks)
{
    struct Case
    {
        const char* file;
        const char* body;
        const char* name, *version, *copyright, *comment;
    };
    const Case cases[] = {
        {"a.js", "x;\n  //VantorelScriptFile1.00 \n//@SCRIPT_NAME:Name A\n//@COMMENT:Says A\n"
                 "//VantorelScriptEnd\n",
         "Name A", "", "", "Says A"},
        {"b.js", "//VantorelScriptFile1.00\n// @SCRIPT_NAME:Spaced\n//@COMMENT:c\n", "b.js", "",
         "", "c"},
        {"c.vbs", "//VantorelScriptFile1.00\n//@SCRIPT_NAME:Wrong form\n", "c.vbs", "", "",
         "c.vbs"},
        {"d.VBS", "'vantorelscriptfile1.00\n'@script_name: lower\n'@version:2\n"
                  "'@copyright:me\n'@comment:vb\n'VantorelScriptEnd\n",
         " lower", "2", "me", "vb"},
        // A version after the comment is not read unless a later block
        // (after a block without its end line) gives it; a block that saw
        // its end line (even before its comment) is the last one read.
        {"e.htm", "<!--VantorelScriptFile1.00\n@SCRIPT_NAME:Page\n@COMMENT:one\n@VERSION:9\n"
                  "<!--VantorelScriptFile1.00\n@VERSION:3\n-->\n@COMMENT:two\n"
                  "<!--VantorelScriptFile1.00\n@VERSION:4\n@COMMENT:three\n",
         "Page", "3", "", "two"},
        {"f.js", "plain script\n", "f.js", "", "", "f.js"},
        {"g.html", "<!--VantorelScriptFile1.00\n@SCRIPT_NAME:Never\n", "g.html", "", "",
         "g.html"},
    };
    for (const Case& c : cases) {
        m_folder.WriteBytes(std::string("script/") + c.file, c.body);
        CScriptItem item;
        item.SetPath(m_folder.File(std::string("script/") + c.file).c_str());
        item.ReadHeader(c.file);
        EXPECT_EQ(CString(c.name), item.m_name) << c.file;
        EXPECT_EQ(CString(c.version), item.m_version) << c.file;
        EXPECT_EQ(CString(c.copyright), item.m_copyright) << c.file;
        EXPECT_EQ(CString(c.comment), item.m_comment) << c.file;
    }
    CScriptItem missing;
    missing.SetPath(m_folder.File("script/none.js").c_str());
    missing.ReadHeader("none.js");
    EXPECT_FALSE(missing.IsShown());
}

TEST_F(CatalogTest, ScriptFolderScanAndListFile)
{
    m_folder.WriteBytes("script/z.htm", "");
    m_folder.WriteBytes("script/y.html", "");
    m_folder.WriteBytes("script/x.vbs", "");
    m_folder.WriteBytes("script/w.js", "");
    std::string icon = TestPlugInPath("TestScript.ico");
    ASSERT_TRUE(CopyFileA(icon.c_str(), m_folder.File("script/w.js.ico").c_str(), FALSE));

    ASSERT_EQ(3, LoadScriptList(m_scriptFolder, m_scripts));
    EXPECT_EQ(CString("w.js"), m_scripts[0]->m_name);
    EXPECT_NE(nullptr, m_scripts[0]->m_hIcon);
    EXPECT_EQ(CString("x.vbs"), m_scripts[1]->m_name);
    EXPECT_EQ(nullptr, m_scripts[1]->m_hIcon);
    EXPECT_EQ(CString("z.htm"), m_scripts[2]->m_name);
    EXPECT_EQ(CString(m_folder.File("script/z.htm").c_str()), m_scripts[2]->m_path);

    // Named in the list file, an ".html" is listed under its file name.
    m_folder.WriteBytes("script/script.dat",
                        m_folder.File("script/y.html") + "?1\n" + m_folder.File("script/x.vbs") +
                            "?0\n" + m_folder.File("script/deleted.js") + "?1\n" +
                            m_folder.File("script/w.js") + "?1\n");
    ASSERT_EQ(2, LoadScriptList(m_scriptFolder, m_scripts));
    EXPECT_EQ(CString("y.html"), m_scripts[0]->m_name);
    EXPECT_EQ(CString("w.js"), m_scripts[1]->m_name);
    EXPECT_NE(nullptr, m_scripts[1]->m_hIcon);
}

} // namespace
