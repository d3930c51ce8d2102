// The string-table block walk, over plain 16-bit units so that it can be tested and
// fuzzed without Windows. Generic over the unit type, so that each caller reads and
// writes its buffers through their own type (WCHAR in the library, uint16_t in the
// fuzzers, char16_t in the tests) and never through another.
#ifndef PRINTDIALOGS_STRING_BLOCK_H
#define PRINTDIALOGS_STRING_BLOCK_H

#include <cstddef>
#include <cstdint>

constexpr unsigned kStringsPerBlock = 16;

// Resource name of the block that holds string `id`, and the entry within it.
constexpr uint16_t stringBlockName(uint16_t id) { return static_cast<uint16_t>(id / 16 + 1); }
constexpr unsigned stringBlockIndex(uint16_t id) { return id % 16; }

// Finds entry `index` of a string block of `blockUnits` UTF-16 units and copies at most
// capacity - 1 units of it into `buffer`, stopping at an embedded NUL, always terminated.
// Returns the entry's stored length, or 0 when the entry is empty or absent (or there
// is no room even for the terminator). An entry
// whose length runs past the end of the block counts as absent: a damaged module must
// not make us read beyond its resource.
template <class Unit>
unsigned findStringInBlock(const Unit* block, size_t blockUnits, unsigned index, Unit* buffer,
                           size_t capacity);

// Copies at most capacity - 1 units of a NUL-terminated text, always terminated.
template <class Unit>
void copyTextCut(const Unit* text, Unit* buffer, size_t capacity);

#endif
