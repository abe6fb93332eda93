// The entry point of a library module, linked into the library through the
// framework_dllmain target (as WinMain is for a program). The module's one
// application object starts at process attach and ends at detach; a library
// runs no message loop of its own.
#include "framework/app/FaultGuard.h"
#include "framework/app/WinApp.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    return AfxRunEntry("DllMain", FALSE, [&]() -> BOOL {
        return AfxDllMain(hInstance, dwReason);
    });
}
