#include "text_check.h"

#include <cstdint>

#include "common/string_block.h"
#include "fit_rules.h"
#include "module_languages.h"

namespace {

// The dialogs read every string into a buffer of this many units, terminator included.
constexpr unsigned kDialogTextUnits = 256;

std::wstring windowText(HWND window)
{
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size())));
    return text;
}

Extent clientExtent(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

// A device context with a font selected, released in reverse.
class FontDC {
public:
    FontDC(HWND window, HFONT font) : window_(window), dc_(GetDC(window))
    {
        old_ = SelectObject(dc_, font ? font : GetStockObject(SYSTEM_FONT));
    }
    ~FontDC()
    {
        SelectObject(dc_, old_);
        ReleaseDC(window_, dc_);
    }
    FontDC(const FontDC&) = delete;
    FontDC& operator=(const FontDC&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_;
};

Extent measureText(HDC dc, const std::wstring& text, UINT flags, int width)
{
    RECT rect = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int lineHeight(HDC dc)
{
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

// The character as the font in `dc` draws it, as pixels.
std::vector<uint32_t> renderCharacter(HDC dc, wchar_t c, int size)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint32_t> pixels;
    if (bitmap) {
        const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        const HGDIOBJ oldFont = SelectObject(memory, GetCurrentObject(dc, OBJ_FONT));
        PatBlt(memory, 0, 0, size, size, WHITENESS);
        TextOutW(memory, size / 4, size / 4, &c, 1);
        GdiFlush();
        pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + size * size);
        SelectObject(memory, oldFont);
        SelectObject(memory, oldBitmap);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    return pixels;
}

// Characters neither the font nor a font linked to it has. The glyph look-up sees only
// the font itself, so a character it lacks is drawn and compared with what the font
// draws for a code point no font has: the same picture is the box.
std::wstring undrawable(HDC dc, const std::wstring& text, bool prefixes)
{
    const std::wstring characters = drawnCharacters(text, prefixes);
    if (characters.empty())
        return {};
    std::vector<WORD> glyphs(characters.size());
    if (GetGlyphIndicesW(dc, characters.c_str(), static_cast<int>(characters.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return {};
    std::wstring missing;
    const int size = lineHeight(dc) * 2;
    std::vector<uint32_t> box;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (glyphs[i] != 0xFFFF)
            continue;
        if (box.empty())
            box = renderCharacter(dc, 0x0378, size);  // unassigned
        if (renderCharacter(dc, characters[i], size) == box)
            missing += characters[i];
    }
    return missing;
}

std::wstring codePoints(const std::wstring& characters)
{
    std::wstring list;
    for (wchar_t c : characters) {
        wchar_t code[16];
        swprintf(code, 16, L"%sU+%04X", list.empty() ? L"" : L" ", static_cast<unsigned>(c));
        list += code;
    }
    return list;
}

std::vector<UINT> idsOf(const std::vector<TextSource>& sources, int controlId)
{
    for (const TextSource& source : sources)
        if (source.controlId == controlId)
            return source.stringIds;
    return {};
}

enum class ControlKind { None, StaticText, PushButton, CheckBox, Edit };

ControlKind kindOf(HWND control)
{
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (_wcsicmp(className, L"Static") == 0)
        return staticDrawFlags(style) ? ControlKind::StaticText : ControlKind::None;
    if (_wcsicmp(className, L"Edit") == 0)
        return (style & ES_MULTILINE) ? ControlKind::None : ControlKind::Edit;
    if (_wcsicmp(className, L"Button") != 0)
        return ControlKind::None;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return ControlKind::PushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return ControlKind::CheckBox;
    default:
        return ControlKind::None;
    }
}

// The room the control gives its text and what the text needs, measured as it draws.
Overflow measureOverflow(HWND control, ControlKind kind, const std::wstring& text, HDC dc,
                         Extent& needed)
{
    const Extent client = clientExtent(control);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    switch (kind) {
    case ControlKind::StaticText:
        needed = measureText(dc, text, staticDrawFlags(style), client.width);
        return staticTextOverflow(client, needed);
    case ControlKind::PushButton:
        needed = measureText(dc, text, DT_SINGLELINE, 0);
        return pushButtonOverflow(client, needed, GetSystemMetrics(SM_CXEDGE));
    case ControlKind::CheckBox: {
        INT digit = 0;
        GetCharWidth32W(dc, L'0', L'0', &digit);
        needed = measureText(dc, text, DT_SINGLELINE, 0);
        return checkBoxOverflow(client, needed, checkBoxWidth(GetDeviceCaps(dc, LOGPIXELSX)), digit);
    }
    case ControlKind::Edit: {
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        needed = measureText(dc, text, DT_SINGLELINE | DT_NOPREFIX, 0);
        return editOverflow(client, needed, LOWORD(margins), HIWORD(margins));
    }
    case ControlKind::None:
        break;
    }
    return {};
}

void checkFit(HWND control, int id, ControlKind kind, const std::wstring& text, HDC dc,
              const std::vector<TextSource>& sources, std::vector<Finding>& findings)
{
    Extent needed;
    const Overflow over = measureOverflow(control, kind, text, dc, needed);
    if (over.fits())
        return;
    const Extent client = clientExtent(control);
    Finding finding{id, idsOf(sources, id), L"does-not-fit", 0, L"px", L""};
    if (over.width > 0) {
        finding.amount = over.width;
        finding.detail = L"needs " + std::to_wstring(needed.width) + L" px of width, " +
                         std::to_wstring(over.width) + L" px more than it has";
    } else {
        const int lines = hiddenLines(over.height, lineHeight(dc));
        finding.amount = lines;
        finding.unit = L"lines";
        finding.detail = L"needs " + std::to_wstring(needed.height) + L" px of height where " +
                         std::to_wstring(client.height) + L" show: " + std::to_wstring(lines) +
                         (lines == 1 ? L" line" : L" lines") + L" out of sight";
    }
    findings.push_back(finding);
}

void checkGlyphs(int id, const std::wstring& text, bool prefixes, HDC dc,
                 const std::vector<TextSource>& sources, std::vector<Finding>& findings)
{
    const std::wstring missing = undrawable(dc, text, prefixes);
    if (!missing.empty())
        findings.push_back({id, idsOf(sources, id), L"missing-glyph", static_cast<int>(missing.size()),
                            L"characters", L"the font draws a box for " + codePoints(missing)});
}

void checkCaptionGlyphs(HWND dialog, const std::vector<TextSource>& sources,
                        std::vector<Finding>& findings)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return;
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    {
        FontDC measuring(dialog, font);
        checkGlyphs(0, windowText(dialog), false, measuring.dc(), sources, findings);
    }
    DeleteObject(font);
}

// The module's own copy of the string in `language`: its stored length, 0 when absent.
unsigned storedLength(HMODULE module, UINT id, LANGID language)
{
    const uint16_t id16 = static_cast<uint16_t>(id);
    HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(stringBlockName(id16)), language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* block = loaded ? LockResource(loaded) : nullptr;
    if (!block)
        return 0;
    uint16_t first[2];
    return findStringInBlock(static_cast<const uint16_t*>(block),
                             SizeofResource(module, found) / sizeof(uint16_t),
                             stringBlockIndex(id16), first, 2);
}

void checkModuleStrings(const TextSource& source, HMODULE module, LANGID language,
                        std::vector<Finding>& findings)
{
    for (UINT id : source.stringIds) {
        const unsigned length = storedLength(module, id, language);
        if (!length)
            findings.push_back({source.controlId, {id}, L"missing-string", 1, L"strings",
                                L"the module has no string " + std::to_wstring(id) + L" in " +
                                    languageTag(language) + L": another language or the built-in text showed"});
        else if (source.readByDialog && length >= kDialogTextUnits)
            findings.push_back({source.controlId, {id}, L"too-long", static_cast<int>(length - (kDialogTextUnits - 1)),
                                L"units", std::to_wstring(length) + L" units, cut to " +
                                    std::to_wstring(kDialogTextUnits - 1)});
    }
}

bool isShown(HWND dialog, int controlId)
{
    return controlId == 0 || IsWindowVisible(GetDlgItem(dialog, controlId));
}

} // namespace

std::vector<Finding> checkDialog(HWND dialog, const std::vector<TextSource>& sources,
                                 const std::wstring& module)
{
    std::vector<Finding> findings;
    checkCaptionGlyphs(dialog, sources, findings);

    std::vector<Label> labels;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const ControlKind kind = kindOf(control);
        const std::wstring text = windowText(control);
        if (kind == ControlKind::None || !IsWindowVisible(control) || text.empty())
            continue;
        const int id = GetDlgCtrlID(control);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
        const bool prefixes = kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
                              (kind == ControlKind::StaticText && !(style & SS_NOPREFIX));
        FontDC measuring(control, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        checkFit(control, id, kind, text, measuring.dc(), sources, findings);
        checkGlyphs(id, text, prefixes, measuring.dc(), sources, findings);
        if (prefixes)
            labels.push_back({id, text});
    }
    for (const KeyClash& clash : accessKeyClashes(labels))
        findings.push_back({clash.controlId, idsOf(sources, clash.controlId), L"access-key", 2, L"controls",
                            L"&" + std::wstring(1, clash.key) + L" is also the key of control " +
                                std::to_wstring(clash.firstControlId)});

    HMODULE strings = LoadLibraryExW(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (strings) {
        for (const TextSource& source : sources)
            if (isShown(dialog, source.controlId))
                checkModuleStrings(source, strings, GetUserDefaultUILanguage(), findings);
        FreeLibrary(strings);
    } else {
        findings.push_back({0, {}, L"missing-string", 0, L"strings", L"the module " + module + L" cannot be loaded"});
    }
    return findings;
}

CheckSetting currentSetting(const std::wstring& dialogName)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return {languageTag(GetUserDefaultUILanguage()), dpi, dialogName};
}
