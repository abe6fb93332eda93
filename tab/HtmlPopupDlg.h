// CDlgHtmlPopup: a small modeless tool window around a browser control that
// shows one local page of the program folder, chosen by a mode (0 to 10).
// The main frame opens it in mode 9 on "Favorite\text_search.htm" for
// find-in-pages: the page posts its form to itself, and the popup runs the
// search in the active tab and calls the page's script functions with the
// results (TextSearchDriver.cpp).
#ifndef VA_TAB_HTMLPOPUPDLG_H
#define VA_TAB_HTMLPOPUPDLG_H

#include "tab/DlgLayout.h"
#include "framework/core/Collections.h"
#include "framework/dialog/Dialog.h"
#include "framework/ole/OleEvents.h"
#include "tab/AmbientDispatch.h"
#include "tab/DocHostHandler.h"
#include "tab/TextSearchDriver.h"

class CBrowserView;
class ITabHost;
struct IHTMLDocument2;

const UINT kHtmlPopupTemplate = 206;
const UINT kHtmlPopupBrowser = 1008;
const int kPopupModeTextFind = 9;

// Bits of CDlgHtmlPopup::m_flags.
enum HtmlPopupFlags : DWORD
{
    kPopupMiddleArmed = 1,
    kPopupHidden = 2,
    kPopupPassNext = 4,    // the next navigation passes unchecked
    kPopupPageFocused = 8,
};

class CDlgHtmlPopup : public CDialog, public CDocHostHandler, public COleEventHandler
{
public:
    // host: the frame whose tabs the popup works on; without one, that of
    // the popup's owner.
    explicit CDlgHtmlPopup(CWnd* pParent = nullptr, ITabHost* host = nullptr);
    ~CDlgHtmlPopup() override;

    // Shows the window; showing it clears the hidden flag.
    void ShowWindow(int nCmdShow);
    // Remembers the focused window when it lies inside the popup.
    BOOL RememberFocus();
    // Gives the page's window the focus once; TRUE when that was done.
    BOOL FocusPage();

    // Keys run their bindings (the main frame sees them first; held keys
    // outside edit fields do not repeat); the middle button opens the link
    // under it; moving the mouse over the popup takes the focus back to it.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    //--- The find-in-pages driver
    // A post to the page: decodes it and runs its operation; sets *pCancel.
    void RunTextSearch(const VARIANT* pPostData, VARIANT_BOOL* pCancel);
    // One operation ("op" 1 search, 3 clear, 2 go to a hit) for one page
    // document, on the view; the focus comes back to the popup's page
    // unless the operation stopped early.
    void SearchInDocument(IHTMLDocument2* pPage, CBrowserView* pView,
                          const CMapStringToString& fields);

    int m_mode = 0;
    int m_searchPending = 0;
    CString m_pagePath;
    CString m_keyword;
    DWORD m_flags = kPopupPassNext;
    CString m_statusText;
    HWND m_hRememberedFocus = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    IDispatch* GetExternalObject() override;
    void SetStatusText(LPCSTR pszText) override { m_statusText = pszText; }
    void ShowPageMenu(POINT pt, const CPageSelection& selection) override;

    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnDestroy();
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    void OnBeforeNavigate2(VaEventArgs& args);
    void OnNewWindow2(VaEventArgs& args);
    void OnStatusTextChange(VaEventArgs& args);
    void OnDocumentComplete(VaEventArgs& args);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    ITabHost& Host() const;
    bool IsTopLevel(IDispatch* pDisp) const;
    // The popup's page document (AddRef'ed) or null.
    IHTMLDocument2* PageDocument() const;
    void OpenOutside(const CString& url);
    void FollowMouseWithFocus();
    // The alpha of the layered style (see bPopUpNewStyle).
    void SetAlpha(BYTE alpha);
    void FreeUser32();
    void SaveSize();
    void SavePage();
    void FocusBrowser();

    // With the layered style: "user32" and its SetLayeredWindowAttributes,
    // and the full window rectangle while the inactive popup is shrunk.
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE m_hUser32 = nullptr;
    SetLayeredFn m_pfnSetLayered = nullptr;
    RECT m_rcRemembered = {0, 0, 0, 0};
    bool m_bShrunk = false;

    ITabHost* m_pHost = nullptr;
    CAmbientDispatch m_ambient;
    IDispatch* m_pBrowser = nullptr;
    // The browser control follows the right and bottom edges.
    CDlgLayout m_layout;
};

#endif // VA_TAB_HTMLPOPUPDLG_H
