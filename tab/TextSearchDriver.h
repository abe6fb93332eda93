// The find-in-pages driver: a local page posts its form to its own address,
// the window showing it decodes the post, runs the operation on the active
// tab and calls the page's script functions with the results.
#ifndef VA_TAB_TEXTSEARCHDRIVER_H
#define VA_TAB_TEXTSEARCHDRIVER_H

#include <functional>

#include "framework/core/Collections.h"
#include "framework/ole/OleCompat.h"

class CBrowserView;
class ITabHost;
struct IHTMLDocument2;

// Decodes a form post (the BeforeNavigate2 post-data variant) into fields
// with lower-case names; FALSE (map untouched) without post data.
BOOL ParsePostData(const VARIANT* pPostData, CMapStringToString& fields);

// A run for a post begins: the fields decoded and Cancel set (the page
// stays). false, with Cancel cleared so that the post goes on as a normal
// navigation, without an active view (of the host's tabs) or post data.
bool BeginTextSearch(ITabHost& host, const VARIANT* pPostData, VARIANT_BOOL* pCancel, CMapStringToString& fields);

// The documents a page's script functions are called in: its frames from
// the second on (frames without a document skipped), or the page itself
// when it has no frames and bPageWithoutFrames is set. Stops when fn
// returns false.
void ForEachScriptDocument(IHTMLDocument2* pPage, bool bPageWithoutFrames,
                           const std::function<bool(IHTMLDocument2*)>& fn);

enum class TextSearchStep
{
    kDone,      // the operation ran (or there was none to run)
    kStopped,   // "go to a hit" found no such tab, page or control
    kFailed,    // the search failed (its message was shown)
};
// One operation ("op" 1 search, 3 clear, 2 go to a hit) for one page
// document, on the view, one of the host's tabs; hOwner owns the failure's
// message box.
TextSearchStep RunTextSearchStep(ITabHost& host, IHTMLDocument2* pPage, CBrowserView* pView,
                                 const CMapStringToString& fields, HWND hOwner);

#endif // VA_TAB_TEXTSEARCHDRIVER_H
