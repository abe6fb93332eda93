#include "tests/support/DialogTemplates.h"

#include <algorithm>
#include <cstring>

namespace {

BOOL CALLBACK CollectDialogId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<WORD>*>(param)->push_back(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// The template's bytes; empty when the module has no such dialog.
std::vector<BYTE> TemplateBytes(HMODULE hModule, WORD id)
{
    HRSRC hRes = ::FindResourceW(hModule, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL hGlobal = hRes != nullptr ? ::LoadResource(hModule, hRes) : nullptr;
    const BYTE* pBytes = hGlobal != nullptr ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    if (pBytes == nullptr)
        return {};
    return std::vector<BYTE>(pBytes, pBytes + ::SizeofResource(hModule, hRes));
}

// Where the style lies: an extended template (0xFFFF in its second word)
// keeps it after its version, signature, help id and extended style.
size_t StyleOffset(const std::vector<BYTE>& bytes)
{
    const bool bExtended = bytes.size() >= 4 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    return bExtended ? 12 : 0;
}

bool ReadStyle(const std::vector<BYTE>& bytes, DWORD* pStyle)
{
    const size_t at = StyleOffset(bytes);
    if (bytes.size() < at + sizeof(DWORD))
        return false;
    std::memcpy(pStyle, &bytes[at], sizeof(DWORD));
    return true;
}

INT_PTR CALLBACK DoNothingDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

} // namespace

std::vector<WORD> DialogTemplateIds(HMODULE hModule)
{
    std::vector<WORD> ids;
    ::EnumResourceNamesW(hModule, MAKEINTRESOURCEW(5) /* RT_DIALOG */, CollectDialogId,
                         reinterpret_cast<LONG_PTR>(&ids));
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

DWORD DialogTemplateStyle(HMODULE hModule, WORD id)
{
    DWORD dwStyle = 0;
    return ReadStyle(TemplateBytes(hModule, id), &dwStyle) ? dwStyle : 0;
}

HWND CreateTemplateDialog(HMODULE hModule, WORD id, HWND hParent)
{
    std::vector<BYTE> bytes = TemplateBytes(hModule, id);
    DWORD dwStyle = 0;
    if (!ReadStyle(bytes, &dwStyle))
        return nullptr;
    // Hidden until the caller shows it; a control whose class is missing
    // here (an ActiveX placeholder's, say) must not cost the whole dialog.
    dwStyle = (dwStyle & ~static_cast<DWORD>(WS_VISIBLE)) | DS_NOFAILCREATE;
    std::memcpy(&bytes[StyleOffset(bytes)], &dwStyle, sizeof(dwStyle));
    // The window takes its instance from the test program, not from a data
    // file's handle: nothing in a template is loaded from it but icons,
    // and the templates name theirs by empty text.
    return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                        reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), hParent,
                                        DoNothingDialogProc, 0);
}

ResourceModule::ResourceModule(const std::string& path)
    : m_hModule(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
{
}

ResourceModule::~ResourceModule()
{
    if (m_hModule != nullptr)
        ::FreeLibrary(m_hModule);
}
