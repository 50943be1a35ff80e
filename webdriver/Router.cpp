// Matching a request's method and path against the routes.
#include "webdriver/Router.h"

#include <cstdint>

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        if (slash > start) segments.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return segments;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%2F" and friends; a broken escape stays as it is.
std::string PercentDecode(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool IsVariable(const std::string& segment) {
    return segment.size() > 2 && segment.front() == '{' && segment.back() == '}';
}

}  // namespace

void CRouter::Add(const char* method, const char* pattern, CommandHandler handler, RouteScope scope) {
    Route route;
    route.method = method;
    route.pattern = pattern;
    route.handler = std::move(handler);
    route.scope = scope;
    route.segments = SplitPath(pattern);
    m_routes.push_back(std::move(route));
}

RouteMatch CRouter::Find(const std::string& method, const std::string& path) const {
    // A literal segment wins over a variable ("element/active" over
    // "element/{elementId}"), whatever the order of the rows.
    RouteMatch match;
    size_t bestVariables = SIZE_MAX;
    const std::vector<std::string> segments = SplitPath(path);
    for (const Route& route : m_routes) {
        if (route.segments.size() != segments.size()) continue;
        CCommandContext::PathParams params;
        bool bSame = true;
        for (size_t i = 0; i < segments.size() && bSame; ++i) {
            const std::string& expected = route.segments[i];
            if (IsVariable(expected)) {
                params.emplace_back(expected.substr(1, expected.size() - 2), PercentDecode(segments[i]));
            } else {
                bSame = expected == segments[i];
            }
        }
        if (!bSame) continue;
        match.bPathKnown = true;
        if (route.method == method && params.size() < bestVariables) {
            bestVariables = params.size();
            match.pRoute = &route;
            match.params = std::move(params);
        }
    }
    return match;
}
