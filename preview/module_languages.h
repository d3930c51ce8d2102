// The languages a resource module holds strings in, read from the module itself.
#ifndef PREVIEW_MODULE_LANGUAGES_H
#define PREVIEW_MODULE_LANGUAGES_H

#include <windows.h>

#include <string>
#include <vector>

// The languages of the module's string blocks, each once, in the order first met.
// False when the module cannot be loaded.
bool moduleLanguages(const std::wstring& path, std::vector<LANGID>& languages);

// The language as a tag such as "pl-PL"; "0x0415" style when the system has no name for it.
std::wstring languageTag(LANGID language);

#endif
