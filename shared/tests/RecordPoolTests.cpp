#include "shared/RecordPool.h"

#include <cstdint>
#include <set>
#include <vector>

#include <gtest/gtest.h>

TEST(RecordPool, ElementsComeInAddressOrderAndA129thNeedsASecondBlock)
{
    RecordPool pool(40, 128);
    std::vector<void*> elements;
    for (int i = 0; i < 128; ++i)
        elements.push_back(pool.Allocate());
    EXPECT_EQ(1u, pool.GetBlockCount());
    for (size_t i = 1; i < elements.size(); ++i) {
        EXPECT_EQ(static_cast<char*>(elements[i - 1]) + pool.GetElementSize(),
                  static_cast<char*>(elements[i]));
    }
    elements.push_back(pool.Allocate());
    EXPECT_EQ(2u, pool.GetBlockCount());
    EXPECT_EQ(129u, std::set<void*>(elements.begin(), elements.end()).size());

    // Freed elements stay in the pool: no block goes back before FreeAll.
    for (void* p : elements)
        pool.Free(p);
    EXPECT_EQ(2u, pool.GetBlockCount());
    for (int i = 0; i < 129; ++i)
        EXPECT_NE(nullptr, pool.Allocate());
    EXPECT_EQ(2u, pool.GetBlockCount());
}

TEST(RecordPool, FreedElementIsHandedOutAgain)
{
    RecordPool pool(24, 8);
    void* a = pool.Allocate();
    void* b = pool.Allocate();
    pool.Free(a);
    EXPECT_EQ(a, pool.Allocate());
    pool.Free(nullptr);
    EXPECT_NE(b, pool.Allocate());
}

TEST(RecordPool, SmallElementsStillHoldTheFreeLink)
{
    RecordPool pool(1, 4);
    EXPECT_GE(pool.GetElementSize(), sizeof(void*));
    void* a = pool.Allocate();
    void* b = pool.Allocate();
    EXPECT_GE(static_cast<char*>(b) - static_cast<char*>(a), static_cast<ptrdiff_t>(sizeof(void*)));
}

TEST(RecordPool, ElementsKeepTheRequestedAlignment)
{
    struct alignas(16) Wide { char bytes[20]; };
    RecordPool pool(sizeof(Wide), 3, alignof(Wide));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(pool.Allocate()) % 16);
}

TEST(RecordPool, FreeAllReturnsEveryBlockAndThePoolCanGrowAgain)
{
    RecordPool pool(16, 2);
    for (int i = 0; i < 5; ++i)
        pool.Allocate();
    EXPECT_EQ(3u, pool.GetBlockCount());
    pool.FreeAll();
    EXPECT_EQ(0u, pool.GetBlockCount());
    pool.FreeAll();
    EXPECT_NE(nullptr, pool.Allocate());
    EXPECT_EQ(1u, pool.GetBlockCount());
}

TEST(RecordPool, AnImpossibleBlockGivesNullInsteadOfThrowing)
{
    RecordPool pool(SIZE_MAX / 4, 8);
    EXPECT_EQ(nullptr, pool.Allocate());
    EXPECT_EQ(0u, pool.GetBlockCount());
}

TEST(PoolReleaseGuard, ReleasesEachSlotOnceWithItsOwnBit)
{
    PoolReleaseGuard guard;
    RecordPool first(16, 4);
    RecordPool last(16, 4);
    first.Allocate();
    last.Allocate();

    EXPECT_TRUE(guard.FreeAllOnce(kPoolFavoriteNode, first));
    EXPECT_EQ(0x01, guard.GetReleasedBits());
    EXPECT_EQ(0u, first.GetBlockCount());

    // A second release of the same slot must not run FreeAll again.
    first.Allocate();
    EXPECT_FALSE(guard.FreeAllOnce(kPoolFavoriteNode, first));
    EXPECT_EQ(1u, first.GetBlockCount());

    EXPECT_TRUE(guard.FreeAllOnce(kPoolTabItem, last));
    EXPECT_EQ(0x41, guard.GetReleasedBits());
    // The popup-rule slot takes the guard's last bit.
    EXPECT_TRUE(guard.FreeAllOnce(kPoolPopupRule, last));
    EXPECT_EQ(0xC1, guard.GetReleasedBits());
}

TEST(PoolSlots, BlockSizesFollowTheSlotTable)
{
    const size_t expected[kPoolSlotCount] = {512, 128, 64, 128, 128, 128, 128, 128};
    for (int i = 0; i < kPoolSlotCount; ++i)
        EXPECT_EQ(expected[i], kPoolElementsPerBlock[i]) << i;
}

namespace {

struct PooledRecord
{
    VA_POOLED_NEW(PooledRecord, kPoolScriptItem)

    explicit PooledRecord(int v) : value(v) {}
    int value;
    double weight = 0;
};

struct LargerRecord : PooledRecord
{
    LargerRecord() : PooledRecord(0) {}
    char extra[64] = {};
};

} // namespace

TEST(PooledNew, ClassObjectsLiveInTheirPool)
{
    RecordPool& pool = PoolFor<PooledRecord, kPoolScriptItem>::Pool();
    EXPECT_EQ(64u, pool.GetElementsPerBlock());
    EXPECT_GE(pool.GetElementSize(), sizeof(PooledRecord));

    PooledRecord* a = new PooledRecord(7);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(7, a->value);
    EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(a) % alignof(PooledRecord));
    EXPECT_EQ(1u, pool.GetBlockCount());
    delete a;
    PooledRecord* b = new PooledRecord(8);
    EXPECT_EQ(a, b);
    delete b;
    delete static_cast<PooledRecord*>(nullptr);
}

TEST(PooledNew, ALargerDerivedClassGetsNullNotAnOverrun)
{
    LargerRecord* p = new LargerRecord;
    EXPECT_EQ(nullptr, p);
}

TEST(PooledNew, ReleaseRunsOnceAtExit)
{
    PooledRecord* a = new PooledRecord(1);
    ASSERT_NE(nullptr, a);
    delete a;
    EXPECT_TRUE((PoolFor<PooledRecord, kPoolScriptItem>::Release()));
    EXPECT_EQ(0u, (PoolFor<PooledRecord, kPoolScriptItem>::Pool().GetBlockCount()));
    EXPECT_FALSE((PoolFor<PooledRecord, kPoolScriptItem>::Release()));
    EXPECT_NE(0, ThePoolReleaseGuard().GetReleasedBits() & 0x04);
}
