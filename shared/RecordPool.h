// Fixed-size allocation pools for the record classes created in large numbers.
//
// Classes in this file:
//   RecordPool         hands out elements of one size from heap blocks
//   PoolReleaseGuard   one bit per pooled class, so each pool is released once
//   PoolFor<T, slot>   the function-local pool of one class
//   VA_POOLED_NEW      gives a class a non-throwing pooled operator new/delete
#ifndef VA_SHARED_RECORDPOOL_H
#define VA_SHARED_RECORDPOOL_H

#include <cstddef>
#include <cstdint>

//--- RecordPool
class RecordPool
{
public:
    // alignment must be a power of two.
    RecordPool(size_t elementSize, size_t elementsPerBlock,
               size_t alignment = alignof(std::max_align_t));
    ~RecordPool();
    RecordPool(const RecordPool&) = delete;
    RecordPool& operator=(const RecordPool&) = delete;

    // One uninitialised element, or nullptr when the heap is exhausted.
    void* Allocate() noexcept;
    // Puts an element back on the free list; nullptr is ignored.
    void Free(void* element) noexcept;
    // Returns every block to the heap; all elements become invalid.
    void FreeAll() noexcept;

    size_t GetElementSize() const { return m_stride; }
    size_t GetElementsPerBlock() const { return m_perBlock; }
    size_t GetBlockCount() const { return m_blockCount; }

private:
    struct FreeElement { FreeElement* next; };
    struct BlockHeader { BlockHeader* next; };

    bool AddBlock() noexcept;

    size_t m_alignment;
    size_t m_stride;            // element size rounded up to the alignment
    size_t m_perBlock;
    FreeElement* m_freeList = nullptr;
    BlockHeader* m_blocks = nullptr;
    size_t m_blockCount = 0;
};

//--- Pool slots
// The pooled classes, in the order that gives each its guard bit
// (0x01 for the first up to 0x80 for the eighth).
enum PoolSlot {
    kPoolFavoriteNode,
    kPoolPlugInItem,
    kPoolScriptItem,
    kPoolSearchEngineNode,
    kPoolChildFrame,
    kPoolBrowserView,
    kPoolTabItem,
    kPoolPopupRule,
    kPoolSlotCount
};

// Elements per block of each slot's pool.
extern const size_t kPoolElementsPerBlock[kPoolSlotCount];

//--- PoolReleaseGuard
class PoolReleaseGuard
{
public:
    // Runs pool.FreeAll() unless this slot was released before; returns
    // whether it ran.
    bool FreeAllOnce(PoolSlot slot, RecordPool& pool) noexcept;
    uint8_t GetReleasedBits() const { return m_released; }

private:
    uint8_t m_released = 0;
};

// The program's guard, shared by all pools of the module.
PoolReleaseGuard& ThePoolReleaseGuard();

//--- PoolFor
// The pool is a function-local static: it is constructed on the first
// allocation, before the first object exists, and outlives every static
// object constructed before that allocation. Objects still alive at exit
// must be freed before the statics are destroyed (the application releases
// its tabs and trees in ExitInstance).
template <class T, PoolSlot kSlot>
class PoolFor
{
public:
    static RecordPool& Pool()
    {
        static RecordPool s_pool(sizeof(T), kPoolElementsPerBlock[kSlot], alignof(T));
        return s_pool;
    }

    // A class derived from T that is larger than T cannot use T's pool.
    static void* Allocate(size_t size) noexcept
    {
        return size <= sizeof(T) ? Pool().Allocate() : nullptr;
    }

    static void Free(void* p) noexcept { Pool().Free(p); }

    // Exit-time release, at most once per slot.
    static bool Release() noexcept { return ThePoolReleaseGuard().FreeAllOnce(kSlot, Pool()); }
};

// Inside a class body: VA_POOLED_NEW(CTabItem, kPoolTabItem)
// operator new returns nullptr when the pool cannot grow (no exception), so
// `new CTabItem` yields nullptr and callers check it.
#define VA_POOLED_NEW(ClassName, slot)                                           \
    static void* operator new(std::size_t size) noexcept                        \
    {                                                                            \
        return PoolFor<ClassName, slot>::Allocate(size);                        \
    }                                                                            \
    static void operator delete(void* p) noexcept { PoolFor<ClassName, slot>::Free(p); }

#endif // VA_SHARED_RECORDPOOL_H
