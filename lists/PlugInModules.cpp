#include "lists/PlugInModules.h"

#include <algorithm>
#include <vector>

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
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(lParam);
    search.found = RunsModuleCode(hWnd, search);
    return search.found ? FALSE : TRUE;
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
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(lParam);
    CheckTree(hWnd, search);
    return search.found ? FALSE : TRUE;
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

} // namespace

CPlugInCall::CPlugInCall(HMODULE hModule) : m_hModule(hModule)
{
    if (m_hModule != nullptr)
        ++StateOf(m_hModule).calls;
}

CPlugInCall::~CPlugInCall()
{
    if (m_hModule == nullptr)
        return;
    ModuleState& state = StateOf(m_hModule);
    if (--state.calls == 0)
        FreeWhenSafe(m_hModule);
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
