// The main of the GUI test programs: the process is set up as the program
// sets itself up (OLE on a single-threaded apartment, the common controls)
// before the tests run.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS };
    ::InitCommonControlsEx(&icc);
    int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
