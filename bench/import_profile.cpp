#include "import_profile.h"

#include <atomic>

#include "bench.h"
#include "import_patch.h"
#include "measurements.h"

namespace {

// Room for every call of the longest profile (1,000 paints of some 35 calls each).
constexpr size_t kLogCapacity = 1 << 16;
ImportCall gLog[kLogCapacity];
std::atomic<size_t> gLogged{0};

void logCall(int function, LONGLONG start, LONGLONG end)
{
    const size_t slot = gLogged++;
    if (slot < kLogCapacity)
        gLog[slot] = {function, GetCurrentThreadId(), start, end};
}

template <int Slot, class Function>
struct Timed;

template <int Slot, class Result, class... Args>
struct Timed<Slot, Result(WINAPI*)(Args...)> {
    static inline Result(WINAPI* original)(Args...) = nullptr;
    static Result WINAPI call(Args... args)
    {
        const LONGLONG start = ticksNow();
        Result result = original(args...);
        logCall(Slot, start, ticksNow());
        return result;
    }
};

struct TimedFunction {
    const char* name;
    void* replacement;
    void** original;
};

#define TIMED(slot, function)                                                             \
    TimedFunction                                                                         \
    {                                                                                     \
        #function, reinterpret_cast<void*>(&Timed<slot, decltype(&::function)>::call),    \
            reinterpret_cast<void**>(&Timed<slot, decltype(&::function)>::original)       \
    }

// The library's imports that do more than read a field; the order is the report's.
const TimedFunction kTimed[] = {
    TIMED(0, LocalAlloc),          TIMED(1, GetModuleHandleExW),  TIMED(2, CreateThread),
    TIMED(3, CloseHandle),         TIMED(4, GetUserDefaultUILanguage),
    TIMED(5, DialogBoxParamW),     TIMED(6, LoadLibraryExW),      TIMED(7, FreeLibrary),
    TIMED(8, FindResourceExW),     TIMED(9, LoadResource),        TIMED(10, EnumResourceTypesW),
    TIMED(11, SetWindowTextW),     TIMED(12, SendMessageW),       TIMED(13, GetObjectW),
    TIMED(14, CreateFontW),        TIMED(15, EnableWindow),       TIMED(16, ShowWindow),
    TIMED(17, GetWindowRect),      TIMED(18, MapWindowPoints),    TIMED(19, SetWindowPos),
    TIMED(20, GetForegroundWindow), TIMED(21, GetDesktopWindow),  TIMED(22, GetDlgItem),
    TIMED(23, SetWindowLongPtrW),  TIMED(24, BeginPaint),         TIMED(25, ScreenToClient),
    TIMED(26, CreateCompatibleDC), TIMED(27, LoadBitmapW),        TIMED(28, SelectObject),
    TIMED(29, BitBlt),             TIMED(30, EndPaint),           TIMED(31, DeleteObject),
    TIMED(32, DeleteDC),           TIMED(33, EndDialog),          TIMED(34, GetLayout),
    TIMED(35, SetLayout),          TIMED(36, FillRect),           TIMED(37, CreateDIBSection),
    TIMED(38, StretchBlt),         TIMED(39, DrawTextW),          TIMED(40, CreateFontIndirectW),
};
constexpr int kTimedCount = sizeof kTimed / sizeof kTimed[0];

} // namespace

struct ImportProfiler::Patches {
    std::vector<std::unique_ptr<ImportPatch>> all;
};

ImportProfiler::ImportProfiler(HMODULE library) : patches_(std::make_unique<Patches>())
{
    clear();
    for (const TimedFunction& function : kTimed) {
        auto patch = std::make_unique<ImportPatch>(library, function.name, function.replacement);
        if (patch->applied())
            *function.original = patch->original();
        patches_->all.push_back(std::move(patch));
    }
}

ImportProfiler::~ImportProfiler() = default;

int ImportProfiler::functionCount()
{
    return kTimedCount;
}

const char* ImportProfiler::functionName(int function)
{
    return function >= 0 && function < kTimedCount ? kTimed[function].name : "(between calls)";
}

void ImportProfiler::clear()
{
    gLogged = 0;
}

std::vector<ImportCall> ImportProfiler::calls() const
{
    const size_t logged = std::min<size_t>(gLogged, kLogCapacity);
    return std::vector<ImportCall>(gLog, gLog + logged);
}

long ImportProfiler::count(const char* functionName) const
{
    long found = 0;
    for (const ImportCall& call : calls())
        if (strcmp(ImportProfiler::functionName(call.function), functionName) == 0)
            ++found;
    return found;
}

Profile profileOf(const ImportProfiler& profiler, const std::vector<Span>& spans)
{
    Profile profile;
    if (spans.empty())
        return profile;
    const double runs = static_cast<double>(spans.size());
    const std::vector<ProfileShare> shares =
        attributeCalls(profiler.calls(), spans, ImportProfiler::functionCount());
    for (const ProfileShare& share : shares) {
        if (share.calls == 0)
            continue;
        profile.rows.push_back({ImportProfiler::functionName(share.function),
                                share.function < 0 ? 0 : share.calls / runs,
                                ticksToMicroseconds(share.ticks) / runs});
    }
    LONGLONG total = 0;
    for (const Span& span : spans)
        total += span.end - span.start;
    profile.meanUs = ticksToMicroseconds(total) / runs;
    return profile;
}
