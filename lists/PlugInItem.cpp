#include "lists/PlugInItem.h"

#include "framework/core/File.h"
#include "lists/PlugInModules.h"
#include "shared/DataFields.h"
#include "shared/StringLineCache.h"
#include "shared/TextFormat.h"

namespace {

// Lines of etc.dat: the translation table and the three version queries.
const int kEtcTranslation = 53;
const int kEtcVersionPrefix = 54;
const int kEtcVersionKey = 55;
const int kEtcVersion2 = 60;
const int kEtcVersion3 = 61;

// The string value at subBlock, or false when there is none.
bool QueryVersionText(const void* block, const CString& subBlock, CString& text)
{
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, subBlock, &value, &length) || value == nullptr)
        return false;
    const char* chars = static_cast<const char*>(value);
    // The length counts the terminator; never read past it.
    int n = 0;
    while (n < static_cast<int>(length) && chars[n] != '\0')
        ++n;
    text = CString(chars, n);
    return true;
}

} // namespace

bool ParseCatalogEntry(const CString& line, CString& path, bool& enabled)
{
    CStringArray fields;
    DataFields::SplitTerminated(line + "?", "?", fields);
    if (fields.GetSize() != 2 || fields[0].IsEmpty())
        return false;
    path = fields[0];
    enabled = fields[1] == "1";
    return true;
}

bool ParseCatalogLine(const CString& line, CString& path)
{
    bool enabled = false;
    return ParseCatalogEntry(line, path, enabled) && enabled;
}

bool FindCatalogFile(const CString& path, CString& fileName)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    fileName = data.cFileName;
    return true;
}

int ReadCatalog(const CString& folder, LPCTSTR listFile, std::initializer_list<LPCTSTR> patterns,
                const CatalogAdd& add)
{
    int count = 0;
    if (folder.IsEmpty())
        return 0;
    CStdioFile file;
    if (file.Open(folder + listFile, CFile::modeRead | CFile::typeText)) {
        CString line, path, found;
        while (file.ReadString(line)) {
            if (ParseCatalogLine(line, path) && FindCatalogFile(path, found) && add(path, found, nullptr))
                ++count;
        }
        file.Close();
        return count;
    }
    return ScanCatalogFolder(folder, patterns, add);
}

int ScanCatalogFolder(const CString& folder, std::initializer_list<LPCTSTR> patterns, const CatalogAdd& add)
{
    int count = 0;
    if (folder.IsEmpty())
        return 0;
    for (LPCTSTR pattern : patterns) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(folder + pattern, &data);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                add(folder + data.cFileName, data.cFileName, pattern))
                ++count;
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return count;
}

CPlugInItem::~CPlugInItem()
{
    // Freed once none of its code can still run (PlugInModules.h).
    if (m_loaded && m_hModule != nullptr)
        GiveBackPlugInModule(m_hModule);
    m_hModule = nullptr;
    m_pfnName = nullptr;
    m_pfnIcon = nullptr;
    m_loaded = 0;
}

void CPlugInItem::Load(const CString& path, CStringFiles& strings)
{
    m_hModule = LoadLibraryA(path);
    m_loaded = m_hModule != nullptr ? 1 : 0;
    HoldPlugInModule(m_hModule);
    QueryName();
    QueryIcon();
    ReadVersion(path, strings);
}

int CPlugInItem::QueryName()
{
    if (!m_loaded || m_hModule == nullptr)
        return 0;
    m_pfnName = reinterpret_cast<NameFn>(GetProcAddress(m_hModule, "PlugInName"));
    if (m_pfnName == nullptr)
        return 0;
    CPlugInCall call(m_hModule);
    if (const char* name = m_pfnName())
        m_caption = name;
    return 1;
}

int CPlugInItem::QueryIcon()
{
    if (!m_loaded || m_hModule == nullptr)
        return 0;
    m_pfnIcon = reinterpret_cast<IconFn>(GetProcAddress(m_hModule, "PlugInIcon"));
    if (m_pfnIcon == nullptr)
        return 0;
    CPlugInCall call(m_hModule);
    m_hIcon = m_pfnIcon();
    return 1;
}

void CPlugInItem::ReadVersion(const CString& path, CStringFiles& strings)
{
    if (path.IsEmpty())
        return;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return;
    std::vector<char> block(size + 1, 0);
    if (!GetFileVersionInfoA(path, 0, size, block.data()))
        return;
    void* table = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), strings.GetEtcText(kEtcTranslation), &table, &length) ||
        table == nullptr || length < 4)
        return;
    const WORD* translation = static_cast<const WORD*>(table);
    const unsigned language = translation[0];
    const unsigned codePage = translation[1];
    // The texts come from a data file: only a text with exactly the two
    // "%x" conversions is filled, any other stands as it is.
    auto query = [&](const CString& format) {
        return TextFormat::FormatNumbers(format, 'x', {static_cast<long>(language),
                                                       static_cast<long>(codePage)},
                                         format);
    };
    CString text;
    if (QueryVersionText(block.data(),
                         query(strings.GetEtcText(kEtcVersionPrefix) +
                               strings.GetEtcText(kEtcVersionKey)),
                         text))
        m_version1 = text;
    if (QueryVersionText(block.data(), query(strings.GetEtcText(kEtcVersion2)), text))
        m_version2 = text;
    if (QueryVersionText(block.data(), query(strings.GetEtcText(kEtcVersion3)), text)) {
        m_version3 = text;
        if (m_version3.IsEmpty())
            m_version3 = m_caption;
    }
}

void CPlugInItem::CallIdle(HWND hMain)
{
    if (m_hModule == nullptr)
        return;
    m_pfnIdle = reinterpret_cast<IdleFn>(GetProcAddress(m_hModule, "PluginIDleCall"));
    if (m_pfnIdle == nullptr)
        return;
    // The module may empty the list, and so delete this entry, before it
    // returns: nothing of the entry is used after a call.
    CPlugInCall call(m_hModule);
    m_pfnIdle(hMain);
}

int CPlugInItem::OfferKey(HWND hWnd, WPARAM key)
{
    if (m_hModule == nullptr)
        return 0;
    m_pfnKey = reinterpret_cast<KeyFn>(GetProcAddress(m_hModule, "PluginTranslateKeyDown"));
    if (m_pfnKey == nullptr)
        return 0;
    CPlugInCall call(m_hModule);
    return m_pfnKey(hWnd, key);
}

bool CPlugInItem::Execute(HWND hMain, const char* text)
{
    if (m_hModule == nullptr)
        return false;
    m_pfnExecute = reinterpret_cast<ExecuteFn>(GetProcAddress(m_hModule, "PluginExecute"));
    if (m_pfnExecute == nullptr)
        return false;
    CPlugInCall call(m_hModule);
    m_pfnExecute(hMain, 0, text);
    return true;
}

void DestroyPlugInList(PlugInList& list)
{
    for (CPlugInItem* item : list)
        delete item;
    list.clear();
}

namespace {

bool AppendPlugIn(const CString& path, CStringFiles& strings, PlugInList& list)
{
    CPlugInItem* item = new CPlugInItem;
    if (item == nullptr)
        return false;
    item->Load(path, strings);
    list.push_back(item);
    return true;
}

} // namespace

int LoadPlugInList(const CString& pluginFolder, CStringFiles& strings, PlugInList& list)
{
    DestroyPlugInList(list);
    return ReadCatalog(pluginFolder, "plugin.dat", {"*.dll", "*.vap", "*.exe"},
                       [&](const CString& path, const CString&, LPCTSTR) {
                           return AppendPlugIn(path, strings, list);
                       });
}
