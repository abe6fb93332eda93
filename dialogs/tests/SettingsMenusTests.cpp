// Popup menus in the settings dialog: every popup-menu window is subclassed
// by the library's hook, also one made while a page is made and one opened
// after pages were switched.
#include "dialogs/tests/DialogsTestApp.h"

#include "dialogs/core/DlgSetting.h"
#include "dialogs/res/resource.h"
#include "dialogs/tests/DialogsTestsRes.h"
#include "framework/dialog/PropertyPage.h"
#include "menulib/MenuHook.h"
#include "menulib/MenuTheme.h"

namespace {

HWND MakeMenuWindow()
{
    return ::CreateWindowExA(0, "#32768", "", WS_POPUP | WS_BORDER, 10, 10, 100, 80, nullptr, nullptr, nullptr,
                             nullptr);
}

// Whether a fresh popup-menu window gets its record; the window goes again.
bool PopupIsSubclassed()
{
    HWND hPopup = MakeMenuWindow();
    const bool recorded = hPopup != nullptr && FindMenuPopupRecord(hPopup) != nullptr;
    ::DestroyWindow(hPopup);
    return recorded;
}

// Per page made, in order: whether the popup it opened was subclassed (the
// shell deletes its pages with the dialog).
std::vector<bool> s_madePopups;

// A page that opens a popup-menu window while it is made.
class CMenuPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CMenuPage)
public:
    CMenuPage() : CPropertyPage(IDD_TESTPAGE) {}
    BOOL OnInitDialog() override
    {
        s_madePopups.push_back(PopupIsSubclassed());
        return CPropertyPage::OnInitDialog();
    }
};

IMPLEMENT_DYNCREATE(CMenuPage, CPropertyPage)

HTREEITEM TreeItem(HWND hTree, int index)
{
    HTREEITEM hItem = TreeView_GetRoot(hTree);
    while (index-- > 0 && hItem != nullptr)
        hItem = TreeView_GetNextSibling(hTree, hItem);
    return hItem;
}

} // namespace

TEST_F(DialogsTest, PopupMenusAreSubclassedAcrossPageSwitches)
{
    CNewMenuHook menus{ MenuLibBuild::DialogsLibrary };
    ASSERT_TRUE(menus.IsHookInstalled());
    s_madePopups.clear();
    CDlgSetting dialog;
    dialog.SetTitle("MenuSettings");
    for (const char* title : { "one", "two", "three" })
        ASSERT_NE(nullptr, dialog.AddPage(RUNTIME_CLASS(CMenuPage), title, IDD_TESTPAGE, title));
    // Each step: the page to select (-1: none), then a popup must be subclassed.
    struct Step
    {
        const char* what;
        int select;
    };
    const Step steps[] = {
        {"with the first page", -1},
        {"after switching to a new page", 2},
        {"after switching back to a made page", 0},
        {"after one more new page", 1},
    };
    std::vector<std::function<void()>> run;
    for (const Step& step : steps) {
        run.push_back([&dialog, step] {
            SCOPED_TRACE(step.what);
            HWND hTree = ::GetDlgItem(dialog.m_hWnd, IDC_SETTING_TREE);
            if (step.select >= 0)
                TreeView_SelectItem(hTree, TreeItem(hTree, step.select));
            EXPECT_TRUE(IsMenuHookInstalled());
            EXPECT_TRUE(PopupIsSubclassed());
        });
    }
    run.push_back([&dialog] { Click(dialog.m_hWnd, IDCANCEL); });
    WhileModal(run);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(AllStepsRan());
    EXPECT_EQ(std::vector<bool>({ true, true, true }), s_madePopups);
}
