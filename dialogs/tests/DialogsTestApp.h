// The test programs' application object of the dialogs library, a program
// folder per test, and the driving of modal dialogs from inside their loop.
#ifndef VA_DIALOGS_TESTS_DIALOGSTESTAPP_H
#define VA_DIALOGS_TESTS_DIALOGSTESTAPP_H

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "dialogs/core/FormsetApp.h"
#include "tests/support/ProgramFolder.h"

extern CFormsetApp theApp;

class DialogsTest : public ::testing::Test
{
public:
    void SetUp() override;
    void TearDown() override;

    // Runs the steps one after another from the thread's next modal loops
    // (a timer per step); a step may end the dialog it drives.
    static void WhileModal(std::vector<std::function<void()>> steps);
    static bool AllStepsRan();
    // The visible dialog window of this thread with the caption, or the
    // topmost visible one for null.
    static HWND FindDialog(const char* caption = nullptr);
    // Clicks a button of the dialog (a BN_CLICKED command).
    static void Click(HWND hDlg, int id);
    static void Pump();

protected:
    std::unique_ptr<ProgramFolder> m_folder;
    HWND m_hMain = nullptr;
};

#endif // VA_DIALOGS_TESTS_DIALOGSTESTAPP_H
