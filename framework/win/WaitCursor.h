// CWaitCursor: the wait cursor for the length of a scope.
#ifndef VA_FRAMEWORK_WIN_WAITCURSOR_H
#define VA_FRAMEWORK_WIN_WAITCURSOR_H

#include "framework/win/WinDefs.h"

class CWaitCursor
{
public:
    CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};

#endif // VA_FRAMEWORK_WIN_WAITCURSOR_H
