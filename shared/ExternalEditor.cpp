#include "shared/ExternalEditor.h"

#include <string>
#include <vector>

#include "framework/app/FaultGuard.h"
#include "shared/RegKey.h"
#include "shared/WidePath.h"

namespace {

// The default value of the key, read wide and expanded; empty when there is
// none to take.
std::wstring ReadEditorValue(LPCSTR keyPath)
{
    // An empty path would open the root of the hive itself.
    CRegKey key;
    if (keyPath == nullptr || *keyPath == '\0' || key.Open(HKEY_LOCAL_MACHINE, keyPath) != ERROR_SUCCESS)
        return std::wstring();
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::wstring();
    if (type != REG_EXPAND_SZ)
        return buffer;
    // "%ProgramFiles%\..." names the editor only once expanded.
    wchar_t expanded[MAX_PATH * 2] = {};
    const DWORD n = ::ExpandEnvironmentStringsW(buffer, expanded, MAX_PATH * 2);
    return n > 0 && n <= MAX_PATH * 2 ? std::wstring(expanded) : std::wstring(buffer);
}

} // namespace

std::wstring ReadEditorCommand(LPCSTR keyPath)
{
    const std::wstring value = ReadEditorValue(keyPath);
    return value.empty() ? std::wstring(L"notepad.exe") : value;
}

CString ReadEditorPath(LPCSTR keyPath)
{
    const std::wstring value = ReadEditorValue(keyPath);
    if (value.empty())
        return "notepad.exe";
    // An editor in a folder beyond the code page is reached by its short
    // name. A quoted path keeps its quotes and the rest.
    const bool quoted = value[0] == L'"';
    const size_t end = quoted ? value.find(L'"', 1) : std::wstring::npos;
    const std::wstring path = quoted ? value.substr(1, end == std::wstring::npos ? end : end - 1) : value;
    CString ansi;
    // Without one its best-fit spelling would name a look-alike file.
    if (WidePath::ToAnsiPath(path, ansi) == WidePath::kUnusable)
        return CString();
    if (!quoted)
        return ansi;
    return "\"" + ansi + "\"" +
           (end == std::wstring::npos ? CString() : WidePath::ToBestFitAnsi(value.substr(end + 1)));
}

namespace {

void WaitForProcess(HANDLE process, HWND hWndDisable)
{
    // The window takes input again after the wait, also when a fault breaks
    // the wait off.
    CFaultHold enableAgain;
    if (hWndDisable != nullptr && ::IsWindowEnabled(hWndDisable) && !::EnableWindow(hWndDisable, FALSE))
        enableAgain.Hold(
            [](const ULONG_PTR* data) {
                const HWND hWnd = reinterpret_cast<HWND>(data[0]);
                if (::IsWindow(hWnd))
                    ::EnableWindow(hWnd, TRUE);
            },
            reinterpret_cast<ULONG_PTR>(hWndDisable));
    while (::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        // Peeking delivers the pending sent messages and removes nothing.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

bool RunEditorAndWait(const std::wstring& editor, const CString& file, HWND hWndDisable)
{
    std::wstring commandLine = !editor.empty() && editor[0] == L'"' ? editor : L"\"" + editor + L"\"";
    commandLine += L" \"" + WidePath::FromAnsi(file) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // CreateProcess may write into the command line.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForProcess(process.hProcess, hWndDisable);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}
