#include "lists/KeywordTreeFile.h"

#include <climits>
#include <cstring>

namespace KeywordTreeFile {

FileReadState OpenForReading(CStdioFile& file, LPCTSTR path)
{
    return file.OpenToRead(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText);
}

BOOL ReadLine(CStdioFile& file, CString& line)
{
    if (!file.ReadString(line))
        return FALSE;
    // A stray CR of a CR CR LF end belongs to the line end, not the value.
    int end = line.GetLength();
    while (end > 0 && (line[end - 1] == '\r' || line[end - 1] == '\n'))
        --end;
    int start = 0;
    while (start < end && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    if (start > 0 || end < line.GetLength())
        line = line.Mid(start, end - start);
    return TRUE;
}

BOOL IsRootLine(const CString& line)
{
    CString trimmed(line);
    trimmed.Trim();
    return trimmed == "ROOT:";
}

BOOL StartsWith(const CString& line, LPCTSTR keyword)
{
    size_t length = strlen(keyword);
    return static_cast<size_t>(line.GetLength()) >= length &&
           memcmp(line.GetString(), keyword, length) == 0;
}

CString ValueOf(const CString& line, LPCTSTR keyword)
{
    return line.Mid(static_cast<int>(strlen(keyword)));
}

int ParseNumber(const CString& value)
{
    const char* p = value.GetString();
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long number = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        number = number * 10 + (*p - '0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            number = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-number);
    return number > INT_MAX ? INT_MAX : static_cast<int>(number);
}

void SkipFolderBody(CStdioFile& file)
{
    CString line;
    int open = 1;
    while (open > 0 && ReadLine(file, line)) {
        if (StartsWith(line, "ENDFOLDER:"))
            --open;
        else if (StartsWith(line, "FOLDER:"))
            ++open;
    }
}

CString Indent(int depth)
{
    return depth > 0 ? CString('\t', depth) : CString();
}

} // namespace KeywordTreeFile
