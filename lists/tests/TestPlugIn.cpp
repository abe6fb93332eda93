// A plug-in module for the catalog tests. Each build names itself by
// TEST_PLUGIN_NAME and answers keys with TEST_PLUGIN_KEY_RESULT; every call
// is written into a log the test reads through the export TestPlugInLog.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

char g_log[4096];

void Log(const char* format, ...)
{
    size_t used = std::strlen(g_log);
    va_list args;
    va_start(args, format);
    std::vsnprintf(g_log + used, sizeof(g_log) - used, format, args);
    va_end(args);
}

} // namespace

extern "C" {

const char* TestPlugInLog()
{
    return g_log;
}

const char* PlugInName()
{
    return TEST_PLUGIN_NAME;
}

HICON PlugInIcon()
{
    return LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
}

int WINAPI PluginExecute(HWND hMain, int reserved, const char* text)
{
    Log("execute(%d,%s);", reserved, text == nullptr ? "null" : text[0] == '\0' ? "empty" : text);
    return 1;
}

void WINAPI PluginIDleCall(HWND hMain)
{
    Log("idle;");
}

int WINAPI PluginTranslateKeyDown(HWND hWnd, WPARAM key)
{
    Log("key(%u);", static_cast<unsigned>(key));
    return TEST_PLUGIN_KEY_RESULT;
}

} // extern "C"
