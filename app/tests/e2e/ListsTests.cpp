// End-to-end: the search-engine list and the favorites cache across a start
// and an orderly close of the real program.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"

namespace {

std::string Entry(const std::string& label, int state)
{
    return "\tENTRY:\r\n\t\tLABEL:" + label + "\r\n\t\tURL:http://e/?q=<UTF8>\r\n\t\tICON:\r\n"
           "\t\tADDTOOL:0\r\n\t\tSTATE:" + std::to_string(state) + "\r\n";
}

class ListsAtStartAndClose : public ::testing::Test
{
protected:
    void RunOnce()
    {
        ProgramRun run(m_folder);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(nullptr, run.WaitForMainWindow());
        EXPECT_EQ(0u, run.CloseAndWait());
    }

    ProgramFolder m_folder;
};

TEST_F(ListsAtStartAndClose, DefaultEnginesAreCopiedAndWrittenBackUnchanged)
{
    ASSERT_FALSE(m_folder.Exists("SearchEngine.dat"));
    RunOnce();
    std::string shipped = m_folder.ReadBytes("SearchEngineDefault.dat");
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(shipped, m_folder.ReadBytes("SearchEngine.dat"));
}

TEST_F(ListsAtStartAndClose, UsersEnginesAreKeptWithOneCurrentEngine)
{
    // Labels with trail bytes 0x5C ("表") and a trailing blank.
    m_folder.WriteBytes("SearchEngine.dat", "ROOT:\r\n" + Entry("\x95\x5C ", 1) +
                                                Entry("Two", 1) + "ENDROOT:\r\n");
    RunOnce();
    EXPECT_EQ("ROOT:\r\n" + Entry("\x95\x5C ", 0) + Entry("Two", 1) + "ENDROOT:\r\n",
              m_folder.ReadBytes("SearchEngine.dat"));
}

// A cache written before the Favorites folder last changed is written again
// from a fresh scan at the exit.
TEST_F(ListsAtStartAndClose, FavoritesCacheIsRewrittenFromAFreshScan)
{
    const std::string stale = "ROOT:\r\n\tENTRY:\r\n\t\tLABEL:stale.url\r\n"
                              "\t\tURL:http://stale/\r\nENDROOT:\r\n";
    m_folder.WriteBytes("IEFavorite.dat", stale);
    HANDLE file = CreateFileA(m_folder.File("IEFavorite.dat").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const FILETIME longAgo = {0x256D4000, 0x01BF53EB};  // 1 January 2000
    SetFileTime(file, nullptr, nullptr, &longAgo);
    CloseHandle(file);
    RunOnce();
    std::string cache = m_folder.ReadBytes("IEFavorite.dat");
    char favorites[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, favorites, CSIDL_FAVORITES, FALSE)) {
        EXPECT_EQ(stale, cache);  // no folder to scan: the cache stays
        return;
    }
    EXPECT_EQ(0u, cache.find("ROOT:\r\n"));
    EXPECT_EQ(std::string::npos, cache.find("stale.url"));
    EXPECT_EQ(cache.size() - 10, cache.rfind("ENDROOT:\r\n"));
}

} // namespace
