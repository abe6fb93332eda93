// The caption strip of full-screen mode: a trapezoid at the top centre of
// the screen with the window's title and pin, minimise, maximise (leave full
// screen) and close buttons. It slides down when the mouse touches the top
// edge and, unless pinned, slides up again a second after the mouse left.
//
// Classes in this file:
//   CFullScreenTitleBar   the strip, a plain window of class "FSTITLEBAR"
#ifndef VA_BARS_FULLSCREENTITLEBAR_H
#define VA_BARS_FULLSCREENTITLEBAR_H

#include "framework/core/CString.h"
#include "framework/gdi/GdiObject.h"

class CFullScreenTitleBar
{
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 20;
    static constexpr UINT_PTR kSlideTimer = 1;  // 20 ms, one pixel a tick
    static constexpr UINT_PTR kWatchTimer = 2;  // 100 ms, while auto-hiding
    static constexpr int kTicksToHide = 10;
    enum ButtonId { kClose = 1257, kMaximize = 1258, kMinimize = 1259, kPin = 1260 };
    static constexpr UINT kCmdFullScreen = 36437;

    // With both handles the strip is created, shown at its top position and
    // sliding.
    CFullScreenTitleBar(HINSTANCE hInstance, HWND hOwner);
    virtual ~CFullScreenTitleBar();
    CFullScreenTitleBar(const CFullScreenTitleBar&) = delete;
    CFullScreenTitleBar& operator=(const CFullScreenTitleBar&) = delete;

    // change: set the direction (and, hiding, vanish once up).
    void Show(bool show, bool change);
    void SetTitle(const CString& title);
    // Pinned: the strip stays down.
    void SetPinned(bool pinned);
    HWND GetSafeHwnd() const { return m_hWnd; }
    bool IsAutoHide() const { return m_autoHide != 0; }
    bool IsShowing() const { return m_showing; }
    int GetOutsideTicks() const { return m_outsideTicks; }

    // The timer steps, as the timers run them; the watch is given where the
    // cursor is.
    void OnSlideTick();
    void OnWatchTick(POINT cursor);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);
    void DrawButton(const DRAWITEMSTRUCT* pDis);
    void OnButton(UINT id);
    void StartTimers();

    static CFullScreenTitleBar* s_pInstance;

    UINT_PTR m_slideTimer = kSlideTimer;
    UINT_PTR m_watchTimer = kWatchTimer;
    CString m_title;
    int m_autoHide = 0;
    HINSTANCE m_hInstance;
    HWND m_hOwner;
    HWND m_hWnd = nullptr;
    bool m_showing = true;
    bool m_hideWhenUp = false;
    int m_outsideTicks = 0;
    CBitmap m_bmpClose, m_bmpMinimize, m_bmpMaximize, m_bmpPinOff, m_bmpPinOn;
    HWND m_hPinWnd = nullptr;
    CFont m_font;
};

#endif // VA_BARS_FULLSCREENTITLEBAR_H
