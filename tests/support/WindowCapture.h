// Screenshots of real windows for tests: the pixels as the screen shows
// them, and a bitmap file under the build tree to be looked at; the pixels
// of an image list's image; where a window lies in another's client area.
#ifndef VA_TESTS_SUPPORT_WINDOWCAPTURE_H
#define VA_TESTS_SUPPORT_WINDOWCAPTURE_H

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

struct WindowCapture
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<BYTE> pixels;  // 24-bit rows, bottom-up, each padded to 4 bytes

    // The colour at a point from the window's top-left corner.
    COLORREF At(int x, int y) const;
};

// The window as it is on the screen, frame included.
WindowCapture CaptureWindow(HWND hWnd);
// The pixels of an image of a list drawn on white, row by row; empty when
// the image cannot be drawn.
std::vector<COLORREF> ImagePixels(HIMAGELIST hList, int nIndex);
// The window rectangle of hWnd in the client coordinates of hParent.
RECT WindowRectIn(HWND hParent, HWND hWnd);
// The folder named by the environment variable (created), else "artifacts".
std::string ArtifactFolder(const char* envVariable);
bool WriteBitmap(const std::string& path, const WindowCapture& c);

#endif // VA_TESTS_SUPPORT_WINDOWCAPTURE_H
