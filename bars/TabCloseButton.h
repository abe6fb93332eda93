// The small image button the frame lays over the tab under the mouse: a
// 16-pixel close button on a page tab; on a group tab the close button or a
// 32-pixel two-part button (window list on the left, close on the right).
//
// Classes in this file:
//   CTabIconWnd       the button's window, a hidden child of the frame
//   CTabCloseButton   its painting and click tracking
#ifndef VA_BARS_TABCLOSEBUTTON_H
#define VA_BARS_TABCLOSEBUTTON_H

#include "framework/win/ImageList.h"
#include "framework/win/Wnd.h"

class IBarHost;

//--- CTabIconWnd
class CTabIconWnd : public CWnd
{
public:
    static constexpr int kSide = 16;  // one image; a two-part button is two

    BOOL Create(CWnd* pFrame, UINT nID);
};

//--- CTabCloseButton
class CTabCloseButton : public CTabIconWnd
{
public:
    // Images: 0-2 close normal, hot, pressed; 3-5 the menu half likewise.
    enum Image { kClose = 0, kCloseHot = 1, kClosePressed = 2, kMenu = 3, kMenuHot = 4, kMenuPressed = 5 };
    static constexpr int kMenuPart = 15;  // the left pixels of a two-part button

    // The six images from the two bitmap files of the Res folder.
    BOOL LoadImages(LPCSTR closeFile, LPCSTR menuFile);
    // Over the tab's top-left corner (frame client coordinates).
    void Place(const RECT& tab, bool twoPart);
    // The mouse-down the frame caught over the button, tracked until the
    // button goes up; TRUE when the click was acted on.
    BOOL TrackClick(const MSG& down);
    // What a click over the tab does; 1 when it acted or found nothing to
    // do, 0 when the message came from neither tab bar.
    int OnClick(const MSG& down);
    // The images a paint shows at x and x + 16 (-1: none).
    void GetFaces(POINT cursor, bool pressed, int& first, int& second) const;
    const CRect& GetTabRect() const { return m_tabRect; }
    HIMAGELIST GetImageList() const { return m_images.GetSafeHandle(); }
    bool IsTwoPart() const { return m_twoPart; }

    IBarHost* m_pHost = nullptr;  // the frame's tab bars and their operations

protected:
    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

    CImageList m_images;
    CRect m_tabRect;
    bool m_twoPart = false;
    bool m_tracking = false;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_TABCLOSEBUTTON_H
