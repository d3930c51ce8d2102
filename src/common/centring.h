// Where a dialog goes when it is centred over the foreground window: plain arithmetic,
// without Windows, so that its edges can be tested and fuzzed on their own.
#ifndef PRINTDIALOGS_CENTRING_H
#define PRINTDIALOGS_CENTRING_H

struct PlacementRect {
    int left, top, right, bottom;
};

struct PlacementPoint {
    int x, y;
};

// The job storage notice keeps a too-large dialog at the monitor's top-left corner; the
// duplex instructions keep its bottom-right edge on the monitor instead.
enum class PlacementVariant { JobStorage = 1, Duplex = 2 };

// Top-left corner that puts the dialog's centre over the foreground window's centre,
// kept inside `monitor`, the rectangle of the monitor that holds the foreground window.
// Halves round toward zero, each size on its own.
PlacementPoint centredPosition(const PlacementRect& dialog, const PlacementRect& foreground,
                               const PlacementRect& monitor, PlacementVariant variant);

#endif
