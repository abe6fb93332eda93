// CNewMenu: inserting items, titles, the system menu and images.
#include "menulib/NewMenu.h"

#include <algorithm>
#include <vector>

#include "framework/win/Wnd.h"

namespace {

// The command ids of an RT_TOOLBAR resource, 0 for a separator. The
// resource compiler's form starts with version 1 and has 16-bit fields
// (version, width, height, count, ids); windres writes 32-bit fields without
// a version (width, height, count, ids).
std::vector<UINT> ReadToolBarIds(const BYTE* pBytes, size_t cbSize)
{
    std::vector<UINT> ids;
    auto word = [&](size_t i) { return static_cast<UINT>(pBytes[i] | (pBytes[i + 1] << 8)); };
    auto dword = [&](size_t i) { return word(i) | (word(i + 2) << 16); };
    if (cbSize >= 8 && word(0) == 1 && 8 + 2 * static_cast<size_t>(word(6)) <= cbSize)
    {
        for (size_t i = 0; i < word(6); ++i)
            ids.push_back(word(8 + 2 * i));
    }
    else if (cbSize >= 12)
    {
        size_t nCount = std::min<size_t>(dword(8), (cbSize - 12) / 4);
        for (size_t i = 0; i < nCount; ++i)
            ids.push_back(dword(12 + 4 * i));
    }
    return ids;
}

const UINT kRtToolBar = 241;

} // namespace

//--- Inserting

BOOL CNewMenu::InsertODMenuWithImageList(UINT nPosition, LPCSTR lpszText, UINT nFlags, UINT_PTR nID,
                                         CImageList* pImages, int nIconIndex)
{
    if (!(nFlags & MF_BYPOSITION))
    {
        // nPosition is a command: insert before it, in whichever menu holds it.
        int nCount = ::GetMenuItemCount(m_hMenu);
        for (int i = 0; i < nCount; ++i)
        {
            HMENU hSub = ::GetSubMenu(m_hMenu, i);
            if (hSub != nullptr)
            {
                CNewMenu* pSub = FromHandleNew(hSub);
                int nPos = -1;
                if (pSub != nullptr && pSub->FindMenuItem(nPosition, nPos) != nullptr)
                    return pSub->InsertODMenuWithImageList(nPosition, lpszText, nFlags, nID, pImages,
                                                           nIconIndex);
                continue;
            }
            if (::GetMenuItemID(m_hMenu, i) == nPosition)
                return InsertODMenuWithImageList(static_cast<UINT>(i), lpszText, nFlags | MF_BYPOSITION,
                                                 nID, pImages, nIconIndex);
        }
        return FALSE;
    }

    if (nID == 0 && !(nFlags & MF_POPUP))
        nFlags = MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR;
    else
        nFlags |= MF_OWNERDRAW;
    AdoptSubMenu(nID, nFlags);

    size_t nIndex = nPosition == static_cast<UINT>(-1) ? m_items.size()
                                                       : std::min<size_t>(nPosition, m_items.size());
    auto pOwned = std::make_unique<CNewMenuItemData>();
    CNewMenuItemData* pRecord = pOwned.get();
    pRecord->m_strText = lpszText;
    pRecord->m_nFlags = nFlags;
    pRecord->m_nID = nID;
    CImageList* pSource = pImages != nullptr ? pImages : m_pIconImages;
    if (pSource != nullptr && nIconIndex >= 0)
    {
        int nX = m_nIconX;
        int nY = m_nIconY;
        if (pImages != nullptr)
            ImageList_GetIconSize(pImages->GetSafeHandle(), &nX, &nY);
        if (pRecord->SetImage(ImageStrip(nX, nY), *pSource, nIconIndex))
            pRecord->m_nImageSource = nIconIndex;
    }
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(nIndex), std::move(pOwned));
    if (::InsertMenuA(m_hMenu, nPosition, nFlags, nID, reinterpret_cast<LPCSTR>(pRecord)))
        return TRUE;
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(nIndex));
    return FALSE;
}

BOOL CNewMenu::InsertODMenu(UINT nPosition, LPCSTR lpszText, UINT nFlags, UINT_PTR nID, int nIconIndex)
{
    return InsertODMenuWithImageList(nPosition, lpszText, nFlags, nID, nullptr, nIconIndex);
}

BOOL CNewMenu::InsertMenuWithIcon(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText,
                                  HICON hIcon)
{
    if (hIcon == nullptr)
        return InsertODMenuWithImageList(nPosition, lpszText, nFlags, nID, nullptr, -1);
    // The item copies the icon; the temporary list goes when this returns.
    CImageList temp;
    if (!temp.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1) || temp.Add(hIcon) < 0)
        return InsertODMenuWithImageList(nPosition, lpszText, nFlags, nID, nullptr, -1);
    return InsertODMenuWithImageList(nPosition, lpszText, nFlags, nID, &temp, 0);
}

//--- Titles and the system menu

BOOL CNewMenu::SetMenuTitle(LPCSTR lpszTitle, UINT nTitleFlags)
{
    if (static_cast<size_t>(::GetMenuItemCount(m_hMenu)) != m_items.size())
        ConvertToOwnerDraw();
    if (m_items.empty() || !(m_items[0]->m_nFlags & MF_SEPARATOR))
        InsertODMenu(0, nullptr, MF_BYPOSITION | MF_SEPARATOR, 0, -1);
    if (m_items.empty())
        return FALSE;
    CNewMenuItemData* pTitle = m_items[0].get();
    pTitle->m_strText = lpszTitle;
    pTitle->m_nTitleFlags = nTitleFlags | CNewMenuItemData::kTitle;
    if (m_items.size() < 2)
        return 0;

    // Flag 2 (vertical title) starts a new column at the second item.
    CNewMenuItemData* pSecond = m_items[1].get();
    UINT nWant = (nTitleFlags & CNewMenuItemData::kTitleVertical) ? MF_MENUBREAK : 0;
    if ((pSecond->m_nFlags & MF_MENUBREAK) != nWant)
    {
        pSecond->m_nFlags = (pSecond->m_nFlags & ~MF_MENUBREAK) | nWant | MF_BYPOSITION | MF_OWNERDRAW;
        ::ModifyMenuA(m_hMenu, 1, pSecond->m_nFlags, pSecond->m_nID, reinterpret_cast<LPCSTR>(pSecond));
    }
    return 1;
}

COLORREF CNewMenu::SetBitmapMaskColor(COLORREF crMask)
{
    COLORREF crOld = m_crBitmapMask;
    m_crBitmapMask = crMask;
    return crOld;
}

BOOL CNewMenu::ConvertSystemMenu(BOOL bChangeIds)
{
    m_bSystemMenu = TRUE;
    ConvertToOwnerDraw();
    if (!bChangeIds)
        return 0;
    ChangeItemId(SC_RESTORE, SC_RESTORE + 1);
    ChangeItemId(SC_MINIMIZE, SC_MINIMIZE + 1);
    return 1;
}

// Re-identifies the item of a command, here or in a submenu, keeping its
// record; a command that is not found is left alone.
void CNewMenu::ChangeItemId(UINT nFrom, UINT nTo)
{
    int nPos = -1;
    CNewMenu* pHolder = FindMenuItem(nFrom, nPos);
    if (pHolder == nullptr || nPos < 0)
        return;
    ULONG_PTR nData = 0;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (::GetMenuItemInfoA(pHolder->m_hMenu, static_cast<UINT>(nPos), TRUE, &info))
        nData = info.dwItemData;
    CNewMenuItemData* pRecord = pHolder->FindRecord(reinterpret_cast<void*>(nData));
    if (pRecord == nullptr)
        return;
    UINT nState = ::GetMenuState(pHolder->m_hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
    pRecord->m_nID = nTo;
    pRecord->m_nFlags = nState | MF_BYPOSITION | MF_OWNERDRAW;
    ::ModifyMenuA(pHolder->m_hMenu, static_cast<UINT>(nPos), pRecord->m_nFlags, nTo,
                  reinterpret_cast<LPCSTR>(pRecord));
}

//--- Images

int CMenuImageStrip::Share(const CImageList& rSource, int nIndex)
{
    if (rSource.GetSafeHandle() == nullptr || nIndex < 0 || nIndex >= rSource.GetImageCount())
        return -1;
    const std::pair<UINT, int> source(rSource.GetContentStamp(), nIndex);
    auto found = m_bySource.find(source);
    if (found != m_bySource.end())
    {
        ++m_slots[static_cast<size_t>(found->second)].nHolders;
        return found->second;
    }
    HICON hIcon = rSource.ExtractIcon(nIndex);
    if (hIcon == nullptr)
        return -1;
    const int nSlot = Store(hIcon);
    ::DestroyIcon(hIcon);
    if (nSlot < 0)
        return -1;
    Slot& slot = m_slots[static_cast<size_t>(nSlot)];
    slot.nHolders = 1;
    slot.source = source;
    m_bySource[source] = nSlot;
    return nSlot;
}

// A free slot now holding a copy of the icon, or -1.
int CMenuImageStrip::Store(HICON hIcon)
{
    if (m_images.GetSafeHandle() == nullptr &&
        !m_images.Create(m_cx, m_cy, ILC_COLOR24 | ILC_MASK, 4, 16))
        return -1;
    if (!m_free.empty())
    {
        const int nSlot = m_free.back();
        if (m_images.Replace(nSlot, hIcon) < 0)
            return -1;
        m_free.pop_back();
        return nSlot;
    }
    const int nSlot = m_images.Add(hIcon);
    if (nSlot >= 0)
        m_slots.resize(static_cast<size_t>(nSlot) + 1);
    return nSlot;
}

void CMenuImageStrip::Release(int nSlot)
{
    if (nSlot < 0 || static_cast<size_t>(nSlot) >= m_slots.size())
        return;
    Slot& slot = m_slots[static_cast<size_t>(nSlot)];
    if (slot.nHolders <= 0 || --slot.nHolders > 0)
        return;
    auto found = m_bySource.find(slot.source);
    if (found != m_bySource.end() && found->second == nSlot)
        m_bySource.erase(found);
    m_free.push_back(nSlot);
}

BOOL CNewMenuItemData::SetImage(const std::shared_ptr<CMenuImageStrip>& pStrip, const CImageList& rSource,
                                int nIndex)
{
    ClearImage();
    const int nSlot = pStrip != nullptr ? pStrip->Share(rSource, nIndex) : -1;
    if (nSlot < 0)
        return FALSE;
    m_pImages = pStrip;
    m_nImage = nSlot;
    return TRUE;
}

void CNewMenuItemData::ClearImage()
{
    if (m_pImages != nullptr)
        m_pImages->Release(m_nImage);
    m_pImages.reset();
    m_nImage = -1;
}

std::shared_ptr<CMenuImageStrip> CNewMenu::ImageStrip(int cx, int cy)
{
    // The top menu keeps the strips, so that the items of all its submenus
    // share them; a broken parent chain only shares less.
    CNewMenu* pTop = this;
    for (int nDepth = 0; nDepth < 64; ++nDepth)
    {
        CNewMenu* pUp = FromHandleNew(pTop->m_hParentMenu);
        if (pUp == nullptr || pUp == this)
            break;
        pTop = pUp;
    }
    auto& strips = pTop->m_imageStrips;
    strips.erase(std::remove_if(strips.begin(), strips.end(),
                                [](const std::weak_ptr<CMenuImageStrip>& p) { return p.expired(); }),
                 strips.end());
    for (const auto& pWeak : strips)
    {
        std::shared_ptr<CMenuImageStrip> pStrip = pWeak.lock();
        if (pStrip->GetIconWidth() == cx && pStrip->GetIconHeight() == cy)
            return pStrip;
    }
    auto pStrip = std::make_shared<CMenuImageStrip>(cx, cy);
    strips.push_back(pStrip);
    return pStrip;
}

BOOL CNewMenu::CopyIconFromImageList(CImageList* pSource, int nIndex, CImageList& rTarget)
{
    if (pSource == nullptr || pSource->GetSafeHandle() == nullptr)
        return FALSE;
    int cx = 0;
    int cy = 0;
    if (!ImageList_GetIconSize(pSource->GetSafeHandle(), &cx, &cy))
        return FALSE;
    HICON hIcon = ImageList_GetIcon(pSource->GetSafeHandle(), nIndex, ILD_NORMAL);
    if (hIcon == nullptr)
        return FALSE;
    BOOL bOk = rTarget.Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 1) && rTarget.Add(hIcon) >= 0;
    ::DestroyIcon(hIcon);
    if (!bOk)
        rTarget.DeleteImageList();
    return bOk;
}

// Reads the toolbar resource itself: the image of a button is its index
// among the buttons that are not separators.
BOOL CNewMenu::FindToolBarImage(UINT nID, UINT nToolBarResource, int& rImageIndex)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nToolBarResource), MAKEINTRESOURCEA(kRtToolBar));
    if (hRes == nullptr)
        return FALSE;
    DWORD cbSize = ::SizeofResource(hInst, hRes);
    HGLOBAL hData = ::LoadResource(hInst, hRes);
    const BYTE* pBytes = hData != nullptr ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    if (pBytes == nullptr)
        return FALSE;
    std::vector<UINT> ids = ReadToolBarIds(pBytes, cbSize);
    int nImage = 0;
    for (UINT nButton : ids)
    {
        if (nButton == 0)
            continue;
        if (nButton == nID)
        {
            if (nImage > 0)
                rImageIndex = nImage;
            return TRUE;
        }
        ++nImage;
    }
    return FALSE;
}

COLORREF CNewMenu::GetBitmapMaskColor() const
{
    return m_crBitmapMask == 0xFF000000 ? ::GetSysColor(COLOR_BTNFACE) : m_crBitmapMask;
}

BOOL CNewMenu::LoadToolBarBitmap(CImageList& rImages, UINT_PTR nResource)
{
    if (m_bImagesAreIcons)
        return rImages.Add(reinterpret_cast<HICON>(nResource)) >= 0;

    HINSTANCE hInst = AfxGetResourceHandle();
    LPCSTR lpszName = MAKEINTRESOURCEA(nResource);
    HRSRC hRes = ::FindResourceA(hInst, lpszName, RT_BITMAP);
    if (hRes == nullptr)
        return FALSE;
    int nColors = 0;
    HGLOBAL hData = ::LoadResource(hInst, hRes);
    const BITMAPINFOHEADER* pHeader =
        hData != nullptr ? static_cast<const BITMAPINFOHEADER*>(::LockResource(hData)) : nullptr;
    if (pHeader != nullptr && ::SizeofResource(hInst, hRes) >= sizeof(BITMAPINFOHEADER))
    {
        if (pHeader->biClrUsed != 0)
            nColors = static_cast<int>(pHeader->biClrUsed);
        else if (pHeader->biBitCount <= 8)
            nColors = 1 << pHeader->biBitCount;
    }
    // A 16-colour bitmap shows its standard greys in the system's colours.
    HBITMAP hBitmap = nColors == 16
        ? static_cast<HBITMAP>(::LoadImageA(hInst, lpszName, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS))
        : ::LoadBitmapA(hInst, lpszName);
    if (hBitmap == nullptr)
        return FALSE;
    BOOL bOk = rImages.Add(hBitmap, GetBitmapMaskColor()) >= 0;
    ::DeleteObject(hBitmap);
    return bOk;
}

//--- The Windows version

namespace {

int ReadWindowsVersionClass()
{
    DWORD dwVersion = ::GetVersion();
    const OSVERSIONINFOA info = AfxGetVersionInfo();
    DWORD nMajor = info.dwMajorVersion;
    DWORD nMinor = info.dwMinorVersion;
    if (dwVersion & 0x80000000)
    {
        if (nMajor < 4)
            return 0;
        if (nMajor == 4 && nMinor == 10)
            return 3;
        if (nMajor == 4 && nMinor == 90)
            return 4;
        return 2;
    }
    if (nMajor == 4)
        return 5;
    if (nMajor > 5)
        return 9;
    if (nMajor == 5)
    {
        switch (nMinor)
        {
        case 0: return 6;
        case 1: return 7;
        case 2: return 8;
        default: return 1;
        }
    }
    return 1;
}

} // namespace

int GetWindowsVersionClass()
{
    // Asked by every menu paint; the version does not change while running.
    static const int nClass = ReadWindowsVersionClass();
    return nClass;
}
