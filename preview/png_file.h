// Writes 24-bit pictures as PNG files, uncompressed (stored deflate blocks): no library
// needed, and every viewer reads them.
#ifndef PREVIEW_PNG_FILE_H
#define PREVIEW_PNG_FILE_H

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top down, 3 bytes (red, green, blue) per pixel
};

// Returns false when the file cannot be written.
bool writePng(const std::wstring& path, const RgbImage& image);

#endif
