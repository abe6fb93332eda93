#include "shared/ExternalEditor.h"

#include "shared/RegKey.h"

CString ReadEditorPath(LPCSTR keyPath)
{
    CRegKey key;
    CString path;
    if (key.Open(HKEY_LOCAL_MACHINE, keyPath) != ERROR_SUCCESS || key.QueryString(nullptr, path) != ERROR_SUCCESS ||
        path.IsEmpty())
        return "notepad.exe";
    // The editor's path fits a path buffer.
    return path.Left(MAX_PATH - 1);
}

namespace {

void WaitForProcess(HANDLE process, HWND hWndDisable)
{
    const bool disabled = hWndDisable != nullptr && ::IsWindowEnabled(hWndDisable) &&
                          !::EnableWindow(hWndDisable, FALSE);
    while (::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        // Peeking delivers the pending sent messages and removes nothing.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (disabled && ::IsWindow(hWndDisable))
        ::EnableWindow(hWndDisable, TRUE);
}

} // namespace

bool RunEditorAndWait(const CString& editor, const CString& file, HWND hWndDisable)
{
    CString commandLine = editor.Left(1) == "\"" ? editor : "\"" + editor + "\"";
    commandLine += " \"" + file + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // CreateProcess may write into the command line.
    std::string buffer(static_cast<LPCSTR>(commandLine), static_cast<size_t>(commandLine.GetLength()));
    buffer.push_back('\0');
    if (!::CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForProcess(process.hProcess, hWndDisable);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}
