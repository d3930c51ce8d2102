#include "common/centring.h"

PlacementPoint centredPosition(const PlacementRect& dialog, const PlacementRect& foreground,
                               const PlacementRect& desktop, PlacementVariant variant)
{
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    int x = foreground.left + (foreground.right - foreground.left) / 2 - width / 2;
    int y = foreground.top + (foreground.bottom - foreground.top) / 2 - height / 2;

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
    return {x, y};
}
