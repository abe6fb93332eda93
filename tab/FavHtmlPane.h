// CDlgFavHtml: the HTML flavour of the favorites side pane, a child dialog
// around a browser control showing local pages of the Favorite folder. The
// program always chooses the tree pane (the mode setting is forced at
// start), so nothing creates this one; it stays buildable with its two page
// files.
#ifndef VA_TAB_FAVHTMLPANE_H
#define VA_TAB_FAVHTMLPANE_H

#include "framework/dialog/Dialog.h"
#include "framework/ole/OleEvents.h"
#include "tab/AmbientDispatch.h"
#include "tab/DocHostHandler.h"

class ITabHost;

const UINT kFavHtmlTemplate = 145;

class CDlgFavHtml : public CDialog, public CDocHostHandler, public COleEventHandler
{
public:
    explicit CDlgFavHtml(CWnd* pParent = nullptr);
    ~CDlgFavHtml() override;

    // Shows a page in the pane's control (its first navigation passes).
    void Navigate(const CString& url);
    // Favorite\history.htm, when missing: line 1 of iehistory.dat.
    void CreateHistoryPage();
    // The frameset page Favorite\index.htm with the given rows.
    [[nodiscard]] static BOOL WriteIndexPage(const CString& rows);

    // Keys and the middle button as in the HTML popup (the pane never
    // closes); moving the mouse over it takes the focus back to it.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // A post of the find-in-pages page: its operation runs for each frame
    // of the pane's page from the second on; a step that stops or fails
    // ends the run. Sets *pCancel.
    void RunTextSearch(const VARIANT* pPostData, VARIANT_BOOL* pCancel);

    BYTE m_bPassNext = 1;
    BYTE m_bMiddleArmed = 0;
    HWND m_hRememberedFocus = nullptr;
    CString m_statusText;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    IDispatch* GetExternalObject() override;
    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                               IDispatch* pdispReserved) override;
    // The control keeps its own drop target.
    STDMETHOD(GetDropTarget)(IDropTarget*, IDropTarget** ppDropTarget) override;

    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(HDC hdc);
    void OnDestroy();
    void OnBeforeNavigate2(VaEventArgs& args);
    void OnNewWindow2(VaEventArgs& args);
    void OnStatusTextChange(VaEventArgs& args);
    // The frame whose tabs the pane's links open in: that of its owner.
    ITabHost& Host() const;

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    // The rows of the first FRAMESET of the page; false without one.
    bool ReadFrameRows(CString& rows) const;
    void FollowMouseWithFocus();

    CAmbientDispatch m_ambient;
    IDispatch* m_pBrowser = nullptr;
};

#endif // VA_TAB_FAVHTMLPANE_H
