// The plug-in catalog: modules of the plug-in folder that export a few plain
// functions, loaded at start-up from "plugin.dat" or, without it, from every
// "*.dll", "*.vap" and "*.exe" of the folder. Both the main program and the
// dialogs library's plug-in page use these entries.
//
// Classes in this file:
//   CPlugInItem   one loaded (or attempted) module and its exports
//   PlugInList    the ordered entries; position = plug-in index
#ifndef VA_LISTS_PLUGINITEM_H
#define VA_LISTS_PLUGINITEM_H

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

#include "framework/core/CString.h"
#include "shared/RecordPool.h"

class CStringFiles;

// Commands that run a plug-in (36297 + index); menus list at most this many.
inline constexpr int kMenuCatalogMax = 100;

//--- Catalog files
// One line of "plugin.dat" or "script.dat" ("path?1"): the path of an
// enabled entry, or false for a disabled, malformed or empty line.
bool ParseCatalogLine(const CString& line, CString& path);
// The same line for the list pages, which show disabled entries too: the
// path and whether the flag is exactly "1", or false for a line that is not
// exactly two fields with a path.
bool ParseCatalogEntry(const CString& line, CString& path, bool& enabled);

// Walks a catalog: with folder + listFile present, its enabled lines whose
// file exists (FindFirstFile; the path may be a pattern), in file order;
// without it, the plain files of folder matching each pattern in turn.
// add(path, fileName, pattern) makes the entry and returns whether it did;
// pattern is the one matched, null for a line of the list file. Returns the
// number of entries made; none without a folder (not those of the current
// folder).
typedef std::function<bool(const CString& path, const CString& fileName, LPCTSTR pattern)>
    CatalogAdd;
int ReadCatalog(const CString& folder, LPCTSTR listFile, std::initializer_list<LPCTSTR> patterns,
                const CatalogAdd& add);
// The folder half of ReadCatalog: the plain files of folder matching each
// pattern in turn; none without a folder.
int ScanCatalogFolder(const CString& folder, std::initializer_list<LPCTSTR> patterns, const CatalogAdd& add);
// The name of the file that path (which may be a pattern) finds, or false
// when none exists.
bool FindCatalogFile(const CString& path, CString& fileName);

//--- CPlugInItem
class CPlugInItem
{
public:
    typedef const char* (*NameFn)();
    typedef HICON (*IconFn)();
    typedef int(WINAPI* ExecuteFn)(HWND hMain, int reserved, const char* text);
    typedef void(WINAPI* IdleFn)(HWND hMain);
    typedef int(WINAPI* KeyFn)(HWND hWnd, WPARAM key);

    CPlugInItem() = default;
    ~CPlugInItem();
    CPlugInItem(const CPlugInItem&) = delete;
    CPlugInItem& operator=(const CPlugInItem&) = delete;

    VA_POOLED_NEW(CPlugInItem, kPoolPlugInItem)

    // Loads the module at path (unchanged) and reads its caption, icon and
    // version texts. A module that does not load keeps an empty entry.
    void Load(const CString& path, CStringFiles& strings);
    // 1 when the module has PlugInName (its text, when not null, becomes
    // the caption), else 0.
    int QueryName();
    // 1 when the module has PlugInIcon (its handle is kept), else 0.
    int QueryIcon();
    // The three version texts from the module file's version resource; the
    // query paths are lines 53 to 61 of etc.dat.
    void ReadVersion(const CString& path, CStringFiles& strings);

    // The module's optional idle export, called once after start-up.
    void CallIdle(HWND hMain);
    // Nonzero when the module consumed the key.
    int OfferKey(HWND hWnd, WPARAM key);
    // Runs the module; false when it has no module or no PluginExecute.
    bool Execute(HWND hMain, const char* text);

    bool IsShown() const { return !m_caption.IsEmpty(); }

    NameFn m_pfnName = nullptr;
    IconFn m_pfnIcon = nullptr;
    ExecuteFn m_pfnExecute = nullptr;
    IdleFn m_pfnIdle = nullptr;
    KeyFn m_pfnKey = nullptr;
    CString m_caption;
    CString m_version1;
    CString m_version2;
    HICON m_hIcon = nullptr;  // belongs to the module
    BYTE m_loaded = 0;
    HMODULE m_hModule = nullptr;
    CString m_version3;
};

//--- PlugInList
typedef std::vector<CPlugInItem*> PlugInList;

// Destroys every entry (unloading its module) and empties the list.
void DestroyPlugInList(PlugInList& list);
// Rebuilds the list from folder's "plugin.dat", or from the folder's
// modules when there is no such file; returns the number of entries.
int LoadPlugInList(const CString& pluginFolder, CStringFiles& strings, PlugInList& list);

#endif // VA_LISTS_PLUGINITEM_H
