// Group-tab definitions: the templates of "GroupTab.dat" (or, without it,
// "GroupTabDefdefault.dat") from which the File menu makes new groups. Each
// line is name｀switches｀image.
#ifndef VA_LISTS_GROUPTABDEFS_H
#define VA_LISTS_GROUPTABDEFS_H

#include <vector>

#include "framework/core/CString.h"
#include "framework/core/File.h"

struct GroupTabDef
{
    CString name;        // the caption template, "&" as typed
    int image = 0;       // index into the group-tab image strip
    DWORD switches = 0;  // download-control switch word
};

// At most this many definitions are held (commands 36600 to 36699).
inline constexpr int kMaxGroupTabDefs = 100;

// One line of the file; false unless it has exactly three fields. Empty
// number fields read as 0.
bool ParseGroupTabLine(const CString& line, GroupTabDef& def);

// Reads the definitions of the first file that opens (path, else
// fallbackPath), at most limit; false when neither opens.
bool ReadGroupTabDefs(const CString& path, const CString& fallbackPath, std::vector<GroupTabDef>& defs,
                      int limit = kMaxGroupTabDefs);
// For the editor, which writes the file back: every definition of path, or,
// only when path is missing, of fallbackPath. When path is there but cannot
// be read nothing is read and the result says why; the file must then not
// be written over.
FileReadState ReadGroupTabDefsForEditing(const CString& path, const CString& fallbackPath,
                                         std::vector<GroupTabDef>& defs);

// Writes every definition as "name｀switches｀image" (the name made safe
// for its field), replacing the file whole or not at all; false when the
// file was not replaced, with the system's code in *pError (when given).
[[nodiscard]] bool WriteGroupTabDefs(const CString& path, const std::vector<GroupTabDef>& defs, DWORD* pError = nullptr);

#endif // VA_LISTS_GROUPTABDEFS_H
