#include "ready_dialogs.h"

#include <atomic>

#include "import_patch.h"

namespace {

std::function<void(HWND)> gOnReady;
std::atomic<long> gSeen{0};
decltype(&SetWindowLongPtrW) gRealSetWindowLongPtr = nullptr;

LONG_PTR WINAPI watchingSetWindowLongPtr(HWND window, int index, LONG_PTR value)
{
    const LONG_PTR previous = gRealSetWindowLongPtr(window, index, value);
    if (index == DWLP_USER && value) {
        ++gSeen;
        gOnReady(window);
    }
    return previous;
}

} // namespace

ReadyDialogs::ReadyDialogs(std::function<void(HWND)> onReady)
{
    gOnReady = std::move(onReady);
    gSeen = 0;
    patch_ = std::make_unique<ImportPatch>(libraryModule(), "SetWindowLongPtrW",
                                           reinterpret_cast<void*>(watchingSetWindowLongPtr));
    gRealSetWindowLongPtr = patch_->originalAs<decltype(&SetWindowLongPtrW)>();
}

ReadyDialogs::~ReadyDialogs()
{
    patch_.reset();
}

bool ReadyDialogs::applied() const
{
    return patch_->applied();
}

long ReadyDialogs::seen() const
{
    return gSeen;
}
