#include "lists/FavoritesOrder.h"

namespace {

const size_t kHeaderSize = 8;  // record length and order number

uint32_t ReadWord(const BYTE* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The length of the item ID list at p, terminator included, or 0 when it is
// not terminated within the available bytes.
size_t IdListLength(const BYTE* p, size_t available)
{
    size_t used = 0;
    while (used + 2 <= available) {
        size_t item = static_cast<size_t>(p[used]) | static_cast<size_t>(p[used + 1]) << 8;
        if (item == 0)
            return used + 2;
        if (item < 2 || item > available - used)
            return 0;
        used += item;
    }
    return 0;
}

} // namespace

std::vector<FavoriteOrderRecord> ParseFavoritesOrder(const BYTE* data, size_t size)
{
    std::vector<FavoriteOrderRecord> records;
    if (data == nullptr || size <= 11)
        return records;
    uint64_t first = static_cast<uint64_t>(ReadWord(data)) + 12;
    if (first >= size)
        return records;
    size_t offset = static_cast<size_t>(first);
    while (offset < size && size - offset >= kHeaderSize) {
        size_t length = ReadWord(data + offset);
        if (length < kHeaderSize || length > size - offset)
            break;
        size_t listLength = IdListLength(data + offset + kHeaderSize, length - kHeaderSize);
        if (listLength == 0)
            break;
        FavoriteOrderRecord record;
        record.order = static_cast<int>(ReadWord(data + offset + 4));
        record.idList.assign(reinterpret_cast<const char*>(data + offset + kHeaderSize),
                             listLength);
        records.push_back(record);
        offset += length;
    }
    return records;
}
