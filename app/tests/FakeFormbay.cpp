// A stand-in for the dialogs library: an export that counts its calls; a
// settings dialog that answers OK without a record (and leaves a mark in
// the data folder, so that a test knows it ran); and the single-page and
// group exports, which answer with the result and text a test sets through
// FakeSetAnswer (the test keeps the library loaded meanwhile). A test of the
// same process may hand in an editor through FakeSetSettingsEditor: the
// settings exports then answer OK with the record it returns for the
// caller's.
#include <windows.h>

#include <string>

namespace {

int g_result = 0;
char g_text[256] = "";
int g_calls = 0;
typedef void*(WINAPI* SettingsEditor)(void* settings);
SettingsEditor g_editor = nullptr;

} // namespace

extern "C" {

int WINAPI FakeExport(int value)
{
    static int s_calls = 0;
    return value * 100 + ++s_calls;
}

void WINAPI FakeSetAnswer(int result, const char* text)
{
    g_result = result;
    lstrcpynA(g_text, text != nullptr ? text : "", sizeof(g_text));
}

int WINAPI FakeCallCount()
{
    return g_calls;
}

void WINAPI FakeSetSettingsEditor(SettingsEditor editor)
{
    g_editor = editor;
}

void* WINAPI ShowSettingDlg(HICON, HWND, const char*, const char* dataFolder, void* settings, int* dlgResult)
{
    if (dlgResult != nullptr)
        *dlgResult = IDOK;
    if (dataFolder != nullptr) {
        std::string mark = std::string(dataFolder) + "fake-settings-called";
        HANDLE file = CreateFileA(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    return g_editor != nullptr ? g_editor(settings) : nullptr;
}

// The single-page settings exports hand the caller's record back: what they change is
// the test's business.
static void* AnswerSettings(void* settings, int* result)
{
    ++g_calls;
    *result = g_result;
    if (g_result != 1)
        return nullptr;
    return g_editor != nullptr ? g_editor(settings) : settings;
}

void* WINAPI ShowPtabTempDlg(HICON, HWND, const char*, const char*, void* settings, int* result)
{
    return AnswerSettings(settings, result);
}

void* WINAPI ShowPtabSCDlg(HICON, HWND, const char*, const char*, void* settings, int* result)
{
    return AnswerSettings(settings, result);
}

void* WINAPI ShowProxySettingDlg(HICON, HWND, const char*, const char*, void* settings,
                                 int* result)
{
    return AnswerSettings(settings, result);
}

const char* WINAPI ShowPtabCustom(HICON, void* group, int* result)
{
    ++g_calls;
    *result = group != nullptr ? g_result : 0;
    return g_text;
}

const char* WINAPI ShowPtabRename(HICON, const void* group, int* result)
{
    ++g_calls;
    *result = group != nullptr ? g_result : 0;
    return g_text;
}

} // extern "C"
