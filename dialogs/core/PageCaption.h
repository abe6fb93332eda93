// CPageCaption: the settings dialog's caption bar over the page area.
//
// Its background is a gradient from the button-face colour at the right
// edge to black at the left with the product name embossed at the right,
// built once into an off-screen bitmap; over it the window text (the page
// title) is drawn in the caption's font.
#ifndef VA_DIALOGS_CORE_PAGECAPTION_H
#define VA_DIALOGS_CORE_PAGECAPTION_H

#include "framework/win/Static.h"

class CPageCaption : public CStatic
{
public:
    CPageCaption();
    ~CPageCaption() override;

    void SetFontFace(LPCSTR face) { m_fontFace = face; }
    void SetFontHeight(int height) { m_fontHeight = height; }
    void SetFontWeight(int weight) { m_fontWeight = weight; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void SetProductName(LPCSTR name) { m_productName = name; }
    // Sets the text and repaints the whole bar.
    void SetCaption(LPCSTR text);

    // The colour of a channel value v at distance d from the right edge of
    // a bar w wide: v - d*d*v/(w*w), black beyond the bar.
    static int ShadeChannel(int v, int d, int w);

protected:
    DECLARE_MESSAGE_MAP()
    BOOL OnEraseBkgnd(HDC hdc);
    void OnPaint();

private:
    void BuildBackground(HDC hdc, int cx, int cy);
    HFONT CreateCaptionFont(int height, int weight) const;

    CString m_fontFace;
    int m_fontHeight = 12;
    int m_fontWeight = 400;
    COLORREF m_textColor;
    HFONT m_hTitleFont = nullptr;
    HBITMAP m_hBackground = nullptr;
    SIZE m_backgroundSize = {};
    CString m_productName;
};

#endif // VA_DIALOGS_CORE_PAGECAPTION_H
