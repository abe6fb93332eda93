// What the windows that host a browser control on the program's own local
// pages (the HTML popup and the HTML favorites pane) do alike: their keys,
// the middle click on a link, links and new windows that leave them for the
// tabs, and focusing their page.
#ifndef VA_TAB_LOCALPAGEHOST_H
#define VA_TAB_LOCALPAGEHOST_H

#include "framework/core/CString.h"
#include "framework/ole/OleCompat.h"

class CTabGroup;
class CWnd;
class ITabHost;
class VaEventArgs;
struct IHTMLDocument2;

// The hosted control's document as an HTML document (a new reference), or
// null.
IHTMLDocument2* HostedDocument(IDispatch* pBrowser);

enum class HostedInput
{
    kPass,        // the host's own handling follows
    kPageKey,     // a key the page gets as it is (no dialog keys: Enter
                  // submits the page's form, it does not end the dialog)
    kConsumed,
    kLinkOpened,  // consumed: a middle click opened a link in the tabs
};
// Keys and the middle button in a host whose control is nControlId:
// - a key down goes to the parent frames first, then to the control's
//   accelerators; in the page an edit field keeps the typing keys, a held
//   key (auto-repeat) is swallowed and any other runs its key binding;
// - a middle press over a link (statusText names one) arms bArmed and
//   becomes a right press; the release opens the link of the page's active
//   element in the tabs when armed (a new tab with "bOpenNewTab_FAV_WC"),
//   and any release over a link is consumed.
HostedInput TranslateHostedInput(ITabHost& tabHost, CWnd* pHost, IDispatch* pBrowser, UINT nControlId,
                                 const CString& statusText, bool& bArmed, MSG* pMsg);

// A link leaving the host: a new tab of the active group with
// "bOpenNewTab_FAV", else the active tab, else a new tab (reason 0).
void OpenLinkInTabs(ITabHost& tabHost, const CString& url, WORD newTabReason);
// Opens the url as the first tab of a new group (activation reason 1); the
// page tab bar stays hidden for the holder while the group fills, unless
// another holder has it already.
void OpenLinkInNewGroup(ITabHost& tabHost, CWnd* pHolder, CTabGroup* group, const CString& url);

// NewWindow2 (ppDisp, Cancel): the new window becomes a tab of the active
// group. false when none was made: over the tab limit or when the tab could
// not be made, Cancel is set, so no window opens outside the program.
bool OpenNewWindowAsTab(ITabHost& tabHost, VaEventArgs& args);

// Focuses the page's window (the document's parent window); TRUE when done.
BOOL FocusHostedPage(IDispatch* pBrowser);

// HTML text in cp932; a character that cp932 cannot hold becomes its
// numeric character reference ("&#NNNN;"), so that saving a page never
// turns the user's text into "?".
CString HtmlTextToCp932(const wchar_t* text, int length);

// Replaces a page file of the program whole or not at all (the old file
// stays when anything fails); false with the system's error code on failure.
[[nodiscard]] bool WritePageFile(const CString& path, const CString& text, DWORD* pError);
// Tells the user, in a message box over hOwner, which page file could not be
// written and why.
void ReportPageWriteFailure(HWND hOwner, const CString& path, DWORD error);

#endif // VA_TAB_LOCALPAGEHOST_H
