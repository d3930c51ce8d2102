// A duplex picture frame that draws its own picture. Attached once, the frame makes its
// picture for its size at its first paint and keeps it, draws it at every paint whatever
// invalidated it, makes it again when its size, font, colours or DPI change, and lets go
// of it when the frame is destroyed. The dialog attaches and forgets.
#ifndef PRINTDIALOGS_PICTURE_FRAME_H
#define PRINTDIALOGS_PICTURE_FRAME_H

#include <windows.h>

#include "common/resource_text.h"

// The word picture `bitmapId` carries (a button label, as the dialog's own button reads
// without its access key) into `word` of kTextUnits; false for a picture without words.
bool pictureWord(ResourceText& text, UINT bitmapId, WCHAR* word);

// What a frame shows: one of the library's pictures and, for a picture with words, its
// word from pictureWord (the frame copies it).
struct FramePicture {
    UINT bitmapId = 0;
    const wchar_t* label = nullptr;
    int rightToLeftLayout = 0;  // the dialog's
};

// False when the frame cannot take it: the frame then stays as the template made it.
bool attachPicture(HWND frame, const FramePicture& picture);

// The dialog has moved to a screen of `dpi`: the label's font is made again for it.
void changePictureDpi(HWND frame, int dpi);

#endif
