#include "common/centring.h"

#include <climits>

namespace {

// Rectangles come from other windows and may lie anywhere in the int range; the sums are
// made in a wider type so that none overflows, and the position is brought back.
int toInt(long long value)
{
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace

PlacementPoint centredPosition(const PlacementRect& dialog, const PlacementRect& foreground,
                               const PlacementRect& desktop, PlacementVariant variant)
{
    const long long width = static_cast<long long>(dialog.right) - dialog.left;
    const long long height = static_cast<long long>(dialog.bottom) - dialog.top;
    long long x = foreground.left + (static_cast<long long>(foreground.right) - foreground.left) / 2 - width / 2;
    long long y = foreground.top + (static_cast<long long>(foreground.bottom) - foreground.top) / 2 - height / 2;

    if (variant == PlacementVariant::JobStorage) {
        if (x < 0)
            x = 0;
        else if (x + width > desktop.right)
            x = desktop.right - width;
        if (y < 0)
            y = 0;
        else if (y + height > desktop.bottom)
            y = desktop.bottom - height;
    } else {
        if (x < 0)
            x = 0;
        if (y < 0)
            y = 0;
        if (x + width > desktop.right)
            x = desktop.right - width;
        if (y + height > desktop.bottom)
            y = desktop.bottom - height;
    }
    return {toInt(x), toInt(y)};
}
