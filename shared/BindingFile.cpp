#include "shared/BindingFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/core/AtomicFile.h"
#include "framework/core/Collections.h"
#include "framework/core/File.h"
#include "shared/DataFields.h"
#include "shared/ProgramPath.h"

namespace BindingFile {

bool Parse(const CString& line, Line& out)
{
    CStringArray fields;
    DataFields::SplitLine(line, DataFields::kSeparator, fields);
    if (fields.GetSize() < 3)
        return false;
    out.label = fields[0];
    out.text = fields[1];
    out.command = atoi(fields[2]);
    out.fieldCount = static_cast<int>(fields.GetSize());
    out.kind = fields.GetSize() == 4 ? atoi(fields[3]) : 0;
    out.commandField = fields[2];
    out.kindField = fields.GetSize() == 4 ? fields[3] : CString();
    return true;
}

namespace {

// A read that fails part-way gives no lines: none of a list cut short is
// used or written back.
void ReadLines(CStdioFile& file, std::vector<Line>& lines)
{
    CString text;
    Line line;
    while (file.ReadString(text)) {
        if (Parse(text, line))
            lines.push_back(line);
    }
    if (file.ReadFailed())
        lines.clear();
}

const UINT kReadFlags = CFile::modeRead | CFile::shareDenyNone | CFile::typeText;

} // namespace

FileReadState ReadForEditing(const CString& folder, const char* name, const char* defaultName,
                             std::vector<Line>& lines)
{
    lines.clear();
    CStdioFile file;
    FileReadState state = file.OpenToRead(ProgramPath::Join(folder, name), kReadFlags);
    if (state.IsOpened() ||
        (state.result == FileReadState::kMissing && file.Open(ProgramPath::Join(folder, defaultName), kReadFlags)))
        ReadLines(file, lines);
    file.NoteReadFailure(state);
    return state;
}

bool Read(const CString& folder, const char* name, const char* defaultName, std::vector<Line>& lines)
{
    lines.clear();
    CStdioFile file;
    if (!file.Open(ProgramPath::Join(folder, name), kReadFlags) &&
        !file.Open(ProgramPath::Join(folder, defaultName), kReadFlags))
        return false;
    ReadLines(file, lines);
    return !file.ReadFailed();
}

bool TextBefore(const CString& a, const CString& b)
{
    const size_t nA = static_cast<size_t>(a.GetLength());
    const size_t nB = static_cast<size_t>(b.GetLength());
    const int n = memcmp(static_cast<LPCSTR>(a), static_cast<LPCSTR>(b), nA < nB ? nA : nB);
    return n != 0 ? n < 0 : nA < nB;
}

bool Write(const CString& path, std::vector<Line> lines, DWORD* pError)
{
    // A "｀" or a line break in a field would shift every field after it;
    // the texts are cleaned before the sort, so the file is in its own order.
    for (Line& line : lines) {
        line.label = DataFields::CleanTitleField(line.label);
        line.text = DataFields::CleanTitleField(line.text);
        line.commandField = DataFields::CleanTitleField(line.commandField);
        line.kindField = DataFields::CleanTitleField(line.kindField);
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return TextBefore(a.text, b.text); });
    CAtomicTextFile file;
    if (!file.Begin(path))
        return false;
    for (const Line& line : lines) {
        file.WriteString(line.label + DataFields::kSeparator + line.text + DataFields::kSeparator +
                         line.commandField + DataFields::kSeparator + line.kindField + "\n");
    }
    return file.Commit(pError) != FALSE;
}

} // namespace BindingFile
