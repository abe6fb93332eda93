// The recently closed tabs, numbered for their menu items (32300 + number)
// and kept with their history for reopening. Platform-free.
//
// Classes in this file:
//   ClosedTabEntry   one closed tab
//   CClosedTabList   at most 15 of them, newest first
#ifndef VA_APP_CLOSEDTABLIST_H
#define VA_APP_CLOSEDTABLIST_H

#include <vector>

#include "framework/core/CString.h"
#include "tab/SavedHistory.h"

//--- ClosedTabEntry
struct ClosedTabEntry
{
    int number = 0;  // its menu item is 32300 + number
    CString title;
    CString url;
    SavedHistory back;
    SavedHistory forward;
};

//--- CClosedTabList
class CClosedTabList
{
public:
    static const int kMaxEntries = 15;

    // Adds a tab and returns its number; -1 when the title or URL is empty
    // or the newest entry has the same URL. A full list drops its oldest
    // entry and gives the new one that entry's number.
    int Add(const CString& title, const CString& url, const SavedHistory* back,
            const SavedHistory* forward);
    // The entry with the number, or null.
    const ClosedTabEntry* Find(int number) const;
    // The number of the n-th newest entry (0: the newest), or -1.
    int GetIdAt(int n) const;
    void Clear() { m_entries.clear(); }

    // Newest first.
    size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const ClosedTabEntry& operator[](size_t i) const { return m_entries[i]; }

private:
    std::vector<ClosedTabEntry> m_entries;  // newest first
};

#endif // VA_APP_CLOSEDTABLIST_H
