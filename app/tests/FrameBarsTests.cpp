// The frame's bar commands: dropped file lists, proxy modes, the tab
// commands' update state, the toolbar's drop-downs and hiding in the tray.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/PageTabBar.h"
#include "shared/FrameMessages.h"
#include "tab/BrowserView.h"
#include "tab/DroppedFiles.h"
#include "tab/TabGroup.h"
#include "shared/WidePath.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/WideFiles.h"

namespace {

// The same with wide names (fWide set), as the shell builds it now.
HGLOBAL MakeWideDropFiles(const std::vector<std::wstring>& names)
{
    std::wstring list;
    for (const std::wstring& name : names)
        list += name + L'\0';
    list += L'\0';
    const SIZE_T bytes = list.size() * sizeof(wchar_t);
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    BYTE* block = static_cast<BYTE*>(::GlobalLock(h));
    DROPFILES* header = reinterpret_cast<DROPFILES*>(block);
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(block + sizeof(DROPFILES), list.data(), bytes);
    ::GlobalUnlock(h);
    return h;
}

using FrameBarsTest = TabTest;

// The main toolbar's arrow of a button, as the toolbar reports it: the
// items of the menu it showed (-1 for none) and where the menu stood.
int s_dropDownItems = -1;
RECT s_dropDownRect = {};

int DropDown(CMainFrame* frame, int button)
{
    NMTOOLBARA info = {};
    info.hdr.hwndFrom = frame->m_wndToolBar.m_hWnd;
    info.hdr.idFrom = AFX_IDW_TOOLBAR;
    info.hdr.code = TBN_DROPDOWN;
    info.iItem = button;
    s_dropDownItems = -1;
    ReadMenuShownBy([&] { frame->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&info)); },
                    [](HMENU menu, HWND window) {
                        s_dropDownItems = ::GetMenuItemCount(menu);
                        ::GetWindowRect(window, &s_dropDownRect);
                    });
    return s_dropDownItems;
}

// Registered once the start-up step posted at creation has run, not while
// the hidden frame is made.
TEST_F(FrameBarsTest, TheFrameAndTheSearchBarTakeDropsOnceTheStartUpStepHasRun)
{
    Pump();
    for (HWND target : {m_frame->m_hWnd, m_frame->m_wndSearchBar.m_hWnd}) {
        auto* probe = static_cast<IDropTarget*>(m_frame->m_pFrameDropTarget);
        const HRESULT hr = ::RegisterDragDrop(target, probe);
        if (SUCCEEDED(hr))
            ::RevokeDragDrop(target);
        EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, hr);
    }
}

TEST_F(FrameBarsTest, DroppedUrlsAndShortcutsOpenAsTabsInListOrder)
{
    Open(nullptr, "about:blank");
    CTabGroup* group = theApp.GetActiveGroup();
    m_folder->WriteBytes("link.url", "[InternetShortcut]\r\nurl=http://short.example/\r\nURL=http://second.example/\r\n");
    m_folder->WriteBytes("notes.txt", "URL=http://ignored.example/\r\n");
    HGLOBAL h = MakeDropFiles({"ttp://a.example/", m_folder->File("link.url"), m_folder->File("notes.txt"),
                               "http://b.example/\r\n"});
    m_frame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(h));
    Pump();
    // The text file is a drive path, which counts as an address.
    ASSERT_EQ(5, group->GetTabCount());
    EXPECT_STREQ("http://a.example/", group->GetTab(1)->m_url);
    EXPECT_STREQ("http://second.example/", group->GetTab(2)->m_url);  // the first "URL=" line
    EXPECT_STREQ(m_folder->File("notes.txt").c_str(), group->GetTab(3)->m_url);
    EXPECT_STREQ("http://b.example/", group->GetTab(4)->m_url);
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateOpeningTabSet);
    EXPECT_FALSE(m_frame->m_pPageTabBar == nullptr);
    ::GlobalFree(h);  // the sender frees the list
}

TEST_F(FrameBarsTest, AFileListRunningPastItsBlockOpensNothing)
{
    Open(nullptr, "about:blank");
    CTabGroup* group = theApp.GetActiveGroup();
    HGLOBAL h = MakeDropFiles({"http://a.example/"}, 2);  // no terminators
    m_frame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(h));
    ::GlobalFree(h);
    HGLOBAL tiny = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
    m_frame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(tiny));
    ::GlobalFree(tiny);
    m_frame->SendMessage(WM_DROPFILES, 0);
    Pump();
    EXPECT_EQ(1, group->GetTabCount());
}

// Regression: on the 32-bit build a wide list whose offset lay within a
// character of 4 GB wrapped round and was read from before the block.
TEST(DroppedFileBlocks, AListOffsetOutsideTheBlockIsRefusedForEitherWidth)
{
    const SIZE_T header = sizeof(DROPFILES);
    const struct
    {
        BOOL wide;
        DWORD offset;  // of the list; 0: just after the header
        SIZE_T cut;    // bytes taken off the block's end
        size_t names;  // read; -1: refused
    } kCases[] = {
        { TRUE, 0, 0, 1 },
        { FALSE, 0, 0, 1 },
        { TRUE, 0xFFFFFFFE, 0, size_t(-1) },
        { TRUE, 0xFFFFFFFF, 0, size_t(-1) },
        { FALSE, 0xFFFFFFFF, 0, size_t(-1) },
        { TRUE, 0x80000000, 0, size_t(-1) },
        { TRUE, static_cast<DWORD>(header - 2), 0, size_t(-1) },  // within the header
        { TRUE, 0, 1, size_t(-1) },                               // half a closing character
        { FALSE, 0, 1, size_t(-1) },
    };
    for (const auto& c : kCases) {
        // "a" and the closing empty name, in the case's width.
        const std::string list = c.wide ? std::string("a\0\0\0\0\0", 6) : std::string("a\0\0", 3);
        const SIZE_T size = header + list.size() - c.cut;
        HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        BYTE* block = static_cast<BYTE*>(::GlobalLock(h));
        DROPFILES* files = reinterpret_cast<DROPFILES*>(block);
        files->pFiles = c.offset != 0 ? c.offset : static_cast<DWORD>(header);
        files->fWide = c.wide;
        memcpy(block + header, list.data(), list.size() - c.cut);
        ::GlobalUnlock(h);
        std::vector<DroppedFile> read;
        const bool complete = ReadDroppedFiles(h, read);
        EXPECT_EQ(c.names != size_t(-1), complete) << c.offset << " " << c.wide;
        EXPECT_EQ(complete ? c.names : 0u, read.size()) << c.offset << " " << c.wide;
        if (complete) {
            EXPECT_EQ(L"a", read[0].name);
        }
        ::GlobalFree(h);
    }
}

namespace {

std::wstring s_boxText;
void ReadBoxText()
{
    s_boxText = ShownMessageText();
}

} // namespace

// Regression: the names were taken in the code page with its best fit, so
// "résumé.html" opened "resume.html" and a Korean name named no file. A
// name no path reaches (no short name: here no file at all) is named in a
// message, and the others open.
TEST_F(FrameBarsTest, DroppedFilesWithNamesBeyondTheCodePageOpenThoseFiles)
{
    Open(nullptr, "about:blank");
    CTabGroup* group = theApp.GetActiveGroup();
    const std::wstring folder = WidePath::FromAnsi(m_folder->Path().c_str());
    const std::wstring lost = folder + L"\uD55C\uAD6D\\\uD55C.html";
    m_folder->WriteBytes("resume.html", "plain");
    ASSERT_TRUE(WriteWideFile(folder + L"r\u00E9sum\u00E9.html", "accented"));
    ASSERT_TRUE(WriteWideFile(folder + L"\uD55C.html", "hangul"));
    ASSERT_TRUE(WriteWideFile(folder + L"\uD55C.url", "[InternetShortcut]\r\nURL=http://ko.example/\r\n"));
    HGLOBAL h = MakeWideDropFiles({folder + L"r\u00E9sum\u00E9.html", lost, folder + L"\uD55C.html",
                                   folder + L"\uD55C.url", L"http://b.example/"});
    s_boxText.clear();
    AnswerNextMessageBox(IDOK, ReadBoxText);
    m_frame->PostMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(h));
    Pump();
    EXPECT_TRUE(AnsweredWithin(5000));
    EXPECT_NE(std::wstring::npos, s_boxText.find(lost));
    ASSERT_EQ(5, group->GetTabCount());
    EXPECT_EQ("accented", ReadAnsiPathFile(group->GetTab(1)->m_url));
    EXPECT_EQ("hangul", ReadAnsiPathFile(group->GetTab(2)->m_url));
    EXPECT_STREQ("http://ko.example/", group->GetTab(3)->m_url);
    EXPECT_STREQ("http://b.example/", group->GetTab(4)->m_url);
    ::GlobalFree(h);
}

TEST_F(FrameBarsTest, TabCommandsAreDisabledWhileTheCurrentGroupIsEmpty)
{
    struct Probe : CCmdUI
    {
        BOOL enabled = TRUE;
        void Enable(BOOL bOn) override { enabled = bOn; m_bEnableChanged = TRUE; }
    };
    // Close tab, find in page, find of the kind set by CtrlF.
    const UINT kCommands[] = {1069, ID_EDIT_TEXTSEARCH, ID_EDIT_FINDDISPATCH};
    for (bool withTab : {false, true}) {
        if (withTab)
            Open(nullptr, "about:blank");
        for (UINT command : kCommands) {
            Probe probe;
            probe.m_nID = command;
            probe.DoUpdate(m_frame, FALSE);
            EXPECT_EQ(withTab, probe.enabled != FALSE) << command;
        }
    }
}

TEST_F(FrameBarsTest, TheWheelOverThePageBarMovesToTheNextOrPreviousTab)
{
    CTabItem* a = Open(nullptr, "http://a.example/");
    CTabItem* b = Open(nullptr, "http://b.example/");
    ASSERT_EQ(b, Active());
    theApp.m_settings.bWheelChange(true);
    CPageTabBar& bar = *m_frame->m_pPageTabBar;
    RECT item = {};
    ::SendMessageA(bar.m_hWnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    POINT pt = {item.left + 3, item.top + 3};
    ::ClientToScreen(bar.m_hWnd, &pt);
    m_frame->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    Pump();
    EXPECT_EQ(a, Active());
    m_frame->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    Pump();
    EXPECT_EQ(b, Active());
}

TEST_F(FrameBarsTest, ToolbarDropDownsFillTheirMenus)
{
    HMENU owner = nullptr;
    HMENU newTab = m_frame->BuildToolbarDropDown(32790, &owner);
    ASSERT_NE(nullptr, newTab);
    // Without a page the duplicate item goes.
    EXPECT_EQ(3, ::GetMenuItemCount(newTab));
    EXPECT_NE(static_cast<UINT>(ID_TAB_DUPLICATE), ::GetMenuItemID(newTab, 0));
    ::DestroyMenu(owner);

    theApp.m_settings.iReload = 7;
    HMENU reload = m_frame->BuildToolbarDropDown(1044, &owner);
    ASSERT_NE(nullptr, reload);
    EXPECT_EQ(static_cast<UINT>(ID_RELOAD_USER), ::GetMenuItemID(reload, 6));
    char caption[64] = "";
    ::GetMenuStringA(reload, 6, caption, sizeof(caption), MF_BYPOSITION);
    CString expected = theApp.GetEtcText(4);
    expected.Replace("%d", "7");
    EXPECT_STREQ(expected, caption);
    ::DestroyMenu(owner);

    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=a:1\r\nProxy1=b:2\r\nProxy2=\r\nProxy3=c:3\r\n");
    HMENU proxies = m_frame->BuildToolbarDropDown(32772, &owner);
    ASSERT_NE(nullptr, proxies);
    ASSERT_EQ(7, ::GetMenuItemCount(proxies));
    EXPECT_EQ(static_cast<UINT>(ID_PROXY_ENTRY_FIRST + 1), ::GetMenuItemID(proxies, 6));
    ::DestroyMenu(owner);
    EXPECT_EQ(nullptr, m_frame->BuildToolbarDropDown(1069, &owner));
}

TEST_F(FrameBarsTest, BackAndForwardArrowsDropTheActiveTabsHistoryUnderTheirButtons)
{
    EXPECT_EQ(-1, DropDown(m_frame, ID_NAV_BACK));  // no tab
    CTabItem* tab = Open(nullptr, "http://h.example/0");
    for (const char* url : {"http://h.example/1", "http://h.example/2"}) {
        tab->m_pView->Navigate(url);
        TestWebBrowser::Settle();
    }
    EXPECT_EQ(2, DropDown(m_frame, ID_NAV_BACK));
    RECT button = {};
    ASSERT_TRUE(m_frame->m_wndToolBar.GetRect(ID_NAV_BACK, &button));
    ::MapWindowPoints(m_frame->m_wndToolBar.m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&button), 2);
    EXPECT_EQ(button.left, s_dropDownRect.left);
    EXPECT_EQ(button.bottom, s_dropDownRect.top);
    EXPECT_EQ(-1, DropDown(m_frame, ID_NAV_FORWARD));  // nothing ahead yet

    m_frame->SendMessage(WM_COMMAND, ID_NAV_BACK);
    TestWebBrowser::Settle();
    EXPECT_EQ(1, DropDown(m_frame, ID_NAV_FORWARD));
    ASSERT_TRUE(m_frame->m_wndToolBar.GetRect(ID_NAV_FORWARD, &button));
    ::MapWindowPoints(m_frame->m_wndToolBar.m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&button), 2);
    EXPECT_EQ(button.left, s_dropDownRect.left);
    EXPECT_EQ(1, DropDown(m_frame, ID_NAV_BACK));
}

TEST_F(FrameBarsTest, ToTrayHidesTheWindowBehindAnIconThatGoesWhenItComesBack)
{
    theApp.m_settings.bTaskTray(false);
    ASSERT_EQ(0u, m_frame->m_stateWord & kStateTrayIcon);
    m_frame->SendMessage(WM_COMMAND, ID_WINDOW_TOTRAY);
    EXPECT_NE(0u, m_frame->m_stateWord & kStateTrayIcon);
    Pump();
    EXPECT_FALSE(::IsWindowVisible(m_frame->m_hWnd));
    // A restarted shell gets the icon again, the only way back: a stand-in
    // for the shell's notification area shows where the frame looked.
    WNDCLASSA cls = {};
    cls.lpfnWndProc = ::DefWindowProcA;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.lpszClassName = "Shell_TrayWnd";
    ::RegisterClassA(&cls);
    cls.lpszClassName = "TrayNotifyWnd";
    ::RegisterClassA(&cls);
    HWND taskbar = ::CreateWindowA("Shell_TrayWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, cls.hInstance, nullptr);
    HWND area = ::CreateWindowA("TrayNotifyWnd", "", WS_CHILD, 0, 0, 5, 5, taskbar, nullptr, cls.hInstance, nullptr);
    ASSERT_NE(nullptr, area);
    m_frame->SendMessage(CMainFrame::s_taskbarCreated);
    EXPECT_EQ(area, m_frame->m_hTrayWindow);
    ::DestroyWindow(taskbar);
    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_TRAYNOTIFY, 12, WM_LBUTTONDOWN);
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_hWnd));
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateTrayIcon);
}

// A script object with one function that records its arguments.
class FakeScript : public IDispatch
{
public:
    std::vector<std::wstring> received;
    STDMETHOD(QueryInterface)(REFIID, void** ppv) override
    {
        *ppv = this;
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override
    {
        if (std::wstring(names[0]) != L"go")
            return DISP_E_UNKNOWNNAME;
        ids[0] = 7;
        return S_OK;
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (id != 7 || !(flags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        for (UINT i = 0; i < params->cArgs; ++i)
            received.push_back(params->rgvarg[i].bstrVal);
        return S_OK;
    }
};

TEST_F(FrameBarsTest, TheStatusBarAndClickOpenCommandsFlipTheirSettings)
{
    theApp.m_settings.bBar_Status(true);
    m_frame->ShowBar(&m_frame->m_wndStatusBar, TRUE, FALSE);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(theApp.m_settings.bBar_Status());
    EXPECT_FALSE(m_frame->m_wndStatusBar.IsWindowVisible());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(m_frame->m_wndStatusBar.IsWindowVisible());

    const bool before = theApp.m_settings.bClickOpen();
    m_frame->SendMessage(WM_COMMAND, ID_OPTION_CLICKOPEN);
    EXPECT_NE(before, theApp.m_settings.bClickOpen());
}

// The status bar is created without a layout pass of its own: the first show
// puts it along the bottom, with the pages' area above it.
TEST_F(FrameBarsTest, TheFirstShowLaysTheStatusBarAlongTheBottom)
{
    ASSERT_TRUE(theApp.m_settings.bBar_Status());
    ASSERT_TRUE(m_frame->m_wndStatusBar.IsWindowVisible());
    RECT client = {}, status = {}, pages = {};
    m_frame->GetClientRect(&client);
    ::GetWindowRect(m_frame->m_wndStatusBar.m_hWnd, &status);
    ::GetWindowRect(m_frame->m_hWndMDIClient, &pages);
    ::MapWindowPoints(nullptr, m_frame->m_hWnd, reinterpret_cast<POINT*>(&status), 2);
    ::MapWindowPoints(nullptr, m_frame->m_hWnd, reinterpret_cast<POINT*>(&pages), 2);
    EXPECT_EQ(client.bottom, status.bottom);
    EXPECT_EQ(client.right - client.left, status.right - status.left);
    EXPECT_GT(status.bottom - status.top, 0);
    EXPECT_LE(pages.bottom, status.top);
    EXPECT_GT(pages.bottom - pages.top, 0);
}

// The address band is as tall as the closed box and its borders; the box's
// list of seven items drops below it, over what lies under the band.
TEST_F(FrameBarsTest, TheAddressBandIsAsTallAsTheClosedBoxAndItsListDropsBelowIt)
{
    CReBar& rebar = m_frame->m_wndReBar.GetReBar();
    const int index = rebar.IDToIndex(CAddressCombo::kId);
    ASSERT_GE(index, 0);
    RECT band = {}, borders = {}, box = {};
    rebar.SendMessage(RB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
    rebar.SendMessage(RB_GETBANDBORDERS, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&borders));
    ::GetWindowRect(m_frame->m_wndAddress.m_hWnd, &box);
    const int boxHeight = box.bottom - box.top;
    EXPECT_GT(boxHeight, 10);
    EXPECT_LT(boxHeight, 40);
    // The box stands inside the band, which adds no more than its borders.
    ::MapWindowPoints(nullptr, rebar.m_hWnd, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_LE(band.top, box.top);
    EXPECT_GE(band.bottom, box.bottom);
    EXPECT_LE(band.bottom - band.top, boxHeight + borders.top + borders.bottom);

    for (int i = 0; i < 12; ++i)
        m_frame->m_wndAddress.AddString("http://one.example/");
    m_frame->m_wndAddress.ShowDropDown(TRUE);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetComboBoxInfo(m_frame->m_wndAddress.m_hWnd, &info));
    RECT list = {};
    ::GetWindowRect(info.hwndList, &list);
    EXPECT_TRUE(::IsWindowVisible(info.hwndList));
    ::GetWindowRect(m_frame->m_wndAddress.m_hWnd, &box);
    EXPECT_GE(list.top, box.bottom - 1);
    EXPECT_GE(list.bottom - list.top, CComboBoxXP::kListItems * m_frame->m_wndAddress.GetItemHeight(0));
    m_frame->m_wndAddress.ShowDropDown(FALSE);
}

TEST_F(FrameBarsTest, PageScriptsGetTheirStringsLastFirst)
{
    FakeScript script;
    CStringArray args;
    args.Add("one");
    args.Add("two");
    EXPECT_EQ(1, m_frame->CallPageScript("go", args, &script));
    ASSERT_EQ(2u, script.received.size());
    EXPECT_EQ(L"two", script.received[0]);
    EXPECT_EQ(L"one", script.received[1]);
    EXPECT_EQ(0, m_frame->CallPageScript("missing", args, &script));
    EXPECT_EQ(0, m_frame->CallPageScript("go", args, nullptr));
}

TEST_F(FrameBarsTest, TabQueriesLeaveTheTextWithoutATabAndBarsShowAndHide)
{
    CString text = "kept";
    m_frame->GetTabUrlAt(0, text);
    EXPECT_STREQ("kept", text);
    CTabItem* tab = Open(nullptr, "http://a.example/");
    m_frame->GetTabUrlAt(0, text);
    EXPECT_EQ(tab->m_url, text);
    m_frame->GetTabTitleAt(5, text);
    EXPECT_EQ(tab->m_url, text);

    m_frame->ShowBar(&m_frame->m_wndStatusBar, FALSE, FALSE);
    EXPECT_FALSE(m_frame->m_wndStatusBar.IsWindowVisible());
    m_frame->ShowBar(&m_frame->m_wndStatusBar, TRUE, FALSE);
    EXPECT_TRUE(m_frame->m_wndStatusBar.IsWindowVisible());
    EXPECT_NE(0, m_frame->SendMessage(WM_ERASEBKGND));  // a page covers the client area
}

} // namespace
