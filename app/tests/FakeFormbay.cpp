// A stand-in for the dialogs library: one export that counts its calls, and
// a settings dialog that answers OK without a record (and leaves a mark in
// the data folder, so that a test knows it ran).
#include <windows.h>

#include <string>

extern "C" int WINAPI FakeExport(int value)
{
    static int s_calls = 0;
    return value * 100 + ++s_calls;
}

extern "C" void* WINAPI ShowSettingDlg(HICON, HWND, const char*, const char* dataFolder, void*, int* dlgResult)
{
    if (dlgResult != nullptr)
        *dlgResult = IDOK;
    if (dataFolder != nullptr) {
        std::string mark = std::string(dataFolder) + "fake-settings-called";
        HANDLE file = CreateFileA(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    return nullptr;
}
