// Runs a piece of work so that a fault inside it ends the work, not the
// process, and leaves nothing of the work held.
//
// Classes in this file:
//   CFaultHold   something a piece of work holds that a fault must not leave
//                held (a lock, a count, a mark, a window's redraw turned off)
//
// mingw-w64 has no compiler support for structured exception handling, so
// the guard is a small assembly frame of its own with an exception handler
// the system finds by itself: on the 64-bit build through the frame's unwind
// data, on the 32-bit build as a registration record on the thread's handler
// chain. On neither build do the destructors of the frames between the fault
// and the guard run: the 64-bit unwind calls the language handler of each of
// those frames, and this compiler's handler runs no cleanup for a structured
// exception; the 32-bit unwind walks only the handler chain, where this
// compiler's frames keep no records (a plug-in's frames made by another
// compiler may run theirs). So what a piece of work holds is recorded as a
// CFaultHold while it is held, and the guard that takes a fault releases the
// holds begun inside its call, newest first. It then ends what the thread
// was tracking (the mouse capture, a menu), as if cancelled, and counts the
// fault: a nested message loop that sees the count change during one of its
// dispatches ends as if cancelled too, so that no loop goes on around a
// handler that broke off.
//
// The 32-bit handler chain runs on across the system's calls of window
// procedures, and a guard further out than the window procedure a fault
// occurred in would unwind the system's frames of that call (and, for a
// message the system sends from inside one of its own calls, the callback
// that must return into that call). So every place where the system calls
// into the program (window, dialog and hook procedures, the COM methods a
// control calls) runs its work in a guard of its own: the nearest guard of a
// fault in the program's own code lies inside the call the fault occurred
// in. The message loops guard what they do themselves with a message, and
// on the 64-bit build its dispatch apart (see AfxDispatchLoopMessage).
#ifndef VA_FRAMEWORK_APP_FAULTGUARD_H
#define VA_FRAMEWORK_APP_FAULTGUARD_H

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

// TranslateMessage and DispatchMessage, as AfxDispatchLoopMessage does them.
void AfxTranslateAndDispatch(MSG& msg);

// One turn of a message loop: preTranslate(msg) (the loop's own look at the
// message, true when it took it) runs guarded, then the message is
// translated and dispatched. The window procedures of the program guard
// their own handling. On the 64-bit build the dispatch runs in a guard of its
// own too, which takes a fault that a procedure of another module leaves (a
// control's, a plug-in's window): the 64-bit unwind crosses the system's
// frames by their own unwind data, and it cannot cross a callback of the
// system's at all. On the 32-bit build the dispatch stays outside any guard,
// so that no guard unwinds the system's call of a window procedure: such a
// fault ends the process as the system would.
template <class PreTranslate>
void AfxDispatchLoopMessage(MSG& msg, PreTranslate&& preTranslate)
{
    bool taken = false;
    if (AfxCallGuarded([&] { taken = preTranslate(msg); }) != 0 || taken)
        return;
    AfxTranslateAndDispatch(msg);
}

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

#endif // VA_FRAMEWORK_APP_FAULTGUARD_H
