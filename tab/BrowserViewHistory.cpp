// CBrowserView: copying the control's back and forward history out of and
// into its travel log.
#include "tab/BrowserView.h"

#include <windows.h>
#include <servprov.h>
#include <tlogstg.h>

#include <cstring>

#include "framework/ole/OleUtil.h"
#include "shared/AppSettings.h"
#include "tab/TabItem.h"

namespace {

// The travel log of the control behind the application dispatch, or null.
ITravelLogStg* GetTravelLog(IDispatch* application)
{
    if (application == nullptr)
        return nullptr;
    ITravelLogStg* log = nullptr;
    IServiceProvider* provider = nullptr;
    if (SUCCEEDED(application->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&provider)))) {
        if (FAILED(provider->QueryService(__uuidof(ITravelLogStg), __uuidof(ITravelLogStg),
                                          reinterpret_cast<void**>(&log))))
            log = nullptr;
        provider->Release();
    }
    return log;
}

// Pages whose URL names a download are not kept in a saved history.
bool IsDownloadLike(const CString& url)
{
    static const char* const kExtensions[] = {"zip", "exe", "pdf", "lzh", "js",  "vbs", "css", "cab",
                                              "xml", "rar", "osd", "tar", "xls", "doc", "ppt", "mdb"};
    CString path = url;
    int query = path.Find('?');
    if (query >= 0)
        path = path.Left(query);
    int dot = path.ReverseFind('.');
    if (dot < 0)
        return false;
    CString extension = path.Mid(dot + 1);
    extension.MakeLower();
    for (const char* known : kExtensions)
        if (extension == known)
            return true;
    return false;
}

CString TakeCoString(LPWSTR text)
{
    CString result = VaAnsiFromWide(text);
    if (text != nullptr)
        ::CoTaskMemFree(text);
    result.Trim();
    return result;
}

void SaveEntries(IDispatch* application, DWORD direction, SavedHistory& list)
{
    ITravelLogStg* log = GetTravelLog(application);
    if (log == nullptr)
        return;
    IEnumTravelLogEntry* entries = nullptr;
    if (SUCCEEDED(log->EnumEntries(static_cast<TLENUMF>(direction), &entries)) && entries != nullptr) {
        const int limit = AppSettings().iBackHistoryMax;
        int stored = 0;
        ITravelLogEntry* entry = nullptr;
        ULONG fetched = 0;
        while (stored < limit && entries->Next(1, &entry, &fetched) == S_OK && entry != nullptr) {
            LPWSTR url = nullptr;
            LPWSTR title = nullptr;
            if (FAILED(entry->GetURL(&url)))
                url = nullptr;
            if (FAILED(entry->GetTitle(&title)))
                title = nullptr;
            CString u = TakeCoString(url);
            CString t = TakeCoString(title);
            entry->Release();
            entry = nullptr;
            if (u.IsEmpty() || t.IsEmpty() || IsDownloadLike(u))
                continue;
            list.Add(u, t);
            ++stored;
        }
        entries->Release();
    }
    log->Release();
}

// Replays a saved list next to the current entry: back entries each before
// the one made last, nearest first, so the log reads oldest to newest;
// forward entries each after the one made last. Returns the number of
// entries made.
int RestoreEntries(IDispatch* application, bool back, SavedHistory& list)
{
    int created = 0;
    ITravelLogStg* log = GetTravelLog(application);
    if (log == nullptr)
        return 0;
    ITravelLogEntry* anchor = nullptr;
    if (SUCCEEDED(log->GetRelativeEntry(0, &anchor)) && anchor != nullptr) {
        for (INT_PTR i = 0; i < list.GetCount(); ++i) {
            CBstr url = CBstr::FromAnsi(list.m_urls[i]);
            CBstr title = CBstr::FromAnsi(list.m_titles[i]);
            ITravelLogEntry* entry = nullptr;
            HRESULT hr = log->CreateEntry(url, title, anchor, back ? TRUE : FALSE, &entry);
            if (FAILED(hr) || entry == nullptr)
                break;
            anchor->Release();
            anchor = entry;
            ++created;
        }
        anchor->Release();
    }
    log->Release();
    list.RemoveAll();
    return created;
}

} // namespace

void CBrowserView::GetHistoryTitles(bool back, int maxCount, CStringArray& titles)
{
    titles.RemoveAll();
    ITravelLogStg* log = GetTravelLog(m_pApplication);
    if (log == nullptr)
        return;
    IEnumTravelLogEntry* entries = nullptr;
    const TLENUMF direction = back ? TLEF_RELATIVE_BACK : TLEF_RELATIVE_FORE;
    if (SUCCEEDED(log->EnumEntries(direction, &entries)) && entries != nullptr) {
        ITravelLogEntry* entry = nullptr;
        ULONG fetched = 0;
        while (titles.GetSize() < maxCount && entries->Next(1, &entry, &fetched) == S_OK && entry != nullptr) {
            LPWSTR title = nullptr;
            if (FAILED(entry->GetTitle(&title)))
                title = nullptr;
            titles.Add(TakeCoString(title));
            entry->Release();
            entry = nullptr;
        }
        entries->Release();
    }
    log->Release();
}

void CBrowserView::SaveBackHistory(SavedHistory& list)
{
    if ((m_state & kViewCanGoBack) && m_pBrowser != nullptr)
        SaveEntries(m_pApplication, TLEF_RELATIVE_BACK, list);
}

void CBrowserView::SaveForwardHistory(SavedHistory& list)
{
    if ((m_state & kViewCanGoForward) && m_pBrowser != nullptr)
        SaveEntries(m_pApplication, TLEF_RELATIVE_FORE, list);
}

void CBrowserView::RestoreBackHistory()
{
    // The control need not report the entries made here as a change of its
    // back state; the view marks them itself, so that the next save of the
    // tab set keeps them.
    if (m_pTabItem != nullptr && m_pTabItem->m_pBack != nullptr &&
        RestoreEntries(m_pApplication, true, *m_pTabItem->m_pBack) > 0)
        m_state |= kViewCanGoBack;
}

void CBrowserView::RestoreForwardHistory()
{
    if (m_pTabItem != nullptr && m_pTabItem->m_pForward != nullptr &&
        RestoreEntries(m_pApplication, false, *m_pTabItem->m_pForward) > 0)
        m_state |= kViewCanGoForward;
}
