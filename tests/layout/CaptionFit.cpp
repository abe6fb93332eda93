#include "tests/layout/CaptionFit.h"

#include <cstdio>

namespace {

enum class Kind { kNone, kWrappingStatic, kSingleLineStatic, kPushButton, kCheckBox, kGroupBox };

Kind KindOf(HWND hWnd, DWORD dwStyle)
{
    wchar_t szClass[32] = {};
    ::GetClassNameW(hWnd, szClass, 32);
    if (::lstrcmpiW(szClass, L"Static") == 0) {
        switch (dwStyle & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            // A vertically centred static draws one line.
            return (dwStyle & SS_CENTERIMAGE) != 0 ? Kind::kSingleLineStatic : Kind::kWrappingStatic;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            return Kind::kSingleLineStatic;
        default:
            return Kind::kNone;  // icons, bitmaps, frames, owner-drawn
        }
    }
    if (::lstrcmpiW(szClass, L"Button") != 0 || (dwStyle & (BS_ICON | BS_BITMAP)) != 0)
        return Kind::kNone;
    switch (dwStyle & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return Kind::kPushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return (dwStyle & BS_PUSHLIKE) != 0 ? Kind::kPushButton : Kind::kCheckBox;
    case BS_GROUPBOX:
        return Kind::kGroupBox;
    default:
        return Kind::kNone;
    }
}

// The pixels a kind of control keeps from its client area for other things
// than its text, as the unthemed controls draw them: a push button's label
// lies inside its 3-D frame (2 pixels a side, one more for the default
// button's black border); a check box's or radio button's text follows its
// 13-pixel glyph (12 at 96 DPI plus one) and a gap of half a "0"; a group
// box's caption is inset 7 pixels from each side of its frame.
SIZE Inset(Kind kind, DWORD dwStyle, HDC hDC)
{
    switch (kind) {
    case Kind::kPushButton: {
        const int nFrame = 2 * 2 + ((dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 2 : 0);
        return SIZE{ nFrame, nFrame };
    }
    case Kind::kCheckBox: {
        int nZero = 0;
        ::GetCharWidth32W(hDC, L'0', L'0', &nZero);
        return SIZE{ 12 * ::GetDeviceCaps(hDC, LOGPIXELSX) / 96 + 1 + nZero / 2, 0 };
    }
    case Kind::kGroupBox:
        return SIZE{ 2 * 7, 0 };
    default:
        return SIZE{ 0, 0 };
    }
}

// Statics of the wrapping kinds and buttons with BS_MULTILINE break their
// text into lines at the width they give it.
bool Wraps(Kind kind, DWORD dwStyle)
{
    return kind == Kind::kWrappingStatic ||
           ((kind == Kind::kPushButton || kind == Kind::kCheckBox) && (dwStyle & BS_MULTILINE) != 0);
}

int WidestLine(HDC hDC, const std::wstring& text)
{
    int cxWidest = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        SIZE size = {};
        ::GetTextExtentPoint32W(hDC, text.c_str() + start, static_cast<int>(end - start), &size);
        cxWidest = size.cx > cxWidest ? size.cx : cxWidest;
        start = end + 1;
    }
    return cxWidest;
}

// Fills a failure in when the text does not fit its control; false if it fits.
bool Measure(HWND hCtl, Kind kind, DWORD dwStyle, const std::wstring& text, ClippedCaption* pClipped)
{
    RECT rcClient = {};
    ::GetClientRect(hCtl, &rcClient);
    ControlDC dc(hCtl);
    const SIZE inset = Inset(kind, dwStyle, dc.Get());
    pClipped->nAvailable = rcClient.right;
    if (Wraps(kind, dwStyle)) {
        const int cx = rcClient.right - inset.cx;
        RECT rc = { 0, 0, cx, 0 };
        const UINT uTabs = kind == Kind::kWrappingStatic ? DT_EXPANDTABS : 0;
        ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rc,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | uTabs);
        if (rc.right > cx) {
            pClipped->nNeeded = rc.right + inset.cx;  // a word longer than the line
            return true;
        }
        pClipped->bHeight = true;
        pClipped->nNeeded = rc.bottom + inset.cy;
        pClipped->nAvailable = rcClient.bottom;
        pClipped->nLineWidth = WidestLine(dc.Get(), text);
        pClipped->nLineRoom = cx;
        return pClipped->nNeeded > pClipped->nAvailable;
    }
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    pClipped->nNeeded = size.cx + inset.cx;
    return pClipped->nNeeded > pClipped->nAvailable;
}

std::wstring WindowText(HWND hWnd)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

// The framework replaces a static whose text is a class id in braces by the
// control it names: that text is never shown.
bool IsControlPlaceholder(Kind kind, const std::wstring& text)
{
    return kind != Kind::kNone && kind <= Kind::kSingleLineStatic && text.size() > 2 &&
           text.front() == L'{' && text.back() == L'}';
}

std::string Utf8(const std::wstring& text)
{
    int cb = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(static_cast<size_t>(cb), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], cb, nullptr,
                          nullptr);
    return out;
}

} // namespace

std::wstring WithoutMnemonics(const std::wstring& text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && ++i == text.size())
            break;
        out += text[i];
    }
    return out;
}

std::vector<ClippedCaption> FindClippedCaptions(HWND hDlg)
{
    std::vector<ClippedCaption> clipped;
    for (HWND hCtl = ::GetWindow(hDlg, GW_CHILD); hCtl != nullptr; hCtl = ::GetWindow(hCtl, GW_HWNDNEXT)) {
        const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrW(hCtl, GWL_STYLE));
        const Kind kind = KindOf(hCtl, dwStyle);
        std::wstring text = WindowText(hCtl);
        if (kind == Kind::kNone || text.empty() || IsControlPlaceholder(kind, text))
            continue;
        const bool bPrefix = kind > Kind::kSingleLineStatic || (dwStyle & SS_NOPREFIX) == 0;
        ClippedCaption c;
        c.nControlId = ::GetDlgCtrlID(hCtl);
        c.text = text;
        if (Measure(hCtl, kind, dwStyle, bPrefix ? WithoutMnemonics(text) : text, &c))
            clipped.push_back(c);
    }
    return clipped;
}

std::string Describe(const ClippedCaption& c)
{
    char szPixels[128];
    if (c.bHeight)
        std::snprintf(szPixels, sizeof(szPixels),
                      "\": needs %d px, has %d px of height (its widest line takes %d px, wraps at %d)",
                      c.nNeeded, c.nAvailable, c.nLineWidth, c.nLineRoom);
    else
        std::snprintf(szPixels, sizeof(szPixels), "\": needs %d px, has %d px", c.nNeeded, c.nAvailable);
    return "control " + std::to_string(c.nControlId) + " \"" + Utf8(c.text) + szPixels;
}
