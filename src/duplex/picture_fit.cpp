#include "duplex/picture_fit.h"

#include <cstdlib>

bool pictureScalesToFrame(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight)
{
    const auto differs = [](int frame, int picture) {
        return std::abs(static_cast<long long>(frame) - picture) * 8 > picture;
    };
    return differs(frameWidth, pictureWidth) || differs(frameHeight, pictureHeight);
}
