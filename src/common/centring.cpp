#include "common/centring.h"

#include "common/int_range.h"

PlacementPoint centredPosition(const PlacementRect& dialog, const PlacementRect& foreground,
                               const PlacementRect& monitor, PlacementVariant variant)
{
    const long long width = static_cast<long long>(dialog.right) - dialog.left;
    const long long height = static_cast<long long>(dialog.bottom) - dialog.top;
    long long x = foreground.left + (static_cast<long long>(foreground.right) - foreground.left) / 2 - width / 2;
    long long y = foreground.top + (static_cast<long long>(foreground.bottom) - foreground.top) / 2 - height / 2;

    if (variant == PlacementVariant::JobStorage) {
        if (x < monitor.left)
            x = monitor.left;
        else if (x + width > monitor.right)
            x = monitor.right - width;
        if (y < monitor.top)
            y = monitor.top;
        else if (y + height > monitor.bottom)
            y = monitor.bottom - height;
    } else {
        if (x < monitor.left)
            x = monitor.left;
        if (y < monitor.top)
            y = monitor.top;
        if (x + width > monitor.right)
            x = monitor.right - width;
        if (y + height > monitor.bottom)
            y = monitor.bottom - height;
    }
    return {saturatedInt(x), saturatedInt(y)};
}
