// CDialogsLibrary: the binding to the dialogs library "Formbay.dll" for one
// call. The library is taken as loaded, or loaded from the program folder;
// it is freed again only when this binding loaded it. Without a program
// folder (empty) there is none. A missing library or export gives null: the
// command then does nothing.
#ifndef VA_SHARED_DIALOGSLIBRARY_H
#define VA_SHARED_DIALOGSLIBRARY_H

#include <windows.h>

#include "framework/core/CString.h"
#include "shared/FormbayExports.h"

class CDialogsLibrary
{
public:
    explicit CDialogsLibrary(const CString& programFolder);
    ~CDialogsLibrary();
    CDialogsLibrary(const CDialogsLibrary&) = delete;
    CDialogsLibrary& operator=(const CDialogsLibrary&) = delete;

    bool IsLoaded() const { return m_module != nullptr; }
    bool LoadedHere() const { return m_loadedHere; }

    // The export, cast to its function type; null when missing. Results the
    // library returns by pointer must be copied before this object goes.
    template <class Fn>
    Fn Get(LPCSTR name) const
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetExport(name)));
    }
    FARPROC GetExport(LPCSTR name) const;

    static const char kFileName[];

private:
    HMODULE m_module = nullptr;
    bool m_loadedHere = false;
};

#endif // VA_SHARED_DIALOGSLIBRARY_H
