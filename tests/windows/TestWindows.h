// Windows of the test's own thread, made from classes registered on demand,
// and little-endian byte builders for expected records.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "windows/WindowDescription.h"

inline void RegisterTestClass(const char* name) {
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) return;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

inline HWND MakeWindow(const char* cls, const char* title, DWORD style, int x, int y, int w, int h,
                       HWND parent = nullptr, UINT_PTR idOrMenu = 0, DWORD exStyle = 0) {
    RegisterTestClass(cls);
    return CreateWindowExA(exStyle, cls, title, style, x, y, w, h, parent, reinterpret_cast<HMENU>(idOrMenu),
                           GetModuleHandleA(nullptr), nullptr);
}

class CBytes {
public:
    CBytes& WriteU8(uint8_t v) { m_bytes.push_back(v); return *this; }
    CBytes& WriteU16(uint16_t v) { return WriteU8(v & 0xFF).WriteU8(v >> 8); }
    CBytes& WriteU32(uint32_t v) { return WriteU16(v & 0xFFFF).WriteU16(v >> 16); }
    // A terminated text field: the slot after the characters is left as the
    // writer's buffer had it, so the expectation names it.
    CBytes& Text(const std::string& s, uint8_t slot) {
        WriteU32(static_cast<uint32_t>(s.size()));
        if (s.empty()) return *this;
        WriteU8(0).WriteU8(1);
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return WriteU8(slot);
    }
    CBytes& Raw(const std::vector<uint8_t>& b) {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    const std::vector<uint8_t>& Get() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

inline std::string OwnModulePath() {
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// The description's bytes as the agent writes them into a record of
// `capacity` bytes filled with `fill`.
inline std::vector<uint8_t> Serialized(CWindowDescription& d, size_t capacity = 4096, uint8_t fill = 0) {
    std::vector<uint8_t> buffer(capacity, fill);
    BYTE* cursor = buffer.data();
    d.SetDataLimit(buffer.data() + buffer.size());
    d.WriteData(cursor);
    d.SetDataLimit(nullptr);
    buffer.resize(cursor - buffer.data());
    return buffer;
}
