// The program's entry point, linked into a program through the
// framework_winmain target (a static library could not supply it: the C
// runtime asks for WinMain after the libraries were searched).
#include "framework/app/WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
