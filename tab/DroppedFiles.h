// Dropped file lists: the DROPFILES blocks of WM_DROPFILES and of CF_HDROP,
// read with each name as the system names it and a path for the ANSI
// functions (WidePath.h) where one reaches the file.
#ifndef VA_TAB_DROPPEDFILES_H
#define VA_TAB_DROPPEDFILES_H

#include <windows.h>

#include <string>
#include <vector>

#include "framework/core/CString.h"

struct DroppedFile
{
    std::wstring name;  // as dropped
    CString path;       // for the ANSI functions; empty when none reaches it
};

// The names of a DROPFILES block, wide or narrow, in list order; false
// unless the whole list, with its closing empty name, lies within the block.
bool ReadDroppedFiles(HGLOBAL hDrop, std::vector<DroppedFile>& files);

// An Internet shortcut by its own name (not its short one, whose extension
// is cut to three letters): the name holds a "\" and its extension, from the
// last ".", is ".URL" in any case.
bool IsShortcutName(const DroppedFile& file);

// A file no path for the ANSI functions reaches; a shortcut is reached
// through its own name.
inline bool IsUnreachable(const DroppedFile& file)
{
    return file.path.IsEmpty() && !IsShortcutName(file);
}

// A dropped name as an address: "h" put before "ttp://" or "ttps://", and
// a name that then has a URL's form loses its line breaks. Whether it has.
bool AsDroppedAddress(CString& text);

// The URL of a dropped shortcut, read through its own name; false when the
// file cannot be read or has no "URL=" line.
bool ReadDroppedShortcut(const DroppedFile& file, CString& url);

// Tells the user in one message box over hOwner that the files cannot be
// opened: their names hold characters the code page lacks, and they have
// no short names. The box shows from the message loop after the caller
// has returned, so that a drop returns to its sender at once.
void ReportUnreachableFiles(HWND hOwner, const std::vector<std::wstring>& names);

#endif // VA_TAB_DROPPEDFILES_H
