// End-to-end: which faults end the program. A plug-in's command raises an
// exception. Heap corruption, a stack overflow, a stack buffer overrun and a
// non-continuable exception end the process as the system ends it, with the
// exception's code and nothing more written, so that the next start finds
// the last good recovery file; an access violation is survived, and the
// program still closes in order.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shared/CommandIds.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"

namespace {

struct RaisedFault
{
    const char* raise;  // what the plug-in raises: "code" or "code:flags"
    DWORD exitCode;     // 0: survived, and the program closes in order
};

class FaultInAPlugInCommand : public ::testing::TestWithParam<RaisedFault>
{
};

TEST_P(FaultInAPlugInCommand, EndsTheProcessWithItsCodeOrIsSurvived)
{
    ProgramFolder folder;
    folder.WriteBytes("VantorelArco.ini", "[Vantorel]\r\niniver=1038\r\nbPlgEnable=1\r\n");
    folder.MakeFolder("plugin");
    const std::string plugIn = ProgramFolder::PathFromEnvironment("VA_TEST_PLUGIN_DIR") + "\\TestPlugInA.dll";
    ASSERT_TRUE(CopyFileA(plugIn.c_str(), folder.File("plugin/a.dll").c_str(), FALSE));
    const std::string lastGood = "VADatFileVer003\r\nFOLDER:\r\n\tLABEL:last good\r\n\tSTATE:0\r\n"
                                 "\tICON:0\r\n"
                                 "\tENTRY:\r\n\t\tSTATE:0\r\n\t\tLABEL:T\r\n\t\tURL:http://kept.example/\r\n"
                                 "\tENDENTRY:\r\nENDFOLDER:\r\n";
    folder.WriteBytes("Exception.dat", lastGood);

    // The program inherits what the plug-in is to raise. A command line
    // starts it without the question about the recovery file.
    ASSERT_TRUE(SetEnvironmentVariableA("VA_TEST_PLUGIN_RAISE", GetParam().raise));
    ProgramRun run(folder);
    const bool started = run.Start("http://start.example/");
    SetEnvironmentVariableA("VA_TEST_PLUGIN_RAISE", nullptr);
    ASSERT_TRUE(started);
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    ASSERT_TRUE(PostMessageA(wnd, WM_COMMAND, ID_PLUGIN_FIRST, 0));

    if (GetParam().exitCode != 0) {
        EXPECT_EQ(GetParam().exitCode, run.WaitForExit());
        EXPECT_EQ(lastGood, folder.ReadBytes("Exception.dat"));
        return;
    }
    // The close is queued behind the command.
    EXPECT_EQ(0u, run.CloseAndWait());
    EXPECT_FALSE(folder.Exists("Exception.dat"));
}

INSTANTIATE_TEST_SUITE_P(Raised, FaultInAPlugInCommand,
                         ::testing::Values(RaisedFault{"C0000374", 0xC0000374},  // heap corruption
                                           RaisedFault{"C00000FD", 0xC00000FD},  // stack overflow
                                           RaisedFault{"C0000409", 0xC0000409},  // stack buffer overrun
                                           RaisedFault{"C0000005:1", 0xC0000005},  // non-continuable
                                           RaisedFault{"C0000005", 0}));

} // namespace
