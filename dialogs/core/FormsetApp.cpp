#include "dialogs/core/FormsetApp.h"

#include <cstring>

#include "dialogs/core/SmallDialogs.h"
#include "framework/core/Cp932.h"
#include "lists/PlugInItem.h"
#include "lists/ScriptItem.h"
#include "lists/SearchEngineTree.h"
#include "shared/RecordPool.h"
#include "shared/WidePath.h"

CFormsetApp::CFormsetApp() : CWinApp(nullptr), m_strings(kStringCacheLines)
{
}

CFormsetApp::~CFormsetApp()
{
    SetPostedDialog(nullptr);
}

BOOL CFormsetApp::InitInstance()
{
    SettingsRecord defaults;
    m_settings.CopyFrom(&defaults);

    // The data folder is the folder of the program that loaded the library.
    CString folder;
    WidePath::GetProgramFolder(folder);
    if (!folder.IsEmpty())
        SetDataFolder(folder);
    memset(m_productName, 0, sizeof(m_productName));
    m_hMainWnd = nullptr;
    return CWinApp::InitInstance();
}

int CFormsetApp::ExitInstance()
{
    SetPostedDialog(nullptr);
    // Pools of the records the library's pages make; each is freed once.
    PoolFor<CSearchEngineNode, kPoolSearchEngineNode>::Release();
    PoolFor<CPlugInItem, kPoolPlugInItem>::Release();
    PoolFor<CScriptItem, kPoolScriptItem>::Release();
    return CWinApp::ExitInstance();
}

void CFormsetApp::SetDataFolder(const char* folder)
{
    m_folders.SetProgramFolder(folder != nullptr ? CString(folder) : CString());
    m_strings.SetFolder(m_folders.GetStringFolder());
}

void CFormsetApp::SetProductName(const char* name)
{
    memset(m_productName, 0, sizeof(m_productName));
    if (name == nullptr)
        return;
    int length = static_cast<int>(strnlen(name, kProductNameSize));
    if (length > kProductNameSize - 1)
        length = Cp932FloorBoundary(name, length, kProductNameSize - 1);
    memcpy(m_productName, name, static_cast<size_t>(length));
}

void CFormsetApp::SetPostedDialog(CDlgPosted* pDialog)
{
    if (m_pPostedDialog == pDialog)
        return;
    delete m_pPostedDialog;
    m_pPostedDialog = pDialog;
}

CFormsetApp& FormsetApp()
{
    return *static_cast<CFormsetApp*>(AfxGetApp());
}
