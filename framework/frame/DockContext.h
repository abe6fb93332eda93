// Dragging a control bar with the mouse: from a press on the bar, a
// tracking rectangle follows the pointer in the shape the bar would take if
// it were dropped there, docked to a side of its frame or floating; the
// drop docks, floats or moves the bar.
//
// Classes in this file:
//   CDockContext   one drag of one bar, from the press to the drop
#ifndef VA_FRAMEWORK_FRAME_DOCKCONTEXT_H
#define VA_FRAMEWORK_FRAME_DOCKCONTEXT_H

#include "framework/app/FaultGuard.h"
#include "framework/win/Geometry.h"

class CControlBar;
class CFrameWnd;

//--- CDockContext
class CDockContext
{
public:
    explicit CDockContext(CControlBar* pBar);
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Drags the bar from a press at a screen point until the left button
    // comes up (the drop) or the drag is cancelled; runs its own message
    // loop with the mouse captured.
    void StartDrag(CPoint point);

    // Takes the bar's shapes and the press point's place in them.
    void BeginDrag(CPoint point);
    // Where the bar would go if dropped with the pointer at a screen point:
    // the id of a dock bar (59419-59422), or 0 to float; pRect gets the
    // tracking rectangle (the bar docked there, or the floating frame).
    UINT CalcDrop(CPoint point, bool noDocking, CRect* pRect) const;

private:
    enum class End { Drop, Cancel };

    End Track();
    // Follows the pointer; redraws the tracking rectangle when it changes.
    void Move(CPoint point, bool noDocking);
    void Drop();
    // Draws the tracking rectangle's outline on the screen, inverted, and
    // holds its erasing, which a fault that breaks the drag off runs too.
    void ShowTrackRect();
    // Erases the outline if it shows.
    void HideTrackRect();

    CControlBar* m_pBar;
    HWND m_hBar;
    CFrameWnd* m_pFrame;
    CPoint m_press;
    CSize m_horzSize, m_vertSize;      // the bar docked on a top/bottom or left/right side
    CPoint m_horzOffset, m_vertOffset; // the press point inside each shape
    CRect m_floatStart;                // the floating frame's rectangle at the press
    bool m_moved = false;              // past the system's drag distance
    UINT m_target = 0;
    CRect m_track;                     // drawn while m_drawn
    bool m_drawn = false;
    CFaultHold m_outline;              // erases the outline while it shows
};

#endif // VA_FRAMEWORK_FRAME_DOCKCONTEXT_H
