// CImageList: an image list handle, owned (destroyed with the object).
#ifndef VA_FRAMEWORK_WIN_IMAGELIST_H
#define VA_FRAMEWORK_WIN_IMAGELIST_H

#include "framework/win/WinDefs.h"

#include <shellapi.h>

class CImageList
{
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
    {
        return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    BOOL Attach(HIMAGELIST hImageList)
    {
        if (hImageList == nullptr || m_hImageList != nullptr)
            return FALSE;
        m_hImageList = hImageList;
        m_nStamp = NextStamp();
        return TRUE;
    }
    HIMAGELIST Detach()
    {
        HIMAGELIST h = m_hImageList;
        m_hImageList = nullptr;
        m_nStamp = NextStamp();
        return h;
    }
    BOOL DeleteImageList()
    {
        return m_hImageList != nullptr && ImageList_Destroy(Detach());
    }

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }

    // The bitmap is copied: the caller keeps and deletes it. -1 on failure.
    int Add(HBITMAP hbmImage, COLORREF crMask) { return ImageList_AddMasked(m_hImageList, hbmImage, crMask); }
    int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
    BOOL Remove(int nImage)
    {
        m_nStamp = NextStamp();
        return ImageList_Remove(m_hImageList, nImage);
    }
    // Replaces image nImage with a copy of the icon; its index, or -1.
    int Replace(int nImage, HICON hIcon)
    {
        m_nStamp = NextStamp();
        return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
    }
    // Changes whenever an image already in the list may change or move (a
    // new handle, a removal, a replacement) and is unique among the module's
    // lists, so copies of images kept by it stay valid while it holds.
    // Adding images keeps it. Calls on the raw handle are not seen.
    UINT GetContentStamp() const { return m_nStamp; }
    BOOL Draw(HDC hdc, int nImage, POINT pt, UINT nStyle) const
    {
        return ImageList_Draw(m_hImageList, nImage, hdc, pt.x, pt.y, nStyle);
    }
    // The caller destroys the icon.
    HICON ExtractIcon(int nImage) const { return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
    // Appends the cells of a bitmap file, mask the transparent colour; the
    // first new image's index, or -1 when the file cannot be loaded.
    int AddBitmapFile(LPCSTR path, COLORREF crMask)
    {
        HBITMAP bitmap = static_cast<HBITMAP>(
            ::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (bitmap == nullptr)
            return -1;
        int index = Add(bitmap, crMask);
        ::DeleteObject(bitmap);
        return index;
    }
    // Appends the shell's small icon of a file; its index, or -1 when the
    // shell has none.
    int AddSmallShellIcon(LPCSTR path)
    {
        SHFILEINFOA info = {};
        if (!::SHGetFileInfoA(path, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON) ||
            info.hIcon == nullptr)
            return -1;
        int index = Add(info.hIcon);
        ::DestroyIcon(info.hIcon);
        return index;
    }

    // Image dragging: one drag per thread, shown over hWndLock (null: the
    // desktop) with its hot spot at the point (coordinates of that window).
    BOOL BeginDrag(int nImage, POINT ptHotSpot)
    {
        return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
    }
    static BOOL DragEnter(HWND hWndLock, POINT pt) { return ImageList_DragEnter(hWndLock, pt.x, pt.y); }
    static BOOL DragMove(POINT pt) { return ImageList_DragMove(pt.x, pt.y); }
    static BOOL DragLeave(HWND hWndLock) { return ImageList_DragLeave(hWndLock); }
    static BOOL DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
    static void EndDrag() { ImageList_EndDrag(); }

private:
    static UINT NextStamp()
    {
        static UINT s_nLast = 0;
        return ++s_nLast;
    }

    HIMAGELIST m_hImageList = nullptr;
    UINT m_nStamp = NextStamp();
};

#endif // VA_FRAMEWORK_WIN_IMAGELIST_H
