#include "shared/DataFolders.h"

#include "framework/core/FileSystem.h"
#include "shared/ProgramPath.h"

namespace {

// Folders the program and its users expect below the program folder.
const char* const kDataFolderNames[] = {
    "Favorite", "Res", "plugin", "script", "help", "String", "Icon",
};

} // namespace

bool CDataFolders::SetFromModulePath(LPCTSTR modulePath)
{
    return SetProgramFolder(ProgramPath::FolderOf(modulePath));
}

bool CDataFolders::SetProgramFolder(const CString& program)
{
    if (program.IsEmpty()) {
        *this = CDataFolders();
        return false;
    }
    m_program = program;
    m_favorite = ProgramPath::SubFolder(program, "Favorite");
    m_res = ProgramPath::SubFolder(program, "Res");
    m_script = ProgramPath::SubFolder(program, "Script");
    m_plugin = ProgramPath::SubFolder(program, "Plugin");
    m_string = ProgramPath::SubFolder(program, "String");
    return true;
}

void CDataFolders::CreateMissingFolders() const
{
    if (m_program.IsEmpty())
        return;
    for (const char* name : kDataFolderNames)
        FileSystem::MakeDirectory(ProgramPath::Join(m_program, name));
}

CString CDataFolders::ProgramFile(LPCTSTR name) const
{
    return ProgramPath::Join(m_program, name);
}

CString CDataFolders::ResFile(LPCTSTR name) const
{
    return ProgramPath::Join(m_res, name);
}

CString CDataFolders::ScriptFile(LPCTSTR name) const
{
    return ProgramPath::Join(m_script, name);
}

CString CDataFolders::PluginFile(LPCTSTR name) const
{
    return ProgramPath::Join(m_plugin, name);
}

CString CDataFolders::StringFile(LPCTSTR name) const
{
    return ProgramPath::Join(m_string, name);
}

CString CDataFolders::FavoriteFile(LPCTSTR name) const
{
    return ProgramPath::Join(m_favorite, name);
}

bool CDataFolders::CreateDataFolders(LPCTSTR modulePath)
{
    if (!SetFromModulePath(modulePath))
        return false;
    CreateMissingFolders();
    return true;
}
