// The rebar's bands on the real main frame: button orders and their file,
// customization answers, the band layout string, lock and reset, the
// address and search boxes, and where the overflow popup goes.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/ToolBarPopup.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/CommandIds.h"
#include "shared/FrameMessages.h"
#include "shared/GroupImageMenu.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/TestDataObject.h"

namespace {

class ToolBarTest : public TabTest
{
protected:
    CMainToolBar& Tools() { return m_frame->m_wndToolBar; }
    CReBar& Bands() { return m_frame->m_wndReBar.GetReBar(); }
    LRESULT Notify(CWnd& bar, NMHDR& hdr, UINT code)
    {
        hdr.hwndFrom = bar.m_hWnd;
        hdr.idFrom = static_cast<UINT_PTR>(bar.GetDlgCtrlID());
        hdr.code = code;
        return ::SendMessageA(::GetParent(bar.m_hWnd), WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
    }
    DWORD BandStyle(UINT id)
    {
        REBARBANDINFOA band = {};
        band.fMask = RBBIM_STYLE;
        Bands().GetBandInfo(static_cast<UINT>(Bands().IDToIndex(id)), &band);
        return band.fStyle;
    }
    std::string ReadFile(const std::string& name)
    {
        std::ifstream in(m_folder->File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(ToolBarTest, TheDefaultOrderComesFromTheStringFileAndOrderStringsRebuildTheButtons)
{
    CString order;
    Tools().GetLayoutString(order);
    EXPECT_EQ(AppStrings().GetEtcText(CMainToolBar::kDefaultOrderLine), order);
    EXPECT_EQ(46, Tools().GetTableCount());

    Tools().SetLayoutString("0@0");
    ASSERT_EQ(2, Tools().GetButtonCount());
    TBBUTTON button = {};
    Tools().GetButton(1, &button);
    EXPECT_TRUE(button.fsStyle & TBSTYLE_SEP);

    Tools().SetLayoutString("");  // keeps what is there
    EXPECT_EQ(2, Tools().GetButtonCount());

    // An id outside the table leaves a blank, disabled button there.
    Tools().SetLayoutString("1018@99999@1019");
    ASSERT_EQ(3, Tools().GetButtonCount());
    Tools().GetButton(1, &button);
    EXPECT_EQ(0, button.idCommand);
    EXPECT_FALSE(button.fsState & TBSTATE_ENABLED);
    Tools().GetLayoutString(order);
    EXPECT_STREQ("1018@0@1019", order);
}

TEST_F(ToolBarTest, TheOrderFileIsReadUpTo2047BytesAndWrittenOnlyWithButtons)
{
    std::string big = "1018";
    while (big.size() < 3000)
        big += "@1019";
    m_folder->WriteBytes("toolbar.dat2", big);
    CString read = m_frame->ReadToolBarOrder();
    EXPECT_EQ(2047, read.GetLength());
    EXPECT_EQ(0, big.compare(0, 2047, static_cast<LPCSTR>(read)));

    Tools().SetLayoutString("1018@0@1021");
    m_frame->SaveBarState();
    EXPECT_EQ("1018@0@1021", ReadFile("toolbar.dat2"));
    // No buttons: nothing is written and the old file stays.
    Tools().DeleteAllButtons();
    m_frame->SaveBarState();
    EXPECT_EQ("1018@0@1021", ReadFile("toolbar.dat2"));
}

TEST_F(ToolBarTest, AFrameStartsWithTheSavedOrderAndItsBandFitsThoseButtons)
{
    const CString defaults = AppStrings().GetEtcText(CMainToolBar::kDefaultOrderLine);
    const std::pair<const char*, CString> cases[] = {{"1018@0@1021", "1018@0@1021"}, {"", defaults}};
    for (const auto& c : cases) {
        m_frame->DestroyWindow();  // writes its own order
        Pump();
        m_folder->WriteBytes("toolbar.dat2", c.first);
        m_frame = new CMainFrame;
        theApp.m_pMainWnd = m_frame;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_frame->ShowWindow(SW_SHOW);
        Pump();
        CString order;
        Tools().GetLayoutString(order);
        EXPECT_EQ(c.second, order) << c.first;
        int width = 0;
        for (int i = 0; i < Tools().GetButtonCount(); ++i) {
            CRect rc;
            Tools().GetItemRect(i, &rc);
            width += rc.Width();
        }
        REBARBANDINFOA band = {};
        band.fMask = RBBIM_IDEALSIZE;
        Bands().GetBandInfo(static_cast<UINT>(Bands().IDToIndex(AFX_IDW_TOOLBAR)), &band);
        EXPECT_EQ(static_cast<UINT>(width), band.cxIdeal) << c.first;
    }
}

TEST_F(ToolBarTest, ResetInTheCustomizeDialogRestoresTheDefaultButtonsInTableOrder)
{
    Tools().SetLayoutString("1071@1069");
    NMHDR hdr = {};
    EXPECT_EQ(0, Notify(Tools(), hdr, TBN_RESET));
    CString order;
    Tools().GetLayoutString(order);
    EXPECT_EQ(AppStrings().GetEtcText(CMainToolBar::kDefaultOrderLine), order);
}

TEST_F(ToolBarTest, CustomizeAnswersCutTheirTextsToTheBufferAndTerminateThem)
{
    // Table entry 0 is 36446, whose text is "グループ" (8 bytes).
    char buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    NMTOOLBARA info = {};
    info.iItem = 0;
    info.pszText = buffer;
    info.cchText = 6;
    EXPECT_EQ(TRUE, Notify(Tools(), info.hdr, TBN_GETBUTTONINFOA));
    EXPECT_EQ(36446, info.tbButton.idCommand);
    EXPECT_STREQ("\x83\x4F\x83\x8B", buffer);  // two characters, never half of one
    info.iItem = 46;
    EXPECT_EQ(FALSE, Notify(Tools(), info.hdr, TBN_GETBUTTONINFOA));

    char tip[4];
    NMTBGETINFOTIPA request = {};
    request.iItem = 32832;
    request.pszText = tip;
    request.cchTextMax = 4;
    Notify(Tools(), request.hdr, TBN_GETINFOTIPA);
    EXPECT_STREQ("\x88\xF3", tip);  // "印" of "印刷"
}

TEST_F(ToolBarTest, TheBandLayoutStringSavesEveryBandAndLoadsPlacesFlagsAndWidths)
{
    CString saved;
    m_frame->m_wndReBar.SaveState(saved);
    ASSERT_EQ(0, saved.Find("wID=E803,cx="));
    EXPECT_GT(saved.Find("@wID=E800,cx="), 0);
    EXPECT_GT(saved.Find("@wID=E809,cx="), 0);

    m_frame->m_wndReBar.LoadState("wID=E809,cx=150,fStyle=00000009@wID=E800,cx=120,fStyle=00000000");
    EXPECT_EQ(0, Bands().IDToIndex(0xE809));
    EXPECT_EQ(1, Bands().IDToIndex(0xE800));
    EXPECT_EQ(2, Bands().IDToIndex(0xE803));  // not listed: after the listed ones
    EXPECT_TRUE(BandStyle(0xE809) & RBBS_HIDDEN);
    EXPECT_FALSE(m_frame->m_wndReBar.IsBandVisible(0xE809));

    // Reset shows every band and applies the default layout.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_RESETBARS);
    EXPECT_EQ(0, Bands().IDToIndex(0xE803));
    EXPECT_TRUE(m_frame->m_wndReBar.IsBandVisible(0xE809));
}

TEST_F(ToolBarTest, LockingTwiceGivesEveryGripperBack)
{
    DWORD before = BandStyle(0xE800);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LOCKBARS);
    EXPECT_NE(before & RBBS_NOGRIPPER, BandStyle(0xE800) & RBBS_NOGRIPPER);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LOCKBARS);
    EXPECT_EQ(before, BandStyle(0xE800));
}

TEST_F(ToolBarTest, TheBandsRecordTheirNamesFromTheStringFile)
{
    const auto& records = m_frame->m_wndReBar.GetRecords();
    ASSERT_EQ(4u, records.size());
    EXPECT_EQ(59395u, records[0].controlId);
    EXPECT_STREQ(AppStrings().GetFirstText(3), records[0].name);
    EXPECT_EQ(59396u, records[2].controlId);
    EXPECT_STREQ(AppStrings().GetFirstText(6), records[2].name);
    EXPECT_STREQ(AppStrings().GetFirstText(15), records[3].name);
    EXPECT_TRUE(BandStyle(0xE803) & RBBS_USECHEVRON);
}

TEST_F(ToolBarTest, TheAddressBoxShowsOnlyTheActiveTabsAddressAndEscPutsItBack)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    CAddressCombo& box = m_frame->m_wndAddress;
    m_frame->UpdateAddressBar(tab->m_hFrame, "http://shown.example/");
    CString text;
    box.GetWindowText(text);
    EXPECT_STREQ("http://shown.example/", text);
    m_frame->UpdateAddressBar(tab->m_hFrame, "javascript:void(0)");
    m_frame->UpdateAddressBar(reinterpret_cast<HWND>(1), "http://other.example/");
    box.GetWindowText(text);
    EXPECT_STREQ("http://shown.example/", text);

    box.SetWindowText("typed");
    MSG esc = {box.GetEdit().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(m_frame->m_hWnd, &esc));
    box.GetWindowText(text);
    EXPECT_EQ(tab->m_url, text);
}

TEST_F(ToolBarTest, EnterInTheAddressBoxNavigatesTheActiveTab)
{
    AppSettings().bOpenNewTab_AddBar(false);
    AppSettings().iParentTabNewRule = 0;  // typed text stays in the group
    CTabItem* tab = Open(nullptr, "http://a.example/");
    CAddressCombo& box = m_frame->m_wndAddress;
    box.SetWindowText("http://typed.example/");
    MSG enter = {box.GetEdit().m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(m_frame->m_hWnd, &enter));
    Pump();
    ASSERT_FALSE(ControlOf(tab)->GetNavigateCalls().empty());
    EXPECT_EQ(L"http://typed.example/", ControlOf(tab)->GetNavigateCalls().back().url);
    EXPECT_EQ(0, box.FindStringExact(-1, "http://typed.example/"));
}

TEST_F(ToolBarTest, TheSearchBarWithoutBarEnginesHoldsItsFourFixedButtons)
{
    CSearchBar& bar = m_frame->m_wndSearchBar;
    ASSERT_EQ(4, bar.GetButtonCount());
    TBBUTTON button = {};
    bar.GetButton(0, &button);
    EXPECT_EQ(CSearchBar::kCmdRunSearch, button.idCommand);
    bar.GetButton(1, &button);
    EXPECT_TRUE(button.fsStyle & TBSTYLE_SEP);
    bar.GetButton(3, &button);
    EXPECT_EQ(CSearchBar::kCmdFindInPage, button.idCommand);
    EXPECT_EQ(CSearchBar::kFixedImages, ImageList_GetImageCount(bar.GetImageList()));
    CString text;
    bar.GetButtonText(CSearchBar::kCmdHighlight, text);
    EXPECT_STREQ("\x83\x4C\x81\x5B\x83\x8F\x81\x5B\x83\x68\x83\x6E\x83\x43\x83\x89\x83\x43\x83\x67", text);
}

TEST_F(ToolBarTest, AMissingSearchBarBitmapLeavesFourBlankImagesBeforeTheEngines)
{
    ::DeleteFileA(m_folder->File("Res\\searchbar.bmp").c_str());
    CSearchBar& bar = m_frame->m_wndSearchBar;
    bar.LoadImages();
    bar.SetButtons(false);
    EXPECT_EQ(CSearchBar::kFixedImages, ImageList_GetImageCount(bar.GetImageList()));
}

// The pixels an image of the list covers, read from its mask.
int OpaquePixels(HIMAGELIST images, int index)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, dib);
    ::PatBlt(dc, 0, 0, 16, 16, WHITENESS);
    ImageList_Draw(images, index, dc, 0, 0, ILD_MASK);
    ::GdiFlush();
    int opaque = 0;
    for (int i = 0; i < 16 * 16; ++i)
        opaque += (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) == 0 ? 1 : 0;
    ::SelectObject(dc, old);
    ::DeleteObject(dib);
    ::DeleteDC(dc);
    return opaque;
}

// Each strip the bars load from the Res folder holds one 16-pixel picture for
// every button face it is meant for, and every face a button shows has one.
TEST_F(ToolBarTest, EveryStripHoldsOneSixteenPixelPictureForEachButtonFace)
{
    std::vector<int> toolImages;
    int records = 0;
    const ToolButtonRecord* record = CMainToolBar::GetButtonRecords(&records);
    for (int i = 0; i < records; ++i)
        if ((record[i].button.fsStyle & TBSTYLE_SEP) == 0)
            toolImages.push_back(record[i].button.iBitmap);
    auto all = [](int count) {
        std::vector<int> faces;
        for (int i = 0; i < count; ++i)
            faces.push_back(i);
        return faces;
    };
    CImageList groupImages;
    LoadGroupImages(groupImages, AppFolders());
    struct Strip
    {
        const char* name;
        HIMAGELIST images;
        int count;
        std::vector<int> faces;
    };
    const Strip strips[] = {
        {"main toolbar", Tools().GetImageList(), CMainToolBar::kImageCount, toolImages},
        {"search bar", m_frame->m_wndSearchBar.GetImageList(), CSearchBar::kFixedImages, all(4)},
        {"tab buttons", m_frame->m_wndTabButton.GetImageList(), 6, all(6)},
        {"group images", groupImages.GetSafeHandle(), 30, all(30)},
    };
    for (const Strip& strip : strips) {
        SCOPED_TRACE(strip.name);
        ASSERT_NE(nullptr, strip.images);
        EXPECT_EQ(strip.count, ImageList_GetImageCount(strip.images));
        int cx = 0, cy = 0;
        ImageList_GetIconSize(strip.images, &cx, &cy);
        EXPECT_EQ(16, cx);
        EXPECT_EQ(16, cy);
        for (int face : strip.faces) {
            SCOPED_TRACE(face);
            EXPECT_LT(face, strip.count);
            EXPECT_GT(OpaquePixels(strip.images, face), 20);
        }
    }
}

TEST(ToolBarPopupPlacement, StaysOnTheDesktopAndDodgesTheChevron)
{
    const CRect desktop(0, 0, 1280, 1024);
    const CRect chevron(1000, 990, 1012, 1010);
    // Near the bottom: above the chevron.
    CRect rc = CToolBarPopup::PlacePopup(CSize(100, 200), TPM_VERTICAL, chevron.left, chevron.bottom, chevron, desktop);
    EXPECT_EQ(chevron.top, rc.bottom);
    // With room below: below it.
    const CRect high(1000, 40, 1012, 60);
    rc = CToolBarPopup::PlacePopup(CSize(100, 200), TPM_VERTICAL, high.left, high.bottom, high, desktop);
    EXPECT_EQ(high.bottom, rc.top);
    // Past the right edge: moved back onto the desktop.
    rc = CToolBarPopup::PlacePopup(CSize(100, 50), 0, 1250, 100, CRect(), desktop);
    EXPECT_EQ(1280, rc.right);
    // Sideways: right of the rectangle unless that leaves the desktop.
    const CRect side(500, 500, 520, 520);
    rc = CToolBarPopup::PlacePopup(CSize(100, 50), 0, 505, 505, side, desktop);
    EXPECT_EQ(side.right, rc.left);
}

// The overflow popup of the main toolbar, found inside its loop: the owner
// is recorded, then another program closes the frame. A second timer ends a
// popup that outlives it.
struct FrameClosedInsidePopup
{
    static HWND s_popup, s_owner;
    static bool s_forced;
    static void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND popup = ::GetCapture();
        if (popup == nullptr || ::FindWindowExA(popup, nullptr, TOOLBARCLASSNAMEA, nullptr) == nullptr)
            return;
        ::KillTimer(nullptr, id);
        s_popup = popup;
        s_owner = ::GetWindow(popup, GW_OWNER);
        ::PostMessageA(g_pMainFrame->m_hWnd, WM_CLOSE, 0, 0);
        ::SetTimer(nullptr, 0, 2000, EndOutlivingPopup);
    }
    static void CALLBACK EndOutlivingPopup(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        s_forced = ::IsWindow(s_popup) != FALSE;
        if (s_forced)
            ::PostMessageA(s_popup, WM_TOOLBARPOPUP_CLOSE, 0, 0);
    }
};
HWND FrameClosedInsidePopup::s_popup = nullptr;
HWND FrameClosedInsidePopup::s_owner = nullptr;
bool FrameClosedInsidePopup::s_forced = false;

TEST_F(ToolBarTest, TheOverflowPopupGoesWithTheFrameClosedWhileItShows)
{
    CRect first;
    Tools().GetItemRect(0, &first);
    Tools().SetWindowPos(nullptr, 0, 0, first.right + 1, first.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect chevron;
    Tools().GetWindowRect(&chevron);
    chevron.left = chevron.right - 12;
    const HWND frame = m_frame->m_hWnd;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &FrameClosedInsidePopup::Close);
    Tools().SendMessage(WM_REBAR_CHEVRONPUSHED, reinterpret_cast<WPARAM>(&chevron), 0);
    ::KillTimer(nullptr, timer);
    m_frame = nullptr;  // deleted with its window
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(frame, FrameClosedInsidePopup::s_owner);
    EXPECT_FALSE(::IsWindow(FrameClosedInsidePopup::s_popup));
    Pump();
    EXPECT_FALSE(FrameClosedInsidePopup::s_forced);
}

// A file group descriptor naming one file.
std::string Descriptor(const char* name)
{
    std::string bytes(sizeof(UINT) + sizeof(FILEDESCRIPTORA), '\0');
    *reinterpret_cast<UINT*>(&bytes[0]) = 1;
    auto* descriptor = reinterpret_cast<FILEDESCRIPTORA*>(&bytes[sizeof(UINT)]);
    lstrcpynA(descriptor->cFileName, name, MAX_PATH);
    return bytes;
}

} // namespace

TEST_F(ToolBarTest, TextDroppedOnTheSearchBarFillsTheBoxAndALinkGivesItsNameWithoutUrl)
{
    CLIPFORMAT descriptor = static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("FileGroupDescriptor"));
    auto* link = new CTestDataObject;
    link->Add(CF_TEXT, std::string("http://a.example/") + '\0');
    link->Add(descriptor, Descriptor("Page title.URL"));
    EXPECT_STREQ("Page title", CSearchBarDropTarget::DroppedText(link, DROPEFFECT_LINK));
    EXPECT_STREQ("http://a.example/", CSearchBarDropTarget::DroppedText(link, DROPEFFECT_COPY));
    // Only a trailing ".url" goes: other names keep their last bytes.
    auto* file = new CTestDataObject;
    file->Add(descriptor, Descriptor("notes.txt"));
    EXPECT_STREQ("notes.txt", CSearchBarDropTarget::DroppedText(file, DROPEFFECT_LINK));
    // Text without a terminator within its block.
    auto* raw = new CTestDataObject;
    raw->Add(CF_TEXT, "word");
    EXPECT_STREQ("word", CSearchBarDropTarget::DroppedText(raw, DROPEFFECT_COPY));

    CSearchBar& bar = m_frame->m_wndSearchBar;
    EXPECT_TRUE(bar.GetDropTarget().IsRegistered());
    POINTL outside = {-30000, -30000};
    bar.GetDropTarget().OnDrop(raw, 0, outside, DROPEFFECT_COPY);
    CString text;
    bar.GetSearchCombo().GetWindowText(text);
    EXPECT_STREQ("word", text);
    link->Release();
    file->Release();
    raw->Release();
}

// OLE holds the bar's target while registered and lets go of it with the window.
TEST_F(ToolBarTest, TheSearchBarsDropTargetIsLetGoWithItsWindow)
{
    CSearchBar bar;
    ASSERT_TRUE(bar.Create(m_frame, WS_CHILD, CSearchBar::kId + 1) && bar.Initialize());
    CSearchBarDropTarget& target = bar.GetDropTarget();
    bar.RegisterDropTarget();
    ASSERT_TRUE(target.IsRegistered());
    bar.DestroyWindow();
    EXPECT_EQ(1u, target.AddRef() - 1);  // the creator's reference alone
    target.Release();
}

TEST_F(ToolBarTest, TheFlatComboFollowsTheMouseOntoItAndItsEditAndOff)
{
    AppSettings().iMENU_STYLE = 2;
    CComboBoxXP box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 0, 150, 100), m_frame, 4711));
    ASSERT_TRUE(box.GetHover().IsAttached());
    box.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(box.GetHover().IsHovering());
    // Onto the edit: still hovering; the combo's own leave then counts for nothing.
    box.GetEdit().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    box.SendMessage(WM_MOUSELEAVE);
    EXPECT_TRUE(box.GetHover().IsHovering());
    box.GetEdit().SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(box.GetHover().IsHovering());

    AppSettings().iMENU_STYLE = 1;
    CComboBoxXP plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | CBS_DROPDOWN, CRect(0, 0, 150, 100), m_frame, 4712));
    EXPECT_FALSE(plain.GetHover().IsAttached());
    plain.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_FALSE(plain.GetHover().IsHovering());
}

TEST_F(ToolBarTest, TheWheelNeverChangesABoxsChoice)
{
    CAddressCombo& box = m_frame->m_wndAddress;
    box.AddString("one");
    box.AddString("two");
    box.SetCurSel(0);
    EXPECT_EQ(TRUE, box.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0));
    EXPECT_EQ(0, box.GetCurSel());
}

TEST_F(ToolBarTest, TheRebarTakesTheBarsStyleWithEveryBorder)
{
    const DWORD own = m_frame->m_wndReBar.GetBarStyle();
    ASSERT_TRUE(own & CBRS_ALIGN_TOP);
    EXPECT_EQ((own | CBRS_BORDER_ANY | CBRS_BORDER_3D) & CBRS_ALL, Bands().GetBarStyle());
    EXPECT_TRUE(Bands().GetStyle() & WS_BORDER);
}

namespace {

// Refuses the creation of every window with the search box's id.
LRESULT CALLBACK RefuseSearchBox(int code, WPARAM wParam, LPARAM lParam)
{
    auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
    if (code == HCBT_CREATEWND && create->lpcs->hMenu == reinterpret_cast<HMENU>(INT_PTR(CSearchCombo::kId)))
        return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(ToolBarTest, ASearchBarWhoseBoxCannotBeMadeReportsItAndTakesNoDrops)
{
    CSearchBar bar;
    ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | CBRS_ALIGN_TOP, 0xE830));
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, RefuseSearchBox, nullptr, ::GetCurrentThreadId());
    const BOOL made = bar.Initialize();
    ::UnhookWindowsHookEx(hook);
    EXPECT_FALSE(made);
    EXPECT_EQ(nullptr, bar.GetSearchCombo().m_hWnd);
    EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, ::RevokeDragDrop(bar.m_hWnd));
    // The frame's own bar has its box and takes drops.
    EXPECT_NE(nullptr, m_frame->m_wndSearchBar.GetSearchCombo().m_hWnd);
}
