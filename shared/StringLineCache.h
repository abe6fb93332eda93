// Numbered string files: the user-visible texts, one per line, in the String
// folder, read through a cache of consecutive lines of one file (50 in the
// program, 10 in the dialogs library).
//
// Classes in this file:
//   CStringLineCache   line N of a file, with the 50-line cache
//   CStringFiles       the getters of the program's eight string files
#ifndef VA_SHARED_STRINGLINECACHE_H
#define VA_SHARED_STRINGLINECACHE_H

#include <vector>

#include "framework/core/CString.h"

//--- CStringLineCache
class CStringLineCache
{
public:
    static constexpr int kDefaultLineCount = 50;

    // lineCount (at least 1): how many lines one read of a file caches.
    explicit CStringLineCache(int lineCount = kDefaultLineCount);

    // Line lineNumber (from 1) of the file at path, with the escapes "\n",
    // "\r" and "\t" expanded. fileName is the bare name the cache is keyed by
    // (case-sensitive). Empty for a null path, a file that cannot be opened
    // and a line beyond the end of the file.
    CString LoadStringLine(LPCTSTR path, LPCTSTR fileName, int lineNumber);

    // Forgets the cached lines.
    void Clear();

    // How many times a file was opened (or an open was tried) to fill the
    // cache.
    int GetFileReadCount() const { return m_fileReadCount; }

private:
    bool IsCached(const CString& fileName, int lineNumber) const;
    bool Fill(LPCTSTR path, const CString& fileName, int lineNumber);

    bool m_filled = false;  // m_fileName and the slots hold a read
    CString m_fileName;
    int m_firstLine = 0;
    std::vector<CString> m_lines;
    int m_fileReadCount = 0;
};

// Expands the escapes "\n", "\r" and "\t" of a string-file line. Scans by
// cp932 characters, so a trail byte 0x5C is never an escape start.
CString ExpandStringFileEscapes(const CString& line);

//--- CStringFiles
class CStringFiles
{
public:
    explicit CStringFiles(int cacheLineCount = CStringLineCache::kDefaultLineCount)
        : m_cache(cacheLineCount) {}

    // The String folder, ending with the path separator. Until it is set
    // every getter returns an empty text.
    void SetFolder(const CString& stringFolder) { m_folder = stringFolder; }
    const CString& GetFolder() const { return m_folder; }

    // Line lineNumber (from 1) of a file of the String folder.
    CString GetText(LPCTSTR fileName, int lineNumber);

    CString GetMessageText(int lineNumber) { return GetText("message.dat", lineNumber); }
    CString GetUrlText(int lineNumber) { return GetText("url.dat", lineNumber); }
    CString GetRegText(int lineNumber) { return GetText("reg.dat", lineNumber); }
    CString GetEtcText(int lineNumber) { return GetText("etc.dat", lineNumber); }
    CString GetDlgText(int lineNumber) { return GetText("dlg.dat", lineNumber); }
    CString GetFirstText(int lineNumber) { return GetText("first.dat", lineNumber); }
    CString GetIEHistoryText(int lineNumber) { return GetText("iehistory.dat", lineNumber); }
    CString GetFavText(int lineNumber) { return GetText("fav.dat", lineNumber); }

    const CStringLineCache& GetCache() const { return m_cache; }

private:
    CString m_folder;
    CStringLineCache m_cache;
};

#endif // VA_SHARED_STRINGLINECACHE_H
