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

void removeMnemonic(wchar_t* label)
{
    size_t length = wcslen(label);
    // "(&C)" at the end, as East Asian labels carry the Latin access key.
    if (length >= 4 && label[length - 4] == L'(' && label[length - 3] == L'&' && label[length - 2] != L'&' &&
        label[length - 1] == L')') {
        length -= 4;
        while (length > 0 && label[length - 1] == L' ')
            --length;
    }
    size_t kept = 0;
    for (size_t index = 0; index < length; ++index) {
        if (label[index] == L'&') {
            if (label[index + 1] != L'&')
                continue;
            ++index;
        }
        label[kept++] = label[index];
    }
    label[kept] = L'\0';
}
