#include "framework/ole/OleDropTarget.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

int g_deleted = 0;
int g_handled = 0;

class CountingTarget : public COleDropTarget
{
public:
    using COleDropTarget::GetRefCount;
    DWORD OnDragEnter(IDataObject*, DWORD, POINTL, DWORD) override
    {
        ++g_handled;
        return DROPEFFECT_COPY | DROPEFFECT_LINK;
    }
    DWORD OnDragOver(IDataObject*, DWORD, POINTL, DWORD) override
    {
        ++g_handled;
        return DROPEFFECT_COPY;
    }

protected:
    ~CountingTarget() override { ++g_deleted; }
};

class ThrowingTarget : public COleDropTarget
{
public:
    DWORD OnDragEnter(IDataObject*, DWORD, POINTL, DWORD) override { throw std::runtime_error("enter"); }
    DWORD OnDrop(IDataObject*, DWORD, POINTL, DWORD) override { throw 7; }
    void OnDragLeave() override { throw std::runtime_error("leave"); }
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
    CountingTarget* target = new CountingTarget;
    ASSERT_TRUE(target->Register(hWnd));
    EXPECT_TRUE(target->IsRegistered());
    EXPECT_GT(target->GetRefCount(), 1u);
    EXPECT_FALSE(target->Register(hWnd));
    // The window has its target: a second one is refused by OLE.
    CountingTarget* other = new CountingTarget;
    EXPECT_FALSE(other->Register(hWnd));

    target->Revoke();
    EXPECT_FALSE(target->IsRegistered());
    EXPECT_EQ(1u, target->GetRefCount());  // the creator's
    EXPECT_TRUE(other->Register(hWnd));
    other->Detach();
    EXPECT_FALSE(other->IsRegistered());
    g_deleted = 0;
    other->Release();
    target->Release();
    EXPECT_EQ(2, g_deleted);
    ::DestroyWindow(hWnd);
}

TEST(OleDropTarget, DetachRevokesSoTheWindowCanTakeANewTarget)
{
    HWND hWnd = MakeWindow();
    CountingTarget* target = new CountingTarget;
    ASSERT_TRUE(target->Register(hWnd));
    target->Detach();
    target->Release();
    CountingTarget* next = new CountingTarget;
    EXPECT_TRUE(next->Register(hWnd));
    next->Detach();
    next->Release();
    ::DestroyWindow(hWnd);
}

TEST(OleDropTarget, EffectIsLimitedToWhatTheSourceAllows)
{
    CountingTarget* target = new CountingTarget;
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    POINTL pt = { 0, 0 };
    EXPECT_EQ(S_OK, target->DragEnter(nullptr, 0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ(E_INVALIDARG, target->DragOver(0, pt, nullptr));
    EXPECT_EQ(S_OK, target->DragLeave());
    target->Release();
}

// Regression: the owner deleted the target while a drag still held it.
TEST(OleDropTarget, DragThatOutlivesItsOwnerFailsCleanlyAndTheLastReleaseDeletes)
{
    CountingTarget* target = new CountingTarget;
    POINTL pt = { 0, 0 };
    DWORD effect = DROPEFFECT_COPY;
    target->AddRef();  // the drag's
    ASSERT_EQ(S_OK, target->DragEnter(nullptr, 0, pt, &effect));
    g_handled = 0;
    g_deleted = 0;
    target->Detach();
    target->Release();  // the owner lets go
    EXPECT_EQ(0, g_deleted);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(E_UNEXPECTED, target->DragOver(0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(E_UNEXPECTED, target->Drop(nullptr, 0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_EQ(0, g_handled);
    EXPECT_EQ(0u, target->Release());
    EXPECT_EQ(1, g_deleted);
}

TEST(OleDropTarget, HandlerExceptionsStopAtTheCallback)
{
    ThrowingTarget* target = new ThrowingTarget;
    POINTL pt = { 0, 0 };
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(E_UNEXPECTED, target->DragEnter(nullptr, 0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_EQ(E_UNEXPECTED, target->DragLeave());
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(E_UNEXPECTED, target->Drop(nullptr, 0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    target->Release();
}

} // namespace
