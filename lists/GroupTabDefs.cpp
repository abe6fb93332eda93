#include "lists/GroupTabDefs.h"

#include <climits>
#include <cstdlib>

#include "framework/core/AtomicFile.h"
#include "framework/core/File.h"
#include "shared/DataFields.h"

bool ParseGroupTabLine(const CString& line, GroupTabDef& def)
{
    // Split by characters: the separator's bytes inside a name such as
    // "メM" (83 81 4D) are no separator.
    CStringArray fields;
    DataFields::SplitLine(line, DataFields::kSeparator, fields);
    if (fields.GetSize() != 3)
        return false;
    def.name = fields[0];
    def.switches = static_cast<DWORD>(std::strtoul(fields[1], nullptr, 10));
    def.image = std::atoi(fields[2]);
    return true;
}

namespace {

// A read that fails part-way gives no definitions: none of a list cut
// short is shown or written back.
void ReadDefs(CStdioFile& file, std::vector<GroupTabDef>& defs, int limit)
{
    CString line;
    GroupTabDef def;
    while (static_cast<int>(defs.size()) < limit && file.ReadString(line)) {
        if (ParseGroupTabLine(line, def))
            defs.push_back(def);
    }
    if (file.ReadFailed())
        defs.clear();
}

} // namespace

bool ReadGroupTabDefs(const CString& path, const CString& fallbackPath, std::vector<GroupTabDef>& defs,
                      int limit)
{
    defs.clear();
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeText) &&
        !file.Open(fallbackPath, CFile::modeRead | CFile::typeText))
        return false;
    ReadDefs(file, defs, limit);
    return !file.ReadFailed();
}

FileReadState ReadGroupTabDefsForEditing(const CString& path, const CString& fallbackPath,
                                         std::vector<GroupTabDef>& defs)
{
    defs.clear();
    CStdioFile file;
    FileReadState state = file.OpenToRead(path, CFile::modeRead | CFile::typeText);
    if (state.IsOpened() ||
        (state.result == FileReadState::kMissing && file.Open(fallbackPath, CFile::modeRead | CFile::typeText)))
        ReadDefs(file, defs, INT_MAX);
    file.NoteReadFailure(state);
    return state;
}

bool WriteGroupTabDefs(const CString& path, const std::vector<GroupTabDef>& defs, DWORD* pError)
{
    CAtomicTextFile file;
    if (!file.Begin(path))
        return false;
    for (const GroupTabDef& def : defs) {
        CString numbers;
        numbers.Format("%d%s%d\n", static_cast<int>(def.switches), DataFields::kSeparator, def.image);
        file.WriteString(DataFields::CleanTitleField(def.name) + DataFields::kSeparator + numbers);
    }
    return file.Commit(pError) != FALSE;
}
