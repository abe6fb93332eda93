// Files: CFile (raw bytes) and CStdioFile (buffered lines, text mode).
//
// Classes in this file:
//   FileReadState  how opening a file for reading went, and why it failed
//   CFile          an open file; failures are results, never exceptions
//   CStdioFile     line reading and writing with CR LF line ends on disk
//
// File names are cp932 byte strings, passed to the system unchanged.
#ifndef VA_FRAMEWORK_CORE_FILE_H
#define VA_FRAMEWORK_CORE_FILE_H

#include "framework/core/CString.h"
#include "framework/core/Types.h"

//--- FileReadState
// A missing file (nothing at the path, or no folder on the way) is told from
// one that is there but could not be opened: held by another program, no
// rights, a folder of that name. A list reader falls back to its defaults
// only for a missing file, and an editor never writes over a file it could
// not read.
struct FileReadState
{
    enum Result { kOpened, kMissing, kUnreadable };

    Result result = kMissing;
    CString path;     // the file tried
    DWORD error = 0;  // the system's code; 0 when the file opened

    bool IsOpened() const { return result == kOpened; }
    bool IsUnreadable() const { return result == kUnreadable; }
    // The system's own words for the error, with its code: "... (32)".
    CString Reason() const { return ReasonOf(error); }
    static CString ReasonOf(DWORD error);
};

//--- CFile
class CFile
{
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,      // no share flag: others may read and write
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,    // always so: handles are never inherited
        modeCreate = 0x1000,       // create, or truncate an existing file...
        modeNoTruncate = 0x2000,   // ...unless this is given too
        typeText = 0x4000,         // CStdioFile only; the default there
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    // Returned by Seek on failure.
    static constexpr ULONGLONG kSeekError = ~0ULL;

    CFile();
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Returns FALSE (and leaves the object closed) if the file cannot be
    // opened, including when the name is a folder. Closes a file already open.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags);
    BOOL IsOpen() const;
    // Open, telling a missing file from one that would not open.
    FileReadState OpenToRead(LPCTSTR lpszFileName, UINT nOpenFlags);

    // Returns the number of bytes read: 0 at end of file or on failure. A
    // failure (a byte range another program locked, a lost network file)
    // is kept, and every later read gives 0 too, until the next Open.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Whether a read failed since the file was opened: what was read is not
    // the whole file. The system's code comes with it.
    bool ReadFailed() const { return m_bReadFailed; }
    DWORD GetReadError() const { return m_nReadError; }
    // A file whose reading failed part-way counts as one that could not be
    // read: state (from OpenToRead) becomes kUnreadable with the read's
    // error. A reader calls this when it has read what it wanted.
    void NoteReadFailure(FileReadState& state) const;

    // Makes the second read of every file opened later fail, as a lock
    // taken by another program after the open would, until set back.
    // For tests of the readers.
    static void InjectSecondReadFailure(bool bOn);
    // Returns FALSE unless all nCount bytes were written.
    [[nodiscard]] virtual BOOL Write(const void* lpBuf, UINT nCount);
    virtual BOOL Flush();
    // Returns the new position, or kSeekError.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void Close();

    const CString& GetFilePath() const { return m_strFileName; }

protected:
    static constexpr INT_PTR kInvalidHandle = -1;

    INT_PTR m_hFile;        // platform handle (see FilePlatform.h)
    CString m_strFileName;
    DWORD m_nOpenError = 0;
    bool m_bReadFailed = false;
    DWORD m_nReadError = 0;
    UINT m_nReads = 0;      // platform reads since the open
};

//--- CStdioFile
// Text mode (the default; typeBinary turns it off) keeps LF line ends in
// memory and CR LF on disk. Read, Write and Seek pass bytes unchanged in both
// modes and may be mixed with the line functions.
class CStdioFile : public CFile
{
public:
    CStdioFile();
    ~CStdioFile() override;

    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags) override;

    // Reads the next line without its line end (text mode: CR LF or LF;
    // binary mode: LF only). Returns FALSE, with rString empty, at end of file.
    BOOL ReadString(CString& rString);
    // Writes psz; in text mode each '\n' is written as CR LF.
    BOOL WriteString(LPCTSTR psz);
    // The same for a counted text: a NUL byte inside it is written too, so a
    // value never ends early.
    BOOL WriteString(const CString& text);

    UINT Read(void* lpBuf, UINT nCount) override;
    [[nodiscard]] BOOL Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    void Close() override;

private:
    static constexpr UINT kBufferSize = 4096;

    BOOL FillBuffer();
    BOOL DropReadBuffer();
    BOOL WriteText(const char* p, size_t length);

    BOOL m_bTextMode;
    char* m_pBuffer;        // read-ahead; m_nBufPos..m_nBufEnd is unread
    UINT m_nBufPos;
    UINT m_nBufEnd;
};

#endif // VA_FRAMEWORK_CORE_FILE_H
