// CChildFrame: the MDI child window of one tab. It holds the tab's browser
// view, decides whether a new tab comes to the front, carries the tab's own
// commands and tells the main frame when its tab is activated or goes.
#ifndef VA_TAB_CHILDFRAME_H
#define VA_TAB_CHILDFRAME_H

#include <string>

#include "framework/frame/MDIFrameWnd.h"
#include "shared/RecordPool.h"

class CBrowserView;
class CTabGroup;
class CTabItem;
class ITabHost;
struct EditorCommand;

// Why a tab was opened; decides foreground or background.
enum TabActivationReason : WORD
{
    kReasonLink = 0,
    kReasonFavorite = 1,
    kReasonAddressBar = 2,
    kReasonDocHistory = 3,
    kReasonWheelClick = 4,
    kReasonPlugin = 5,
    kReasonPopup = 6,
    kReasonFavoriteWheel = 7,
    kReasonPageForeground = 8,
    kReasonPageBackground = 9,
    kReasonForceForeground = 10,
};

// The page tab bar's mouse action on a tab: wParam 0 double click, 1 right
// click, 2 wheel click; lParam the screen point.
#define WM_TAB_MOUSECLICK 0x8CAA

class CChildFrame : public CMDIChildWnd
{
public:
    // host: the frame that holds the tab (see TabHostOr for none).
    explicit CChildFrame(ITabHost* host = nullptr) : m_pHost(host) {}

    VA_POOLED_NEW(CChildFrame, kPoolChildFrame)

    // Runs the view's initial update (which makes the tab's record and
    // attaches it here), then shows the frame by its reason.
    CBrowserView* InitialUpdateAndActivate();
    void ActivateFrame(int nCmdShow = -1) override;
    virtual void AttachView(CBrowserView* view);
    virtual void SetActiveTabView(CBrowserView* view);
    virtual void ShowTabMenu(int action, POINT point);
    CBrowserView* GetBrowserView() const { return m_pView; }
    CTabItem* GetTabItem() const;
    // The frame that holds the tab; its view and dialogs ask it too.
    ITabHost& Host() const;
    // Highlights the text in the page (or clears the highlight when cleared
    // is set) and reports the number of matches.
    virtual void FindTextWithBusyDialog(const CString& text, int value, bool cleared);
    BOOL DestroyWindow() override;

    WORD m_activationReason = kReasonLink;
    BYTE m_insertHint = 0;
    signed char m_popupMark = 0;
    UINT m_reloadCommand = 36264;
    CBrowserView* m_pView = nullptr;
    CTabGroup* m_pGroup = nullptr;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnDestroy();
    void OnWindowPosChanging(WINDOWPOS* pPos);
    LRESULT OnTabMouseAction(WPARAM wParam, LPARAM lParam);
    void OnNewTabKey();
    void OnOpenDialog();
    void OnToggleReload();
    void OnReloadPeriod(UINT nID);
    void OnTabCommand(UINT nID);
    void OnTabCommand2(UINT nID);
    void OnFindIE();
    void FindInPage();
    void OnSearchBoxHighlight();
    void OnSearchBoxTextSearch();
    void OnUpdateTextSize(CCmdUI* pCmdUI);
    void OnWheelLock();
    void OnLinkLock();
    void EditPageSource();
    void OnUpdateToggleReload(CCmdUI* pCmdUI);
    void OnUpdateWheelLock(CCmdUI* pCmdUI);
    void OnUpdateLinkLock(CCmdUI* pCmdUI);
    void OnUpdateReloadPeriod(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    bool IsTabClosing() const;
    // The tab has a record with the bit set in its flags.
    bool TabHasFlag(DWORD flag) const;
    void CloseThisTab();
    void PostToFrame(UINT command) const;
    CTabGroup* GroupForNewTab() const;
    void OpenClipboardText();
    void DuplicateTab();

    ITabHost* m_pHost = nullptr;
};

// The clipboard's text, trimmed, with "h" put before "ttp://" and
// "ttps://"; empty when there is none.
CString ReadClipboardUrl(HWND owner);
// The editor the page sources open in: the registry's choice, else the
// system's Notepad.
EditorCommand AppEditorCommand();

#endif // VA_TAB_CHILDFRAME_H
