// The program folder and the data folders below it.
#ifndef VA_SHARED_DATAFOLDERS_H
#define VA_SHARED_DATAFOLDERS_H

#include "framework/core/CString.h"

class CDataFolders
{
public:
    // Takes the program folder from the module file name (up to and
    // including its last path separator) and builds the other paths. Returns
    // false, leaving every path empty, when the name holds no separator.
    bool SetFromModulePath(LPCTSTR modulePath);

    // The same from the program folder itself (ending with the separator);
    // false, leaving every path empty, when it is empty.
    bool SetProgramFolder(const CString& program);

    // Creates the data folders that are missing; failures are ignored.
    void CreateMissingFolders() const;

    // Both steps, as the application does at start.
    bool CreateDataFolders(LPCTSTR modulePath);

    // All paths end with the separator; empty until set.
    const CString& GetProgramFolder() const { return m_program; }
    const CString& GetResFolder() const { return m_res; }
    const CString& GetScriptFolder() const { return m_script; }
    const CString& GetPluginFolder() const { return m_plugin; }
    const CString& GetStringFolder() const { return m_string; }
    const CString& GetFavoriteFolder() const { return m_favorite; }

    // The path of a file in one of the folders: the folder + name; empty
    // while the folders are unset (never a name of the current folder).
    // Code names a data file only through these, so no caller joins a
    // folder and a name without the separator between them.
    CString ProgramFile(LPCTSTR name) const;
    CString ResFile(LPCTSTR name) const;
    CString ScriptFile(LPCTSTR name) const;
    CString PluginFile(LPCTSTR name) const;
    CString StringFile(LPCTSTR name) const;
    CString FavoriteFile(LPCTSTR name) const;

private:
    CString m_program;
    CString m_favorite;
    CString m_res;
    CString m_script;
    CString m_plugin;
    CString m_string;
};

#endif // VA_SHARED_DATAFOLDERS_H
