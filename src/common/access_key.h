// Access keys as the system's controls read them: a single "&" marks the next character
// as the key and is not drawn, "&&" draws one "&". East Asian labels carry the Latin key
// in brackets after their text, "(&C)", which a control draws as "(C)".
#ifndef PRINTDIALOGS_ACCESS_KEY_H
#define PRINTDIALOGS_ACCESS_KEY_H

#include <cstddef>

enum class BracketedKey { Drawn, Dropped };

// Writes `label` as a control draws it into `shown` (`capacity` units with the NUL; it
// may be `label` itself) and returns the key character as written, 0 when there is none.
// With BracketedKey::Dropped a trailing "(&C)" goes whole, with the spaces before it: a
// picture of the button shows its word without the key.
wchar_t parseAccessKey(const wchar_t* label, wchar_t* shown, size_t capacity, BracketedKey bracketed);

#endif
