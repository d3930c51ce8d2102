#include "common/access_key.h"

wchar_t parseAccessKey(const wchar_t* label, wchar_t* shown, size_t capacity, BracketedKey bracketed)
{
    if (!shown || capacity == 0)
        return 0;
    size_t end = 0;
    while (label[end])
        ++end;
    wchar_t key = 0, bracketKey = 0;
    if (bracketed == BracketedKey::Dropped && end >= 4 && label[end - 4] == L'(' && label[end - 3] == L'&' &&
        label[end - 2] != L'&' && label[end - 1] == L')') {
        bracketKey = label[end - 2];
        end -= 4;
        while (end > 0 && label[end - 1] == L' ')
            --end;
    }
    size_t kept = 0;
    for (size_t index = 0; index < end && kept + 1 < capacity; ++index) {
        if (label[index] == L'&') {
            // A lone "&" at the end marks nothing and is not drawn either.
            if (index + 1 >= end || label[index + 1] != L'&') {
                if (!key && index + 1 < end)
                    key = label[index + 1];
                continue;
            }
            ++index;
        }
        shown[kept++] = label[index];
    }
    shown[kept] = L'\0';
    return key ? key : bracketKey;
}
