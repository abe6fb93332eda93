#include "shared/FrameSend.h"

#include "framework/app/FaultGuard.h"

namespace {

struct OwnSend
{
    bool armed;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Per thread: a mark made on one thread is never seen by another's window.
thread_local OwnSend t_ownSend = {false, 0, 0, 0};

} // namespace

LRESULT SendOwnFrameMessage(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId())
        return ::SendMessageA(hWnd, nMsg, wParam, lParam);
    // Sends nest (the handler may send again): each restores the mark of
    // the one around it, also when a fault breaks the send off.
    const OwnSend outer = t_ownSend;
    CFaultHold restore;
    restore.Hold([](const ULONG_PTR* data) {
        t_ownSend = {data[0] != 0, static_cast<UINT>(data[1]), static_cast<WPARAM>(data[2]),
                     static_cast<LPARAM>(data[3])};
    }, outer.armed ? 1 : 0, outer.msg, static_cast<ULONG_PTR>(outer.wParam), static_cast<ULONG_PTR>(outer.lParam));
    t_ownSend = {true, nMsg, wParam, lParam};
    return ::SendMessageA(hWnd, nMsg, wParam, lParam);
}

bool TakeOwnFrameMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    OwnSend& mark = t_ownSend;
    if (!mark.armed || mark.msg != nMsg || mark.wParam != wParam || mark.lParam != lParam)
        return false;
    mark.armed = false;
    return true;
}
