#include "shared/DialogsLibrary.h"

#include "shared/ProgramPath.h"

const char CDialogsLibrary::kFileName[] = "Formbay.dll";

CDialogsLibrary::CDialogsLibrary(const CString& programFolder)
{
    // Without a program folder there is no library of the program: a bare
    // name would load whichever the search path finds first.
    if (programFolder.IsEmpty())
        return;
    m_module = GetModuleHandleA(kFileName);
    if (m_module == nullptr) {
        m_module = LoadLibraryA(ProgramPath::Join(programFolder, kFileName));
        m_loadedHere = m_module != nullptr;
    }
}

CDialogsLibrary::~CDialogsLibrary()
{
    if (m_loadedHere)
        FreeLibrary(m_module);
}

FARPROC CDialogsLibrary::GetExport(LPCSTR name) const
{
    return m_module != nullptr ? GetProcAddress(m_module, name) : nullptr;
}
