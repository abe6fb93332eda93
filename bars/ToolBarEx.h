// The toolbar classes every band of the rebar rests on.
//
// Classes in this file:
//   ToolButtonRecord   one available button: a TBBUTTON and whether the
//                      default arrangement shows it
//   CToolBarXP         a flat toolbar hosting child controls on separators
//   CToolBarEx         a customizable toolbar: a fixed table of available
//                      buttons, a button order kept as text, texts and tips
//                      from the subclass, band sizing and context items
#ifndef VA_BARS_TOOLBAREX_H
#define VA_BARS_TOOLBAREX_H

#include <unordered_map>
#include <vector>

#include "framework/core/CString.h"
#include "framework/frame/ToolBar.h"

class CNewMenu;

// Messages the rebar sends to a band's child window.
#define WM_REBAR_CHILDSIZE       (WM_USER + 102)  // wParam: band RECT*, lParam: child RECT*
#define WM_REBAR_CHEVRONPUSHED   (WM_USER + 103)  // wParam: chevron RECT* (screen), lParam: app value
#define WM_REBAR_CONTEXTMENU     (WM_USER + 104)  // wParam: CNewMenu* being built

// text cut to at most maxBytes bytes on a cp932 character boundary, with
// "…" appended when cut and withEllipsis is set.
CString ShortenBarText(const CString& text, int maxBytes, bool withEllipsis);

//--- ToolButtonRecord
struct ToolButtonRecord
{
    TBBUTTON button;
    bool shownByDefault;
};

//--- CToolBarXP
class CToolBarXP : public CToolBar
{
public:
    enum LayoutMode { kLayoutNone = 0, kLayoutVertical = 1, kLayoutHorizontal = 2 };

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

protected:
    // Committed layout: controls standing on separators follow them.
    void PlaceHostedControls(bool horizontal);
    virtual void OnPaintBar() { Default(); }
    void OnPaint() { OnPaintBar(); }

    int m_layoutMode = kLayoutNone;

    DECLARE_MESSAGE_MAP()
};

//--- CToolBarEx
class CToolBarEx : public CToolBarXP
{
public:
    static constexpr UINT kCmdCustomize = 57855;
    static constexpr UINT kCmdLockBars = 36434;
    static constexpr UINT kCmdResetBands = 36399;
    enum TextMode { kTextNone = 0, kTextRight = 1, kTextHidden = 2 };

    ~CToolBarEx() override;

    virtual BOOL Create(CWnd* pParent, DWORD dwStyle, UINT nID);
    virtual LRESULT OnCustomDrawItem(NMTBCUSTOMDRAW* pDraw);
    virtual bool HasTextOnRight(int) const { return true; }
    virtual bool ShowToolTip(int) const { return true; }
    virtual void GetButtonText(int nID, CString& text);
    virtual void GetTipText(int nID, CString& text) { GetButtonText(nID, text); }
    // The shown name of a button that carries an item (the links bar's), as
    // its string, the customize dialog and the overflow popup show it; false
    // for buttons without one, whose text is GetButtonText's.
    virtual bool GetItemName(const TBBUTTON&, CString&) const { return false; }
    // Called once by the frame after creation; FALSE when a part failed.
    virtual BOOL Initialize() { return TRUE; }
    // null: an owned, empty list (emptied when owned already); a list: used,
    // not owned, when none is set yet.
    virtual void SetImageList(HIMAGELIST hImages);
    virtual void Refresh() {}
    virtual void UpdateBandSize();
    virtual void AddContextMenuItems(CNewMenu& menu);
    // The buttons that have no room, in a popup under the chevron.
    virtual void ShowChevronPopup(const RECT& chevron, LPARAM appValue);
    virtual void OnButtonDoubleClick() {}

    // The images of a bitmap file of count square images.
    void LoadImages(LPCSTR path, int count);
    // The buttons are those of layout (as SetLayoutString takes it), or the
    // table's defaults when layout is empty.
    void SetButtonTable(int count, const ToolButtonRecord* records, int textMode, bool refresh,
                        const CString& layout = CString());
    void SetTextMode(int mode, bool refresh);
    BOOL GetButtonInfo(int nID, TBBUTTON& button) const;
    // The buttons' command ids in order, joined by "@"; unchanged without buttons.
    void GetLayoutString(CString& out) const;
    void SetLayoutString(const CString& layout);
    int GetTableCount() const { return static_cast<int>(m_table.size()); }
    int GetTextMode() const { return m_textMode; }
    HIMAGELIST GetOwnImageList() const { return m_hImages; }

protected:
    // The defaults of the table, in table order.
    void AddDefaultButtons();
    // The buttons of a layout, added after those there.
    void AddLayoutButtons(const CString& layout);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    LRESULT OnChevronPushed(WPARAM wParam, LPARAM lParam);
    LRESULT OnBandContextMenu(WPARAM wParam, LPARAM lParam);
    void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGetInfoTip(NMHDR* pNMHDR, LRESULT* pResult);
    void OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult);
    void OnQueryTrue(NMHDR* pNMHDR, LRESULT* pResult);
    void OnReset(NMHDR* pNMHDR, LRESULT* pResult);
    void OnLayoutChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginAdjust(NMHDR* pNMHDR, LRESULT* pResult);

    HIMAGELIST m_hImages = nullptr;
    bool m_ownsImages = false;
    std::vector<ToolButtonRecord> m_table;
    std::unordered_map<int, int> m_index;  // command id -> table index (the later of two)
    int m_textMode = kTextHidden;
    bool m_customizeItem = true;  // the context menu offers the customize dialog

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_TOOLBAREX_H
