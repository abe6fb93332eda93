// What the windows that host a browser control on the program's own local
// pages (the HTML popup and the HTML favorites pane) do alike: their keys,
// the middle click on a link, links and new windows that leave them for the
// tabs, and focusing their page.
#ifndef VA_TAB_LOCALPAGEHOST_H
#define VA_TAB_LOCALPAGEHOST_H

#include "framework/core/CString.h"
#include "framework/ole/OleCompat.h"

class CWnd;
class VaEventArgs;
struct IHTMLDocument2;

// The hosted control's document as an HTML document (a new reference), or
// null.
IHTMLDocument2* HostedDocument(IDispatch* pBrowser);

// A key down in the host: its parent frames see it first, then the
// control's accelerators; in the page an edit field keeps the typing keys,
// a held key (auto-repeat) is swallowed and any other runs its key binding.
// TRUE when the key is consumed.
BOOL TranslateHostedKey(CWnd* pHost, IDispatch* pBrowser, UINT nControlId, MSG* pMsg);

// A middle press over a link (the status text names one): TRUE, and the
// message becomes a right press.
BOOL ArmMiddleClick(const CString& statusText, MSG* pMsg);

enum class MiddleClick
{
    kNoLink,   // not over a link: an ordinary middle click
    kLink,     // over a link that was not armed: swallowed
    kOpened,   // the armed link was opened (and disarmed)
};
// A middle release: the link of the page's active element opens in the
// tabs when the press armed it.
MiddleClick OpenMiddleClickedLink(IDispatch* pBrowser, bool& bArmed, WORD newTabReason);

// A link leaving the host: a new tab of the active group with
// "bOpenNewTab_FAV", else the active tab, else a new tab (reason 0).
void OpenLinkInTabs(const CString& url, WORD newTabReason);

// NewWindow2 (ppDisp, Cancel): the new window becomes a tab of the active
// group. false when none was made: over the tab limit or when the tab could
// not be made, Cancel is set, so no window opens outside the program.
bool OpenNewWindowAsTab(VaEventArgs& args);

// Focuses the page's window (the document's parent window); TRUE when done.
BOOL FocusHostedPage(IDispatch* pBrowser);

#endif // VA_TAB_LOCALPAGEHOST_H
