#include "common/string_block.h"

unsigned findStringInBlock(const uint16_t* block, size_t blockUnits, unsigned index,
                           uint16_t* buffer, size_t capacity)
{
    if (capacity == 0)
        return 0;
    size_t position = 0;
    for (unsigned entry = 0; entry < kStringsPerBlock && position < blockUnits; ++entry) {
        const unsigned length = block[position++];
        if (length > blockUnits - position)
            return 0;
        if (entry == index && length != 0) {
            size_t copied = 0;
            while (copied + 1 < capacity && copied < length && block[position + copied] != 0) {
                buffer[copied] = block[position + copied];
                ++copied;
            }
            buffer[copied] = 0;
            return length;
        }
        position += length;
    }
    return 0;
}

void copyTextCut(const uint16_t* text, uint16_t* buffer, size_t capacity)
{
    if (capacity == 0)
        return;
    size_t copied = 0;
    while (copied + 1 < capacity && text[copied] != 0) {
        buffer[copied] = text[copied];
        ++copied;
    }
    buffer[copied] = 0;
}
