// Feeds arbitrary rectangles to the centring arithmetic, both variants, under the
// undefined-behaviour sanitizer. The input is twelve 32-bit integers: the dialog's,
// the foreground window's and the desktop's rectangles, anywhere in the int range.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/centring.h"

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "centring_fuzzer: %s\n", what);
        std::abort();
    }
}

PlacementRect readRect(const uint8_t* data)
{
    int32_t values[4];
    std::memcpy(values, data, sizeof values);
    return {values[0], values[1], values[2], values[3]};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 48)
        return 0;
    const PlacementRect dialog = readRect(data);
    const PlacementRect foreground = readRect(data + 16);
    const PlacementRect desktop = readRect(data + 32);

    const PlacementPoint first =
        centredPosition(dialog, foreground, desktop, PlacementVariant::JobStorage);
    const PlacementPoint second =
        centredPosition(dialog, foreground, desktop, PlacementVariant::Duplex);

    // Differences of in-range rectangles; wide enough not to overflow themselves.
    const int64_t width = int64_t{dialog.right} - dialog.left;
    const int64_t height = int64_t{dialog.bottom} - dialog.top;

    // The duplex instructions keep the bottom-right edge on the desktop, wherever that
    // position can be told in an int at all.
    if (int64_t{desktop.right} - width >= INT32_MIN)
        check(second.x + width <= desktop.right, "duplex dialog ends right of the desktop");
    if (int64_t{desktop.bottom} - height >= INT32_MIN)
        check(second.y + height <= desktop.bottom, "duplex dialog ends below the desktop");

    // A dialog that fits on the desktop lands on it, at the same place in both variants.
    if (width >= 0 && width <= desktop.right) {
        check(first.x == second.x, "variants disagree on x for a dialog that fits");
        check(first.x >= 0 && first.x + width <= desktop.right, "fitting dialog not on the desktop");
    }
    if (height >= 0 && height <= desktop.bottom) {
        check(first.y == second.y, "variants disagree on y for a dialog that fits");
        check(first.y >= 0 && first.y + height <= desktop.bottom, "fitting dialog not on the desktop");
    }
    return 0;
}
