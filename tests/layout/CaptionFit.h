// Whether the captions of a dialog's controls fit them: every static, push
// button, check box, radio button and group box with text is measured in its
// own font against the room its control draws the text in.
#ifndef VA_TESTS_LAYOUT_CAPTIONFIT_H
#define VA_TESTS_LAYOUT_CAPTIONFIT_H

#include <windows.h>

#include <string>
#include <vector>

struct ClippedCaption
{
    int nControlId = 0;
    std::wstring text;
    int nNeeded = 0;     // pixels the text needs
    int nAvailable = 0;  // pixels the control gives it
    bool bHeight = false;  // the lines of wrapping text, else the width
    int nLineWidth = 0;    // wrapping text: its widest line unbroken
    int nLineRoom = 0;     // wrapping text: the width it is broken at
};

// A control's DC with the font it draws in: its own, else the system font.
class ControlDC
{
public:
    explicit ControlDC(HWND hWnd)
        : m_hWnd(hWnd), m_hDC(::GetDC(hWnd))
    {
        HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
        // No WM_SETFONT reached the control: it draws in the system font.
        m_hOld = ::SelectObject(m_hDC, hFont != nullptr ? hFont : ::GetStockObject(SYSTEM_FONT));
    }
    ~ControlDC()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::ReleaseDC(m_hWnd, m_hDC);
    }
    ControlDC(const ControlDC&) = delete;
    ControlDC& operator=(const ControlDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// The text as drawn: each "&" that marks a mnemonic goes, "&&" stays one "&".
std::wstring WithoutMnemonics(const std::wstring& text);

// The captions of hDlg's controls that do not fit.
std::vector<ClippedCaption> FindClippedCaptions(HWND hDlg);

// One line naming the control, its text and the pixels, for a failure.
std::string Describe(const ClippedCaption& clipped);

#endif // VA_TESTS_LAYOUT_CAPTIONFIT_H
