// Texts from the caller-named resource module, in the user's language.
#ifndef PRINTDIALOGS_RESOURCE_TEXT_H
#define PRINTDIALOGS_RESOURCE_TEXT_H

#include <windows.h>

// Every text is assembled in a buffer of this many units and cut to fit.
constexpr size_t kTextUnits = 256;

// Whether an interface language reads right to left, as the system's locale data says;
// for a language the system does not know, as listedRightToLeft says.
bool interfaceReadsRightToLeft(LANGID language);

// The right-to-left languages by primary language: Arabic, Hebrew, Persian, Urdu, Pashto,
// Uyghur, Syriac, Divehi, Central Kurdish, Dari, Yiddish; Sindhi and Punjabi in Arabic
// script only.
bool listedRightToLeft(LANGID language);

// One per dialog, used by the dialog's own thread only. Construction decides the
// language and the layout direction; destruction frees the resource module.
class ResourceText {
public:
    ResourceText();
    ~ResourceText();
    ResourceText(const ResourceText&) = delete;
    ResourceText& operator=(const ResourceText&) = delete;

    // Maps the module as data (no entry point, no imports), once; a module that cannot be
    // mapped leaves the defaults.
    void openResourceModule(const WCHAR* path);

    // Copies string `id` (at most kTextUnits - 1 units, terminated) into a buffer of
    // kTextUnits. Returns 1 when found, 0 otherwise (and the buffer is left as it was).
    int loadString(UINT id, WCHAR* buffer);

    // Sets the string `id`, or `defaultText` when the module lacks it, as the window's text.
    BOOL setItemText(UINT id, HWND window, const WCHAR* defaultText);

    // 1 when the user's UI language reads right to left: use the mirrored templates.
    int rightToLeft() const { return rightToLeft_; }

private:
    HMODULE module_ = nullptr;
    int rightToLeft_ = 0;
};

#endif
