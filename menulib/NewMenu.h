// Owner-drawn menus.
//
// Classes in this file:
//   CMenuImageStrip   one image list the items of a menu tree share
//   CNewMenuItemData  the record behind one owner-drawn item (its item data)
//   CNewMenu          a menu whose items are all owner-drawn, mirroring its
//                     submenus with CNewMenu objects of their own
//
// Every item of a converted menu is MF_OWNERDRAW and carries as item data the
// record at the same position of m_items. Measuring and painting go through
// the current draw mode (MenuTheme.h). Failures are reported by results only.
#ifndef VA_MENULIB_NEWMENU_H
#define VA_MENULIB_NEWMENU_H

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "framework/app/FaultGuard.h"
#include "framework/core/CString.h"
#include "framework/win/CmdTarget.h"
#include "framework/win/ImageList.h"
#include "framework/win/Menu.h"

class CMenuTheme;
class CWnd;

//--- CMenuImageStrip
// The images of a menu tree's items of one size, one slot per image. A copy
// of a caller's image is made once per tree: items showing the same image
// of the same list share its slot. A slot is freed with the last item that
// holds it, and reused.
class CMenuImageStrip
{
public:
    CMenuImageStrip(int cx, int cy) : m_cx(cx), m_cy(cy) {}
    CMenuImageStrip(const CMenuImageStrip&) = delete;
    CMenuImageStrip& operator=(const CMenuImageStrip&) = delete;

    int GetIconWidth() const { return m_cx; }
    int GetIconHeight() const { return m_cy; }
    HIMAGELIST GetSafeHandle() const { return m_images.GetSafeHandle(); }
    // A held slot showing image nIndex of rSource, or -1 when there is no
    // such image. The caller releases it.
    int Share(const CImageList& rSource, int nIndex);
    void Release(int nSlot);

private:
    struct Slot
    {
        int nHolders = 0;
        std::pair<UINT, int> source;  // the source list's stamp and index
    };
    int Store(HICON hIcon);

    int m_cx;
    int m_cy;
    CImageList m_images;
    std::vector<Slot> m_slots;
    std::vector<int> m_free;
    std::map<std::pair<UINT, int>, int> m_bySource;
};

//--- CNewMenuItemData
class CNewMenuItemData : public CObject
{
    DECLARE_DYNAMIC(CNewMenuItemData)
public:
    CNewMenuItemData() = default;
    ~CNewMenuItemData() override { ClearImage(); }

    // Bits of m_nTitleFlags (separators shown as menu titles only).
    enum TitleFlags : UINT
    {
        kTitle = 0x01,
        kTitleVertical = 0x02,
        kTitleGradient = 0x04,
        kTitleSunken = 0x08,
        kTitleEtched = 0x10,
        kTitleRounded = 0x20,
        kTitleCentred = 0x40,
    };

    BOOL HasImage() const { return m_pImages != nullptr; }
    // The list holding the item's image (null without one) and its index.
    HIMAGELIST GetImageList() const { return m_pImages != nullptr ? m_pImages->GetSafeHandle() : nullptr; }
    int GetImageIndex() const { return m_nImage; }
    // Holds image nIndex of rSource in pStrip; FALSE, without an image,
    // when there is no such image.
    BOOL SetImage(const std::shared_ptr<CMenuImageStrip>& pStrip, const CImageList& rSource, int nIndex);
    void ClearImage();

    CString m_strText;            // caption, optionally "\t" accelerator
    UINT m_nTitleFlags = 0;
    UINT m_nFlags = 0;            // MF_ flags the item was given
    UINT_PTR m_nID = 0;           // command; the submenu's handle for a popup
    UINT m_nReuseMark = 0;        // set while the menu is being converted
    int m_nToolBarImage = -1;     // button image index in a toolbar resource
    int m_nImageSource = -1;      // -1: no image

private:
    std::shared_ptr<CMenuImageStrip> m_pImages;
    int m_nImage = -1;            // the slot in m_pImages
};

//--- CNewMenu
class CNewMenu : public CMenu
{
public:
    explicit CNewMenu(HMENU hParentMenu = nullptr);
    ~CNewMenu() override;

    // The CNewMenu attached to a handle, or null (also for a plain CMenu).
    static CNewMenu* FromHandleNew(HMENU hMenu);

    //--- Loading and destruction
    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL LoadMenuByName(LPCSTR lpszResourceName);
    virtual BOOL LoadMenuFromHandle(HMENU hMenu);
    // Deletes submenu objects and records, then the menu handle.
    virtual BOOL DestroyMenu();

    //--- Items
    BOOL AppendODMenu(LPCSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages, int nIconIndex);
    BOOL AppendODMenu(LPCSTR lpszText, UINT nFlags = MF_OWNERDRAW, UINT_PTR nID = 0, int nIconIndex = -1)
    {
        return AppendODMenu(lpszText, nFlags, nID, nullptr, nIconIndex);
    }
    BOOL AppendODMenuWithIcon(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, HICON hIcon);
    CNewMenu* AppendODPopupMenu(LPCSTR lpszText, UINT nFlags = 0);
    CNewMenu* AppendODPopupMenuWithIcon(LPCSTR lpszText, UINT nFlags, CImageList* pImages, int nIconIndex);
    CNewMenuItemData* ReplaceItemWithOwnerDraw(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText);
    // By position removes exactly the item there (and, for a popup, its
    // submenu object); by command searches the submenus.
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    // As DeleteMenu, but a removed popup's menu handle survives as a plain
    // (no longer owner-drawn) menu.
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL GetMenuText(UINT nItem, CString& rText, UINT nFlags) const;
    CNewMenu* FindMenuItem(UINT nID, int& nPosition);
    CNewMenu* GetSubMenu(int nPosition) const;
    void ConvertToOwnerDraw();

    //--- The main program's additions
    BOOL InsertODMenu(UINT nPosition, LPCSTR lpszText, UINT nFlags, UINT_PTR nID, int nIconIndex);
    BOOL InsertODMenuWithImageList(UINT nPosition, LPCSTR lpszText, UINT nFlags, UINT_PTR nID,
                                   CImageList* pImages, int nIconIndex);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nID = 0, LPCSTR lpszText = nullptr, int nIconIndex = -1)
    {
        return AppendODMenu(lpszText, nFlags, nID, nullptr, nIconIndex);
    }
    BOOL AppendMenuWithImageList(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CImageList* pImages,
                                 int nIconIndex)
    {
        return AppendODMenu(lpszText, nFlags, nID, pImages, nIconIndex);
    }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID = 0, LPCSTR lpszText = nullptr,
                    int nIconIndex = -1)
    {
        return InsertODMenu(nPosition, lpszText, nFlags, nID, nIconIndex);
    }
    BOOL InsertMenuWithImageList(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText,
                                 CImageList* pImages, int nIconIndex)
    {
        return InsertODMenuWithImageList(nPosition, lpszText, nFlags, nID, pImages, nIconIndex);
    }
    BOOL InsertMenuWithIcon(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText, HICON hIcon);
    BOOL SetMenuTitle(LPCSTR lpszTitle, UINT nTitleFlags);
    COLORREF SetBitmapMaskColor(COLORREF crMask);
    BOOL ConvertSystemMenu(BOOL bChangeIds);

    //--- Images
    // The icon at nIndex of pSource as the only image of a new list.
    static BOOL CopyIconFromImageList(CImageList* pSource, int nIndex, CImageList& rTarget);
    static BOOL FindToolBarImage(UINT nID, UINT nToolBarResource, int& rImageIndex);
    COLORREF GetBitmapMaskColor() const;
    BOOL LoadToolBarBitmap(CImageList& rImages, UINT_PTR nResource);
    // The icon strip AppendODMenu and InsertODMenu take indexes into when they
    // are given no image list of their own.
    void SetIconImageList(CImageList* pImages) { m_pIconImages = pImages; }

    //--- Owner-draw entry points
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMis);
    virtual void DrawTitle(LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar);
    virtual BOOL EraseBackground(HWND hWnd, HDC hDC);
    virtual void OnPopupOpened();
    virtual void OnPopupClosed(HWND hWndOwner);
    // Every popup of a menu bar is closed once the menu loop ends, also
    // where no popup-menu hook counted them closing.
    void OnMenuLoopEnded();
    BOOL IsMenuBarItem(const MEASUREITEMSTRUCT* lpMis) const;
    void RecordMenuBarItemRect(HDC hDC, const RECT& rcItem);

    //--- Tracking: the framework's record of the popup being tracked
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    static CNewMenu* GetTrackingMenu(HWND hWnd);

    //--- Static operations the frames call
    static BOOL OnMeasureItem(HWND hWnd, const MSG& msg);
    static LRESULT OnMenuChar(UINT nChar, UINT nFlags, CNewMenu* pMenu);
    static void OnInitMenuPopup(HWND hWndFrame, HMENU hPopup, UINT nIndex, BOOL bSysMenu);
    // The popup OnInitMenuPopup noted last, for the popup-menu hook.
    static HMENU TakePendingOwnerMenu();
    static HMENU PeekPendingOwnerMenu();
    // Makes a registered draw mode current; an unknown number changes
    // nothing and answers null.
    static CMenuTheme* SetMenuDrawMode(int nMode);

    //--- State the painters and the hook read
    const std::vector<std::unique_ptr<CNewMenuItemData>>& Items() const { return m_items; }
    const std::vector<std::unique_ptr<CNewMenu>>& SubMenus() const { return m_subMenus; }
    CNewMenuItemData* FindRecord(const void* pItemData) const;
    BOOL IsPopup() const { return m_bPopup; }
    HMENU GetParentMenu() const { return m_hParentMenu; }
    void SetParentMenu(HMENU hParent) { m_hParentMenu = hParent; }
    const RECT& GetMenuBarItemRect() const { return m_rcMenuBarItem; }
    int GetOpenPopups() const { return m_nOpenPopups; }
    int GetIconWidth() const { return m_nIconX; }
    int GetIconHeight() const { return m_nIconY; }
    CImageList* GetCheckImages() const { return m_pCheckImages; }
    int GetSelectCheck() const { return m_nSelectCheck; }
    int GetAlwaysCheck() const { return m_nAlwaysCheck; }
    BOOL IsSystemMenu() const { return m_bSystemMenu; }

    //--- Glyphs
    static void DrawMarlettGlyph(HDC hDC, const RECT& rc, char ch, BOOL bBold);
    static void DrawCheckGlyph(HDC hDC, const RECT& rc, UINT nState, BOOL bRadio);
    static void DrawCheckGlyphClassic(HDC hDC, const RECT& rc, UINT nState, BOOL bRadio);
    static void DrawSystemGlyph(HDC hDC, const RECT& rc, UINT nID, UINT nState);
    static void DrawSystemGlyphFlat(HDC hDC, const RECT& rc, UINT nID, UINT nState);

    BOOL m_bImagesAreIcons = FALSE;

private:
    // The menu that holds nID as a plain item, searched depth first.
    CNewMenu* FindItemMenu(UINT nID, const void* pItemData);
    // Both searches: the menu holding nID (and, with bMatchData, pItemData)
    // and the item's position in it, or null and -1.
    CNewMenu* FindPlainItem(UINT nID, const void* pItemData, BOOL bMatchData, int& nPosition);
    CNewMenuItemData* NewRecord(LPCSTR lpszText);
    CNewMenuItemData* TakeReusableRecord(UINT_PTR nID);
    CNewMenuItemData* ConvertItem(UINT nPosition, UINT nFlags, UINT_PTR nID, const CString& caption,
                                  std::vector<std::unique_ptr<CNewMenuItemData>>& rFresh);
    // The caption of the item at nPosition as the conversion takes it.
    CString CurrentCaption(UINT nPosition) const;
    // Gives pRecord the image nIconIndex of pImages, or of the toolbar
    // resource nIconIndex when pImages is null.
    void SetRecordImage(CNewMenuItemData* pRecord, CImageList* pImages, int nIconIndex);
    // The strip of cx by cy images this menu's tree shares, found through
    // its top menu while items hold it, else a new one.
    std::shared_ptr<CMenuImageStrip> ImageStrip(int cx, int cy);
    BOOL RemoveItem(UINT nPosition, UINT nFlags, BOOL bDestroySubMenu);
    void DropPopupObject(HMENU hSubMenu, BOOL bDestroySubMenu);
    // Deletes the objects (submenus, records), leaving the handles alone.
    void ReleaseObjects();
    void RestorePlainItems();
    void AdoptSubMenu(UINT_PTR nID, UINT nFlags);
    void SetOpenPopupDelta(int nDelta, HWND hWndOwner);
    void ChangeItemId(UINT nFrom, UINT nTo);

    std::vector<std::unique_ptr<CNewMenu>> m_subMenus;
    std::vector<std::unique_ptr<CNewMenuItemData>> m_items;
    int m_nIconX = 16;
    int m_nIconY = 15;
    COLORREF m_crBitmapMask = 0xFF000000;  // 0xFF000000: COLOR_BTNFACE
    CImageList* m_pCheckImages = nullptr;
    int m_nSelectCheck = -1;
    int m_nAlwaysCheck = -1;
    HMENU m_hParentMenu = nullptr;
    RECT m_rcMenuBarItem = { 0, 0, 0, 0 };
    int m_nOpenPopups = 0;
    BOOL m_bCheckImagesNotOwned = FALSE;
    BOOL m_bPopup = TRUE;
    BOOL m_bSystemMenu = FALSE;
    CImageList* m_pIconImages = nullptr;  // not owned
    std::vector<std::weak_ptr<CMenuImageStrip>> m_imageStrips;  // of the top menu
    // A menu on the stack: its place in the live set and the handle map,
    // which go with its frame when a fault breaks that off.
    CFaultHold m_membership;
};

// Repaints one owner-drawn menu-bar item of hWndFrame at once.
BOOL RedrawMenuBarItem(HWND hWndFrame, HMENU hMenu, int nPosition, UINT nItemState);

// The running Windows version as a class 0 to 9 (see the .cpp).
int GetWindowsVersionClass();

#endif // VA_MENULIB_NEWMENU_H
