// The scroll bar beside a tab bar standing as a column. It scrolls nothing
// itself: its WM_VSCROLL reaches the main frame, which moves the tab bar.
//
// Classes in this file:
//   CTabScrollBar   a tab column's scroll bar
#ifndef VA_BARS_TABSCROLLBAR_H
#define VA_BARS_TABSCROLLBAR_H

#include "framework/win/ScrollBar.h"

//--- CTabScrollBar
class CTabScrollBar : public CScrollBar
{
public:
    // Both in the parent frame's client coordinates; the tab bar's is empty
    // when it has no window.
    CRect GetWindowRectInFrame() const;
    CRect GetTabBarRectInFrame() const;

    CWnd* m_pTabBar = nullptr;  // the owning tab bar
    int m_lineStep = 0;         // pixels per scroll line
};

inline CRect CTabScrollBar::GetWindowRectInFrame() const
{
    CRect rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

inline CRect CTabScrollBar::GetTabBarRectInFrame() const
{
    CRect rc;
    if (m_pTabBar == nullptr || !m_pTabBar->IsWindow())
        return rc;
    m_pTabBar->GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, ::GetParent(m_pTabBar->m_hWnd), reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

#endif // VA_BARS_TABSCROLLBAR_H
