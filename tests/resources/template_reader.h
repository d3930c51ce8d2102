// Reads a dialog template (DLGTEMPLATE or DLGTEMPLATEEX with its items) from resource
// bytes into plain values, so that a test can compare it field by field.
#ifndef TESTS_RESOURCES_TEMPLATE_READER_H
#define TESTS_RESOURCES_TEMPLATE_READER_H

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// A menu, class or text field: nothing, an ordinal (after 0xFFFF) or a string.
struct NameOrOrdinal {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::wstring name;

    bool isNone() const { return !isOrdinal && name.empty(); }
};

struct TemplateControl {
    DWORD helpId = 0;  // DLGITEMTEMPLATEEX only
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;  // 16 bits in a plain template, 32 in an extended one
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
    WORD creationDataSize = 0;
};

struct DialogTemplate {
    bool extended = false;
    WORD version = 0, signature = 0;  // DLGTEMPLATEEX only
    DWORD helpId = 0;                 // DLGTEMPLATEEX only
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring title;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;  // DLGTEMPLATEEX only, as are italic and charset
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring face;
    std::vector<TemplateControl> controls;
    size_t bytesUsed = 0;  // up to the end of the last item
};

namespace template_reading {

// Reads little-endian fields in sequence; any read past the end clears `ok` and yields 0.
class Cursor {
public:
    Cursor(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    size_t offset() const { return offset_; }

    // Alignment counts from the start of the template, which the loader keeps aligned.
    void alignTo(size_t boundary) { offset_ = (offset_ + boundary - 1) / boundary * boundary; }

    BYTE byte() { return read<BYTE>(); }
    WORD word() { return read<WORD>(); }
    short shortValue() { return read<short>(); }
    DWORD dword() { return read<DWORD>(); }

    std::wstring string()
    {
        std::wstring text;
        for (WORD unit = word(); ok_ && unit != 0; unit = word())
            text.push_back(static_cast<wchar_t>(unit));
        return text;
    }

    NameOrOrdinal nameOrOrdinal()
    {
        NameOrOrdinal field;
        const WORD first = word();
        if (first == 0xFFFF) {
            field.isOrdinal = true;
            field.ordinal = word();
        } else if (first != 0) {
            field.name.push_back(static_cast<wchar_t>(first));
            field.name += string();
        }
        return field;
    }

    void skip(size_t count)
    {
        if (offset_ > size_ || count > size_ - offset_) {
            ok_ = false;
            offset_ = size_;
        } else {
            offset_ += count;
        }
    }

private:
    template <class Value>
    Value read()
    {
        Value value = 0;
        if (offset_ > size_ || sizeof(Value) > size_ - offset_) {
            ok_ = false;
            offset_ = size_;
            return value;
        }
        std::memcpy(&value, data_ + offset_, sizeof(Value));
        offset_ += sizeof(Value);
        return value;
    }

    const BYTE* data_;
    size_t size_;
    size_t offset_ = 0;
    bool ok_ = true;
};

inline void readRectangle(Cursor& in, short& x, short& y, short& cx, short& cy)
{
    x = in.shortValue();
    y = in.shortValue();
    cx = in.shortValue();
    cy = in.shortValue();
}

inline TemplateControl readControl(Cursor& in, bool extended)
{
    TemplateControl control;
    in.alignTo(4);
    if (extended) {
        control.helpId = in.dword();
        control.exStyle = in.dword();
        control.style = in.dword();
    } else {
        control.style = in.dword();
        control.exStyle = in.dword();
    }
    readRectangle(in, control.x, control.y, control.cx, control.cy);
    control.id = extended ? in.dword() : in.word();
    control.windowClass = in.nameOrOrdinal();
    control.text = in.nameOrOrdinal();
    control.creationDataSize = in.word();
    in.skip(control.creationDataSize);
    return control;
}

} // namespace template_reading

// False when the bytes end before the template does.
inline bool readDialogTemplate(const BYTE* data, size_t size, DialogTemplate& dialog)
{
    template_reading::Cursor in(data, size);
    dialog = DialogTemplate();
    const WORD first = in.word();
    const WORD second = in.word();
    // An extended template starts with its version and the signature 0xFFFF; a plain one
    // with its style, whose high word is never all ones.
    dialog.extended = second == 0xFFFF;
    if (dialog.extended) {
        dialog.version = first;
        dialog.signature = second;
        dialog.helpId = in.dword();
        dialog.exStyle = in.dword();
        dialog.style = in.dword();
    } else {
        dialog.style = MAKELONG(first, second);
        dialog.exStyle = in.dword();
    }
    const WORD count = in.word();
    template_reading::readRectangle(in, dialog.x, dialog.y, dialog.cx, dialog.cy);
    dialog.menu = in.nameOrOrdinal();
    dialog.windowClass = in.nameOrOrdinal();
    dialog.title = in.string();
    // DS_SHELLFONT includes DS_SETFONT, so this covers both.
    dialog.hasFont = (dialog.style & DS_SETFONT) != 0;
    if (dialog.hasFont) {
        dialog.pointSize = in.word();
        if (dialog.extended) {
            dialog.weight = in.word();
            dialog.italic = in.byte();
            dialog.charset = in.byte();
        }
        dialog.face = in.string();
    }
    for (WORD i = 0; i < count && in.ok(); ++i)
        dialog.controls.push_back(template_reading::readControl(in, dialog.extended));
    dialog.bytesUsed = in.offset();
    return in.ok();
}

#endif
