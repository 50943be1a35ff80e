#include "tool/ToolOutput.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include <windows.h>

bool CToolOutput::s_bJson = false;

void CToolOutput::Emit(const nlohmann::json& object, const std::string& text) {
    if (s_bJson) {
        std::printf("%s\n", object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    } else {
        std::printf("%s%s", text.c_str(), !text.empty() && text.back() == '\n' ? "" : "\n");
    }
    std::fflush(stdout);
}

int CToolOutput::Fail(const std::string& message, int nExitCode) {
    if (s_bJson) {
        nlohmann::json error = {{"error", {{"message", message}}}};
        std::printf("%s\n", error.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "vintrel: %s\n", message.c_str());
    }
    return nExitCode;
}

std::string HandleText(const void* handle) {
    char text[32];
    std::snprintf(text, sizeof(text), "0x%08llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
    return text;
}

std::string Utf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    const int nWide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (nWide <= 0) return std::string();
    std::vector<wchar_t> wide(static_cast<size_t>(nWide));
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), nWide);
    const int nUtf8 = WideCharToMultiByte(CP_UTF8, 0, wide.data(), nWide, nullptr, 0, nullptr, nullptr);
    if (nUtf8 <= 0) return std::string();
    std::string utf8(static_cast<size_t>(nUtf8), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), nWide, &utf8[0], nUtf8, nullptr, nullptr);
    return utf8;
}

nlohmann::json RectJson(long left, long top, long right, long bottom) {
    return {{"left", left}, {"top", top}, {"right", right}, {"bottom", bottom}};
}

std::string RectText(long left, long top, long right, long bottom) {
    char text[96];
    std::snprintf(text, sizeof(text), "(%ld, %ld)-(%ld, %ld)", left, top, right, bottom);
    return text;
}
