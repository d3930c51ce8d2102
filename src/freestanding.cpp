// What the runtime gives the library elsewhere, for a target without one (Windows on
// ARM64 here): the entry point, the library's allocation on the process heap and the
// stack probe. C string and memory functions come from ntdll, which every process has.
#include <windows.h>

#include <cstddef>
#include <new>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// The static constructors, between the -1 and the null that the linker puts around them.
// (A static destructor would need atexit, which is not here: such code does not link.)
typedef void (*Constructor)();
extern "C" Constructor __CTOR_LIST__[];

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        int count = 0;
        while (__CTOR_LIST__[count + 1])
            count++;
        for (; count > 0; count--)
            __CTOR_LIST__[count]();
    }
    return DllMain(instance, reason, reserved);
}

namespace std {
const nothrow_t nothrow{};
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block) noexcept
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, std::size_t) noexcept
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

// A frame larger than a page first touches each page on the way down, so that the stack
// grows one guard page at a time. Called with the frame's size in 16-byte units in x15;
// may use only x16 and x17.
#if defined(__aarch64__)
asm(".text\n"
    ".globl __chkstk\n"
    "__chkstk:\n"
    "    lsl x16, x15, #4\n"
    "    mov x17, sp\n"
    "1:  sub x17, x17, #4096\n"
    "    subs x16, x16, #4096\n"
    "    ldr xzr, [x17]\n"
    "    b.gt 1b\n"
    "    ret\n");
#endif
