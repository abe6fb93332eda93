#include "tests/gallery/GalleryShots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "tests/support/ProgramFolder.h"

namespace {

// The screen's device context for as long as it lives.
class ScreenDC
{
public:
    ScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~ScreenDC() { ::ReleaseDC(nullptr, m_hDC); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

// A bitmap compatible with a device context, selected into a memory context
// of its own while it lives.
class MemoryBitmap
{
public:
    MemoryBitmap(HDC hCompatible, int cx, int cy)
        : m_hDC(::CreateCompatibleDC(hCompatible)), m_hBitmap(::CreateCompatibleBitmap(hCompatible, cx, cy)),
          m_hOld(::SelectObject(m_hDC, m_hBitmap))
    {
    }
    ~MemoryBitmap()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;
    HDC DC() const { return m_hDC; }
    // The pixels as 24-bit bottom-up rows; the bitmap is unselected meanwhile,
    // as GetDIBits asks.
    std::vector<BYTE> Pixels(int cx, int cy) const
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 24;
        bmi.bmiHeader.biCompression = BI_RGB;
        const size_t stride = (static_cast<size_t>(cx) * 3 + 3) & ~size_t(3);
        std::vector<BYTE> pixels(stride * static_cast<size_t>(cy));
        ::SelectObject(m_hDC, m_hOld);
        ::GetDIBits(m_hDC, m_hBitmap, 0, static_cast<UINT>(cy), pixels.data(), &bmi, DIB_RGB_COLORS);
        ::SelectObject(m_hDC, m_hBitmap);
        return pixels;
    }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

// A window that never painted shows one colour (black, or its background);
// a label on a dialog is already two. part: what is looked at, in the shot.
bool HasContent(const WindowCapture& shot, const RECT& part)
{
    const size_t stride = (static_cast<size_t>(shot.nWidth) * 3 + 3) & ~size_t(3);
    const LONG top = std::max<LONG>(part.top, 0), bottom = std::min<LONG>(part.bottom, shot.nHeight);
    const LONG left = std::max<LONG>(part.left, 0), right = std::min<LONG>(part.right, shot.nWidth);
    const BYTE* first = nullptr;
    for (LONG y = top; y < bottom; ++y) {
        // The rows are stored bottom-up.
        const BYTE* row = shot.pixels.data() + stride * static_cast<size_t>(shot.nHeight - 1 - y);
        for (LONG x = left; x < right; ++x) {
            const BYTE* px = row + 3 * static_cast<size_t>(x);
            if (first == nullptr)
                first = px;
            else if (px[0] != first[0] || px[1] != first[1] || px[2] != first[2])
                return true;
        }
    }
    return false;
}

// The thread's windows put what they painted on the screen while the
// thread waits, not while it runs on: a wait that no message ends.
void LetPaintingReachTheScreen()
{
    ::GdiFlush();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, 0);
}

WindowCapture CaptureScreenOnce(const RECT& rc)
{
    WindowCapture shot;
    const RECT screen = { ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                          ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN) };
    RECT cut = {};
    if (!::IntersectRect(&cut, &rc, &screen))
        return shot;
    shot.nWidth = cut.right - cut.left;
    shot.nHeight = cut.bottom - cut.top;
    ScreenDC screenDC;
    MemoryBitmap bitmap(screenDC.Get(), shot.nWidth, shot.nHeight);
    ::BitBlt(bitmap.DC(), 0, 0, shot.nWidth, shot.nHeight, screenDC.Get(), cut.left, cut.top,
             SRCCOPY | CAPTUREBLT);
    shot.pixels = bitmap.Pixels(shot.nWidth, shot.nHeight);
    return shot;
}

BOOL CALLBACK FindPendingPaint(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd) && ::GetUpdateRect(hWnd, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

// Whether the window or a shown window inside it still waits to paint.
bool PaintPending(HWND hWnd)
{
    bool pending = ::GetUpdateRect(hWnd, nullptr, FALSE) != FALSE;
    if (!pending)
        ::EnumChildWindows(hWnd, FindPendingPaint, reinterpret_cast<LPARAM>(&pending));
    return pending;
}

} // namespace

WindowCapture CaptureScreen(const RECT& rc)
{
    LetPaintingReachTheScreen();
    WindowCapture shot = CaptureScreenOnce(rc);
    // A caret that blinks between two takes makes them differ: a few more.
    for (int i = 0; i < 10; ++i) {
        LetPaintingReachTheScreen();
        WindowCapture again = CaptureScreenOnce(rc);
        if (again.pixels == shot.pixels)
            break;
        shot = std::move(again);
    }
    return shot;
}

WindowShot CaptureShownWindow(HWND hWnd)
{
    WindowShot shot;
    if (!::IsWindowVisible(hWnd))
        return shot;
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // A control may ask for another paint while it paints: that one too.
    for (int i = 0; i < 20 && PaintPending(hWnd); ++i)
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (PaintPending(hWnd))
        return shot;
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    shot.capture = CaptureScreen(rc);
    ::GetClientRect(hWnd, &shot.client);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&shot.client), 2);
    ::OffsetRect(&shot.client, -rc.left, -rc.top);
    return shot;
}

std::string NamePart(const std::string& caption)
{
    // In UTF-16, so that no trail byte of a cp932 character is taken for a
    // separator.
    std::wstring wide(caption.size(), L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(932, 0, caption.data(), static_cast<int>(caption.size()),
                                                          &wide[0], static_cast<int>(wide.size()))));
    std::wstring part;
    for (size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        if (c == L'(' && i + 3 < wide.size() && wide[i + 1] == L'&' && wide[i + 3] == L')') {
            i += 3;
        } else if (c == L'&' || c == L'.' || c == L'\t') {
            if (c == L'\t')
                break;  // a shortcut text follows
        } else if (c < 0x20 || wcschr(L"\\/:*?\"<>| ", c) != nullptr) {
            part += L'_';
        } else {
            part += c;
        }
    }
    std::string narrow(part.size() * 2, '\0');
    narrow.resize(static_cast<size_t>(::WideCharToMultiByte(932, 0, part.data(), static_cast<int>(part.size()),
                                                            &narrow[0], static_cast<int>(narrow.size()), nullptr,
                                                            nullptr)));
    return narrow;
}

namespace {

// part: what must not be of one colour, in the shot.
bool KeepPixels(const std::string& name, const WindowCapture& shot, const RECT& part, Plain plain)
{
    if (shot.nWidth <= 0 || shot.nHeight <= 0) {
        ADD_FAILURE() << name << ": nothing on the screen to take, or the window did not finish painting";
        return false;
    }
    const bool black = shot.pixels[0] == 0 && shot.pixels[1] == 0 && shot.pixels[2] == 0;
    if (!HasContent(shot, part) && (plain == Plain::Fails || black)) {
        ADD_FAILURE() << name << ": the window shows one colour only";
        return false;
    }
    static const std::string folder = ProgramFolder::PathFromEnvironment("VA_GALLERY_DIR");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".bmp";
    if (!WriteBitmap(path, shot)) {
        ADD_FAILURE() << "cannot write " << path;
        return false;
    }
    return true;
}

} // namespace

bool KeepShot(const std::string& name, const WindowCapture& shot, Plain plain)
{
    return KeepPixels(name, shot, RECT{0, 0, shot.nWidth, shot.nHeight}, plain);
}

bool KeepShot(const std::string& name, const WindowShot& shot, Plain plain)
{
    return KeepPixels(name, shot.capture, shot.client, plain);
}

void Settle(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}
