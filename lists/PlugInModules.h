// When a plug-in module may be freed.
//
// The list of plug-ins can be emptied while a module's code still runs: its
// PluginExecute asked for the unload, or a window it made still has its
// window procedure. Freeing the module then would send the next return or
// message into unmapped memory. So an entry gives its module back here, and
// the module is freed only when no call into it is on the stack and no
// window of this process has a window procedure (its own, its class's or a
// dialog's) inside the module's image; until then it stays loaded, at the
// latest until the program ends. Hooks and timers a module leaves behind
// cannot be seen and are not waited for.
//
// While a call runs, a dialog of this thread made without an object of the
// program, or a window whose class procedure lies in a module being called,
// gets a guarded procedure: the system calls a plug-in's dialog procedure
// from a loop of its own, and a fault there must end there, not unwind that
// loop. The dialog then ends as if cancelled, and a modal one's loop
// destroys it and enables its owner again. A window the plug-in subclasses
// itself, or makes outside a call, is not guarded.
//
// Classes in this file:
//   CPlugInCall   counts one call into a module while it lasts
#ifndef VA_LISTS_PLUGINMODULES_H
#define VA_LISTS_PLUGINMODULES_H

#include <windows.h>

#include "framework/app/FaultGuard.h"

// The count ends with the object, or when a fault breaks the call off.
class CPlugInCall
{
public:
    explicit CPlugInCall(HMODULE hModule);
    // The last call out of a given-back module frees it when nothing else
    // holds it (the hold's release).
    CPlugInCall(const CPlugInCall&) = delete;
    CPlugInCall& operator=(const CPlugInCall&) = delete;

private:
    CFaultHold m_hold;
};

// An entry took one load reference of the module.
void HoldPlugInModule(HMODULE hModule);
// The entry gives its reference back: freed now when that is safe, else
// kept until FreeGivenBackPlugInModules finds it safe.
void GiveBackPlugInModule(HMODULE hModule);
// Frees each given-back module that is now safe to free; returns how many
// still wait.
int FreeGivenBackPlugInModules();
// Whether a window of this process runs code inside the module's image.
bool WindowRunsModuleCode(HMODULE hModule);

#endif // VA_LISTS_PLUGINMODULES_H
