#include "duplex/picture_fit.h"

namespace {

// a * b / c, rounded to the nearest, for the small positive sizes of pictures and frames.
int scaled(long long a, long long b, long long c)
{
    return static_cast<int>((a * b + c / 2) / c);
}

} // namespace

PictureFit fitPicture(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight)
{
    PictureFit fit;
    if (frameWidth <= 0 || frameHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return fit;
    // The scale is frame / picture on the tighter axis, kept as that fraction.
    const bool widthBinds =
        static_cast<long long>(frameWidth) * pictureHeight <= static_cast<long long>(frameHeight) * pictureWidth;
    const long long frame = widthBinds ? frameWidth : frameHeight;
    const long long picture = widthBinds ? pictureWidth : pictureHeight;
    if (frame >= picture && frame * 8 <= picture * 9) {
        fit.width = pictureWidth;
        fit.height = pictureHeight;
        return fit;
    }
    fit.width = widthBinds ? frameWidth : scaled(pictureWidth, frameHeight, pictureHeight);
    fit.height = widthBinds ? scaled(pictureHeight, frameWidth, pictureWidth) : frameHeight;
    fit.x = (frameWidth - fit.width) / 2;
    fit.y = (frameHeight - fit.height) / 2;
    return fit;
}

PictureRect scaleToFit(const PictureRect& inPicture, int pictureWidth, int pictureHeight,
                       const PictureFit& fit)
{
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return {0, 0, 0, 0};
    return {scaled(inPicture.left, fit.width, pictureWidth), scaled(inPicture.top, fit.height, pictureHeight),
            scaled(inPicture.right, fit.width, pictureWidth), scaled(inPicture.bottom, fit.height, pictureHeight)};
}

int labelFontHeight(int height, int neededWidth, int neededHeight, int roomWidth, int roomHeight, int floor)
{
    const bool fits = neededWidth <= roomWidth && neededHeight <= roomHeight;
    if (fits || roomWidth <= 0 || roomHeight <= 0 || neededWidth <= 0 || neededHeight <= 0)
        return height;
    // Height 0 is the system's default size, not the smallest: it has no scale to shrink.
    const long long original = height < 0 ? -static_cast<long long>(height) : height;
    if (!original)
        return -(floor < roomHeight ? floor : roomHeight);
    const long long byWidth = original * roomWidth / neededWidth;
    const long long byHeight = original * roomHeight / neededHeight;
    long long size = byWidth < byHeight ? byWidth : byHeight;
    // The floor, but never taller than the face holds nor larger than the font was.
    long long lowest = floor < byHeight ? floor : byHeight;
    lowest = lowest < original ? lowest : original;
    size = size > lowest ? size : lowest;
    return static_cast<int>(height > 0 ? size : -size);
}
