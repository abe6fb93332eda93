#include "app/tests/TabFixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/PageTabBar.h"
#include "menulib/NewMenu.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/BrowserControlSite.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

CVantorelApp theApp;

void TabTest::SetUp()
{
    static CBrowserOccManager s_occManager;
    AfxEnableControlContainer(&s_occManager);
    m_browserClass.reset(new TestWebBrowserRegistration);
    ASSERT_TRUE(m_browserClass->IsRegistered());
    m_folder.reset(new ProgramFolder);
    std::string module = m_folder->File("VantorelArco.exe");
    AppSettings() = SettingsRecord();
    AppSettings().iDocFavMode = 1;  // as every start of the program forces
    theApp.m_runFlags = 0;
    theApp.m_nextGroupNumber = 1;
    ASSERT_TRUE(AppFolders().CreateDataFolders(module.c_str()));
    AppStrings().SetFolder(AppFolders().GetStringFolder());
    WriteStartFiles();
    if (m_shippedSettings) {
        // The shipped file is named after the product.
        lstrcpynA(theApp.m_className, "VantorelArco", sizeof(theApp.m_className));
        theApp.LoadSettings();
        theApp.ForceSessionSettings();
    }
    lstrcpynA(theApp.m_className, "VantorelArcoTest", sizeof(theApp.m_className));

    m_frame = new CMainFrame;
    theApp.m_pMainWnd = m_frame;
    ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    m_frame->ShowWindow(SW_SHOW);
    Pump();
}

void TabTest::TearDown()
{
    if (m_frame != nullptr && m_frame->GetSafeHwnd() != nullptr)
        m_frame->DestroyWindow();
    Pump();
    theApp.ReleaseGroups();
    theApp.m_pMainWnd = nullptr;
    theApp.m_pActiveTabFrame = nullptr;
    theApp.m_pActiveView = nullptr;
    m_folder.reset();
    m_browserClass.reset();
}

TestWebBrowser* TabTest::ControlOf(CTabItem* tab)
{
    if (tab == nullptr || tab->m_pView == nullptr)
        return nullptr;
    return TestWebBrowser::FromUnknown(tab->m_pView->GetBrowser());
}

void TabTest::Pump()
{
    TestWebBrowser::Settle();
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void TabTest::PumpFor(DWORD timeoutMs, bool (*done)())
{
    const DWORD start = ::GetTickCount();
    while ((done == nullptr || !done()) && ::GetTickCount() - start < timeoutMs) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

std::string BindingLine(const char* label, const char* text, int command, int kind)
{
    const std::string sep = "\x81\x4D";
    std::string line = std::string(label) + sep + text + sep + std::to_string(command);
    if (kind >= 0)
        line += sep + std::to_string(kind);
    return line + "\r\n";
}

UINT TakePostedCommand(HWND hWnd)
{
    MSG msg;
    if (!::PeekMessageA(&msg, hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        return 0;
    return LOWORD(msg.wParam);
}

void PointAt(HWND hWnd, const RECT* clientPart)
{
    RECT rect = {};
    if (clientPart != nullptr) {
        rect = *clientPart;
        ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    } else {
        ::GetWindowRect(hWnd, &rect);
    }
    const POINT target = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::SetCursorPos(target.x, target.y);
    // Under Wine the new position reaches GetCursorPos through the display
    // server, which can lag behind on a loaded machine, and a late motion
    // event from an earlier move can still overwrite it: wait until the
    // position has shown and held for a few reads, setting it again if it
    // was overwritten.
    int held = 0;
    for (int i = 0; i < 300 && held < 5; ++i) {
        POINT now = {};
        if (::GetCursorPos(&now) && now.x == target.x && now.y == target.y) {
            ++held;
        } else {
            if (held > 0)
                ::SetCursorPos(target.x, target.y);
            held = 0;
        }
        ::Sleep(10);
    }
}

bool PostClickAt(HWND hWnd, POINT client)
{
    POINT screen = client;
    ::ClientToScreen(hWnd, &screen);
    const RECT spot = {client.x, client.y, client.x + 1, client.y + 1};
    const LPARAM at = MAKELPARAM(client.x, client.y);
    for (int attempt = 0; attempt < 20; ++attempt) {
        PointAt(hWnd, &spot);
        ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(hWnd, WM_LBUTTONUP, 0, at);
        bool carried = true;
        MSG msg;
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP})
            carried = carried && ::PeekMessageA(&msg, hWnd, message, message, PM_NOREMOVE) &&
                      msg.pt.x == screen.x && msg.pt.y == screen.y;
        if (carried)
            return true;
        while (::PeekMessageA(&msg, hWnd, WM_LBUTTONDOWN, WM_LBUTTONUP, PM_REMOVE)) {
        }
    }
    return false;
}

HWND ShownPopupMenu()
{
    HWND menu = ::FindWindowA("#32768", nullptr);
    return menu != nullptr && ::IsWindowVisible(menu) ? menu : nullptr;
}

bool TakeShownMenu(UINT_PTR timer, HMENU* menu, HWND* window)
{
    HWND shown = ShownPopupMenu();
    if (shown == nullptr)
        return false;
    ::KillTimer(nullptr, timer);
    *menu = reinterpret_cast<HMENU>(::SendMessageA(shown, MN_GETHMENU, 0, 0));
    if (window != nullptr)
        *window = shown;
    return true;
}

namespace {

std::function<void(HMENU, HWND)> s_readMenu;
bool s_menuRead = false;

void CALLBACK ReadAndEndShownMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HMENU menu = nullptr;
    HWND window = nullptr;
    if (!TakeShownMenu(id, &menu, &window))
        return;
    s_readMenu(menu, window);
    s_menuRead = true;
    ::EndMenu();
}

} // namespace

bool ReadMenuShownBy(const std::function<void()>& open, const std::function<void(HMENU, HWND)>& read)
{
    s_readMenu = read;
    s_menuRead = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadAndEndShownMenu);
    open();
    ::KillTimer(nullptr, timer);
    s_readMenu = nullptr;
    return s_menuRead;
}

namespace {

struct DialogSearch
{
    bool bEnabledOnly;
    HWND hFound;
};

BOOL CALLBACK FindShownDialog(HWND hWnd, LPARAM lParam)
{
    DialogSearch& search = *reinterpret_cast<DialogSearch*>(lParam);
    char name[16] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (strcmp(name, "#32770") != 0 || !::IsWindowVisible(hWnd) || (search.bEnabledOnly && !::IsWindowEnabled(hWnd)))
        return TRUE;
    search.hFound = hWnd;
    return FALSE;
}

} // namespace

HGLOBAL MakeDropFiles(const std::vector<std::string>& names, SIZE_T cut)
{
    std::string list;
    for (const std::string& name : names)
        list += name + '\0';
    list += '\0';
    SIZE_T size = sizeof(DROPFILES) + list.size() - cut;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    BYTE* block = static_cast<BYTE*>(::GlobalLock(h));
    DROPFILES* header = reinterpret_cast<DROPFILES*>(block);
    header->pFiles = sizeof(DROPFILES);
    memcpy(block + sizeof(DROPFILES), list.data(), list.size() - cut);
    ::GlobalUnlock(h);
    return h;
}

HWND ShownDialog(bool bEnabledOnly)
{
    DialogSearch search = {bEnabledOnly, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

std::wstring ShownMessageText()
{
    // A message box shows its text in a static control of id 0xFFFF.
    HWND box = ShownDialog();
    wchar_t text[2048] = {};
    if (box != nullptr)
        ::GetDlgItemTextW(box, 0xFFFF, text, 2048);
    return text;
}

CString CaptionWhileShown(const std::function<void()>& open, HMENU popup, UINT id)
{
    CString caption = "<not shown>";
    ReadMenuShownBy(open, [&](HMENU, HWND) {
        CNewMenu* owner = CNewMenu::FromHandleNew(popup);
        for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
            if (::GetMenuItemID(popup, i) != id)
                continue;
            MENUITEMINFOA info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_DATA;
            ::GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info);
            CNewMenuItemData* record =
                (info.fType & MFT_OWNERDRAW) && owner != nullptr
                    ? owner->FindRecord(reinterpret_cast<const void*>(info.dwItemData))
                    : nullptr;
            caption = record != nullptr ? record->m_strText : CString("<not owner-drawn>");
        }
    });
    return caption;
}

namespace {

std::vector<int> s_answers;  // the next boxes' buttons, first at the back
void (*s_check)() = nullptr;

BOOL CALLBACK AnswerDialog(HWND hWnd, LPARAM)
{
    char name[16] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (strcmp(name, "#32770") != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    if (s_answers.empty())
        return FALSE;
    TabTest::s_messageBoxSeen = true;
    if (s_check != nullptr)
        s_check();
    ::SendMessageA(hWnd, WM_COMMAND, static_cast<WPARAM>(s_answers.back()), 0);
    s_answers.pop_back();
    return FALSE;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), AnswerDialog, 0);
    if (s_answers.empty())
        ::KillTimer(nullptr, id);
}

} // namespace

bool TabTest::s_messageBoxSeen = false;

void TabTest::AnswerNextMessageBox(int button, void (*check)())
{
    AnswerMessageBoxes({button}, check);
}

void TabTest::AnswerMessageBoxes(std::vector<int> buttons, void (*check)())
{
    s_answers.assign(buttons.rbegin(), buttons.rend());
    s_check = check;
    s_messageBoxSeen = false;
    ::SetTimer(nullptr, 0, 50, AnswerTimer);
}

bool TabTest::AllAnswered()
{
    bool all = s_answers.empty();
    s_answers.clear();
    return all;
}

bool TabTest::AnsweredWithin(DWORD timeoutMs)
{
    PumpFor(timeoutMs, [] { return s_answers.empty(); });
    return AllAnswered();
}

CTabItem* TabTest::Open(CTabGroup* group, const char* url, WORD reason)
{
    CTabItem* tab = theApp.OpenUrlReturnBrowser(group, url, reason, 0);
    Pump();
    return tab;
}

CTabItem* TabTest::Active() const
{
    return m_frame->GetActiveTab();
}

int TabTest::BarCount() const
{
    return m_frame->m_pPageTabBar->GetItemCount();
}

CTabItem* TabTest::BarTab(int index) const
{
    return m_frame->m_pPageTabBar->GetTabAt(index);
}

int TabTest::BarSelection() const
{
    return m_frame->m_pPageTabBar->GetCurSel();
}
