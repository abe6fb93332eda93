// The external text editor: which one the registry names, and running it
// on a file until it ends. Windows only.
#ifndef VA_SHARED_EXTERNALEDITOR_H
#define VA_SHARED_EXTERNALEDITOR_H

#include <windows.h>

#include <string>

#include "framework/core/CString.h"

// The editor's command split once, for every caller: the program to start
// and the arguments that go before the file.
struct EditorCommand
{
    std::wstring program;    // a full path, or a name the system looks up
    std::wstring arguments;  // may be empty
};

// A command as the registry holds it, split: a quoted program and the rest;
// unquoted, a full path is the longest run up to a space that names an
// existing file (a folder name may hold spaces), else the program ends at
// the first space. "notepad.exe" without a folder is the system's Notepad by
// its full path, never a file of that name in the current folder.
EditorCommand SplitEditorCommand(const std::wstring& value);

// The editor's command: the default value of the key under
// HKEY_LOCAL_MACHINE (a REG_SZ path, or a REG_EXPAND_SZ one, expanded) as
// the system names it, split; else the system's Notepad: also for an empty
// key path, an empty value or one of another type.
EditorCommand ReadEditorCommand(LPCSTR keyPath);

// The same for the ANSI functions (WidePath.h), to be shown: the editor's
// path as it is or by its short name, with the rest of the command. Empty
// when no such path reaches the editor.
CString ReadEditorPath(LPCSTR keyPath);

// Runs the editor on the file and waits until it ends, with hWndDisable
// (optional) disabled so that the user waits, while messages other threads
// and processes send are still answered; nothing posted is dispatched.
// False when the editor cannot start.
bool RunEditorAndWait(const EditorCommand& editor, const CString& file, HWND hWndDisable);

// Starts the editor on the file the same way and returns at once; false
// when it cannot start.
bool StartEditor(const EditorCommand& editor, const CString& file);

#endif // VA_SHARED_EXTERNALEDITOR_H
