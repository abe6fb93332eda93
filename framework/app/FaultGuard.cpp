#include "framework/app/FaultGuard.h"

#include <cstdio>
#include <cstring>
#include <exception>

// The assembly frame: AfxGuardFrame(fn, context) calls fn(context) and
// returns 0, or returns a fault's code through its resume point once the
// handler has unwound everything the fault left behind. Its handler is
// AfxGuardHandler below.
extern "C" DWORD AfxGuardFrame(void (*fn)(void*), void* context);

namespace {

bool IsUnwinding(const EXCEPTION_RECORD* record)
{
    return (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0;
}

bool TakesFault(const EXCEPTION_RECORD* record)
{
    return !IsUnwinding(record) && AfxIsSurvivableFault(record->ExceptionCode, record->ExceptionFlags);
}

// No C++ exception crosses the assembly frame (the 32-bit one has no unwind
// tables for them, and its registration record must come off the chain):
// one is caught inside and thrown again outside.
struct GuardedCall
{
    void (*fn)(void*);
    void* context;
    std::exception_ptr error;
};

void RunInsideGuard(void* p)
{
    GuardedCall* call = static_cast<GuardedCall*>(p);
    try {
        call->fn(call->context);
    } catch (...) {
        call->error = std::current_exception();
    }
}

//--- The thread's holds, guards and faults

// Holds live in a table of the thread's: the frames that began them may be
// gone when a guard releases them. The first ones fit in the thread's own
// block; more go to a heap block that grows as needed, so that every hold,
// however deep the calls, is reached by the guard that breaks it off.
const unsigned kFirstHolds = 64;

struct HoldSlot
{
    unsigned serial;  // 0: free
    CFaultHold::ReleaseFn fn;
    ULONG_PTR data[4];
};

// A guarded call while it runs: what it began with, and its window. Records
// lie on the stack of the calls, the innermost first in the chain.
struct GuardRecord
{
    GuardRecord* outer;
    unsigned lastSerial;
    HWND hWnd;
    CFaultLoop* loops;  // the innermost loop running when the call began
};

// Plain data, so that each thread's copy starts zeroed and needs no
// construction. Serials only grow: the holds a guarded call began are those
// whose serial is above the last one given out when the call began.
struct ThreadFaults
{
    unsigned used;        // slots up to the highest one in use
    unsigned capacity;    // of the heap block, 0 while the first block serves
    unsigned lastSerial;
    unsigned faults;
    DWORD lastCode;
    CFaultLoop* loops;    // the innermost message loop running
    GuardRecord* guards;  // the innermost guarded call running
    HoldSlot* heapSlots;
    HoldSlot firstSlots[kFirstHolds];
};

thread_local ThreadFaults t_faults;

HoldSlot* Slots(ThreadFaults& state)
{
    return state.heapSlots != nullptr ? state.heapSlots : state.firstSlots;
}

const HoldSlot* Slots(const ThreadFaults& state)
{
    return state.heapSlots != nullptr ? state.heapSlots : state.firstSlots;
}

// Room for one more slot; false when the heap has none to give.
bool MakeRoom(ThreadFaults& state)
{
    const unsigned capacity = state.heapSlots != nullptr ? state.capacity : kFirstHolds;
    if (state.used < capacity)
        return true;
    const unsigned grown = capacity * 2;
    void* block = ::HeapAlloc(::GetProcessHeap(), 0, grown * sizeof(HoldSlot));
    if (block == nullptr)
        return false;
    HoldSlot* slots = static_cast<HoldSlot*>(block);
    std::memcpy(slots, Slots(state), state.used * sizeof(HoldSlot));
    if (state.heapSlots != nullptr)
        ::HeapFree(::GetProcessHeap(), 0, state.heapSlots);
    state.heapSlots = slots;
    state.capacity = grown;
    return true;
}

void FreeSlot(ThreadFaults& state, unsigned index)
{
    HoldSlot* slots = Slots(state);
    slots[index].serial = 0;
    while (state.used > 0 && slots[state.used - 1].serial == 0)
        --state.used;
}

int FindSlot(const ThreadFaults& state, unsigned serial)
{
    const HoldSlot* slots = Slots(state);
    for (unsigned i = state.used; i-- > 0;)
        if (slots[i].serial == serial)
            return static_cast<int>(i);
    return -1;
}

// The newest hold begun after lastBefore, taken off the table; false when
// none is left.
bool TakeNewestHoldAfter(unsigned lastBefore, HoldSlot& taken)
{
    ThreadFaults& state = t_faults;
    const HoldSlot* slots = Slots(state);
    for (unsigned i = state.used; i-- > 0;) {
        if (slots[i].serial > lastBefore) {
            taken = slots[i];
            FreeSlot(state, i);
            return true;
        }
    }
    return false;
}

// Whether the object lies on the stack inside the guarded call of record
// (the stack grows down: the call's frames lie below its record).
bool LiesInside(const void* object, const GuardRecord* record)
{
    return reinterpret_cast<ULONG_PTR>(object) < reinterpret_cast<ULONG_PTR>(record);
}

// The message another module's guard posts after a fault in a window: each
// module breaks its own loops that hold the window (see CFaultLoop).
UINT BreakLoopsMessage()
{
    static const UINT s_message = ::RegisterWindowMessageA("VantorelArco.FaultBreaksLoopsOf");
    return s_message;
}

// After a call broke off, by a fault its guard took or by an unwind from
// outside: what the broken-off work held is released, each release in a
// guard of its own; the loops it ran leave the chain; the window whose code
// broke off loses the capture and breaks its loops, in every module.
void RecoverThreadAfterBreak(const GuardRecord& record)
{
    HoldSlot hold;
    while (TakeNewestHoldAfter(record.lastSerial, hold))
        AfxCallGuarded([](void* p) {
            const HoldSlot* slot = static_cast<const HoldSlot*>(p);
            slot->fn(slot->data);
        }, &hold);
    CFaultLoop::DropLoopsInside(&record);
    const HWND hWnd = record.hWnd;
    if (hWnd != nullptr) {
        const HWND hCapture = ::GetCapture();
        if (hCapture != nullptr && (hCapture == hWnd || ::IsChild(hWnd, hCapture)))
            ::ReleaseCapture();
        CFaultLoop::BreakLoopsOf(hWnd);
        // The loops of other modules (the dialogs library's in the program,
        // the program's in the library) learn of it from their next turn.
        ::PostThreadMessageA(::GetCurrentThreadId(), BreakLoopsMessage(), reinterpret_cast<WPARAM>(hWnd), 0);
    }
}

// A guard's frame is unwound by a frame further out (one that took what the
// guard passed on, or a jump across it): the call broke off as by a fault.
// The records of the guards inside it, and its own, come off the chain.
void RecoverUnwoundGuard(const void* frame)
{
    ThreadFaults& state = t_faults;
    while (GuardRecord* record = state.guards) {
        state.guards = record->outer;
        RecoverThreadAfterBreak(*record);
        if (!LiesInside(record, reinterpret_cast<const GuardRecord*>(frame)))
            break;
    }
}

} // namespace

#if defined(__x86_64__)

extern "C" void AfxGuardResume();

// The frame's language handler. The system's unwind to the resume point runs
// the termination and cleanup handlers of every frame in between and leaves
// the frame's stack and callee-saved registers as they were at the call; the
// code comes back in eax. The system calls it for an unwind across the frame
// too (the frame's unwind data names it for both).
extern "C" EXCEPTION_DISPOSITION AfxGuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*,
                                                 DISPATCHER_CONTEXT* dispatch)
{
    // An unwind to this frame's own resume point is the fault it took.
    if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND | EXCEPTION_TARGET_UNWIND)) ==
        EXCEPTION_UNWINDING) {
        RecoverUnwoundGuard(frame);
        return ExceptionContinueSearch;
    }
    if (!TakesFault(record))
        return ExceptionContinueSearch;
    RtlUnwindEx(frame, reinterpret_cast<void*>(&AfxGuardResume), record,
                reinterpret_cast<void*>(static_cast<ULONG_PTR>(record->ExceptionCode)),
                dispatch->ContextRecord, dispatch->HistoryTable);
    return ExceptionContinueSearch;  // not reached
}

// The 32-byte home area for the callee plus 8 keeps the stack aligned to 16
// bytes at the call; those 8 bytes keep the MXCSR and the x87 control word
// of the frame's entry. Both are non-volatile in this ABI, and no unwind
// code restores them: the unwind resumes with them as the fault left them
// (a page's code that changed the rounding or masked nothing), and with
// whatever the broken-off code left on the x87 register stack. The resume
// point empties the stack and loads the entry's words again.
asm(".text\n"
    ".globl AfxGuardFrame\n"
    ".def AfxGuardFrame; .scl 2; .type 32; .endef\n"
    ".seh_proc AfxGuardFrame\n"
    "AfxGuardFrame:\n"
    "    subq $40, %rsp\n"
    "    .seh_stackalloc 40\n"
    "    .seh_endprologue\n"
    "    stmxcsr 32(%rsp)\n"
    "    fnstcw 36(%rsp)\n"
    "    movq %rcx, %rax\n"
    "    movq %rdx, %rcx\n"
    "    callq *%rax\n"
    "    nop\n"  // the return address stays inside this frame
    "    xorl %eax, %eax\n"
    "    addq $40, %rsp\n"
    "    ret\n"
    ".globl AfxGuardResume\n"
    "AfxGuardResume:\n"
    "    fninit\n"
    "    fldcw 36(%rsp)\n"
    "    ldmxcsr 32(%rsp)\n"
    "    addq $40, %rsp\n"
    "    ret\n"
    "    .seh_handler AfxGuardHandler, @except, @unwind\n"
    ".seh_endproc\n");

#elif defined(__i386__)

// Unwinds the handler chain down to the registration record, then resumes
// in the guard's frame with the code in eax; never returns. RtlUnwind keeps
// neither ebx, esi nor edi, so nothing of the caller is used after it.
extern "C" void AfxGuardUnwindAndResume(void* registration, EXCEPTION_RECORD* record, DWORD code);

extern "C" EXCEPTION_DISPOSITION __cdecl AfxGuardHandler(EXCEPTION_RECORD* record, void* registration,
                                                         CONTEXT*, void*)
{
    // The unwind of a guard's own fault stops below this record.
    if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) == EXCEPTION_UNWINDING) {
        RecoverUnwoundGuard(registration);
        return ExceptionContinueSearch;
    }
    if (!TakesFault(record))
        return ExceptionContinueSearch;
    AfxGuardUnwindAndResume(registration, record, record->ExceptionCode);
    return ExceptionContinueSearch;  // not reached
}

// Whether the processor has an MXCSR for the 32-bit frame to keep (the
// 64-bit one always has); false until known, and the frame leaves it alone.
extern "C" {
BOOL g_afxGuardKeepsMxcsr = ::IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE);
}

// Below the saved registers lie the frame's entry state: whether it kept
// the MXCSR (read once, so that entry and resume agree), the x87 control
// word and the MXCSR (-24, -20 and -16 from ebp); below them the
// registration record: previous record, handler, and the frame's ebp to
// resume with. Resuming sets esp to the record and ebp from it, takes the
// record off the chain, empties the x87 register stack that the broken-off
// code may have left filled and loads the entry's control words again (the
// unwind keeps them as the fault left them). Both ways out take the record
// off the chain before the registers come back.
asm(".text\n"
    ".globl _AfxGuardFrame\n"
    ".def _AfxGuardFrame; .scl 2; .type 32; .endef\n"
    "_AfxGuardFrame:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    subl $12, %esp\n"
    "    fnstcw -20(%ebp)\n"
    "    movl _g_afxGuardKeepsMxcsr, %eax\n"
    "    movl %eax, -24(%ebp)\n"
    "    testl %eax, %eax\n"
    "    je 1f\n"
    "    stmxcsr -16(%ebp)\n"
    "1:\n"
    "    pushl %ebp\n"
    "    pushl $_AfxGuardHandler\n"
    "    pushl %fs:0\n"
    "    movl %esp, %fs:0\n"
    "    pushl 12(%ebp)\n"
    "    call *8(%ebp)\n"
    "    addl $4, %esp\n"
    "    movl (%esp), %ecx\n"
    "    movl %ecx, %fs:0\n"
    "    xorl %eax, %eax\n"
    "    jmp L_AfxGuardLeave\n"
    "L_AfxGuardResume:\n"
    "    movl (%esp), %ecx\n"
    "    movl %ecx, %fs:0\n"
    "    fninit\n"
    "    fldcw -20(%ebp)\n"
    "    cmpl $0, -24(%ebp)\n"
    "    je L_AfxGuardLeave\n"
    "    ldmxcsr -16(%ebp)\n"
    "L_AfxGuardLeave:\n"
    "    leal -12(%ebp), %esp\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebx\n"
    "    popl %ebp\n"
    "    ret\n"
    ".globl _AfxGuardUnwindAndResume\n"
    ".def _AfxGuardUnwindAndResume; .scl 2; .type 32; .endef\n"
    "_AfxGuardUnwindAndResume:\n"
    "    pushl $0\n"
    "    pushl 12(%esp)\n"  // the record (8 + 4 for the push above)
    "    pushl $0\n"
    "    pushl 16(%esp)\n"  // the registration (4 + 12 for the pushes above)
    "    call *__imp__RtlUnwind@16\n"
    "    movl 12(%esp), %eax\n"
    "    movl 4(%esp), %esp\n"
    "    movl 8(%esp), %ebp\n"
    "    jmp L_AfxGuardResume\n");

#else
#error "AfxCallGuarded needs a frame for this processor"
#endif

DWORD AfxCallGuardedFor(HWND hWnd, void (*fn)(void*), void* context)
{
    ThreadFaults& state = t_faults;
    GuardRecord record = {state.guards, state.lastSerial, hWnd, state.loops};
    state.guards = &record;
    GuardedCall call = {fn, context, nullptr};
    const DWORD code = AfxGuardFrame(&RunInsideGuard, &call);
    state.guards = record.outer;
    if (code != 0) {
        RecoverThreadAfterBreak(record);
        ++state.faults;
        state.lastCode = code;
    }
    if (call.error)
        std::rethrow_exception(call.error);
    return code;
}

DWORD AfxCallGuarded(void (*fn)(void*), void* context)
{
    return AfxCallGuardedFor(nullptr, fn, context);
}

HWND AfxGetGuardedWindow()
{
    for (const GuardRecord* record = t_faults.guards; record != nullptr; record = record->outer)
        if (record->hWnd != nullptr)
            return record->hWnd;
    return nullptr;
}

bool AfxTranslateAndDispatch(MSG& msg)
{
    if (CFaultLoop::TakeBreakMessage(msg))
        return true;
    ::TranslateMessage(&msg);
    // A fault here was left by a procedure of another module: the program's
    // own procedures take theirs inside.
    return AfxCallGuardedFor(msg.hwnd, [&] { ::DispatchMessageA(&msg); }) == 0;
}

void AfxEndSystemTracker(HWND hKept)
{
    const HWND hCapture = ::GetCapture();
    if (hCapture == nullptr || hCapture == hKept ||
        ::GetWindowThreadProcessId(hCapture, nullptr) != ::GetCurrentThreadId() || ::IsWindowVisible(hCapture) ||
        (::GetWindowLongPtrA(hCapture, GWL_STYLE) & WS_CHILD) != 0)
        return;
    ::ReleaseCapture();
    ::DestroyWindow(hCapture);
}

bool AfxIsSurvivableFault(DWORD code, DWORD flags)
{
    if (flags & EXCEPTION_NONCONTINUABLE)
        return false;
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
        return true;
    default:
        return false;
    }
}

void AfxReportEntryFailure(const char* what, DWORD code)
{
    char line[160];
    if (code != 0)
        std::snprintf(line, sizeof(line), "framework: fault 0x%08lX in %s\n", static_cast<unsigned long>(code),
                      what);
    else
        std::snprintf(line, sizeof(line), "framework: exception in %s\n", what);
    ::OutputDebugStringA(line);
}

unsigned AfxGetFaultCount()
{
    return t_faults.faults;
}

DWORD AfxGetLastFaultCode()
{
    return t_faults.lastCode;
}

//--- CFaultHold

void CFaultHold::Hold(ReleaseFn fn, ULONG_PTR a, ULONG_PTR b, ULONG_PTR c, ULONG_PTR d)
{
    Release();
    m_fn = fn;
    m_data[0] = a;
    m_data[1] = b;
    m_data[2] = c;
    m_data[3] = d;
    m_serial = 0;
    ThreadFaults& state = t_faults;
    // With no memory for the table the hold is this object's alone: its
    // release still runs in order, only a fault cannot reach it.
    if (fn == nullptr || !MakeRoom(state))
        return;
    m_serial = ++state.lastSerial;
    HoldSlot& slot = Slots(state)[state.used++];
    slot.serial = m_serial;
    slot.fn = fn;
    for (int i = 0; i < 4; ++i)
        slot.data[i] = m_data[i];
}

bool CFaultHold::Release()
{
    if (m_fn == nullptr)
        return false;
    const ReleaseFn fn = m_fn;
    m_fn = nullptr;
    if (m_serial != 0) {
        ThreadFaults& state = t_faults;
        const int index = FindSlot(state, m_serial);
        m_serial = 0;
        if (index < 0)
            return false;  // a fault's guard released it
        FreeSlot(state, static_cast<unsigned>(index));
    }
    fn(m_data);
    return true;
}

bool CFaultHold::IsHeld() const
{
    return m_fn != nullptr && (m_serial == 0 || FindSlot(t_faults, m_serial) >= 0);
}

//--- CFaultCapture

CFaultCapture::CFaultCapture(HWND hWnd)
{
    ::SetCapture(hWnd);
    m_hold.Hold([](const ULONG_PTR* data) {
        if (::GetCapture() == reinterpret_cast<HWND>(data[0]))
            ::ReleaseCapture();
    }, reinterpret_cast<ULONG_PTR>(hWnd));
}

//--- CFaultLoop

CFaultLoop::CFaultLoop(const HWND& hWnd) : m_hWnd(hWnd), m_pOuter(t_faults.loops)
{
    t_faults.loops = this;
}

CFaultLoop::~CFaultLoop()
{
    // Loops end innermost first; one broken off by a guard has left the
    // chain already, and with it every loop inside.
    ThreadFaults& state = t_faults;
    for (CFaultLoop* loop = state.loops; loop != nullptr; loop = loop->m_pOuter) {
        if (loop == this) {
            state.loops = m_pOuter;
            return;
        }
    }
}

void CFaultLoop::DropLoopsInside(const void* guardRecord)
{
    // The loops outside the call ran when it began and run still: the chain
    // goes back to them without reading the loops that are gone, whose
    // memory the recovery's own calls may have used by now.
    t_faults.loops = static_cast<const GuardRecord*>(guardRecord)->loops;
}

bool CFaultLoop::TakeBreakMessage(const MSG& msg)
{
    if (msg.hwnd != nullptr || msg.message != BreakLoopsMessage())
        return false;
    BreakLoopsOf(reinterpret_cast<HWND>(msg.wParam));
    return true;
}

void CFaultLoop::BreakLoopsOf(HWND hWnd)
{
    if (hWnd == nullptr)
        return;
    for (CFaultLoop* loop = t_faults.loops; loop != nullptr; loop = loop->m_pOuter) {
        const HWND hLoop = loop->m_hWnd;
        if (hLoop != nullptr && (hWnd == hLoop || ::IsChild(hLoop, hWnd)))
            loop->m_broken = true;
    }
}
