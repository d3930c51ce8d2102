#include "common/reading_direction.h"

#include <algorithm>
#include <iterator>

namespace {

struct DirectionRange {
    char32_t first, last;
    ReadingDirection direction;
};

constexpr ReadingDirection N = ReadingDirection::Neutral;
constexpr ReadingDirection R = ReadingDirection::RightToLeft;

// Every code point not listed reads left to right. The ranges follow the Unicode
// bidirectional classes in the scripts translators bring (Latin, Greek, Cyrillic,
// Hebrew, Arabic, the punctuation and symbol blocks, the CJK punctuation, the
// presentation and full-width forms); elsewhere, only combining marks at the very start
// of a text could be taken wrongly, and no text starts with one.
constexpr DirectionRange kNotLeftToRight[] = {
    {0x0000, 0x0040, N}, {0x005B, 0x0060, N}, {0x007B, 0x00A9, N}, {0x00AB, 0x00B4, N},
    {0x00B6, 0x00B9, N}, {0x00BB, 0x00BF, N}, {0x00D7, 0x00D7, N}, {0x00F7, 0x00F7, N},
    {0x02B9, 0x02BA, N}, {0x02C2, 0x02CF, N}, {0x02D2, 0x02DF, N}, {0x02E5, 0x02ED, N},
    {0x02EF, 0x036F, N}, {0x0374, 0x0375, N}, {0x037E, 0x037E, N}, {0x0384, 0x0385, N},
    {0x0387, 0x0387, N}, {0x03F6, 0x03F6, N}, {0x0483, 0x0489, N}, {0x058A, 0x05BD, N},
    {0x05BE, 0x05BE, R}, {0x05BF, 0x05BF, N}, {0x05C0, 0x05C0, R}, {0x05C1, 0x05C2, N},
    {0x05C3, 0x05C3, R}, {0x05C4, 0x05C5, N}, {0x05C6, 0x05C6, R}, {0x05C7, 0x05CF, N},
    {0x05D0, 0x05FF, R}, {0x0600, 0x0607, N}, {0x0608, 0x0608, R}, {0x0609, 0x060A, N},
    {0x060B, 0x060B, R}, {0x060C, 0x060C, N}, {0x060D, 0x060D, R}, {0x060E, 0x061A, N},
    {0x061B, 0x064A, R}, {0x064B, 0x066C, N}, {0x066D, 0x066F, R}, {0x0670, 0x0670, N},
    {0x0671, 0x06D5, R}, {0x06D6, 0x06E4, N}, {0x06E5, 0x06E6, R}, {0x06E7, 0x06ED, N},
    {0x06EE, 0x06EF, R}, {0x06F0, 0x06F9, N}, {0x06FA, 0x0710, R}, {0x0711, 0x0711, N},
    {0x0712, 0x072F, R}, {0x0730, 0x074C, N}, {0x074D, 0x07A5, R}, {0x07A6, 0x07B0, N},
    {0x07B1, 0x07EA, R}, {0x07EB, 0x07F3, N}, {0x07F4, 0x07F5, R}, {0x07F6, 0x07F9, N},
    {0x07FA, 0x07FC, R}, {0x07FD, 0x07FD, N}, {0x07FE, 0x0815, R}, {0x0816, 0x0819, N},
    {0x081A, 0x081A, R}, {0x081B, 0x0823, N}, {0x0824, 0x0824, R}, {0x0825, 0x0827, N},
    {0x0828, 0x0828, R}, {0x0829, 0x082F, N}, {0x0830, 0x0858, R}, {0x0859, 0x085D, N},
    {0x085E, 0x088F, R}, {0x0890, 0x089F, N}, {0x08A0, 0x08C9, R}, {0x08CA, 0x08FF, N},
    {0x2000, 0x200D, N}, {0x200F, 0x200F, R}, {0x2010, 0x2070, N}, {0x2074, 0x207E, N},
    {0x2080, 0x208F, N}, {0x20A0, 0x2101, N}, {0x2103, 0x2106, N}, {0x2108, 0x2109, N},
    {0x2114, 0x2114, N}, {0x2116, 0x2118, N}, {0x211E, 0x2123, N}, {0x2125, 0x2125, N},
    {0x2127, 0x2127, N}, {0x2129, 0x2129, N}, {0x212E, 0x212E, N}, {0x213A, 0x213B, N},
    {0x2140, 0x2144, N}, {0x214A, 0x214D, N}, {0x2150, 0x215F, N}, {0x2189, 0x2335, N},
    {0x237B, 0x2394, N}, {0x2396, 0x249B, N}, {0x24EA, 0x26AB, N}, {0x26AD, 0x27FF, N},
    {0x2900, 0x2BFF, N}, {0x2E00, 0x2E7F, N}, {0x3000, 0x3004, N}, {0x3008, 0x3020, N},
    {0x302A, 0x302D, N}, {0x3030, 0x3030, N}, {0x3036, 0x3037, N}, {0x303D, 0x303F, N},
    {0x3099, 0x309C, N}, {0x30A0, 0x30A0, N}, {0x30FB, 0x30FB, N},
    {0xFB1D, 0xFB1D, R}, {0xFB1E, 0xFB1E, N}, {0xFB1F, 0xFB28, R}, {0xFB29, 0xFB29, N},
    {0xFB2A, 0xFD3D, R}, {0xFD3E, 0xFD4F, N}, {0xFD50, 0xFDCE, R}, {0xFDCF, 0xFDEF, N},
    {0xFDF0, 0xFDFC, R}, {0xFDFD, 0xFE6F, N}, {0xFE70, 0xFEFE, R}, {0xFEFF, 0xFEFF, N},
    {0xFF01, 0xFF20, N}, {0xFF3B, 0xFF40, N}, {0xFF5B, 0xFF65, N}, {0xFFE0, 0xFFFF, N},
    {0x10800, 0x10FFF, R}, {0x1E800, 0x1EFFF, R}, {0x1F000, 0x1FBFF, N},
};

// The longest text a dialog holds: the warning's message, 1023 units and its NUL.
constexpr int kLongestText = 1024;

constexpr bool isHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool isLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool isEditBox(HWND window)
{
    WCHAR className[8] = {};
    GetClassNameW(window, className, 8);
    return lstrcmpiW(className, L"Edit") == 0;
}

LONG_PTR withStyle(LONG_PTR exStyle, LONG_PTR flag, bool on)
{
    return on ? exStyle | flag : exStyle & ~flag;
}

// Reading order is a window style: a control reads right to left only with
// WS_EX_RTLREADING, and mirroring the layout does not give it.
void setReadingDirection(HWND window, int rightToLeftLayout)
{
    WCHAR text[kLongestText] = {};
    GetWindowTextW(window, text, kLongestText);
    const bool rightToLeft = readsRightToLeft(text, kLongestText, rightToLeftLayout);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    LONG_PTR wanted = withStyle(exStyle, WS_EX_RTLREADING, rightToLeft);
    // A mirrored edit box lays its runs out from the right, which garbles a left-to-right
    // text such as "Report(1-99)": such a box keeps the dialog's place but not its mirror.
    if (!rightToLeft && isEditBox(window))
        wanted = withStyle(wanted, WS_EX_LAYOUTRTL, false);
    if (wanted != exStyle)
        SetWindowLongPtrW(window, GWL_EXSTYLE, wanted);
}

BOOL CALLBACK setChildReadingDirection(HWND child, LPARAM rightToLeftLayout)
{
    setReadingDirection(child, static_cast<int>(rightToLeftLayout));
    return TRUE;
}

} // namespace

ReadingDirection directionOfCodePoint(char32_t codePoint)
{
    const auto after = std::upper_bound(
        std::begin(kNotLeftToRight), std::end(kNotLeftToRight), codePoint,
        [](char32_t point, const DirectionRange& range) { return point < range.first; });
    if (after == std::begin(kNotLeftToRight))
        return ReadingDirection::LeftToRight;
    const DirectionRange& range = *std::prev(after);
    return codePoint <= range.last ? range.direction : ReadingDirection::LeftToRight;
}

ReadingDirection firstStrongDirection(const wchar_t* text, size_t capacity)
{
    // Text between an isolate mark (LRI, RLI, FSI) and its PDI decides nothing, however
    // deep; an isolate left open runs to the end.
    size_t isolates = 0;
    for (size_t i = 0; i < capacity && text[i]; ++i) {
        if (text[i] >= 0x2066 && text[i] <= 0x2068) {
            ++isolates;
            continue;
        }
        if (text[i] == 0x2069) {
            isolates -= isolates > 0;
            continue;
        }
        if (isolates)
            continue;
        char32_t point = text[i];
        if (isHighSurrogate(text[i]) && i + 1 < capacity && isLowSurrogate(text[i + 1])) {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(text[i]) || isLowSurrogate(text[i])) {
            continue;
        }
        const ReadingDirection direction = directionOfCodePoint(point);
        if (direction != ReadingDirection::Neutral)
            return direction;
    }
    return ReadingDirection::Neutral;
}

bool readsRightToLeft(const wchar_t* text, size_t capacity, int rightToLeftLayout)
{
    switch (firstStrongDirection(text, capacity)) {
    case ReadingDirection::RightToLeft:
        return true;
    case ReadingDirection::LeftToRight:
        return false;
    default:
        return rightToLeftLayout != 0;
    }
}

void applyReadingDirections(HWND dialog, int rightToLeftLayout)
{
    setReadingDirection(dialog, rightToLeftLayout);
    EnumChildWindows(dialog, setChildReadingDirection, rightToLeftLayout);
}

void keepReadingOrder(HWND control, HDC paint)
{
    if ((GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_RTLREADING) && !isEditBox(control))
        SetTextAlign(paint, GetTextAlign(paint) | TA_RTLREADING);
}
