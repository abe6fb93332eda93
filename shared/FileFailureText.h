// The words both modules tell a file failure in: what failed, the file's
// path, the system's reason when known, and a last line on what became of
// the file. The main program and the dialogs library show them in a message
// box of their own caption.
#ifndef VA_SHARED_FILEFAILURETEXT_H
#define VA_SHARED_FILEFAILURETEXT_H

#include <windows.h>

#include "framework/core/CString.h"

// kRegistryWrite: path names a registry key.
enum class FileFailureKind { kRead, kWrite, kDelete, kRegistryWrite };

// reason: the system's words, or empty; note: a last line, or empty.
CString FileFailureText(FileFailureKind kind, const CString& path, const CString& reason = CString(),
                        const CString& note = CString());
// The system's words for error with its code, or empty for 0.
CString FileErrorReason(DWORD error);

// "変更は保存されず、このファイルは元のまま残っています。"
extern const char kFileNotSavedNote[];
// "このファイルは書き換えずに、そのまま残します。"
extern const char kFileLeftAsItIsNote[];

// A write of path that failed with error, told in a box owned by hOwner:
// the changes were not saved and the file holds what it held.
void TellFileNotSaved(HWND hOwner, LPCSTR caption, const CString& path, DWORD error);

#endif // VA_SHARED_FILEFAILURETEXT_H
