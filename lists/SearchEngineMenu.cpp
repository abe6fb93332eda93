#include <windows.h>

#include "lists/SearchEngineMenu.h"

#include <algorithm>

#include "framework/core/Cp932.h"
#include "lists/WebSearch.h"
#include "menulib/NewMenu.h"

namespace {

bool IsCommandNode(const CSearchEngineNode& node)
{
    return node.m_flatIndex >= 0 && node.m_flatIndex < CSearchEngineTree::kCommandCount;
}

UINT CommandOf(const CSearchEngineNode& node, const SearchEngineMenuTexts& texts)
{
    return texts.idBase + static_cast<UINT>(node.m_flatIndex);
}

void AppendEngine(CNewMenu& menu, const CSearchEngineNode& engine, const SearchEngineMenuTexts& texts)
{
    UINT flags = MF_STRING;
    if (texts.checkedNode != nullptr ? texts.checkedNode == &engine : (engine.m_state & texts.roleBit) != 0)
        flags |= MF_CHECKED;
    CString caption = MakeMenuCaption(engine.m_label, texts.maxCaption);
    HICON icon = texts.withIcons ? static_cast<HICON>(engine.m_icon) : nullptr;
    menu.AppendODMenuWithIcon(flags, CommandOf(engine, texts), caption, icon);
}

void AppendFolder(CNewMenu& menu, const CSearchEngineNode& folder, const SearchEngineMenuTexts& texts)
{
    CNewMenu* sub = menu.AppendODPopupMenu(MakeMenuCaption(folder.m_label, texts.maxCaption));
    if (sub == nullptr)
        return;
    const int nLead = texts.folderSearchAll ? 2 : 0;
    if (texts.folderSearchAll) {
        sub->AppendODMenu(texts.searchAll, MF_STRING, CommandOf(folder, texts));
        sub->AppendODMenu(nullptr, MF_SEPARATOR, 0);
    }
    AppendSearchEngineItems(*sub, folder, texts);
    if (::GetMenuItemCount(sub->m_hMenu) > nLead) {
        MeasureMenuCaptions(*sub, -1);
        return;
    }
    while (sub->DeleteMenu(0, MF_BYPOSITION)) {
    }
    sub->AppendODMenu(texts.emptyFolder, MF_STRING | MF_GRAYED, kCmdSearchEngineNone);
}

} // namespace

CString MakeMenuCaption(const CString& text, int maxBytes)
{
    CString caption = text;
    if (maxBytes >= 0 && text.GetLength() > maxBytes) {
        caption = text.Left(Cp932FloorBoundary(text.GetString(), text.GetLength(), maxBytes));
        caption += "\x81\x63";  // "…": the caption was cut
    }
    caption.Replace("&", "&&");
    return caption;
}

CString TruncateMenuText(const CString& text, int maxBytes)
{
    const int length = text.GetLength();
    if (maxBytes < 0 || length <= maxBytes)
        return text;
    return text.Left(Cp932FloorBoundary(text.GetString(), length, maxBytes)) + "\x81\x63";
}

void AppendSearchEngineItems(CNewMenu& menu, const CSearchEngineNode& folder,
                             const SearchEngineMenuTexts& texts)
{
    if (folder.IsEntry())
        return;
    for (INT_PTR i = 0; i < folder.GetChildCount(); ++i) {
        const CSearchEngineNode& child = *folder.GetChild(i);
        if (!IsCommandNode(child))
            continue;
        if (child.IsEntry()) {
            AppendEngine(menu, child, texts);
        } else if (child.m_kind == CSearchEngineNode::kFolder) {
            AppendFolder(menu, child, texts);
        } else {
            AppendSearchEngineItems(menu, child, texts);
            MeasureMenuCaptions(menu, -1);
        }
    }
}

void BuildSearchEngineMenu(CNewMenu& menu, const CSearchEngineTree& tree,
                           const SearchEngineMenuTexts& texts)
{
    const CSearchEngineNode* root = tree.GetRoot();
    if (root == nullptr)
        return;
    menu.AppendODMenu(texts.searchAll, MF_STRING, CommandOf(*root, texts));
    menu.AppendODMenu(nullptr, MF_SEPARATOR, 0);
    AppendSearchEngineItems(menu, *root, texts);
    MeasureMenuCaptions(menu, -1);
}

void BreakMenuIntoColumns(CNewMenu& menu, int extra, int itemHeight, int availableHeight)
{
    const int count = ::GetMenuItemCount(menu.m_hMenu);
    const int total = count + extra;
    if (count <= 0 || itemHeight <= 0 || total * itemHeight <= availableHeight)
        return;
    const int rows = std::max(1, availableHeight / itemHeight);
    for (int position = rows + 1 - extra; position >= 0 && position < count; position += rows + 1) {
        // The item keeps its record, text or submenu; only the break is new.
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (!::GetMenuItemInfoA(menu.m_hMenu, static_cast<UINT>(position), TRUE, &info))
            continue;
        info.fType |= MFT_MENUBARBREAK;
        ::SetMenuItemInfoA(menu.m_hMenu, static_cast<UINT>(position), TRUE, &info);
        const auto& items = menu.Items();
        if (static_cast<size_t>(position) < items.size())
            items[static_cast<size_t>(position)]->m_nFlags |= MF_MENUBARBREAK;
        if (availableHeight >= (total - position) * itemHeight)
            break;
    }
}

void MeasureMenuCaptions(CNewMenu& menu, int extra)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    int textHeight = 0;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        HDC dc = ::GetDC(nullptr);
        HFONT font = ::CreateFontIndirectA(&metrics.lfMenuFont);
        HGDIOBJ old = ::SelectObject(dc, font);
        SIZE size = {};
        if (::GetTextExtentPoint32A(dc, "Ag", 2, &size))
            textHeight = size.cy;
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        ::ReleaseDC(nullptr, dc);
    }
    int itemHeight = std::max(20, textHeight + 4);
    int available = ::GetSystemMetrics(SM_CYSCREEN) - 4 * ::GetSystemMetrics(SM_CYCAPTION);
    BreakMenuIntoColumns(menu, extra, itemHeight, available);
}
