#include "tab/ScriptExternal.h"

#include <windows.h>
#include <mshtml.h>
#include <shlobj.h>
#include <exdisp.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/ole/OleUtil.h"
#include "lists/FavoritesScan.h"
#include "lists/SearchUrl.h"
#include "shared/AppData.h"
#include "shared/FrameMessages.h"
#include "shared/WidePath.h"
#include "tab/TabHost.h"

namespace {

// Argument kinds after the document: i integer (VT_I2, VT_I4, VT_INT),
// 2 VT_I2 only, 4 VT_I4 only, b bool, t text, o object, m text or object.
struct Method
{
    DISPID id;
    const char* name;
    const char* args;
};

const Method kMethods[] = {
    { 3, "CreateParentTab", "t2" }, { 4, "SaveKeyWord", "t" },
    { 5, "GetActiveTabDoc2Ptr", "" }, { 6, "ExecCommand", "4" },
    { 101, "AppPath", "" }, { 102, "ScriptPath", "" }, { 103, "ResourcePath", "" },
    { 104, "Handle", "" }, { 105, "Version", "" }, { 106, "ShiftDown", "" },
    { 107, "CtrlDown", "" }, { 108, "AltDown", "" }, { 109, "GetCount", "" },
    { 110, "GetDocumentID", "i" }, { 111, "GetWindowObject", "i" },
    { 112, "GetDocumentObject", "i" }, { 113, "GetWebBrowserObject", "i" },
    { 200, "NewWindow", "tb" }, { 201, "Close", "i" }, { 202, "Navigate", "it" },
    { 203, "GetIndex", "i" }, { 204, "MsgBox", "t" }, { 205, "MessageBox", "t" },
    { 300, "IsBusy", "i" }, { 301, "SetSecurity", "ibbbbbbb" },
    { 302, "IsJavaScriptEnabled", "i" }, { 303, "IsJavaEnabled", "i" },
    { 304, "IsRunActiveXEnabled", "i" }, { 305, "IsDownloadActiveXEnabled", "i" },
    { 306, "IsPictureEnabled", "i" }, { 307, "IsSoundEnabled", "i" },
    { 308, "IsVideoEnabled", "i" }, { 309, "IsNavigateLock", "i" },
    { 310, "SetNavigateLock", "ib" }, { 311, "IsDomainLock", "i" },
    { 312, "SetDomainLock", "ib" }, { 313, "IsLinkLock", "i" }, { 314, "SetLinkLock", "ib" },
    { 315, "IsWheelLock", "i" }, { 316, "SetWheelLock", "ib" },
    { 317, "GetActiveIndex", "" }, { 318, "GetActiveID", "" }, { 319, "ShowMenu", "m" },
    { 320, "GetURL", "o" }, { 321, "GetTitle", "o" }, { 322, "GetActiveURL", "" },
    { 323, "GetActiveTitle", "" }, { 324, "GetClipString", "" }, { 325, "SetClipString", "t" },
    { 326, "Sprintf", "t" }, { 327, "EncodeSJIS", "t" }, { 328, "EncodeEUC", "t" },
    { 329, "EncodeUTF8", "t" }, { 330, "GetActiveGroupTabTitle", "" },
};
const char kPrefix[] = "Vantorel_";
const DISPID kAddFavorite = 1;
const DISPID kShowBrowserUI = 2;
const int kBuildNumber = 13014;

const Method* FindMethod(DISPID id)
{
    for (const Method& m : kMethods)
        if (m.id == id)
            return &m;
    return nullptr;
}

bool IsInteger(const VARIANT& v)
{
    return v.vt == VT_I2 || v.vt == VT_I4 || v.vt == VT_INT;
}

LONG IntegerOf(const VARIANT& v)
{
    switch (v.vt)
    {
    case VT_I2: return v.iVal;
    case VT_I4: return v.lVal;
    case VT_INT: return v.intVal;
    default: return 0;
    }
}

bool ArgMatches(char kind, const VARIANT& v)
{
    switch (kind)
    {
    case 'i': return IsInteger(v);
    case '2': return v.vt == VT_I2;
    case '4': return v.vt == VT_I4;
    case 'b': return v.vt == VT_BOOL;
    case 't': return v.vt == VT_BSTR;
    case 'o': return v.vt == VT_DISPATCH;
    case 'm': return v.vt == VT_BSTR || v.vt == VT_DISPATCH;
    default: return true;
    }
}

CString TextOf(const VARIANT& v)
{
    return v.vt == VT_BSTR && v.bstrVal != nullptr
               ? VaAnsiFromWide(v.bstrVal, static_cast<int>(::SysStringLen(v.bstrVal)), CP_ACP)
               : CString();
}

void SetText(VARIANT* result, const CString& text)
{
    if (result == nullptr)
        return;
    ::VariantClear(result);
    std::wstring wide = VaWideFromAnsi(text, text.GetLength(), CP_ACP);
    result->vt = VT_BSTR;
    result->bstrVal = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void SetInt(VARIANT* result, int value)
{
    if (result == nullptr)
        return;
    ::VariantClear(result);
    result->vt = VT_INT;
    result->intVal = value;
}

void SetBool(VARIANT* result, bool value)
{
    if (result == nullptr)
        return;
    ::VariantClear(result);
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

// The frame answers an object request with a reference of the caller's own:
// it goes to the result as it is, or is dropped when there is no result.
void SetObject(VARIANT* result, IDispatch* pDisp)
{
    if (result == nullptr)
    {
        if (pDisp != nullptr)
            pDisp->Release();
        return;
    }
    ::VariantClear(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = pDisp;
}

// Replaces the first occurrence of what in text, as the find messages are
// filled: the text is never used as a format.
void ReplaceFirst(CString& text, const char* what, const CString& by)
{
    int at = text.Find(what);
    if (at >= 0)
        text = text.Left(at) + by + text.Mid(at + static_cast<int>(strlen(what)));
}

// Percent signs of a format's literal text as printf writes them.
CString Unescape(const CString& text)
{
    CString out = text;
    out.Replace("%%", "%");
    return out;
}

CString GetClipboardText(HWND hOwner)
{
    CString text;
    if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(hOwner))
        return text;
    HANDLE h = ::GetClipboardData(CF_TEXT);
    if (h != nullptr)
    {
        const char* p = static_cast<const char*>(::GlobalLock(h));
        if (p != nullptr)
        {
            SIZE_T size = ::GlobalSize(h);
            text = CString(p, static_cast<int>(strnlen(p, size)));
            ::GlobalUnlock(h);
        }
    }
    ::CloseClipboard();
    return text;
}

// The clipboard is opened with the main window as its owner (without one
// SetClipboardData fails); the block is freed unless the clipboard took it.
void SetClipboardText(HWND hOwner, const CString& text)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(text.GetLength()) + 1);
    if (h == nullptr)
        return;
    char* p = static_cast<char*>(::GlobalLock(h));
    if (p == nullptr)
    {
        ::GlobalFree(h);
        return;
    }
    memcpy(p, static_cast<LPCSTR>(text), static_cast<size_t>(text.GetLength()) + 1);
    ::GlobalUnlock(h);
    if (!::OpenClipboard(hOwner))
    {
        ::GlobalFree(h);
        return;
    }
    ::EmptyClipboard();
    if (::SetClipboardData(CF_TEXT, h) == nullptr)
        ::GlobalFree(h);
    ::CloseClipboard();
}

void AddFavorite(const CString& url, const CString& title)
{
    IShellUIHelper* pHelper = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellUIHelper, nullptr,
                                  CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                  IID_IShellUIHelper, reinterpret_cast<void**>(&pHelper)))
        || pHelper == nullptr)
        return;
    CBstr bstrUrl = CBstr::FromAnsi(url, CP_ACP);
    CVariant varTitle;
    varTitle.SetWideString(VaWideFromAnsi(title, -1, CP_ACP).c_str());
    pHelper->AddFavorite(bstrUrl, &varTitle);
    pHelper->Release();
}

void OrganizeFavorites(HWND hMain)
{
    bool bLoaded = false;
    HMODULE hModule = ::GetModuleHandleA("shdocvw.dll");
    if (hModule == nullptr)
    {
        hModule = ::LoadLibraryA("shdocvw.dll");
        bLoaded = hModule != nullptr;
    }
    if (hModule == nullptr)
        return;
    OrganizeFavoritesWith(hModule, hMain);
    if (bLoaded)
        ::FreeLibrary(hModule);
}

// A formatted text never grows beyond this: a page asking for a width of
// two billion gets its text back unchanged.
const int kMaxSprintfText = 64 * 1024;

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Percent escapes decoded; a run of escaped bytes is read as UTF-8 when it
// is valid UTF-8, else as cp932. False when the result would hold a NUL.
bool DecodePercent(const std::wstring& text, std::wstring& out)
{
    out.clear();
    for (size_t i = 0; i < text.size();)
    {
        std::string bytes;
        while (i + 2 < text.size() && text[i] == L'%' && HexDigit(text[i + 1]) >= 0
               && HexDigit(text[i + 2]) >= 0)
        {
            bytes += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 3;
        }
        if (bytes.empty())
        {
            out += text[i++];
            continue;
        }
        const int size = static_cast<int>(bytes.size());
        UINT codePage = CP_UTF8;
        int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
        if (n <= 0)
        {
            codePage = 932;
            n = ::MultiByteToWideChar(932, 0, bytes.data(), size, nullptr, 0);
        }
        if (n <= 0)
            return false;
        std::wstring wide(static_cast<size_t>(n), L'\0');
        ::MultiByteToWideChar(codePage, codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, bytes.data(),
                              size, &wide[0], n);
        out += wide;
    }
    return out.find(L'\0') == std::wstring::npos;
}

bool IsDriveSpec(const std::wstring& text)
{
    return text.size() == 2 && ((text[0] >= L'A' && text[0] <= L'Z') || (text[0] >= L'a' && text[0] <= L'z'))
           && text[1] == L':';
}

// The drive path of the file a page's address names: a "file:" address
// without a host (a drive may stand in the host's place), or the store file
// of an "mk:@MSITStore:" address. Empty for anything else, shares included.
std::wstring DrivePathOfPage(const std::wstring& href)
{
    std::wstring lower = href.substr(0, 14);
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    std::wstring path;
    if (lower.compare(0, 5, L"file:") == 0)
    {
        path = href.substr(5);
        path.erase(std::min(path.find_first_of(L"?#"), path.size()));
        if (path.compare(0, 2, L"//") == 0)
        {
            path.erase(0, 2);
            const std::wstring host = path.substr(0, path.find_first_of(L"/\\"));
            if (host.empty())
                path.erase(0, 1);
            else if (!IsDriveSpec(host))
                return std::wstring();
        }
    }
    else if (lower == L"mk:@msitstore:")
    {
        path = href.substr(14);
        path.erase(std::min(path.find(L"::"), path.size()));
    }
    else
        return std::wstring();
    std::wstring decoded;
    if (!DecodePercent(path, decoded))
        return std::wstring();
    for (wchar_t& c : decoded)
        if (c == L'/')
            c = L'\\';
    if (decoded.size() < 3 || !IsDriveSpec(decoded.substr(0, 2)) || decoded[2] != L'\\')
        return std::wstring();
    return decoded;
}

// The full, long, upper-case form of a drive path ("." and ".." resolved),
// empty when the system cannot make one.
std::wstring ComparablePath(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (n >= full.size())
    {
        full.assign(n, L'\0');
        n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    }
    if (n == 0 || n >= full.size())
        return std::wstring();
    full.resize(n);
    std::wstring longForm(full.size() + MAX_PATH, L'\0');
    n = ::GetLongPathNameW(full.c_str(), &longForm[0], static_cast<DWORD>(longForm.size()));
    if (n > 0 && n < longForm.size())
        full = longForm.substr(0, n);
    ::CharUpperBuffW(&full[0], static_cast<DWORD>(full.size()));
    return full;
}

} // namespace

//--- IUnknown, IDispatch basics

STDMETHODIMP CScriptExternal::QueryInterface(REFIID riid, void** ppv)
{
    return VaQueryInterface(static_cast<IDispatch*>(this), riid, IID_IDispatch, ppv);
}

STDMETHODIMP_(ULONG) CScriptExternal::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_cRef));
}

STDMETHODIMP_(ULONG) CScriptExternal::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_cRef));
}

STDMETHODIMP CScriptExternal::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    return VaRunComMethod("GetTypeInfo", [&]() -> HRESULT {
        if (ppTInfo != nullptr)
            *ppTInfo = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP CScriptExternal::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

//--- Names

void CScriptExternal::BuildNameTable()
{
    int slot = 0;
    for (const Method& m : kMethods)
    {
        m_names.Add(CString(kPrefix) + m.name);
        m_ids[slot++] = m.id;
    }
    m_bTableBuilt = TRUE;
}

DISPID CScriptExternal::LookUp(const CString& name)
{
    if (!m_bTableBuilt)
        BuildNameTable();
    for (int i = 0; i < 5; ++i)
        if (!m_cacheNames[i].IsEmpty() && m_cacheNames[i].CompareNoCase(name) == 0)
            return m_cacheIds[i];
    if (name.CompareNoCase("AddFavorite") == 0)
        return kAddFavorite;
    if (name.CompareNoCase("ShowBrowserUI") == 0)
        return kShowBrowserUI;
    for (INT_PTR i = 0; i < m_names.GetSize(); ++i)
    {
        if (m_names[i].CompareNoCase(name) != 0)
            continue;
        for (int c = 4; c > 0; --c)
        {
            m_cacheNames[c] = m_cacheNames[c - 1];
            m_cacheIds[c] = m_cacheIds[c - 1];
        }
        m_cacheNames[0] = m_names[i];
        m_cacheIds[0] = m_ids[i];
        return m_ids[i];
    }
    return DISPID_UNKNOWN;
}

// Only the first name is a method name; the object has no named
// parameters, so the others get -1.
STDMETHODIMP CScriptExternal::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids)
{
    return VaRunComMethod("GetIDsOfNames", [&]() -> HRESULT {
        if (!m_bTableBuilt)
            BuildNameTable();
        if (count == 0 || names == nullptr || ids == nullptr)
            return S_OK;
        for (UINT i = 0; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        CString name = VaAnsiFromWide(names[0], -1, CP_ACP);
        if (name.CompareNoCase("paget") == 0 || name.CompareNoCase("addsearchprovider") == 0)
            return S_OK;
        ids[0] = LookUp(name);
        return S_OK;
    });
}

//--- Calls

bool CScriptExternal::IsLocalPage(const VARIANT& document) const
{
    if (document.vt != VT_DISPATCH || document.pdispVal == nullptr)
        return false;
    CComPtr<IHTMLDocument2> doc;
    CComPtr<IHTMLLocation> location;
    CBstr href;
    if (FAILED(document.pdispVal->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&doc)))
        || doc == nullptr || FAILED(doc->get_location(&location)) || location == nullptr
        || FAILED(location->get_href(&href)) || static_cast<BSTR>(href) == nullptr)
        return false;
    const CString& folder = AppFolders().GetProgramFolder();
    return IsProgramPage(std::wstring(href, ::SysStringLen(href)),
                         VaWideFromAnsi(folder, folder.GetLength(), CP_ACP));
}

LRESULT CScriptExternal::Send(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    if (m_hMain == nullptr || !::IsWindow(m_hMain))
        return 0;
    return ::SendMessageA(m_hMain, msg, wParam, lParam);
}

STDMETHODIMP CScriptExternal::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*)
{
    // Nothing leaves a COM method, neither an exception nor a fault; the call
    // keeps its default result.
    VaRunComMethod("the script object", [&]() -> HRESULT {
        if ((flags & DISPATCH_PROPERTYGET) && result != nullptr)
            SetBool(result, true);
        if (!(flags & DISPATCH_METHOD) || params == nullptr)
            return S_OK;
        const UINT argc = params->cArgs;
        auto arg = [&](UINT k) -> const VARIANT& { return params->rgvarg[argc - 1 - k]; };
        if (id == kAddFavorite)
        {
            if (argc >= 2 && arg(0).vt == VT_BSTR && arg(1).vt == VT_BSTR)
            {
                AddFavorite(TextOf(arg(0)), TextOf(arg(1)));
                SetBool(result, true);
            }
            return S_OK;
        }
        if (id == kShowBrowserUI)
        {
            if (argc >= 2 && arg(0).vt == VT_BSTR
                && TextOf(arg(0)).CompareNoCase("OrganizeFavorites") == 0)
            {
                OrganizeFavorites(m_hMain);
                SetBool(result, true);
            }
            return S_OK;
        }
        const Method* pMethod = FindMethod(id);
        if (pMethod == nullptr)
            return S_OK;
        const UINT needed = static_cast<UINT>(strlen(pMethod->args)) + 1;
        if (argc < needed)
            return S_OK;
        for (UINT k = 1; k < needed; ++k)
            if (!ArgMatches(pMethod->args[k - 1], arg(k)))
                return S_OK;
        if (!IsLocalPage(arg(0)))
            return S_OK;
        Act(id, *params, result);
        return S_OK;
    });
    return S_OK;
}

void CScriptExternal::Act(DISPID id, DISPPARAMS& params, VARIANT* result)
{
    if (id < 109)
        ActProgram(id, params, result);
    else if ((id >= 109 && id <= 203) || (id >= 300 && id <= 318))
        ActTabs(id, params, result);
    else
        ActText(id, params, result);
}

// Groups, keywords, commands, folders, the version and the modifier keys.
void CScriptExternal::ActProgram(DISPID id, DISPPARAMS& params, VARIANT* result)
{
    const UINT argc = params.cArgs;
    auto arg = [&](UINT k) -> const VARIANT& { return params.rgvarg[argc - 1 - k]; };
    switch (id)
    {
    case 3: {
        CString name = TextOf(arg(1));
        if (!name.IsEmpty())
            Send(WM_FRAME_CREATEGROUP, static_cast<WPARAM>(static_cast<LONG_PTR>(arg(2).iVal)),
                 reinterpret_cast<LPARAM>(static_cast<LPCSTR>(name)));
        SetBool(result, true);
        break;
    }
    case 4: {
        CString keyword = TextOf(arg(1));
        if (!keyword.IsEmpty())
            Send(WM_FRAME_SAVEKEYWORD, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(keyword)));
        SetBool(result, true);
        break;
    }
    case 5:
        SetObject(result, reinterpret_cast<IDispatch*>(Send(WM_FRAME_GETACTIVEDOCUMENT, 0, 0)));
        break;
    case 6:
        if (m_hMain != nullptr)
            ::PostMessageA(m_hMain, WM_COMMAND, static_cast<WPARAM>(static_cast<ULONG>(arg(1).lVal)), 0);
        SetBool(result, true);
        break;
    case 101: SetText(result, AppFolders().GetProgramFolder()); break;
    case 102: SetText(result, AppFolders().GetScriptFolder()); break;
    case 103: SetText(result, AppFolders().GetResFolder()); break;
    case 104: SetInt(result, static_cast<int>(reinterpret_cast<INT_PTR>(m_hMain))); break;
    case 105: SetText(result, VersionText()); break;
    case 106: SetBool(result, ::GetKeyState(VK_SHIFT) < 0); break;
    case 107: SetBool(result, ::GetKeyState(VK_CONTROL) < 0); break;
    case 108: SetBool(result, ::GetKeyState(VK_MENU) < 0); break;
    default:
        break;
    }
}

// Tabs: counts, ids, page objects, opening, closing and their switches.
void CScriptExternal::ActTabs(DISPID id, DISPPARAMS& params, VARIANT* result)
{
    const UINT argc = params.cArgs;
    auto arg = [&](UINT k) -> const VARIANT& { return params.rgvarg[argc - 1 - k]; };
    auto textOrNull = [](const CString& s) { return s.IsEmpty() ? LPARAM(0) : reinterpret_cast<LPARAM>(static_cast<LPCSTR>(s)); };
    auto tab = [&](UINT k) { return static_cast<LPARAM>(IntegerOf(arg(k))); };
    switch (id)
    {
    case 109: SetInt(result, static_cast<int>(Send(WM_FRAME_GETCOUNT, 0, 0))); break;
    case 110: SetInt(result, static_cast<int>(Send(WM_FRAME_GETTABID, 0, tab(1)))); break;
    case 111:
        SetObject(result, reinterpret_cast<IDispatch*>(Send(WM_FRAME_GETWINDOWOBJECT, 0, tab(1))));
        break;
    case 112:
        SetObject(result, reinterpret_cast<IDispatch*>(Send(WM_FRAME_GETDOCUMENTOBJECT, 0, tab(1))));
        break;
    case 113:
        SetObject(result, reinterpret_cast<IDispatch*>(Send(WM_FRAME_GETWEBBROWSEROBJECT, 0, tab(1))));
        break;
    case 200: {
        CString url = TextOf(arg(1));
        SetInt(result, static_cast<int>(Send(WM_FRAME_NEWWINDOW, static_cast<WPARAM>(textOrNull(url)),
                                             arg(2).boolVal != VARIANT_FALSE ? 1 : 0)));
        break;
    }
    case 201: {
        // Only the program's own tabs: a page names no other window.
        HWND hTab = reinterpret_cast<HWND>(static_cast<INT_PTR>(IntegerOf(arg(1))));
        if (::IsWindow(hTab) && TabHostOr(m_pHost, m_hMain).FindTabById(hTab) != nullptr)
            ::PostMessageA(hTab, WM_CLOSE, 0, 0);
        SetBool(result, true);
        break;
    }
    case 202: {
        CString url = TextOf(arg(2));
        Send(WM_FRAME_NAVIGATETAB, static_cast<WPARAM>(tab(1)), textOrNull(url));
        break;
    }
    case 203: SetInt(result, static_cast<int>(Send(WM_FRAME_GETTABINDEX, 0, tab(1)))); break;
    case 300: SetBool(result, Send(WM_FRAME_ISBUSY, 0, tab(1)) == 1); break;
    case 301: {
        bool switches[7];
        for (UINT k = 0; k < 7; ++k)
            switches[k] = arg(2 + k).boolVal != VARIANT_FALSE;
        Send(WM_FRAME_SETSECURITY, static_cast<WPARAM>(tab(1)), static_cast<LPARAM>(SecurityWord(switches)));
        break;
    }
    case 302: case 303: case 304: case 305: case 306: case 307: case 308: {
        static const UINT kQueries[] = { WM_FRAME_ISJAVASCRIPTENABLED, WM_FRAME_ISJAVAENABLED,
                                         WM_FRAME_ISRUNACTIVEXENABLED, WM_FRAME_ISDOWNLOADACTIVEXENABLED,
                                         WM_FRAME_ISPICTUREENABLED, WM_FRAME_ISSOUNDENABLED,
                                         WM_FRAME_ISVIDEOENABLED };
        SetBool(result, Send(kQueries[id - 302], 0, tab(1)) == 1);
        break;
    }
    case 309: SetBool(result, Send(WM_FRAME_ISNAVIGATELOCK, 0, tab(1)) == 1); break;
    case 311: SetBool(result, Send(WM_FRAME_ISDOMAINLOCK, 0, tab(1)) == 1); break;
    case 313: SetBool(result, Send(WM_FRAME_ISLINKLOCK, 0, tab(1)) == 1); break;
    case 315: SetBool(result, Send(WM_FRAME_ISWHEELLOCK, 0, tab(1)) == 1); break;
    case 310: case 312: case 314: case 316: {
        static const UINT kSets[] = { WM_FRAME_SETNAVIGATELOCK, WM_FRAME_SETDOMAINLOCK,
                                      WM_FRAME_SETLINKLOCK, WM_FRAME_SETWHEELLOCK };
        Send(kSets[(id - 310) / 2], arg(2).boolVal != VARIANT_FALSE ? 1 : 0, tab(1));
        break;
    }
    case 317: SetInt(result, static_cast<int>(Send(WM_FRAME_GETACTIVEINDEX, 0, 0))); break;
    case 318: SetInt(result, static_cast<int>(Send(WM_FRAME_GETACTIVEID, 0, 0))); break;
    default:
        break;
    }
}

// Message boxes, menus, page texts, the clipboard, formatting and encoding.
void CScriptExternal::ActText(DISPID id, DISPPARAMS& params, VARIANT* result)
{
    const UINT argc = params.cArgs;
    auto arg = [&](UINT k) -> const VARIANT& { return params.rgvarg[argc - 1 - k]; };
    switch (id)
    {
    case 204:
    case 205: {
        if (argc > 4 || (argc >= 3 && arg(2).vt != VT_BSTR) || (argc == 4 && !IsInteger(arg(3))))
            break;
        CString caption = argc >= 3 ? TextOf(arg(2)) : CString(AppClassName());
        UINT type = argc == 4 ? static_cast<UINT>(IntegerOf(arg(3))) : MB_OK;
        SetInt(result, ::MessageBoxA(m_hMain, TextOf(arg(1)), caption, type));
        break;
    }
    case 319: {
        CStringArray items;
        if (arg(1).vt == VT_BSTR)
            SplitMenuItems(TextOf(arg(1)), items);
        if (items.GetSize() > 0)
            SetInt(result, static_cast<int>(Send(WM_FRAME_SHOWMENU, 0, reinterpret_cast<LPARAM>(&items))));
        break;
    }
    case 320:
    case 321: {
        CComPtr<IHTMLDocument2> doc;
        if (arg(1).pdispVal == nullptr
            || FAILED(arg(1).pdispVal->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&doc)))
            || doc == nullptr)
            break;
        CBstr text;
        if (id == 321)
        {
            if (SUCCEEDED(doc->get_title(&text)))
                SetText(result, text.ToAnsi(CP_ACP));
            break;
        }
        CComPtr<IHTMLLocation> location;
        if (SUCCEEDED(doc->get_location(&location)) && location != nullptr
            && SUCCEEDED(location->get_href(&text)))
            SetText(result, text.ToAnsi(CP_ACP));
        break;
    }
    case 322:
    case 323:
    case 330: {
        const UINT msg = id == 322 ? WM_FRAME_GETACTIVEURL
                         : id == 323 ? WM_FRAME_GETACTIVETITLE : WM_FRAME_GETACTIVEGROUPTITLE;
        CString text(reinterpret_cast<LPCSTR>(Send(msg, 0, 0)));
        if (!text.IsEmpty())
            SetText(result, text);
        break;
    }
    case 324: {
        CString text = GetClipboardText(m_hMain);
        if (!text.IsEmpty())
            SetText(result, text);
        break;
    }
    case 325: {
        CString text = TextOf(arg(1));
        if (!text.IsEmpty())
            SetClipboardText(m_hMain, text);
        break;
    }
    case 326: {
        CString text = TextOf(arg(1));
        for (UINT k = 2; k < argc; ++k)
            text = FormatOnePass(text, arg(k));
        SetText(result, text);
        break;
    }
    case 327: case 328: case 329: {
        CString text = TextOf(arg(1));
        if (text.IsEmpty())
            break;
        CString bytes = text;
        if (id == 328)
            ConvertSjisToEuc(text, bytes);
        else if (id == 329)
            ConvertAnsiToUtf8(text, bytes);
        UrlEncodeQuery(bytes, id == 327);
        SetText(result, bytes);
        break;
    }
    default:
        break;
    }
}


//--- Helpers

bool CScriptExternal::IsProgramPage(const std::wstring& href, const std::wstring& programFolder)
{
    const std::wstring file = DrivePathOfPage(href);
    if (file.empty() || programFolder.empty())
        return false;
    const std::wstring page = ComparablePath(file);
    std::wstring root = ComparablePath(programFolder);
    if (page.empty() || root.empty())
        return false;
    if (root.back() != L'\\')
        root += L'\\';
    return page.size() > root.size() && page.compare(0, root.size(), root) == 0;
}

DWORD CScriptExternal::SecurityWord(const bool switches[7])
{
    DWORD word = 0;
    if (!switches[0]) word |= 0x80;
    if (!switches[1]) word |= 0x100;
    if (!switches[2]) word |= 0x200;
    if (!switches[3]) word |= 0x400;
    if (switches[4]) word |= 0x10;
    if (switches[5]) word |= 0x40;
    if (switches[6]) word |= 0x20;
    return word;
}

// One pass over the bytes: "," is never the trail byte of a cp932
// character. Entries beyond what the menu shows are not made.
void CScriptExternal::SplitMenuItems(const CString& items, CStringArray& list)
{
    list.RemoveAll();
    const LPCSTR text = items;
    const int length = items.GetLength();
    int start = 0;
    for (int i = 0; i <= length && list.GetSize() < VA_SHOWMENU_MAX_ENTRIES; ++i)
    {
        if (i < length && text[i] != ',')
            continue;
        list.Add(CString(text + start, i - start));
        start = i + 1;
    }
}

CString CScriptExternal::VersionText()
{
    CString module;
    WidePath::GetModulePath(nullptr, module);
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(module, &handle);
    CString version;
    if (size != 0)
    {
        std::vector<char> block(size);
        UINT len = 0;
        void* pTranslation = nullptr;
        if (::GetFileVersionInfoA(module, 0, size, block.data())
            && ::VerQueryValueA(block.data(), AppStrings().GetEtcText(53), &pTranslation, &len)
            && pTranslation != nullptr && len >= 2 * sizeof(WORD))
        {
            const WORD* words = static_cast<const WORD*>(pTranslation);
            // Line 54 is filled, not used as a format: its two "%04x" get
            // the language and the code page.
            CString path = AppStrings().GetEtcText(54);
            CString part;
            part.Format("%04x", words[0]);
            ReplaceFirst(path, "%04x", part);
            part.Format("%04x", words[1]);
            ReplaceFirst(path, "%04x", part);
            path += AppStrings().GetEtcText(55);
            void* pText = nullptr;
            if (::VerQueryValueA(block.data(), path, &pText, &len) && pText != nullptr && len > 0)
                version = CString(static_cast<const char*>(pText));
        }
    }
    CString build;
    build.Format(" Build %d ", kBuildNumber);
    return "Version " + version + build;
}

CString CScriptExternal::FormatOnePass(const CString& format, const VARIANT& valueIn)
{
    // By-reference values are read through.
    VARIANT value = valueIn;
    if (value.vt & VT_BYREF)
    {
        switch (value.vt & ~VT_BYREF)
        {
        case VT_I2: value.vt = VT_I2; value.iVal = *valueIn.piVal; break;
        case VT_I4: value.vt = VT_I4; value.lVal = *valueIn.plVal; break;
        case VT_R4: value.vt = VT_R4; value.fltVal = *valueIn.pfltVal; break;
        case VT_R8: value.vt = VT_R8; value.dblVal = *valueIn.pdblVal; break;
        case VT_BSTR: value.vt = VT_BSTR; value.bstrVal = *valueIn.pbstrVal; break;
        default: return format;
        }
    }
    // Find the one live conversion.
    const int len = format.GetLength();
    int start = -1, end = -1;
    for (int i = 0; i < len; ++i)
    {
        if (format[i] != '%')
            continue;
        if (i + 1 < len && format[i + 1] == '%')
        {
            ++i;
            continue;
        }
        if (start >= 0)
            return format;  // a second live conversion
        start = i;
        int j = i + 1;
        while (j < len && strchr("-+ #0", format[j]) != nullptr)
            ++j;
        // A width or precision beyond the cap can only give too long a text.
        auto number = [&]() {
            long long n = 0;
            while (j < len && format[j] >= '0' && format[j] <= '9')
            {
                if (n <= kMaxSprintfText)
                    n = n * 10 + (format[j] - '0');
                ++j;
            }
            return n;
        };
        if (number() > kMaxSprintfText)
            return format;
        if (j < len && format[j] == '.')
        {
            ++j;
            if (number() > kMaxSprintfText)
                return format;
        }
        end = j;
        i = j;
    }
    if (start < 0)
        return format;
    // Size prefix, then the conversion letter.
    CString spec = format.Mid(start, end - start);
    int j = end;
    bool b64 = false;
    if (format.Mid(j, 3) == "I64")
    {
        b64 = true;
        j += 3;
    }
    else if (format.Mid(j, 2) == "ll")
    {
        b64 = true;
        j += 2;
    }
    else if (j < len && strchr("hlL", format[j]) != nullptr)
        ++j;
    if (j >= len)
        return format;
    const char conv = format[j];
    const CString before = Unescape(format.Left(start));
    const CString after = Unescape(format.Mid(j + 1));
    std::string out;
    auto formatWith = [&](auto v, const CString& full) {
        int n = std::snprintf(nullptr, 0, full, v);
        if (n < 0 || n > kMaxSprintfText - before.GetLength() - after.GetLength())
            return false;
        out.assign(static_cast<size_t>(n) + 1, '\0');
        std::snprintf(&out[0], out.size(), full, v);
        out.resize(static_cast<size_t>(n));
        return true;
    };
    bool bDone = false;
    if (strchr("diuoxXc", conv) != nullptr && (value.vt == VT_I2 || value.vt == VT_I4))
    {
        const long long n = value.vt == VT_I2 ? value.iVal : value.lVal;
        if (conv == 'c')
            bDone = formatWith(static_cast<int>(n), spec + "c");
        else if (b64)
            bDone = formatWith(n, spec + "ll" + conv);
        else
            bDone = formatWith(static_cast<int>(n), spec + conv);
    }
    else if (strchr("eEfFgGaA", conv) != nullptr && (value.vt == VT_R4 || value.vt == VT_R8))
        bDone = formatWith(value.vt == VT_R4 ? static_cast<double>(value.fltVal) : value.dblVal,
                           spec + conv);
    else if (conv == 's' && value.vt == VT_BSTR)
    {
        CString text = TextOf(value);
        bDone = formatWith(static_cast<LPCSTR>(text), spec + "s");
    }
    if (!bDone)
        return format;
    return before + CString(out.c_str(), static_cast<int>(out.size())) + after;
}
