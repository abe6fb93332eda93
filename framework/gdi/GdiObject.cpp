#include "framework/gdi/GdiObject.h"

#include "framework/win/Wnd.h"

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName)
{
    LOGFONTA lf = {};
    HDC hdc = ::GetDC(nullptr);
    lf.lfHeight = -::MulDiv(nPointSize, ::GetDeviceCaps(hdc, LOGPIXELSY), 720);
    ::ReleaseDC(nullptr, hdc);
    lf.lfCharSet = DEFAULT_CHARSET;
    if (lpszFaceName != nullptr)
        ::lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(AfxGetResourceHandle(), nIDResource);
}

BOOL CBitmap::LoadBitmap(HINSTANCE hInstance, UINT nIDResource)
{
    return Attach(::LoadBitmapA(hInstance, MAKEINTRESOURCEA(nIDResource)));
}

BOOL CBitmap::LoadFromFile(LPCSTR lpszPath)
{
    return Attach(::LoadImageA(nullptr, lpszPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

CSize CBitmap::GetSize() const
{
    BITMAP bm = {};
    if (m_hObject == nullptr || GetObject(sizeof(bm), &bm) == 0)
        return CSize();
    return CSize(bm.bmWidth, bm.bmHeight);
}
