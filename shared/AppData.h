// The program folder with its data folders, and the numbered string files, of
// the process, for code below the application: tabs, bars and lists reach
// them through AppFolders() and AppStrings() instead of the application
// object, which owns both and hands them over when it is constructed.
#ifndef VA_SHARED_APPDATA_H
#define VA_SHARED_APPDATA_H

#include "shared/DataFolders.h"
#include "shared/StringLineCache.h"

// The application's folders; until they are handed over (and in programs
// without the application) folders that are all empty.
CDataFolders& AppFolders();

// The application's string files; until they are handed over, files without
// a folder, whose every line is empty.
CStringFiles& AppStrings();

// The application's own objects from now on; null goes back to the empty
// ones (the application hands its objects back as it is destroyed).
void SetAppData(CDataFolders* folders, CStringFiles* strings);

// The main window's class name, which message boxes take as their caption;
// "" until the application hands over its own (a text it keeps, read at
// each call), and again after it hands back null.
const char* AppClassName();
void SetAppClassName(const char* name);

#endif // VA_SHARED_APPDATA_H
