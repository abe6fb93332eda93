#include "shared/WidePath.h"

#include <vector>

#include "shared/ProgramPath.h"

// The ANSI code page, not code page 932 itself: these texts are handed to
// the ANSI functions, which read them in the code page of the process.

namespace WidePath {

namespace {

std::vector<std::wstring> SplitParts(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find(L'\\', start);
        parts.push_back(path.substr(start, slash == std::wstring::npos ? slash : slash - start));
        if (slash == std::wstring::npos)
            return parts;
        start = slash + 1;
    }
}

CString ToAnsi(const std::wstring& text, DWORD flags)
{
    const int length = static_cast<int>(text.size());
    const int bytes = ::WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return CString();
    std::vector<char> buffer(static_cast<size_t>(bytes));
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), length, buffer.data(), bytes, nullptr, nullptr);
    return CString(buffer.data(), bytes);
}

// The short form of an existing path as the system gives it; empty when it
// gives none.
std::wstring SystemShortPath(const std::wstring& path)
{
    std::wstring shortPath(MAX_PATH, L'\0');
    DWORD length = ::GetShortPathNameW(path.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size()));
    if (length >= shortPath.size()) {
        shortPath.resize(length);
        length = ::GetShortPathNameW(path.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size()));
    }
    shortPath.resize(length < shortPath.size() ? length : 0);
    return shortPath;
}

// The full name of a module as the system names it; empty when it names none.
std::wstring ModuleName(HMODULE module)
{
    // The name may be longer than MAX_PATH; the buffer grows until it fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, &name[0], static_cast<DWORD>(name.size()));
        if (length == 0 || name.size() >= 0x8000)
            return std::wstring();
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

// "X:\..." or "\\server\..." ("\\?\X:\..." among them): a path that names
// the same place whatever the current folder and drive are.
bool IsWholePath(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

} // namespace

bool ToExactAnsi(const std::wstring& text, CString& ansi)
{
    // The text back from the code page must be the text itself: a character
    // the code page lacks comes back as another one.
    CString converted = ToAnsi(text, WC_NO_BEST_FIT_CHARS);
    if (FromAnsi(converted) != text) {
        ansi.Empty();
        return false;
    }
    ansi = converted;
    return true;
}

CString ToBestFitAnsi(const std::wstring& text)
{
    return ToAnsi(text, 0);
}

std::wstring FromAnsi(const char* text)
{
    if (text == nullptr || *text == '\0')
        return std::wstring();
    const int chars = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (chars <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], chars);
    wide.resize(static_cast<size_t>(chars) - 1);
    return wide;
}

Status Choose(const std::wstring& path, const std::wstring& shortPath, CString& ansi)
{
    if (ToExactAnsi(path, ansi))
        return kAsIs;
    const std::vector<std::wstring> parts = SplitParts(path);
    const std::vector<std::wstring> shortParts = SplitParts(shortPath);
    bool usable = !shortPath.empty() && parts.size() == shortParts.size();
    CString result;
    for (size_t i = 0; usable && i < parts.size(); ++i) {
        // Readable parts stay as they are; only the others take their short
        // name, which must differ from the long one to be one.
        CString part;
        if (!ToExactAnsi(parts[i], part) &&
            (shortParts[i] == parts[i] || !ToExactAnsi(shortParts[i], part)))
            usable = false;
        if (i > 0)
            result += '\\';
        result += part;
    }
    if (usable) {
        ansi = result;
        return kShortName;
    }
    ansi = ToBestFitAnsi(path);
    return kUnusable;
}

Status ToAnsiPath(const std::wstring& path, CString& ansi)
{
    if (ToExactAnsi(path, ansi))
        return kAsIs;
    return Choose(path, SystemShortPath(path), ansi);
}

Status GetModulePath(HMODULE module, CString& path, std::wstring* wide)
{
    const std::wstring name = ModuleName(module);
    if (wide != nullptr)
        *wide = name;
    const Status status = name.empty() ? kUnusable : ToAnsiPath(name, path);
    if (status == kUnusable)
        path.Empty();
    return status;
}

Status ChooseProgramFolder(const std::wstring& modulePath, const std::wstring& shortPath, CString& folder)
{
    folder.Empty();
    CString path;
    const Status status = IsWholePath(modulePath) ? Choose(modulePath, shortPath, path) : kUnusable;
    if (status == kUnusable)
        return kUnusable;
    folder = ProgramPath::FolderOf(path, '\\');
    return folder.IsEmpty() ? kUnusable : status;
}

Status GetProgramFolder(CString& folder, std::wstring* wide)
{
    const std::wstring module = ModuleName(nullptr);
    CString exact;
    // The system is asked for short names only when they are needed.
    const std::wstring shortPath = ToExactAnsi(module, exact) ? std::wstring() : SystemShortPath(module);
    const Status status = ChooseProgramFolder(module, shortPath, folder);
    if (wide != nullptr) {
        const size_t slash = module.rfind(L'\\');
        *wide = slash == std::wstring::npos ? std::wstring() : module.substr(0, slash + 1);
    }
    return status;
}

} // namespace WidePath
