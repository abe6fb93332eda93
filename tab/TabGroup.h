// A tab group: its caption, options and the tabs it holds in bar order.
//
// Classes in this file:
//   CTabGroup   one group of the group tab bar
#ifndef VA_TAB_TABGROUP_H
#define VA_TAB_TABGROUP_H

#include <windows.h>

#include <vector>

#include "framework/core/CString.h"

class CTabItem;

//--- CTabGroup
// The tab list does not own its records: each tab's view does.
class CTabGroup
{
public:
    CTabGroup() = default;
    virtual ~CTabGroup() = default;
    CTabGroup(const CTabGroup&) = delete;
    CTabGroup& operator=(const CTabGroup&) = delete;

    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    // The tab's index in this group, or -1.
    int IndexOf(const CTabItem* tab) const;
    CTabItem* GetTab(int index) const
    {
        return index >= 0 && index < GetTabCount() ? m_tabs[static_cast<size_t>(index)] : nullptr;
    }
    // The caption template with "%i" (number) and "%c" (tab count) expanded;
    // "%%" stands for a literal "%".
    CString ExpandCaption(int tabCount) const;
    // Makes tabId the most recently activated tab, shifting the others.
    void PushActiveTab(HWND tabId);
    void ClearActiveTabs() { m_hActiveTab = m_hPrevTab = m_hEarlierTab = nullptr; }

    int m_number = 0;
    CString m_caption;           // displayed caption
    CString m_captionTemplate;   // the name as given
    HWND m_hActiveTab = nullptr;
    HWND m_hPrevTab = nullptr;
    HWND m_hEarlierTab = nullptr;
    BYTE m_image = 0;
    DWORD m_options = 113;       // download-control word handed to new tabs
    std::vector<CTabItem*> m_tabs;
};

#endif // VA_TAB_TABGROUP_H
