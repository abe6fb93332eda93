// A plug-in module for the catalog tests. Each build names itself by
// TEST_PLUGIN_NAME (a build without it has no PlugInName) and answers keys
// with TEST_PLUGIN_KEY_RESULT; every call is written into a log the test
// reads through the export TestPlugInLog.
// TestPlugInSetMode makes PluginExecute unload the plug-ins itself, leave
// a window that runs the module's code, write through a null pointer, show
// a dialog of its own whose procedure writes through a null pointer, or
// leave a modeless dialog of its own open.
// The environment variable VA_TEST_PLUGIN_RAISE ("code" or "code:flags", in
// hexadecimal) makes PluginExecute raise that exception instead, for runs of
// the whole program.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shared/FrameMessages.h"

namespace {

char g_log[4096];
int g_mode = 0;
HWND g_window = nullptr;
WNDPROC g_staticProc = nullptr;

// The procedure the module's window runs: a test message gets 42.
LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_APP + 1)
        return 42;
    return CallWindowProcA(g_staticProc, hWnd, msg, wParam, lParam);
}

int* volatile g_nowhere = nullptr;

// The dialog's procedure faults in a message of the system's modal loop.
INT_PTR CALLBACK FaultingDialogProc(HWND hDlg, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        PostMessageA(hDlg, WM_APP + 2, 0, 0);
        return TRUE;
    }
    if (msg == WM_APP + 2)
        *g_nowhere = 2;
    return FALSE;
}

// The modeless dialog's procedure: a test message gets 43.
INT_PTR CALLBACK OpenDialogProc(HWND hDlg, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_APP + 1) {
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 43);
        return TRUE;
    }
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// A template of a dialog with no controls, built in memory; the system
// reads templates on DWORD boundaries.
struct alignas(4) EmptyTemplate
{
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

EmptyTemplate MakeEmptyTemplate()
{
    EmptyTemplate dialog = {};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    dialog.header.cx = 120;
    dialog.header.cy = 60;
    return dialog;
}

INT_PTR ShowFaultingDialog(HWND hOwner)
{
    const EmptyTemplate dialog = MakeEmptyTemplate();
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &dialog.header, hOwner, FaultingDialogProc, 0);
}

void RaiseFromEnvironment()
{
    char value[64] = "";
    if (GetEnvironmentVariableA("VA_TEST_PLUGIN_RAISE", value, sizeof(value)) == 0)
        return;
    char* rest = nullptr;
    const DWORD code = std::strtoul(value, &rest, 16);
    const DWORD flags = rest != nullptr && *rest == ':' ? std::strtoul(rest + 1, nullptr, 16) : 0;
    RaiseException(code, flags, 0, nullptr);
}

void Log(const char* format, ...)
{
    size_t used = std::strlen(g_log);
    va_list args;
    va_start(args, format);
    std::vsnprintf(g_log + used, sizeof(g_log) - used, format, args);
    va_end(args);
}

} // namespace

extern "C" {

const char* TestPlugInLog()
{
    return g_log;
}

#ifdef TEST_PLUGIN_NAME
const char* PlugInName()
{
    return TEST_PLUGIN_NAME;
}
#endif

HICON PlugInIcon()
{
    return LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
}

void TestPlugInSetMode(int mode)
{
    g_mode = mode;
}

HWND TestPlugInWindow()
{
    return g_window;
}

int WINAPI PluginExecute(HWND hMain, int reserved, const char* text)
{
    Log("execute(%d,%s);", reserved, text == nullptr ? "null" : text[0] == '\0' ? "empty" : text);
    RaiseFromEnvironment();
    if (g_mode == 3)
        *g_nowhere = 3;
    if (g_mode == 4)
        Log("dialog(%d);", static_cast<int>(ShowFaultingDialog(hMain)));
    if (g_mode == 1) {
        SendMessageA(hMain, WM_FRAME_UNLOADPLUGINS, 0, 0);
        // Still running in the module after the unload.
        Log("after unload;");
        SetEnvironmentVariableA("VA_TEST_PLUGIN_AFTER_UNLOAD", g_log);
    } else if (g_mode == 2) {
        g_window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
        g_staticProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(g_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    } else if (g_mode == 5) {
        const EmptyTemplate dialog = MakeEmptyTemplate();
        g_window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &dialog.header, hMain, OpenDialogProc, 0);
    }
    return 1;
}

void WINAPI PluginIDleCall(HWND hMain)
{
    Log("idle;");
}

int WINAPI PluginTranslateKeyDown(HWND hWnd, WPARAM key)
{
    Log("key(%u);", static_cast<unsigned>(key));
    return TEST_PLUGIN_KEY_RESULT;
}

} // extern "C"
