#include "client/WindowDescriptionReader.h"

#include <cstdio>

namespace {
// A description file is a few hundred bytes; anything far larger is not one.
const long kMaxFileSize = 1 << 20;

std::string Hex(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "0x%08X", value);
    return buffer;
}

std::string FormatRecord(const char* title, const WindowRecordForm& r) {
    char line[512];
    std::string text;
    std::snprintf(line, sizeof(line), "%s\n  class         \"%s\"\n  parent class  \"%s\"\n", title,
                  r.className.c_str(), r.parentClassName.c_str());
    text += line;
    std::snprintf(line, sizeof(line), "  style %s  ex-style %s  id %u (%s)\n", Hex(r.dwStyle).c_str(),
                  Hex(r.dwExStyle).c_str(), r.nId, Hex(r.nId).c_str());
    text += line;
    std::snprintf(line, sizeof(line), "  rectangle     (%ld, %ld)-(%ld, %ld)  descendants %u  range %d..%d\n",
                  static_cast<long>(r.rcWindow.left), static_cast<long>(r.rcWindow.top),
                  static_cast<long>(r.rcWindow.right), static_cast<long>(r.rcWindow.bottom), r.nDescendants,
                  static_cast<int>(r.nRange1), static_cast<int>(r.nRange2));
    text += line;
    return text;
}
}  // namespace

bool DecodeWindowRecord(CRecordReader& reader, WindowRecordForm* out) {
    out->dwExStyle = reader.U32();
    out->dwStyle = reader.U32();
    out->nId = reader.U32();
    out->bNoFrame = reader.U32();
    out->nDescendants = reader.U32();
    out->nRange1 = reader.U32();
    out->nRange2 = reader.U32();
    out->rcWindow.left = reader.I32();
    out->rcWindow.top = reader.I32();
    out->rcWindow.right = reader.I32();
    out->rcWindow.bottom = reader.I32();
    if (!reader.Ok()) return false;
    if (!DecodeTextField(reader, true, &out->className)) return false;
    return DecodeTextField(reader, true, &out->parentClassName) && reader.Ok();
}

bool DecodeWindowDescription(CRecordReader& reader, WindowDescriptionForm* out) {
    WindowDescriptionForm d;
    if (!DecodeWindowRecord(reader, &d.window)) return false;
    d.hasFrame = d.window.bNoFrame == 0;
    if (d.hasFrame && !DecodeWindowRecord(reader, &d.frame)) return false;
    d.nDepth = reader.U16();
    d.nReserved = reader.U32();
    if (!reader.Ok()) return false;
    if (!DecodeTextField(reader, true, &d.modulePath)) return false;
    if (!DecodeTextField(reader, true, &d.reservedText)) return false;
    d.bHasExtraText = reader.U8();
    if (d.bHasExtraText && !DecodeTextField(reader, true, &d.extraText)) return false;
    d.dwFlags = reader.U32();
    if (!reader.Ok()) return false;
    d.hasItem = (d.dwFlags & kDescriptionItemFlag) != 0;
    if (d.hasItem) {
        d.nItemKind = static_cast<int>(reader.U32());
        if (!reader.Ok() || !DecodeLocatorForm(d.nItemKind, reader, &d.item)) return false;
        d.item.nKind = d.nItemKind;
    }
    d.nTitleChecksum = reader.I32();
    d.nSecondNumber = reader.U32();
    d.nFirstNumber = reader.U32();
    d.fFirstReal = reader.F32();
    d.fSecondReal = reader.F32();
    d.bSecondFlag = reader.U8();
    d.bFirstFlag = reader.U8();
    d.bThirdFlag = reader.U8();
    if (!reader.Ok()) return false;
    *out = d;
    return true;
}

bool DecodeWindowDescription(const std::vector<uint8_t>& bytes, WindowDescriptionForm* out) {
    if (bytes.empty()) return false;
    CRecordReader reader(bytes.data(), bytes.size());
    return DecodeWindowDescription(reader, out) && reader.Remaining() == 0;
}

std::string FormatWindowDescription(const WindowDescriptionForm& d) {
    std::string text = FormatRecord("window", d.window);
    if (d.hasFrame) {
        text += FormatRecord("frame", d.frame);
    } else {
        text += "frame         none\n";
    }
    char line[512];
    std::snprintf(line, sizeof(line), "depth %u  title checksum %d  flags %s\nmodule        \"%s\"\n",
                  static_cast<unsigned>(d.nDepth), static_cast<int>(d.nTitleChecksum), Hex(d.dwFlags).c_str(),
                  d.modulePath.c_str());
    text += line;
    if (d.hasItem) {
        const RECT& r = d.item.rect;
        std::snprintf(line, sizeof(line),
                      "item          kind %d  text \"%s\"  rectangle (%ld, %ld)-(%ld, %ld)  selected %d\n",
                      d.nItemKind, d.item.text.c_str(), static_cast<long>(r.left), static_cast<long>(r.top),
                      static_cast<long>(r.right), static_cast<long>(r.bottom), d.item.bSelected ? 1 : 0);
        text += line;
        if (d.nItemKind == 7) {
            std::snprintf(line, sizeof(line), "              list item %d  image %d  state %s\n", d.item.iItem,
                          d.item.iImage, Hex(d.item.state).c_str());
            text += line;
        } else if (d.nItemKind == 3) {
            std::snprintf(line, sizeof(line), "              menu position %d\n", d.item.nPosition);
            text += line;
        }
    } else {
        text += "item          none\n";
    }
    return text;
}

bool SaveDescriptionFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        if (error) *error = "cannot create " + path;
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool LoadDescriptionFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    bytes->clear();
    uint8_t buffer[4096];
    size_t n;
    bool ok = true;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
        bytes->insert(bytes->end(), buffer, buffer + n);
        if (bytes->size() > static_cast<size_t>(kMaxFileSize)) {
            ok = false;
            break;
        }
    }
    std::fclose(file);
    if (!ok && error) *error = path + " is too large to be a window description";
    return ok;
}

bool LoadDescription(const std::string& path, WindowDescriptionForm* out, std::vector<uint8_t>* raw,
                     std::string* error) {
    std::vector<uint8_t> bytes;
    if (!LoadDescriptionFile(path, &bytes, error)) return false;
    if (!DecodeWindowDescription(bytes, out)) {
        if (error) *error = path + " does not hold a window description";
        return false;
    }
    if (raw) raw->swap(bytes);
    return true;
}
