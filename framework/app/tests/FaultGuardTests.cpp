// The fault guard: which faults it takes, the holds it releases, and what a
// fault in a window's handler ends (the capture, a modal dialog) and leaves
// (a menu it runs in).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/FaultGuard.h"
#include "framework/dialog/Dialog.h"
#include "framework/win/Wnd.h"
#include "DialogTestsRes.h"

namespace {

int* volatile g_nowhere = nullptr;
volatile int g_zero = 0;
volatile int g_ten = 10;

void WriteThroughNull()
{
    *g_nowhere = 1;
}

TEST(FaultGuardFaults, AccessInPageAndDivideFaultsAreTakenTheProcessEndingOnesAreNot)
{
    struct Case
    {
        DWORD code;
        DWORD flags;
        bool survived;
    };
    const Case cases[] = {
        {EXCEPTION_ACCESS_VIOLATION, 0, true},
        {EXCEPTION_IN_PAGE_ERROR, 0, true},
        {EXCEPTION_INT_DIVIDE_BY_ZERO, 0, true},
        {EXCEPTION_INT_OVERFLOW, 0, true},
        {EXCEPTION_FLT_DIVIDE_BY_ZERO, 0, true},
        {0xC0000374, 0, false},  // heap corruption
        {EXCEPTION_STACK_OVERFLOW, 0, false},
        {0xC0000409, 0, false},  // stack buffer overrun
        {EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, false},
        {EXCEPTION_NONCONTINUABLE_EXCEPTION, 0, false},
        {0xE06D7363, EXCEPTION_NONCONTINUABLE, false},  // another compiler's C++ exception
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(c.survived, AfxIsSurvivableFault(c.code, c.flags));
        // The taken ones end only the call, raised or real.
        if (c.survived && c.flags == 0) {
            EXPECT_EQ(c.code, AfxCallGuarded([&] { ::RaiseException(c.code, 0, 0, nullptr); }));
        }
    }
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_INT_DIVIDE_BY_ZERO), AfxCallGuarded([] { g_zero = g_ten / g_zero; }));
    const unsigned before = AfxGetFaultCount();
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), AfxCallGuarded(WriteThroughNull));
    EXPECT_EQ(before + 1, AfxGetFaultCount());
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), AfxGetLastFaultCode());
}

DWORD g_passedOn = 0;

// The last handler of the thread: notes the code and lets the raise return.
LONG WINAPI NoteAndContinue(EXCEPTION_POINTERS* info)
{
    g_passedOn = info->ExceptionRecord->ExceptionCode;
    return EXCEPTION_CONTINUE_EXECUTION;
}

struct PassedOnCase
{
    DWORD code;
    std::vector<ULONG_PTR> arguments;
    // What the thread of the case saw: the guard's result, whether the call
    // went on, the code the last handler got and the faults counted.
    DWORD result = 0;
    bool returned = false;
    DWORD passedOn = 0;
    unsigned faultsCounted = 0;
};

// Raises the case's code in a guarded call. It runs on a thread of its own,
// whose outermost handler is the system's, which hands the exception to the
// unhandled-exception filter: on the 64-bit build the test program's own
// start-up frame has a handler of the runtime's that continues some of these
// codes (a misalignment) itself, so the filter never saw them there.
DWORD WINAPI RaisePassedOnCase(void* parameter)
{
    PassedOnCase& c = *static_cast<PassedOnCase*>(parameter);
    const unsigned faults = AfxGetFaultCount();
    g_passedOn = 0;
    c.result = AfxCallGuarded([&] {
        ::RaiseException(c.code, 0, static_cast<DWORD>(c.arguments.size()),
                         c.arguments.empty() ? nullptr : c.arguments.data());
        c.returned = true;
    });
    c.passedOn = g_passedOn;
    c.faultsCounted = AfxGetFaultCount() - faults;
    return 0;
}

// Debug output, breakpoints and the other exceptions of warning or
// informational severity are no faults: raised in a guarded call they pass
// the guard on to the handlers further out, and the call goes on.
TEST(FaultGuardFaults, WarningAndInformationalExceptionsPassTheGuardOn)
{
    // Wine keeps a thread's name to itself and resumes a raised breakpoint a
    // byte early: those two are not raised here.
    EXPECT_FALSE(AfxIsSurvivableFault(0x406D1388, 0));  // a thread's name
    EXPECT_FALSE(AfxIsSurvivableFault(EXCEPTION_BREAKPOINT, 0));
    const char text[] = "guarded output\n";
    PassedOnCase cases[] = {
        {0x40010006, {sizeof(text), reinterpret_cast<ULONG_PTR>(text)}},  // debug output
        {0x40000015, {}},  // fatal application exit, informational
        {STATUS_GUARD_PAGE_VIOLATION, {}},
        {EXCEPTION_DATATYPE_MISALIGNMENT, {}},
        {EXCEPTION_SINGLE_STEP, {}},
    };
    const LPTOP_LEVEL_EXCEPTION_FILTER before = ::SetUnhandledExceptionFilter(NoteAndContinue);
    for (PassedOnCase& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_FALSE(AfxIsSurvivableFault(c.code, 0));
        HANDLE thread = ::CreateThread(nullptr, 0, RaisePassedOnCase, &c, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 10000));
        ::CloseHandle(thread);
        EXPECT_EQ(0u, c.result);
        EXPECT_TRUE(c.returned);
        EXPECT_EQ(c.code, c.passedOn);
        EXPECT_EQ(0u, c.faultsCounted);
    }
    ::SetUnhandledExceptionFilter(before);
}

std::vector<std::string> g_released;

void Note(const ULONG_PTR* data)
{
    g_released.push_back(reinterpret_cast<const char*>(data[0]));
}

TEST(FaultGuardHolds, AFaultReleasesOnceTheHoldsBegunInsideItsCallNewestFirst)
{
    g_released.clear();
    CFaultHold outside;
    outside.Hold(Note, reinterpret_cast<ULONG_PTR>("outside"));
    CFaultHold survivor;  // a holder that outlives the call
    EXPECT_NE(0u, AfxCallGuarded([&] {
        survivor.Hold(Note, reinterpret_cast<ULONG_PTR>("survivor"));
        CFaultHold first;
        first.Hold(Note, reinterpret_cast<ULONG_PTR>("first"));
        CFaultHold released;
        released.Hold(Note, reinterpret_cast<ULONG_PTR>("released"));
        released.Release();
        CFaultHold last;
        last.Hold(Note, reinterpret_cast<ULONG_PTR>("last"));
        WriteThroughNull();
    }));
    EXPECT_EQ((std::vector<std::string>{"released", "last", "first", "survivor"}), g_released);
    EXPECT_FALSE(survivor.IsHeld());
    EXPECT_FALSE(survivor.Release());
    // The hold from before the call is the caller's still.
    EXPECT_TRUE(outside.IsHeld());
    EXPECT_TRUE(outside.Release());
    EXPECT_EQ("outside", g_released.back());
    EXPECT_EQ(5u, g_released.size());

    // A nested guard releases only its own; a release that faults ends alone.
    g_released.clear();
    EXPECT_EQ(0u, AfxCallGuarded([] {
        CFaultHold kept;
        kept.Hold(Note, reinterpret_cast<ULONG_PTR>("kept"));
        AfxCallGuarded([] {
            CFaultHold broken;
            broken.Hold([](const ULONG_PTR*) { WriteThroughNull(); });
            CFaultHold inner;
            inner.Hold(Note, reinterpret_cast<ULONG_PTR>("inner"));
            WriteThroughNull();
        });
        EXPECT_EQ((std::vector<std::string>{"inner"}), g_released);
    }));
    EXPECT_EQ((std::vector<std::string>{"inner", "kept"}), g_released);
}

const UINT kMsgCaptureAndFault = WM_APP + 30;
const UINT kMsgFaultOnly = WM_APP + 31;

// Writes through null while it holds the capture, or while its menu tracks.
class CFaultingWnd : public CWnd
{
public:
    bool m_idleInMenu = false;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == kMsgCaptureAndFault) {
            ::SetCapture(m_hWnd);
            WriteThroughNull();
        }
        if (nMsg == kMsgFaultOnly)
            WriteThroughNull();
        if (nMsg == WM_ENTERIDLE && wParam == MSGF_MENU) {
            m_idleInMenu = true;
            WriteThroughNull();
        }
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
};

bool g_menuLeftOpen = false;

void CALLBACK EndMenuLeftOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_menuLeftOpen = true;
    ::EndMenu();
}

TEST(FaultGuardThread, AFaultInAHandlerEndsTheCaptureItsWindowHoldsButNotTheMenuItRunsInAndCountsAsAFault)
{
    CFaultingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
    const unsigned before = AfxGetFaultCount();
    EXPECT_EQ(0, ::SendMessageA(wnd.m_hWnd, kMsgCaptureAndFault, 0, 0));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(before + 1, AfxGetFaultCount());

    // Another window's capture outlives the fault.
    CWnd holder;
    ASSERT_TRUE(holder.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr, nullptr));
    ::SetCapture(holder.m_hWnd);
    ::SendMessageA(wnd.m_hWnd, kMsgFaultOnly, 0, 0);
    EXPECT_NE(0u, AfxCallGuarded([] { WriteThroughNull(); }));
    EXPECT_EQ(before + 3, AfxGetFaultCount());
    EXPECT_EQ(holder.m_hWnd, ::GetCapture());
    ::ReleaseCapture();
    holder.DestroyWindow();

    // The menu was opened outside the handler, whose fault leaves it
    // tracking: the timer ends it.
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 100, "item");
    g_menuLeftOpen = false;
    const UINT_PTR standby = ::SetTimer(nullptr, 0, 300, EndMenuLeftOpen);
    ::SetForegroundWindow(wnd.m_hWnd);
    ::TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, wnd.m_hWnd, nullptr);
    ::KillTimer(nullptr, standby);
    EXPECT_TRUE(wnd.m_idleInMenu);
    EXPECT_TRUE(g_menuLeftOpen);
    ::DestroyMenu(menu);
    wnd.DestroyWindow();
}

const UINT kMsgOuter = WM_APP + 34;
const UINT kMsgInnerFault = WM_APP + 35;

// Its handler of kMsgOuter sends kMsgInnerFault to another window, whose
// handler faults, and then forwards its own message with Default().
class CNestingWnd : public CWnd
{
public:
    HWND m_hInner = nullptr;
    std::vector<UINT> m_forwarded;

protected:
    LRESULT OnOuter(WPARAM, LPARAM)
    {
        ::SendMessageA(m_hInner, kMsgInnerFault, 0, 0);
        return Default();
    }
    LRESULT OnInnerFault(WPARAM, LPARAM)
    {
        WriteThroughNull();
        return 0;
    }
    LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg >= WM_APP)
            m_forwarded.push_back(nMsg);
        return CWnd::DefWindowProc(nMsg, wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNestingWnd, CWnd)
    ON_MESSAGE(kMsgOuter, OnOuter)
    ON_MESSAGE(kMsgInnerFault, OnInnerFault)
END_MESSAGE_MAP()

TEST(FaultGuardThread, AfterAFaultInANestedHandlerTheOuterHandlersDefaultForwardsItsOwnMessage)
{
    CNestingWnd outer;
    CNestingWnd inner;
    ASSERT_TRUE(outer.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(inner.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    outer.m_hInner = inner.m_hWnd;
    ::SendMessageA(outer.m_hWnd, kMsgOuter, 0, 0);
    EXPECT_EQ((std::vector<UINT>{kMsgOuter}), outer.m_forwarded);
    EXPECT_TRUE(inner.m_forwarded.empty());
    inner.DestroyWindow();
    outer.DestroyWindow();
}

const UINT kMsgFaultInDialog = WM_APP + 32;
const UINT kMsgRunPopup = WM_APP + 33;
const UINT kMsgEndPopup = WM_APP + 37;
HWND g_dialog = nullptr;

// Where a modal dialog writes through null: in its handler of a message
// once its loop runs, in that handler after a popup's loop ran and ended
// inside the dialog, while it starts, or in the loop's own code, which
// breaks the call of DoModal off (also with a tip the dialog showed with no
// owner, as the dialogs library's settings dialog shows its help tip).
enum class DialogFault { InAHandler, AfterAPopupsLoop, InInit, InTheLoopsCode, InTheLoopsCodeWithATipShown };

bool BreaksDoModalOff(DialogFault where)
{
    return where == DialogFault::InTheLoopsCode || where == DialogFault::InTheLoopsCodeWithATipShown;
}

// A popup whose modal loop ends on a posted message, as a popup ends on a
// click.
class CEndingPopup : public CWnd
{
protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == kMsgEndPopup)
            EndModalLoop(IDOK);
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
};

class CFaultingDialog : public CDialog
{
public:
    CFaultingDialog(CWnd* pOwner, DialogFault where) : CDialog(IDD_DIALOGTEST, pOwner), m_where(where) {}
    HWND m_hDialog = nullptr;
    int m_popupResult = 0;
    CWnd m_tip;

protected:
    BOOL OnInitDialog() override
    {
        m_hDialog = m_hWnd;
        g_dialog = m_hWnd;
        if (m_where == DialogFault::InTheLoopsCodeWithATipShown)
            m_tip.CreateEx(WS_EX_TOPMOST, nullptr, "tip", WS_POPUP | WS_VISIBLE, 0, 0, 80, 20, nullptr, nullptr);
        if (m_where == DialogFault::InInit)
            WriteThroughNull();
        PostMessage(m_where == DialogFault::AfterAPopupsLoop ? kMsgRunPopup : kMsgFaultInDialog);
        return TRUE;
    }
    int RunModalLoop(DWORD dwFlags) override
    {
        if (BreaksDoModalOff(m_where))
            WriteThroughNull();
        return CDialog::RunModalLoop(dwFlags);
    }
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == kMsgRunPopup) {
            CEndingPopup popup;
            popup.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, m_hWnd, nullptr);
            popup.PostMessage(kMsgEndPopup);
            m_popupResult = popup.RunModalLoop(MLF_NOIDLEMSG);
            popup.DestroyWindow();
            WriteThroughNull();
        }
        if (nMsg == kMsgFaultInDialog)
            WriteThroughNull();
        return CDialog::WindowProc(nMsg, wParam, lParam);
    }

private:
    DialogFault m_where;
};

// Stands by in case the loop goes on after the fault: ends it with OK.
void CALLBACK EndDialogLeftOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (::IsWindow(g_dialog))
        ::SendMessageA(g_dialog, WM_COMMAND, IDOK, 0);
}

TEST(FaultGuardLoops, AFaultInAModalDialogEndsItAsCancelledWithItsWindowGoneAndItsOwnerEnabled)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                               nullptr));
    for (DialogFault where : {DialogFault::InAHandler, DialogFault::AfterAPopupsLoop, DialogFault::InInit,
                              DialogFault::InTheLoopsCode, DialogFault::InTheLoopsCodeWithATipShown}) {
        SCOPED_TRACE(static_cast<int>(where));
        CFaultingDialog dialog(&owner, where);
        const UINT_PTR standby = ::SetTimer(nullptr, 0, 5000, EndDialogLeftOpen);
        INT_PTR result = 0;
        const DWORD fault = AfxCallGuarded([&] { result = dialog.DoModal(); });
        ::KillTimer(nullptr, standby);
        const HWND tip = dialog.m_tip.m_hWnd;
        EXPECT_EQ(BreaksDoModalOff(where), fault != 0);
        if (where == DialogFault::AfterAPopupsLoop) {
            EXPECT_EQ(IDOK, dialog.m_popupResult);
        }
        if (fault == 0) {
            EXPECT_EQ(IDCANCEL, result);
            EXPECT_EQ(nullptr, dialog.m_hWnd);
        }
        EXPECT_NE(nullptr, dialog.m_hDialog);
        EXPECT_FALSE(::IsWindow(dialog.m_hDialog));
        EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(dialog.m_hDialog));
        if (tip != nullptr) {
            EXPECT_FALSE(::IsWindow(tip));
            EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(tip));
        }
    }
    owner.DestroyWindow();
}

} // namespace
