#include "bars/SearchBar.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "lists/SearchEngineTree.h"
#include <shlobj.h>
#include "shared/AppData.h"

namespace {

const char* const kFixedTexts[][2] = {
    {"36804", "\x8C\x9F\x8D\xF5\x82\xCC\x8E\xC0\x8D\x73"},  // "検索の実行"
    {"30513", "\x83\x4C\x81\x5B\x83\x8F\x81\x5B\x83\x68\x83\x6E\x83\x43\x83\x89\x83\x43\x83\x67"},  // "キーワードハイライト"
    {"30514", "\x83\x79\x81\x5B\x83\x57\x93\xE0\x8C\x9F\x8D\xF5"},  // "ページ内検索"
};

TBBUTTON MakeButton(int id, int image, BYTE style)
{
    TBBUTTON button = {};
    button.idCommand = id;
    button.iBitmap = image;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    return button;
}

} // namespace

BEGIN_MESSAGE_MAP(CSearchBar, CToolBarEx)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// Without its search box the bar takes no drops, and the frame hears of it.
BOOL CSearchBar::Initialize()
{
    return m_combo.Create(WS_CHILD | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(0, 0, 200, 450), this, CSearchCombo::kId);
}

void CSearchBar::RegisterDropTarget()
{
    if (IsInitialized() && !m_dropTarget.IsRegistered())
        m_dropTarget.Register(m_hWnd);
}

// Revoked while the window still exists: a registration outliving its
// window can no longer be revoked, and OLE would keep (and later release)
// a reference to this bar's target after the bar is gone.
void CSearchBar::OnDestroy()
{
    m_dropTarget.Revoke();
    CToolBarEx::OnDestroy();
}

//--- Drops

namespace {

const DWORD kSearchBarEffects = DROPEFFECT_COPY | DROPEFFECT_LINK | DROPEFFECT_SCROLL;

// A text format of the data object as a string; empty when absent.
CString ReadGlobalText(IDataObject* pDataObject, CLIPFORMAT format, size_t offset)
{
    CString text;
    FORMATETC fe = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (pDataObject == nullptr || FAILED(pDataObject->GetData(&fe, &medium)))
        return text;
    SIZE_T size = ::GlobalSize(medium.hGlobal);
    const char* data = static_cast<const char*>(::GlobalLock(medium.hGlobal));
    if (data != nullptr && size > offset) {
        size_t length = strnlen(data + offset, size - offset);  // the block may end without a NUL
        text = CString(data + offset, static_cast<int>(length));
    }
    if (data != nullptr)
        ::GlobalUnlock(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return text;
}

} // namespace

CString CSearchBarDropTarget::DroppedText(IDataObject* pDataObject, DWORD dwAllowed)
{
    if (dwAllowed & DROPEFFECT_LINK) {
        static const CLIPFORMAT kDescriptor = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("FileGroupDescriptor"));
        // The name of the first descriptor, after the count.
        CString name = ReadGlobalText(pDataObject, kDescriptor, sizeof(UINT) + offsetof(FILEDESCRIPTORA, cFileName));
        if (!name.IsEmpty()) {
            if (name.GetLength() >= 4 && name.Right(4).CompareNoCase(".url") == 0)
                name = name.Left(name.GetLength() - 4);
            return name;
        }
    }
    return ReadGlobalText(pDataObject, CF_TEXT, 0);
}

DWORD CSearchBarDropTarget::OnDragEnter(IDataObject*, DWORD, POINTL, DWORD)
{
    return kSearchBarEffects;
}

DWORD CSearchBarDropTarget::OnDragOver(IDataObject*, DWORD, POINTL, DWORD)
{
    return kSearchBarEffects;
}

// The button under the drop runs (an engine searches with itself); off the
// buttons the search runs with the current engine.
DWORD CSearchBarDropTarget::OnDrop(IDataObject* pDataObject, DWORD, POINTL pt, DWORD dwAllowed)
{
    if (m_pBar == nullptr || !m_pBar->IsWindow())
        return DROPEFFECT_NONE;
    CString text = DroppedText(pDataObject, dwAllowed);
    CSearchCombo& box = m_pBar->GetSearchCombo();
    if (box.GetSafeHwnd() != nullptr)
        box.SetWindowText(text);
    CPoint at(pt.x, pt.y);
    m_pBar->ScreenToClient(&at);
    int index = m_pBar->HitTest(at);
    TBBUTTON button = {};
    int command = CSearchBar::kCmdRunSearch;
    if (index >= 0 && m_pBar->GetButton(index, &button) && button.idCommand != 0)
        command = button.idCommand;
    HWND hFrame = m_pBar->GetTopLevelParent() != nullptr ? m_pBar->GetTopLevelParent()->m_hWnd : nullptr;
    if (hFrame != nullptr)
        ::SendMessageA(hFrame, WM_COMMAND, static_cast<WPARAM>(command), 0);
    return dwAllowed & kSearchBarEffects & ~DROPEFFECT_SCROLL;
}

void CSearchBar::GetButtonText(int nID, CString& text)
{
    for (const auto& fixed : kFixedTexts)
        if (std::atoi(fixed[0]) == nID)
        {
            text = fixed[1];
            return;
        }
    INT_PTR n = nID - kCmdEngineFirst;
    if (m_pEngines != nullptr && n >= 0 && n < m_pEngines->GetFlatCount())
    {
        const CSearchEngineNode* node = m_pEngines->GetNode(n);
        if (node != nullptr)
            text = node->m_label;
    }
}

void CSearchBar::LoadImages()
{
    CToolBarCtrlT<CControlBar>::SetImageList(nullptr);
    if (m_hBarImages != nullptr)
        ImageList_Destroy(m_hBarImages);
    int engines = m_pEngines != nullptr ? static_cast<int>(m_pEngines->m_toolbar.GetSize()) : 0;
    m_hBarImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, engines > 0 ? engines + 5 : 4, 1);
    if (m_hBarImages == nullptr)
        return;
    CString path = AppFolders().ResFile("searchbar.bmp");
    HBITMAP hBitmap = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE | LR_LOADFROMFILE));
    if (hBitmap == nullptr)
    {
        // Four blank images keep the engine icons at 4 + n.
        HDC hScreen = ::GetDC(nullptr);
        hBitmap = ::CreateCompatibleBitmap(hScreen, 16 * kFixedImages, 16);
        HDC hMem = ::CreateCompatibleDC(hScreen);
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        RECT all = {0, 0, 16 * kFixedImages, 16};
        HBRUSH hMagenta = ::CreateSolidBrush(RGB(255, 0, 255));
        ::FillRect(hMem, &all, hMagenta);
        ::DeleteObject(hMagenta);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
        ::ReleaseDC(nullptr, hScreen);
    }
    ImageList_AddMasked(m_hBarImages, hBitmap, RGB(255, 0, 255));
    ::DeleteObject(hBitmap);
    for (int n = 0; n < engines; ++n)
    {
        const CSearchEngineNode* node = m_pEngines->m_toolbar[n];
        ImageList_ReplaceIcon(m_hBarImages, -1, static_cast<HICON>(node != nullptr ? node->m_icon : nullptr));
    }
}

void CSearchBar::SetButtons(bool keepImages)
{
    std::vector<ToolButtonRecord> records;
    records.push_back({MakeButton(kCmdRunSearch, 0, TBSTYLE_DROPDOWN), true});
    int engines = m_pEngines != nullptr ? static_cast<int>(m_pEngines->m_toolbar.GetSize()) : 0;
    for (int n = 0; n < engines; ++n)
    {
        const CSearchEngineNode* node = m_pEngines->m_toolbar[n];
        if (node != nullptr)
            records.push_back({MakeButton(kCmdEngineFirst + node->m_flatIndex, kFixedImages + n, TBSTYLE_BUTTON), true});
    }
    records.push_back({MakeButton(0, 0, TBSTYLE_SEP), true});
    records.push_back({MakeButton(kCmdHighlight, 2, TBSTYLE_BUTTON), true});
    records.push_back({MakeButton(kCmdFindInPage, 3, TBSTYLE_BUTTON), true});
    if (!keepImages)
    {
        CToolBarCtrlT<CControlBar>::SetImageList(nullptr);
        SetHotImageList(nullptr);
        m_hImages = nullptr;
        m_ownsImages = false;
        CToolBarEx::SetImageList(m_hBarImages);
    }
    CToolBarCtrlT<CControlBar>::SetImageList(m_hBarImages);
    SetButtonTable(static_cast<int>(records.size()), records.data(), kTextHidden, true);
}

void CSearchBar::RecalcLayout()
{
    CRect client;
    GetClientRect(&client);
    int count = GetButtonCount();
    if (m_combo.m_hWnd == nullptr || count == 0)
        return;
    CRect first, last;
    GetItemRect(0, &first);
    GetItemRect(count - 1, &last);
    int indent = client.Width() + first.left - last.right;
    if (indent < kMinIndent)
        return;
    SendMessage(TB_SETINDENT, static_cast<WPARAM>(indent));
    // A changed indent alone leaves the buttons where they stand in some
    // versions of the control (they move only once it lays them out again,
    // at the next added button), and the box would then cover them: the
    // extended style set again makes it lay them out now.
    SetExtendedStyle(GetExtendedStyle());
    ::SetWindowPos(m_combo.m_hWnd, nullptr, 0, 1, indent, 20, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    if (!m_combo.IsWindowVisible())
        m_combo.ShowWindow(SW_SHOWNA);
}

void CSearchBar::OnSize(UINT, int, int)
{
    Default();
    RecalcLayout();
}
