// The harness of the settings pages' tests: a recording main window, one
// page run in the settings dialog, the control helpers, and the checks
// every option page passes.
#ifndef VA_DIALOGS_TESTS_PAGEHARNESS_H
#define VA_DIALOGS_TESTS_PAGEHARNESS_H

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "dialogs/tests/DialogsTestApp.h"

// The main window the pages talk to. It answers what pages ask (the active
// tab's URL and title, the menu draw mode, a new window, the current group)
// and records what pages report (38501 to 38508) and the texts they open.
class RecordingMainWindow
{
public:
    struct Sent
    {
        UINT nMsg;
        WPARAM wParam;
        LPARAM lParam;
    };

    RecordingMainWindow();
    ~RecordingMainWindow();
    HWND Handle() const { return m_hWnd; }

    // Messages 38501 to 38508 in the order received.
    std::vector<Sent> m_sent;
    // Texts of WM_FRAME_NEWWINDOW, "|1" appended for lParam 1.
    std::vector<std::string> m_opened;
    // The rules of WM_FRAME_ADDPOPUPENTRY (valid during the call only), as
    // "title|URL|flags".
    std::vector<std::string> m_addedRules;
    std::string m_activeUrl = "http://active.example/";
    std::string m_activeTitle = "Active";
    int m_menuStyle = 0;
    void* m_pCurrentGroup = nullptr;

    // The numbers of the recorded messages, "38505;38506;".
    std::string SentLog() const;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
};

class PageTest : public DialogsTest
{
public:
    typedef std::function<void(HWND hPage)> Step;

    void SetUp() override;
    void TearDown() override;

    // Runs the settings dialog with the one page; the steps run one after
    // another while it shows (each gets the page window), then the dialog
    // ends with nEnd (IDOK or IDCANCEL) unless a step ended it. The result.
    int RunPage(const CRuntimeClass* pClass, UINT nIDTemplate, std::vector<Step> steps, int nEnd = IDOK);

    // Control helpers: each changes the control as the user would and sends
    // the page the notification a user's change sends.
    static void SetCheck(HWND hPage, int nID, bool bOn);
    static void SetText(HWND hPage, int nID, const char* text);
    static void SetItem(HWND hPage, int nID, int nIndex);
    // A click on a list's column header, Shift held when asked
    // (SetKeyboardState).
    static void ClickHeader(HWND hList, int nColumn, bool bShift = false);
    // Selects exactly these rows of a list view, as a click and Ctrl-clicks do.
    static void SelectRows(HWND hList, std::initializer_list<int> rows);
    // A double click on a list view's selected row (its NM_DBLCLK).
    static void DoubleClick(HWND hList);
    static std::string Text(HWND hPage, int nID);
    // A list view's row count and the text of one cell.
    static int RowCount(HWND hList);
    static std::string Cell(HWND hList, int nRow, int nColumn);
    static bool IsChecked(HWND hPage, int nID);
    // Every descendant window of hParent, in the order the system lists them.
    static std::vector<HWND> Children(HWND hParent);
    // The texts of a message box's static controls, joined.
    static std::string BoxText(HWND hBox);

    // Keys whose values differ between two records.
    static std::vector<std::string> DifferentKeys(const SettingsRecord& a, const SettingsRecord& b);

    // The checks every option page passes: each visible check box flips
    // exactly one bit, distinct from every other box's; OK without changes
    // leaves the record as it was but for the words written whole, from the
    // defaults and from a record with every field changed (hidden controls
    // included); numbers fall back at 0, 1, 255, 256, 300 and the limits.
    void CheckOptionPage(const CRuntimeClass* pClass, UINT nIDTemplate);

protected:
    RecordingMainWindow* m_pMain = nullptr;
};

#endif // VA_DIALOGS_TESTS_PAGEHARNESS_H
