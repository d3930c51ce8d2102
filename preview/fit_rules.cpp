#include "fit_rules.h"

#include <algorithm>

Overflow overflowOf(Extent room, Extent needed)
{
    return {std::max(0, needed.width - room.width), std::max(0, needed.height - room.height)};
}

Overflow staticTextOverflow(Extent client, Extent needed)
{
    return overflowOf(client, needed);
}

Overflow pushButtonOverflow(Extent client, Extent oneLine, int edge)
{
    return overflowOf({client.width - 2 * edge, client.height - 2 * edge}, oneLine);
}

Overflow checkBoxOverflow(Extent client, Extent oneLine, int boxWidth, int digitWidth)
{
    return overflowOf({client.width - boxWidth - digitWidth / 2, client.height}, oneLine);
}

int checkBoxWidth(int dpi)
{
    return 12 * dpi / 96 + 1;
}

Overflow editOverflow(Extent client, Extent oneLine, int leftMargin, int rightMargin)
{
    // An edit scrolls rather than grows: only the width can run out.
    return {overflowOf({client.width - leftMargin - rightMargin, 0}, oneLine).width, 0};
}

UINT staticDrawFlags(DWORD style)
{
    UINT flags = 0;
    switch (style & SS_TYPEMASK) {
    case SS_LEFT: flags = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK; break;
    case SS_CENTER: flags = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK; break;
    case SS_RIGHT: flags = DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK; break;
    case SS_SIMPLE: flags = DT_LEFT | DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: flags = DT_LEFT | DT_EXPANDTABS; break;
    default: return 0;
    }
    if (style & SS_NOPREFIX)
        flags |= DT_NOPREFIX;
    if (style & SS_EDITCONTROL)
        flags |= DT_EDITCONTROL;
    return flags;
}

int hiddenLines(int height, int lineHeight)
{
    if (height <= 0 || lineHeight <= 0)
        return 0;
    return (height + lineHeight - 1) / lineHeight;
}

wchar_t accessKey(const std::wstring& label)
{
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != L'&')
            continue;
        if (label[i + 1] != L'&')
            // Upper case as the system matches keys, beyond the C library's ASCII.
            return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(MAKEINTRESOURCEW(label[i + 1]))));
        ++i;
    }
    return 0;
}

std::vector<KeyClash> accessKeyClashes(const std::vector<Label>& labels)
{
    std::vector<KeyClash> clashes;
    for (size_t later = 0; later < labels.size(); ++later) {
        const wchar_t key = accessKey(labels[later].text);
        if (!key)
            continue;
        for (size_t earlier = 0; earlier < later; ++earlier) {
            if (accessKey(labels[earlier].text) == key) {
                clashes.push_back({key, labels[earlier].controlId, labels[later].controlId});
                break;
            }
        }
    }
    return clashes;
}

namespace {

bool isInvisible(wchar_t c)
{
    return c < 0x20 || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF;
}

} // namespace

std::wstring drawnCharacters(const std::wstring& text, bool prefixes)
{
    std::wstring drawn;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (prefixes && c == L'&') {
            if (i + 1 >= text.size() || text[i + 1] != L'&')
                continue;
            ++i;  // "&&" draws one ampersand
        }
        if (!isInvisible(c) && drawn.find(c) == std::wstring::npos)
            drawn += c;
    }
    return drawn;
}
