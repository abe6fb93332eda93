// CView: a child window of a frame that shows the frame's content and is
// asked for commands first while it is the frame's active view.
//
// Views are made with new (or a class's own operator new) and delete
// themselves when their window is gone.
#ifndef VA_FRAMEWORK_FRAME_VIEW_H
#define VA_FRAMEWORK_FRAME_VIEW_H

#include "framework/win/Wnd.h"

class CFrameWnd;

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)

public:
    CView() = default;

    // Called once by whoever made the view, after its window exists.
    virtual void OnInitialUpdate();
    // The frame's active view changed; the view that becomes active takes the
    // focus when its top-level window is the active window.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    void OnDestroy();

    DECLARE_MESSAGE_MAP()
};

#endif // VA_FRAMEWORK_FRAME_VIEW_H
