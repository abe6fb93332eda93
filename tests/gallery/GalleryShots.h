// The gallery's screenshots: what lies on the screen in a rectangle, kept as
// a bitmap file with a telling name in the gallery folder, which
// scripts/gallery.sh turns into PNG files.
#ifndef VA_TESTS_GALLERY_GALLERYSHOTS_H
#define VA_TESTS_GALLERY_GALLERYSHOTS_H

#include <windows.h>

#include <string>

#include "tests/support/WindowCapture.h"

// The screen's pixels in a rectangle (cut to the screen), as the user sees
// them: windows over the rectangle, menu shadows and owned windows included.
// Taken once what the thread's windows painted has reached the screen: the
// same pixels twice in a row, the thread waiting between them.
WindowCapture CaptureScreen(const RECT& rc);

// A window's shot and where its client area lies in it.
struct WindowShot
{
    WindowCapture capture;
    RECT client = {};
};

// The window's rectangle on the screen, once it and every window inside it
// have painted; an empty capture when they do not finish.
WindowShot CaptureShownWindow(HWND hWnd);

// A name part from a caption (cp932): the mnemonic marker "(&X)" and "&"
// dropped, "..." dropped, and what a file name may not hold made "_".
std::string NamePart(const std::string& caption);

// Whether a shot of one colour is kept: a window that did not paint, or a
// template whose only control is an empty list that fills it.
enum class Plain { Fails, KeptUnlessBlack };

// Writes the shot as "<name>.bmp" into the gallery folder (the environment
// variable VA_GALLERY_DIR). False, with a test failure, when the shot is
// empty, of one colour where plain says so (a window's: its client area),
// or cannot be written.
bool KeepShot(const std::string& name, const WindowCapture& shot, Plain plain = Plain::Fails);
bool KeepShot(const std::string& name, const WindowShot& shot, Plain plain = Plain::Fails);

// Runs the thread's messages for a while, so that posted work and paints
// are done before a shot.
void Settle(DWORD ms = 100);

#endif // VA_TESTS_GALLERY_GALLERYSHOTS_H
