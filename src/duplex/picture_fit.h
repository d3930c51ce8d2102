// How a duplex picture and the label on it fit their frame: plain arithmetic and text, so
// that their edges can be tested without a window.
#ifndef PRINTDIALOGS_PICTURE_FIT_H
#define PRINTDIALOGS_PICTURE_FIT_H

#include <cwchar>

// Where a picture goes in its frame and at what size. x counts from the frame's leading
// edge: its left, or its right in a mirrored dialog; y from its top.
struct PictureFit {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// One scale for both axes, the largest at which the whole picture fits the frame. From 1
// up to 1 1/8 the picture is drawn as it was made, from the frame's leading corner (a
// 100 % frame is a few pixels larger than its picture); otherwise it is scaled and
// centred. An empty frame or picture fits nowhere: all zero.
PictureFit fitPicture(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight);

// A rectangle of the picture (left, top inclusive; right, bottom exclusive) where the
// fitted picture shows it, with x from the fitted picture's own left.
struct PictureRect {
    int left, top, right, bottom;
};
PictureRect scaleToFit(const PictureRect& inPicture, int pictureWidth, int pictureHeight,
                       const PictureFit& fit);

// A button label as the button shows it, in place: each single "&" goes, "&&" becomes
// "&", and a trailing mnemonic in brackets such as "(&C)" goes whole.
void removeMnemonic(wchar_t* label);

#endif
