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

bool DecodeWindowDescription(CWireCursor& cursor, WindowDescriptionForm* out) {
    WindowDescriptionForm d;
    if (!ReadForm(cursor, static_cast<WindowDescriptionHead&>(d))) return false;
    d.hasFrame = d.HasFrame();
    d.hasItem = d.HasItem();
    if (d.hasItem) {
        d.nItemKind = static_cast<int>(cursor.ReadU32());
        if (!cursor.Ok() || !DecodeLocatorForm(d.nItemKind, cursor, &d.item)) return false;
    }
    if (!ReadForm(cursor, static_cast<WindowDescriptionTail&>(d))) return false;
    *out = d;
    return true;
}

bool DecodeWindowDescription(const std::vector<uint8_t>& bytes, WindowDescriptionForm* out) {
    if (bytes.empty()) return false;
    CWireCursor cursor(bytes.data(), bytes.data() + bytes.size());
    return DecodeWindowDescription(cursor, out) && cursor.Remaining() == 0;
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
                      "item          kind %s  text \"%s\"  rectangle (%ld, %ld)-(%ld, %ld)  selected %d\n",
                      ItemKindName(d.nItemKind).c_str(), d.item.Text().c_str(), static_cast<long>(r.left), static_cast<long>(r.top),
                      static_cast<long>(r.right), static_cast<long>(r.bottom), d.item.bSelected ? 1 : 0);
        text += line;
        if (d.nItemKind == kItemKindListView) {
            const ListViewItemFields& f = d.item.listView;
            std::snprintf(line, sizeof(line), "              list item %d  image %d  state %s\n", f.iItem, f.iImage,
                          Hex(f.state).c_str());
            text += line;
        } else if (d.nItemKind == kItemKindMenuBar) {
            std::snprintf(line, sizeof(line), "              menu position %d\n", d.item.menuBar.nPosition);
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
