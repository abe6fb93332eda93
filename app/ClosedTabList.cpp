#include "app/ClosedTabList.h"

#include <cstring>

int CClosedTabList::Add(const CString& title, const CString& url, const SavedHistory* back,
                        const SavedHistory* forward)
{
    if (title.IsEmpty() || url.IsEmpty())
        return -1;
    if (!m_entries.empty() && strcmp(m_entries.front().url, url) == 0)
        return -1;
    ClosedTabEntry entry;
    if (m_entries.size() >= static_cast<size_t>(kMaxEntries)) {
        entry.number = m_entries.back().number;
        m_entries.pop_back();
    } else {
        entry.number = static_cast<int>(m_entries.size());
    }
    entry.title = title;
    entry.url = url;
    if (back != nullptr)
        entry.back.CopyFrom(*back);
    if (forward != nullptr)
        entry.forward.CopyFrom(*forward);
    m_entries.insert(m_entries.begin(), entry);
    return m_entries.front().number;
}

const ClosedTabEntry* CClosedTabList::Find(int number) const
{
    for (const ClosedTabEntry& entry : m_entries) {
        if (entry.number == number)
            return &entry;
    }
    return nullptr;
}

int CClosedTabList::GetIdAt(int n) const
{
    if (n < 0 || static_cast<size_t>(n) >= m_entries.size())
        return -1;
    return m_entries[static_cast<size_t>(n)].number;
}
