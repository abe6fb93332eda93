#include "tab/DroppedFiles.h"

#include <shlobj.h>

#include <cstring>

#include "framework/app/FaultGuard.h"
#include "lists/FavoritesScan.h"
#include "shared/AppData.h"
#include "shared/StartupList.h"
#include "shared/WidePath.h"

namespace {

// A box names this many files at most; a count stands for the rest.
const size_t kMaxNamesShown = 10;

// The block's names need not be aligned for WCHAR.
WCHAR WideAt(const BYTE* block, SIZE_T offset)
{
    WCHAR ch;
    memcpy(&ch, block + offset, sizeof(ch));
    return ch;
}

DroppedFile FromWide(const WCHAR* name, size_t chars)
{
    DroppedFile file;
    file.name.assign(name, chars);
    // A best-fit spelling may name another file ("résumé" -> "resume").
    CString path;
    if (WidePath::ToAnsiPath(file.name, path) != WidePath::kUnusable)
        file.path = path;
    return file;
}

DroppedFile FromAnsi(const char* name, size_t bytes)
{
    DroppedFile file;
    file.path = CString(name, static_cast<int>(bytes));
    file.name = WidePath::FromAnsi(file.path);
    return file;
}

} // namespace

bool ReadDroppedFiles(HGLOBAL hDrop, std::vector<DroppedFile>& files)
{
    files.clear();
    const SIZE_T size = hDrop != nullptr ? ::GlobalSize(hDrop) : 0;
    if (size < sizeof(DROPFILES))
        return false;
    const BYTE* block = static_cast<const BYTE*>(::GlobalLock(hDrop));
    if (block == nullptr)
        return false;
    const DROPFILES* header = reinterpret_cast<const DROPFILES*>(block);
    const bool wide = header->fWide != FALSE;
    const SIZE_T unit = wide ? sizeof(WCHAR) : 1;
    bool complete = false;
    // Offsets are compared as room left in the block, never as sums: the
    // header's offset is any 32-bit value, and on the 32-bit build an offset
    // near 4 GB plus a character's size would wrap to the block's start.
    SIZE_T at = header->pFiles;
    while (at >= sizeof(DROPFILES) && at <= size && size - at >= unit) {
        SIZE_T end = at;
        if (wide) {
            while (size - end >= unit && WideAt(block, end) != L'\0')
                end += unit;
        } else {
            while (end < size && block[end] != '\0')
                ++end;
        }
        if (size - end < unit)
            break;  // a name without its terminator
        if (end == at) {
            complete = true;  // the empty name that ends the list
            break;
        }
        if (wide) {
            std::vector<WCHAR> name((end - at) / unit);
            memcpy(name.data(), block + at, end - at);
            files.push_back(FromWide(name.data(), name.size()));
        } else {
            files.push_back(FromAnsi(reinterpret_cast<const char*>(block + at), end - at));
        }
        at = end + unit;
    }
    ::GlobalUnlock(hDrop);
    if (!complete)
        files.clear();
    return complete;
}

bool IsShortcutName(const DroppedFile& file)
{
    const std::wstring& name = file.name;
    const size_t dot = name.rfind(L'.');
    if (name.find(L'\\') == std::wstring::npos || dot == std::wstring::npos || name.size() - dot != 4)
        return false;
    static const wchar_t kExtension[] = L".URL";
    for (size_t i = 0; i < 4; ++i) {
        wchar_t ch = name[dot + i];
        if (ch >= L'a' && ch <= L'z')
            ch = static_cast<wchar_t>(ch - L'a' + L'A');
        if (ch != kExtension[i])
            return false;
    }
    return true;
}

bool AsDroppedAddress(CString& text)
{
    if (strncmp(text, "ttp://", 6) == 0 || strncmp(text, "ttps://", 7) == 0)
        text = "h" + text;
    if (!IsUrlForm(text))
        return false;
    text.Remove('\n');
    text.Remove('\r');
    return true;
}

bool ReadDroppedShortcut(const DroppedFile& file, CString& url)
{
    return ReadShortcutUrl(file.name, url);
}

namespace {

struct PendingReport
{
    HWND hOwner;
    std::vector<std::wstring> names;
};

std::vector<PendingReport> s_pendingReports;
UINT_PTR s_reportTimer = 0;

void ShowUnreachableFiles(HWND hOwner, const std::vector<std::wstring>& names)
{
    // A wide text: the names are the very ones the code page cannot hold.
    std::wstring text = L"次のファイルは開けません。名前にこのプログラムが扱えない文字があり、"
                        L"短い名前もありません。\n";
    for (size_t i = 0; i < names.size() && i < kMaxNamesShown; ++i)
        text += L"\n" + names[i];
    if (names.size() > kMaxNamesShown)
        text += L"\nほか " + std::to_wstring(names.size() - kMaxNamesShown) + L" 件";
    const std::wstring caption = WidePath::FromAnsi(AppClassName());
    ::MessageBoxW(::IsWindow(hOwner) ? hOwner : nullptr, text.c_str(), caption.c_str(),
                  MB_OK | MB_ICONWARNING);
}

void ShowPendingReports(HWND, UINT_PTR id)
{
    ::KillTimer(nullptr, id);
    if (id == s_reportTimer)
        s_reportTimer = 0;
    std::vector<PendingReport> reports;
    reports.swap(s_pendingReports);
    for (const PendingReport& report : reports)
        ShowUnreachableFiles(report.hOwner, report.names);
}

} // namespace

void ReportUnreachableFiles(HWND hOwner, const std::vector<std::wstring>& names)
{
    if (names.empty())
        return;
    // The names are copied and shown from the message loop, once the drop
    // has returned: the program the files were dragged from waits for it.
    // A timer is never lost to a modal loop, unlike a thread message.
    s_pendingReports.push_back({hOwner, names});
    if (s_reportTimer == 0)
        s_reportTimer = AfxSetGuardedTimer<ShowPendingReports>(nullptr, 0, USER_TIMER_MINIMUM);
    if (s_reportTimer == 0)  // no timer to be had: said now rather than never
        ShowPendingReports(nullptr, 0);
}
