// The duplex dialog's three pictures, each drawn once for its frame and kept.
#ifndef PRINTDIALOGS_DUPLEX_PANELS_H
#define PRINTDIALOGS_DUPLEX_PANELS_H

#include <windows.h>

#include "common/resource_text.h"
#include "duplex/picture_fit.h"

// One frame's picture as it appears on screen: scaled, labelled and mirrored as the
// frame needs. Made at the first paint that knows the frame's size, made again only if
// that size changes, released by releasePanelPicture when the dialog closes.
struct PanelPicture {
    bool made = false;        // also when no picture has the id: the frame stays empty
    SIZE frame = {};          // the size it was made for
    PictureFit fit = {};
    HDC dc = nullptr;         // holds `bitmap` while it is kept
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

struct DuplexPictures {
    PanelPicture steps[3];
};

// Draws one of the library's pictures into a picture frame, making it first if need be.
// The label of a picture that shows one of the dialog's buttons comes from `text`.
void paintPanel(HWND dialog, int controlId, UINT bitmapId, ResourceText& text, PanelPicture& kept);

void releasePanelPicture(PanelPicture& kept);

// The word picture `bitmapId` carries (a button label, as the dialog's own button reads
// without its access key) into `word` of kTextUnits; false for a picture without words.
bool pictureWord(ResourceText& text, UINT bitmapId, WCHAR* word);

#endif
