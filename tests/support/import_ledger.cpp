#include "import_ledger.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <thread>
#include <vector>

#include "import_patch.h"

namespace {

// A slim lock: CloseHandle reaches us from DllMain under the loader lock, and nothing done
// under this lock waits for the loader.
class Lock {
public:
    Lock() { AcquireSRWLockExclusive(&lock_); }
    ~Lock() { ReleaseSRWLockExclusive(&lock_); }

private:
    static inline SRWLOCK lock_ = SRWLOCK_INIT;
};

constexpr int kHeldKinds = static_cast<int>(Held::Count);
constexpr int kFallibleKinds = static_cast<int>(Fallible::Count);

struct Book {
    // Every handle or block held now, with how many times (module handles are counted).
    std::map<const void*, long> live[kHeldKinds];
    HeldCount counts[kHeldKinds];
    struct Selection {
        HGDIOBJ ours;
        HGDIOBJ displaced;
    };
    // Memory DCs with one of our objects selected, by the kind of object (a DC holds a
    // bitmap and a font at once).
    std::map<std::pair<HDC, DWORD>, Selection> selections;
    std::vector<std::string> wrongReleases;
    long bitBlts = 0;
    // Our own handles of the threads the library started: the library may close its own
    // at any thread exit.
    std::vector<HANDLE> threads;
    long threadsStarted = 0;
    std::vector<BYTE> lastValueWritten;
};
Book* gBook = nullptr;

std::atomic<long> gFailAt[kFallibleKinds];
std::atomic<long> gSinceFail[kFallibleKinds];
std::atomic<long> gCalls[kFallibleKinds];
std::atomic<long> gFailures[kFallibleKinds];

bool shouldFail(Fallible call)
{
    const int kind = static_cast<int>(call);
    ++gCalls[kind];
    const long at = gFailAt[kind];
    if (at < 0)
        return false;
    const long index = ++gSinceFail[kind];
    if (at != 0 && index != at)
        return false;
    ++gFailures[kind];
    return true;
}

void acquired(Held held, const void* handle)
{
    if (!handle)
        return;
    Lock lock;
    ++gBook->live[static_cast<int>(held)][handle];
    ++gBook->counts[static_cast<int>(held)].acquired;
}

// Recorded before the real release, so that a handle value the system reuses at once is
// never seen acquired again before its release. Releasing null (DeleteDC of a DC that
// could not be made) does nothing and owes nothing.
void released(Held held, const void* handle)
{
    if (!handle)
        return;
    Lock lock;
    auto& live = gBook->live[static_cast<int>(held)];
    auto found = live.find(handle);
    if (found == live.end()) {
        char line[160];
        wsprintfA(line, "%s: %p released but not held", heldName(held), handle);
        gBook->wrongReleases.push_back(line);
        return;
    }
    if (--found->second == 0)
        live.erase(found);
    ++gBook->counts[static_cast<int>(held)].released;
}

bool isHeld(Held held, const void* handle)
{
    return gBook->live[static_cast<int>(held)].count(handle) != 0;
}

// The functions our replacements stand in for, one variable each (several share a type).
#define REAL(name) real_##name
decltype(&LocalAlloc) real_LocalAlloc = nullptr;
decltype(&LocalFree) real_LocalFree = nullptr;
decltype(&CreateThread) real_CreateThread = nullptr;
decltype(&CloseHandle) real_CloseHandle = nullptr;
decltype(&GetModuleHandleExW) real_GetModuleHandleExW = nullptr;
decltype(&LoadLibraryExW) real_LoadLibraryExW = nullptr;
decltype(&FreeLibrary) real_FreeLibrary = nullptr;
decltype(&FreeLibraryAndExitThread) real_FreeLibraryAndExitThread = nullptr;
decltype(&FindResourceExW) real_FindResourceExW = nullptr;
decltype(&LoadResource) real_LoadResource = nullptr;
decltype(&CreateFontW) real_CreateFontW = nullptr;
decltype(&LoadBitmapW) real_LoadBitmapW = nullptr;
decltype(&CreateDIBSection) real_CreateDIBSection = nullptr;
decltype(&CreateFontIndirectW) real_CreateFontIndirectW = nullptr;
decltype(&DeleteObject) real_DeleteObject = nullptr;
decltype(&CreateCompatibleDC) real_CreateCompatibleDC = nullptr;
decltype(&DeleteDC) real_DeleteDC = nullptr;
decltype(&SelectObject) real_SelectObject = nullptr;
decltype(&BitBlt) real_BitBlt = nullptr;
decltype(&BeginPaint) real_BeginPaint = nullptr;
decltype(&EndPaint) real_EndPaint = nullptr;
decltype(&RegCreateKeyExW) real_RegCreateKeyExW = nullptr;
decltype(&RegSetValueExW) real_RegSetValueExW = nullptr;
decltype(&RegCloseKey) real_RegCloseKey = nullptr;
decltype(&DialogBoxParamW) real_DialogBoxParamW = nullptr;
// The C allocator's declarations carry attributes that decltype would drop with a warning.
void* (*real_malloc)(size_t) = nullptr;
void* (*real_calloc)(size_t, size_t) = nullptr;
void* (*real_realloc)(void*, size_t) = nullptr;
void (*real_free)(void*) = nullptr;

// The library's own instance: references it takes on itself are counted apart from the
// resource modules it loads.
HMODULE self()
{
    return libraryModule();
}

HLOCAL WINAPI ledgerLocalAlloc(UINT flags, SIZE_T bytes)
{
    if (shouldFail(Fallible::LocalAlloc)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HLOCAL block = REAL(LocalAlloc)(flags, bytes);
    acquired(Held::LocalBlock, block);
    return block;
}

HLOCAL WINAPI ledgerLocalFree(HLOCAL block)
{
    released(Held::LocalBlock, block);
    return REAL(LocalFree)(block);
}

void* ledgerMalloc(size_t bytes)
{
    if (shouldFail(Fallible::Malloc)) {
        errno = ENOMEM;
        return nullptr;
    }
    void* block = real_malloc(bytes);
    acquired(Held::HeapBlock, block);
    return block;
}

void* ledgerCalloc(size_t count, size_t bytes)
{
    if (shouldFail(Fallible::Malloc)) {
        errno = ENOMEM;
        return nullptr;
    }
    void* block = real_calloc(count, bytes);
    acquired(Held::HeapBlock, block);
    return block;
}

void* ledgerRealloc(void* block, size_t bytes)
{
    if (shouldFail(Fallible::Malloc)) {
        errno = ENOMEM;
        return nullptr;  // the old block stays valid and held
    }
    released(Held::HeapBlock, block);
    void* moved = real_realloc(block, bytes);
    if (moved)
        acquired(Held::HeapBlock, moved);
    else if (block && bytes)
        acquired(Held::HeapBlock, block);  // a failed resize keeps the old block
    return moved;
}

void ledgerFree(void* block)
{
    released(Held::HeapBlock, block);
    REAL(free)(block);
}

HANDLE WINAPI ledgerCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack,
                                 LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags,
                                 LPDWORD id)
{
    if (shouldFail(Fallible::CreateThread)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HANDLE thread = REAL(CreateThread)(security, stack, start, param, flags, id);
    acquired(Held::ThreadHandle, thread);
    HANDLE ours = nullptr;
    if (thread && DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &ours,
                                  SYNCHRONIZE, FALSE, 0)) {
        Lock lock;
        gBook->threads.push_back(ours);
        ++gBook->threadsStarted;
    }
    return thread;
}

BOOL WINAPI ledgerCloseHandle(HANDLE handle)
{
    released(Held::ThreadHandle, handle);
    return REAL(CloseHandle)(handle);
}

BOOL WINAPI ledgerGetModuleHandleExW(DWORD flags, LPCWSTR name, HMODULE* module)
{
    const BOOL found = REAL(GetModuleHandleExW)(flags, name, module);
    if (found && !(flags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT))
        acquired(Held::LibraryReference, *module);
    return found;
}

HMODULE WINAPI ledgerLoadLibraryExW(LPCWSTR path, HANDLE file, DWORD flags)
{
    if (shouldFail(Fallible::LoadLibraryExW)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HMODULE module = REAL(LoadLibraryExW)(path, file, flags);
    acquired(Held::ResourceModule, module);
    return module;
}

BOOL WINAPI ledgerFreeLibrary(HMODULE module)
{
    released(module == self() ? Held::LibraryReference : Held::ResourceModule, module);
    return REAL(FreeLibrary)(module);
}

void WINAPI ledgerFreeLibraryAndExitThread(HMODULE module, DWORD code)
{
    released(module == self() ? Held::LibraryReference : Held::ResourceModule, module);
    REAL(FreeLibraryAndExitThread)(module, code);
}

HRSRC WINAPI ledgerFindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language)
{
    if (shouldFail(Fallible::FindResourceExW)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return REAL(FindResourceExW)(module, type, name, language);
}

HGLOBAL WINAPI ledgerLoadResource(HMODULE module, HRSRC resource)
{
    if (shouldFail(Fallible::LoadResource)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return REAL(LoadResource)(module, resource);
}

HFONT WINAPI ledgerCreateFontW(int height, int width, int escapement, int orientation,
                               int weight, DWORD italic, DWORD underline, DWORD strikeOut,
                               DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                               DWORD quality, DWORD pitchAndFamily, LPCWSTR face)
{
    if (shouldFail(Fallible::CreateFontW))
        return nullptr;
    HFONT font = REAL(CreateFontW)(height, width, escapement, orientation, weight, italic,
                                   underline, strikeOut, charSet, outPrecision, clipPrecision,
                                   quality, pitchAndFamily, face);
    acquired(Held::Font, font);
    return font;
}

HBITMAP WINAPI ledgerLoadBitmapW(HINSTANCE instance, LPCWSTR name)
{
    if (shouldFail(Fallible::LoadBitmapW)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HBITMAP bitmap = REAL(LoadBitmapW)(instance, name);
    acquired(Held::Bitmap, bitmap);
    return bitmap;
}

HBITMAP WINAPI ledgerCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                      HANDLE section, DWORD offset)
{
    if (shouldFail(Fallible::CreateDIBSection))
        return nullptr;
    HBITMAP bitmap = REAL(CreateDIBSection)(dc, info, usage, bits, section, offset);
    acquired(Held::Bitmap, bitmap);
    return bitmap;
}

HFONT WINAPI ledgerCreateFontIndirectW(const LOGFONTW* description)
{
    HFONT font = REAL(CreateFontIndirectW)(description);
    acquired(Held::Font, font);
    return font;
}

BOOL WINAPI ledgerDeleteObject(HGDIOBJ object)
{
    bool font = false;
    {
        Lock lock;
        for (const auto& selection : gBook->selections)
            if (selection.second.ours == object)
                gBook->wrongReleases.push_back("an object was deleted while still selected");
        font = isHeld(Held::Font, object);
    }
    released(font ? Held::Font : Held::Bitmap, object);
    return REAL(DeleteObject)(object);
}

HDC WINAPI ledgerCreateCompatibleDC(HDC dc)
{
    if (shouldFail(Fallible::CreateCompatibleDC))
        return nullptr;
    HDC memory = REAL(CreateCompatibleDC)(dc);
    acquired(Held::MemoryDc, memory);
    return memory;
}

BOOL WINAPI ledgerDeleteDC(HDC dc)
{
    {
        Lock lock;
        for (DWORD kind : {OBJ_BITMAP, OBJ_FONT})
            if (gBook->selections.erase({dc, kind}))
                gBook->wrongReleases.push_back("a memory DC was deleted with our object still selected");
    }
    released(Held::MemoryDc, dc);
    return REAL(DeleteDC)(dc);
}

HGDIOBJ WINAPI ledgerSelectObject(HDC dc, HGDIOBJ object)
{
    HGDIOBJ previous = REAL(SelectObject)(dc, object);
    Lock lock;
    auto& count = gBook->counts[static_cast<int>(Held::Selection)];
    auto& live = gBook->live[static_cast<int>(Held::Selection)];
    const bool ours = isHeld(Held::Bitmap, object) || isHeld(Held::Font, object);
    const std::pair<HDC, DWORD> slot = {dc, GetObjectType(object)};
    if (ours && previous) {
        gBook->selections[slot] = {object, previous};
        ++live[dc];
        ++count.acquired;
        return previous;
    }
    auto found = gBook->selections.find(slot);
    if (found != gBook->selections.end() && found->second.displaced == object) {
        gBook->selections.erase(found);
        if (--live[dc] == 0)
            live.erase(dc);
        ++count.released;
    }
    return previous;
}

BOOL WINAPI ledgerBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                         int sourceY, DWORD operation)
{
    {
        Lock lock;
        ++gBook->bitBlts;
    }
    return REAL(BitBlt)(dc, x, y, width, height, source, sourceX, sourceY, operation);
}

HDC WINAPI ledgerBeginPaint(HWND window, PAINTSTRUCT* paint)
{
    HDC dc = REAL(BeginPaint)(window, paint);
    // Counted whatever it gives: EndPaint is owed for every BeginPaint.
    acquired(Held::Paint, window);
    return dc;
}

BOOL WINAPI ledgerEndPaint(HWND window, const PAINTSTRUCT* paint)
{
    released(Held::Paint, window);
    return REAL(EndPaint)(window, paint);
}

LSTATUS WINAPI ledgerRegCreateKeyExW(HKEY parent, LPCWSTR path, DWORD reserved, LPWSTR keyClass,
                                     DWORD options, REGSAM access,
                                     const LPSECURITY_ATTRIBUTES security, PHKEY key,
                                     LPDWORD disposition)
{
    if (shouldFail(Fallible::RegCreateKeyExW))
        return ERROR_ACCESS_DENIED;
    const LSTATUS status = REAL(RegCreateKeyExW)(parent, path, reserved, keyClass, options,
                                                 access, security, key, disposition);
    if (status == ERROR_SUCCESS)
        acquired(Held::RegistryKey, *key);
    return status;
}

LSTATUS WINAPI ledgerRegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                    const BYTE* data, DWORD size)
{
    if (shouldFail(Fallible::RegSetValueExW))
        return ERROR_ACCESS_DENIED;
    // Held across the write, so that the data kept is that of the write that came last.
    Lock lock;
    const LSTATUS status = REAL(RegSetValueExW)(key, name, reserved, type, data, size);
    if (status == ERROR_SUCCESS)
        gBook->lastValueWritten.assign(data, data + size);
    return status;
}

LSTATUS WINAPI ledgerRegCloseKey(HKEY key)
{
    released(Held::RegistryKey, key);
    return REAL(RegCloseKey)(key);
}

INT_PTR WINAPI ledgerDialogBoxParamW(HINSTANCE instance, LPCWSTR name, HWND owner,
                                     DLGPROC procedure, LPARAM param)
{
    if (shouldFail(Fallible::DialogBoxParamW)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    return REAL(DialogBoxParamW)(instance, name, owner, procedure, param);
}

const char* const kHeldNames[] = {"LocalAlloc/LocalFree", "malloc/free",
                                  "CreateFontW(Indirect)/DeleteObject", "LoadBitmapW, CreateDIBSection/DeleteObject",
                                  "CreateCompatibleDC/DeleteDC", "BeginPaint/EndPaint",
                                  "SelectObject/SelectObject restoring",
                                  "LoadLibraryExW/FreeLibrary",
                                  "GetModuleHandleExW/FreeLibrary(AndExitThread)",
                                  "RegCreateKeyExW/RegCloseKey", "CreateThread/CloseHandle"};
static_assert(sizeof kHeldNames / sizeof kHeldNames[0] == kHeldKinds, "a name for each");

const char* const kFallibleNames[] = {"LocalAlloc",      "malloc",          "CreateThread",
                                      "LoadLibraryExW",  "FindResourceExW", "LoadResource",
                                      "CreateFontW",     "LoadBitmapW",     "CreateCompatibleDC",
                                      "CreateDIBSection", "RegCreateKeyExW", "RegSetValueExW",
                                      "DialogBoxParamW"};
static_assert(sizeof kFallibleNames / sizeof kFallibleNames[0] == kFallibleKinds, "a name for each");

} // namespace

const char* heldName(Held held)
{
    return kHeldNames[static_cast<int>(held)];
}

const char* fallibleName(Fallible call)
{
    return kFallibleNames[static_cast<int>(call)];
}

ImportLedger::ImportLedger()
{
    {
        Lock lock;
        gBook = new Book;
    }
    for (int kind = 0; kind < kFallibleKinds; ++kind) {
        gFailAt[kind] = -1;
        gSinceFail[kind] = 0;
        gCalls[kind] = 0;
        gFailures[kind] = 0;
    }
    auto patch = [this](const char* name, auto replacement, auto& real) {
        auto made = std::make_unique<ImportPatch>(libraryModule(), name,
                                                  reinterpret_cast<void*>(replacement));
        if (!made->applied()) {
            unpatched_.push_back(name);
            return;
        }
        real = made->template originalAs<std::remove_reference_t<decltype(real)>>();
        patches_.push_back(std::move(made));
    };
#define PATCH(name, replacement) patch(#name, replacement, REAL(name))
    PATCH(LocalAlloc, ledgerLocalAlloc);
    PATCH(LocalFree, ledgerLocalFree);
    patch("malloc", ledgerMalloc, real_malloc);
    patch("calloc", ledgerCalloc, real_calloc);
    patch("realloc", ledgerRealloc, real_realloc);
    patch("free", ledgerFree, real_free);
    PATCH(CreateThread, ledgerCreateThread);
    PATCH(CloseHandle, ledgerCloseHandle);
    PATCH(GetModuleHandleExW, ledgerGetModuleHandleExW);
    PATCH(LoadLibraryExW, ledgerLoadLibraryExW);
    PATCH(FreeLibrary, ledgerFreeLibrary);
    PATCH(FreeLibraryAndExitThread, ledgerFreeLibraryAndExitThread);
    PATCH(FindResourceExW, ledgerFindResourceExW);
    PATCH(LoadResource, ledgerLoadResource);
    PATCH(CreateFontW, ledgerCreateFontW);
    PATCH(LoadBitmapW, ledgerLoadBitmapW);
    PATCH(CreateDIBSection, ledgerCreateDIBSection);
    PATCH(CreateFontIndirectW, ledgerCreateFontIndirectW);
    PATCH(DeleteObject, ledgerDeleteObject);
    PATCH(CreateCompatibleDC, ledgerCreateCompatibleDC);
    PATCH(DeleteDC, ledgerDeleteDC);
    PATCH(SelectObject, ledgerSelectObject);
    PATCH(BitBlt, ledgerBitBlt);
    PATCH(BeginPaint, ledgerBeginPaint);
    PATCH(EndPaint, ledgerEndPaint);
    PATCH(RegCreateKeyExW, ledgerRegCreateKeyExW);
    PATCH(RegSetValueExW, ledgerRegSetValueExW);
    PATCH(RegCloseKey, ledgerRegCloseKey);
    PATCH(DialogBoxParamW, ledgerDialogBoxParamW);
#undef PATCH
}

ImportLedger::~ImportLedger()
{
    // Restored in the reverse order, so that a patch laid over ours afterwards (and
    // already gone) and ours unwind as a stack.
    while (!patches_.empty())
        patches_.pop_back();
    awaitThreads(0);
    Lock lock;
    delete gBook;
    gBook = nullptr;
}

std::vector<std::string> ImportLedger::unpatched() const
{
    return unpatched_;
}

void ImportLedger::fail(Fallible call, long nth)
{
    gSinceFail[static_cast<int>(call)] = 0;
    gFailAt[static_cast<int>(call)] = nth;
}

void ImportLedger::stopFailing()
{
    for (int kind = 0; kind < kFallibleKinds; ++kind)
        gFailAt[kind] = -1;
}

long ImportLedger::calls(Fallible call) const
{
    return gCalls[static_cast<int>(call)];
}

long ImportLedger::failures(Fallible call) const
{
    return gFailures[static_cast<int>(call)];
}

long ImportLedger::totalFailures() const
{
    long total = 0;
    for (int kind = 0; kind < kFallibleKinds; ++kind)
        total += gFailures[kind];
    return total;
}

bool ImportLedger::awaitThreads(DWORD timeoutMs)
{
    std::vector<HANDLE> threads;
    {
        Lock lock;
        threads.swap(gBook->threads);
    }
    const DWORD start = GetTickCount();
    bool allEnded = true;
    for (HANDLE thread : threads) {
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent < timeoutMs ? timeoutMs - spent : 0;
        allEnded = WaitForSingleObject(thread, left) == WAIT_OBJECT_0 && allEnded;
        CloseHandle(thread);
    }
    return allEnded;
}

std::vector<BYTE> ImportLedger::lastValueWritten() const
{
    Lock lock;
    return gBook->lastValueWritten;
}

long ImportLedger::threadsStarted() const
{
    Lock lock;
    return gBook->threadsStarted;
}

HeldCount ImportLedger::count(Held held) const
{
    Lock lock;
    return gBook->counts[static_cast<int>(held)];
}

long ImportLedger::bitBlts() const
{
    Lock lock;
    return gBook->bitBlts;
}

std::vector<std::string> ImportLedger::imbalances() const
{
    Lock lock;
    std::vector<std::string> lines = gBook->wrongReleases;
    for (int kind = 0; kind < kHeldKinds; ++kind) {
        const HeldCount& count = gBook->counts[kind];
        if (gBook->live[kind].empty() && count.acquired == count.released)
            continue;
        char line[200];
        wsprintfA(line, "%s: %ld acquired, %ld released, %d still held", kHeldNames[kind],
                  count.acquired, count.released, static_cast<int>(gBook->live[kind].size()));
        lines.push_back(line);
    }
    return lines;
}

void letAThreadExit()
{
    std::thread([] {}).join();
}

namespace {

// NtQuerySystemInformation(SystemHandleInformation): every handle of every process.
struct SystemHandleEntry {
    ULONG ownerProcess;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    void* object;
    ULONG access;
};
struct SystemHandles {
    ULONG count;
    SystemHandleEntry entries[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

std::vector<USHORT> handlesInSystemTable(bool* answered)
{
    std::vector<USHORT> handles;
    *answered = false;
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    if (!query)
        return handles;
    std::vector<BYTE> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(needed > buffer.size() ? needed + 4096 : buffer.size() * 2);
            continue;
        }
        if (status < 0)
            return handles;
        const auto* table = reinterpret_cast<const SystemHandles*>(buffer.data());
        for (ULONG i = 0; i < table->count; ++i)
            if (table->entries[i].ownerProcess == GetCurrentProcessId())
                handles.push_back(table->entries[i].value);
        *answered = true;
        return handles;
    }
}

std::string typeOf(USHORT value)
{
    using Query = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<Query>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject"));
    constexpr ULONG kObjectTypeInformation = 2;
    alignas(8) BYTE buffer[1024] = {};
    if (!query || query(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value)),
                        kObjectTypeInformation, buffer, sizeof buffer, nullptr) < 0)
        return "?";
    struct Name {
        USHORT length;
        USHORT capacity;
        const wchar_t* text;
    };
    const auto* name = reinterpret_cast<const Name*>(buffer);
    std::string type;
    for (USHORT i = 0; i < name->length / 2; ++i)
        type += static_cast<char>(name->text[i]);
    return type;
}

} // namespace

long processHandleCount(const char** method)
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) {
        if (method)
            *method = "GetProcessHandleCount";
        return static_cast<long>(count);
    }
    // Wine answers GetProcessHandleCount with nothing; its system handle table is exact.
    if (method)
        *method = "NtQuerySystemInformation(SystemHandleInformation)";
    bool answered = false;
    const std::vector<USHORT> handles = handlesInSystemTable(&answered);
    return answered ? static_cast<long>(handles.size()) : -1;
}

std::map<std::string, long> processHandlesByType()
{
    std::map<std::string, long> types;
    bool answered = false;
    for (USHORT value : handlesInSystemTable(&answered))
        ++types[typeOf(value)];
    return types;
}
