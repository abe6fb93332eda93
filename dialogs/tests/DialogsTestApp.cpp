#include "dialogs/tests/DialogsTestApp.h"

#include "framework/win/Wnd.h"

CFormsetApp theApp;

namespace {

std::vector<std::function<void()>> s_steps;  // the next step at the front
size_t s_next = 0;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (s_next >= s_steps.size())
        return;
    // A modal loop shows its dialog once its queue is empty: a step waits
    // for that.
    if (DialogsTest::FindDialog() == nullptr) {
        ::SetTimer(nullptr, 0, 10, StepTimer);
        return;
    }
    std::function<void()> step = s_steps[s_next++];
    if (s_next < s_steps.size())
        ::SetTimer(nullptr, 0, 20, StepTimer);
    step();
}

struct FindState
{
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam)
{
    FindState* state = reinterpret_cast<FindState*>(lParam);
    char name[16] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (strcmp(name, "#32770") != 0 || !::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd))
        return TRUE;
    char text[256] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    if (state->caption != nullptr && strcmp(text, state->caption) != 0)
        return TRUE;
    state->found = hWnd;
    return FALSE;
}

} // namespace

void DialogsTest::SetUp()
{
    m_folder.reset(new ProgramFolder);
    // The list pages' folders, as the program makes them at its start: a
    // list written into a missing folder fails, and is told.
    m_folder->MakeFolder("Plugin");
    m_folder->MakeFolder("Script");
    theApp.InitInstance();
    theApp.SetDataFolder(m_folder->Path().c_str());
    theApp.m_hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    m_hMain = ::CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    theApp.m_hMainWnd = m_hMain;
    s_steps.clear();
    s_next = 0;
}

void DialogsTest::TearDown()
{
    theApp.ExitInstance();
    ::DestroyWindow(m_hMain);
    Pump();
    // As the library's unload does.
    AfxUnregisterClasses();
    m_folder.reset();
}

void DialogsTest::WhileModal(std::vector<std::function<void()>> steps)
{
    s_steps = std::move(steps);
    s_next = 0;
    ::SetTimer(nullptr, 0, 20, StepTimer);
}

bool DialogsTest::AllStepsRan()
{
    return s_next == s_steps.size();
}

HWND DialogsTest::FindDialog(const char* caption)
{
    FindState state = { caption, nullptr };
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

void DialogsTest::Click(HWND hDlg, int id)
{
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, id)));
}

void DialogsTest::Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
