#include "menulib/NewMenu.h"

#include <algorithm>
#include <cstddef>
#include <set>

#include "framework/app/FaultGuard.h"
#include "framework/win/Wnd.h"
#include "menulib/MenuTheme.h"

IMPLEMENT_DYNAMIC(CNewMenuItemData, CObject)

namespace {

// The popup the last WM_INITMENUPOPUP named, for the popup-menu hook.
HMENU g_hPendingOwnerMenu = nullptr;

// Every live CNewMenu: the last place a measured item's record is looked for.
std::set<CNewMenu*>& LiveMenus()
{
    static std::set<CNewMenu*> s_menus;
    return s_menus;
}

// The popup CNewMenu::TrackPopupMenu is tracking, and for which window.
CNewMenu* g_pTrackingMenu = nullptr;
HWND g_hWndTracking = nullptr;

HMENU AsMenu(UINT_PTR nID)
{
    return reinterpret_cast<HMENU>(nID);
}

// The caption of an item by position: its length first, then a buffer of
// twice that plus two bytes (double-byte text may be counted in characters).
CString ReadCaption(HMENU hMenu, UINT nPosition)
{
    int nLength = ::GetMenuStringA(hMenu, nPosition, nullptr, 0, MF_BYPOSITION);
    if (nLength <= 0)
        return CString();
    std::vector<char> buffer(static_cast<size_t>(nLength) * 2 + 2, '\0');
    ::GetMenuStringA(hMenu, nPosition, buffer.data(), static_cast<int>(buffer.size()), MF_BYPOSITION);
    return CString(buffer.data());
}

// The record an owner-drawn item carries, whatever menu object made it.
ULONG_PTR GetItemData(HMENU hMenu, UINT nPosition)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!::GetMenuItemInfoA(hMenu, nPosition, TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
        return 0;
    return info.dwItemData;
}

// Whether the object lies on the stack of a call running on this thread:
// between this call's frame and the stack's base, read from the thread's
// information block (the header's NtCurrentTeb warns under this compiler).
bool LiesOnThisStack(const void* object)
{
    ULONG_PTR base;
#if defined(__x86_64__)
    asm("movq %%gs:%c1, %0" : "=r"(base) : "i"(offsetof(NT_TIB, StackBase)));
#else
    asm("movl %%fs:%c1, %0" : "=r"(base) : "i"(offsetof(NT_TIB, StackBase)));
#endif
    const ULONG_PTR at = reinterpret_cast<ULONG_PTR>(object);
    return at > reinterpret_cast<ULONG_PTR>(__builtin_frame_address(0)) && at < base;
}

// A menu leaves the live set and the handle map; data[0], the menu, is
// compared, not touched (its frame may be gone).
void ForgetMenu(const ULONG_PTR* data)
{
    CNewMenu* pMenu = reinterpret_cast<CNewMenu*>(data[0]);
    LiveMenus().erase(pMenu);
    CMenu::ForgetObject(pMenu);
}

} // namespace

//--- Construction and lookup

CNewMenu::CNewMenu(HMENU hParentMenu)
    : m_hParentMenu(hParentMenu)
{
    LiveMenus().insert(this);
    // A fault that breaks off the call whose frame holds the menu leaves
    // nothing that finds it (a later WM_MEASUREITEM would read the dead
    // frame). A menu on the heap outlives a fault as it is.
    if (LiesOnThisStack(this))
        m_membership.Hold(&ForgetMenu, reinterpret_cast<ULONG_PTR>(this));
}

CNewMenu::~CNewMenu()
{
    LiveMenus().erase(this);
    DestroyMenu();
    if (g_pTrackingMenu == this)
        g_pTrackingMenu = nullptr;
}

CNewMenu* CNewMenu::FromHandleNew(HMENU hMenu)
{
    if (hMenu == nullptr)
        return nullptr;
    return dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(hMenu));
}

CNewMenuItemData* CNewMenu::FindRecord(const void* pItemData) const
{
    for (const auto& pItem : m_items)
        if (pItem.get() == pItemData)
            return pItem.get();
    return nullptr;
}

//--- Loading and destruction

BOOL CNewMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenuByName(MAKEINTRESOURCEA(nIDResource));
}

BOOL CNewMenu::LoadMenuByName(LPCSTR lpszResourceName)
{
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszResourceName);
    if (hMenu == nullptr)
        return FALSE;
    if (!LoadMenuFromHandle(hMenu))
    {
        ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CNewMenu::LoadMenuFromHandle(HMENU hMenu)
{
    if (!::IsMenu(hMenu) || !Attach(hMenu))
        return FALSE;
    m_bPopup = FALSE;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i)
    {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub == nullptr)
            continue;
        auto pSub = std::make_unique<CNewMenu>(hMenu);
        if (!pSub->LoadMenuFromHandle(hSub))
            continue;  // already attached elsewhere: left as it is
        pSub->m_bPopup = TRUE;
        m_subMenus.push_back(std::move(pSub));
    }
    ConvertToOwnerDraw();
    return TRUE;
}

void CNewMenu::ReleaseObjects()
{
    for (auto& pSub : m_subMenus)
    {
        pSub->ReleaseObjects();
        pSub->Detach();  // the handle goes with this menu's handle
    }
    m_subMenus.clear();
    while (!m_items.empty())
        m_items.pop_back();  // last first
    if (!m_bCheckImagesNotOwned)
        delete m_pCheckImages;
    m_pCheckImages = nullptr;
}

BOOL CNewMenu::DestroyMenu()
{
    ReleaseObjects();
    return CMenu::DestroyMenu();
}

//--- Conversion

void CNewMenu::AdoptSubMenu(UINT_PTR nID, UINT nFlags)
{
    if (!(nFlags & MF_POPUP))
        return;
    if (CNewMenu* pSub = FromHandleNew(AsMenu(nID)))
        pSub->m_hParentMenu = m_hMenu;
}

CNewMenuItemData* CNewMenu::NewRecord(LPCSTR lpszText)
{
    auto pRecord = std::make_unique<CNewMenuItemData>();
    pRecord->m_strText = lpszText;
    m_items.push_back(std::move(pRecord));
    return m_items.back().get();
}

CNewMenuItemData* CNewMenu::TakeReusableRecord(UINT_PTR nID)
{
    for (auto& pItem : m_items)
        if (!pItem->m_nReuseMark && pItem->m_nID == nID)
        {
            pItem->m_nReuseMark = 1;
            return pItem.get();
        }
    return nullptr;
}

// The record of the item at nPosition: the first unused record of its
// command, which takes the item's flags and (when it has one) its caption,
// or a new one. Either way the item becomes owner-drawn with it, except an
// item the system draws as a bitmap.
CNewMenuItemData* CNewMenu::ConvertItem(UINT nPosition, UINT nFlags, UINT_PTR nID, const CString& caption,
                                        std::vector<std::unique_ptr<CNewMenuItemData>>& rFresh)
{
    CNewMenuItemData* pRecord = TakeReusableRecord(nID);
    if (nFlags & MF_BITMAP)
    {
        if (pRecord == nullptr)
        {
            rFresh.push_back(std::make_unique<CNewMenuItemData>());
            pRecord = rFresh.back().get();
            pRecord->m_nID = nID;
            pRecord->m_nReuseMark = 1;
        }
        pRecord->m_nFlags = nFlags & ~MF_OWNERDRAW;
        return pRecord;
    }
    if (pRecord == nullptr)
    {
        pRecord = ReplaceItemWithOwnerDraw(nPosition, nFlags, nID, caption);
        rFresh.push_back(std::move(m_items.back()));
        m_items.pop_back();
        pRecord->m_nReuseMark = 1;
        return pRecord;
    }
    if (!caption.IsEmpty())
        pRecord->m_strText = caption;
    pRecord->m_nFlags = nFlags;
    ::ModifyMenuA(m_hMenu, nPosition, nFlags, nID, reinterpret_cast<LPCSTR>(pRecord));
    return pRecord;
}

// An item this menu already draws has its record's caption. The system
// may still hold the text the item had before it became owner-drawn (Wine
// does), and taking that would undo every later change of the record, such
// as a shortcut text added to the caption.
CString CNewMenu::CurrentCaption(UINT nPosition) const
{
    if (const CNewMenuItemData* pRecord = FindRecord(reinterpret_cast<const void*>(GetItemData(m_hMenu, nPosition))))
        return pRecord->m_strText;
    return ReadCaption(m_hMenu, nPosition);
}

void CNewMenu::ConvertToOwnerDraw()
{
    if (m_hMenu == nullptr)
        return;
    for (auto& pItem : m_items)
        pItem->m_nReuseMark = 0;

    // Records are reused by command, so items keep their images.
    std::vector<CNewMenuItemData*> order;
    std::vector<std::unique_ptr<CNewMenuItemData>> fresh;
    int nCount = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < nCount; ++i)
    {
        UINT nPos = static_cast<UINT>(i);
        UINT nState = ::GetMenuState(m_hMenu, nPos, MF_BYPOSITION);
        HMENU hSub = ::GetSubMenu(m_hMenu, i);
        if (hSub != nullptr)
        {
            // The high byte of a popup's state is its item count, not flags.
            UINT nFlags = (nState & 0xFF) | MF_POPUP | MF_BYPOSITION | MF_OWNERDRAW;
            order.push_back(ConvertItem(nPos, nFlags, reinterpret_cast<UINT_PTR>(hSub),
                                        CurrentCaption(nPos), fresh));
            if (CNewMenu* pSub = FromHandleNew(hSub))
                pSub->m_hParentMenu = m_hMenu;
        }
        else if ((nState & MF_SEPARATOR) && !(nState & MF_BITMAP))
        {
            order.push_back(ConvertItem(nPos, MF_SEPARATOR | MF_BYPOSITION | MF_OWNERDRAW, 0, CString(), fresh));
        }
        else
        {
            UINT_PTR nID = ::GetMenuItemID(m_hMenu, i);
            order.push_back(ConvertItem(nPos, nState | MF_BYPOSITION | MF_OWNERDRAW, nID,
                                        CurrentCaption(nPos), fresh));
        }
    }

    // Unmarked records belong to items that are gone; the rest is put in
    // menu order.
    std::vector<std::unique_ptr<CNewMenuItemData>> sorted;
    sorted.reserve(order.size());
    for (CNewMenuItemData* pRecord : order)
    {
        for (auto* pFrom : { &m_items, &fresh })
        {
            auto it = std::find_if(pFrom->begin(), pFrom->end(),
                                   [pRecord](const std::unique_ptr<CNewMenuItemData>& p) { return p.get() == pRecord; });
            if (it != pFrom->end())
            {
                sorted.push_back(std::move(*it));
                pFrom->erase(it);
                break;
            }
        }
    }
    m_items = std::move(sorted);
    for (auto& pItem : m_items)
        pItem->m_nReuseMark = 0;
}

CNewMenuItemData* CNewMenu::ReplaceItemWithOwnerDraw(UINT nPosition, UINT nFlags, UINT_PTR nID,
                                                     LPCSTR lpszText)
{
    CNewMenuItemData* pRecord = NewRecord(lpszText);
    pRecord->m_nFlags = nFlags;
    pRecord->m_nID = nID;
    AdoptSubMenu(nID, nFlags);
    LPCSTR content = lpszText;
    if (nFlags & MF_OWNERDRAW)
        content = reinterpret_cast<LPCSTR>(pRecord);
    else if (nFlags & MF_SEPARATOR)
        content = nullptr;
    // MF_BITMAP: the caller's text is the bitmap handle, passed as it is.
    ::ModifyMenuA(m_hMenu, nPosition, nFlags, nID, content);
    return pRecord;
}

//--- Adding items

void CNewMenu::SetRecordImage(CNewMenuItemData* pRecord, CImageList* pImages, int nIconIndex)
{
    if (pImages != nullptr)
    {
        int cx = 0;
        int cy = 0;
        if (nIconIndex >= 0 && ImageList_GetIconSize(pImages->GetSafeHandle(), &cx, &cy) &&
            pRecord->SetImage(ImageStrip(cx, cy), *pImages, nIconIndex))
            pRecord->m_nImageSource = 0;
        return;
    }
    pRecord->m_nImageSource = nIconIndex;
    if (nIconIndex < 0)
        return;
    // A toolbar resource: its bitmap, and the command's button image.
    int nImage = 0;
    if (FindToolBarImage(static_cast<UINT>(pRecord->m_nID), static_cast<UINT>(nIconIndex), nImage))
        pRecord->m_nToolBarImage = nImage;
    else
        pRecord->m_nToolBarImage = 0;
    CImageList bitmap;
    if (bitmap.Create(m_nIconX, m_nIconY, ILC_COLOR24 | ILC_MASK, 1, 1) &&
        LoadToolBarBitmap(bitmap, static_cast<UINT_PTR>(nIconIndex)) &&
        pRecord->SetImage(ImageStrip(m_nIconX, m_nIconY), bitmap, 0))
        return;
    pRecord->m_nImageSource = -1;
    pRecord->m_nToolBarImage = -1;
}

BOOL CNewMenu::AppendODMenu(LPCSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages,
                            int nIconIndex)
{
    if (nID == 0 && !(nFlags & MF_POPUP))
        nFlags = MF_SEPARATOR | MF_OWNERDRAW | (nFlags & MF_BYPOSITION);
    else
        nFlags |= MF_OWNERDRAW;
    AdoptSubMenu(nID, nFlags);
    CNewMenuItemData* pRecord = NewRecord(lpszText);
    pRecord->m_nFlags = nFlags;
    pRecord->m_nID = nID;
    SetRecordImage(pRecord, pImages, nIconIndex);
    if (::AppendMenuA(m_hMenu, nFlags, nID, reinterpret_cast<LPCSTR>(pRecord)))
        return TRUE;
    m_items.pop_back();  // the menu did not take it
    return FALSE;
}

BOOL CNewMenu::AppendODMenuWithIcon(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, HICON hIcon)
{
    if (hIcon == nullptr)
        return AppendODMenu(lpszText, nFlags, nID, nullptr, -1);
    CImageList temp;
    if (!temp.Create(m_nIconX, m_nIconY, ILC_COLOR24 | ILC_MASK, 1, 1) || temp.Add(hIcon) < 0)
        return AppendODMenu(lpszText, nFlags, nID, nullptr, -1);
    return AppendODMenu(lpszText, nFlags, nID, &temp, 0);
}

CNewMenu* CNewMenu::AppendODPopupMenuWithIcon(LPCSTR lpszText, UINT nFlags, CImageList* pImages,
                                              int nIconIndex)
{
    HMENU hPopup = ::CreatePopupMenu();
    if (hPopup == nullptr)
        return nullptr;
    auto pChild = std::make_unique<CNewMenu>(m_hMenu);
    pChild->Attach(hPopup);
    pChild->m_nIconX = m_nIconX;
    pChild->m_nIconY = m_nIconY;
    pChild->m_crBitmapMask = m_crBitmapMask;
    pChild->m_pIconImages = m_pIconImages;
    pChild->m_pCheckImages = m_pCheckImages;
    pChild->m_bCheckImagesNotOwned = TRUE;
    pChild->m_nSelectCheck = m_nSelectCheck;
    pChild->m_nAlwaysCheck = m_nAlwaysCheck;
    CNewMenu* pResult = pChild.get();
    m_subMenus.push_back(std::move(pChild));
    if (AppendODMenu(lpszText, nFlags | MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), pImages,
                     nIconIndex))
        return pResult;
    m_subMenus.pop_back();  // destroys the child and its menu
    return nullptr;
}

CNewMenu* CNewMenu::AppendODPopupMenu(LPCSTR lpszText, UINT nFlags)
{
    return AppendODPopupMenuWithIcon(lpszText, nFlags, nullptr, -1);
}

//--- Removing items

void CNewMenu::RestorePlainItems()
{
    int nCount = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < nCount; ++i)
    {
        UINT nPos = static_cast<UINT>(i);
        CNewMenuItemData* pRecord = FindRecord(reinterpret_cast<void*>(GetItemData(m_hMenu, nPos)));
        if (pRecord == nullptr)
            continue;
        UINT nFlags = (pRecord->m_nFlags & ~(MF_OWNERDRAW | MF_BITMAP)) | MF_BYPOSITION;
        if (nFlags & MF_SEPARATOR)
            ::ModifyMenuA(m_hMenu, nPos, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        else
            ::ModifyMenuA(m_hMenu, nPos, nFlags | MF_STRING, pRecord->m_nID, pRecord->m_strText);
    }
    for (auto& pSub : m_subMenus)
        pSub->RestorePlainItems();
}

// The object of a removed popup goes; its handle is destroyed with the item
// (DeleteMenu) or survives as a plain menu (RemoveMenu).
void CNewMenu::DropPopupObject(HMENU hSubMenu, BOOL bDestroySubMenu)
{
    for (auto it = m_subMenus.begin(); it != m_subMenus.end(); ++it)
    {
        if ((*it)->m_hMenu != hSubMenu)
            continue;
        if (!bDestroySubMenu)
            (*it)->RestorePlainItems();
        (*it)->ReleaseObjects();
        (*it)->Detach();
        m_subMenus.erase(it);
        return;
    }
}

BOOL CNewMenu::RemoveItem(UINT nPosition, UINT nFlags, BOOL bDestroySubMenu)
{
    if (!(nFlags & MF_BYPOSITION))
    {
        int nPos = -1;
        CNewMenu* pHolder = FindMenuItem(nPosition, nPos);
        if (pHolder != nullptr && nPos >= 0)
            return pHolder->RemoveItem(static_cast<UINT>(nPos), nFlags | MF_BYPOSITION, bDestroySubMenu);
        return bDestroySubMenu ? ::DeleteMenu(m_hMenu, nPosition, nFlags)
                               : ::RemoveMenu(m_hMenu, nPosition, nFlags);
    }
    // Exactly the record the item carries goes, even when other items share
    // its command.
    ULONG_PTR nData = GetItemData(m_hMenu, nPosition);
    HMENU hSub = ::GetSubMenu(m_hMenu, static_cast<int>(nPosition));
    if (hSub != nullptr && !bDestroySubMenu)
    {
        // The surviving submenu must not point at records deleted below.
        DropPopupObject(hSub, FALSE);
        hSub = nullptr;
    }
    BOOL bResult = bDestroySubMenu ? ::DeleteMenu(m_hMenu, nPosition, nFlags)
                                   : ::RemoveMenu(m_hMenu, nPosition, nFlags);
    if (!bResult)
        return FALSE;
    if (hSub != nullptr)
        DropPopupObject(hSub, TRUE);
    for (auto it = m_items.begin(); it != m_items.end(); ++it)
        if (reinterpret_cast<ULONG_PTR>(it->get()) == nData)
        {
            m_items.erase(it);
            return TRUE;
        }
    // An item the system draws (a bitmap) has its record only by position.
    if (nPosition < m_items.size() && (m_items[nPosition]->m_nFlags & MF_BITMAP))
        m_items.erase(m_items.begin() + nPosition);
    return TRUE;
}

BOOL CNewMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    return RemoveItem(nPosition, nFlags, TRUE);
}

BOOL CNewMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    return RemoveItem(nPosition, nFlags, FALSE);
}

//--- Queries

BOOL CNewMenu::GetMenuText(UINT nItem, CString& rText, UINT nFlags) const
{
    if (nFlags & MF_BYPOSITION)
    {
        if (nItem >= m_items.size())
            return FALSE;
        rText = m_items[nItem]->m_strText;
        return TRUE;
    }
    int nPos = -1;
    CNewMenu* pHolder = const_cast<CNewMenu*>(this)->FindMenuItem(nItem, nPos);
    if (pHolder == nullptr)
        return FALSE;
    return pHolder->GetMenuText(static_cast<UINT>(nPos), rText, MF_BYPOSITION);
}

CNewMenu* CNewMenu::FindMenuItem(UINT nID, int& nPosition)
{
    return FindPlainItem(nID, nullptr, FALSE, nPosition);
}

CNewMenu* CNewMenu::FindItemMenu(UINT nID, const void* pItemData)
{
    int nPosition = -1;
    return FindPlainItem(nID, pItemData, TRUE, nPosition);
}

CNewMenu* CNewMenu::FindPlainItem(UINT nID, const void* pItemData, BOOL bMatchData, int& nPosition)
{
    int nCount = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < nCount; ++i)
    {
        HMENU hSub = ::GetSubMenu(m_hMenu, i);
        if (hSub != nullptr)
        {
            if (CNewMenu* pSub = FromHandleNew(hSub))
                if (CNewMenu* pFound = pSub->FindPlainItem(nID, pItemData, bMatchData, nPosition))
                    return pFound;
            continue;
        }
        if (::GetMenuItemID(m_hMenu, i) == nID &&
            (!bMatchData ||
             GetItemData(m_hMenu, static_cast<UINT>(i)) == reinterpret_cast<ULONG_PTR>(pItemData)))
        {
            nPosition = i;
            return this;
        }
    }
    nPosition = -1;
    return nullptr;
}

CNewMenu* CNewMenu::GetSubMenu(int nPosition) const
{
    return FromHandleNew(::GetSubMenu(m_hMenu, nPosition));
}

//--- Drawing and measuring

BOOL CNewMenu::IsMenuBarItem(const MEASUREITEMSTRUCT* lpMis) const
{
    HMENU hItem = AsMenu(static_cast<UINT_PTR>(lpMis->itemID));
    if (!::IsMenu(hItem))
        return FALSE;
    const CNewMenu* pHolder = m_hParentMenu != nullptr ? FromHandleNew(m_hParentMenu) : this;
    return pHolder != nullptr && !pHolder->m_bPopup;
}

void CNewMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMis)
{
    CMenuTheme* pMode = GetCurrentMenuDrawMode();
    MenuMeasureFn pfn = pMode != nullptr ? pMode->m_pfnMeasure : &MeasureItemClassic;
    pfn(this, lpMis, IsMenuBarItem(lpMis));
}

void CNewMenu::DrawItem(LPDRAWITEMSTRUCT lpDis)
{
    CMenuTheme* pMode = GetCurrentMenuDrawMode();
    MenuDrawFn pfn = pMode != nullptr ? pMode->m_pfnDraw : &DrawItemClassic;
    BOOL bMenuBar = m_hParentMenu == nullptr && !m_bPopup;
    pfn(this, lpDis, bMenuBar);
}

void CNewMenu::DrawTitle(LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar)
{
    CMenuTheme* pMode = GetCurrentMenuDrawMode();
    MenuDrawFn pfn = pMode != nullptr ? pMode->m_pfnTitle : &DrawMenuTitle;
    pfn(this, lpDis, bMenuBar);
}

BOOL CNewMenu::EraseBackground(HWND hWnd, HDC hDC)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HBRUSH hBrush = ::CreateSolidBrush(GetMenuBackColor());
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
    return TRUE;
}

void CNewMenu::RecordMenuBarItemRect(HDC hDC, const RECT& rcItem)
{
    if (m_bPopup)
        return;
    HWND hWnd = ::WindowFromDC(hDC);
    RECT rcWindow = { 0, 0, 0, 0 };
    if (hWnd != nullptr)
        ::GetWindowRect(hWnd, &rcWindow);
    m_rcMenuBarItem = rcItem;
    ::OffsetRect(&m_rcMenuBarItem, rcWindow.left, rcWindow.top);
}

//--- Popups opening and closing

void CNewMenu::OnPopupOpened()
{
    m_bPopup = TRUE;
    ConvertToOwnerDraw();
    // The main program's copy gives an open system menu's Restore and
    // Minimize items the next ids until it closes.
    if (m_bSystemMenu && GetMenuLibBuild() == MenuLibBuild::MainProgram)
    {
        ChangeItemId(SC_RESTORE, SC_RESTORE + 1);
        ChangeItemId(SC_MINIMIZE, SC_MINIMIZE + 1);
    }
}

void CNewMenu::SetOpenPopupDelta(int nDelta, HWND hWndOwner)
{
    int nBefore = m_nOpenPopups;
    m_nOpenPopups = std::max(0, m_nOpenPopups + nDelta);
    if (nDelta < 0)
    {
        if (m_bPopup)
            return;
        m_nOpenPopups = 0;
    }
    else if (nBefore != 0 || m_bPopup)
    {
        return;
    }
    if (::IsRectEmpty(&m_rcMenuBarItem) || hWndOwner == nullptr)
        return;
    // The open or closed look of the menu-bar item, with its edge.
    RECT rc = m_rcMenuBarItem;
    rc.right += 10;
    rc.bottom += 10;
    ::MapWindowPoints(nullptr, hWndOwner, reinterpret_cast<LPPOINT>(&rc), 2);
    ::RedrawWindow(hWndOwner, &rc, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void CNewMenu::OnMenuLoopEnded()
{
    m_nOpenPopups = 0;
}

void CNewMenu::OnPopupClosed(HWND hWndOwner)
{
    if (m_bSystemMenu && GetMenuLibBuild() == MenuLibBuild::MainProgram)
    {
        ChangeItemId(SC_RESTORE + 1, SC_RESTORE);
        ChangeItemId(SC_CLOSE + 1, SC_CLOSE);
        ChangeItemId(SC_MINIMIZE + 1, SC_MINIMIZE);
    }
    if (CNewMenu* pParent = FromHandleNew(m_hParentMenu))
        pParent->SetOpenPopupDelta(-1, hWndOwner);
}

HMENU CNewMenu::TakePendingOwnerMenu()
{
    HMENU hMenu = g_hPendingOwnerMenu;
    g_hPendingOwnerMenu = nullptr;
    return hMenu;
}

CMenuTheme* CNewMenu::SetMenuDrawMode(int nMode)
{
    return SetCurrentMenuDrawMode(nMode);
}

HMENU CNewMenu::PeekPendingOwnerMenu()
{
    return g_hPendingOwnerMenu;
}

void CNewMenu::OnInitMenuPopup(HWND hWndFrame, HMENU hPopup, UINT, BOOL bSysMenu)
{
    g_hPendingOwnerMenu = hPopup;
    CNewMenu* pMenu = FromHandleNew(hPopup);
    if (pMenu == nullptr)
        return;
    if (bSysMenu && GetMenuLibBuild() == MenuLibBuild::MainProgram)
        pMenu->m_bSystemMenu = TRUE;
    pMenu->OnPopupOpened();
    if (CNewMenu* pParent = FromHandleNew(pMenu->m_hParentMenu))
        pParent->SetOpenPopupDelta(1, hWndFrame);
}

//--- Frame messages

BOOL CNewMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    // The outer popup's values come back when the menu loop ends, or when a
    // fault breaks the call off.
    const HWND hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    CFaultSetting<CNewMenu*> trackingMenu(g_pTrackingMenu, this);
    CFaultSetting<HWND> trackingWnd(g_hWndTracking, hWnd);
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWnd, lpRect);
}

CNewMenu* CNewMenu::GetTrackingMenu(HWND hWnd)
{
    return hWnd != nullptr && hWnd == g_hWndTracking ? g_pTrackingMenu : nullptr;
}

BOOL CNewMenu::OnMeasureItem(HWND hWnd, const MSG& msg)
{
    if (msg.message != WM_MEASUREITEM)
        return FALSE;
    LPMEASUREITEMSTRUCT lpMis = reinterpret_cast<LPMEASUREITEMSTRUCT>(msg.lParam);
    if (lpMis == nullptr || lpMis->CtlType != ODT_MENU)
        return FALSE;
    HMENU hItem = AsMenu(static_cast<UINT_PTR>(lpMis->itemID));
    if (::IsMenu(hItem))
    {
        CNewMenu* pSub = FromHandleNew(hItem);
        if (pSub == nullptr)
            return FALSE;
        pSub->MeasureItem(lpMis);
        return TRUE;
    }
    const void* pData = reinterpret_cast<const void*>(lpMis->itemData);
    CNewMenu* pFound = nullptr;
    if (CNewMenu* pTracking = GetTrackingMenu(hWnd))
        pFound = pTracking->FindItemMenu(lpMis->itemID, pData);
    if (pFound == nullptr)
        if (CNewMenu* pBar = FromHandleNew(::GetMenu(hWnd)))
            pFound = pBar->FindItemMenu(lpMis->itemID, pData);
    if (pFound == nullptr)
        if (CNewMenu* pSys = FromHandleNew(::GetSystemMenu(hWnd, FALSE)))
            pFound = pSys->FindItemMenu(lpMis->itemID, pData);
    if (pFound == nullptr)
    {
        // A popup tracked by a plain ::TrackPopupMenu: the menu whose record
        // the item carries.
        for (CNewMenu* pMenu : LiveMenus())
            if (pMenu->FindRecord(pData) != nullptr)
            {
                pFound = pMenu;
                break;
            }
    }
    if (pFound == nullptr)
        return FALSE;
    pFound->MeasureItem(lpMis);
    return TRUE;
}

LRESULT CNewMenu::OnMenuChar(UINT nChar, UINT, CNewMenu* pMenu)
{
    if (pMenu == nullptr || pMenu->m_hMenu == nullptr)
        return 0;
    if (static_cast<size_t>(::GetMenuItemCount(pMenu->m_hMenu)) != pMenu->m_items.size())
        pMenu->ConvertToOwnerDraw();
    const auto& items = pMenu->m_items;

    char typed[3] = { static_cast<char>(nChar & 0xFF), '\0', '\0' };
    if (nChar > 0xFF)  // a double-byte character: lead byte in the high byte
    {
        typed[0] = static_cast<char>((nChar >> 8) & 0xFF);
        typed[1] = static_cast<char>(nChar & 0xFF);
    }
    CString key = CString("(&") + typed + ")";
    key.MakeUpper();
    for (size_t i = 0; i < items.size(); ++i)
    {
        CString text = items[i]->m_strText;
        text.MakeUpper();
        if (text.Find(key) >= 0)
            return MAKELRESULT(static_cast<WORD>(i), MNC_EXECUTE);
    }

    key = typed;
    key.MakeUpper();
    size_t nStart = 0;
    for (size_t i = 0; i < items.size(); ++i)
        if (::GetMenuState(pMenu->m_hMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
        {
            nStart = i + 1;
            break;
        }
    for (size_t n = 0; n < items.size(); ++n)
    {
        size_t i = (nStart + n) % items.size();
        CString text = items[i]->m_strText;
        text.MakeUpper();
        if (!key.IsEmpty() && text.Find(key) == 0)
            return MAKELRESULT(static_cast<WORD>(i), MNC_SELECT);
    }
    return 0;
}

BOOL RedrawMenuBarItem(HWND hWndFrame, HMENU hMenu, int nPosition, UINT nItemState)
{
    if (nPosition == -1)
        return FALSE;
    RECT rcItem;
    if (!::GetMenuItemRect(hWndFrame, hMenu, static_cast<UINT>(nPosition), &rcItem))
        return FALSE;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(nPosition), TRUE, &info) ||
        !(info.fType & MFT_OWNERDRAW))
        return FALSE;

    HDC hDC = ::GetWindowDC(hWndFrame);
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    HFONT hFont = ::CreateFontIndirectA(&ncm.lfMenuFont);
    HGDIOBJ hOldFont = ::SelectObject(hDC, hFont);

    RECT rcWindow;
    ::GetWindowRect(hWndFrame, &rcWindow);
    ::OffsetRect(&rcItem, -rcWindow.left, -rcWindow.top);

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.CtlID = 0;
    dis.itemID = info.wID;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = nItemState;
    dis.hwndItem = reinterpret_cast<HWND>(hMenu);
    dis.hDC = hDC;
    dis.rcItem = rcItem;
    dis.itemData = info.dwItemData;
    ::SendMessageA(hWndFrame, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));

    ::SelectObject(hDC, hOldFont);
    ::DeleteObject(hFont);
    ::ReleaseDC(hWndFrame, hDC);
    return TRUE;
}
