// The one way the dialogs library tells the user that a file could not be
// read or written: a message box (the product name as its caption) with what
// failed, the file's path and, when known, the system's reason.
//
// A list file that is there but could not be read is told apart from a
// missing one (FileReadState): the editor that found it so shows it through
// TellIfUnreadable and then never writes that file, so a list held by
// another program, or one without read rights, is not replaced by an empty
// or default list when the user confirms. A write that fails is told the
// same way (TellNotSaved), never taken for a success.
#ifndef VA_DIALOGS_CORE_FILEFAILURE_H
#define VA_DIALOGS_CORE_FILEFAILURE_H

#include <windows.h>

#include "framework/core/CString.h"
#include "framework/core/File.h"
#include "shared/FileFailureText.h"

// bWrite: writing failed, else reading. reason: the system's words, or
// empty; note: a last line, or empty.
void ShowFileFailure(HWND hOwner, bool bWrite, const CString& path, const CString& reason = CString(),
                     const CString& note = CString());
// The same for any kind of failure (a delete, a registry write).
void ShowFileFailure(HWND hOwner, FileFailureKind kind, const CString& path, const CString& reason = CString(),
                     const CString& note = CString());

// For a file that is there but could not be read: says so, with its path,
// the system's reason and that the file is left as it is. Whether it was
// such a file.
bool TellIfUnreadable(HWND hOwner, const FileReadState& state);
// The same for the file at path, opened for reading to see; before an
// append, so that the user is told before entering what could not be kept.
bool TellIfListUnreadable(HWND hOwner, const CString& path);

// For a list file that could not be written: says so, with its path, the
// system's reason (none for error 0) and that the changes were not saved and
// the file holds what it held.
void TellNotSaved(HWND hOwner, const CString& path, DWORD error);

// For a file that could not be deleted: says so, with its path and the
// system's reason (none for error 0).
void TellNotDeleted(HWND hOwner, const CString& path, DWORD error);

#endif // VA_DIALOGS_CORE_FILEFAILURE_H
