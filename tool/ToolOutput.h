// What the tool prints: for a person, lines of text; with --json, one JSON
// object per result (and per event of a long-running command), with the
// same fields. Errors are one line on the error stream, or with --json an
// object {"error": {"message": ...}} on the output, and a non-zero exit code.
#pragma once
#include <string>

#include <nlohmann/json.hpp>

class CToolOutput {
public:
    static void SetJson(bool bJson) { s_bJson = bJson; }
    static bool Json() { return s_bJson; }
    // Prints the object, or the text (a line feed is added when missing).
    static void Emit(const nlohmann::json& object, const std::string& text);
    // Reports the error and returns the exit code to end with.
    static int Fail(const std::string& message, int nExitCode = 1);

private:
    static bool s_bJson;
};

// "0x0001002A"
std::string HandleText(const void* handle);
// An ANSI text of the target (titles, item texts) as UTF-8, for JSON.
std::string Utf8(const std::string& ansi);
// A rectangle as {"left", "top", "right", "bottom"}, and as "(l, t)-(r, b)".
nlohmann::json RectJson(long left, long top, long right, long bottom);
std::string RectText(long left, long top, long right, long bottom);
