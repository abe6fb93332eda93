#include "lists/PopupRules.h"

#include <cstdlib>

#include "framework/core/AtomicFile.h"
#include "framework/core/Collections.h"
#include "framework/core/File.h"
#include "shared/DataFields.h"

bool ParsePopupRule(const CString& line, PopupRule& rule)
{
    CStringArray fields;
    DataFields::SplitLine(line, DataFields::kSeparator, fields);
    if (fields.GetSize() < 4)
        return false;
    rule.title = fields[0];
    rule.url = fields[1];
    rule.flags = 0;
    if (atoi(fields[2]) != 0)
        rule.flags |= PopupRule::kTitleOn;
    if (atoi(fields[3]) != 0)
        rule.flags |= PopupRule::kUrlOn;
    if (fields.GetSize() == 6) {
        if (atoi(fields[4]) != 0)
            rule.flags |= PopupRule::kTitleRegex;
        if (atoi(fields[5]) != 0)
            rule.flags |= PopupRule::kUrlRegex;
    }
    return true;
}

CString FormatPopupRule(const PopupRule& rule)
{
    CString line = DataFields::CleanTitleField(rule.title) + DataFields::kSeparator +
                   DataFields::CleanUrlField(rule.url);
    for (DWORD bit : { PopupRule::kTitleOn, PopupRule::kUrlOn, PopupRule::kTitleRegex, PopupRule::kUrlRegex }) {
        line += DataFields::kSeparator;
        line += (rule.flags & bit) != 0 ? "1" : "0";
    }
    return line + "\n";
}

bool ReadPopupRules(const CString& path, std::vector<PopupRule>& rules, FileReadState* pState)
{
    rules.clear();
    CStdioFile file;
    FileReadState state = file.OpenToRead(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText);
    if (pState != nullptr)
        *pState = state;
    if (!state.IsOpened())
        return false;
    CString line;
    PopupRule rule;
    while (file.ReadString(line)) {
        if (ParsePopupRule(line, rule))
            rules.push_back(rule);
    }
    // A read that failed part-way counts as a file that could not be read.
    file.NoteReadFailure(state);
    if (pState != nullptr)
        *pState = state;
    if (state.IsUnreadable()) {
        rules.clear();
        return false;
    }
    return true;
}

bool WritePopupRules(const CString& path, const std::vector<PopupRule>& rules, DWORD* pError)
{
    CAtomicTextFile file;
    if (!file.Begin(path))
        return false;
    for (const PopupRule& rule : rules)
        file.WriteString(FormatPopupRule(rule));
    return file.Commit(pError) != FALSE;
}

bool AppendPopupRule(const CString& path, const PopupRule& rule, FileReadState* pRead, DWORD* pWriteError)
{
    return CAtomicTextFile::AppendText(path, FormatPopupRule(rule), pRead, pWriteError) != FALSE;
}
