#include "shared/GroupImageMenu.h"

bool LoadGroupImages(CImageList& images, const CDataFolders& folders)
{
    images.DeleteImageList();
    if (!images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 31, 1))
        return false;
    images.AddBitmapFile(folders.ResFile("ptab.bmp"), RGB(0xFF, 0x00, 0xFF));
    return true;
}

void AppendGroupImageItems(CNewMenu& menu, CImageList& images, int count, UINT nFirstCommand)
{
    const int nImages = images.GetSafeHandle() != nullptr ? images.GetImageCount() : 0;
    for (int i = 0; i < count; ++i) {
        CString caption;
        caption.Format("%d", i);
        const UINT flags = MF_STRING | (i > 0 && i % 10 == 0 ? MF_MENUBREAK : 0);
        const UINT nID = nFirstCommand + static_cast<UINT>(i);
        if (i < nImages)
            menu.AppendMenuWithImageList(flags, nID, caption, &images, i);
        else
            menu.AppendMenu(flags, nID, caption);
    }
}
