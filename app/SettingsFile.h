// The settings file: key=value lines in the program folder, with two backups
// and a shipped default file to fall back on.
//
// Classes in this file:
//   SettingsWindowPos   the main window's normal position, as written
//   CSettingsFile       reader and writer of one settings file family
#ifndef VA_APP_SETTINGSFILE_H
#define VA_APP_SETTINGSFILE_H

#include <cstdint>

#include "framework/core/CString.h"

class CMapStringToString;
class SettingsRecord;

//--- SettingsWindowPos
// The normal-position rectangle and show command of the main window
// (GetWindowPlacement at the time of writing); the defaults are the record's.
struct SettingsWindowPos
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 800;
    int32_t bottom = 600;
    int16_t showCmd = 1;
};

//--- CSettingsFile
class CSettingsFile
{
public:
    // The main window class name, which names the settings files.
    static const char kBaseName[];

    struct LoadResult
    {
        bool fileRead = false;      // a settings file was found and read
        bool enableDoc = false;     // bEnableDoc as loaded (when fileRead)
        CString path;               // the file read
    };

    // programFolder ends with the path separator.
    explicit CSettingsFile(const CString& programFolder, LPCTSTR baseName = kBaseName);

    CString GetCurrentPath() const;     // base + ".ini"
    CString GetBackup0Path() const;     // base + ".ini.bak0"
    CString GetBackup1Path() const;     // base + ".ini.bak1"
    CString GetDefaultPath() const;     // base + "Default.ini"
    // The file being written: base + ".ini", the process id and ".tmp".
    CString GetPendingPath() const;

    // The first readable file of current, backup 0, backup 1 and default: it
    // exists, is not a folder, opens, and holds at least 20 bytes (a shorter
    // file counts as damaged). Empty when none qualifies. With after, only
    // the files after that one are tried.
    CString FindReadableFile(const CString& after = CString()) const;

    // Reads the first readable file into keyMap (cleared first) and applies
    // every key found with a non-empty value to record; "Rebar" goes to
    // rebar, which starts as defaultRebar. Then an empty strTitle_P becomes
    // defaultGroupTitle and the keyless status bit follows bStatusShow. With
    // no readable file only rebar is set; the record keeps its values.
    LoadResult Load(SettingsRecord& record, CString& rebar, CMapStringToString& keyMap,
                    const CString& defaultRebar, const CString& defaultGroupTitle) const;

    // Writes the new file under the temporary name, rotates the backups
    // (backup 0 to backup 1, current to backup 0, each only when it opens and
    // is not empty) and moves the new file over the current one, so a failed
    // or interrupted write never leaves a torn current file. Returns false
    // when the new file could not be written or put in place, with the
    // system's code in *pError (when given; 0 when none).
    [[nodiscard]] bool Save(const SettingsRecord& record, const SettingsWindowPos& window,
                            const CString& rebar, DWORD* pError = nullptr) const;

    // The text Save writes, with LF line ends (CR LF on disk). CR and LF
    // inside values become spaces, so a value cannot add lines.
    static CString FormatSettings(const SettingsRecord& record, const SettingsWindowPos& window,
                                  const CString& rebar);

    // The user-agent default: applied at every start, whether or not a file
    // was read, with the system's user-agent text, asked for only then.
    static void FillUserAgentIfEmpty(SettingsRecord& record, CString (*systemUserAgent)());

private:
    CString FilePath(LPCTSTR suffix) const;

    CString m_programFolder;
    CString m_baseName;
};

#endif // VA_APP_SETTINGSFILE_H
