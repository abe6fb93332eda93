// Skiffport: the plug-in that opens the pages of running browser windows as
// tabs. It finds every top-level window of class "IEFrame", asks each of its
// document windows ("Internet Explorer_Server") for the document through the
// accessibility message, and sends the document's URL to the main window,
// which opens it in a new tab. The browser windows are left untouched.
//
// The module links no framework: it has no state beyond one call.
#include <windows.h>
#include <mshtml.h>
#include <ole2.h>

#include <cstring>
#include <new>

#include "plugin-ie/resource.h"

namespace {

// Sent to the main window with a URL; the number is the main frame's.
const UINT kFrameOpenUrl = 0x9470;
const UINT kHungTimeoutMs = 1000;
const char kFrameClass[] = "IEFrame";
const char kDocumentClass[] = "Internet Explorer_Server";

// The main window of the running PluginExecute call.
HWND g_hMainWindow = nullptr;

typedef HRESULT(WINAPI* ObjectFromLresultFn)(LRESULT, REFIID, WPARAM, void**);

// The call's arguments, handed to the enumeration callbacks as context.
struct ExecuteArgs
{
    HWND hMain;
};

bool HasClass(HWND hWnd, const char* className)
{
    char name[1024];
    return GetClassNameA(hWnd, name, sizeof(name)) > 0 && std::strcmp(name, className) == 0;
}

// The document of a document window, through "WM_HTML_GETOBJECT". With
// isDocumentWindow false the window is a frame whose first direct child of
// the document class is asked. *document stays null on failure.
bool GetHtmlDocument(HWND hWnd, IHTMLDocument2** document, bool isDocumentWindow)
{
    if (document == nullptr || hWnd == nullptr || !IsWindow(hWnd))
        return false;
    if (!isDocumentWindow) {
        hWnd = FindWindowExA(hWnd, nullptr, kDocumentClass, nullptr);
        if (hWnd == nullptr)
            return false;
    }
    HMODULE oleacc = LoadLibraryA("OLEACC.DLL");
    if (oleacc == nullptr)
        return false;
    UINT getObject = RegisterWindowMessageA("WM_HTML_GETOBJECT");
    DWORD_PTR result = 0;
    if (getObject == 0 || SendMessageTimeoutA(hWnd, getObject, 0, 0, SMTO_ABORTIFHUNG,
                                              kHungTimeoutMs, &result) == 0) {
        FreeLibrary(oleacc);
        return false;
    }
    auto fromLresult = reinterpret_cast<ObjectFromLresultFn>(
        GetProcAddress(oleacc, "ObjectFromLresult"));
    if (fromLresult != nullptr)
        fromLresult(static_cast<LRESULT>(result), IID_IHTMLDocument2, 0,
                    reinterpret_cast<void**>(document));
    FreeLibrary(oleacc);
    return *document != nullptr;
}

// One descendant window of a browser frame: a document window sends its
// document's URL to the main window. Always continues the enumeration.
BOOL SendIEWindowUrl(HWND hWnd)
{
    if (!HasClass(hWnd, kDocumentClass))
        return TRUE;
    IHTMLDocument2* document = nullptr;
    if (!GetHtmlDocument(hWnd, &document, true) || document == nullptr)
        return TRUE;
    BSTR url = nullptr;
    if (SUCCEEDED(document->get_URL(&url))) {
        int wideLength = url != nullptr ? static_cast<int>(SysStringLen(url)) : 0;
        int length = wideLength > 0 ? WideCharToMultiByte(CP_ACP, 0, url, wideLength, nullptr,
                                                          0, nullptr, nullptr)
                                    : 0;
        char* text = new (std::nothrow) char[length + 1];
        if (text != nullptr) {
            if (length > 0)
                WideCharToMultiByte(CP_ACP, 0, url, wideLength, text, length, nullptr, nullptr);
            text[length] = '\0';
            SendMessageA(g_hMainWindow, kFrameOpenUrl, 0, reinterpret_cast<LPARAM>(text));
            delete[] text;
        }
        SysFreeString(url);
    }
    document->Release();
    return TRUE;
}

BOOL CALLBACK EnumIEChildProc(HWND hWnd, LPARAM context)
{
    if (context == 0)
        return FALSE;
    return SendIEWindowUrl(hWnd);
}

BOOL CALLBACK EnumIEFramesProc(HWND hWnd, LPARAM context)
{
    if (context == 0)
        return FALSE;
    if (HasClass(hWnd, kFrameClass))
        EnumChildWindows(hWnd, EnumIEChildProc, context);
    return TRUE;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" {

const char* PlugInName()
{
    // "起動しているIEのURLをタブで開く(&C)"
    return "\x8b\x4e\x93\xae\x82\xb5\x82\xc4\x82\xa2\x82\xe9IE\x82\xccURL\x82\xf0"
           "\x83\x5e\x83\x75\x82\xc5\x8a\x4a\x82\xad(&C)";
}

HICON PlugInIcon()
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&PlugInIcon), &self);
    return LoadIconA(self, MAKEINTRESOURCEA(IDI_SKIFFPORT));
}

int WINAPI PluginExecute(HWND hMain, int, const char*)
{
    g_hMainWindow = hMain;
    ExecuteArgs args = {hMain};
    // A thread already in another apartment kind still works; only an
    // initialisation this call made is balanced, never the caller's own.
    HRESULT hr = CoInitialize(nullptr);
    EnumWindows(EnumIEFramesProc, reinterpret_cast<LPARAM>(&args));
    if (SUCCEEDED(hr))
        CoUninitialize();
    return 1;
}

} // extern "C"
