// A stand-in for the dialogs library whose dialogs are message boxes: a
// modal loop of the system's, in which the test closes the calling tab.
#include <windows.h>

extern "C" const char* WINAPI ShowPFindDlg(HICON, int* value, int* cleared, int* result)
{
    ::MessageBoxA(nullptr, "find", "Formbay", MB_OK);
    *value = 0;
    *cleared = 0;
    *result = 1;
    return "needle";
}

extern "C" const char* WINAPI ShowOpenDlg(int, const char*, int* result)
{
    ::MessageBoxA(nullptr, "open", "Formbay", MB_OK);
    *result = 1;
    return "http://opened.example/";
}
