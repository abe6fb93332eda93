// Replacing a file whole or not at all, with each step made to fail.
#ifdef _WIN32
#include <windows.h>
#endif

#include "framework/core/AtomicFile.h"
#include "framework/core/FileSystem.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace {

class AtomicFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                (std::string("va_atomic_") + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_target = (m_dir / "list.dat").string().c_str();
    }

    void TearDown() override
    {
        CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    std::string Read(const CString& path)
    {
        CFile f;
        if (!f.Open(path, CFile::modeRead))
            return "<missing>";
        std::string bytes(static_cast<size_t>(f.GetLength()), '\0');
        bytes.resize(f.Read(&bytes[0], static_cast<UINT>(bytes.size())));
        return bytes;
    }

    bool Replace(LPCSTR text)
    {
        CAtomicTextFile file;
        if (!file.Begin(m_target))
            return false;
        file.WriteString("first\n");
        file.WriteString(text);
        return file.Commit() != FALSE;
    }

    size_t EntryCount() const
    {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_dir),
                                                 std::filesystem::directory_iterator()));
    }

    std::filesystem::path m_dir;
    CString m_target;
};

} // namespace

TEST_F(AtomicFileTest, CommitReplacesTheTargetWithTheWholeText)
{
    ASSERT_TRUE(Replace("old\n"));
    ASSERT_TRUE(Replace("new\n"));
    EXPECT_EQ("first\r\nnew\r\n", Read(m_target));
    EXPECT_EQ(1u, EntryCount());  // no temporary file left
}

TEST_F(AtomicFileTest, EachFailedStepKeepsTheOldFileAndIsReported)
{
    ASSERT_TRUE(Replace("old\n"));
    for (CAtomicTextFile::Fault fault :
         {CAtomicTextFile::kFailCreate, CAtomicTextFile::kFailWrite, CAtomicTextFile::kFailMove}) {
        CAtomicTextFile::InjectFault(fault);
        EXPECT_FALSE(Replace("new\n")) << fault;
        EXPECT_EQ("first\r\nold\r\n", Read(m_target)) << fault;
        EXPECT_EQ(1u, EntryCount()) << fault;
    }
}

// Not even a temporary file is made: a folder in its way fails only a change.
// A text the target begins with (a list that lost its last line) is a change.
TEST_F(AtomicFileTest, CommitIfChangedTriesNoMoveWhenTheTargetHoldsTheSameBytes)
{
    ASSERT_TRUE(Replace("old\n"));
    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailMove);
    ASSERT_TRUE(FileSystem::MakeDirectory(CAtomicTextFile::TempPathFor(m_target)));
    for (LPCSTR text : {"old\n", "older\n", "", "ol"}) {
        CAtomicTextFile file;
        ASSERT_TRUE(file.Begin(m_target) && file.WriteString("first\n") && file.WriteString(text));
        EXPECT_EQ(text == std::string("old\n"), file.CommitIfChanged() != FALSE) << text;
        EXPECT_EQ(2u, EntryCount()) << text;
    }
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    ASSERT_TRUE(std::filesystem::remove(static_cast<LPCSTR>(CAtomicTextFile::TempPathFor(m_target))));
    CAtomicTextFile shorter;
    ASSERT_TRUE(shorter.Begin(m_target) && shorter.WriteString("first\n"));
    EXPECT_TRUE(shorter.CommitIfChanged());
    EXPECT_EQ("first\r\n", Read(m_target));
}

TEST_F(AtomicFileTest, CopyOverReplacesWholeOrNotAtAll)
{
    ASSERT_TRUE(Replace("old\n"));
    const CString source = (m_dir / "source.dat").string().c_str();
    {
        CAtomicTextFile file;
        ASSERT_TRUE(file.Begin(source));
        file.WriteString("copied\n");
        ASSERT_TRUE(file.Commit());
    }
    for (CAtomicTextFile::Fault fault :
         {CAtomicTextFile::kFailCreate, CAtomicTextFile::kFailMove}) {
        CAtomicTextFile::InjectFault(fault);
        EXPECT_FALSE(CAtomicTextFile::CopyOver(source, m_target)) << fault;
        EXPECT_EQ("first\r\nold\r\n", Read(m_target)) << fault;
        EXPECT_EQ(2u, EntryCount()) << fault;
    }
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    // A real failure gives the system's code, not the clean-up's.
    DWORD error = 0;
    EXPECT_FALSE(CAtomicTextFile::CopyOver((m_dir / "missing").string().c_str(), m_target, &error));
    EXPECT_NE(0u, error);
    EXPECT_EQ(2u, EntryCount());
    EXPECT_TRUE(CAtomicTextFile::CopyOver(source, m_target));
    EXPECT_EQ("copied\r\n", Read(m_target));
}

TEST_F(AtomicFileTest, AMoveRefusedOnceIsRetried)
{
    ASSERT_TRUE(Replace("old\n"));
    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailFirstMove);
    EXPECT_TRUE(Replace("new\n"));
    EXPECT_EQ("first\r\nnew\r\n", Read(m_target));
}

TEST_F(AtomicFileTest, AnAbandonedWriteLeavesNoTraceAndNoTarget)
{
    {
        CAtomicTextFile file;
        ASSERT_TRUE(file.Begin(m_target));
        file.WriteString("half");
    }
    EXPECT_EQ(0u, EntryCount());
    EXPECT_FALSE(FileSystem::RemoveFile(m_target));
}

TEST_F(AtomicFileTest, TempNameIsBesideTheTargetAndNamesTheProcess)
{
    const CString temp = CAtomicTextFile::TempPathFor(m_target);
    EXPECT_EQ(0, temp.Find(m_target));
    EXPECT_EQ(temp.GetLength() - 4, temp.Find(".tmp"));
    EXPECT_GT(temp.GetLength(), m_target.GetLength() + 6);

    // A folder in the way of the temporary file fails the write, not the target.
    ASSERT_TRUE(Replace("old\n"));
    ASSERT_TRUE(FileSystem::MakeDirectory(temp));
    EXPECT_FALSE(Replace("new\n"));
    EXPECT_EQ("first\r\nold\r\n", Read(m_target));
}

// Appending rewrites the file from its lines: one that is there but cannot
// be read is left alone, never replaced by the new line only.
TEST_F(AtomicFileTest, AppendTextStartsAMissingFileAndLeavesAnUnreadableOneAlone)
{
    FileReadState read;
    ASSERT_TRUE(CAtomicTextFile::AppendText(m_target, "one\n", &read));
    EXPECT_EQ(FileReadState::kMissing, read.result);
    ASSERT_TRUE(CAtomicTextFile::AppendText(m_target, "two\n", &read));
    EXPECT_EQ(FileReadState::kOpened, read.result);
    EXPECT_EQ("one\r\ntwo\r\n", Read(m_target));

    const CString folder = (m_dir / "folder.dat").string().c_str();
    ASSERT_TRUE(FileSystem::MakeDirectory(folder));
    EXPECT_FALSE(CAtomicTextFile::AppendText(folder, "x\n", &read));
    EXPECT_EQ(FileReadState::kUnreadable, read.result);
    EXPECT_STREQ(folder, read.path);
    FileSystem::FileInfo info;
    EXPECT_TRUE(FileSystem::GetInfo(folder, info) && info.isDirectory);
    EXPECT_EQ(2u, EntryCount());
#ifdef _WIN32
    // Held by another program that shares nothing: told at once.
    HANDLE holder = ::CreateFileA(m_target, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_FALSE(CAtomicTextFile::AppendText(m_target, "three\n", &read));
    ::CloseHandle(holder);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), read.error);
    EXPECT_EQ("one\r\ntwo\r\n", Read(m_target));
    // Held by one that lets others read but not replace it: read, then the
    // replacement fails with the system's code.
    holder = ::CreateFileA(m_target, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    DWORD writeError = 0;
    EXPECT_FALSE(CAtomicTextFile::AppendText(m_target, "three\n", &read, &writeError));
    ::CloseHandle(holder);
    EXPECT_EQ(FileReadState::kOpened, read.result);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), writeError);
    EXPECT_EQ("one\r\ntwo\r\n", Read(m_target));
    EXPECT_EQ(2u, EntryCount());
#endif
    // One that cannot be read though it could be replaced: still left alone.
    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailRead);
    EXPECT_FALSE(CAtomicTextFile::AppendText(m_target, "four\n", &read));
    EXPECT_EQ(FileReadState::kUnreadable, read.result);
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    EXPECT_EQ("one\r\ntwo\r\n", Read(m_target));
}
