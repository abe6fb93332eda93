#include "shared/RecordPool.h"

#include <cstdlib>

const size_t kPoolElementsPerBlock[kPoolSlotCount] = {
    512,    // favorites tree nodes: trees of thousands of entries
    128,    // plug-in entries
    64,     // script entries
    128,    // search-engine tree nodes
    128,    // tab child frames
    128,    // browser views
    128,    // tab records
    128,    // popup-block rules of the dialogs library
};

namespace {

uintptr_t RoundUp(uintptr_t n, size_t alignment)
{
    return (n + alignment - 1) & ~(alignment - 1);
}

} // namespace

RecordPool::RecordPool(size_t elementSize, size_t elementsPerBlock, size_t alignment)
    : m_perBlock(elementsPerBlock > 0 ? elementsPerBlock : 1)
{
    if (alignment < alignof(FreeElement))
        alignment = alignof(FreeElement);
    m_alignment = alignment;
    // A free element holds the free-list link in its first word.
    size_t size = elementSize < sizeof(FreeElement) ? sizeof(FreeElement) : elementSize;
    m_stride = RoundUp(size, alignment);
}

RecordPool::~RecordPool()
{
    FreeAll();
}

// A block is the header, padding up to the alignment (the heap may align
// less than the elements need: 8 bytes on 32-bit Windows), then the elements.
bool RecordPool::AddBlock() noexcept
{
    const size_t overhead = sizeof(BlockHeader) + m_alignment - 1;
    if (m_perBlock > (SIZE_MAX - overhead) / m_stride)
        return false;
    void* memory = std::malloc(overhead + m_perBlock * m_stride);
    if (memory == nullptr)
        return false;

    BlockHeader* block = static_cast<BlockHeader*>(memory);
    block->next = m_blocks;
    m_blocks = block;
    ++m_blockCount;

    const uintptr_t afterHeader = reinterpret_cast<uintptr_t>(block + 1);
    char* first = reinterpret_cast<char*>(RoundUp(afterHeader, m_alignment));
    // Link from the highest element down, so that the lowest ends up at the
    // head and the elements are handed out in address order.
    for (size_t i = m_perBlock; i-- > 0;) {
        FreeElement* element = reinterpret_cast<FreeElement*>(first + i * m_stride);
        element->next = m_freeList;
        m_freeList = element;
    }
    return true;
}

void* RecordPool::Allocate() noexcept
{
    if (m_freeList == nullptr && !AddBlock())
        return nullptr;
    FreeElement* element = m_freeList;
    m_freeList = element->next;
    return element;
}

void RecordPool::Free(void* element) noexcept
{
    if (element == nullptr)
        return;
    FreeElement* freed = static_cast<FreeElement*>(element);
    freed->next = m_freeList;
    m_freeList = freed;
}

void RecordPool::FreeAll() noexcept
{
    while (m_blocks != nullptr) {
        BlockHeader* next = m_blocks->next;
        std::free(m_blocks);
        m_blocks = next;
    }
    m_blockCount = 0;
    m_freeList = nullptr;
}

bool PoolReleaseGuard::FreeAllOnce(PoolSlot slot, RecordPool& pool) noexcept
{
    const uint8_t bit = static_cast<uint8_t>(1u << slot);
    if (m_released & bit)
        return false;
    m_released = static_cast<uint8_t>(m_released | bit);
    pool.FreeAll();
    return true;
}

PoolReleaseGuard& ThePoolReleaseGuard()
{
    static PoolReleaseGuard s_guard;
    return s_guard;
}
