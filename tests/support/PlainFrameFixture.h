// A plain frame window for bars and dialogs, in a test's own program folder with
// the default settings: no main frame, no application.
#ifndef VA_TESTS_SUPPORT_PLAINFRAMEFIXTURE_H
#define VA_TESTS_SUPPORT_PLAINFRAMEFIXTURE_H

#include <gtest/gtest.h>

#include <memory>

#include "framework/frame/FrameWnd.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tests/support/ProgramFolder.h"

class PlainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder.reset(new ProgramFolder);
        AppSettings() = SettingsRecord();
        ASSERT_TRUE(AppFolders().CreateDataFolders(m_folder->File("VantorelArco.exe").c_str()));
        AppStrings().SetFolder(AppFolders().GetStringFolder());
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
        m_hFrame = m_pFrame->m_hWnd;
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
        m_folder.reset();
    }

    std::unique_ptr<ProgramFolder> m_folder;
    CFrameWnd* m_pFrame = nullptr;  // deletes itself with its window
    HWND m_hFrame = nullptr;
};

#endif // VA_TESTS_SUPPORT_PLAINFRAMEFIXTURE_H
