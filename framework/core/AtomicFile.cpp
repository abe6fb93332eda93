#include "framework/core/AtomicFile.h"

#include <chrono>
#include <thread>
#include <vector>

#include "framework/core/FilePlatform.h"
#include "framework/core/FileSystem.h"

namespace {

CAtomicTextFile::Fault g_fault = CAtomicTextFile::kNoFault;

// The move is tried this often, this far apart: a reader in another process
// (a second start reading the settings during its hand-over, a backup tool)
// may hold the target for a moment.
const int kMoveAttempts = 10;
const int kMoveRetryMs = 100;

} // namespace

CAtomicTextFile::~CAtomicTextFile()
{
    Abandon();
}

void CAtomicTextFile::InjectFault(Fault fault)
{
    g_fault = fault;
    CFile::InjectSecondReadFailure(fault == kFailRead);
}

CString CAtomicTextFile::TempPathFor(LPCTSTR target)
{
    CString path(target);
    path.AppendFormat(".%lu.tmp", static_cast<unsigned long>(FilePlatform::CurrentProcessId()));
    return path;
}

BOOL CAtomicTextFile::CopyOver(LPCTSTR from, LPCTSTR target, DWORD* pError)
{
    if (from == nullptr || target == nullptr || *target == '\0')
        return FALSE;
    const CString temp = TempPathFor(target);
    if (g_fault != kFailCreate && FileSystem::CopyFileOverwrite(from, temp) &&
        g_fault != kFailMove && FileSystem::MoveFileReplace(temp, target))
        return TRUE;
    // Taken before the clean-up, which may set a code of its own.
    if (pError != nullptr)
        *pError = FilePlatform::LastError();
    // The temporary copy only; see Abandon.
    (void)FileSystem::RemoveFile(temp);
    return FALSE;
}

BOOL CAtomicTextFile::AppendText(LPCTSTR target, const CString& text, FileReadState* pRead, DWORD* pWriteError)
{
    std::vector<CString> lines;
    CStdioFile old;
    FileReadState read = old.OpenToRead(target, CFile::modeRead | CFile::shareDenyNone | CFile::typeText);
    if (read.IsOpened()) {
        CString line;
        while (old.ReadString(line))
            lines.push_back(line);
        old.NoteReadFailure(read);
        old.Close();
    }
    if (pRead != nullptr)
        *pRead = read;
    // Its lines would be lost: a list held by another program, or one whose
    // reading failed part-way, stays whole.
    if (read.IsUnreadable())
        return FALSE;
    CAtomicTextFile file;
    if (!file.Begin(target))
        return FALSE;
    for (const CString& line : lines)
        file.WriteString(line + "\n");
    file.WriteString(text);
    return file.Commit(pWriteError);
}

BOOL CAtomicTextFile::Begin(LPCTSTR target)
{
    Abandon();
    if (target == nullptr || *target == '\0' || g_fault == kFailCreate)
        return FALSE;
    m_target = target;
    m_temp = TempPathFor(target);
    m_bytes.clear();
    m_failed = false;
    m_error = 0;
    return TRUE;
}

BOOL CAtomicTextFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_failed || m_temp.IsEmpty())
        return FALSE;
    if (g_fault == kFailWrite && nCount > 0) {
        // A full disk: the text cannot be kept.
        m_failed = true;
        return FALSE;
    }
    m_bytes.append(static_cast<const char*>(lpBuf), nCount);
    return TRUE;
}

BOOL CAtomicTextFile::Commit(DWORD* pError)
{
    if (m_temp.IsEmpty() || m_failed || !WriteTemp() || !MoveOverTarget()) {
        if (pError != nullptr)
            *pError = m_error;
        Abandon();
        return FALSE;
    }
    m_tempMade = false;
    m_temp.Empty();
    m_bytes.clear();
    return TRUE;
}

// The whole text in one write, checked before the move: every byte reached
// the disk.
bool CAtomicTextFile::WriteTemp()
{
    if (!Open(m_temp, modeCreate | modeWrite | shareExclusive | typeText)) {
        m_error = m_nOpenError;
        return false;
    }
    m_tempMade = true;
    const UINT size = static_cast<UINT>(m_bytes.size());
    const bool written = (size == 0 || CStdioFile::Write(m_bytes.data(), size)) && Flush();
    if (!written)
        m_error = FilePlatform::LastError();
    const bool whole = written && GetLength() == m_bytes.size();
    Close();
    return whole;
}

bool CAtomicTextFile::SameAsTarget() const
{
    if (m_failed || m_temp.IsEmpty())
        return false;
    CFile target;
    if (!target.Open(m_target, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary) ||
        target.GetLength() != m_bytes.size())
        return false;
    std::string held(m_bytes.size(), '\0');
    return target.Read(&held[0], static_cast<UINT>(held.size())) == held.size() && held == m_bytes;
}

BOOL CAtomicTextFile::CommitIfChanged(DWORD* pError)
{
    if (!SameAsTarget())
        return Commit(pError);
    Abandon();
    return TRUE;
}

bool CAtomicTextFile::MoveOverTarget()
{
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(kMoveRetryMs));
        const bool refused =
            g_fault == kFailMove || (g_fault == kFailFirstMove && attempt == 0);
        if (!refused && FileSystem::MoveFileReplace(m_temp, m_target))
            return true;
        m_error = refused ? 0 : FilePlatform::LastError();
    }
    return false;
}

void CAtomicTextFile::Abandon()
{
    Close();
    // A temporary file left behind (held by a scanner) holds no one's data
    // and is replaced by this process's next write.
    if (m_tempMade)
        (void)FileSystem::RemoveFile(m_temp);
    m_tempMade = false;
    m_temp.Empty();
    m_bytes.clear();
}
