// CReBar: a control bar over the system rebar control, with the control's
// messages (CReBarCtrlT). Bands hold other windows (toolbars, boxes); the
// frame's layout gives the rebar the height the control asks for.
#ifndef VA_FRAMEWORK_FRAME_REBAR_H
#define VA_FRAMEWORK_FRAME_REBAR_H

#include "framework/frame/ControlBar.h"
#include "framework/win/ReBarCtrl.h"

class CReBar : public CReBarCtrlT<CControlBar>
{
    DECLARE_DYNAMIC(CReBar)

public:
    CReBar() = default;

    // dwCtrlStyle: RBS_ bits; the control never places itself.
    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT nID = 0xE804);
    // Appends a band holding pBar (re-parented to the rebar), with the
    // bar's control id as band id and its current size as minimum child
    // size; lpszText is the band's label.
    BOOL AddBar(CWnd* pBar, LPCSTR lpszText = nullptr, HBITMAP hbmp = nullptr,
                DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    CReBarCtrlT<CControlBar>& GetReBarCtrl() { return *this; }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    // A new height: the frame lays out again.
    void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};

#endif // VA_FRAMEWORK_FRAME_REBAR_H
