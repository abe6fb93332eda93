#include "lists/PlugInModules.h"

#include <algorithm>
#include <vector>

#include "framework/app/FaultGuard.h"
#include "framework/win/Wnd.h"

namespace {

struct ModuleState
{
    HMODULE hModule;
    int calls;      // calls into the module now on the stack
    int held;       // load references entries still hold
    int givenBack;  // load references waiting to be freed
};

// All on the user-interface thread, as every call into a plug-in is.
std::vector<ModuleState>& States()
{
    static std::vector<ModuleState> s_states;
    return s_states;
}

ModuleState& StateOf(HMODULE hModule)
{
    for (ModuleState& state : States())
        if (state.hModule == hModule)
            return state;
    States().push_back({hModule, 0, 0, 0});
    return States().back();
}

// The module's image as mapped: base and size from its PE headers.
bool ImageRange(HMODULE hModule, ULONG_PTR& start, ULONG_PTR& end)
{
    const BYTE* base = reinterpret_cast<const BYTE*>(hModule);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (base == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return false;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return false;
    start = reinterpret_cast<ULONG_PTR>(base);
    end = start + nt->OptionalHeader.SizeOfImage;
    return true;
}

struct WindowSearch
{
    HMODULE hModule;
    ULONG_PTR start;
    ULONG_PTR end;
    DWORD process;
    bool found;
};

bool Inside(const WindowSearch& search, LONG_PTR address)
{
    const ULONG_PTR a = static_cast<ULONG_PTR>(address);
    return a >= search.start && a < search.end;
}

// The window's procedures, read in the window's own character set so that
// the real addresses come back, not the system's conversion thunks.
bool RunsModuleCode(HWND hWnd, const WindowSearch& search)
{
    const bool wide = ::IsWindowUnicode(hWnd) != FALSE;
    const LONG_PTR proc = wide ? ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) : ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    const ULONG_PTR classProc = wide ? ::GetClassLongPtrW(hWnd, GCLP_WNDPROC) : ::GetClassLongPtrA(hWnd, GCLP_WNDPROC);
    const ULONG_PTR classModule = ::GetClassLongPtrA(hWnd, GCLP_HMODULE);
    if (Inside(search, proc) || Inside(search, static_cast<LONG_PTR>(classProc))
        || classModule == reinterpret_cast<ULONG_PTR>(search.hModule))
        return true;
    // A dialog's own procedure sits behind the dialog class's.
    const ATOM kDialogAtom = 0x8002;
    if (static_cast<ATOM>(::GetClassLongPtrA(hWnd, GCW_ATOM)) == kDialogAtom)
    {
        const LONG_PTR dialogProc =
            wide ? ::GetWindowLongPtrW(hWnd, DWLP_DLGPROC) : ::GetWindowLongPtrA(hWnd, DWLP_DLGPROC);
        return Inside(search, dialogProc);
    }
    return false;
}

BOOL CALLBACK CheckChild(HWND hWnd, LPARAM lParam)
{
    return AfxRunEntry("CheckChild", FALSE, [&]() -> BOOL {
        WindowSearch& search = *reinterpret_cast<WindowSearch*>(lParam);
        search.found = RunsModuleCode(hWnd, search);
        return search.found ? FALSE : TRUE;
    });
}

// A window of this process and its descendants.
void CheckTree(HWND hWnd, WindowSearch& search)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process != search.process)
        return;
    search.found = RunsModuleCode(hWnd, search);
    if (!search.found)
        ::EnumChildWindows(hWnd, CheckChild, reinterpret_cast<LPARAM>(&search));
}

BOOL CALLBACK CheckTopLevel(HWND hWnd, LPARAM lParam)
{
    return AfxRunEntry("CheckTopLevel", FALSE, [&]() -> BOOL {
        WindowSearch& search = *reinterpret_cast<WindowSearch*>(lParam);
        CheckTree(hWnd, search);
        return search.found ? FALSE : TRUE;
    });
}

void FreeWhenSafe(HMODULE hModule)
{
    std::vector<ModuleState>& states = States();
    auto it = std::find_if(states.begin(), states.end(),
                           [&](const ModuleState& s) { return s.hModule == hModule; });
    if (it == states.end() || it->givenBack == 0 || it->calls > 0)
        return;
    // While an entry still holds the module, giving one reference back
    // leaves it mapped.
    if (it->held == 0 && WindowRunsModuleCode(hModule))
        return;
    const int count = it->givenBack;
    const bool forget = it->held == 0;
    it->givenBack = 0;
    if (forget)
        states.erase(it);
    for (int i = 0; i < count; ++i)
        ::FreeLibrary(hModule);
}

//--- Windows a plug-in makes during a call

// The procedure a guarded window had before, kept with the window.
const char kGuardedProcProp[] = "VaPlugInWndProc";
HHOOK g_hWindowHook = nullptr;
int g_callsRunning = 0;

bool IsDialog(HWND hWnd)
{
    const ATOM kDialogAtom = 0x8002;
    return static_cast<ATOM>(::GetClassLongPtrA(hWnd, GCW_ATOM)) == kDialogAtom;
}

// A fault in the plug-in's procedure ends there; a dialog ends as if
// cancelled. The window's character set is kept: A and W differ only in the
// calls made for it.
template <bool kWide>
LRESULT CALLBACK GuardedPlugInWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC next = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kGuardedProcProp));
    auto call = [&] {
        return kWide ? ::CallWindowProcW(next, hWnd, nMsg, wParam, lParam)
                     : ::CallWindowProcA(next, hWnd, nMsg, wParam, lParam);
    };
    if (next == nullptr)
        return kWide ? ::DefWindowProcW(hWnd, nMsg, wParam, lParam) : ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY) {
        ::RemovePropA(hWnd, kGuardedProcProp);
        if (kWide)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
        else
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
    }
    LRESULT result = 0;
    if (AfxCallGuarded([&] { result = call(); }) == 0)
        return result;
    // A modal dialog's loop (the system's) then destroys it and enables its
    // owner again; a modeless one is hidden.
    if (nMsg != WM_NCDESTROY && IsDialog(hWnd))
        ::EndDialog(hWnd, IDCANCEL);
    return 0;
}

bool ClassProcInCalledModule(HWND hWnd)
{
    const ULONG_PTR classProc = ::IsWindowUnicode(hWnd) ? ::GetClassLongPtrW(hWnd, GCLP_WNDPROC)
                                                        : ::GetClassLongPtrA(hWnd, GCLP_WNDPROC);
    for (const ModuleState& state : States()) {
        ULONG_PTR start = 0;
        ULONG_PTR end = 0;
        if (state.calls > 0 && ImageRange(state.hModule, start, end) && classProc >= start && classProc < end)
            return true;
    }
    return false;
}

void GuardWindow(HWND hWnd)
{
    // The program's own windows guard themselves.
    if (CWnd::FromHandlePermanent(hWnd) != nullptr || ::GetPropA(hWnd, kGuardedProcProp) != nullptr)
        return;
    if (!IsDialog(hWnd) && !ClassProcInCalledModule(hWnd))
        return;
    const bool wide = ::IsWindowUnicode(hWnd) != FALSE;
    const LONG_PTR guarded = reinterpret_cast<LONG_PTR>(wide ? &GuardedPlugInWndProc<true>
                                                             : &GuardedPlugInWndProc<false>);
    const LONG_PTR next = wide ? ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) : ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    if (next == 0 || !::SetPropA(hWnd, kGuardedProcProp, reinterpret_cast<HANDLE>(next)))
        return;
    if (wide)
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, guarded);
    else
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, guarded);
}

LRESULT GuardWindowsHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND)
        GuardWindow(reinterpret_cast<HWND>(wParam));
    return ::CallNextHookEx(g_hWindowHook, nCode, wParam, lParam);
}

// The first call on the stack installs the hook, the last one out removes it.
void CallStarted()
{
    if (g_callsRunning++ == 0 && g_hWindowHook == nullptr)
        g_hWindowHook = AfxSetGuardedHook<GuardWindowsHookProc>(WH_CBT);
}

void CallEnded()
{
    if (--g_callsRunning == 0 && g_hWindowHook != nullptr) {
        ::UnhookWindowsHookEx(g_hWindowHook);
        g_hWindowHook = nullptr;
    }
}

// The end of a call, also when a fault broke it off.
void EndCall(const ULONG_PTR* data)
{
    const HMODULE hModule = reinterpret_cast<HMODULE>(data[0]);
    CallEnded();
    ModuleState& state = StateOf(hModule);
    if (--state.calls == 0)
        FreeWhenSafe(hModule);
}

} // namespace

CPlugInCall::CPlugInCall(HMODULE hModule)
{
    if (hModule == nullptr)
        return;
    ++StateOf(hModule).calls;
    CallStarted();
    m_hold.Hold(EndCall, reinterpret_cast<ULONG_PTR>(hModule));
}

void HoldPlugInModule(HMODULE hModule)
{
    if (hModule != nullptr)
        ++StateOf(hModule).held;
}

void GiveBackPlugInModule(HMODULE hModule)
{
    if (hModule == nullptr)
        return;
    ModuleState& state = StateOf(hModule);
    if (state.held > 0)
        --state.held;
    ++state.givenBack;
    FreeWhenSafe(hModule);
}

int FreeGivenBackPlugInModules()
{
    std::vector<HMODULE> waiting;
    for (const ModuleState& state : States())
        if (state.givenBack > 0)
            waiting.push_back(state.hModule);
    int left = 0;
    for (HMODULE hModule : waiting) {
        FreeWhenSafe(hModule);
        for (const ModuleState& state : States())
            if (state.hModule == hModule && state.givenBack > 0)
                ++left;
    }
    return left;
}

bool WindowRunsModuleCode(HMODULE hModule)
{
    WindowSearch search = {hModule, 0, 0, ::GetCurrentProcessId(), false};
    if (!ImageRange(hModule, search.start, search.end))
        return false;
    ::EnumWindows(CheckTopLevel, reinterpret_cast<LPARAM>(&search));
    // Message-only windows are not top-level windows to EnumWindows.
    for (HWND hWnd = ::FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); hWnd != nullptr && !search.found;
         hWnd = ::FindWindowExA(HWND_MESSAGE, hWnd, nullptr, nullptr))
        CheckTree(hWnd, search);
    return search.found;
}
