// Run-time creation with a class's own (pooled) operator new.
#include <new>

#include <gtest/gtest.h>

#include "FrameTestsRes.h"
#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "framework/frame/View.h"

namespace {

// A one-slot pool: a second allocation fails by returning null.
alignas(16) unsigned char g_slot[512];
bool g_slotUsed = false;
int g_nConstructed = 0;
bool g_poolThrows = false;

class CPooledView : public CView
{
    DECLARE_DYNCREATE(CPooledView)

public:
    static void* operator new(size_t nSize) noexcept
    {
        if (g_slotUsed || nSize > sizeof(g_slot))
            return nullptr;
        g_slotUsed = true;
        return g_slot;
    }
    static void operator delete(void* p) noexcept
    {
        if (p == g_slot)
            g_slotUsed = false;
    }

protected:
    CPooledView() { ++g_nConstructed; }
};

IMPLEMENT_DYNCREATE(CPooledView, CView)

class CThrowingView : public CView
{
    DECLARE_DYNCREATE(CThrowingView)

public:
    static void* operator new(size_t nSize)
    {
        if (g_poolThrows)
            throw std::bad_alloc();
        return ::operator new(nSize);
    }
    static void operator delete(void* p) { ::operator delete(p); }
};

IMPLEMENT_DYNCREATE(CThrowingView, CView)

class RuntimeClassTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_slotUsed = false;
        g_nConstructed = 0;
        g_poolThrows = false;
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TESTFRAME));
        m_hFrame = m_pFrame->m_hWnd;
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
};

TEST_F(RuntimeClassTest, CreatedViewComesFromTheClassPoolAndReturnsToIt)
{
    CView* pView = m_pFrame->CreateView(RUNTIME_CLASS(CPooledView));
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(static_cast<void*>(g_slot), static_cast<void*>(static_cast<CPooledView*>(pView)));
    EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CView)));
    EXPECT_FALSE(pView->IsKindOf(RUNTIME_CLASS(CThrowingView)));
    EXPECT_STREQ("CPooledView", pView->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(pView->m_hWnd, ::GetDlgItem(m_hFrame, AFX_IDW_PANE_FIRST));
    pView->DestroyWindow();  // the view deletes itself
    EXPECT_FALSE(g_slotUsed);
}

TEST_F(RuntimeClassTest, EmptyPoolFailsTheCreationWithoutConstructing)
{
    g_slotUsed = true;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CPooledView)->CreateObject());
    EXPECT_EQ(nullptr, m_pFrame->CreateView(RUNTIME_CLASS(CPooledView)));
    EXPECT_EQ(0, g_nConstructed);
    EXPECT_EQ(nullptr, ::GetDlgItem(m_hFrame, AFX_IDW_PANE_FIRST));
}

TEST_F(RuntimeClassTest, ThrowingAllocationFailsTheCreationToo)
{
    g_poolThrows = true;
    EXPECT_EQ(nullptr, m_pFrame->CreateView(RUNTIME_CLASS(CThrowingView)));
    EXPECT_TRUE(::IsWindow(m_hFrame));
}

} // namespace
