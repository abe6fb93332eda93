// The external text editor: which one the registry names, and running it
// on a file until it ends. Windows only.
#ifndef VA_SHARED_EXTERNALEDITOR_H
#define VA_SHARED_EXTERNALEDITOR_H

#include <windows.h>

#include <string>

#include "framework/core/CString.h"

// The editor's command: the default value of the key under
// HKEY_LOCAL_MACHINE (a REG_SZ path, or a REG_EXPAND_SZ one, expanded) as
// the system names it, for the wide functions, else "notepad.exe": also for
// an empty key path, an empty value or one of another type.
std::wstring ReadEditorCommand(LPCSTR keyPath);

// The same for the ANSI functions (WidePath.h), to be shown: the editor's
// path as it is or by its short name, with the rest of the command. Empty
// when no such path reaches the editor.
CString ReadEditorPath(LPCSTR keyPath);

// Runs the editor (ReadEditorCommand) on the file and waits until it ends,
// with hWndDisable (optional) disabled so that the user waits, while
// messages other threads and processes send are still answered; nothing
// posted is dispatched. False when the editor cannot start.
bool RunEditorAndWait(const std::wstring& editor, const CString& file, HWND hWndDisable);

#endif // VA_SHARED_EXTERNALEDITOR_H
