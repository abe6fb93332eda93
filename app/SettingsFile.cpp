#include "app/SettingsFile.h"

#include "framework/core/AtomicFile.h"
#include "framework/core/Collections.h"
#include "framework/core/File.h"
#include "framework/core/FileSystem.h"
#include "shared/ProgramPath.h"
#include "shared/SettingsRecord.h"

namespace {

const char kSectionLine[] = "[Vantorel]";
const char kVersionLine[] = "iniver=1038";

// A settings file of fewer bytes than this is taken as damaged.
const ULONGLONG kMinimumFileSize = 20;

const UINT kReadMode = CFile::modeRead | CFile::shareDenyNone;

// The size of a file that opens for reading, or -1 when it does not open.
LONGLONG OpenedFileSize(LPCTSTR path)
{
    CFile file;
    if (!file.Open(path, kReadMode | CFile::typeBinary))
        return -1;
    const ULONGLONG size = file.GetLength();
    file.Close();
    return static_cast<LONGLONG>(size);
}

// One backup step: copies from over to, only when from opens and holds at
// least one byte, so an empty or missing file never replaces a backup; the
// backup is replaced whole or not at all. One that cannot be made keeps the
// older backup, and the settings are still written: the backups only guard
// against a torn settings file, which the atomic write never leaves.
void CopyIfNotEmpty(const CString& from, const CString& to)
{
    if (OpenedFileSize(from) >= 1)
        (void)CAtomicTextFile::CopyOver(from, to);
}

void ReadKeyLines(CStdioFile& file, CMapStringToString& keyMap)
{
    CString line;
    while (file.ReadString(line)) {
        line.Trim();
        const int equals = line.Find('=');
        if (equals < 0)
            continue;
        keyMap.SetAt(line.Left(equals), line.Mid(equals + 1));
    }
}

CString OneLine(CString value)
{
    value.Replace('\r', ' ');
    value.Replace('\n', ' ');
    return value;
}

} // namespace

const char CSettingsFile::kBaseName[] = "VantorelArco";

CSettingsFile::CSettingsFile(const CString& programFolder, LPCTSTR baseName)
    : m_programFolder(programFolder), m_baseName(baseName)
{
}

CString CSettingsFile::FilePath(LPCTSTR suffix) const
{
    return ProgramPath::Join(m_programFolder, m_baseName + suffix);
}

CString CSettingsFile::GetCurrentPath() const { return FilePath(".ini"); }
CString CSettingsFile::GetBackup0Path() const { return FilePath(".ini.bak0"); }
CString CSettingsFile::GetBackup1Path() const { return FilePath(".ini.bak1"); }
CString CSettingsFile::GetDefaultPath() const { return FilePath("Default.ini"); }
CString CSettingsFile::GetPendingPath() const
{
    return CAtomicTextFile::TempPathFor(GetCurrentPath());
}

CString CSettingsFile::FindReadableFile(const CString& after) const
{
    const CString candidates[] = {
        GetCurrentPath(), GetBackup0Path(), GetBackup1Path(), GetDefaultPath(),
    };
    bool bPast = after.IsEmpty();
    for (const CString& path : candidates) {
        if (!bPast) {
            bPast = path == after;
            continue;
        }
        FileSystem::FileInfo info;
        if (!FileSystem::GetInfo(path, info) || info.isDirectory)
            continue;
        const LONGLONG size = OpenedFileSize(path);
        if (size >= 0 && static_cast<ULONGLONG>(size) >= kMinimumFileSize)
            return path;
    }
    return CString();
}

CSettingsFile::LoadResult CSettingsFile::Load(SettingsRecord& record, CString& rebar,
                                              CMapStringToString& keyMap,
                                              const CString& defaultRebar,
                                              const CString& defaultGroupTitle) const
{
    LoadResult result;
    rebar = defaultRebar;

    // A file whose reading fails part-way is passed over like one that
    // would not open: the next backup holds a whole earlier version.
    CString path;
    CStdioFile file;
    for (;;) {
        path = FindReadableFile(path);
        if (path.IsEmpty())
            return result;
        if (!file.Open(path, kReadMode | CFile::typeText))
            return result;
        keyMap.RemoveAll();
        ReadKeyLines(file, keyMap);
        const bool bWhole = !file.ReadFailed();
        file.Close();
        if (bWhole)
            break;
        keyMap.RemoveAll();
    }

    CString value;
    for (int i = 0; i < SettingsRecord::GetKeyCount(); ++i) {
        if (!keyMap.Lookup(SettingsRecord::GetKeyName(i), value) || value.IsEmpty())
            continue;
        if (SettingsRecord::IsLayoutKey(i))
            rebar = value;
        else
            record.SetKeyValue(i, value);
    }

    if (record.strTitle_P.IsEmpty())
        record.strTitle_P = defaultGroupTitle;
    record.bStatusShowMirror(record.bStatusShow());

    result.fileRead = true;
    result.enableDoc = record.bEnableDoc();
    result.path = path;
    return result;
}

CString CSettingsFile::FormatSettings(const SettingsRecord& record,
                                      const SettingsWindowPos& window, const CString& rebar)
{
    // The window values come from the window, not from the record.
    SettingsRecord written(record);
    written.left = window.left;
    written.top = window.top;
    written.right = window.right;
    written.bottom = window.bottom;
    written.showCmd = window.showCmd;

    CString text;
    text += kSectionLine;
    text += '\n';
    text += kVersionLine;
    text += '\n';
    for (int i = 0; i < SettingsRecord::GetKeyCount(); ++i) {
        text += SettingsRecord::GetKeyName(i);
        text += '=';
        text += OneLine(SettingsRecord::IsLayoutKey(i) ? rebar : written.GetKeyValue(i));
        text += '\n';
    }
    return text;
}

bool CSettingsFile::Save(const SettingsRecord& record, const SettingsWindowPos& window,
                         const CString& rebar, DWORD* pError) const
{
    if (pError != nullptr)
        *pError = 0;
    // The new file is written and checked aside first: the backups turn only
    // when a whole new version is ready to take the current file's place.
    CAtomicTextFile file;
    if (!file.Begin(GetCurrentPath()) ||
        !file.WriteString(FormatSettings(record, window, rebar)))
        return false;
    // Nothing changed since the last save: the file and both backups stay
    // as they are (turning them would leave two copies of the same text).
    if (file.SameAsTarget()) {
        file.Abandon();
        return true;
    }
    CopyIfNotEmpty(GetBackup0Path(), GetBackup1Path());
    CopyIfNotEmpty(GetCurrentPath(), GetBackup0Path());
    return file.Commit(pError) != FALSE;
}

void CSettingsFile::FillUserAgentIfEmpty(SettingsRecord& record, CString (*systemUserAgent)())
{
    if (record.strUserAgent.IsEmpty())
        record.strUserAgent = systemUserAgent();
}
