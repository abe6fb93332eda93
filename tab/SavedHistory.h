// A back or forward list copied out of a tab's history, as the tab record,
// the closed-tab list and the tab-set files keep it. Platform-free.
//
// Classes in this file:
//   SavedHistory   parallel lists of addresses and titles
#ifndef VA_TAB_SAVEDHISTORY_H
#define VA_TAB_SAVEDHISTORY_H

#include "framework/core/Collections.h"

//--- SavedHistory
// Entry i is m_urls[i] with m_titles[i]; index 0 is nearest the current page.
class SavedHistory
{
public:
    virtual ~SavedHistory() = default;

    INT_PTR GetCount() const { return m_urls.GetSize(); }
    bool IsEmpty() const { return m_urls.IsEmpty() != FALSE; }
    void Add(const CString& url, const CString& title)
    {
        m_urls.Add(url);
        m_titles.Add(title);
    }
    void RemoveAll()
    {
        m_urls.RemoveAll();
        m_titles.RemoveAll();
    }
    void CopyFrom(const SavedHistory& other)
    {
        m_urls = other.m_urls;
        m_titles = other.m_titles;
    }
    // Both holders replaced by new empty lists.
    static void Reset(SavedHistory*& back, SavedHistory*& forward);

    CStringArray m_urls;
    CStringArray m_titles;
};

#endif // VA_TAB_SAVEDHISTORY_H
