// The drawn tab controls every tab strip of the program is made of, and the
// cp932-safe caption cut they share.
//
// Classes in this file:
//   CBaseTabCtrl   a tab control that erases its own background and can take
//                  over the painting of its items (draw mode 2)
//   CDrawTabCtrl   draws each item itself: face in two tints (optionally a
//                  gradient for the selection), icon, text and edge lines
#ifndef VA_BARS_BASETABCTRL_H
#define VA_BARS_BASETABCTRL_H

#include "framework/core/CString.h"
#include "framework/win/TabCtrl.h"

// text cut to at most maxBytes bytes on a cp932 character boundary, with
// "…" appended when it was cut and withEllipsis is set.
CString TruncateTabText(const CString& text, int maxBytes, bool withEllipsis);

// A colour with each channel multiplied by factor, truncated, capped at 255.
COLORREF ScaleColor(COLORREF color, double factor);

//--- CBaseTabCtrl
class CBaseTabCtrl : public CTabCtrl
{
public:
    // Where the strip stands (m_position).
    enum Position : BYTE { kBottom = 0, kTop = 1, kLeftColumn = 2, kRightColumn = 3 };
    // Who paints the items (m_drawMode).
    enum DrawMode { kSystemDrawn = 0, kOwnerDrawnItems = 1, kDrawnHere = 2 };

    explicit CBaseTabCtrl(int drawMode = kSystemDrawn);

    // -1: the system button face at the time of use.
    void SetBackColor(COLORREF color);
    COLORREF GetBackColor() const { return m_backColor; }
    // FALSE for a mode outside 0-2.
    BOOL SetDrawMode(int mode);
    int GetDrawMode() const { return m_drawMode; }
    bool IsColumn() const { return m_position == kLeftColumn || m_position == kRightColumn; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDis);
    virtual void DrawFrameBorder(LPDRAWITEMSTRUCT lpDis);
    virtual void DrawTabEdges(LPDRAWITEMSTRUCT lpDis);
    virtual COLORREF GetTabColor(bool selected) const;
    virtual COLORREF GetTabTextColor(bool selected) const;

    // A control made elsewhere (a dialog's) gets the owner-draw style of
    // draw modes 1 and 2.
    void PreSubclassWindow() override;

    BYTE m_position = kTop;

protected:
    // The background colour in effect.
    COLORREF EffectiveBackColor() const;
    // Owner-draw style for draw modes 1 and 2 on a window that exists.
    void ApplyOwnerDrawStyle();

    BOOL OnEraseBkgnd(HDC hdc);
    void OnPaint();

    COLORREF m_backColor = static_cast<COLORREF>(-1);
    int m_drawMode = kSystemDrawn;

    DECLARE_MESSAGE_MAP()
};

//--- CDrawTabCtrl
class CDrawTabCtrl : public CBaseTabCtrl
{
public:
    // Drawing style bits (m_drawStyle).
    enum DrawStyle : DWORD
    {
        TabDrawFlat = 0x01,            // unselected items in the background colour
        TabDrawBackColor = 0x02,       // tints from the background colour
        TabDrawLightSelection = 0x04,  // the selection 40 % lighter
        TabDrawGradient = 0x08,        // the selection as a vertical gradient
        TabDrawBackTabs = 0x10,        // unselected items 10 % darker, with edge lines
    };

    CDrawTabCtrl() : CBaseTabCtrl(kSystemDrawn) {}

    // The style (0 when !enable), then the six tints from it.
    void SetDrawStyle(bool enable, DWORD style);
    DWORD GetDrawStyle() const { return m_drawStyle; }

    void DrawItem(LPDRAWITEMSTRUCT lpDis) override;
    void DrawFrameBorder(LPDRAWITEMSTRUCT lpDis) override;
    void DrawTabEdges(LPDRAWITEMSTRUCT lpDis) override;
    COLORREF GetTabColor(bool selected) const override;
    COLORREF GetTabTextColor(bool selected) const override;
    // As the base; a drawing style also asks for the owner-draw style.
    void PreSubclassWindow() override;

    COLORREF m_selColor = 0, m_selLight = 0, m_selDark = 0;
    COLORREF m_tabColor = 0, m_tabLight = 0, m_tabDark = 0;

protected:
    void DrawFace(HDC hdc, const RECT& rc, bool selected) const;
    static void DrawCaption(HDC hdc, LPCSTR text, int length, const RECT& room);

    DWORD m_drawStyle = 0;
};

#endif // VA_BARS_BASETABCTRL_H
