// The order value the shell keeps for each favorites folder: a binary
// registry value of records, each naming one item of the folder by an item
// ID list relative to that folder and giving its position.
//
// Layout: the first 32-bit word plus 12 is the offset of the first record;
// a record is a 32-bit length (the distance to the next record), a 32-bit
// order number and an item ID list (16-bit length-prefixed items ending with
// a zero length). Words are little-endian.
#ifndef VA_LISTS_FAVORITESORDER_H
#define VA_LISTS_FAVORITESORDER_H

#include <string>
#include <vector>

#include "framework/core/Types.h"

struct FavoriteOrderRecord
{
    int order = 0;
    // The record's item ID list, its zero terminator included.
    std::string idList;
};

// The records of a value, in order. Reading stops at a record shorter than
// its header, one that runs past the end of the value, or one whose item ID
// list is not terminated inside the record. A value of 11 bytes or less
// holds no records.
std::vector<FavoriteOrderRecord> ParseFavoritesOrder(const BYTE* data, size_t size);

#endif // VA_LISTS_FAVORITESORDER_H
