// CDialog: modal and modeless dialogs from a template, OnInitDialog, the
// OK and Cancel commands and the exception barrier.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/dialog/Dialog.h"
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
