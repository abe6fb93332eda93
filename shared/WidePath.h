// Paths for the ANSI file functions, taken from the system's wide paths.
//
// The program calls the ANSI functions, whose paths are text in the ANSI code
// page (cp932). A path that holds a character this code page lacks (an
// accented letter, Hangul, an emoji) comes out of an ANSI function with "?"
// in that place and then names no file at all. Such a path is reached instead
// through the short (8.3) names of the parts that need it, which are plain
// ASCII; where the volume keeps no short names the path cannot be used, and
// the caller has to say so.
#ifndef VA_SHARED_WIDEPATH_H
#define VA_SHARED_WIDEPATH_H

#include <windows.h>

#include <string>

#include "framework/core/CString.h"

namespace WidePath {

enum Status
{
    kAsIs,       // the code page holds the path itself
    kShortName,  // reached through short names
    kUnusable,   // no form the ANSI functions take; the text is a best fit
};

// The text in the ANSI code page when every character has its own exact form
// there; false (ansi empty) otherwise.
bool ToExactAnsi(const std::wstring& text, CString& ansi);

// The text in the ANSI code page with the system's best fit: a look-alike
// where one exists, "?" only where nothing fits. For labels, never for paths.
CString ToBestFitAnsi(const std::wstring& text);

// ANSI code page text to UTF-16.
std::wstring FromAnsi(const char* text);

// A path for the ANSI functions from a path and its short form (the same
// parts in the same order; empty when the system gave none): each part as it
// is when the code page holds it, else its short name. kUnusable when a part
// has no short name the code page holds; ansi is then the best-fit text.
Status Choose(const std::wstring& path, const std::wstring& shortPath, CString& ansi);

// The same for an existing file or folder, asking the system for its short
// name only when needed.
Status ToAnsiPath(const std::wstring& path, CString& ansi);

// The full path of a module (null: the program's own file) for the ANSI
// functions; empty when no such path reaches it (kUnusable), never a best
// fit, which may name another file. wide, when given, receives the path as
// the system names it.
Status GetModulePath(HMODULE module, CString& path, std::wstring* wide = nullptr);

// The program folder from the program's own path and its short form (the
// same parts in the same order; empty when the system gave none), for the
// ANSI functions and ending with a backslash. Empty (kUnusable) unless the
// path is a whole path of a drive or a share ("X:\..." or "\\server\...")
// whose every part reaches the ANSI functions, as it is or by its short name:
// a best-fit spelling names a look-alike folder ("Jörg" -> "Jorg",
// "a¥b" -> "a\b"), and a relative one the current folder.
Status ChooseProgramFolder(const std::wstring& modulePath, const std::wstring& shortPath,
                           CString& folder);

// The program folder (ChooseProgramFolder) of the program's own file; wide,
// when given, receives the folder as the system names it. Every module of
// the program that reads or writes the program folder takes it from here,
// and an empty folder means that it has none: nothing is read or written
// there and no module is loaded from it.
Status GetProgramFolder(CString& folder, std::wstring* wide = nullptr);

} // namespace WidePath

#endif // VA_SHARED_WIDEPATH_H
