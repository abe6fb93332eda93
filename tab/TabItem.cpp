#include "tab/TabItem.h"

void SavedHistory::Reset(SavedHistory*& back, SavedHistory*& forward)
{
    delete back;
    delete forward;
    back = new SavedHistory;
    forward = new SavedHistory;
}

// "loading…" in cp932, until the first title arrives.
CTabItem::CTabItem() : m_title("loading\x81\x63")
{
}

CTabItem::~CTabItem()
{
    delete m_pBack;
    delete m_pForward;
}

SavedHistory& CTabItem::BackList()
{
    if (m_pBack == nullptr)
        m_pBack = new SavedHistory;
    return *m_pBack;
}

SavedHistory& CTabItem::ForwardList()
{
    if (m_pForward == nullptr)
        m_pForward = new SavedHistory;
    return *m_pForward;
}
