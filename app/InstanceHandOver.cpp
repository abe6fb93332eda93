#include "app/InstanceHandOver.h"

#include "shared/FrameMessages.h"

namespace InstanceHandOver {

CStartupLock::CStartupLock(LPCTSTR name, DWORD timeoutMs)
{
    m_hMutex = CreateMutexA(nullptr, FALSE, name);
    if (m_hMutex == nullptr)
        return;
    // An abandoned mutex (a start that died) is ours all the same.
    DWORD wait = WaitForSingleObject(m_hMutex, timeoutMs);
    m_held = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

void CStartupLock::Release()
{
    if (m_held)
        ReleaseMutex(m_hMutex);
    m_held = false;
    if (m_hMutex != nullptr)
        CloseHandle(m_hMutex);
    m_hMutex = nullptr;
}

bool SendToRunningInstance(HWND running, LPCTSTR commandLine, bool activate)
{
    if (activate) {
        SetForegroundWindow(running);
        if (!(GetWindowLongA(running, GWL_STYLE) & WS_VISIBLE))
            ShowWindow(running, SW_SHOW);
    }
    if (commandLine == nullptr || commandLine[0] == '\0')
        return true;

    // A global atom holds at most 255 characters; GlobalAddAtomA fails
    // beyond that and the text goes by WM_COPYDATA instead.
    ATOM atom = GlobalAddAtomA(commandLine);
    if (atom != 0) {
        if (PostMessageA(running, WM_FRAME_OPENCOMMANDLINE, atom, 0))
            return true;
        GlobalDeleteAtom(atom);
        return false;
    }
    COPYDATASTRUCT data = {};
    data.dwData = VA_COPYDATA_OPENCOMMANDLINE;
    data.cbData = lstrlenA(commandLine) + 1;
    data.lpData = const_cast<LPSTR>(commandLine);
    DWORD_PTR result = 0;
    // A hung instance must not hang this one as well.
    return SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

bool ReadAtomText(ATOM atom, CString& text)
{
    char buffer[4096];
    UINT length = GlobalGetAtomNameA(atom, buffer, sizeof(buffer));
    if (length == 0)
        return false;
    text = CString(buffer, static_cast<int>(length));
    return true;
}

CString NormalizeText(const CString& text)
{
    CString result = text;
    if (result.GetLength() >= 2 && result[0] == '"')
        result = result.Mid(1, result.GetLength() - 2);
    result.Remove('"');
    return result;
}

} // namespace InstanceHandOver
