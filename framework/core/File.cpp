#include "framework/core/File.h"

#include <cstring>
#include <string>

#include "framework/core/FilePlatform.h"

//--- FileReadState

CString FileReadState::ReasonOf(DWORD error)
{
    char text[512] = {};
    FilePlatform::ErrorText(error, text, sizeof(text));
    CString reason(text);
    reason.AppendFormat(reason.IsEmpty() ? "(%lu)" : " (%lu)", static_cast<unsigned long>(error));
    return reason;
}

//--- CFile

CFile::CFile()
    : m_hFile(kInvalidHandle)
{
}

CFile::~CFile()
{
    CFile::Close();
}

namespace {

bool g_failSecondRead = false;
// The code a read of a byte range another program locked fails with.
const DWORD kLockViolation = 33;

} // namespace

void CFile::InjectSecondReadFailure(bool bOn)
{
    g_failSecondRead = bOn;
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    Close();
    m_nOpenError = 0;
    m_bReadFailed = false;
    m_nReadError = 0;
    m_nReads = 0;
    if (!lpszFileName || !*lpszFileName)
        return FALSE;
    INT_PTR h = FilePlatform::Open(lpszFileName, nOpenFlags);
    if (h == FilePlatform::kInvalid) {
        m_nOpenError = FilePlatform::LastError();
        return FALSE;
    }
    m_hFile = h;
    m_strFileName = lpszFileName;
    return TRUE;
}

BOOL CFile::IsOpen() const
{
    return m_hFile != kInvalidHandle;
}

FileReadState CFile::OpenToRead(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    FileReadState state;
    state.path = lpszFileName != nullptr ? lpszFileName : "";
    if (Open(lpszFileName, nOpenFlags)) {
        state.result = FileReadState::kOpened;
    } else if (state.path.IsEmpty() || FilePlatform::IsNotFoundError(m_nOpenError)) {
        // An empty path names no file at all.
        state.result = FileReadState::kMissing;
    } else {
        state.result = FileReadState::kUnreadable;
        state.error = m_nOpenError;
    }
    return state;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (!IsOpen() || nCount == 0 || m_bReadFailed)
        return 0;
    UINT nRead = 0;
    if (g_failSecondRead && ++m_nReads == 2) {
        m_bReadFailed = true;
        m_nReadError = kLockViolation;
        return 0;
    }
    if (!FilePlatform::Read(m_hFile, lpBuf, nCount, &nRead)) {
        m_bReadFailed = true;
        m_nReadError = FilePlatform::LastError();
        return 0;
    }
    return nRead;
}

void CFile::NoteReadFailure(FileReadState& state) const
{
    if (!m_bReadFailed || !state.IsOpened())
        return;
    state.result = FileReadState::kUnreadable;
    state.error = m_nReadError;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount)
{
    if (!IsOpen())
        return FALSE;
    return nCount == 0 || FilePlatform::Write(m_hFile, lpBuf, nCount);
}

BOOL CFile::Flush()
{
    return IsOpen() && FilePlatform::Flush(m_hFile);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (!IsOpen())
        return kSeekError;
    LONGLONG pos = FilePlatform::Seek(m_hFile, lOff, nFrom);
    return pos < 0 ? kSeekError : static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetPosition() const
{
    if (!IsOpen())
        return kSeekError;
    LONGLONG pos = FilePlatform::Seek(m_hFile, 0, current);
    return pos < 0 ? kSeekError : static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const
{
    if (!IsOpen())
        return 0;
    LONGLONG size = FilePlatform::GetSize(m_hFile);
    return size < 0 ? 0 : static_cast<ULONGLONG>(size);
}

void CFile::Close()
{
    if (IsOpen()) {
        FilePlatform::Close(m_hFile);
        m_hFile = kInvalidHandle;
    }
    m_strFileName.Empty();
}

//--- CStdioFile

CStdioFile::CStdioFile()
    : m_bTextMode(TRUE), m_pBuffer(nullptr), m_nBufPos(0), m_nBufEnd(0)
{
}

CStdioFile::~CStdioFile()
{
    CStdioFile::Close();
    delete[] m_pBuffer;
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags)
{
    m_nBufPos = m_nBufEnd = 0;
    m_bTextMode = (nOpenFlags & typeBinary) == 0;
    return CFile::Open(lpszFileName, nOpenFlags);
}

BOOL CStdioFile::FillBuffer()
{
    if (m_nBufPos < m_nBufEnd)
        return TRUE;
    if (!m_pBuffer)
        m_pBuffer = new char[kBufferSize];
    m_nBufPos = m_nBufEnd = 0;
    m_nBufEnd = CFile::Read(m_pBuffer, kBufferSize);
    return m_nBufEnd > 0;
}

// Gives the read-ahead back to the file, so that the file position is the
// caller's position again before a write or a seek.
BOOL CStdioFile::DropReadBuffer()
{
    UINT unread = m_nBufEnd - m_nBufPos;
    m_nBufPos = m_nBufEnd = 0;
    if (unread == 0)
        return TRUE;
    return CFile::Seek(-static_cast<LONGLONG>(unread), current) != kSeekError;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    bool bAny = false;
    bool bLineEnd = false;
    while (!bLineEnd && FillBuffer()) {
        const char* start = m_pBuffer + m_nBufPos;
        UINT avail = m_nBufEnd - m_nBufPos;
        const void* lf = std::memchr(start, '\n', avail);
        UINT take = lf ? static_cast<UINT>(static_cast<const char*>(lf) - start) : avail;
        rString.Append(start, static_cast<int>(take));
        m_nBufPos += take;
        if (lf) {
            ++m_nBufPos;
            bLineEnd = true;
        }
        bAny = true;
    }
    if (!bAny)
        return FALSE;
    // The CR of a CR LF may come in an earlier buffer than its LF, so it is
    // stripped from the assembled line. A CR elsewhere is text.
    int len = rString.GetLength();
    if (bLineEnd && m_bTextMode && len > 0 && rString[len - 1] == '\r')
        rString.Delete(len - 1);
    return TRUE;
}

BOOL CStdioFile::WriteString(LPCTSTR psz)
{
    if (!psz)
        return FALSE;
    return WriteText(psz, std::strlen(psz));
}

BOOL CStdioFile::WriteString(const CString& text)
{
    return WriteText(text.GetString(), static_cast<size_t>(text.GetLength()));
}

BOOL CStdioFile::WriteText(const char* p, size_t length)
{
    if (!m_bTextMode)
        return Write(p, static_cast<UINT>(length));
    std::string text;
    text.reserve(length);
    for (const char* end = p + length; p != end; ++p) {
        if (*p == '\n')
            text += '\r';
        text += *p;
    }
    return Write(text.data(), static_cast<UINT>(text.size()));
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    char* out = static_cast<char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        UINT avail = m_nBufEnd - m_nBufPos;
        if (avail > 0) {
            UINT n = avail < nCount - done ? avail : nCount - done;
            std::memcpy(out + done, m_pBuffer + m_nBufPos, n);
            m_nBufPos += n;
            done += n;
        } else if (nCount - done >= kBufferSize) {
            UINT n = CFile::Read(out + done, nCount - done);
            if (n == 0)
                break;
            done += n;
        } else if (!FillBuffer()) {
            break;
        }
    }
    return done;
}

BOOL CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    return DropReadBuffer() && CFile::Write(lpBuf, nCount);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (!DropReadBuffer())
        return kSeekError;
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    ULONGLONG pos = CFile::GetPosition();
    if (pos == kSeekError)
        return pos;
    return pos - (m_nBufEnd - m_nBufPos);
}

void CStdioFile::Close()
{
    m_nBufPos = m_nBufEnd = 0;
    CFile::Close();
}
