#include "bars/LinksBar.h"

#include <cstdint>

#include "framework/win/ImageList.h"
#include "framework/win/RedrawGuard.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"

BOOL CLinksBar::Create(CWnd* pParent, DWORD dwStyle, UINT nID)
{
    const DWORD ctrlStyle = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_TRANSPARENT;
    if (!CreateEx(pParent, ctrlStyle, dwStyle & ~CBRS_TOOLTIPS, nID))
        return FALSE;
    // Without drawn arrows a folder's whole button drops its popup.
    SetExtendedStyle(TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    return TRUE;
}

BOOL CLinksBar::Initialize()
{
    DeleteAllButtons();
    ResetImages();
    return TRUE;
}

void CLinksBar::ResetImages()
{
    CToolBarEx::SetImageList(nullptr);
    LoadImages(AppFolders().ResFile("mjr.bmp"), kImages);
}

int CLinksBar::AddShellIcon(LPCSTR path)
{
    if (m_hImages == nullptr)
        return -1;
    CImageList images;
    images.Attach(m_hImages);
    const int index = images.AddSmallShellIcon(path);
    images.Detach();
    return index;
}

CString CLinksBar::MakeButtonText(const CString& label, int limit)
{
    CString text = ShortenBarText(label, limit, true);
    text.Replace("&", "&&");
    return text;
}

// A button's data is the address of its item in m_links; anything else (a
// button of an earlier table) has no name here.
bool CLinksBar::GetItemName(const TBBUTTON& button, CString& text) const
{
    if (button.idCommand < kCmdFirstItem || button.dwData == 0 || m_links.empty())
        return false;
    const uintptr_t first = reinterpret_cast<uintptr_t>(m_links.data());
    const uintptr_t at = static_cast<uintptr_t>(button.dwData);
    if (at < first || (at - first) % sizeof(LinkButton) != 0 || (at - first) / sizeof(LinkButton) >= m_links.size())
        return false;
    const LinkButton& link = m_links[(at - first) / sizeof(LinkButton)];
    text = MakeButtonText(link.label, AppSettings().iFavTitleMaxStr);
    return true;
}

void CLinksBar::Refresh()
{
    std::vector<TBBUTTON> buttons;
    for (int i = 0, n = GetButtonCount(); i < n; ++i)
    {
        TBBUTTON button = {};
        if (!GetButton(i, &button))
            continue;
        auto it = m_index.find(button.idCommand);
        if (it != m_index.end() && !(button.fsStyle & TBSTYLE_SEP))
            button = m_table[static_cast<size_t>(it->second)].button;
        buttons.push_back(button);
    }
    DeleteAllButtons();
    if (!buttons.empty())
        AddButtons(static_cast<int>(buttons.size()), buttons.data());
}

void CLinksBar::SetLinks(const std::vector<LinkButton>& links)
{
    // A shown rebar paints its bands once, when the new buttons stand,
    // instead of at every step of its layout (a hidden one paints nothing,
    // and switching its redrawing back on would show it).
    const HWND hReBar = ::GetParent(m_hWnd);
    RedrawGuard redraw(hReBar != nullptr && ::IsWindowVisible(hReBar) ? hReBar : nullptr);
    // The old buttons go before the items their data names.
    DeleteAllButtons();
    m_links = links;
    std::vector<ToolButtonRecord> records;
    records.reserve(m_links.size());
    for (const LinkButton& link : m_links)
    {
        ToolButtonRecord record = {};
        record.button.iBitmap = link.image;
        record.button.idCommand = static_cast<int>(link.command);
        record.button.fsState = TBSTATE_ENABLED;
        record.button.fsStyle = link.style;
        record.button.dwData = reinterpret_cast<DWORD_PTR>(&link);
        record.shownByDefault = true;
        records.push_back(record);
    }
    // The buttons arrive as the table has them: no refresh (which would
    // delete and add every one again), only the band's size.
    SetButtonTable(static_cast<int>(records.size()), records.data(), kTextRight, false);
    UpdateBandSize();
}
