// Handing a command line from a second start to the running instance, and
// the running instance's side of it.
#ifndef VA_APP_INSTANCEHANDOVER_H
#define VA_APP_INSTANCEHANDOVER_H

#include <windows.h>

#include "framework/core/CString.h"

namespace InstanceHandOver {

// Makes the start-up decision one start at a time: a named mutex held from
// before the look for a running window until this start's main window
// exists (or it hands over, or ends). A later start waits for it, bounded,
// so that a hung start cannot keep others from starting.
class CStartupLock
{
public:
    explicit CStartupLock(LPCTSTR name, DWORD timeoutMs = 10000);
    ~CStartupLock() { Release(); }
    CStartupLock(const CStartupLock&) = delete;
    CStartupLock& operator=(const CStartupLock&) = delete;

    // Whether this start holds the lock (false after a time-out).
    bool IsHeld() const { return m_held; }
    void Release();

private:
    HANDLE m_hMutex = nullptr;
    bool m_held = false;
};

// Brings the running window forward when asked, then passes the command line
// (if any): a global atom in WM_FRAME_OPENCOMMANDLINE, or WM_COPYDATA for a
// text that no atom can hold. Returns false when the text could not be
// passed.
bool SendToRunningInstance(HWND running, LPCTSTR commandLine, bool activate);

// The text of a handed-over atom; false (atom left alone) when it cannot be
// read.
bool ReadAtomText(ATOM atom, CString& text);

// The URL to open from a handed-over text: surrounding double quotes taken
// off (only when there are at least two characters), every other quote
// removed.
CString NormalizeText(const CString& text);

} // namespace InstanceHandOver

#endif // VA_APP_INSTANCEHANDOVER_H
