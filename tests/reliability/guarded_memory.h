// Blocks that end exactly where an inaccessible page begins, so that a read one byte past
// the end faults at once instead of going unnoticed.
#ifndef TESTS_RELIABILITY_GUARDED_MEMORY_H
#define TESTS_RELIABILITY_GUARDED_MEMORY_H

#include <windows.h>

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "import_patch.h"

constexpr size_t kPage = 4096;

// Allocates `size` bytes, zeroed, ending at a PAGE_NOACCESS page; the caller frees it with
// freeGuarded. `base` receives the start of the reservation.
inline BYTE* allocateGuarded(size_t size, void** base)
{
    const size_t pages = (size + kPage - 1) / kPage + 1;
    auto* start = static_cast<BYTE*>(
        VirtualAlloc(nullptr, pages * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!start)
        return nullptr;
    DWORD old = 0;
    VirtualProtect(start + (pages - 1) * kPage, kPage, PAGE_NOACCESS, &old);
    *base = start;
    return start + (pages - 1) * kPage - size;
}

// The caller's record, placed against a guard page; read-only while the export runs.
template <class Request>
class GuardedRecord {
public:
    explicit GuardedRecord(const Request& content) : saved_(content)
    {
        record_ = reinterpret_cast<Request*>(allocateGuarded(sizeof(Request), &base_));
        std::memcpy(record_, &content, sizeof(Request));
    }
    ~GuardedRecord() { VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedRecord(const GuardedRecord&) = delete;
    GuardedRecord& operator=(const GuardedRecord&) = delete;

    const Request* get() const { return record_; }
    // PAGE_READONLY during the call: a write faults. PAGE_NOACCESS after a threaded call,
    // until its dialog has ended: the dialog must work on its own copy only.
    void protect(DWORD protection) const
    {
        DWORD old = 0;
        VirtualProtect(pageOf(record_), reinterpret_cast<BYTE*>(record_ + 1) - pageOf(record_),
                       protection, &old);
    }
    bool unchanged() const
    {
        protect(PAGE_READWRITE);
        return std::memcmp(record_, &saved_, sizeof(Request)) == 0;
    }

private:
    static BYTE* pageOf(const void* address)
    {
        return reinterpret_cast<BYTE*>(reinterpret_cast<ULONG_PTR>(address) & ~(kPage - 1));
    }
    Request saved_;
    Request* record_ = nullptr;
    void* base_ = nullptr;
};

// Puts every LocalAlloc block of the library (its copies of the records) against a guard
// page. Lay it before any ImportLedger, which then counts through it.
class GuardedLocalAlloc {
public:
    GuardedLocalAlloc()
        : alloc_(libraryModule(), "LocalAlloc", reinterpret_cast<void*>(guardedLocalAlloc)),
          free_(libraryModule(), "LocalFree", reinterpret_cast<void*>(guardedLocalFree))
    {
        realFree() = free_.originalAs<decltype(&LocalFree)>();
    }
    bool applied() const { return alloc_.applied() && free_.applied(); }

private:
    static std::mutex& mutex()
    {
        static std::mutex lock;
        return lock;
    }
    static std::map<void*, void*>& bases()
    {
        static std::map<void*, void*> blocks;
        return blocks;
    }
    static decltype(&LocalFree)& realFree()
    {
        static decltype(&LocalFree) function = nullptr;
        return function;
    }
    static HLOCAL WINAPI guardedLocalAlloc(UINT, SIZE_T bytes)
    {
        void* base = nullptr;
        BYTE* block = allocateGuarded(bytes, &base);
        std::lock_guard<std::mutex> lock(mutex());
        bases()[block] = base;
        return block;
    }
    static HLOCAL WINAPI guardedLocalFree(HLOCAL block)
    {
        void* base = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex());
            auto found = bases().find(block);
            if (found == bases().end())
                return realFree()(block);
            base = found->second;
            bases().erase(found);
        }
        VirtualFree(base, 0, MEM_RELEASE);
        return nullptr;
    }

    ImportPatch alloc_;
    ImportPatch free_;
};

#endif
