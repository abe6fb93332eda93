// The dialog templates of a module, made into real windows for tests that
// look at them (caption measurements, screenshots): every RT_DIALOG resource
// created from its own bytes with a procedure that does nothing, so what
// shows is the template alone.
//
// Classes in this file:
//   ResourceModule   a module loaded as data only (its resources, no code)
#ifndef VA_TESTS_SUPPORT_DIALOGTEMPLATES_H
#define VA_TESTS_SUPPORT_DIALOGTEMPLATES_H

#include <windows.h>

#include <string>
#include <vector>

// Every RT_DIALOG of the module with an integer id, ascending.
std::vector<WORD> DialogTemplateIds(HMODULE hModule);

// The window style the template asks for (0 when there is no such template).
DWORD DialogTemplateStyle(HMODULE hModule, WORD id);

// The template made into a hidden dialog with a do-nothing procedure, owned
// by (or, for a WS_CHILD template, a child of) hParent; nullptr if it cannot
// be made. Controls of classes this process has not registered are left out
// instead of failing the dialog (the copy made here adds DS_NOFAILCREATE).
// The caller destroys the window.
HWND CreateTemplateDialog(HMODULE hModule, WORD id, HWND hParent);

// A module loaded as a data file: its resources can be read, none of its
// code runs (no DllMain, no imports resolved), and a module of the other
// architecture loads as well.
class ResourceModule
{
public:
    explicit ResourceModule(const std::string& path);
    ~ResourceModule();
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    HMODULE Handle() const { return m_hModule; }

private:
    HMODULE m_hModule = nullptr;
};

#endif // VA_TESTS_SUPPORT_DIALOGTEMPLATES_H
