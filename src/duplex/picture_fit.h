// Whether a duplex picture is drawn 1:1 or scaled to its frame: plain arithmetic, so that
// its edges can be tested without a window.
#ifndef PRINTDIALOGS_PICTURE_FIT_H
#define PRINTDIALOGS_PICTURE_FIT_H

// True when the frame differs from the picture by more than an eighth in width or
// height. At 100 % scale the frames are a few pixels larger than the pictures, which are
// then drawn 1:1 as they were made.
bool pictureScalesToFrame(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight);

#endif
