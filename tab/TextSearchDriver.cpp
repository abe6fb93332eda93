#include "tab/TextSearchDriver.h"

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <cstdlib>

#include "tab/DlgStatic.h"
#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/TextFormat.h"
#include "shared/UrlText.h"
#include "tab/BrowserView.h"
#include "tab/HtmlPopupDlg.h"
#include "tab/PageFrames.h"
#include "tab/PageScript.h"
#include "tab/TabHost.h"
#include "tab/TabItem.h"

namespace {

const int kMessageSearchFailed = 1;
const int kMessageSearching = 3;
const int kMessageClearing = 4;
const int kMessageCleared = 35;
const int kMessageNotFound = 36;
const int kMessageFound = 37;
const int kEtcIdPrefix = 42;
const int kEtcStyle = 43;

// The pieces of text between separators, the text after the last one not
// taken (the callers append a separator).
void SplitTaken(const CString& text, char separator, CStringArray& pieces)
{
    pieces.RemoveAll();
    int start = 0;
    for (int at = text.Find(separator); at >= 0; at = text.Find(separator, start))
    {
        pieces.Add(text.Mid(start, at - start));
        start = at + 1;
    }
}

CString Field(const CMapStringToString& fields, LPCSTR name)
{
    CString value;
    fields.Lookup(name, value);
    return value;
}

void CallScript(IHTMLDocument2* pPage, LPCSTR name, const CString& arg)
{
    CStringArray args;
    args.Add(arg);
    CallPageScript(pPage, name, args);
}

// The view of the tab whose frame is hFrame, or null once that tab is gone:
// a page's script function may run a message loop (an alert, a message box
// or menu of the script object) in which the tab closes.
CBrowserView* ViewOfTab(ITabHost& host, HWND hFrame)
{
    CTabItem* pTab = ::IsWindow(hFrame) ? host.FindTabById(hFrame) : nullptr;
    return pTab != nullptr && pTab->m_pView != nullptr && ::IsWindow(pTab->m_pView->GetSafeHwnd())
               ? pTab->m_pView
               : nullptr;
}

} // namespace

BOOL ParsePostData(const VARIANT* pPostData, CMapStringToString& fields)
{
    const VARIANT* p = pPostData;
    while (p != nullptr && p->vt == (VT_BYREF | VT_VARIANT))
        p = p->pvarVal;
    if (p == nullptr || (p->vt & VT_ARRAY) == 0)
        return FALSE;
    SAFEARRAY* array = (p->vt & VT_BYREF) ? *p->pparray : p->parray;
    LONG lower = 0, upper = -1;
    if (array == nullptr || ::SafeArrayGetDim(array) != 1
        || FAILED(::SafeArrayGetLBound(array, 1, &lower))
        || FAILED(::SafeArrayGetUBound(array, 1, &upper)) || upper < lower)
        return FALSE;
    const int n = static_cast<int>(upper - lower + 1);
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(array, &data)))
        return FALSE;
    CString text(static_cast<const char*>(data), n);
    ::SafeArrayUnaccessData(array);
    // Bytes after a NUL are not part of the text.
    text = CString(static_cast<LPCSTR>(text));
    if (text.Find('&') < 0)
        text += "&";
    text += "&";
    CStringArray pieces;
    SplitTaken(text, '&', pieces);
    fields.RemoveAll();
    for (INT_PTR i = 0; i < pieces.GetSize(); ++i)
    {
        CStringArray parts;
        SplitTaken(pieces[i] + "=", '=', parts);
        if (parts.GetSize() != 2)
            continue;
        CString key = parts[0];
        key.MakeLower();
        fields.SetAt(key, UrlDecode(parts[1], true));
    }
    return TRUE;
}

void ForEachScriptDocument(IHTMLDocument2* pPage, bool bPageWithoutFrames,
                           const std::function<bool(IHTMLDocument2*)>& fn)
{
    CComPtr<IHTMLFramesCollection2> frames;
    LONG count = 0;
    if (pPage == nullptr || FAILED(pPage->get_frames(&frames)) || frames == nullptr
        || FAILED(frames->get_length(&count)))
        return;
    if (count == 0)
    {
        if (bPageWithoutFrames)
            fn(pPage);
        return;
    }
    for (LONG i = 1; i < count; ++i)
    {
        CVariant index, item;
        index.SetLong(i);
        CComPtr<IHTMLWindow2> window;
        CComPtr<IHTMLDocument2> doc;
        if (FAILED(frames->item(&index, &item)) || item.vt != VT_DISPATCH || item.pdispVal == nullptr
            || FAILED(item.pdispVal->QueryInterface(IID_IHTMLWindow2, reinterpret_cast<void**>(&window)))
            || FAILED(window->get_document(&doc)) || doc == nullptr)
            continue;
        if (!fn(doc))
            return;
    }
}

bool BeginTextSearch(ITabHost& host, const VARIANT* pPostData, VARIANT_BOOL* pCancel,
                     CMapStringToString& fields)
{
    CBrowserView* pView = host.GetActiveTabView();
    if (pView == nullptr || !::IsWindow(pView->GetSafeHwnd()) || !ParsePostData(pPostData, fields))
    {
        *pCancel = VARIANT_FALSE;
        return false;
    }
    *pCancel = VARIANT_TRUE;
    return true;
}

void CDlgHtmlPopup::RunTextSearch(const VARIANT* pPostData, VARIANT_BOOL* pCancel)
{
    CMapStringToString fields;
    ITabHost& host = Host();
    if (!BeginTextSearch(host, pPostData, pCancel, fields))
        return;
    CComPtr<IHTMLDocument2> page;
    page.Attach(PageDocument());
    ForEachScriptDocument(page, true, [&](IHTMLDocument2* doc) {
        // A step may close tabs: the active view is looked up again.
        CBrowserView* pActive = host.GetActiveTabView();
        if (pActive != nullptr && ::IsWindow(pActive->GetSafeHwnd()))
            SearchInDocument(doc, pActive, fields);
        return true;
    });
}

void CDlgHtmlPopup::SearchInDocument(IHTMLDocument2* pPage, CBrowserView* pView,
                                     const CMapStringToString& fields)
{
    if (RunTextSearchStep(Host(), pPage, pView, fields, m_hWnd) == TextSearchStep::kDone)
        FocusBrowser();
}

TextSearchStep RunTextSearchStep(ITabHost& host, IHTMLDocument2* pPage, CBrowserView* pView,
                                 const CMapStringToString& fields, HWND hOwner)
{
    const CString op = Field(fields, "op");
    const CString text = Field(fields, "text");
    if (op == "2")
    {
        HWND hTab = reinterpret_cast<HWND>(static_cast<INT_PTR>(atoi(Field(fields, "hwnd"))));
        // Only a tab of the program: a page names no other window.
        if (!::IsWindow(hTab) || host.FindTabById(hTab) == nullptr)
            return TextSearchStep::kStopped;
        if (::GetParent(pView->GetSafeHwnd()) != hTab)
        {
            ::BringWindowToTop(hTab);
            pView = host.GetActiveTabView();
            if (pView == nullptr || !::IsWindow(pView->GetSafeHwnd()))
                return TextSearchStep::kStopped;
        }
        if (pView->GetTabItem() == nullptr || pView->GetTabItem()->m_url != Field(fields, "url"))
            return TextSearchStep::kStopped;
        IWebBrowser2* pBrowser = pView->GetBrowser();
        if (pBrowser == nullptr)
            return TextSearchStep::kStopped;
        pBrowser->Stop();
        CComPtr<IDispatch> disp;
        disp.Attach(pView->GetHtmlDocument());
        CComPtr<IHTMLDocument2> doc;
        doc.Attach(AsHtmlDocument(disp));
        if (doc != nullptr)
            ScrollToHighlight(pView, doc, atoi(Field(fields, "textres")));
        CallScript(pPage, "SetNowPos", Field(fields, "textres"));
        return TextSearchStep::kDone;
    }
    if (op != "1" && op != "3")
        return TextSearchStep::kDone;
    const HWND hFrame = ::GetParent(pView->GetSafeHwnd());
    int hits = 0;
    {
        // The busy dialog shows while the page is searched.
        CDlgStatic busy(nullptr);
        busy.m_text = AppStrings().GetMessageText(op == "1" ? kMessageSearching : kMessageClearing);
        busy.Create();
        hits = pView->SetHighlightWords(op == "3", text, 0, AppStrings().GetEtcText(kEtcStyle),
                                        AppStrings().GetEtcText(kEtcIdPrefix));
    }
    if (hits < 0)
    {
        ::MessageBoxA(hOwner, AppStrings().GetMessageText(kMessageSearchFailed),
                      AppClassName(), MB_OK);
        return TextSearchStep::kFailed;
    }
    CString result;
    if (hits == 0)
        result = AppStrings().GetMessageText(op == "3" ? kMessageCleared : kMessageNotFound);
    else
    {
        // Line 37 is filled, never used as a format.
        result = AppStrings().GetMessageText(kMessageFound);
        CString number;
        number.Format("%d", hits);
        TextFormat::ReplaceFirst(result, "%d", number);
        CString all;
        const CStringArray& snippets = pView->GetHighlightSnippets();
        for (INT_PTR i = 0; i < snippets.GetSize(); ++i)
            all += snippets[i] + "\n";
        CallScript(pPage, "SetTextAreaAll", all);
        if ((pView = ViewOfTab(host, hFrame)) == nullptr)
            return TextSearchStep::kStopped;
        CComPtr<IDispatch> disp;
        disp.Attach(pView->GetHtmlDocument());
        CComPtr<IHTMLDocument2> doc;
        doc.Attach(AsHtmlDocument(disp));
        if (doc != nullptr)
            ScrollToHighlight(pView, doc, 0);
        CTabItem* pTab = pView->GetTabItem();
        const CString url = pTab != nullptr ? pTab->m_url : CString();
        CallScript(pPage, "setURL", url);
        if (ViewOfTab(host, hFrame) == nullptr)
            return TextSearchStep::kStopped;
        CString handle;
        handle.Format("%d", static_cast<int>(reinterpret_cast<INT_PTR>(hFrame)));
        CallScript(pPage, "sethWnd", handle);
    }
    if (op == "1")
        CallScript(pPage, "SetFindText", text);
    CallScript(pPage, "SetFindResult", result);
    return TextSearchStep::kDone;
}
