// The script runner: the page it loads for each kind of script, and its end.
#include <windows.h>

#include <string>

#include "app/MainFrame.h"
#include "shared/AppData.h"
#include "tab/ScriptRunDlg.h"
#include "app/tests/TabFixture.h"

namespace {

class ScriptRunTest : public TabTest
{
protected:
    // Runs the script; the URL the runner's control was sent to.
    std::wstring Run(const std::string& path, INT_PTR* pResult = nullptr, UINT limit = 30000)
    {
        CScriptRunDlg runner;
        runner.m_scriptPath = path.c_str();
        runner.m_timeLimitMs = limit;
        const INT_PTR result = runner.DoModal();
        if (pResult != nullptr)
            *pResult = result;
        // The runner still holds its control until it goes.
        const auto& all = TestWebBrowser::GetInstances();
        if (all.empty() || all.back()->GetNavigateCalls().empty())
            return L"";
        m_dlControl = all.back()->GetDlControl();
        return all.back()->GetNavigateCalls().back().url;
    }
    std::string TempPage() const
    {
        return m_folder->ReadBytes("Script/VAScriptCallTmp.html");
    }

    LONG m_dlControl = 0;
};

} // namespace

TEST_F(ScriptRunTest, AnHtmlScriptIsLoadedItselfAndTheRunEndsWithItsDocument)
{
    const std::string script = std::string(AppFolders().GetScriptFolder()) + "page.htm";
    INT_PTR result = 0;
    EXPECT_EQ(std::wstring(script.begin(), script.end()), Run(script, &result));
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("", TempPage());
    // The control hosted by the runner was told its download-control word.
    EXPECT_EQ(0x4700, m_dlControl);
}

TEST_F(ScriptRunTest, ScriptsFillTheTemplateByTheirLastExtensionInAnyCase)
{
    const std::string folder(AppFolders().GetScriptFolder());
    Run(folder + "a.b.js");
    EXPECT_EQ("<html><head><script language=\"javascript\" src=\"" + folder
                  + "a.b.js\"></script></head><body></body></html>\r\n",
              TempPage());
    const std::wstring url = Run(folder + "Tool.Vbs");
    EXPECT_NE(std::string::npos, TempPage().find("language=\"vbscript\" src=\"" + folder + "Tool.Vbs\""));
    EXPECT_NE(std::wstring::npos, url.find(L"VAScriptCallTmp.html"));
}

TEST_F(ScriptRunTest, TheTemplateIsFilledNeverFormatted)
{
    EXPECT_STREQ("<x a=\"javascript\" b=\"C:\\%s%d.js\"> %s",
                 CScriptRunDlg::FillTemplate("<x a=\"%s\" b=\"%s\"> %s", "javascript",
                                             "C:\\%s%d.js"));
    EXPECT_STREQ("no conversions", CScriptRunDlg::FillTemplate("no conversions", "a", "b"));
}

// Regression: the run was cut at the limit without a word.
TEST_F(ScriptRunTest, APageThatNeverCompletesEndsAtTheTimeLimitAndTheStatusBarSaysSo)
{
    TestWebBrowser::SetNeverComplete(true);
    INT_PTR result = 0;
    Run(std::string(AppFolders().GetScriptFolder()) + "stuck.htm", &result, 50);
    TestWebBrowser::SetNeverComplete(false);
    EXPECT_EQ(IDCANCEL, result);
    char text[256] = {};
    ::SendMessageA(m_frame->m_wndStatusBar.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    // etc.dat line 82 with the limit in whole seconds, rounded up.
    std::string expected(AppStrings().GetEtcText(82));
    ASSERT_NE(std::string::npos, expected.find("%d"));
    EXPECT_EQ(expected.replace(expected.find("%d"), 2, "1"), text);
}
