// The group image picker both modules show: the group images as menu items.
// Windows only.
#ifndef VA_SHARED_GROUPIMAGEMENU_H
#define VA_SHARED_GROUPIMAGEMENU_H

#include "framework/core/CString.h"
#include "framework/win/ImageList.h"
#include "menulib/NewMenu.h"
#include "shared/DataFolders.h"

// The first command of the picker's items: image n is command 36500 + n.
const UINT kGroupImageFirstCommand = 36500;

// Loads the group images, 16 x 16 with magenta transparent, from "ptab.bmp"
// of the Res folder; false when the list cannot be made.
bool LoadGroupImages(CImageList& images, const CDataFolders& folders);

// Appends items "0" to count - 1 (commands nFirstCommand + n) to the menu,
// each with its image when the list has one, starting a new column every
// ten items.
void AppendGroupImageItems(CNewMenu& menu, CImageList& images, int count,
                           UINT nFirstCommand = kGroupImageFirstCommand);

#endif // VA_SHARED_GROUPIMAGEMENU_H
