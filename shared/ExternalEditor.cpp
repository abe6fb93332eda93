#include "shared/ExternalEditor.h"

#include <cwchar>
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

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// "X:\..." or "\\server\...": only such a path is looked for on disk, so
// that no name is taken from the current folder.
bool IsFullPath(const std::wstring& path)
{
    return (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') ||
           (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\');
}

bool IsExistingFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring SystemNotepad()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring path = n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
    return path.empty() || path.back() == L'\\' ? path + L"notepad.exe" : path + L"\\notepad.exe";
}

} // namespace

EditorCommand SplitEditorCommand(const std::wstring& value)
{
    const std::wstring text = Trimmed(value);
    EditorCommand command;
    if (!text.empty() && text[0] == L'"') {
        const size_t end = text.find(L'"', 1);
        command.program = text.substr(1, end == std::wstring::npos ? end : end - 1);
        if (end != std::wstring::npos)
            command.arguments = Trimmed(text.substr(end + 1));
    } else {
        size_t end = text.find_first_of(L" \t");
        if (IsFullPath(text)) {
            // Longest first: a shorter run may name another program
            // ("C:\ed" for "C:\ed it\ed.exe").
            end = text.size();
            while (end != std::wstring::npos && !IsExistingFile(text.substr(0, end)))
                end = end > 0 ? text.find_last_of(L" \t", end - 1) : std::wstring::npos;
            if (end == std::wstring::npos)
                end = text.find_first_of(L" \t");
        }
        command.program = Trimmed(text.substr(0, end));
        if (end != std::wstring::npos)
            command.arguments = Trimmed(text.substr(end));
    }
    if (command.program.empty() || _wcsicmp(command.program.c_str(), L"notepad.exe") == 0)
        command.program = SystemNotepad();
    return command;
}

EditorCommand ReadEditorCommand(LPCSTR keyPath)
{
    return SplitEditorCommand(ReadEditorValue(keyPath));
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

// The editor started on the file, for the length of the scope: its process
// and thread handles are closed when the scope ends, or by the guard of a
// fault that breaks it off (a wait for the editor among them).
class CStartedEditor
{
public:
    CStartedEditor(const EditorCommand& editor, const CString& file)
    {
        // The program is quoted, so that the system takes it whole and never
        // tries a shorter run of a path that holds a space.
        std::wstring commandLine = L"\"" + editor.program + L"\"";
        if (!editor.arguments.empty())
            commandLine += L" " + editor.arguments;
        commandLine += L" \"" + WidePath::FromAnsi(file) + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        // CreateProcess may write into the command line.
        std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back(L'\0');
        if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return;
        m_process = process.hProcess;
        m_hold.Hold(&Close, reinterpret_cast<ULONG_PTR>(process.hProcess),
                    reinterpret_cast<ULONG_PTR>(process.hThread));
    }
    CStartedEditor(const CStartedEditor&) = delete;
    CStartedEditor& operator=(const CStartedEditor&) = delete;

    // The process, null when it did not start.
    HANDLE Process() const { return m_process; }

private:
    static void Close(const ULONG_PTR* data)
    {
        for (int i = 0; i < 2; ++i)
            if (data[i] != 0)
                ::CloseHandle(reinterpret_cast<HANDLE>(data[i]));
    }

    HANDLE m_process = nullptr;
    CFaultHold m_hold;
};

} // namespace

bool RunEditorAndWait(const EditorCommand& editor, const CString& file, HWND hWndDisable)
{
    CStartedEditor started(editor, file);
    if (started.Process() == nullptr)
        return false;
    WaitForProcess(started.Process(), hWndDisable);
    return true;
}

bool StartEditor(const EditorCommand& editor, const CString& file)
{
    CStartedEditor started(editor, file);
    return started.Process() != nullptr;
}
