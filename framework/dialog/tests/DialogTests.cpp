// CDialog: modal and modeless dialogs from a template, OnInitDialog, the
// OK and Cancel commands and the exception barrier.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/dialog/DataExchange.h"
#include "framework/dialog/Dialog.h"
#include "framework/dialog/PropertyPage.h"
#include "DialogTestsRes.h"

namespace {

class CEndingDialog : public CDialog
{
public:
    explicit CEndingDialog(UINT nCommand) : CDialog(IDD_DIALOGTEST), m_nCommand(nCommand) {}

    BOOL OnInitDialog() override
    {
        ++m_nInits;
        m_hEdit = ::GetDlgItem(m_hWnd, IDC_DIALOGTEST_EDIT);
        // The command arrives once the modal loop runs.
        PostMessage(WM_COMMAND, MAKEWPARAM(m_nCommand, BN_CLICKED),
                    reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, static_cast<int>(m_nCommand))));
        return TRUE;
    }
    void OnOK() override
    {
        ++m_nOKs;
        CDialog::OnOK();
    }

    UINT m_nCommand;
    int m_nInits = 0;
    int m_nOKs = 0;
    HWND m_hEdit = nullptr;
};

class CThrowingDialog : public CDialog
{
public:
    CThrowingDialog() : CDialog(IDD_DIALOGTEST) {}
    BOOL OnInitDialog() override
    {
        PostMessage(WM_COMMAND, IDCANCEL, 0);
        throw std::runtime_error("init failed");
    }
};

} // namespace

TEST(DialogTest, ModalDialogRunsInitAndEndsWithTheCommandsResult)
{
    CEndingDialog ok(IDOK);
    EXPECT_EQ(IDOK, ok.DoModal());
    EXPECT_EQ(1, ok.m_nInits);
    EXPECT_EQ(1, ok.m_nOKs);
    EXPECT_NE(nullptr, ok.m_hEdit);
    EXPECT_EQ(nullptr, ok.m_hWnd);  // released with its window

    CEndingDialog cancel(IDCANCEL);
    EXPECT_EQ(IDCANCEL, cancel.DoModal());
    EXPECT_EQ(0, cancel.m_nOKs);
}

TEST(DialogTest, ExceptionInOnInitDialogDoesNotLeaveTheDialogProcedure)
{
    CThrowingDialog dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST(DialogTest, MissingTemplateFailsWithMinusOne)
{
    CDialog dialog(9999);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_FALSE(dialog.Create(9999));
}

TEST(DialogTest, ModelessDialogIsCreatedAndDestroyedByOK)
{
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_DIALOGTEST));
    HWND hWnd = dialog.m_hWnd;
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(&dialog, CWnd::FromHandlePermanent(hWnd));
    ::SendMessageA(hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

namespace {

// Records what reaches PreTranslateMessage and what the dialog keys do.
class CKeyDialog : public CDialog
{
public:
    CKeyDialog() : CDialog(IDD_DIALOGTEST) {}

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_bOwnerEnabledInside = m_hOwner != nullptr && ::IsWindowEnabled(m_hOwner);
        m_hOwnerSeen = ::GetWindow(m_hWnd, GW_OWNER);
        if (m_bWithPage)
        {
            m_page.CreateAsChild(IDD_DIALOGTEST_PAGE, this);
            m_page.ShowWindow(SW_SHOW);
            m_hTarget = ::GetDlgItem(m_page.m_hWnd, IDC_DIALOGTEST_PAGEEDIT);
        }
        else
            m_hTarget = ::GetDlgItem(m_hWnd, IDC_DIALOGTEST_EDIT);
        ::SetFocus(m_hTarget);
        ::PostMessageA(m_hTarget, WM_KEYDOWN, m_nKey, 0);
        return FALSE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hTarget)
            ++m_nKeysSeen;
        return CDialog::PreTranslateMessage(pMsg);
    }
    void OnCancel() override
    {
        ++m_nCancels;
        CDialog::OnCancel();
    }

    HWND m_hOwner = nullptr;
    HWND m_hOwnerSeen = nullptr;
    BOOL m_bOwnerEnabledInside = TRUE;
    BOOL m_bWithPage = FALSE;
    UINT m_nKey = VK_ESCAPE;
    HWND m_hTarget = nullptr;
    int m_nKeysSeen = 0;
    int m_nCancels = 0;
    CPropertyPage m_page;
};

class CExchangeDialog : public CDialog
{
public:
    CExchangeDialog() : CDialog(IDD_DIALOGTEST) {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_DIALOGTEST_EDIT, m_nValue); }
    int m_nValue = 42;
};

} // namespace

TEST(DialogTest, ModalLoopOffersKeysToPreTranslateMessageAndDisablesTheOwner)
{
    HWND hOwner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                    nullptr, nullptr, nullptr);
    ::SetActiveWindow(hOwner);
    CKeyDialog dialog;
    dialog.m_hOwner = hOwner;
    // Esc reaches the dialog's PreTranslateMessage first, then the dialog
    // keys turn it into Cancel.
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_nKeysSeen);
    EXPECT_EQ(1, dialog.m_nCancels);
    // Without a parent or main window the active window owns the dialog.
    EXPECT_EQ(hOwner, dialog.m_hOwnerSeen);
    EXPECT_FALSE(dialog.m_bOwnerEnabledInside);
    EXPECT_TRUE(::IsWindowEnabled(hOwner));
    ::DestroyWindow(hOwner);
}

TEST(DialogTest, EscInAPageReachesItsHostsCancel)
{
    CKeyDialog dialog;
    dialog.m_bWithPage = TRUE;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_nKeysSeen);
    EXPECT_EQ(1, dialog.m_nCancels);
    EXPECT_EQ(nullptr, dialog.m_page.m_hWnd);  // destroyed with its host
}

TEST(DialogTest, PageLosesItsFrameAndBecomesAControlChild)
{
    CDialog host;
    ASSERT_TRUE(host.Create(IDD_DIALOGTEST));
    CPropertyPage page;
    ASSERT_TRUE(page.CreateAsChild(IDD_DIALOGTEST_PAGE, &host));
    DWORD dwStyle = page.GetStyle();
    EXPECT_TRUE(dwStyle & WS_CHILD);
    EXPECT_TRUE(dwStyle & DS_CONTROL);
    EXPECT_FALSE(dwStyle & (WS_CAPTION | WS_THICKFRAME | WS_POPUP | WS_VISIBLE));
    EXPECT_EQ(host.m_hWnd, ::GetParent(page.m_hWnd));
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CDialog)));
    host.DestroyWindow();
    EXPECT_EQ(nullptr, page.m_hWnd);

    CPropertyPage missing;
    EXPECT_FALSE(missing.CreateAsChild(9999, &host));
}

namespace {

enum class InitPlacement { None, Moved, Shown, OptedOut };

// Does what its case asks in OnInitDialog, then ends and notes where it was
// when the loop ran.
class CPlacedDialog : public CDialog
{
public:
    CPlacedDialog(CWnd* pOwner, InitPlacement placement) : CDialog(IDD_DIALOGTEST, pOwner), m_placement(placement) {}

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetWindowRect(&m_rcCreated);
        if (m_placement == InitPlacement::Moved)
            SetWindowPos(nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        else if (m_placement == InitPlacement::Shown)
            ShowWindow(SW_SHOW);
        PostMessage(WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    BOOL CheckAutoCenter() override { return m_placement != InitPlacement::OptedOut; }
    void OnCancel() override
    {
        GetWindowRect(&m_rcShown);
        CDialog::OnCancel();
    }

    InitPlacement m_placement;
    RECT m_rcCreated = {};
    RECT m_rcShown = {};
};

RECT WorkArea()
{
    RECT rc = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

} // namespace

TEST(DialogTest, ModalDialogIsCentredOverItsOwnerUnlessItPlacedItself)
{
    const RECT work = WorkArea();
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, work.left + 300, work.top + 250, 500,
                               400, nullptr, nullptr));
    const struct
    {
        InitPlacement placement;
        bool bCentred;
    } cases[] = {
        { InitPlacement::None, true },
        { InitPlacement::Moved, false },
        { InitPlacement::Shown, false },
        { InitPlacement::OptedOut, false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.placement));
        CPlacedDialog dialog(&owner, c.placement);
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        const RECT& rc = dialog.m_rcShown;
        if (c.bCentred)
        {
            EXPECT_NEAR(work.left + 550, (rc.left + rc.right) / 2, 1);
            EXPECT_NEAR(work.top + 450, (rc.top + rc.bottom) / 2, 1);
        }
        else if (c.placement == InitPlacement::Moved)
        {
            EXPECT_EQ(10, rc.left);
            EXPECT_EQ(20, rc.top);
        }
        else
        {
            EXPECT_EQ(dialog.m_rcCreated.left, rc.left);
            EXPECT_EQ(dialog.m_rcCreated.top, rc.top);
        }
    }
    owner.DestroyWindow();
}

TEST(DialogTest, DialogOverAnOwnerPartlyOffTheWorkAreaStaysInsideIt)
{
    const RECT work = WorkArea();
    const POINT corners[] = { { work.left - 300, work.top - 250 }, { work.right - 150, work.bottom - 100 } };
    for (const POINT& at : corners)
    {
        SCOPED_TRACE(at.x);
        CWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, at.x, at.y, 500, 400, nullptr,
                                   nullptr));
        CPlacedDialog dialog(&owner, InitPlacement::None);
        dialog.DoModal();
        const RECT& rc = dialog.m_rcShown;
        EXPECT_GE(rc.left, work.left);
        EXPECT_GE(rc.top, work.top);
        EXPECT_LE(rc.right, work.right);
        EXPECT_LE(rc.bottom, work.bottom);
        // Pressed against the edge nearest the owner's centre.
        EXPECT_TRUE(rc.left == work.left || rc.right == work.right);
        owner.DestroyWindow();
    }
}

TEST(DialogTest, UpdateDataMovesNumbersBothWaysAndRefusesText)
{
    CExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_DIALOGTEST));
    HWND hEdit = ::GetDlgItem(dialog.m_hWnd, IDC_DIALOGTEST_EDIT);
    char text[16] = {};
    ::GetWindowTextA(hEdit, text, sizeof(text));
    EXPECT_STREQ("42", text);  // OnInitDialog filled the control

    ::SetWindowTextA(hEdit, " -7 ");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(-7, dialog.m_nValue);

    ::SetWindowTextA(hEdit, "abc");
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(-7, dialog.m_nValue);
    // OK with a control that cannot be stored keeps the dialog open.
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(::IsWindow(hEdit));
    dialog.DestroyWindow();
}

TEST(ModalLoopTest, EndModalLoopEndsTheLoopWithItsResult)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "loop", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    // Ended from a message of the loop itself.
    struct CTimerEnd
    {
        static void CALLBACK Fire(HWND hWnd, UINT, UINT_PTR id, DWORD)
        {
            ::KillTimer(hWnd, id);
            CWnd::FromHandlePermanent(hWnd)->EndModalLoop(7);
        }
    };
    ::SetTimer(wnd.m_hWnd, 1, 1, &CTimerEnd::Fire);
    EXPECT_EQ(7, wnd.RunModalLoop(MLF_NOKICKIDLE));
    EXPECT_FALSE(wnd.ContinueModal());
    wnd.DestroyWindow();
}

TEST(ModalLoopTest, CenterWindowCentresOverTheOwner)
{
    HWND hOwner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                                    nullptr, nullptr, nullptr, nullptr);
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "centred", WS_POPUP, 0, 0, 100, 50, hOwner, nullptr));
    wnd.CenterWindow();
    RECT rc;
    wnd.GetWindowRect(&rc);
    EXPECT_EQ(250, rc.left);
    EXPECT_EQ(225, rc.top);
    wnd.DestroyWindow();
    ::DestroyWindow(hOwner);
}

// Over a minimised owner a window goes to the middle of the work area, not
// over the owner's icon; a window larger than the work area keeps its
// left and top edges, and so its caption, inside it.
TEST(ModalLoopTest, CenterWindowKeepsTheWindowInTheWorkArea)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromPoint(POINT{ 0, 0 }, MONITOR_DEFAULTTOPRIMARY), &mi));
    const RECT area = mi.rcWork;
    const int width = area.right - area.left, height = area.bottom - area.top;
    const struct
    {
        const char* what;
        bool minimised;
        int cx, cy;
        int left, top;
    } cases[] = {
        { "minimised owner", true, 100, 50, (area.left + area.right) / 2 - 50, (area.top + area.bottom) / 2 - 25 },
        { "wider and taller than the work area", false, width + 200, height + 100, area.left, area.top },
        { "wider than the work area", false, width + 200, 50, area.left, 225 },
        { "taller than the work area", false, 100, height + 100, 250, area.top },
    };
    for (const auto& c : cases) {
        HWND hOwner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                                        nullptr, nullptr, nullptr);
        if (c.minimised) {
            ::ShowWindow(hOwner, SW_MINIMIZE);
            ASSERT_TRUE(::IsIconic(hOwner));
        }
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "centred", WS_POPUP, 0, 0, c.cx, c.cy, hOwner, nullptr));
        wnd.CenterWindow();
        RECT rc;
        wnd.GetWindowRect(&rc);
        EXPECT_EQ(c.left, rc.left) << c.what;
        EXPECT_EQ(c.top, rc.top) << c.what;
        wnd.DestroyWindow();
        ::DestroyWindow(hOwner);
    }
}
