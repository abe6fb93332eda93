// A stand-in for the dialogs library: one export that counts its calls.
#include <windows.h>

extern "C" int WINAPI FakeExport(int value)
{
    static int s_calls = 0;
    return value * 100 + ++s_calls;
}
