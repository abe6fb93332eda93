#include "framework/ole/OleDropTarget.h"

#include <gtest/gtest.h>

namespace {

class CountingTarget : public COleDropTarget
{
public:
    using COleDropTarget::GetRefCount;
    DWORD OnDragEnter(IDataObject*, DWORD, POINTL, DWORD) override { return DROPEFFECT_COPY | DROPEFFECT_LINK; }
};

HWND MakeWindow()
{
    return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
}

TEST(OleDropTarget, RegistersOnceAndRevokesItsReference)
{
    HWND hWnd = MakeWindow();
    ASSERT_NE(nullptr, hWnd);
    CountingTarget target;
    ASSERT_TRUE(target.Register(hWnd));
    EXPECT_TRUE(target.IsRegistered());
    EXPECT_GT(target.GetRefCount(), 0u);
    EXPECT_FALSE(target.Register(hWnd));
    // The window has its target: a second one is refused by OLE.
    CountingTarget other;
    EXPECT_FALSE(other.Register(hWnd));

    target.Revoke();
    EXPECT_FALSE(target.IsRegistered());
    EXPECT_EQ(0u, target.GetRefCount());
    EXPECT_TRUE(other.Register(hWnd));
    other.Revoke();
    ::DestroyWindow(hWnd);
}

TEST(OleDropTarget, DestructorRevokesSoTheWindowCanTakeANewTarget)
{
    HWND hWnd = MakeWindow();
    {
        CountingTarget target;
        ASSERT_TRUE(target.Register(hWnd));
    }
    CountingTarget next;
    EXPECT_TRUE(next.Register(hWnd));
    next.Revoke();
    ::DestroyWindow(hWnd);
}

TEST(OleDropTarget, EffectIsLimitedToWhatTheSourceAllows)
{
    CountingTarget target;
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    POINTL pt = { 0, 0 };
    EXPECT_EQ(S_OK, target.DragEnter(nullptr, 0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ(E_INVALIDARG, target.DragOver(0, pt, nullptr));
    EXPECT_EQ(S_OK, target.DragLeave());
}

} // namespace
