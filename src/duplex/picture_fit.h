// How a duplex picture and the label on it fit their frame: plain arithmetic and text, so
// that their edges can be tested without a window.
#ifndef PRINTDIALOGS_PICTURE_FIT_H
#define PRINTDIALOGS_PICTURE_FIT_H

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

// The font height (a LOGFONT lfHeight: negative for the character height) at which a
// label `needed` pixels wide and high fits its `room`, shrunk on its tighter axis but
// never below `floor` pixels nor above the room's height; a label that fits keeps its
// height. What is still too wide at the floor is cut.
int labelFontHeight(int height, int neededWidth, int neededHeight, int roomWidth, int roomHeight, int floor);

#endif
