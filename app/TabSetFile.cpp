#include "app/TabSetFile.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/core/AtomicFile.h"
#include "framework/core/File.h"
#include "shared/DataFields.h"

namespace TabSetFile {

const char kMagicV3[] = "VADatFileVer003";
const char kMagicV2[] = "VADatFileVer002";
const char kListSeparator[] = "\x81\x4F";
const char kNoTitle[] = "notitle";

namespace {

CString Trimmed(const CString& line)
{
    CString text = line;
    text.Trim(" \t");
    return text;
}

bool StartsWith(const CString& line, const char* keyword, CString& value)
{
    const size_t length = strlen(keyword);
    if (strncmp(line, keyword, length) != 0)
        return false;
    value = line.Mid(static_cast<int>(length));
    return true;
}

// A title or address as one item of a list: neither separator can split
// it. A title that the reader would trim to nothing (empty, or blanks only)
// is written as "notitle", so that a one-item list is not dropped.
void AppendList(std::string& out, const CStringArray& items, bool titles)
{
    for (INT_PTR i = 0; i < items.GetSize(); ++i) {
        if (i > 0)
            out += kListSeparator;
        if (!titles) {
            out += static_cast<LPCTSTR>(DataFields::CleanUrlField(items[i]));
            continue;
        }
        CString title = DataFields::CleanTitleField(items[i]);
        CString trimmed = title;
        trimmed.Trim(" \t");
        out += trimmed.IsEmpty() ? kNoTitle : static_cast<LPCTSTR>(title);
    }
}

void AppendHistory(std::string& out, const SavedHistory& history, const char* titleKey,
                   const char* urlKey)
{
    if (history.IsEmpty())
        return;
    out += titleKey;
    AppendList(out, history.m_titles, true);
    out += '\n';
    out += urlKey;
    AppendList(out, history.m_urls, false);
    out += '\n';
}

void AppendLine(std::string& out, const char* prefix, const CString& value)
{
    out += prefix;
    out.append(static_cast<LPCTSTR>(value), static_cast<size_t>(value.GetLength()));
    out += '\n';
}

void AppendNumber(std::string& out, const char* prefix, long value)
{
    out += prefix;
    out += std::to_string(value);
    out += '\n';
}

void SplitFields(const CString& line, CStringArray& fields)
{
    DataFields::SplitLine(line, DataFields::kSeparator, fields);
}

// A version-2 tab line: "flags｀addresses[｀titles]". The first address is
// the page, the others its back list. false for a line to skip.
bool ParseV2TabLine(const CString& line, Tab& tab)
{
    CStringArray fields;
    SplitFields(line, fields);
    if (fields.GetSize() != 2 && fields.GetSize() != 3)
        return false;
    CStringArray urls, titles;
    SplitList(fields[1], urls);
    if (urls.IsEmpty() || urls[0].IsEmpty())
        return false;
    if (fields.GetSize() == 3) {
        SplitList(fields[2], titles);
        if (titles.IsEmpty())
            return false;
        tab.title = titles[0];
    }
    tab.flags = atol(fields[0]);
    tab.url = urls[0];
    urls.RemoveAt(0);
    if (fields.GetSize() == 3) {
        titles.RemoveAt(0);
    } else {
        for (INT_PTR i = 0; i < urls.GetSize(); ++i)
            titles.Add(kNoTitle);
    }
    PairHistory(urls, titles, tab.back);
    return true;
}

// Reads the version-2 groups; each tab line goes through parseTab.
template <class ParseTab>
void ParseV2Groups(const CStringArray& lines, const CString& defaultCaption,
                   std::vector<Group>& groups, ParseTab parseTab)
{
    bool inFolder = false;
    bool inEntry = false;
    CString groupLine;
    CStringArray tabLines;
    for (INT_PTR i = 1; i < lines.GetSize(); ++i) {
        const CString line = Trimmed(lines[i]);
        if (line == "FOLDER:") {
            inFolder = true;
            inEntry = false;
            tabLines.RemoveAll();
            groupLine = i + 1 < lines.GetSize() ? Trimmed(lines[++i]) : CString();
            if (groupLine.IsEmpty())
                groupLine = defaultCaption;
            continue;
        }
        if (!inFolder)
            continue;
        if (line == "ENTRY:") {
            inEntry = true;
        } else if (line == "ENDENTRY:") {
            inEntry = false;
        } else if (line == "ENDFOLDER:") {
            inFolder = inEntry = false;
            CStringArray fields;
            SplitFields(groupLine, fields);
            if (groupLine.IsEmpty() || tabLines.IsEmpty() || fields.GetSize() != 3)
                continue;
            Group group;
            group.caption = fields[0];
            group.options = atol(fields[1]);
            group.image = atoi(fields[2]);
            for (INT_PTR t = 0; t < tabLines.GetSize(); ++t) {
                Tab tab;
                if (parseTab(tabLines[t], tab))
                    group.tabs.push_back(tab);
            }
            if (!group.tabs.empty())
                groups.push_back(group);
        } else if (inEntry && !line.IsEmpty()) {
            tabLines.Add(line);
        }
    }
}

// A tab line of two fields, "flags｀address", without history.
bool ParsePlainTabLine(const CString& line, Tab& tab)
{
    CStringArray fields;
    SplitFields(line, fields);
    if (fields.GetSize() != 2)
        return false;
    CStringArray urls;
    SplitList(fields[1], urls);
    if (urls.IsEmpty() || urls[0].IsEmpty())
        return false;
    tab.flags = atol(fields[0]);
    tab.url = urls[0];
    return true;
}

} // namespace

void SplitList(const CString& text, CStringArray& items)
{
    items.RemoveAll();
    if (text.IsEmpty())
        return;
    DataFields::SplitLine(text, kListSeparator, items);
}

void PairHistory(const CStringArray& urls, const CStringArray& titles, SavedHistory& history)
{
    history.RemoveAll();
    const INT_PTR count = urls.GetSize() < titles.GetSize() ? urls.GetSize() : titles.GetSize();
    for (INT_PTR i = 0; i < count; ++i)
        history.Add(urls[i], titles[i].IsEmpty() ? CString(kNoTitle) : titles[i]);
}

CString FormatV3(const std::vector<Group>& groups)
{
    std::string out = kMagicV3;
    out += '\n';
    for (size_t g = 0; g < groups.size(); ++g) {
        const Group& group = groups[g];
        out += g == 0 ? "FOLDER:\n" : "ENDFOLDER:\nFOLDER:\n";
        AppendLine(out, "\tLABEL:", DataFields::CleanTitleField(group.caption));
        AppendNumber(out, "\tSTATE:", group.options);
        AppendNumber(out, "\tICON:", group.image);
        for (size_t t = 0; t < group.tabs.size(); ++t) {
            const Tab& tab = group.tabs[t];
            out += t == 0 ? "\tENTRY:\n" : "\tENDENTRY:\n\tENTRY:\n";
            AppendNumber(out, "\t\tSTATE:", tab.flags);
            AppendLine(out, "\t\tLABEL:", DataFields::CleanTitleField(tab.title));
            AppendLine(out, "\t\tURL:", DataFields::CleanUrlField(tab.url));
            AppendHistory(out, tab.back, "\t\tBACKTITLE:", "\t\tBACKURL:");
            AppendHistory(out, tab.forward, "\t\tFORETITLE:", "\t\tFOREURL:");
        }
        if (!group.tabs.empty())
            out += "\tENDENTRY:\n";
    }
    if (!groups.empty())
        out += "ENDFOLDER:\n";
    return CString(out.c_str(), static_cast<int>(out.size()));
}

CString FormatV2(const std::vector<Group>& groups)
{
    std::string out = kMagicV2;
    out += '\n';
    for (const Group& group : groups) {
        out += "FOLDER:\n\t";
        out += static_cast<LPCTSTR>(DataFields::CleanTitleField(group.caption));
        out += DataFields::kSeparator;
        out += std::to_string(group.options);
        out += DataFields::kSeparator;
        out += std::to_string(group.image);
        out += "\nENTRY:\n";
        for (const Tab& tab : group.tabs) {
            out += "\t\t";
            out += std::to_string(tab.flags);
            out += DataFields::kSeparator;
            out += static_cast<LPCTSTR>(DataFields::CleanUrlField(tab.url));
            out += '\n';
        }
        out += "ENDENTRY:\nENDFOLDER:\n";
    }
    return CString(out.c_str(), static_cast<int>(out.size()));
}

bool ParseV3(const CStringArray& lines, const CString& defaultCaption, std::vector<Group>& groups)
{
    if (lines.IsEmpty() || Trimmed(lines[0]) != kMagicV3)
        return false;
    // The group values stay from one group to the next when a line after
    // "FOLDER:" does not carry its keyword.
    CString name;
    long state = 0;
    int icon = 0;
    bool inFolder = false;
    std::vector<Tab> pending;
    Tab* current = nullptr;  // null until the first "ENTRY:" of the group
    CString backTitles, backUrls, foreTitles, foreUrls;
    CString value;
    for (INT_PTR i = 1; i < lines.GetSize(); ++i) {
        const CString line = Trimmed(lines[i]);
        if (!inFolder) {
            if (line != "FOLDER:")
                continue;
            inFolder = true;
            pending.clear();
            current = nullptr;
            // The next three lines are the group's, whatever they hold.
            if (i + 1 < lines.GetSize() && StartsWith(Trimmed(lines[i + 1]), "LABEL:", value))
                name = value;
            if (i + 2 < lines.GetSize() && StartsWith(Trimmed(lines[i + 2]), "STATE:", value))
                state = atol(value);
            if (i + 3 < lines.GetSize() && StartsWith(Trimmed(lines[i + 3]), "ICON:", value))
                icon = atoi(value);
            i += 3;
            if (name.IsEmpty())
                name = defaultCaption;
            continue;
        }
        if (line.IsEmpty())
            continue;
        if (line == "ENDFOLDER:") {
            if (!name.IsEmpty() && !pending.empty()) {
                Group group;
                group.caption = name;
                group.options = state;
                group.image = icon;
                group.tabs.swap(pending);
                groups.push_back(std::move(group));
            }
            pending.clear();
            current = nullptr;
            inFolder = false;
        } else if (line == "ENTRY:") {
            pending.emplace_back();
            current = &pending.back();
            backTitles.Empty();
            backUrls.Empty();
            foreTitles.Empty();
            foreUrls.Empty();
        } else if (current == nullptr) {
            // Tab lines before the group's first "ENTRY:" belong to no tab.
        } else if (StartsWith(line, "STATE:", value)) {
            current->flags = atol(value);
        } else if (StartsWith(line, "LABEL:", value)) {
            current->title = value;
        } else if (StartsWith(line, "URL:", value)) {
            current->url = value;
        } else if (StartsWith(line, "BACKTITLE:", value)) {
            backTitles = value;
        } else if (StartsWith(line, "FORETITLE:", value)) {
            foreTitles = value;
        } else if (StartsWith(line, "BACKURL:", value) || StartsWith(line, "FOREURL:", value)) {
            const bool back = line[0] == 'B';
            (back ? backUrls : foreUrls) = value;
            const CString& titleList = back ? backTitles : foreTitles;
            if (!titleList.IsEmpty() && !value.IsEmpty()) {
                CStringArray urls, titles;
                SplitList(value, urls);
                SplitList(titleList, titles);
                PairHistory(urls, titles, back ? current->back : current->forward);
            }
        }
    }
    return true;
}

bool ParseV2(const CStringArray& lines, const CString& defaultCaption, std::vector<Group>& groups)
{
    if (lines.IsEmpty() || Trimmed(lines[0]) != kMagicV2)
        return false;
    ParseV2Groups(lines, defaultCaption, groups, ParseV2TabLine);
    return true;
}

void ParseClosedSet(const CStringArray& lines, const CString& defaultCaption,
                    std::vector<Group>& groups, std::vector<Tab>& loose)
{
    if (lines.IsEmpty())
        return;
    if (Trimmed(lines[0]) == kMagicV2) {
        ParseV2Groups(lines, defaultCaption, groups, ParsePlainTabLine);
        return;
    }
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
        Tab tab;
        CStringArray fields;
        const CString line = Trimmed(lines[i]);
        SplitFields(line, fields);
        if (fields.GetSize() != 2 || fields[1].IsEmpty())
            continue;
        tab.flags = atol(fields[0]);
        tab.url = fields[1];
        loose.push_back(tab);
    }
}

bool ReadLines(LPCTSTR path, CStringArray& lines)
{
    lines.RemoveAll();
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return false;
    CString line;
    while (file.ReadString(line))
        lines.Add(line);
    return true;
}

bool WriteWhole(LPCTSTR path, const CString& text)
{
    CAtomicTextFile file;
    if (!file.Begin(path) || !file.WriteString(text)) {
        file.Abandon();
        return false;
    }
    return file.Commit() != FALSE;
}

} // namespace TabSetFile
