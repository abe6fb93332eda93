// Key and gesture binding files, "KEYCONF.dat" and "MGC.dat" (each with its
// "...Default.dat" used when it is missing): one binding a line,
// "label｀text｀command｀kind", where text is a shortcut text or a gesture
// of arrows and kind 1 means the command is a virtual key to send.
#ifndef VA_SHARED_BINDINGFILE_H
#define VA_SHARED_BINDINGFILE_H

#include <vector>

#include "framework/core/CString.h"
#include "framework/core/File.h"

namespace BindingFile {

struct Line
{
    CString label;
    CString text;
    int command = 0;
    int kind = 0;        // read only from lines of exactly four fields
    int fieldCount = 0;
    // The third and fourth fields as they stand; the fourth only from lines
    // of exactly four fields, else empty.
    CString commandField;
    CString kindField;
};

// Kind 1: the command is a virtual-key code that stands for the key.
const int kKindKeyEvent = 1;

// One line, its line end already stripped: one separator is appended and
// the fields cut at every separator, so a trailing separator makes a fifth,
// empty field. false for a line of fewer than three fields.
bool Parse(const CString& line, Line& out);

// For an editor that writes the file back: the accepted lines of folder +
// name, or, only when that file is missing, of folder + defaultName, in file
// order. The result tells how the user's file went: when it is there but
// cannot be read, no lines are read, the defaults neither, and the file
// must not be written over.
FileReadState ReadForEditing(const CString& folder, const char* name, const char* defaultName,
                             std::vector<Line>& lines);

// For a reader that never writes the file: the same, but the defaults are
// taken whenever folder + name does not open; false when neither opens.
bool Read(const CString& folder, const char* name, const char* defaultName, std::vector<Line>& lines);

// Whether a's text sorts before b's: byte by byte as unsigned values, a
// prefix first.
bool TextBefore(const CString& a, const CString& b);

// Writes the lines to path, sorted by their text (TextBefore, equal texts in
// the order given), each "label｀text｀command｀kind" from the fields, each
// made safe for its field (DataFields::CleanTitleField); the file is
// replaced whole or not at all. false when it was not, with the system's
// code in *pError (when given).
[[nodiscard]] bool Write(const CString& path, std::vector<Line> lines, DWORD* pError = nullptr);

} // namespace BindingFile

#endif // VA_SHARED_BINDINGFILE_H
