#include "shared/FrameSend.h"

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
    // the one around it.
    const OwnSend outer = t_ownSend;
    t_ownSend = {true, nMsg, wParam, lParam};
    const LRESULT result = ::SendMessageA(hWnd, nMsg, wParam, lParam);
    t_ownSend = outer;
    return result;
}

bool TakeOwnFrameMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    OwnSend& mark = t_ownSend;
    if (!mark.armed || mark.msg != nMsg || mark.wParam != wParam || mark.lParam != lParam)
        return false;
    mark.armed = false;
    return true;
}
