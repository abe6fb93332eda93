#include "tests/support/WindowCapture.h"

#include <cstdio>
#include <cstdlib>

COLORREF WindowCapture::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= nWidth || y >= nHeight)
        return CLR_INVALID;
    size_t stride = (static_cast<size_t>(nWidth) * 3 + 3) & ~size_t(3);
    size_t i = static_cast<size_t>(nHeight - 1 - y) * stride + static_cast<size_t>(x) * 3;
    return RGB(pixels[i + 2], pixels[i + 1], pixels[i]);
}

std::vector<COLORREF> ImagePixels(HIMAGELIST hList, int nIndex)
{
    int cx = 0;
    int cy = 0;
    std::vector<COLORREF> pixels;
    if (!ImageList_GetIconSize(hList, &cx, &cy))
        return pixels;
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    ::PatBlt(hDC, 0, 0, cx, cy, WHITENESS);
    if (ImageList_Draw(hList, nIndex, hDC, 0, 0, ILD_TRANSPARENT))
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                pixels.push_back(::GetPixel(hDC, x, y));
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    return pixels;
}

WindowCapture CaptureWindow(HWND hWnd)
{
    WindowCapture c;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    c.nWidth = rc.right - rc.left;
    c.nHeight = rc.bottom - rc.top;
    if (c.nWidth <= 0 || c.nHeight <= 0)
        return c;
    HDC hWindowDC = ::GetWindowDC(hWnd);
    HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hWindowDC, c.nWidth, c.nHeight);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    ::BitBlt(hMemDC, 0, 0, c.nWidth, c.nHeight, hWindowDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = c.nWidth;
    bmi.bmiHeader.biHeight = c.nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    size_t nStride = (static_cast<size_t>(c.nWidth) * 3 + 3) & ~size_t(3);
    c.pixels.resize(nStride * static_cast<size_t>(c.nHeight));
    ::GetDIBits(hMemDC, hBitmap, 0, static_cast<UINT>(c.nHeight), c.pixels.data(), &bmi, DIB_RGB_COLORS);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemDC);
    ::ReleaseDC(hWnd, hWindowDC);
    return c;
}

std::string ArtifactFolder(const char* envVariable)
{
    const char* pszDir = std::getenv(envVariable);
    std::string dir = pszDir != nullptr ? pszDir : "artifacts";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

bool WriteBitmap(const std::string& path, const WindowCapture& c)
{
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = c.nWidth;
    info.biHeight = c.nHeight;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(c.pixels.size());
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* pFile = std::fopen(path.c_str(), "wb");
    if (pFile == nullptr)
        return false;
    std::fwrite(&file, sizeof(file), 1, pFile);
    std::fwrite(&info, sizeof(info), 1, pFile);
    std::fwrite(c.pixels.data(), 1, c.pixels.size(), pFile);
    return std::fclose(pFile) == 0;
}

RECT WindowRectIn(HWND hParent, HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}
