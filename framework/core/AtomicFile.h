// Replacing a data file whole or not at all.
//
// Classes in this file:
//   CAtomicTextFile   a text file written aside and moved over its target
//
// Every data file of the program is written this way: a kill, a crash, a
// full disk or a second instance writing at the same time leaves either the
// old file or the new one, never a torn or empty one.
#ifndef VA_FRAMEWORK_CORE_ATOMICFILE_H
#define VA_FRAMEWORK_CORE_ATOMICFILE_H

#include <string>

#include "framework/core/File.h"

//--- CAtomicTextFile
// The writer writes to this object as to any CStdioFile (text mode); the text
// is held in memory. Commit writes it at once to a temporary file in the
// target's folder, checks that every byte arrived, then moves the file over
// the target. Until Commit succeeds the target is untouched, and a write that
// is abandoned or fails leaves no temporary file behind.
class CAtomicTextFile : public CStdioFile
{
public:
    // The steps of a replacement, for tests that make one of them fail.
    // kFailRead makes the second read of every file fail after its open (a
    // range another program locked meanwhile), while it could still be
    // replaced.
    enum Fault { kNoFault, kFailCreate, kFailWrite, kFailMove, kFailFirstMove, kFailRead };

    CAtomicTextFile() = default;
    ~CAtomicTextFile() override;

    // Starts a new text for target (nothing is written to disk yet). FALSE
    // for an empty target.
    BOOL Begin(LPCTSTR target);

    // A failed or short write is remembered and fails Commit.
    [[nodiscard]] BOOL Write(const void* lpBuf, UINT nCount) override;

    // Writes the text to the temporary file, flushes and checks it, then
    // moves it over the target. TRUE only when every write and the move
    // succeeded; otherwise the temporary file is removed, the target is as
    // it was and *pError (when given) holds the system's code of the failed
    // step (0 when it gave none).
    [[nodiscard]] BOOL Commit(DWORD* pError = nullptr);

    // TRUE when the target already holds exactly the bytes written so far
    // (a missing or unreadable target never does).
    bool SameAsTarget() const;

    // Commit, unless the target already holds these bytes: then nothing is
    // written and the target keeps its time stamp. An exit that changed
    // nothing creates, writes and flushes nothing. *pError as Commit.
    [[nodiscard]] BOOL CommitIfChanged(DWORD* pError = nullptr);

    // Drops the text (and the temporary file, if made); the target is
    // untouched.
    void Abandon();

    // The temporary name for target: in the same folder (so the move is a
    // rename) and unique per process (so two instances never share it).
    static CString TempPathFor(LPCTSTR target);

    // Copies a file over target the same way: under the temporary name,
    // then moved. FALSE (target untouched) when either step fails, with the
    // system's code of the failed step in *pError when given.
    [[nodiscard]] static BOOL CopyOver(LPCTSTR from, LPCTSTR target, DWORD* pError = nullptr);

    // Rewrites target with its lines as they are and text after them (text
    // brings its own line end). A missing target starts empty; one that is
    // there but cannot be read is left as it is: FALSE, and *pRead (when
    // given) says why. A replacement that fails gives FALSE with the
    // system's code in *pWriteError (when given), as Commit.
    [[nodiscard]] static BOOL AppendText(LPCTSTR target, const CString& text, FileReadState* pRead = nullptr,
                           DWORD* pWriteError = nullptr);

    // Makes one step of every later replacement fail, until set back to
    // kNoFault. For tests of the writers.
    static void InjectFault(Fault fault);

private:
    bool WriteTemp();
    bool MoveOverTarget();

    CString m_target;
    CString m_temp;       // empty when no text is begun
    std::string m_bytes;  // the text, written to disk only by Commit
    bool m_failed = false;
    bool m_tempMade = false;
    DWORD m_error = 0;    // the system's code of the step that failed
};

#endif // VA_FRAMEWORK_CORE_ATOMICFILE_H
