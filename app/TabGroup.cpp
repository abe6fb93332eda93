#include "app/TabGroup.h"

#include <algorithm>

namespace {

void ReplaceNumber(CString& text, LPCTSTR token, int value)
{
    if (text.Find(token) < 0)
        return;
    CString number;
    number.Format("%d", value);
    text.Replace(token, number);
}

} // namespace

int CTabGroup::IndexOf(const CTabItem* tab) const
{
    auto it = std::find(m_tabs.begin(), m_tabs.end(), tab);
    return it == m_tabs.end() ? -1 : static_cast<int>(it - m_tabs.begin());
}

CString CTabGroup::ExpandCaption(int tabCount) const
{
    CString caption = m_captionTemplate;
    ReplaceNumber(caption, "%i", m_number);
    ReplaceNumber(caption, "%c", tabCount);
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
