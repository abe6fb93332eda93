// Small floating frames: tool windows owned by a frame, with a short caption.
// The owner's caption stays active while one of them is active: they are
// part of the owner's window, not windows of their own to the user.
//
// Classes in this file:
//   CMiniFrameWnd   a floating tool frame
#ifndef VA_FRAMEWORK_FRAME_MINIFRAMEWND_H
#define VA_FRAMEWORK_FRAME_MINIFRAMEWND_H

#include "framework/frame/FrameWnd.h"

//--- CMiniFrameWnd
class CMiniFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniFrameWnd)

public:
    static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

    // A tool frame of the framework's frame class (null lpszClassName) or
    // of a class of the caller's; pParentWnd owns it.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = nullptr);

protected:
    LRESULT OnActivateMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

#endif // VA_FRAMEWORK_FRAME_MINIFRAMEWND_H
