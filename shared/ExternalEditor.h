// The external text editor: which one the registry names, and running it
// on a file until it ends. Windows only.
#ifndef VA_SHARED_EXTERNALEDITOR_H
#define VA_SHARED_EXTERNALEDITOR_H

#include <windows.h>

#include "framework/core/CString.h"

// The default value of the key under HKEY_LOCAL_MACHINE (a REG_SZ path, or
// a REG_EXPAND_SZ one, expanded), else "notepad.exe": also for an empty key
// path, an empty value or one of another type.
CString ReadEditorPath(LPCSTR keyPath);

// Runs the editor on the file and waits until it ends, with hWndDisable
// (optional) disabled so that the user waits, while messages other threads
// and processes send are still answered; nothing posted is dispatched.
// False when the editor cannot start.
bool RunEditorAndWait(const CString& editor, const CString& file, HWND hWndDisable);

#endif // VA_SHARED_EXTERNALEDITOR_H
