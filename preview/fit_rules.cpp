#include "fit_rules.h"

#include <algorithm>
#include <cwchar>

#include "common/access_key.h"
#include "common/resource_text.h"

Overflow overflowOf(Extent room, Extent needed)
{
    return {std::max(0, needed.width - room.width), std::max(0, needed.height - room.height)};
}

Overflow inkOverflow(RECT shown, RECT ink, int dpi)
{
    if (ink.left >= ink.right || ink.top >= ink.bottom)
        return {};
    const LONG leadingBearing = (dpi + 95) / 96;
    return {static_cast<int>(std::max<LONG>({0, shown.left - ink.left - leadingBearing, ink.right - shown.right})),
            static_cast<int>(std::max<LONG>({0, shown.top - ink.top, ink.bottom - shown.bottom}))};
}

RECT pushButtonArea(Extent client, int edge)
{
    return {edge, edge, client.width - edge, client.height - edge};
}

RECT checkBoxArea(Extent client, int boxWidth, int digitWidth)
{
    return {boxWidth + digitWidth / 2, 0, client.width, client.height};
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

UINT staticDrawFlags(DWORD style, DWORD exStyle)
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
    if (exStyle & WS_EX_RTLREADING)
        flags |= DT_RTLREADING;
    return flags;
}

unsigned unitsCut(unsigned length)
{
    constexpr unsigned kShownUnits = kTextUnits - 1;  // the dialogs' buffer, less its terminator
    return length > kShownUnits ? length - kShownUnits : 0;
}

int partLeaving(RECT shown, const std::vector<RECT>& inks, int dpi)
{
    for (size_t part = 0; part < inks.size(); ++part)
        if (!inkOverflow(shown, inks[part], dpi).fits())
            return static_cast<int>(part);
    return -1;
}

const wchar_t* scriptName(wchar_t c)
{
    static const struct {
        wchar_t first, last;
        const wchar_t* name;
    } scripts[] = {
        {0x0000, 0x024F, L"Latin"},      {0x0370, 0x03FF, L"Greek"},      {0x0400, 0x052F, L"Cyrillic"},
        {0x0530, 0x058F, L"Armenian"},   {0x0590, 0x05FF, L"Hebrew"},     {0x0600, 0x06FF, L"Arabic"},
        {0x0750, 0x077F, L"Arabic"},     {0x0900, 0x097F, L"Devanagari"}, {0x0980, 0x09FF, L"Bengali"},
        {0x0B80, 0x0BFF, L"Tamil"},      {0x0E00, 0x0E7F, L"Thai"},       {0x1200, 0x139F, L"Ethiopic"},
        {0x1780, 0x17FF, L"Khmer"},      {0x19E0, 0x19FF, L"Khmer"},
        {0x10A0, 0x10FF, L"Georgian"},   {0x1100, 0x11FF, L"Hangul"},     {0x1E00, 0x1EFF, L"Latin"},
        {0x1F00, 0x1FFF, L"Greek"},      {0x3040, 0x309F, L"Hiragana"},   {0x30A0, 0x30FF, L"Katakana"},
        {0x3100, 0x312F, L"Bopomofo"},   {0x3130, 0x318F, L"Hangul"},     {0x3400, 0x4DBF, L"Han"},
        {0x4E00, 0x9FFF, L"Han"},        {0xA000, 0xA4CF, L"Yi"},         {0xAC00, 0xD7AF, L"Hangul"},
        {0xF900, 0xFAFF, L"Han"},        {0xFB1D, 0xFB4F, L"Hebrew"},     {0xFB50, 0xFDFF, L"Arabic"},
        {0xFE70, 0xFEFF, L"Arabic"},     {0xFF00, 0xFFEF, L"Halfwidth and Fullwidth Forms"},
    };
    for (const auto& script : scripts)
        if (c >= script.first && c <= script.last)
            return script.name;
    return L"Common";
}

bool drawnUnshaped(wchar_t c, bool fontHasIt)
{
    const std::wstring script = scriptName(c);
    // The dandas, full stops of the Indic scripts, stand alone: nothing to shape.
    if (c == 0x0964 || c == 0x0965)
        return false;
    if (script == L"Khmer")
        return true;
    return !fontHasIt && (script == L"Arabic" || script == L"Thai" || script == L"Devanagari" || script == L"Bengali" ||
                          script == L"Tamil");
}

std::wstring quotedCharacters(const std::wstring& characters)
{
    std::wstring list;
    for (wchar_t c : characters) {
        wchar_t code[16];
        swprintf(code, 16, L" (U+%04X)", static_cast<unsigned>(c));
        list += (list.empty() ? L"" : L", ") + std::wstring(1, c) + code;
    }
    return list;
}

int hiddenLines(int height, int lineHeight)
{
    if (height <= 0 || lineHeight <= 0)
        return 0;
    return (height + lineHeight - 1) / lineHeight;
}

wchar_t accessKey(const std::wstring& label)
{
    std::vector<wchar_t> shown(label.size() + 1);
    const wchar_t key = parseAccessKey(label.c_str(), shown.data(), shown.size(), BracketedKey::Drawn);
    // Upper case as the system matches keys, beyond the C library's ASCII.
    return key ? static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(MAKEINTRESOURCEW(key)))) : 0;
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
    std::vector<wchar_t> shown(text.begin(), text.end());
    shown.push_back(L'\0');
    if (prefixes)
        parseAccessKey(shown.data(), shown.data(), shown.size(), BracketedKey::Drawn);
    std::wstring drawn;
    for (const wchar_t* c = shown.data(); *c; ++c)
        if (!isInvisible(*c) && drawn.find(*c) == std::wstring::npos)
            drawn += *c;
    return drawn;
}
