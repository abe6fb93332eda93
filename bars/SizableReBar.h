// The frame's one rebar: a control bar wrapping a rebar control, with a
// sizing strip on its inner edge, a background bitmap for every band, a
// context menu that shows or hides bands by name, and the band layout as
// text (the "Rebar" setting).
//
// Classes in this file:
//   ReBarBandRecord   a band's control id, menu name and disabled mark
//   CSizableReBar     the sizable rebar bar
#ifndef VA_BARS_SIZABLEREBAR_H
#define VA_BARS_SIZABLEREBAR_H

#include <vector>

#include "framework/frame/ReBar.h"

//--- ReBarBandRecord
struct ReBarBandRecord
{
    UINT controlId;
    char name[24];  // cp932, NUL-terminated; empty: not in the menu
    bool disabled;
};

//--- CSizableReBar
class CSizableReBar : public CControlBar
{
public:
    static constexpr UINT kReBarId = 0xE804;  // the wrapped rebar control
    static constexpr int kStrip = 3;          // the sizing strip, pixels

    BOOL Create(CWnd* pParent, UINT nID, DWORD dwStyle);
    // A band for the child, with the bar's background (SetBkImage).
    BOOL AddBar(CWnd* pChild, LPCSTR text, DWORD bandStyle, LPCSTR name, bool disabled);
    void SetBkImage(HBITMAP hBitmap);
    // Appends the layout of every band ("wID=%04X,cx=%d,fStyle=%08X"
    // joined by "@"); nothing without bands.
    void SaveState(CString& out) const;
    void LoadState(const CString& layout);
    CReBar& GetReBar() { return m_reBar; }
    const std::vector<ReBarBandRecord>& GetRecords() const { return m_records; }
    // Every band's gripper flipped (the lock command).
    void ToggleGrippers();
    // The band holding the control id shown or hidden; FALSE without one.
    BOOL ToggleBand(UINT controlId);
    BOOL ShowBand(UINT controlId, BOOL show);
    BOOL IsBandVisible(UINT controlId) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

    bool m_listBands = true;   // the context menu lists the bands
    bool m_childItems = true;  // the band under the cursor adds its items

protected:
    // The sizing edge's hit code for the bar's side; 0 for none.
    int GetSizingHit() const;
    CRect GetStripRect() const;  // window coordinates
    void EndTracking();

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    // The sizing strip in the face colour.
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CReBar m_reBar;
    int m_trackHit = 0;
    CSize m_layoutSize;
    CSize m_trackSize;
    CPoint m_trackPoint;
    HBITMAP m_hBack = nullptr;
    bool m_tracking = false;
    std::vector<ReBarBandRecord> m_records;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_SIZABLEREBAR_H
