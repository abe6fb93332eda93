// The handle map, temporary wrappers and subclassing.
#include <gtest/gtest.h>

#include "framework/win/Controls.h"
#include "framework/win/HandleMap.h"
#include "framework/win/Menu.h"
#include "framework/win/Wnd.h"

namespace {

const UINT kMsgProbe = WM_APP + 10;

class CProbeWnd : public CWnd
{
public:
    int m_nCreate = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        ++m_nCreate;
        return CWnd::OnCreate(lpcs);
    }
    LRESULT OnProbe(WPARAM, LPARAM) { return 77; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(kMsgProbe, OnProbe)
END_MESSAGE_MAP()

HWND CreateForeignStatic(LPCSTR text)
{
    return ::CreateWindowExA(0, "STATIC", text, WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
}

TEST(HandleMap, UnknownHandleGetsOneTemporaryWrapperUntilCleanUp)
{
    HWND hForeign = CreateForeignStatic("t");
    ASSERT_NE(nullptr, hForeign);
    CWnd::DeleteTempMap();
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hForeign));
    CWnd* pTemp = CWnd::FromHandle(hForeign);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(hForeign, pTemp->m_hWnd);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hForeign));
    EXPECT_EQ(1u, CWnd::GetTempMapCount());

    // Locked maps keep their wrappers; unlocking to zero deletes them.
    AfxLockTempMaps();
    AfxLockTempMaps();
    EXPECT_FALSE(AfxUnlockTempMaps());
    EXPECT_EQ(1u, CWnd::GetTempMapCount());
    EXPECT_TRUE(AfxUnlockTempMaps());
    EXPECT_EQ(0u, CWnd::GetTempMapCount());
    // The temporary wrapper never destroyed the window it stood for.
    EXPECT_TRUE(::IsWindow(hForeign));
    ::DestroyWindow(hForeign);
}

TEST(HandleMap, NullHandleHasNoWrapper)
{
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    EXPECT_EQ(nullptr, CMenu::FromHandle(nullptr));
}

TEST(HandleMap, DestroyingAnObjectThatCreatedItsWindowDestroysTheWindow)
{
    HWND hWnd = nullptr;
    {
        CProbeWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST(Subclassing, SubclassedWindowRunsTheMapThenItsOwnProcedure)
{
    HWND hForeign = CreateForeignStatic("before");
    ASSERT_NE(nullptr, hForeign);
    WNDPROC pfnOriginal = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hForeign, GWLP_WNDPROC));
    {
        CProbeWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hForeign));
        EXPECT_FALSE(wnd.SubclassWindow(hForeign));
        EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hForeign));
        EXPECT_EQ(77, ::SendMessageA(hForeign, kMsgProbe, 0, 0));
        // Not in the map: the control's own procedure keeps its text.
        wnd.SetWindowText("after");
        char text[16] = "";
        ::GetWindowTextA(hForeign, text, sizeof(text));
        EXPECT_STREQ("after", text);
        EXPECT_EQ(hForeign, wnd.UnsubclassWindow());
    }
    // Released, not destroyed, and the original procedure is back.
    EXPECT_TRUE(::IsWindow(hForeign));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hForeign));
    EXPECT_EQ(pfnOriginal, reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hForeign, GWLP_WNDPROC)));
    ::DestroyWindow(hForeign);
}

class CProbeProgress : public CProgressCtrl
{
public:
    int m_nCreate = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        ++m_nCreate;
        return CProgressCtrl::OnCreate(lpcs);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeProgress, CProgressCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(Subclassing, ControlOfASystemClassSeesItsOwnCreation)
{
    CProbeWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CProbeProgress progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | PBS_SMOOTH, CRect(0, 0, 80, 10), &parent, 17234));
    EXPECT_EQ(1, progress.m_nCreate);
    EXPECT_EQ(&progress, CWnd::FromHandlePermanent(::GetDlgItem(parent.m_hWnd, 17234)));
    // The control still behaves as itself behind the map.
    progress.SetRange(0, 100);
    progress.SetPos(40);
    EXPECT_EQ(40, progress.GetPos());
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, progress.m_hWnd);
}

TEST(MenuWrapper, OwningMenuDestroysAndDetachedMenuSurvives)
{
    HMENU hKept = nullptr;
    HMENU hDestroyed = nullptr;
    {
        CMenu kept;
        ASSERT_TRUE(kept.CreatePopupMenu());
        hKept = kept.Detach();
        CMenu destroyed;
        ASSERT_TRUE(destroyed.CreatePopupMenu());
        hDestroyed = destroyed.m_hMenu;
        EXPECT_EQ(&destroyed, CMenu::FromHandle(hDestroyed));
    }
    EXPECT_TRUE(::IsMenu(hKept));
    EXPECT_FALSE(::IsMenu(hDestroyed));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(hDestroyed));
    ::DestroyMenu(hKept);
}

// A parent whose WM_CREATE makes windows of both kinds: one the system
// makes by itself, then objects of the framework, before and after it.
class CNestingWnd : public CWnd
{
public:
    CProbeWnd m_first;
    CProbeWnd m_second;
    HWND m_hForeign = nullptr;
    int m_nCreate = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        ++m_nCreate;
        if (CWnd::OnCreate(lpcs) == -1 ||
            !m_first.CreateEx(0, nullptr, "", WS_CHILD, 0, 0, 10, 10, m_hWnd, reinterpret_cast<HMENU>(1)))
            return -1;
        m_hForeign = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, m_hWnd, reinterpret_cast<HMENU>(2),
                                       nullptr, nullptr);
        return m_second.CreateEx(0, nullptr, "", WS_CHILD, 0, 0, 10, 10, m_hWnd, reinterpret_cast<HMENU>(3)) ? 0
                                                                                                            : -1;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNestingWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// Creations nest: every object gets its own window and its WM_CREATE once,
// a window the system makes in between stays the system's, and the next
// creation after them all still attaches its object.
TEST(WindowCreation, NestedCreationsAttachEachObjectToItsOwnWindow)
{
    CNestingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(1, parent.m_nCreate);
    EXPECT_EQ(1, parent.m_first.m_nCreate);
    EXPECT_EQ(1, parent.m_second.m_nCreate);
    EXPECT_EQ(&parent.m_first, CWnd::FromHandlePermanent(::GetDlgItem(parent.m_hWnd, 1)));
    ASSERT_NE(nullptr, parent.m_hForeign);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(parent.m_hForeign));
    EXPECT_EQ(&parent.m_second, CWnd::FromHandlePermanent(::GetDlgItem(parent.m_hWnd, 3)));
    HWND hAfter = CreateForeignStatic("after the nest");
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hAfter));
    ::DestroyWindow(hAfter);
    CProbeWnd next;
    ASSERT_TRUE(next.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(1, next.m_nCreate);
    next.DestroyWindow();
    parent.DestroyWindow();
}

typedef BOOL (*MakeWindowFn)();

// Regression: the creation hook stayed installed after a module that links
// the framework was freed, and the next creation called into freed code.
TEST(WindowCreation, ModuleThatLinksTheFrameworkLeavesNoHookWhenFreed)
{
    for (int round = 0; round < 2; ++round) {
        HMODULE hModule = ::LoadLibraryA("framework_create_module.dll");
        ASSERT_NE(nullptr, hModule);
        auto pfnMake = reinterpret_cast<MakeWindowFn>(::GetProcAddress(hModule, "CreateModuleMakeWindow"));
        ASSERT_NE(nullptr, pfnMake);
        EXPECT_TRUE(pfnMake());
        ASSERT_TRUE(::FreeLibrary(hModule));

        HWND hForeign = CreateForeignStatic("after the module");
        ASSERT_NE(nullptr, hForeign);
        ::DestroyWindow(hForeign);
        CProbeWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        EXPECT_EQ(1, wnd.m_nCreate);
        wnd.DestroyWindow();
    }
}

// Regression: class names printed handles with 32 bits, so on 64-bit
// Windows two cursors that differ only above them shared one class.
TEST(WindowCreation, DefaultClassNameTellsFullWidthHandlesApart)
{
    const UINT_PTR low = 0x1234;
    // Bit 40 where handles have it; each shift stays inside 32 bits.
    const UINT_PTR bit40 = static_cast<UINT_PTR>(1) << 16 << 16 << 8;
    HCURSOR hFirst = reinterpret_cast<HCURSOR>(low);
    HCURSOR hSecond = reinterpret_cast<HCURSOR>(low | bit40);
    CString first = AfxRegisterWndClass(CS_PARENTDC, hFirst);
    CString second = AfxRegisterWndClass(CS_PARENTDC, hSecond);
    if (hFirst == hSecond)
        GTEST_SKIP() << "handles are 32 bits wide here";
    EXPECT_STRNE(first, second);
    WNDCLASSA info = {};
    ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), second, &info));
    EXPECT_EQ(hSecond, info.hCursor);
}

} // namespace
