#include "shared/StringLineCache.h"

#include "framework/core/Cp932.h"
#include "framework/core/File.h"
#include "shared/ProgramPath.h"

CStringLineCache::CStringLineCache(int lineCount)
    : m_lines(static_cast<size_t>(lineCount > 0 ? lineCount : 1))
{
}

CString CStringLineCache::LoadStringLine(LPCTSTR path, LPCTSTR fileName, int lineNumber)
{
    if (path == nullptr || lineNumber < 1)
        return CString();
    const CString name(fileName);
    if (!IsCached(name, lineNumber) && !Fill(path, name, lineNumber))
        return CString();
    return m_lines[lineNumber - m_firstLine];
}

void CStringLineCache::Clear()
{
    m_filled = false;
    m_fileName.Empty();
    m_firstLine = 0;
    for (CString& line : m_lines)
        line.Empty();
}

// An empty slot is never a hit: it may be an unread line as well as an empty
// one, so empty lines are read again each time.
bool CStringLineCache::IsCached(const CString& fileName, int lineNumber) const
{
    if (!m_filled || m_fileName != fileName)
        return false;
    const int slot = lineNumber - m_firstLine;
    return slot >= 0 && slot < static_cast<int>(m_lines.size()) && !m_lines[slot].IsEmpty();
}

// Refills all slots from lineNumber on. Every slot is cleared first, so lines
// of an earlier file or range can never be served after a short read; a file
// that does not open leaves nothing cached at all.
bool CStringLineCache::Fill(LPCTSTR path, const CString& fileName, int lineNumber)
{
    Clear();
    ++m_fileReadCount;

    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return false;
    m_filled = true;
    m_fileName = fileName;
    m_firstLine = lineNumber;

    CString line;
    int number = 0;
    int slot = 0;
    while (slot < static_cast<int>(m_lines.size()) && file.ReadString(line)) {
        ++number;
        if (number < lineNumber)
            continue;
        m_lines[slot++] = ExpandStringFileEscapes(line);
    }
    file.Close();
    return true;
}

CString ExpandStringFileEscapes(const CString& line)
{
    const char* s = line;
    const int len = line.GetLength();
    if (Cp932Find(s, len, '\\') < 0)
        return line;

    CString out;
    int i = 0;
    while (i < len) {
        const int next = Cp932Next(s, len, i);
        if (next == i + 1 && s[i] == '\\' && i + 1 < len) {
            const char c = s[i + 1];
            const char replacement = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : '\0';
            if (replacement != '\0') {
                out += replacement;
                i += 2;
                continue;
            }
        }
        out.Append(s + i, next - i);
        i = next;
    }
    return out;
}

CString CStringFiles::GetText(LPCTSTR fileName, int lineNumber)
{
    if (m_folder.IsEmpty())
        return CString();
    return m_cache.LoadStringLine(ProgramPath::Join(m_folder, fileName), fileName, lineNumber);
}
