// Runs a piece of work so that a fault inside it ends the work, not the
// process, and leaves nothing of the work held.
//
// Classes in this file:
//   CFaultHold      something a piece of work holds that a fault must not
//                   leave held (a lock, a count, a mark, a window's redraw
//                   turned off)
//   CFaultSetting   a variable set for the length of a scope, as a hold
//   CFaultCapture   the mouse capture taken for the length of a scope
//   CFaultLoop      a message loop of the program, for the length of its run
//
// mingw-w64 has no compiler support for structured exception handling, so
// the guard is a small assembly frame of its own with an exception handler
// the system finds by itself: on the 64-bit build through the frame's unwind
// data, on the 32-bit build as a registration record on the thread's handler
// chain. On neither build do the destructors of the frames between the fault
// and the guard run: the 64-bit unwind calls the language handler of each of
// those frames, and this compiler's handler runs no cleanup for a structured
// exception; the 32-bit unwind calls only the handlers on the chain (the
// system's frames and another compiler's keep records there and run their
// own cleanup; this compiler's frames keep none). So what a piece of work
// holds is recorded as a CFaultHold while it is held, and the guard that
// takes a fault releases the holds begun inside its call, newest first.
//
// Where the guards stand, on both builds:
// - every place where the system calls into the program (window, dialog and
//   hook procedures, the COM methods a control calls) runs its work in a
//   guard of its own, inside the system's call, so that a fault in the
//   program's own code unwinds no frame of the system's;
// - every message loop of the program (the pump, the modal loop, the
//   popups', the gesture loops) runs its own look at a message guarded, and
//   the message's dispatch in a guard of its own. A message taken from the
//   queue reaches its window procedure from DispatchMessage with no callback
//   of the system's in between, so a fault that a procedure of code the
//   program did not write leaves (a page's, a control's, a plug-in's window)
//   unwinds that procedure and DispatchMessage's own frames, and nothing
//   else: the loop goes on with its next message. The 64-bit unwind crosses
//   those frames by their unwind data; the 32-bit one calls the handlers
//   DispatchMessage and the foreign procedure put on the chain, with the
//   unwinding flag, and each ends its own frame. What DispatchMessage keeps
//   beyond its handlers is lost with it, as under any guard around it.
// - Where the program cannot tell: a fault in code the program did not
//   write, reached through a callback the system makes from inside one of
//   the program's own calls (the program resizes a page's window and the
//   page faults while it is told), has the guard of the program's calling
//   procedure as its nearest. Whether the exception gets there is the
//   system's (the 64-bit system may stop it at the callback's boundary);
//   where it does, the guard unwinds the system's call, and what the system
//   kept of that call is lost. Such a fault may end the process, at once or
//   later, as it would with no guard at all.
//
// What a guard does after a fault it takes, and when a frame further out
// unwinds its frame (one that took what the guard passed on, or a jump
// across it): it releases the holds begun inside its call, newest first,
// drops from the chain every CFaultLoop that lies inside the call, lets the
// capture go when the window whose code broke off holds it, and breaks each
// running CFaultLoop whose window is that window or holds it, in its own
// module at once and in the others (each module links its own copy of this
// code) by a thread message their loops take at their next turn. Only a
// fault is counted.
//
// A menu loop of the system's (a popup menu a handler tracks) dispatches
// the messages of other windows itself. A fault that such a window's code
// leaves is stopped by the system at its callback boundary (the menu runs
// on, and the handler returns once it ends), on the 64-bit system and
// under Wine on both builds; where a system lets it through instead, it
// unwinds the menu's loop with the rest of the system's call, as said
// above.
#ifndef VA_FRAMEWORK_APP_FAULTGUARD_H
#define VA_FRAMEWORK_APP_FAULTGUARD_H

#include <type_traits>

#include "framework/win/WinDefs.h"

// Calls fn(context). A fault inside it that nobody nearer handles ends the
// call: the result is its exception code, 0 when fn returned. The faults
// taken are access violations, in-page errors, divide faults and illegal and
// privileged instructions. Heap corruption, stack overflow, a stack buffer
// overrun and any non-continuable exception (among them a C++ exception
// another compiler's code throws out of a plug-in) pass on and end the
// process as the system would: its state can no longer be trusted, and the
// next start restores the last good autosave. Exceptions of lower severity
// (debug output, breakpoints) pass on untouched, and a C++ exception of this
// module leaves the call as it came.
DWORD AfxCallGuarded(void (*fn)(void*), void* context);

// The same for a callable: AfxCallGuarded([&] { ... }).
template <class Fn>
DWORD AfxCallGuarded(Fn&& fn)
{
    auto call = [&fn] { fn(); };
    typedef decltype(call) Call;
    return AfxCallGuarded([](void* p) { (*static_cast<Call*>(p))(); }, &call);
}

// The debug output of AfxRunEntry: what broke off, and the fault's code (0:
// an exception).
void AfxReportEntryFailure(const char* what, DWORD code);

// The work of a place where the system calls in (a window, dialog or hook
// procedure, a COM method): fn runs guarded, with every exception caught.
// false, after a line of debug output naming what, when it threw or faulted;
// the caller then answers with its safe default.
template <class Fn>
bool AfxRunEntry(const char* what, Fn&& fn)
{
    bool returned = false;
    const DWORD code = AfxCallGuarded([&] {
        try {
            fn();
            returned = true;
        } catch (...) {
        }
    });
    if (!returned)
        AfxReportEntryFailure(what, code);
    return returned;
}

// The same for an entry that answers with a value (a COM method's HRESULT,
// a callback's result): fn's result, or failed when it threw or faulted.
template <class R, class Fn>
R AfxRunEntry(const char* what, R failed, Fn&& fn)
{
    R result = failed;
    AfxRunEntry(what, [&] { result = fn(); });
    return result;
}

// An exported function of a library module: the body runs guarded by the
// library's own guard, so that whatever the library holds, the loops it runs
// and the windows it maps are its own guard's to end; failed is the export's
// answer after a fault or an exception.
template <class R, class Fn>
R AfxRunExport(const char* what, R failed, Fn&& fn)
{
    return AfxRunEntry(what, failed, fn);
}
template <class Fn>
void AfxRunExport(const char* what, Fn&& fn)
{
    AfxRunEntry(what, fn);
}

// SetTimer with a timer procedure that enters through a guard: Fn(hWnd, id)
// runs as an entry named what; a fault ends that tick alone.
template <void (*Fn)(HWND, UINT_PTR)>
void CALLBACK AfxGuardedTimerProc(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    AfxRunEntry("a timer procedure", [&] { Fn(hWnd, id); });
}
template <void (*Fn)(HWND, UINT_PTR)>
UINT_PTR AfxSetGuardedTimer(HWND hWnd, UINT_PTR id, UINT elapse)
{
    return ::SetTimer(hWnd, id, elapse, &AfxGuardedTimerProc<Fn>);
}

// SetWindowsHookEx for a hook of this thread whose procedure enters through
// a guard, the one way the program registers a hook: Fn(nCode, wParam,
// lParam) runs as an entry and answers the call (passing it on with
// CallNextHookEx where it does). After a fault or an exception in Fn the
// answer is Failed(nCode, wParam, lParam): by default the call passes on.
inline LRESULT AfxPassHookOn(int nCode, WPARAM wParam, LPARAM lParam)
{
    // The hook handle is ignored by the system.
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
template <LRESULT (*Fn)(int, WPARAM, LPARAM), LRESULT (*Failed)(int, WPARAM, LPARAM)>
LRESULT CALLBACK AfxGuardedHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (AfxRunEntry("a hook procedure", [&] { result = Fn(nCode, wParam, lParam); }))
        return result;
    return Failed(nCode, wParam, lParam);
}
template <LRESULT (*Fn)(int, WPARAM, LPARAM), LRESULT (*Failed)(int, WPARAM, LPARAM) = &AfxPassHookOn>
HHOOK AfxSetGuardedHook(int idHook)
{
    return ::SetWindowsHookExA(idHook, &AfxGuardedHookProc<Fn, Failed>, nullptr, ::GetCurrentThreadId());
}

// The same for the code of a window: a fault the guard takes broke that
// window's code (its capture goes, and the loops it holds are broken).
DWORD AfxCallGuardedFor(HWND hWnd, void (*fn)(void*), void* context);

template <class Fn>
DWORD AfxCallGuardedFor(HWND hWnd, Fn&& fn)
{
    auto call = [&fn] { fn(); };
    typedef decltype(call) Call;
    return AfxCallGuardedFor(hWnd, [](void* p) { (*static_cast<Call*>(p))(); }, &call);
}

// The window of the innermost guard running for one (whose code runs now);
// null when none does.
HWND AfxGetGuardedWindow();

// TranslateMessage, then DispatchMessage in a guard for the message's
// window. false when the dispatch faulted.
bool AfxTranslateAndDispatch(MSG& msg);

// One turn of a message loop: preTranslate(msg) (the loop's own look at the
// message, true when it took it) runs guarded, then the message is
// translated and dispatched (AfxTranslateAndDispatch). false when the look
// faulted: the message goes no further. The look runs in a guard for the
// message's window, since it may hand the message to that window's code
// (IsDialogMessage dispatches a dialog child's keys itself): a fault there
// lets the capture go and breaks the loops of that window too.
template <class PreTranslate>
bool AfxDispatchLoopMessage(MSG& msg, PreTranslate&& preTranslate)
{
    bool taken = false;
    if (AfxCallGuardedFor(msg.hwnd, [&] { taken = preTranslate(msg); }) != 0)
        return false;
    if (!taken)
        AfxTranslateAndDispatch(msg);
    return true;
}

// After a fault broke off a loop of the system's (an OLE drag's): a hidden
// top-level window of this thread holding the capture, other than hKept, is
// that loop's tracker, whose timer would go on running over the state of the
// loop that is gone. The capture goes, and the tracker with it.
void AfxEndSystemTracker(HWND hKept);

// Whether the guards take a fault of this code and flags (see above).
bool AfxIsSurvivableFault(DWORD code, DWORD flags);

// How many faults the guards of this module took on this thread.
unsigned AfxGetFaultCount();
// The code of the last of them, 0 before the first.
DWORD AfxGetLastFaultCode();

//--- CFaultHold
// Held between Hold and Release (or the destructor). What ends the hold is
// a function of four words copied into the hold: the guard that takes a
// fault runs it after the frames that began the hold are gone. The hold is
// released once: by Release, or by that guard, after which Release does
// nothing. Not copyable; a hold lives as long as its holder.
class CFaultHold
{
public:
    typedef void (*ReleaseFn)(const ULONG_PTR* data);

    CFaultHold() = default;
    ~CFaultHold() { Release(); }
    CFaultHold(const CFaultHold&) = delete;
    CFaultHold& operator=(const CFaultHold&) = delete;

    // Starts holding (a hold still held is released first).
    void Hold(ReleaseFn fn, ULONG_PTR a = 0, ULONG_PTR b = 0, ULONG_PTR c = 0, ULONG_PTR d = 0);
    // Runs the release now; false when nothing was held (never, or a
    // fault's guard released it already).
    bool Release();
    // Whether the hold is still to be released by this object.
    bool IsHeld() const;

private:
    ReleaseFn m_fn = nullptr;
    ULONG_PTR m_data[4] = {};
    unsigned m_serial = 0;
};

//--- CFaultSetting
// Sets var to value for the length of the scope; the old value comes back
// at its end, or from the guard of a fault that breaks the scope off. For
// integral types, BOOL and pointers (window handles among them); var lives
// beyond the scope (a member of a window's object, a global), never in the
// frames a fault unwinds.
template <class T>
class CFaultSetting
{
public:
    CFaultSetting(T& var, T value)
    {
        m_hold.Hold(&Restore, reinterpret_cast<ULONG_PTR>(&var), ToWord(var));
        var = value;
    }

private:
    static ULONG_PTR ToWord(T value)
    {
        if constexpr (std::is_pointer<T>::value)
            return reinterpret_cast<ULONG_PTR>(value);
        else
            return static_cast<ULONG_PTR>(value);
    }
    static T FromWord(ULONG_PTR word)
    {
        if constexpr (std::is_pointer<T>::value)
            return reinterpret_cast<T>(word);
        else
            return static_cast<T>(word);
    }
    static void Restore(const ULONG_PTR* data) { *reinterpret_cast<T*>(data[0]) = FromWord(data[1]); }
    CFaultHold m_hold;
};

//--- CFaultCapture
// Gives the window the mouse capture for the length of the scope; at its
// end, or from the guard of a fault that breaks the scope off, the capture
// goes if the window still holds it.
class CFaultCapture
{
public:
    explicit CFaultCapture(HWND hWnd);

private:
    CFaultHold m_hold;
};

//--- CFaultLoop
// A message loop of the program while it runs, an object on the stack of
// the loop's call. Its turns dispatch through Dispatch; the loop is broken
// by a fault in one of its own turns, or by a fault that a guard of any
// module takes in the code of its window (or a window inside it), and then
// ends as if cancelled. A fault in any other window leaves it running. Loops
// nest; a guard whose call breaks off drops every loop that lies inside it
// from the chain, whatever the holds.
class CFaultLoop
{
public:
    // hWnd: the loop's window (read at each fault, so that it may be set
    // once the window exists); null for none.
    explicit CFaultLoop(const HWND& hWnd);
    ~CFaultLoop();
    CFaultLoop(const CFaultLoop&) = delete;
    CFaultLoop& operator=(const CFaultLoop&) = delete;

    // One turn (AfxDispatchLoopMessage): a fault in the loop's own look at
    // the message breaks the loop.
    template <class PreTranslate>
    void Dispatch(MSG& msg, PreTranslate&& preTranslate)
    {
        if (TakeBreakMessage(msg))
            return;
        if (!AfxDispatchLoopMessage(msg, preTranslate))
            m_broken = true;
    }
    void Dispatch(MSG& msg)
    {
        AfxTranslateAndDispatch(msg);
    }
    // Work of the loop's own, guarded: false, the loop broken, when it
    // faulted.
    template <class Fn>
    bool RunOwn(Fn&& fn)
    {
        if (AfxCallGuarded(fn) != 0)
            m_broken = true;
        return !m_broken;
    }
    bool IsBroken() const { return m_broken; }

    // Marks the running loops whose window is hWnd or holds it.
    static void BreakLoopsOf(HWND hWnd);
    // The thread message by which a guard of another module tells this
    // module's loops of a fault in a window: true when msg was one, and its
    // loops are marked.
    static bool TakeBreakMessage(const MSG& msg);
    // The loops on the stack below the guard's record leave the chain.
    static void DropLoopsInside(const void* guardRecord);

private:
    const HWND& m_hWnd;
    bool m_broken = false;
    CFaultLoop* m_pOuter;
};

#endif // VA_FRAMEWORK_APP_FAULTGUARD_H
