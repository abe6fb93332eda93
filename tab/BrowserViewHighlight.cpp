// CBrowserView: marking a word in the page and its frames, removing the
// marks and bringing one into view.
#include "tab/BrowserView.h"

#include <exdisp.h>
#include <mshtml.h>

#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "tab/PageFrames.h"
#include "tab/PageText.h"
#include "tab/TabHost.h"

namespace {

// IE's FINDTEXT_MATCHDIAC | FINDTEXT_MATCHKASHIDA | FINDTEXT_MATCHALEFHAMZA.
const LONG kFindFlags = static_cast<LONG>(0xE0000000);
const LONG kFindWholeWord = 2;
const DWORD kBudgetMs = 14999;
const int kSnippetLookAhead = 25;
const int kSnippetWidth = 30;
const int kSnippetFallbackBytes = 50;
const int kMessageBudgetQuestion = 41;
const int kEtcIdPrefix = 42;
const char kNbspMark[] = "&nbsp;";

// The text with & " < > written as entities, in that order.
CString EscapeMarkText(CString text)
{
    text.Replace("&", "&amp;");
    text.Replace("\"", "&quot;");
    text.Replace("<", "&lt;");
    text.Replace(">", "&gt;");
    return text;
}

CString ElementId(IHTMLElement* pElement)
{
    CBstr id;
    if (pElement == nullptr || FAILED(pElement->get_id(&id)))
        return CString();
    return id.ToAnsi();
}

HRESULT MoveEnd(IHTMLTxtRange* pRange, LONG count, LONG* pMoved)
{
    CBstr unit(L"character");
    *pMoved = 0;
    return pRange->moveEnd(unit, count, pMoved);
}

} // namespace

int CBrowserView::SetHighlightWords(BOOL bRemoveOnly, const CString& word, int mode,
                                    const CString& style, const CString& idPrefix)
{
    m_highlightSnippets.RemoveAll();
    CString words = bRemoveOnly ? CString() : word;
    if (!bRemoveOnly && words.IsEmpty())
        return 0;
    if (m_pBrowser == nullptr)
        return -1;
    m_pBrowser->Stop();
    m_highlightMode = mode;
    m_highlightWord = words;
    m_highlightStyle = style;
    m_highlightIdPrefix = idPrefix;
    m_bHighlightStopped = false;
    CComPtr<IDispatch> disp;
    disp.Attach(GetHtmlDocument());
    CComPtr<IHTMLDocument2> doc;
    doc.Attach(AsHtmlDocument(disp));
    Host().SaveTabSet(AppFolders().ProgramFile("Exception.dat"));
    m_highlightStart = m_pfnHighlightTicks();
    if (doc == nullptr)
        return 0;
    const int result = HighlightFrames(doc, bRemoveOnly, 0);
    // A stop at the time budget ends the whole request.
    return m_bHighlightStopped ? -1 : result;
}

int CBrowserView::HighlightFrames(IHTMLDocument2* pDoc, BOOL bRemoveOnly, int depth)
{
    if (pDoc == nullptr || depth > kMaxFrameDepth)
        return 0;
    int result = HighlightDocument(pDoc, bRemoveOnly, TRUE);
    if (result < 1 && !bRemoveOnly && !m_bHighlightStopped)
        result = HighlightDocument(pDoc, FALSE, FALSE);
    ForEachFrame(pDoc, [&](IWebBrowser2*, IHTMLDocument2* frameDoc) {
        if (m_bHighlightStopped)
            return true;
        result += HighlightFrames(frameDoc, bRemoveOnly, depth + 1);
        return false;
    });
    return result;
}

// Asks whether to go on once the request has run for the budget; a Yes
// starts the budget again.
bool CBrowserView::HighlightBudgetAllows()
{
    const DWORD now = m_pfnHighlightTicks();
    if (now - m_highlightStart <= kBudgetMs)
        return true;
    const int answer = ::MessageBoxA(m_hWnd, AppStrings().GetMessageText(kMessageBudgetQuestion),
                                     AppClassName(), MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES)
        return false;
    m_highlightStart = m_pfnHighlightTicks();
    return true;
}

// The snippet of the match at the start of pRange, from the range's text
// grown by up to 25 characters; the range's end is put back afterwards.
void CBrowserView::AddHighlightSnippet(IHTMLTxtRange* pRange)
{
    LONG moved = 0;
    MoveEnd(pRange, kSnippetLookAhead, &moved);
    CBstr grown;
    if (SUCCEEDED(pRange->get_text(&grown)) && grown.Length() != 0)
    {
        CString snippet;
        MakeSnippet(m_highlightWord, grown.ToAnsi(), kSnippetWidth, snippet);
        snippet.Trim();
        snippet.Remove('\r');
        snippet.Remove('\n');
        snippet.Remove('\t');
        snippet.Remove(' ');
        if (snippet.IsEmpty())
            TruncateToBytes(m_highlightWord, kSnippetFallbackBytes, snippet, false);
        m_highlightSnippets.Add(snippet);
    }
    // Back by exactly what was moved, so the mark covers the match alone.
    LONG back = 0;
    if (moved != 0)
        MoveEnd(pRange, -moved, &back);
}

int CBrowserView::HighlightDocument(IHTMLDocument2* pDoc, BOOL bRemoveOnly, BOOL bWholeWord)
{
    ClearHighlight(pDoc, AppStrings().GetEtcText(kEtcIdPrefix));
    CComPtr<IHTMLElement> body;
    CComPtr<IHTMLBodyElement> bodyElement;
    CComPtr<IHTMLTxtRange> range;
    if (pDoc == nullptr || FAILED(pDoc->get_body(&body)) || body == nullptr
        || FAILED(body.QueryInterface(IID_IHTMLBodyElement, bodyElement)) || bodyElement == nullptr
        || FAILED(bodyElement->createTextRange(&range)) || range == nullptr || bRemoveOnly)
        return 0;
    CBstr search = CBstr::FromAnsi(m_highlightWord);
    const LONG flags = kFindFlags | (bWholeWord ? kFindWholeWord : 0);
    // A lone space is marked by a no-break space after it, never replaced.
    const bool bReplaceMatch = bWholeWord && m_highlightWord != " ";
    int count = 0;
    for (;;)
    {
        VARIANT_BOOL found = VARIANT_FALSE;
        if (FAILED(range->findText(search, 1, flags, &found)) || found == VARIANT_FALSE)
            return count;
        if (!HighlightBudgetAllows())
        {
            m_bHighlightStopped = true;
            return -1;
        }
        CComPtr<IHTMLElement> parent;
        if (SUCCEEDED(range->parentElement(&parent)) && TagName(parent) == "TEXTAREA")
        {
            range->collapse(VARIANT_FALSE);
            continue;
        }
        ++count;
        CBstr matched;
        range->get_text(&matched);
        CString mark;
        mark.Format("<span id='%s%04d' style='%s'>", static_cast<LPCSTR>(m_highlightIdPrefix),
                    static_cast<int>(m_highlightSnippets.GetSize()),
                    static_cast<LPCSTR>(m_highlightStyle));
        mark += bReplaceMatch ? EscapeMarkText(matched.ToAnsi()) : CString(kNbspMark);
        mark += "</span>";
        AddHighlightSnippet(range);
        if (count % 10 == 0)
            range->select();
        CBstr markHtml = CBstr::FromAnsi(mark);
        if (bReplaceMatch)
        {
            range->pasteHTML(markHtml);
            range->collapse(VARIANT_FALSE);
        }
        else
        {
            range->collapse(VARIANT_FALSE);
            range->pasteHTML(markHtml);
        }
    }
}

void CBrowserView::ClearHighlight(IHTMLDocument2* pDoc, const CString& idPrefix)
{
    if (idPrefix.IsEmpty())
        return;
    // Collected first: rewriting an element changes the collection.
    std::vector<CComPtr<IHTMLElement>> marks;
    ForEachElement(pDoc, [&](IHTMLElement* element) {
        if (ElementId(element).Find(idPrefix) == 0 && TagName(element) == "SPAN")
            marks.emplace_back(element);
        return true;
    });
    for (const CComPtr<IHTMLElement>& mark : marks)
    {
        CBstr inner;
        if (FAILED(mark->get_innerHTML(&inner)))
            continue;
        if (inner.ToAnsi() == kNbspMark)
        {
            CBstr empty(L"");
            mark->put_outerHTML(empty);
        }
        else
            mark->put_outerHTML(inner);
    }
}

int CBrowserView::SelectHighlight(IHTMLDocument2* pDoc, int number, int topOffset, int leftOffset)
{
    CString id;
    id.Format("%s%04d", static_cast<LPCSTR>(AppStrings().GetEtcText(kEtcIdPrefix)), number);
    CComPtr<IHTMLElement> mark;
    ForEachElement(pDoc, [&](IHTMLElement* element) {
        if (ElementId(element) == id && TagName(element) == "SPAN")
        {
            mark = CComPtr<IHTMLElement>(element);
            return false;
        }
        return true;
    });
    CComPtr<IHTMLElement> body;
    CComPtr<IHTMLBodyElement> bodyElement;
    CComPtr<IHTMLTxtRange> range;
    if (mark == nullptr || FAILED(pDoc->get_body(&body)) || body == nullptr
        || FAILED(body.QueryInterface(IID_IHTMLBodyElement, bodyElement)) || bodyElement == nullptr
        || FAILED(bodyElement->createTextRange(&range)) || range == nullptr)
        return 0;
    range->moveToElementText(mark);
    range->select();
    CComPtr<IHTMLTextRangeMetrics> metrics;
    range.QueryInterface(IID_IHTMLTextRangeMetrics, metrics);
    LONG top = 0, left = 0, width = 0, height = 0;
    if (metrics != nullptr)
    {
        metrics->get_offsetTop(&top);
        metrics->get_offsetLeft(&left);
        metrics->get_boundingWidth(&width);
        metrics->get_boundingHeight(&height);
    }
    CComPtr<IHTMLDocument3> doc3;
    CComPtr<IHTMLElement> docElement;
    LONG pageHeight = 0;
    if (SUCCEEDED(CComPtr<IHTMLDocument2>(pDoc).QueryInterface(IID_IHTMLDocument3, doc3))
        && doc3 != nullptr && SUCCEEDED(doc3->get_documentElement(&docElement))
        && docElement != nullptr)
        docElement->get_offsetHeight(&pageHeight);
    const LONG scroll = top - pageHeight / 2;
    CComPtr<IHTMLWindow2> window;
    if (scroll != pageHeight / 4 && SUCCEEDED(pDoc->get_parentWindow(&window)) && window != nullptr)
        window->scrollBy(0, scroll);
    RECT match = { left + leftOffset, top + topOffset, left + leftOffset + width,
                   top + topOffset + height };
    ::MapWindowPoints(m_hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&match), 2);
    MovePopupOffMatch(Host().GetTextSearchPopupWindow(), match);
    return 1;
}

// Moves the find-in-pages popup beside (or else above or below) the match
// it covers; its size stays as it is.
void CBrowserView::MovePopupOffMatch(HWND hPopup, const RECT& match) const
{
    RECT popup, overlap;
    if (hPopup == nullptr || !::IsWindow(hPopup) || !::GetWindowRect(hPopup, &popup)
        || !::IntersectRect(&overlap, &popup, &match))
        return;
    const int width = popup.right - popup.left;
    const int height = popup.bottom - popup.top;
    RECT desk;
    ::GetWindowRect(::GetDesktopWindow(), &desk);
    RECT moved = { match.right + 16, popup.top, match.right + 16 + width, popup.top + height };
    if (moved.right > desk.right + 100)
        moved = { popup.left, match.bottom + 2, popup.right, match.bottom + 2 + height };
    if (moved.bottom > desk.bottom - 30 && moved.top + height > desk.bottom + 30)
        moved = { popup.left, match.top - 2 - height, popup.right, match.top - 2 };
    Host().RememberCursorPos();
    ::MoveWindow(hPopup, moved.left, moved.top, width, height, TRUE);
}

int ScrollToHighlight(CBrowserView* pView, IHTMLDocument2* pDoc, int number, int topOffset,
                      int leftOffset)
{
    if (pView == nullptr || pDoc == nullptr)
        return 0;
    if (pView->SelectHighlight(pDoc, number, topOffset, leftOffset))
        return 1;
    return ForEachFrame(pDoc, [&](IWebBrowser2* frame, IHTMLDocument2* frameDoc) {
        LONG top = 0, left = 0;
        frame->get_Top(&top);
        frame->get_Left(&left);
        return ScrollToHighlight(pView, frameDoc, number, top, left) != 0;
    }) ? 1 : 0;
}
