#ifdef _WIN32
#include <windows.h>
#endif

#include "framework/core/File.h"
#include "framework/core/FileSystem.h"

#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace {

#ifdef _WIN32
const char kSep = '\\';
#else
const char kSep = '/';
#endif

// Each test works in a fresh folder of its own and removes it afterwards.
class FileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        std::filesystem::path dir = std::filesystem::temp_directory_path() /
            (std::string("va_core_") + info->name() + "_" + std::to_string(++s_counter));
        std::filesystem::remove_all(dir);
        m_dir = dir.string().c_str();
        ASSERT_TRUE(FileSystem::MakeDirectory(m_dir));
    }

    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(std::filesystem::path(m_dir.GetString()), ec);
    }

    CString PathOf(LPCSTR name) const
    {
        return m_dir + kSep + name;
    }

    void WriteBytes(LPCSTR name, const std::string& bytes)
    {
        CFile f;
        ASSERT_TRUE(f.Open(PathOf(name), CFile::modeWrite | CFile::modeCreate));
        ASSERT_TRUE(f.Write(bytes.data(), static_cast<UINT>(bytes.size())));
    }

    std::string ReadBytes(LPCSTR name)
    {
        CFile f;
        if (!f.Open(PathOf(name), CFile::modeRead))
            return "<missing>";
        std::string bytes(static_cast<size_t>(f.GetLength()), '\0');
        UINT n = f.Read(&bytes[0], static_cast<UINT>(bytes.size()));
        bytes.resize(n);
        return bytes;
    }

    CString m_dir;
    static int s_counter;
};

int FileTest::s_counter = 0;

} // namespace

TEST_F(FileTest, OpenFailuresReturnFalse)
{
    CFile f;
    EXPECT_FALSE(f.Open(PathOf("missing.txt"), CFile::modeRead));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.Open(PathOf("no\\such/folder.txt"), CFile::modeWrite | CFile::modeCreate));
    EXPECT_FALSE(f.Open(m_dir, CFile::modeRead));   // a folder is not a file
    EXPECT_FALSE(f.Open("", CFile::modeRead));
    EXPECT_FALSE(f.Open(nullptr, CFile::modeRead));
    char c;
    EXPECT_EQ(f.Read(&c, 1), 0u);
    EXPECT_FALSE(f.Write("x", 1));
    CStdioFile s;
    EXPECT_FALSE(s.Open(PathOf("missing.txt"), CFile::modeRead));
    CString line("stale");
    EXPECT_FALSE(s.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST_F(FileTest, TextModeWritesCrLfAndReadsLines)
{
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(PathOf("t.ini"), CFile::modeWrite | CFile::modeCreate));
        EXPECT_TRUE(f.WriteString("first\n\nthird\x95\x5c\n"));
        EXPECT_TRUE(f.WriteString("last"));
    }
    EXPECT_EQ(ReadBytes("t.ini"), "first\r\n\r\nthird\x95\x5c\r\nlast");

    CStdioFile f;
    ASSERT_TRUE(f.Open(PathOf("t.ini"), CFile::modeRead | CFile::shareDenyWrite));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "third\x95\x5c");
    ASSERT_TRUE(f.ReadString(line));          // last line without a line end
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_FALSE(f.ReadString(line));
}

TEST_F(FileTest, TextModeReadsLfAndKeepsLoneCr)
{
    WriteBytes("t.txt", "a\nb\rc\r\n\r\n");
    CStdioFile f;
    ASSERT_TRUE(f.Open(PathOf("t.txt"), CFile::modeRead));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "a");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "b\rc");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(f.ReadString(line));         // no empty line after the last LF
}

TEST_F(FileTest, BinaryModeKeepsBytes)
{
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(PathOf("b.dat"), CFile::modeWrite | CFile::modeCreate | CFile::typeBinary));
        EXPECT_TRUE(f.WriteString("x\ny\r\n"));
    }
    EXPECT_EQ(ReadBytes("b.dat"), "x\ny\r\n");
    CStdioFile f;
    ASSERT_TRUE(f.Open(PathOf("b.dat"), CFile::modeRead | CFile::typeBinary));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "x");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, "y\r");
}

TEST_F(FileTest, CrLfSplitAcrossTheReadBuffer)
{
    // Lines long enough that some CR LF pairs straddle a 4096-byte refill.
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += std::string(static_cast<size_t>(i % 97), 'a' + i % 26) + "\r\n";
    WriteBytes("long.txt", bytes);

    CStdioFile f;
    ASSERT_TRUE(f.Open(PathOf("long.txt"), CFile::modeRead));
    CString line;
    int count = 0;
    while (f.ReadString(line)) {
        ASSERT_EQ(line, CString(static_cast<char>('a' + count % 26), count % 97)) << "line " << count;
        ++count;
    }
    EXPECT_EQ(count, 300);
}

TEST_F(FileTest, PositionAndWritesAfterBufferedReads)
{
    WriteBytes("m.txt", "one\r\ntwo\r\n");
    CStdioFile f;
    ASSERT_TRUE(f.Open(PathOf("m.txt"), CFile::modeReadWrite));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(f.GetPosition(), 5u);           // not the read-ahead's position
    EXPECT_TRUE(f.Write("TWO", 3));
    EXPECT_EQ(f.GetLength(), 10u);
    f.SeekToBegin();
    char buf[16] = {};
    EXPECT_EQ(f.Read(buf, 4), 4u);
    EXPECT_EQ(std::string(buf), "one\r");
    EXPECT_EQ(f.Seek(-2, CFile::end), 8u);
    EXPECT_EQ(f.Read(buf, sizeof(buf)), 2u);
    EXPECT_EQ(f.SeekToEnd(), 10u);
    EXPECT_EQ(f.Read(buf, sizeof(buf)), 0u);
    f.Close();
    EXPECT_EQ(ReadBytes("m.txt"), "one\r\nTWO\r\n");
}

TEST_F(FileTest, CreateTruncatesUnlessNoTruncate)
{
    WriteBytes("c.txt", "0123456789");
    {
        CFile f;
        ASSERT_TRUE(f.Open(PathOf("c.txt"), CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate));
        EXPECT_EQ(f.GetLength(), 10u);
        f.SeekToEnd();
        EXPECT_TRUE(f.Write("ab", 2));
    }
    EXPECT_EQ(ReadBytes("c.txt"), "0123456789ab");
    {
        CFile f;
        ASSERT_TRUE(f.Open(PathOf("c.txt"), CFile::modeWrite));   // no create: keeps the rest
        EXPECT_TRUE(f.Write("X", 1));
    }
    EXPECT_EQ(ReadBytes("c.txt"), "X123456789ab");
    WriteBytes("c.txt", "");
    EXPECT_EQ(ReadBytes("c.txt"), "");
}

TEST_F(FileTest, FileSystemOperations)
{
    FileSystem::FileInfo info;
    EXPECT_FALSE(FileSystem::GetInfo(PathOf("none"), info));
    EXPECT_FALSE(info.exists);
    EXPECT_TRUE(FileSystem::GetInfo(m_dir, info));
    EXPECT_TRUE(info.isDirectory);

    WriteBytes("a.ini", "new");
    WriteBytes("b.ini", "older text");
    EXPECT_TRUE(FileSystem::GetInfo(PathOf("a.ini"), info));
    EXPECT_FALSE(info.isDirectory);
    EXPECT_EQ(info.size, 3u);

    EXPECT_TRUE(FileSystem::CopyFileOverwrite(PathOf("b.ini"), PathOf("c.ini")));
    EXPECT_TRUE(FileSystem::CopyFileOverwrite(PathOf("a.ini"), PathOf("b.ini")));
    EXPECT_EQ(ReadBytes("b.ini"), "new");
    EXPECT_EQ(ReadBytes("c.ini"), "older text");
    EXPECT_FALSE(FileSystem::CopyFileOverwrite(PathOf("none"), PathOf("d.ini")));

    EXPECT_TRUE(FileSystem::MoveFileReplace(PathOf("c.ini"), PathOf("a.ini")));
    EXPECT_EQ(ReadBytes("a.ini"), "older text");
    EXPECT_FALSE(FileSystem::GetInfo(PathOf("c.ini"), info));

    EXPECT_TRUE(FileSystem::RemoveFile(PathOf("a.ini")));
    EXPECT_FALSE(FileSystem::RemoveFile(PathOf("a.ini")));

    EXPECT_TRUE(FileSystem::MakeDirectory(PathOf("sub")));
    EXPECT_TRUE(FileSystem::MakeDirectory(PathOf("sub")));    // already there
    EXPECT_FALSE(FileSystem::MakeDirectory(PathOf("b.ini")));  // a file is in the way
}

// A reader that denies nothing lets another process move a new version over
// the file it reads (a second start reading the settings while the first
// one writes them). Wine refuses to replace any open file, so there the
// share mode that lets Windows do it is checked.
TEST_F(FileTest, ShareDenyNoneReaderLetsTheFileBeReplaced)
{
    WriteBytes("a.ini", "old");
    WriteBytes("b.ini", "new");
    CFile reader;
    ASSERT_TRUE(reader.Open(PathOf("a.ini"), CFile::modeRead | CFile::shareDenyNone));
#ifdef _WIN32
    HANDLE replacer = ::CreateFileA(PathOf("a.ini"), DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, replacer);
    ::CloseHandle(replacer);
#else
    EXPECT_TRUE(FileSystem::MoveFileReplace(PathOf("b.ini"), PathOf("a.ini")));
#endif
}

TEST_F(FileTest, Cp932FileNamesPassUnchanged)
{
    // The name ends in a character whose trail byte is 0x5C.
    CString name("\x95\x5c.txt");
    WriteBytes(name, "data");
    FileSystem::FileInfo info;
    EXPECT_TRUE(FileSystem::GetInfo(PathOf(name), info));
    EXPECT_EQ(info.size, 4u);
    EXPECT_EQ(ReadBytes(name), "data");
}

// A list file's reader falls back to its defaults only when nothing is at
// the path; a file that is there but would not open is told apart, with the
// system's reason, so that no editor writes over it.
TEST_F(FileTest, OpenToReadTellsAMissingFileFromOneThatWouldNotOpen)
{
    WriteBytes("list.dat", "a\r\n");
    ASSERT_TRUE(FileSystem::MakeDirectory(PathOf("folder.dat")));
    const struct
    {
        CString path;
        FileReadState::Result result;
    } kCases[] = {
        { PathOf("list.dat"), FileReadState::kOpened },
        { PathOf("missing.dat"), FileReadState::kMissing },
        { PathOf("nofolder") + kSep + "list.dat", FileReadState::kMissing },
        { "", FileReadState::kMissing },
        // A folder of the file's name is there, and no list.
        { PathOf("folder.dat"), FileReadState::kUnreadable },
    };
    for (const auto& c : kCases) {
        CStdioFile file;
        const FileReadState state = file.OpenToRead(c.path, CFile::modeRead | CFile::shareDenyNone);
        EXPECT_EQ(c.result, state.result) << c.path.GetString();
        EXPECT_STREQ(c.path, state.path);
        EXPECT_EQ(c.result == FileReadState::kOpened, file.IsOpen() != FALSE) << c.path.GetString();
        if (c.result == FileReadState::kUnreadable) {
            EXPECT_NE(0u, state.error);
            // The system's words, then the code in brackets.
            const CString reason = state.Reason();
            EXPECT_GT(reason.GetLength(), 4);
            EXPECT_EQ(reason.GetLength() - 1, reason.ReverseFind(')')) << reason.GetString();
        } else {
            EXPECT_EQ(0u, state.error);
        }
    }
#ifdef _WIN32
    // Held by another program that shares nothing.
    HANDLE holder = ::CreateFileA(PathOf("list.dat"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    CStdioFile file;
    const FileReadState state = file.OpenToRead(PathOf("list.dat"), CFile::modeRead | CFile::shareDenyNone);
    ::CloseHandle(holder);
    EXPECT_EQ(FileReadState::kUnreadable, state.result);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), state.error);
#endif
}
