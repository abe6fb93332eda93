// Sends of the program's own code to its main window, told apart from sends
// of other threads.
//
// The main window refuses most private messages while InSendMessage() is
// true, so that no other thread or process can hand it pointers. But OLE
// delivers calls from another process (a drop from another program) inside
// a message sent by another thread, and InSendMessage() stays true for
// every send this thread makes until that call returns. A send made through
// SendOwnFrameMessage is marked on this thread, and the window takes the
// mark back when it receives that very message.
#ifndef VA_SHARED_FRAMESEND_H
#define VA_SHARED_FRAMESEND_H

#include <windows.h>

// SendMessage, marked as this thread's own when the window belongs to it.
LRESULT SendOwnFrameMessage(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// True, once, when the message is the one SendOwnFrameMessage is sending on
// this thread; the receiving window calls it.
bool TakeOwnFrameMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);

#endif // VA_SHARED_FRAMESEND_H
