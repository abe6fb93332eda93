#include "tab/TabGroup.h"

#include <algorithm>

#include "framework/core/Cp932.h"

int CTabGroup::IndexOf(const CTabItem* tab) const
{
    auto it = std::find(m_tabs.begin(), m_tabs.end(), tab);
    return it == m_tabs.end() ? -1 : static_cast<int>(it - m_tabs.begin());
}

CString CTabGroup::ExpandCaption(int tabCount) const
{
    CString caption;
    const int length = m_captionTemplate.GetLength();
    for (int i = 0; i < length; ++i) {
        char c = m_captionTemplate[i];
        char next = i + 1 < length ? m_captionTemplate[i + 1] : '\0';
        if (c == '%' && (next == 'i' || next == 'c')) {
            CString number;
            number.Format("%d", next == 'i' ? m_number : tabCount);
            caption += number;
            ++i;
        } else if (c == '%' && next == '%') {
            caption += '%';
            ++i;
        } else {
            caption += c;
            // A double-byte character's trail byte is never a token start.
            if (Cp932IsPair(c, next)) {
                caption += next;
                ++i;
            }
        }
    }
    return caption;
}

void CTabGroup::PushActiveTab(HWND tabId)
{
    if (m_hActiveTab == tabId)
        return;
    m_hEarlierTab = m_hPrevTab;
    m_hPrevTab = m_hActiveTab;
    m_hActiveTab = tabId;
}
