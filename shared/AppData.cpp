#include "shared/AppData.h"

namespace {

// Constant-initialised: the application object hands its objects over during
// static initialisation.
CDataFolders* g_pAppFolders = nullptr;
CStringFiles* g_pAppStrings = nullptr;
const char* g_pAppClassName = nullptr;

} // namespace

CDataFolders& AppFolders()
{
    if (g_pAppFolders != nullptr)
        return *g_pAppFolders;
    static CDataFolders empty;
    return empty;
}

CStringFiles& AppStrings()
{
    if (g_pAppStrings != nullptr)
        return *g_pAppStrings;
    static CStringFiles empty;
    return empty;
}

void SetAppData(CDataFolders* folders, CStringFiles* strings)
{
    g_pAppFolders = folders;
    g_pAppStrings = strings;
}

const char* AppClassName()
{
    return g_pAppClassName != nullptr ? g_pAppClassName : "";
}

void SetAppClassName(const char* name)
{
    g_pAppClassName = name;
}
