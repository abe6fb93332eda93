// Runs a piece of work so that a fault inside it ends the work, not the
// process.
//
// mingw-w64 has no compiler support for structured exception handling, so
// the guard is a small assembly frame of its own with an exception handler
// the system finds by itself: on the 64-bit build through the frame's unwind
// data (the system unwinds every frame in between, running their cleanups),
// on the 32-bit build as a registration record on the thread's handler chain
// (the handler chain in between is unwound; code compiled with this
// compiler's own table-driven C++ exceptions keeps no records there, so its
// destructors in between do not run).
#ifndef VA_FRAMEWORK_APP_FAULTGUARD_H
#define VA_FRAMEWORK_APP_FAULTGUARD_H

#include "framework/win/WinDefs.h"

// Calls fn(context). A structured exception of error severity raised inside
// it and handled by nobody nearer (an access violation, an illegal
// instruction, a division by zero, a foreign C++ exception thrown out of a
// plug-in) ends the call: the result is its exception code. 0 when fn
// returned. Exceptions of lower severity (debug output, breakpoints) pass on
// untouched, and a C++ exception of this program leaves the call as it came.
DWORD AfxCallGuarded(void (*fn)(void*), void* context);

#endif // VA_FRAMEWORK_APP_FAULTGUARD_H
