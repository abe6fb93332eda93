// CNewMenu: loading, conversion to owner-draw, the item records of insert,
// delete and remove, searches, texts, images and the menu-character answer.
#include <gtest/gtest.h>

#include <vector>

#include "menulib/MenuTheme.h"
#include "menulib/NewMenu.h"
#include "MenuTestsRes.h"
#include "tests/support/WindowCapture.h"

namespace {

ULONG_PTR ItemData(HMENU hMenu, UINT nPos)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    EXPECT_TRUE(::GetMenuItemInfoA(hMenu, nPos, TRUE, &info));
    return info.dwItemData;
}

bool IsOwnerDrawn(HMENU hMenu, UINT nPos)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoA(hMenu, nPos, TRUE, &info) && (info.fType & MFT_OWNERDRAW) != 0;
}

// Every item is owner-drawn and carries the record at its own position.
void ExpectInvariant(const CNewMenu& menu)
{
    int nCount = ::GetMenuItemCount(menu.m_hMenu);
    ASSERT_EQ(static_cast<size_t>(nCount), menu.Items().size());
    for (int i = 0; i < nCount; ++i)
    {
        EXPECT_TRUE(IsOwnerDrawn(menu.m_hMenu, static_cast<UINT>(i))) << "position " << i;
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(menu.Items()[static_cast<size_t>(i)].get()),
                  ItemData(menu.m_hMenu, static_cast<UINT>(i)))
            << "position " << i;
    }
}

HICON TestIcon()
{
    return ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION, shared
}

// A 16 x 16 icon of one colour; the caller destroys it.
HICON SolidIcon(COLORREF colour)
{
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hColour = ::CreateCompatibleBitmap(hScreen, 16, 16);
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hColour);
    RECT rc = {0, 0, 16, 16};
    HBRUSH hBrush = ::CreateSolidBrush(colour);
    ::FillRect(hDC, &rc, hBrush);
    ::SelectObject(hDC, hMask);
    ::PatBlt(hDC, 0, 0, 16, 16, BLACKNESS);  // opaque everywhere
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBrush);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    ICONINFO info = {TRUE, 0, 0, hMask, hColour};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColour);
    ::DeleteObject(hMask);
    return hIcon;
}

// The pixels of an item's image, as the painters take it from its list.
std::vector<COLORREF> ItemPixels(const CNewMenuItemData& record)
{
    return ImagePixels(record.GetImageList(), record.GetImageIndex());
}

} // namespace

TEST(NewMenuLoadTest, ResourceBecomesATreeOfOwnerDrawnMenus)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TESTMENU));
    EXPECT_FALSE(menu.IsPopup());
    ASSERT_EQ(2u, menu.SubMenus().size());
    ExpectInvariant(menu);

    CNewMenu* pFile = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pFile);
    EXPECT_TRUE(pFile->IsPopup());
    EXPECT_EQ(menu.m_hMenu, pFile->GetParentMenu());
    ExpectInvariant(*pFile);
    ASSERT_EQ(1u, pFile->SubMenus().size());
    ExpectInvariant(*pFile->SubMenus()[0]);

    // The caption with its accelerator, and one with the trail byte 0x5C.
    CString text;
    EXPECT_TRUE(pFile->GetMenuText(0, text, MF_BYPOSITION));
    EXPECT_STREQ("\x8a\x4a\x82\xad(&O)\tCtrl+O", text);
    EXPECT_TRUE(pFile->GetMenuText(3, text, MF_BYPOSITION));
    EXPECT_STREQ("\x95\x5c\x8e\xa6(&V)", text);
    EXPECT_TRUE(pFile->Items()[2]->m_nFlags & MF_SEPARATOR);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(::GetSubMenu(pFile->m_hMenu, 3)), pFile->Items()[3]->m_nID);
}

TEST(NewMenuLoadTest, LoaderFailuresAnswerFalse)
{
    CNewMenu missing;
    EXPECT_FALSE(missing.LoadMenu(9999));
    CNewMenu notAMenu;
    EXPECT_FALSE(notAMenu.LoadMenuFromHandle(reinterpret_cast<HMENU>(0x1234)));

    // A handle another object holds cannot be attached twice.
    CNewMenu first;
    ASSERT_TRUE(first.LoadMenu(IDR_TESTMENU));
    CNewMenu second;
    EXPECT_FALSE(second.LoadMenuFromHandle(first.m_hMenu));
}

TEST(NewMenuConvertTest, ConvertingAgainReusesRecordsAndDropsThoseOfRemovedItems)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenuWithIcon(0, ID_TEST_OPEN, "Open", TestIcon()));
    ASSERT_TRUE(menu.AppendODMenu("Save", 0, ID_TEST_SAVE));
    CNewMenuItemData* pOpen = menu.Items()[0].get();
    ASSERT_TRUE(pOpen->HasImage());

    // Items added behind the library's back become owner-drawn too.
    ::AppendMenuA(menu.m_hMenu, MF_STRING, ID_TEST_CUT, "Cut");
    ::InsertMenuA(menu.m_hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    menu.ConvertToOwnerDraw();
    ExpectInvariant(menu);
    ASSERT_EQ(4u, menu.Items().size());
    EXPECT_EQ(pOpen, menu.Items()[1].get());
    EXPECT_TRUE(menu.Items()[1]->HasImage());
    EXPECT_STREQ("Cut", menu.Items()[3]->m_strText);
    EXPECT_TRUE(menu.Items()[0]->m_nFlags & MF_SEPARATOR);

    ::DeleteMenu(menu.m_hMenu, ID_TEST_SAVE, MF_BYCOMMAND);
    menu.ConvertToOwnerDraw();
    ExpectInvariant(menu);
    EXPECT_EQ(3u, menu.Items().size());
    EXPECT_EQ(pOpen, menu.Items()[1].get());
}

TEST(NewMenuConvertTest, SystemDrawnBitmapItemsKeepTheirLookAndThePositionsInStep)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TESTMENU));
    // What a maximized MDI child adds to its frame's menu bar.
    ASSERT_TRUE(::AppendMenuA(menu.m_hMenu, MF_BITMAP | MF_HELP, SC_CLOSE,
                              reinterpret_cast<LPCSTR>(HBMMENU_MBAR_CLOSE)));
    ::InsertMenuA(menu.m_hMenu, 1, MF_BYPOSITION | MF_STRING, ID_TEST_SAVE, "Plain");
    menu.ConvertToOwnerDraw();
    ASSERT_EQ(4u, menu.Items().size());
    EXPECT_FALSE(IsOwnerDrawn(menu.m_hMenu, 3));
    EXPECT_TRUE(::GetMenuState(menu.m_hMenu, 3, MF_BYPOSITION) & MF_BITMAP);
    EXPECT_EQ(UINT_PTR(SC_CLOSE), menu.Items()[3]->m_nID);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(menu.Items()[1].get()), ItemData(menu.m_hMenu, 1));
    EXPECT_TRUE(IsOwnerDrawn(menu.m_hMenu, 1));

    CNewMenuItemData* pBitmapRecord = menu.Items()[3].get();
    menu.ConvertToOwnerDraw();
    EXPECT_EQ(pBitmapRecord, menu.Items()[3].get());
    ASSERT_TRUE(menu.DeleteMenu(3, MF_BYPOSITION));
    ExpectInvariant(menu);
}

// Regression: each opening converted the menu again and took the text the
// system still kept from before the item was owner-drawn, so a shortcut
// text put into a loaded menu's record vanished when the menu showed.
TEST(NewMenuConvertTest, ConvertingAgainKeepsTheCaptionOfAnItemsRecord)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TESTMENU));
    CNewMenu* pFile = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pFile);
    CNewMenuItemData* pRecord = pFile->Items()[1].get();
    const CString caption = pRecord->m_strText + "\tCtrl+Q";
    pRecord->m_strText = caption;
    ::AppendMenuA(pFile->m_hMenu, MF_STRING, ID_TEST_CUT, "Cut");
    pFile->ConvertToOwnerDraw();
    pFile->ConvertToOwnerDraw();
    ExpectInvariant(*pFile);
    EXPECT_EQ(pRecord, pFile->Items()[1].get());
    EXPECT_STREQ(caption, pFile->Items()[1]->m_strText);
    // An item added as plain text still brings its own.
    EXPECT_STREQ("Cut", pFile->Items().back()->m_strText);
}

TEST(NewMenuConvertTest, TwoItemsWithOneCommandKeepTwoRecordsInOrder)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu("First", 0, ID_TEST_COPY));
    ASSERT_TRUE(menu.AppendODMenu("Second", 0, ID_TEST_COPY));
    CNewMenuItemData* pFirst = menu.Items()[0].get();
    CNewMenuItemData* pSecond = menu.Items()[1].get();
    menu.ConvertToOwnerDraw();
    ExpectInvariant(menu);
    EXPECT_EQ(pFirst, menu.Items()[0].get());
    EXPECT_EQ(pSecond, menu.Items()[1].get());
}

TEST(NewMenuItemsTest, ZeroCommandMakesASeparatorEvenWithText)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu("not a caption", 0, 0));
    EXPECT_TRUE(::GetMenuState(menu.m_hMenu, 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(UINT(MF_SEPARATOR | MF_OWNERDRAW), menu.Items()[0]->m_nFlags);
    ExpectInvariant(menu);
}

TEST(NewMenuItemsTest, PopupChildIsKeptWithItsParent)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    CNewMenu* pChild = menu.AppendODPopupMenu("Child");
    ASSERT_NE(nullptr, pChild);
    EXPECT_EQ(menu.m_hMenu, pChild->GetParentMenu());
    EXPECT_EQ(pChild, menu.GetSubMenu(0));
    ASSERT_TRUE(pChild->AppendODMenu("Inside", 0, ID_TEST_DEEP));
    int nPos = -1;
    EXPECT_EQ(pChild, menu.FindMenuItem(ID_TEST_DEEP, nPos));
    EXPECT_EQ(0, nPos);
    EXPECT_EQ(nullptr, menu.FindMenuItem(ID_TEST_PASTE, nPos));
    EXPECT_EQ(-1, nPos);
    CString text;
    EXPECT_TRUE(menu.GetMenuText(ID_TEST_DEEP, text, MF_BYCOMMAND));
    EXPECT_STREQ("Inside", text);
    EXPECT_FALSE(menu.GetMenuText(5, text, MF_BYPOSITION));
}

// Items "A", "B", "C" where the first and the last share a command.
void MakeSharedCommandMenu(CNewMenu& menu)
{
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu("A", 0, ID_TEST_COPY));
    ASSERT_TRUE(menu.AppendODMenu("B", 0, ID_TEST_SAVE));
    ASSERT_TRUE(menu.AppendODMenu("C", 0, ID_TEST_COPY));
}

// Regression: deleting by position used to delete every record with the
// item's command, leaving the other item with a freed record as its data.
TEST(NewMenuDeleteTest, DeleteByPositionRemovesOnlyThatItemsRecord)
{
    CNewMenu menu;
    ASSERT_NO_FATAL_FAILURE(MakeSharedCommandMenu(menu));
    CNewMenuItemData* pLast = menu.Items()[2].get();

    ASSERT_TRUE(menu.DeleteMenu(0, MF_BYPOSITION));
    ExpectInvariant(menu);
    ASSERT_EQ(2u, menu.Items().size());
    EXPECT_EQ(pLast, menu.Items()[1].get());
    EXPECT_STREQ("C", menu.Items()[1]->m_strText);
    EXPECT_FALSE(menu.DeleteMenu(7, MF_BYPOSITION));
    EXPECT_EQ(2u, menu.Items().size());
}

// Regression: deleting a later item by position also erased the first
// record with the same command; the test above deleted that first record.
TEST(NewMenuDeleteTest, DeleteByPositionKeepsAnEarlierItemWithTheSameCommand)
{
    CNewMenu menu;
    ASSERT_NO_FATAL_FAILURE(MakeSharedCommandMenu(menu));
    CNewMenuItemData* pFirst = menu.Items()[0].get();
    CNewMenuItemData* pMiddle = menu.Items()[1].get();

    ASSERT_TRUE(menu.DeleteMenu(2, MF_BYPOSITION));
    ExpectInvariant(menu);
    ASSERT_EQ(2u, menu.Items().size());
    EXPECT_EQ(pFirst, menu.Items()[0].get());
    EXPECT_EQ(pMiddle, menu.Items()[1].get());
    EXPECT_EQ(2, ::GetMenuItemCount(menu.m_hMenu));
}

TEST(NewMenuDeleteTest, DeleteByCommandFindsTheSubmenuThatHoldsIt)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TESTMENU));
    CNewMenu* pDeep = menu.GetSubMenu(0)->GetSubMenu(3);
    ASSERT_NE(nullptr, pDeep);
    ASSERT_TRUE(menu.DeleteMenu(ID_TEST_DEEP, MF_BYCOMMAND));
    EXPECT_EQ(0, ::GetMenuItemCount(pDeep->m_hMenu));
    EXPECT_TRUE(pDeep->Items().empty());
    // A command no menu holds: the plain call, which fails.
    EXPECT_FALSE(menu.DeleteMenu(ID_TEST_DEEP, MF_BYCOMMAND));
}

TEST(NewMenuDeleteTest, DeletingAPopupDropsItsObjectAndRemovingKeepsItsMenu)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TESTMENU));
    CNewMenu* pFile = menu.GetSubMenu(0);
    HMENU hView = ::GetSubMenu(pFile->m_hMenu, 3);
    ASSERT_NE(nullptr, CNewMenu::FromHandleNew(hView));

    // RemoveMenu: the handle survives as a plain menu nobody's records point into.
    ASSERT_TRUE(pFile->RemoveMenu(3, MF_BYPOSITION));
    EXPECT_TRUE(pFile->SubMenus().empty());
    EXPECT_EQ(nullptr, CNewMenu::FromHandleNew(hView));
    ASSERT_TRUE(::IsMenu(hView));
    EXPECT_FALSE(IsOwnerDrawn(hView, 0));
    char text[64] = "";
    ::GetMenuStringA(hView, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("\x90\x5b\x82\xa2\x8d\x80\x96\xda(&D)", text);
    ExpectInvariant(*pFile);
    ::DestroyMenu(hView);

    // DeleteMenu: the submenu and its object go.
    HMENU hEdit = ::GetSubMenu(menu.m_hMenu, 1);
    ASSERT_TRUE(menu.DeleteMenu(1, MF_BYPOSITION));
    EXPECT_FALSE(::IsMenu(hEdit));
    EXPECT_EQ(1u, menu.SubMenus().size());
    ExpectInvariant(menu);
}

TEST(NewMenuInsertTest, InsertBeforeACommandThatOnlyASubmenuHolds)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TESTMENU));
    ASSERT_TRUE(menu.InsertMenu(ID_TEST_COPY, MF_BYCOMMAND, ID_TEST_SAVE, "Inserted"));
    CNewMenu* pEdit = menu.GetSubMenu(1);
    ExpectInvariant(*pEdit);
    ASSERT_EQ(4u, pEdit->Items().size());
    EXPECT_STREQ("Inserted", pEdit->Items()[1]->m_strText);
    EXPECT_EQ(UINT(ID_TEST_SAVE), ::GetMenuItemID(pEdit->m_hMenu, 1));
    EXPECT_FALSE(menu.InsertMenu(4242, MF_BYCOMMAND, ID_TEST_SAVE, "Nowhere"));

    ASSERT_TRUE(pEdit->InsertMenu(static_cast<UINT>(-1), MF_BYPOSITION, 0, nullptr));
    ExpectInvariant(*pEdit);
    EXPECT_TRUE(pEdit->Items().back()->m_nFlags & MF_SEPARATOR);
}

TEST(NewMenuInsertTest, InsertWithIconCopiesTheIconAndNullGivesNone)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.InsertMenuWithIcon(0, MF_BYPOSITION, ID_TEST_OPEN, "Icon", TestIcon()));
    ASSERT_TRUE(menu.InsertMenuWithIcon(1, MF_BYPOSITION, ID_TEST_SAVE, "None", nullptr));
    ExpectInvariant(menu);
    ASSERT_TRUE(menu.Items()[0]->HasImage());
    EXPECT_FALSE(ItemPixels(*menu.Items()[0]).empty());
    EXPECT_FALSE(menu.Items()[1]->HasImage());
    EXPECT_EQ(-1, menu.Items()[1]->m_nImageSource);
}

TEST(NewMenuInsertTest, ImageListItemsCopyTheirIcon)
{
    CImageList strip;
    ASSERT_TRUE(strip.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 1));
    ASSERT_EQ(0, strip.Add(TestIcon()));
    ASSERT_EQ(1, strip.Add(TestIcon()));
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenuWithImageList(0, ID_TEST_OPEN, "Listed", &strip, 1));
    ASSERT_TRUE(menu.AppendMenuWithImageList(0, ID_TEST_SAVE, "Out of range", &strip, 9));
    ASSERT_TRUE(menu.Items()[0]->HasImage());
    EXPECT_EQ(0, menu.Items()[0]->m_nImageSource);
    EXPECT_FALSE(menu.Items()[1]->HasImage());
    strip.DeleteImageList();  // the items keep a copy
    EXPECT_FALSE(ItemPixels(*menu.Items()[0]).empty());
}

TEST(NewMenuInsertTest, TheItemsOfAMenuTreeShareOneCopyOfEachImage)
{
    HICON icons[3] = {SolidIcon(RGB(255, 0, 0)), SolidIcon(RGB(0, 0, 255)), SolidIcon(RGB(0, 255, 0))};
    CImageList strip;
    ASSERT_TRUE(strip.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 1));
    ASSERT_EQ(0, strip.Add(icons[0]));
    ASSERT_EQ(1, strip.Add(icons[1]));
    const std::vector<COLORREF> red = ImagePixels(strip, 0);
    const std::vector<COLORREF> blue = ImagePixels(strip, 1);
    ASSERT_NE(red, blue);
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    CNewMenu* pSub = menu.AppendODPopupMenuWithIcon("Folder", 0, &strip, 0);
    ASSERT_NE(nullptr, pSub);
    for (UINT i = 0; i < 200; ++i)
    {
        ASSERT_TRUE(menu.AppendMenuWithImageList(0, 100 + i, "Top", &strip, 1));
        ASSERT_TRUE(pSub->InsertMenuWithImageList(i, MF_BYPOSITION, 400 + i, "Inside", &strip, 1));
    }
    // One list for the whole tree, one copy of each image in it.
    const CNewMenuItemData& folder = *menu.Items()[0];
    const CNewMenuItemData& top = *menu.Items()[1];
    const CNewMenuItemData& inside = *pSub->Items()[199];
    EXPECT_EQ(folder.GetImageList(), inside.GetImageList());
    EXPECT_EQ(top.GetImageIndex(), inside.GetImageIndex());
    EXPECT_NE(folder.GetImageIndex(), inside.GetImageIndex());
    EXPECT_EQ(2, ImageList_GetImageCount(inside.GetImageList()));
    EXPECT_EQ(red, ItemPixels(folder));
    EXPECT_EQ(blue, ItemPixels(inside));

    // Images that change in place are copied again: a removal moves the
    // source's images, so index 0 is blue now.
    ASSERT_TRUE(strip.Remove(0));
    ASSERT_TRUE(pSub->AppendMenuWithImageList(0, 700, "After", &strip, 0));
    EXPECT_EQ(blue, ItemPixels(*pSub->Items().back()));
    // A list made where another was destroyed is another list.
    for (int i = 0; i < 2; ++i)
    {
        CImageList temp;
        ASSERT_TRUE(temp.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
        ASSERT_EQ(0, temp.Add(icons[i]));
        ASSERT_TRUE(menu.AppendMenuWithImageList(0, 800, "Temp", &temp, 0));
        EXPECT_EQ(i == 0 ? red : blue, ItemPixels(*menu.Items().back()));
    }

    // The copies go with their last item, and their slots are used again.
    while (pSub->GetMenuItemCount() > 0)
        ASSERT_TRUE(pSub->DeleteMenu(0, MF_BYPOSITION));
    for (UINT i = 0; i < 200; ++i)
        ASSERT_TRUE(menu.DeleteMenu(1, MF_BYPOSITION));
    const int nBefore = ImageList_GetImageCount(folder.GetImageList());
    CImageList green;
    ASSERT_TRUE(green.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
    ASSERT_EQ(0, green.Add(icons[2]));
    ASSERT_TRUE(menu.AppendMenuWithImageList(0, 900, "Green", &green, 0));
    EXPECT_EQ(nBefore, ImageList_GetImageCount(folder.GetImageList()));
    EXPECT_EQ(ImagePixels(green, 0), ItemPixels(*menu.Items().back()));
    EXPECT_EQ(red, ItemPixels(folder));
    for (HICON hIcon : icons)
        ::DestroyIcon(hIcon);
}

TEST(NewMenuTitleTest, TitleOnAnEmptyMenuCreatesTheSeparatorAndAnswersZero)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_EQ(0, menu.SetMenuTitle("Title", CNewMenuItemData::kTitleGradient));
    ASSERT_EQ(1u, menu.Items().size());
    EXPECT_EQ(UINT(CNewMenuItemData::kTitle | CNewMenuItemData::kTitleGradient), menu.Items()[0]->m_nTitleFlags);
    EXPECT_STREQ("Title", menu.Items()[0]->m_strText);

    ASSERT_TRUE(menu.AppendODMenu("Item", 0, ID_TEST_OPEN));
    EXPECT_EQ(1, menu.SetMenuTitle("Vertical", CNewMenuItemData::kTitleVertical));
    EXPECT_EQ(1u + 1u, menu.Items().size());  // the title separator is reused
    EXPECT_TRUE(::GetMenuState(menu.m_hMenu, 1, MF_BYPOSITION) & MF_MENUBREAK);
    EXPECT_EQ(1, menu.SetMenuTitle("Horizontal", 0));
    EXPECT_FALSE(::GetMenuState(menu.m_hMenu, 1, MF_BYPOSITION) & MF_MENUBREAK);
    ExpectInvariant(menu);
}

TEST(NewMenuTitleTest, SystemMenuConversionReidentifiesRestoreAndMinimize)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ::AppendMenuA(menu.m_hMenu, MF_STRING, SC_RESTORE, "Restore");
    ::AppendMenuA(menu.m_hMenu, MF_STRING, SC_MINIMIZE, "Minimize");
    ::AppendMenuA(menu.m_hMenu, MF_STRING, SC_CLOSE, "Close");
    EXPECT_EQ(0, menu.ConvertSystemMenu(FALSE));
    EXPECT_EQ(UINT(SC_RESTORE), ::GetMenuItemID(menu.m_hMenu, 0));
    EXPECT_EQ(1, menu.ConvertSystemMenu(TRUE));
    EXPECT_EQ(UINT(SC_RESTORE + 1), ::GetMenuItemID(menu.m_hMenu, 0));
    EXPECT_EQ(UINT(SC_MINIMIZE + 1), ::GetMenuItemID(menu.m_hMenu, 1));
    EXPECT_EQ(UINT(SC_CLOSE), ::GetMenuItemID(menu.m_hMenu, 2));
    EXPECT_TRUE(menu.IsSystemMenu());
    ExpectInvariant(menu);
}

namespace {

void AppendSystemItems(CNewMenu& menu)
{
    ASSERT_TRUE(menu.CreatePopupMenu());
    ::AppendMenuA(menu.m_hMenu, MF_STRING, SC_RESTORE, "Restore");
    ::AppendMenuA(menu.m_hMenu, MF_STRING, SC_MINIMIZE, "Minimize");
    ::AppendMenuA(menu.m_hMenu, MF_STRING, SC_CLOSE, "Close");
}

std::vector<UINT> Ids(const CNewMenu& menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(menu.m_hMenu); ++i)
        ids.push_back(::GetMenuItemID(menu.m_hMenu, i));
    return ids;
}

} // namespace

TEST(NewMenuTitleTest, MainProgramsOpenSystemMenuHasNewIdsUntilItCloses)
{
    const std::vector<UINT> original = { SC_RESTORE, SC_MINIMIZE, SC_CLOSE };
    {
        CNewMenuHook setup(MenuLibBuild::MainProgram);
        CNewMenu system;
        AppendSystemItems(system);
        CNewMenu::OnInitMenuPopup(nullptr, system.m_hMenu, 0, TRUE);
        EXPECT_EQ((std::vector<UINT>{ SC_RESTORE + 1, SC_MINIMIZE + 1, SC_CLOSE }), Ids(system));
        ExpectInvariant(system);
        system.OnPopupClosed(nullptr);
        EXPECT_EQ(original, Ids(system));
        ExpectInvariant(system);

        // An ordinary popup that holds the same commands keeps them.
        CNewMenu plain;
        AppendSystemItems(plain);
        CNewMenu::OnInitMenuPopup(nullptr, plain.m_hMenu, 0, FALSE);
        EXPECT_EQ(original, Ids(plain));
    }
    CNewMenuHook restore(MenuLibBuild::DialogsLibrary);
    // The dialogs library's copy leaves the system menu's ids alone.
    CNewMenu system;
    AppendSystemItems(system);
    CNewMenu::OnInitMenuPopup(nullptr, system.m_hMenu, 0, TRUE);
    EXPECT_EQ(original, Ids(system));
    ExpectInvariant(system);
}

TEST(NewMenuImageTest, ToolBarImageIsTheButtonsIndexAmongButtons)
{
    int nImage = -1;
    EXPECT_TRUE(CNewMenu::FindToolBarImage(ID_TEST_PASTE, IDR_TESTTOOLBAR, nImage));
    EXPECT_EQ(2, nImage);
    nImage = -1;
    EXPECT_TRUE(CNewMenu::FindToolBarImage(ID_TEST_CUT, IDR_TESTTOOLBAR, nImage));
    EXPECT_EQ(-1, nImage);  // image 0 is not stored
    EXPECT_FALSE(CNewMenu::FindToolBarImage(ID_TEST_OPEN, IDR_TESTTOOLBAR, nImage));
    EXPECT_FALSE(CNewMenu::FindToolBarImage(ID_TEST_OPEN, 9999, nImage));

    // No bitmap of that id: the item stays without an image.
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu("Copy", 0, ID_TEST_COPY, IDR_TESTTOOLBAR));
    EXPECT_FALSE(menu.Items()[0]->HasImage());
    EXPECT_EQ(-1, menu.Items()[0]->m_nImageSource);
    EXPECT_EQ(-1, menu.Items()[0]->m_nToolBarImage);
}

TEST(NewMenuImageTest, MaskColourStandsForTheButtonFaceUntilSet)
{
    CNewMenu menu;
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), menu.GetBitmapMaskColor());
    EXPECT_EQ(COLORREF(0xFF000000), menu.SetBitmapMaskColor(RGB(255, 0, 255)));
    EXPECT_EQ(RGB(255, 0, 255), menu.GetBitmapMaskColor());
}

TEST(NewMenuCharTest, MnemonicExecutesAndFirstLetterSelectsAfterTheHighlight)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu("Apple", 0, 1));
    ASSERT_TRUE(menu.AppendODMenu("Banana (&A)", 0, 2));
    ASSERT_TRUE(menu.AppendODMenu("Berry", 0, 3));
    ASSERT_TRUE(menu.AppendODMenu("Blue", 0, 4));

    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE), CNewMenu::OnMenuChar('a', MF_POPUP, &menu));
    // No (&B): the first item starting with B after the highlighted one.
    EXPECT_EQ(MAKELRESULT(1, MNC_SELECT), CNewMenu::OnMenuChar('b', MF_POPUP, &menu));
    ::HiliteMenuItem(nullptr, menu.m_hMenu, 2, MF_BYPOSITION | MF_HILITE);
    if (::GetMenuState(menu.m_hMenu, 2, MF_BYPOSITION) & MF_HILITE)
    {
        EXPECT_EQ(MAKELRESULT(3, MNC_SELECT), CNewMenu::OnMenuChar('b', MF_POPUP, &menu));
        ::HiliteMenuItem(nullptr, menu.m_hMenu, 2, MF_BYPOSITION | MF_UNHILITE);
        ::HiliteMenuItem(nullptr, menu.m_hMenu, 3, MF_BYPOSITION | MF_HILITE);
        EXPECT_EQ(MAKELRESULT(1, MNC_SELECT), CNewMenu::OnMenuChar('b', MF_POPUP, &menu));  // wraps
    }
    EXPECT_EQ(0, CNewMenu::OnMenuChar('z', MF_POPUP, &menu));
    EXPECT_EQ(0, CNewMenu::OnMenuChar('a', MF_POPUP, nullptr));
}

TEST(NewMenuFrameTest, RedrawMenuBarItemWithoutAPositionPaintsNothing)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TESTMENU));
    EXPECT_FALSE(RedrawMenuBarItem(nullptr, menu.m_hMenu, -1, 0));
    EXPECT_FALSE(RedrawMenuBarItem(nullptr, menu.m_hMenu, 0, 0));  // no window: no rectangle
}

TEST(NewMenuFrameTest, WindowsVersionClassIsInRange)
{
    int nClass = GetWindowsVersionClass();
    EXPECT_GE(nClass, 0);
    EXPECT_LE(nClass, 9);
}
