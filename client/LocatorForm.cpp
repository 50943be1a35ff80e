#include "client/LocatorForm.h"

#include <commctrl.h>

#include <vector>

namespace {
const int kBaseFormSize = 21;

bool DecodeBase(CRecordReader& r, LocatorForm* f) {
    f->rect.left = r.I32();
    f->rect.right = r.I32();
    f->rect.top = r.I32();
    f->rect.bottom = r.I32();
    f->dwFlags = r.U32();
    f->bSelected = r.U8() != 0;
    return r.Ok();
}

void EncodeBase(const LocatorForm& f, CRecordWriter& w) {
    w.I32(f.rect.left).I32(f.rect.right).I32(f.rect.top).I32(f.rect.bottom).U32(f.dwFlags).U8(f.bSelected ? 1 : 0);
}

size_t TextFieldSize(const std::string& text, bool terminated) {
    return text.empty() ? 4 : 6 + text.size() + (terminated ? 1 : 0);
}
}  // namespace

bool IsKnownLocatorKind(int kind) { return kind >= 3 && kind <= 13 && kind != 5; }

bool EncodeTextField(CRecordWriter& writer, const std::string& text, bool terminated) {
    writer.U32(static_cast<uint32_t>(text.size()));
    if (!text.empty()) {
        writer.U8(0x00).U8(0x01).Bytes(text.data(), text.size());
        if (terminated) writer.U8(0);
    }
    return writer.Ok();
}

bool DecodeTextField(CRecordReader& reader, bool terminated, std::string* text) {
    text->clear();
    const uint32_t n = reader.U32();
    if (!reader.Ok()) return false;
    if (n == 0) return true;
    const uint8_t* p = reader.Data() + reader.Offset();
    if (reader.Remaining() < 1) return reader.Skip(1);
    bool wide = false;
    if (p[0] == 0x00) {
        if (reader.Remaining() < 2) return reader.Skip(2);
        wide = p[1] != 0x01;
        reader.Skip(2);
    }
    const uint64_t body = wide ? 2 * static_cast<uint64_t>(n) : n;
    if (body > reader.Remaining()) return reader.Skip(reader.Remaining() + 1);
    p = reader.Data() + reader.Offset();
    if (wide) {
        std::vector<wchar_t> units(n + 1, 0);
        for (uint32_t i = 0; i < n; ++i) units[i] = static_cast<wchar_t>(p[2 * i] | (p[2 * i + 1] << 8));
        const int size = WideCharToMultiByte(CP_ACP, 0, units.data(), -1, nullptr, 0, nullptr, nullptr);
        if (size > 0) {
            std::vector<char> ansi(size);
            WideCharToMultiByte(CP_ACP, 0, units.data(), -1, ansi.data(), size, nullptr, nullptr);
            text->assign(ansi.data());
        }
    } else {
        // Like the agent, the text ends at an embedded NUL.
        const char* s = reinterpret_cast<const char*>(p);
        size_t len = 0;
        while (len < n && s[len] != 0) ++len;
        text->assign(s, len);
    }
    reader.Skip(static_cast<size_t>(body));
    if (terminated) reader.Skip(1);
    return reader.Ok();
}

bool DecodeLocatorForm(int kind, CRecordReader& reader, LocatorForm* out) {
    if (!IsKnownLocatorKind(kind) || !out) return false;
    LocatorForm form;
    form.nKind = kind;
    if (!DecodeBase(reader, &form)) return false;
    if (kind == 3) {
        form.nPosition = reader.I32();
        if (!DecodeTextField(reader, true, &form.text)) return false;
    } else if (kind == 7) {
        form.iItem = reader.I32();
        form.iSubItem = reader.I32();
        form.cchTextMax = reader.I32();
        form.iImage = reader.I32();
        form.mask = reader.U32();
        form.state = reader.U32();
        form.stateMask = reader.U32();
        form.lParam = reader.U32();
        if (!DecodeTextField(reader, true, &form.text)) return false;
    }
    if (!reader.Ok()) return false;
    *out = form;
    return true;
}

bool EncodeLocatorForm(const LocatorForm& form, CRecordWriter& writer) {
    if (!IsKnownLocatorKind(form.nKind)) return false;
    EncodeBase(form, writer);
    if (form.nKind == 3) {
        writer.I32(form.nPosition);
        EncodeTextField(writer, form.text, true);
    } else if (form.nKind == 7) {
        writer.I32(form.iItem).I32(form.iSubItem).I32(form.cchTextMax).I32(form.iImage);
        writer.U32(form.mask).U32(form.state).U32(form.stateMask).U32(form.lParam);
        EncodeTextField(writer, form.text, true);
    }
    return writer.Ok();
}

size_t EncodedLocatorFormSize(const LocatorForm& form) {
    if (!IsKnownLocatorKind(form.nKind)) return 0;
    if (form.nKind == 3) return kBaseFormSize + 4 + TextFieldSize(form.text, true);
    if (form.nKind == 7) return kBaseFormSize + 32 + TextFieldSize(form.text, true);
    return kBaseFormSize;
}

LocatorForm ListViewItemForm(const std::string& text, int index, int image) {
    LocatorForm form;
    form.nKind = 7;
    form.text = text;
    form.iItem = index;
    form.iImage = image;
    form.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    form.cchTextMax = 256;
    return form;
}

LocatorForm MenuBarItemForm(int position, const std::string& text) {
    LocatorForm form;
    form.nKind = 3;
    form.nPosition = position;
    form.text = text;
    return form;
}
