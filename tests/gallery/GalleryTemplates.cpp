// The gallery's shots of every dialog template of both modules, made from
// the template alone (no dialog class fills it): the layout and the labels
// as the template gives them, settings pages and dialogs alike. The main
// program's templates are this program's own resources; the dialogs
// library's are read from the built Formbay.dll, none of whose code runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/gallery/GalleryShots.h"
#include "tests/support/DialogTemplates.h"
#include "tests/support/ProgramFolder.h"

namespace {

const char kHostClass[] = "VaGalleryHost";

// The window a page template (a child dialog) shows in, and the owner of
// the others: a plain popup in the dialog colour, out of the way of the
// shots until a page needs it.
class TemplateHost
{
public:
    TemplateHost()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kHostClass;
        ::RegisterClassA(&wc);  // fails harmlessly once registered
        m_hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, kHostClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    }
    ~TemplateHost() { ::DestroyWindow(m_hWnd); }
    TemplateHost(const TemplateHost&) = delete;
    TemplateHost& operator=(const TemplateHost&) = delete;
    HWND Handle() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

// Where the shots are taken: clear of the screen's edge.
const int kLeft = 20;
const int kTop = 20;

// Shows the dialog made from the template (a page inside the host, at the
// host's size) and shoots it; false when the template makes no window.
bool ShootTemplate(HMODULE hModule, WORD id, HWND hHost, const std::string& name)
{
    HWND hDlg = CreateTemplateDialog(hModule, id, hHost);
    if (hDlg == nullptr) {
        ADD_FAILURE() << name << ": no dialog from the template";
        return false;
    }
    RECT rc = {};
    ::GetWindowRect(hDlg, &rc);
    const bool isPage = (::GetWindowLongPtrA(hDlg, GWL_STYLE) & WS_CHILD) != 0;
    if (isPage) {
        ::SetWindowPos(hHost, HWND_TOP, kLeft, kTop, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ::SetWindowPos(hDlg, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    } else {
        ::SetWindowPos(hDlg, HWND_TOP, kLeft, kTop, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    Settle(50);
    // A template may hold nothing but an empty tree or list that fills it.
    const bool kept = KeepShot(name, CaptureShownWindow(hDlg), Plain::KeptUnlessBlack);
    ::DestroyWindow(hDlg);
    ::ShowWindow(hHost, SW_HIDE);
    return kept;
}

int ShootEveryTemplate(HMODULE hModule, const char* prefix)
{
    TemplateHost host;
    int shots = 0;
    for (WORD id : DialogTemplateIds(hModule)) {
        char name[64];
        std::snprintf(name, sizeof(name), "%s%u", prefix, static_cast<unsigned>(id));
        if (ShootTemplate(hModule, id, host.Handle(), name))
            ++shots;
    }
    return shots;
}

} // namespace

TEST(GalleryTemplates, EveryDialogOfTheDialogsLibrary)
{
    const std::string path = ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\Formbay.dll";
    ResourceModule library(path);
    ASSERT_NE(nullptr, library.Handle()) << path;
    EXPECT_GT(ShootEveryTemplate(library.Handle(), "dialog-"), 30);
}

TEST(GalleryTemplates, EveryDialogOfTheMainProgram)
{
    EXPECT_GT(ShootEveryTemplate(::GetModuleHandleA(nullptr), "dialog-main-"), 3);
}
