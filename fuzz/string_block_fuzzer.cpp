// Feeds arbitrary bytes to the string-block lookup as a damaged or hostile resource module
// would: the input is a string id, a buffer capacity and the block's bytes, of any length,
// odd included. The block sits in a heap buffer of exactly its size, so that any read past
// it is caught; the output buffer is exactly `capacity` units for the same reason.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/string_block.h"

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "string_block_fuzzer: %s\n", what);
        std::abort();
    }
}

// Where the wanted entry's text starts and its stored length; length 0 when the entry is
// empty, lies beyond the block, or it or an entry before it runs past the block's end.
struct Entry {
    size_t position;
    size_t length;
};

Entry expectedEntry(const uint16_t* block, size_t units, unsigned index)
{
    size_t position = 0;
    for (unsigned entry = 0;; ++entry) {
        if (position >= units)
            return {0, 0};
        const size_t length = block[position];
        if (units - position - 1 < length)
            return {0, 0};
        if (entry == index)
            return {position + 1, length};
        position += 1 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint16_t id = static_cast<uint16_t>(data[0] | data[1] << 8);
    // Every caller passes 256; smaller capacities exercise the cut.
    const size_t capacity = data[2] == 0 ? 256 : data[2];
    const size_t blockBytes = size - 3;

    const unsigned name = stringBlockName(id);
    const unsigned index = stringBlockIndex(id);
    check(name >= 1 && name <= 4096 && index < kStringsPerBlock, "block name or index out of range");
    check((name - 1) * kStringsPerBlock + index == id, "block name and index do not give the id back");

    // The lookup sees whole units only, as it does with a resource of odd size.
    auto* block = static_cast<uint16_t*>(std::malloc(blockBytes));
    if (blockBytes)
        std::memcpy(block, data + 3, blockBytes);
    auto* buffer = static_cast<uint16_t*>(std::malloc(capacity * sizeof(uint16_t)));
    for (size_t i = 0; i < capacity; ++i)
        buffer[i] = 0xAAAA;

    const size_t units = blockBytes / sizeof(uint16_t);
    const unsigned length = findStringInBlock(block, units, index, buffer, capacity);
    const Entry wanted = expectedEntry(block, units, index);
    check(length == wanted.length, "reported length is not the entry's stored length");

    if (length != 0) {
        size_t copied = 0;
        while (copied < capacity && buffer[copied] != 0)
            ++copied;
        check(copied < capacity, "copy is not terminated within the capacity");
        const size_t most = length < capacity - 1 ? length : capacity - 1;
        check(copied <= most, "copy is longer than the entry or the capacity allows");
        check(std::memcmp(buffer, block + wanted.position, copied * sizeof(uint16_t)) == 0,
              "copy is not a prefix of the entry");
        check(copied == most || block[wanted.position + copied] == 0,
              "copy stopped early without a NUL in the entry");
    }

    std::free(buffer);
    std::free(block);
    return 0;
}
