// The native build has no icons: every engine shows none.
#include "lists/SearchEngineTree.h"

SearchEngineIcon LoadSearchEngineIcon(LPCTSTR)
{
    return nullptr;
}

void DestroySearchEngineIcon(SearchEngineIcon) {}
