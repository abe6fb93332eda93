// CAnimateCtrl: the system animation control ("SysAnimate32"); plays
// uncompressed or RLE-compressed AVI clips.
#ifndef VA_FRAMEWORK_WIN_ANIMATECTRL_H
#define VA_FRAMEWORK_WIN_ANIMATECTRL_H

#include "framework/win/Wnd.h"

class CAnimateCtrl : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return ANIMATE_CLASSA; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }
    // A file path or a resource name; FALSE when the clip cannot be opened.
    BOOL Open(LPCSTR lpszFileName) { return static_cast<BOOL>(SendMessage(ACM_OPENA, 0, reinterpret_cast<LPARAM>(lpszFileName))); }
    BOOL Close() { return static_cast<BOOL>(SendMessage(ACM_OPENA, 0, 0)); }
    // nRep -1 repeats for ever; nTo -1 is the last frame.
    BOOL Play(UINT nFrom, UINT nTo, UINT nRep)
    {
        return static_cast<BOOL>(SendMessage(ACM_PLAY, static_cast<WPARAM>(static_cast<int>(nRep)), MAKELPARAM(nFrom, nTo)));
    }
    BOOL Stop() { return static_cast<BOOL>(SendMessage(ACM_STOP)); }
    BOOL Seek(UINT nTo) { return Play(nTo, nTo, 1); }
};

#endif // VA_FRAMEWORK_WIN_ANIMATECTRL_H
