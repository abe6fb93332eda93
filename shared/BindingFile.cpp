#include "shared/BindingFile.h"

#include <cstdlib>

#include "framework/core/Collections.h"
#include "framework/core/File.h"
#include "shared/DataFields.h"
#include "shared/ProgramPath.h"

namespace BindingFile {

bool Parse(const CString& line, Line& out)
{
    CStringArray fields;
    DataFields::SplitTerminated(line + DataFields::kSeparator, DataFields::kSeparator, fields);
    if (fields.GetSize() < 3)
        return false;
    out.label = fields[0];
    out.text = fields[1];
    out.command = atoi(fields[2]);
    out.fieldCount = static_cast<int>(fields.GetSize());
    out.kind = fields.GetSize() == 4 ? atoi(fields[3]) : 0;
    return true;
}

bool Read(const CString& folder, const char* name, const char* defaultName, std::vector<Line>& lines)
{
    lines.clear();
    CStdioFile file;
    if (!file.Open(ProgramPath::Join(folder, name), CFile::modeRead | CFile::shareDenyNone | CFile::typeText) &&
        !file.Open(ProgramPath::Join(folder, defaultName),
                   CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return false;
    CString text;
    Line line;
    while (file.ReadString(text)) {
        if (Parse(text, line))
            lines.push_back(line);
    }
    return true;
}

} // namespace BindingFile
