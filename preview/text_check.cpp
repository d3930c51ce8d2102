#include "text_check.h"

#include <usp10.h>

#include <algorithm>
#include <cstdint>
#include <map>

#include "common/string_block.h"
#include "fit_rules.h"
#include "module_languages.h"

namespace {

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

// A white 32-bit memory bitmap with the font of `like` selected and nothing clipping it,
// to draw a text or a character on and read back its pixels.
class InkCanvas {
public:
    InkCanvas(HDC like, int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(like))
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = dc_ ? CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        bits_ = static_cast<const uint32_t*>(bits);
        if (!bitmap_)
            return;
        oldBitmap_ = SelectObject(dc_, bitmap_);
        oldFont_ = SelectObject(dc_, GetCurrentObject(like, OBJ_FONT));
        PatBlt(dc_, 0, 0, width, height, WHITENESS);
        SetTextColor(dc_, RGB(0, 0, 0));
        SetBkMode(dc_, TRANSPARENT);
    }
    ~InkCanvas()
    {
        if (bitmap_) {
            SelectObject(dc_, oldFont_);
            SelectObject(dc_, oldBitmap_);
            DeleteObject(bitmap_);
        }
        if (dc_)
            DeleteDC(dc_);
    }
    InkCanvas(const InkCanvas&) = delete;
    InkCanvas& operator=(const InkCanvas&) = delete;

    HDC dc() const { return bitmap_ ? dc_ : nullptr; }

    std::vector<uint32_t> pixels() const
    {
        GdiFlush();
        return bits_ ? std::vector<uint32_t>(bits_, bits_ + static_cast<size_t>(width_) * height_)
                     : std::vector<uint32_t>();
    }

    // The bounds of every pixel not white; empty when nothing was drawn.
    RECT inkBounds() const
    {
        const std::vector<uint32_t> all = pixels();
        RECT ink = {width_, height_, 0, 0};
        for (int y = 0; y < height_ && !all.empty(); ++y)
            for (int x = 0; x < width_; ++x)
                if ((all[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF) != 0xFFFFFF)
                    ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                           std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
        return ink.left < ink.right ? ink : RECT{};
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    const uint32_t* bits_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
};

// The pixels `text` draws when DrawTextW lays it out in `area` with `flags` as the control
// does, but with nothing clipped: in the control's coordinates, empty when none.
RECT inkOf(HDC dc, const std::wstring& text, UINT flags, RECT area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const Extent needed = measureText(dc, text, flags, width);
    // Room for overhangs, and for a centred line wider than the area on both sides.
    const int margin = 2 * lineHeight(dc) + std::max(0, needed.width - width);
    InkCanvas canvas(dc, width + 2 * margin, std::max(height, needed.height) + 2 * margin);
    if (!canvas.dc())
        return {};
    RECT at = {margin, margin, margin + width, margin + height};
    DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &at, flags | DT_NOCLIP);
    RECT ink = canvas.inkBounds();
    if (ink.left < ink.right)
        OffsetRect(&ink, area.left - margin, area.top - margin);
    return ink;
}

// The character alone as the control draws it: through the font and its links, or, for
// an edit, through Uniscribe with its fallback fonts as well.
std::vector<uint32_t> renderCharacter(HDC dc, wchar_t c, bool fallback)
{
    const int size = lineHeight(dc) * 2;
    InkCanvas canvas(dc, size, size);
    if (!canvas.dc())
        return {};
    if (!fallback) {
        TextOutW(canvas.dc(), size / 4, size / 4, &c, 1);
        return canvas.pixels();
    }
    SCRIPT_STRING_ANALYSIS analysis = nullptr;
    if (SUCCEEDED(ScriptStringAnalyse(canvas.dc(), &c, 1, 18, -1, SSA_GLYPHS | SSA_FALLBACK | SSA_LINK, 0,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, &analysis))) {
        ScriptStringOut(analysis, size / 4, size / 4, 0, nullptr, 0, 0, FALSE);
        ScriptStringFree(&analysis);
    }
    return canvas.pixels();
}

// The characters of `text` that are drawn as the box: each is drawn and compared with
// what is drawn for a code point that no font has. The glyph look-up sees the font alone,
// not its links nor fallbacks, so it only narrows down which to draw.
std::wstring undrawable(HDC dc, const std::wstring& text, bool prefixes, bool fallback)
{
    const std::wstring characters = drawnCharacters(text, prefixes);
    if (characters.empty())
        return {};
    std::vector<WORD> glyphs(characters.size());
    if (GetGlyphIndicesW(dc, characters.c_str(), static_cast<int>(characters.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return {};
    std::wstring missing;
    std::vector<uint32_t> box;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (glyphs[i] != 0xFFFF)
            continue;
        if (box.empty())
            box = renderCharacter(dc, 0x0378, fallback);  // unassigned
        if (renderCharacter(dc, characters[i], fallback) == box)
            missing += characters[i];
    }
    return missing;
}

BOOL CALLBACK addFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces)
{
    // Symbol fonts answer for code points they do not draw; raster fonts cannot be asked.
    if ((type & TRUETYPE_FONTTYPE) && font->lfCharSet != SYMBOL_CHARSET && font->lfFaceName[0] != L'@')
        reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
    return TRUE;
}

// Whether any font installed on the system has a glyph for `c`.
bool anyFontHas(HDC dc, wchar_t c)
{
    static std::vector<std::wstring> faces;
    if (faces.empty()) {
        LOGFONTW all = {};
        all.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExW(dc, &all, addFace, reinterpret_cast<LPARAM>(&faces), 0);
        std::sort(faces.begin(), faces.end());
        faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    }
    HDC probe = CreateCompatibleDC(dc);
    bool found = false;
    for (size_t i = 0; i < faces.size() && !found; ++i) {
        LOGFONTW wanted = {};
        wanted.lfHeight = -12;
        wanted.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(wanted.lfFaceName, faces[i].c_str(), LF_FACESIZE - 1);
        HFONT font = CreateFontIndirectW(&wanted);
        const HGDIOBJ old = SelectObject(probe, font);
        WORD glyph = 0xFFFF;
        found = GetGlyphIndicesW(probe, &c, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 && glyph != 0xFFFF;
        SelectObject(probe, old);
        DeleteObject(font);
    }
    DeleteDC(probe);
    return found;
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

// Where the control draws its text and with which DrawText flags; false for an edit, which
// scrolls its one line instead of drawing it whole.
bool drawingArea(HWND control, ControlKind kind, HDC dc, RECT& area, UINT& flags)
{
    const Extent client = clientExtent(control);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE));
    const UINT reading = (exStyle & WS_EX_RTLREADING) ? DT_RTLREADING : 0;
    switch (kind) {
    case ControlKind::StaticText:
        area = {0, 0, client.width, client.height};
        flags = staticDrawFlags(style, exStyle);
        return true;
    case ControlKind::PushButton:
        area = pushButtonArea(client, GetSystemMetrics(SM_CXEDGE));
        flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | reading;
        return true;
    case ControlKind::CheckBox: {
        INT digit = 0;
        GetCharWidth32W(dc, L'0', L'0', &digit);
        area = checkBoxArea(client, checkBoxWidth(GetDeviceCaps(dc, LOGPIXELSX)), digit);
        flags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | reading;
        return true;
    }
    case ControlKind::Edit:
    case ControlKind::None:
        break;
    }
    return false;
}

// The string of a joined text (several ids, one line feed between them) that its ink
// first leaves the control in; all of them when the parts cannot be told apart.
std::vector<UINT> stringLeaving(HDC dc, const std::wstring& text, UINT flags, RECT area,
                                const std::vector<UINT>& ids)
{
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == L'\n')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    if (ids.size() < 2 || parts.size() != ids.size())
        return ids;
    std::vector<RECT> inks;
    int top = area.top;
    for (const std::wstring& part : parts) {
        const RECT at = {area.left, top, area.right, top + (area.bottom - area.top)};
        inks.push_back(inkOf(dc, part, flags, at));
        top += measureText(dc, part, flags, area.right - area.left).height;
    }
    const int part = partLeaving(area, inks, GetDeviceCaps(dc, LOGPIXELSX));
    return part < 0 ? ids : std::vector<UINT>{ids[part]};
}

void checkFit(HWND control, int id, ControlKind kind, const std::wstring& text, HDC dc,
              const std::vector<TextSource>& sources, std::vector<Finding>& findings)
{
    if (kind == ControlKind::Edit) {
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        const Extent needed = measureText(dc, text, DT_SINGLELINE | DT_NOPREFIX, 0);
        const Overflow over = editOverflow(clientExtent(control), needed, LOWORD(margins), HIWORD(margins));
        if (!over.fits())
            findings.push_back({id, idsOf(sources, id), L"does-not-fit", over.width, L"px",
                                L"needs " + std::to_wstring(needed.width) + L" px of width, " +
                                    std::to_wstring(over.width) + L" px more than it shows"});
        return;
    }
    RECT area = {};
    UINT flags = 0;
    if (!drawingArea(control, kind, dc, area, flags))
        return;
    const RECT ink = inkOf(dc, text, flags, area);
    const Overflow over = inkOverflow(area, ink, GetDeviceCaps(dc, LOGPIXELSX));
    if (over.fits())
        return;
    Finding finding{id, stringLeaving(dc, text, flags, area, idsOf(sources, id)), L"does-not-fit", over.width, L"px", L""};
    if (over.width > 0) {
        const bool right = ink.right - area.right >= over.width;
        finding.detail = L"its letters run " + std::to_wstring(over.width) + (right ? L" px past the right" : L" px before the left") +
                         L" edge of the " +
                         std::to_wstring(area.right - area.left) + L" px the control shows";
    } else {
        const int lines = hiddenLines(over.height, lineHeight(dc));
        finding.amount = lines;
        finding.unit = L"lines";
        finding.detail = L"its letters run " + std::to_wstring(over.height) + L" px below the " +
                         std::to_wstring(area.bottom - area.top) + L" px the control shows: " +
                         std::to_wstring(lines) + (lines == 1 ? L" line" : L" lines") + L" out of sight";
    }
    findings.push_back(finding);
}

// A box where a font the system has would draw the character is the setup's fault
// (`missing-glyph`); a character no font draws cannot be judged at all (`no-font`).
void checkGlyphs(int id, const std::wstring& text, bool prefixes, bool fallback, HDC dc,
                 const std::vector<TextSource>& sources, std::vector<Finding>& findings)
{
    std::wstring boxed;
    std::map<std::wstring, std::wstring> unseenByScript;
    for (wchar_t c : undrawable(dc, text, prefixes, fallback)) {
        if (anyFontHas(dc, c))
            boxed += c;
        else
            unseenByScript[scriptName(c)] += c;
    }
    if (!boxed.empty())
        findings.push_back({id, idsOf(sources, id), L"missing-glyph", static_cast<int>(boxed.size()), L"characters",
                            L"the font and its linked fonts draw a box for " + quotedCharacters(boxed) +
                                L", which an installed font has"});
    for (const auto& script : unseenByScript)
        findings.push_back({id, idsOf(sources, id), L"no-font", static_cast<int>(script.second.size()), L"characters",
                            L"no installed font draws " + script.first + L": " + quotedCharacters(script.second)});

    // Drawn, but not as Windows draws it: the picture cannot be judged for these.
    const std::wstring characters = drawnCharacters(text, prefixes);
    std::vector<WORD> glyphs(characters.size());
    if (characters.empty() || GetGlyphIndicesW(dc, characters.c_str(), static_cast<int>(characters.size()), glyphs.data(),
                                               GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return;
    std::map<std::wstring, std::wstring> unshapedByScript;
    for (size_t i = 0; i < characters.size(); ++i) {
        const wchar_t c = characters[i];
        std::wstring& seen = unshapedByScript[scriptName(c)];
        if (boxed.find(c) == std::wstring::npos && drawnUnshaped(c, glyphs[i] != 0xFFFF) &&
            seen.find(c) == std::wstring::npos)
            seen += c;
    }
    for (const auto& script : unshapedByScript)
        if (!script.second.empty() && unseenByScript.count(script.first) == 0)
            findings.push_back({id, idsOf(sources, id), L"unshaped", static_cast<int>(script.second.size()), L"characters",
                                L"this Wine draws " + script.first + L" here unshaped, so the picture is not what Windows shows: " +
                                    quotedCharacters(script.second.substr(0, 6)) + (script.second.size() > 6 ? L", ..." : L"")});
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
        checkGlyphs(0, windowText(dialog), false, false, measuring.dc(), sources, findings);
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
        else if (source.readByDialog && unitsCut(length) > 0)
            findings.push_back({source.controlId, {id}, L"too-long", static_cast<int>(unitsCut(length)), L"units",
                                std::to_wstring(length) + L" units, cut to " + std::to_wstring(length - unitsCut(length))});
    }
}

// By its style: when the check runs the dialog itself may not be on screen yet.
bool hasVisibleStyle(HWND window)
{
    return window && (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE);
}

bool isShown(HWND dialog, int controlId)
{
    return controlId == 0 || hasVisibleStyle(GetDlgItem(dialog, controlId));
}

// A dialog larger than the screen it opens on cannot be seen whole, whatever its texts.
void checkDialogSize(HWND dialog, std::vector<Finding>& findings)
{
    RECT window = {};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(dialog, &window) ||
        !GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const Overflow over = overflowOf(
        {monitor.rcMonitor.right - monitor.rcMonitor.left, monitor.rcMonitor.bottom - monitor.rcMonitor.top},
        {window.right - window.left, window.bottom - window.top});
    if (!over.fits())
        findings.push_back({0, {}, L"too-large", std::max(over.width, over.height), L"px",
                            std::to_wstring(window.right - window.left) + L"x" +
                                std::to_wstring(window.bottom - window.top) + L" px on a " +
                                std::to_wstring(monitor.rcMonitor.right - monitor.rcMonitor.left) + L"x" +
                                std::to_wstring(monitor.rcMonitor.bottom - monitor.rcMonitor.top) + L" px desktop"});
}

} // namespace

std::vector<Finding> checkDialog(HWND dialog, const std::vector<TextSource>& sources,
                                 const std::wstring& module)
{
    std::vector<Finding> findings;
    checkDialogSize(dialog, findings);
    checkCaptionGlyphs(dialog, sources, findings);

    std::vector<Label> labels;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const ControlKind kind = kindOf(control);
        const std::wstring text = windowText(control);
        if (kind == ControlKind::None || !hasVisibleStyle(control) || text.empty())
            continue;
        const int id = GetDlgCtrlID(control);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
        const bool prefixes = kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
                              (kind == ControlKind::StaticText && !(style & SS_NOPREFIX));
        FontDC measuring(control, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        checkFit(control, id, kind, text, measuring.dc(), sources, findings);
        checkGlyphs(id, text, prefixes, kind == ControlKind::Edit, measuring.dc(), sources, findings);
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
