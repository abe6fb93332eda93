#include "framework/app/FaultGuard.h"

#include <exception>

// The assembly frame: AfxGuardFrame(fn, context) calls fn(context) and
// returns 0, or returns a fault's code through its resume point once the
// handler has unwound everything the fault left behind. Its handler is
// AfxGuardHandler below.
extern "C" DWORD AfxGuardFrame(void (*fn)(void*), void* context);

namespace {

// Error severity: both top bits of the code set.
bool IsFault(DWORD code)
{
    return (code & 0xC0000000u) == 0xC0000000u;
}

bool IsUnwinding(const EXCEPTION_RECORD* record)
{
    return (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0;
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

} // namespace

#if defined(__x86_64__)

extern "C" void AfxGuardResume();

// The frame's language handler. The system's unwind to the resume point runs
// the termination and cleanup handlers of every frame in between and leaves
// the frame's stack and callee-saved registers as they were at the call; the
// code comes back in eax.
extern "C" EXCEPTION_DISPOSITION AfxGuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*,
                                                 DISPATCHER_CONTEXT* dispatch)
{
    if (IsUnwinding(record) || !IsFault(record->ExceptionCode))
        return ExceptionContinueSearch;
    RtlUnwindEx(frame, reinterpret_cast<void*>(&AfxGuardResume), record,
                reinterpret_cast<void*>(static_cast<ULONG_PTR>(record->ExceptionCode)),
                dispatch->ContextRecord, dispatch->HistoryTable);
    return ExceptionContinueSearch;  // not reached
}

// The 32-byte home area for the callee plus 8 keeps the stack aligned to 16
// bytes at the call.
asm(".text\n"
    ".globl AfxGuardFrame\n"
    ".def AfxGuardFrame; .scl 2; .type 32; .endef\n"
    ".seh_proc AfxGuardFrame\n"
    "AfxGuardFrame:\n"
    "    subq $40, %rsp\n"
    "    .seh_stackalloc 40\n"
    "    .seh_endprologue\n"
    "    movq %rcx, %rax\n"
    "    movq %rdx, %rcx\n"
    "    callq *%rax\n"
    "    nop\n"  // the return address stays inside this frame
    "    xorl %eax, %eax\n"
    "    addq $40, %rsp\n"
    "    ret\n"
    ".globl AfxGuardResume\n"
    "AfxGuardResume:\n"
    "    addq $40, %rsp\n"
    "    ret\n"
    "    .seh_handler AfxGuardHandler, @except\n"
    ".seh_endproc\n");

#elif defined(__i386__)

// Unwinds the handler chain down to the registration record, then resumes
// in the guard's frame with the code in eax; never returns. RtlUnwind keeps
// neither ebx, esi nor edi, so nothing of the caller is used after it.
extern "C" void AfxGuardUnwindAndResume(void* registration, EXCEPTION_RECORD* record, DWORD code);

extern "C" EXCEPTION_DISPOSITION __cdecl AfxGuardHandler(EXCEPTION_RECORD* record, void* registration,
                                                         CONTEXT*, void*)
{
    if (IsUnwinding(record) || !IsFault(record->ExceptionCode))
        return ExceptionContinueSearch;
    AfxGuardUnwindAndResume(registration, record, record->ExceptionCode);
    return ExceptionContinueSearch;  // not reached
}

// The registration record lies on the stack: previous record, handler, and
// the frame's ebp to resume with. Resuming sets esp to the record.
asm(".text\n"
    ".globl _AfxGuardFrame\n"
    ".def _AfxGuardFrame; .scl 2; .type 32; .endef\n"
    "_AfxGuardFrame:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    pushl %ebp\n"
    "    pushl $_AfxGuardHandler\n"
    "    pushl %fs:0\n"
    "    movl %esp, %fs:0\n"
    "    pushl 12(%ebp)\n"
    "    call *8(%ebp)\n"
    "    addl $4, %esp\n"
    "    xorl %eax, %eax\n"
    "L_AfxGuardResume:\n"
    "    movl (%esp), %ecx\n"
    "    movl %ecx, %fs:0\n"
    "    addl $12, %esp\n"
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

DWORD AfxCallGuarded(void (*fn)(void*), void* context)
{
    GuardedCall call = {fn, context, nullptr};
    const DWORD code = AfxGuardFrame(&RunInsideGuard, &call);
    if (call.error)
        std::rethrow_exception(call.error);
    return code;
}
