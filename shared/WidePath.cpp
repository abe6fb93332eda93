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
    std::wstring shortPath(MAX_PATH, L'\0');
    DWORD length = ::GetShortPathNameW(path.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size()));
    if (length >= shortPath.size()) {
        shortPath.resize(length);
        length = ::GetShortPathNameW(path.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size()));
    }
    shortPath.resize(length < shortPath.size() ? length : 0);
    return Choose(path, shortPath, ansi);
}

Status GetModulePath(HMODULE module, CString& path, std::wstring* wide)
{
    // The name may be longer than MAX_PATH; the buffer grows until it fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, &name[0], static_cast<DWORD>(name.size()));
        if (length == 0 || name.size() >= 0x8000) {
            name.clear();
            break;
        }
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    if (wide != nullptr)
        *wide = name;
    if (name.empty()) {
        path.Empty();
        return kUnusable;
    }
    return ToAnsiPath(name, path);
}

Status GetProgramFolder(CString& folder, std::wstring* wide)
{
    CString path;
    std::wstring widePath;
    const Status status = GetModulePath(nullptr, path, &widePath);
    folder = ProgramPath::FolderOf(path, '\\');
    if (wide != nullptr) {
        const size_t slash = widePath.rfind(L'\\');
        *wide = slash == std::wstring::npos ? std::wstring() : widePath.substr(0, slash + 1);
    }
    return folder.IsEmpty() ? kUnusable : status;
}

} // namespace WidePath
