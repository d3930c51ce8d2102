// Feeds arbitrary rectangles to the centring arithmetic, both variants, under the
// undefined-behaviour sanitizer. The input is twelve 32-bit integers: the dialog's,
// the foreground window's and its monitor's rectangles, anywhere in the int range.
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
    const PlacementRect monitor = readRect(data + 32);

    const PlacementPoint first =
        centredPosition(dialog, foreground, monitor, PlacementVariant::JobStorage);
    const PlacementPoint second =
        centredPosition(dialog, foreground, monitor, PlacementVariant::Duplex);

    // Differences of in-range rectangles; wide enough not to overflow themselves.
    const int64_t width = int64_t{dialog.right} - dialog.left;
    const int64_t height = int64_t{dialog.bottom} - dialog.top;

    // The duplex instructions keep the bottom-right edge on the monitor, wherever that
    // position can be told in an int at all.
    if (int64_t{monitor.right} - width >= INT32_MIN)
        check(second.x + width <= monitor.right, "duplex dialog ends right of the monitor");
    if (int64_t{monitor.bottom} - height >= INT32_MIN)
        check(second.y + height <= monitor.bottom, "duplex dialog ends below the monitor");

    // A dialog that fits on the monitor lands on it, at the same place in both variants.
    if (width >= 0 && width <= int64_t{monitor.right} - monitor.left) {
        check(first.x == second.x, "variants disagree on x for a dialog that fits");
        check(first.x >= monitor.left && first.x + width <= monitor.right,
              "fitting dialog not on the monitor");
    }
    if (height >= 0 && height <= int64_t{monitor.bottom} - monitor.top) {
        check(first.y == second.y, "variants disagree on y for a dialog that fits");
        check(first.y >= monitor.top && first.y + height <= monitor.bottom,
              "fitting dialog not on the monitor");
    }
    return 0;
}
