// A main frame with its tab bars on a real window, in a test's own program
// folder, for tests of groups, tabs and the frame's messages.
#ifndef VA_APP_TESTS_TABFIXTURE_H
#define VA_APP_TESTS_TABFIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/CString.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestWebBrowser.h"

class CMainFrame;
class CTabGroup;
class CTabItem;

// The popup menu window of this thread while it shows, else null: for timer
// callbacks that read or drive a menu a test opened.
HWND ShownPopupMenu();
// For such a timer: false while no popup menu shows; once one shows, stops
// the timer and gives the menu (and its window).
bool TakeShownMenu(UINT_PTR timer, HMENU* menu, HWND* window = nullptr);

// Runs open, which shows a popup menu of this thread and returns once it
// has closed; while the menu shows, read gets its handle and window, then
// the menu closes without a choice. False when no menu showed.
bool ReadMenuShownBy(const std::function<void()>& open, const std::function<void(HMENU, HWND)>& read);
// The dialog of this thread showing now (whichever window is active: other
// tests' windows may be); null when none shows. Only an enabled one when
// asked: the modal loop's own, not an owner it disabled.
HWND ShownDialog(bool bEnabledOnly = false);
// A DROPFILES block of narrow names, as the shell builds it; cut bytes short
// of its end when asked.
HGLOBAL MakeDropFiles(const std::vector<std::string>& names, SIZE_T cut = 0);
// The text of the message box of this thread showing now; empty when none
// shows.
std::wstring ShownMessageText();

// The caption of the command's item in popup (an owner-drawn item's own
// text) while the menu that open shows is on the screen, then the menu
// closes; "<not shown>" when no menu showed or the item is missing.
CString CaptionWhileShown(const std::function<void()>& open, HMENU popup, UINT id);

// Puts the cursor at the centre of a window's rectangle (or of a part of it
// given in client coordinates) and waits until the system reports it there.
void PointAt(HWND hWnd, const RECT* clientPart = nullptr);

// Posts a left click (button down and up) to a point of a window's client
// area, with the cursor put there. A posted message carries the cursor's
// place of the moment it was posted, which a handler reads back
// (GetMessagePos); under Wine a late move from the display server can put
// the cursor elsewhere for that moment, so such a click is taken back and
// posted again until both messages carry the point. False when they never did.
bool PostClickAt(HWND hWnd, POINT client);

// One line of "KEYCONF.dat" or "MGC.dat": label, key or gesture text,
// command and, when kind is not negative, the kind.
std::string BindingLine(const char* label, const char* text, int command, int kind = -1);

// The command of the first WM_COMMAND posted to the window, or 0; removes it.
UINT TakePostedCommand(HWND hWnd);

class TabTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes what the program folder holds when the frame starts, before
    // the frame is made (the start reads it as the program's start does).
    virtual void WriteStartFiles() {}

    // Runs the queued messages (posted closes among them).
    static void Pump();
    // Runs the message loop for timeoutMs, or until done (may be null) says so.
    static void PumpFor(DWORD timeoutMs, bool (*done)() = nullptr);
    // Opens a tab in the group (null: the current one) and returns it.
    CTabItem* Open(CTabGroup* group, const char* url, WORD reason = 0);
    // The active tab's record, or null.
    CTabItem* Active() const;
    // The page tab bar's items, as tab records in bar order.
    int BarCount() const;
    CTabItem* BarTab(int index) const;
    int BarSelection() const;

    // Answers the next message box of this thread with the button id once
    // it shows; check (may be null) runs first, while the box is up.
    static void AnswerNextMessageBox(int button, void (*check)() = nullptr);
    // The same for several boxes in a row, in order.
    static void AnswerMessageBoxes(std::vector<int> buttons, void (*check)() = nullptr);
    // Every box asked for was answered (and the answering stopped).
    static bool AllAnswered();
    // The same once the message loop has run for up to timeoutMs: for a
    // box shown later from the loop.
    static bool AnsweredWithin(DWORD timeoutMs);

public:
    static bool s_messageBoxSeen;

protected:

    // The test control behind a tab.
    static TestWebBrowser* ControlOf(CTabItem* tab);

    // Set before SetUp: the frame starts with the settings a first start of
    // the program has, the shipped default settings file read and the
    // session settings forced, instead of the record's defaults.
    bool m_shippedSettings = false;
    std::unique_ptr<TestWebBrowserRegistration> m_browserClass;
    std::unique_ptr<ProgramFolder> m_folder;
    CMainFrame* m_frame = nullptr;
};

#endif // VA_APP_TESTS_TABFIXTURE_H
