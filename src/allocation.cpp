// The library's non-throwing allocation. The runtime's own nothrow new throws and
// catches bad_alloc inside, and the throw itself needs memory: when memory runs out in
// the printing application, it would end the process in abort() instead of giving null.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}

// Whatever runtime links the library, each block goes back to the free that matches the
// malloc it came from.
void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
