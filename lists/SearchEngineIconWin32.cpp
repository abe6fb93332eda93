#include <windows.h>

#include "lists/SearchEngineTree.h"

SearchEngineIcon LoadSearchEngineIcon(LPCTSTR path)
{
    return LoadImageA(nullptr, path, IMAGE_ICON, 16, 16, LR_LOADFROMFILE);
}

void DestroySearchEngineIcon(SearchEngineIcon icon)
{
    if (icon != nullptr)
        DestroyIcon(static_cast<HICON>(icon));
}
