// Screenshots of real windows for tests: the pixels as the screen shows
// them, and a bitmap file under the build tree to be looked at.
#ifndef VA_TESTS_SUPPORT_WINDOWCAPTURE_H
#define VA_TESTS_SUPPORT_WINDOWCAPTURE_H

#include <windows.h>

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
// The folder named by the environment variable (created), else "artifacts".
std::string ArtifactFolder(const char* envVariable);
bool WriteBitmap(const std::string& path, const WindowCapture& c);

#endif // VA_TESTS_SUPPORT_WINDOWCAPTURE_H
