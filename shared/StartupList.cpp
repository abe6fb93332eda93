#include "shared/StartupList.h"

#include <cstdlib>
#include <cstring>

#include "framework/core/File.h"
#include "shared/DataFields.h"

bool IsUrlForm(LPCTSTR text)
{
    static const char* const kPrefixes[] = {
        "http://",   "https://", "ftp://",    "file://",   "mailto:",
        "news:",     "nntp://",  "prospero://", "telnet://", "wais://",
        "ms-help://", "gopher://", "about:",  "mk:@",
    };
    if (text == nullptr)
        return false;
    // Only the first 11 characters take part; every prefix fits in them.
    for (const char* prefix : kPrefixes) {
        if (strncmp(text, prefix, strlen(prefix)) == 0)
            return true;
    }
    if (text[0] != '\0' && text[1] == ':' && text[2] == '\\')
        return true;
    return text[0] == '\\' && text[1] == '\\';
}

bool ParseStartupListLine(const CString& line, CString& url)
{
    CStringArray fields;
    DataFields::SplitLine(line, DataFields::kSeparator, fields);
    if (fields.GetSize() != 2 || atoi(fields[1]) == 0 || fields[0].IsEmpty() ||
        !IsUrlForm(fields[0]))
        return false;
    url = fields[0];
    return true;
}

void ReadStartupList(LPCTSTR path, CStringArray& urls)
{
    urls.RemoveAll();
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return;
    CString line, url;
    while (file.ReadString(line)) {
        if (ParseStartupListLine(line, url))
            urls.Add(url);
    }
}
