#include "common/string_block.h"

template <class Unit>
unsigned findStringInBlock(const Unit* block, size_t blockUnits, unsigned index, Unit* buffer,
                           size_t capacity)
{
    if (capacity == 0)
        return 0;
    size_t position = 0;
    for (unsigned entry = 0; entry < kStringsPerBlock && position < blockUnits; ++entry) {
        const unsigned length = static_cast<unsigned>(block[position++]);
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

template <class Unit>
void copyTextCut(const Unit* text, Unit* buffer, size_t capacity)
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

// The unit types in use: WCHAR (wchar_t, on Windows only 16 bits wide), uint16_t and char16_t.
template unsigned findStringInBlock(const uint16_t*, size_t, unsigned, uint16_t*, size_t);
template unsigned findStringInBlock(const char16_t*, size_t, unsigned, char16_t*, size_t);
template void copyTextCut(const uint16_t*, uint16_t*, size_t);
template void copyTextCut(const char16_t*, char16_t*, size_t);
#ifdef _WIN32
template unsigned findStringInBlock(const wchar_t*, size_t, unsigned, wchar_t*, size_t);
template void copyTextCut(const wchar_t*, wchar_t*, size_t);
#endif
