// CBrowserView: the page view of one tab. It hosts the WebBrowser control,
// owns the tab's CTabItem, turns the control's events into updates of the
// record, the frame and the bars, and carries the page commands.
#ifndef VA_TAB_BROWSERVIEW_H
#define VA_TAB_BROWSERVIEW_H

#include <windows.h>
#include <exdisp.h>

#include "framework/core/Collections.h"
#include "framework/frame/View.h"
#include "framework/ole/OleDropTarget.h"
#include "framework/ole/OleEvents.h"
#include "shared/RecordPool.h"
#include "tab/BrowserSubWnd.h"
#include "tab/DocHostHandler.h"
#include "tab/DropTargets.h"
#include "tab/AmbientDispatch.h"

class CChildFrame;
class CNewMenu;
class CTabItem;
class ITabHost;
class SavedHistory;
struct IHTMLDocument2;
struct IHTMLTxtRange;

// Bits of CBrowserView::m_state.
enum BrowserViewState : DWORD
{
    kViewKeyActivation = 0x1,    // Space or Return went to the page
    kViewRocker = 0x2,
    kViewNavigating = 0x4,       // a navigation this program started runs
    kViewCanGoBack = 0x8,
    kViewCanGoForward = 0x10,
    kViewFocusPending = 0x20,
    kViewClosing = 0x40,         // every event handler returns at once
    kViewWheelNewWindow = 0x80,  // the next new window comes from a wheel click
};

// Progress value of an idle view.
const int kProgressIdle = -10;

class CBrowserView : public CView, public CDocHostHandler, public COleEventHandler
{
public:
    // host: the frame that holds the tab, handed on by its child frame.
    explicit CBrowserView(ITabHost* host = nullptr);
    ~CBrowserView() override;

    VA_POOLED_NEW(CBrowserView, kPoolBrowserView)

    // The view window, then the control inside it; FALSE (and the view
    // destroyed) when either cannot be made.
    BOOL Create(CWnd* pParent, UINT nID, DWORD dwStyle);
    void OnInitialUpdate() override;
    // Mouse and key messages bound for the page (BrowserViewInput.cpp).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CTabItem* GetTabItem() const { return m_pTabItem; }
    IWebBrowser2* GetBrowser() const { return m_pBrowser; }
    // The control's window, or null.
    HWND GetControlWindow() const { return m_wndBrowser.GetSafeHwnd(); }
    // Each returns a new reference, or null.
    IDispatch* GetHtmlDocument() const;
    IDispatch* GetApplication() const;
    BOOL IsBusy() const;
    bool IsClosing() const { return (m_state & kViewClosing) != 0; }
    ITabHost& Host() const;
    // This view is the active tab's.
    bool IsActiveTab() const;

    //--- Navigation
    void Navigate(LPCTSTR url, DWORD flags = 0, LPCTSTR targetFrame = nullptr,
                  const void* postData = nullptr, int postLength = 0, LPCTSTR headers = nullptr);
    // The control's own home page.
    void GoHomeControl();
    virtual void GoBack();
    virtual void GoForward();
    virtual void GoHome();
    virtual void Stop();
    virtual void Refresh();
    virtual void GoUp();
    // The URL one level up from url; empty when there is none.
    static CString UpOneLevel(const CString& url);

    //--- Per-tab settings and state
    DWORD GetPageOptions() const { return m_ambient.Get(); }
    // Stores the download-control word in the view and the record and lets
    // the control read it again.
    void SetPageOptions(DWORD options);
    virtual void ApplyTabSettings();
    virtual void AfterOptionChange();
    virtual void ShowView(bool bShow);
    // Registers the page drop target for the view window, once.
    void RegisterDropTarget();
    virtual void SetProgress(long progress, long progressMax);
    virtual void StartAutoReload();
    virtual void StopAutoReload();
    virtual void StartTimer();
    virtual void RequestClose();
    virtual void SetWheelLock();
    virtual void ClearWheelLock();
    virtual void SetLinkLock();
    virtual void ClearLinkLock();
    virtual void FocusPage();
    // The text-size command (32774 largest to 32778 smallest) of the page's
    // zoom; 32776 without a control, 0 for a zoom outside the five sizes.
    virtual UINT GetTextSize();

    //--- Mouse actions and gestures
    // One of the mouse actions of mouseLR, mouseRL and mouseDC (0 back, 1
    // forward, 2 refresh, 3 up, 4 previous tab, 5 next tab, 6 close), while
    // mouse gestures are on.
    virtual void DoMouseAction(int action);
    // Tracks the right-button press: 1 when it was used (a gesture, a
    // rocker or double-click action), 0 when the release was replayed.
    int TrackMouseGesture(MSG* pMsg);
    // The label of the command bound to exactly this gesture, else empty.
    static void GetGestureCommandName(const CString& gesture, CString& name);

    //--- Page features
    // Marks every match of word in the page and its frames with an element
    // of the style whose id is idPrefix and the match's number (bRemoveOnly:
    // only removes the marks). The number of marks; 0 for an empty word;
    // -1 without a control or when the user stopped at the time budget.
    virtual int SetHighlightWords(BOOL bRemoveOnly, const CString& word, int mode,
                                  const CString& style, const CString& idPrefix);
    // One document and, recursively, its frames.
    virtual int HighlightFrames(IHTMLDocument2* pDoc, BOOL bRemoveOnly, int depth);
    // Removes the old marks of one document and, unless bRemoveOnly, marks
    // the word in it; -1 when stopped at the time budget.
    virtual int HighlightDocument(IHTMLDocument2* pDoc, BOOL bRemoveOnly, BOOL bWholeWord);
    virtual void ClearHighlight(IHTMLDocument2* pDoc, const CString& idPrefix);
    // Selects mark number of one document (not its frames) and scrolls it
    // into view; 1 when found.
    int SelectHighlight(IHTMLDocument2* pDoc, int number, int topOffset, int leftOffset);
    void MovePopupOffMatch(HWND hPopup, const RECT& match) const;
    // One snippet per mark of the last request, in marking order.
    const CStringArray& GetHighlightSnippets() const { return m_highlightSnippets; }
    // The clock of the time budget (milliseconds).
    DWORD(WINAPI* m_pfnHighlightTicks)() = ::GetTickCount;
    // Hides the page's Flash objects when the tab does not play them.
    virtual void HideFlashObjects();

    //--- History
    virtual void SaveBackHistory(SavedHistory& list);
    virtual void SaveForwardHistory(SavedHistory& list);
    virtual void RestoreBackHistory();
    virtual void RestoreForwardHistory();
    // The titles of the travel log's entries behind (or ahead of) the
    // current page, nearest first, at most maxCount.
    void GetHistoryTitles(bool back, int maxCount, CStringArray& titles);

    //--- What the frame hears
    virtual void NotifyUrlChange();
    virtual void NotifyDocumentComplete();
    virtual void NotifyInserted();
    virtual void NotifyTabState(bool bIconOnly);

    //--- Control events
    virtual void OnBeforeNavigate2(IDispatch* pDisp, LPCTSTR url, BOOL* pCancel);
    virtual void OnNewWindow2(IDispatch** ppDisp, BOOL* pCancel);
    virtual void OnNavigateComplete2(IDispatch* pDisp, LPCTSTR url);
    virtual void OnDocumentComplete(IDispatch* pDisp, LPCTSTR url);
    virtual void OnTitleChange(LPCTSTR text);
    virtual void OnStatusTextChange(LPCTSTR text);
    virtual void OnCommandStateChange(long command, BOOL bEnable);
    virtual void OnDownloadBegin();
    virtual void OnDownloadComplete();
    virtual void OnNavigateError();

    DWORD m_state = kViewNavigating;
    int m_progress = kProgressIdle;
    HWND m_hLastFocus = nullptr;

protected:
    void PostNcDestroy() override;

    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    void OnClose();
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    BOOL OnEraseBkgnd(HDC hDC);
    void OnStartAutoReloadCmd() { StartAutoReload(); }
    void OnStopAutoReloadCmd() { StopAutoReload(); }
    void OnGoBackCmd() { GoBack(); }
    void OnGoForwardCmd() { GoForward(); }
    void OnGoHomeCmd() { GoHome(); }
    void OnStopCmd() { Stop(); }
    void OnRefreshCmd() { Refresh(); }
    void OnGoUpCmd() { GoUp(); }
    void OnPrevTab();
    void OnNextTab();
    void OnBackMenu(UINT nID);
    void OnForwardMenu(UINT nID);
    void OnPageOption(UINT nID);
    void OnTextSize(UINT nID);
    void OnUpdateGoBack(CCmdUI* pCmdUI);
    void OnUpdateGoForward(CCmdUI* pCmdUI);
    void OnUpdatePageOption(CCmdUI* pCmdUI);

    // Event sink of the control: unpacks each event for its handler.
    void OnBeforeNavigate2Event(VaEventArgs& args);
    void OnNewWindow2Event(VaEventArgs& args);
    void OnNavigateComplete2Event(VaEventArgs& args);
    void OnDocumentCompleteEvent(VaEventArgs& args);
    void OnNavigateErrorEvent(VaEventArgs& args);
    void OnStatusTextChangeEvent(VaEventArgs& args);
    void OnCommandStateChangeEvent(VaEventArgs& args);
    void OnDownloadBeginEvent(VaEventArgs& args);
    void OnDownloadCompleteEvent(VaEventArgs& args);
    void OnTitleChangeEvent(VaEventArgs& args);
    void OnProgressChangeEvent(VaEventArgs& args);

    //--- What the document host asks of its window
    Options GetHostOptions() override;
    IDispatch* GetHostDocument() override { return GetHtmlDocument(); }
    void SetStatusText(LPCSTR pszText) override;
    CString GetEtcText(int line) override;
    IDispatch* GetExternalObject() override;
    // The control offers the page's own drop target: the first is kept
    // behind the view's, which the control gets instead.
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    void ShowEngineMenu() override;
    void RememberContextMenu(POINT pt, DWORD dwID) override;

public:
    // The page menu over a text selection; the chosen command goes to the
    // main frame.
    void ShowPageMenu(POINT pt, const CPageSelection& selection) override;
    // A command chosen in the page menu (0: none): a search engine's marks
    // the search as one from the page, any other clears that mark; then it
    // is posted to the main frame.
    void OnPageMenuChoice(UINT nID);
    void FillPageMenuEngines(CNewMenu& engines);

    // Where and for what the last page context menu was asked, for the main
    // frame's page-menu commands.
    POINT m_ptContextMenu = {0, 0};
    DWORD m_contextMenuId = 0;

protected:

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    BOOL CreateBrowserControl();
    void DestroyBrowserControl();
    bool IsTopLevel(IDispatch* pDisp) const;
    // The control's ready state is complete and it is not busy.
    bool IsReadyAndIdle() const;
    void ChangeOption(DWORD set, DWORD clear);
    void QuietPageOnClose();
    bool IsActiveElementNotLink() const;
    bool IsEditableFocus() const;
    BOOL FilterMouse(MSG* pMsg);
    BOOL FilterKey(MSG* pMsg);
    void RefocusUnderMouse();
    BOOL OpenLinkByWheelClick(MSG* pMsg);
    BOOL TranslateControlAccelerator(MSG* pMsg);
    void ShowGestureStatus(const CString& gesture);
    // After a download or a completed navigation: Flash objects are hidden
    // unless the tab plays them.
    void HideFlashUnlessPlayed();
    CChildFrame* GetChildFrame() const;
    // The control's window, or null.
    HWND ControlWindow() const { return m_wndBrowser.GetSafeHwnd(); }

    ITabHost* m_pHost = nullptr;
    CBrowserSubWnd m_wndBrowser;
    IWebBrowser2* m_pBrowser = nullptr;
    IDispatch* m_pApplication = nullptr;
    CTabItem* m_pTabItem = nullptr;
    // The download-control word, which the control reads as an ambient
    // property of its site.
    CAmbientDispatch m_ambient;
    UINT_PTR m_reloadTimer = 0;
    HWND m_hRestoreActive = nullptr;
    HWND m_hRestoreFocus = nullptr;
    // Drops on the page; registered with the view window from its first
    // show, detached and released when it goes (a drag may still hold it).
    CPageDropTarget* m_pPageDropTarget = nullptr;

    // The last highlight request.
    bool HighlightBudgetAllows();
    void AddHighlightSnippet(IHTMLTxtRange* pRange);
    CStringArray m_highlightSnippets;
    DWORD m_highlightStart = 0;
    int m_highlightMode = 0;
    CString m_highlightWord;
    CString m_highlightStyle;
    CString m_highlightIdPrefix;
    bool m_bHighlightStopped = false;
};

// Selects mark number in the document or else in the first of its frames
// that has it, each frame with its own Top and Left as offsets; 1 when found.
int ScrollToHighlight(CBrowserView* pView, IHTMLDocument2* pDoc, int number, int topOffset = 0,
                      int leftOffset = 0);

#endif // VA_TAB_BROWSERVIEW_H
