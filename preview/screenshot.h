// Capturing a dialog as the user sees it on the screen.
#ifndef PREVIEW_SCREENSHOT_H
#define PREVIEW_SCREENSHOT_H

#include <windows.h>

#include "png_file.h"

// Repaints the window and everything in it, then copies its rectangle off the screen
// (so that what the dialog paints itself, like the duplex pictures, is included).
bool captureWindow(HWND window, RgbImage& image);

#endif
