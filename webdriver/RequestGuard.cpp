// The Host, Origin and secret checks.
#include "webdriver/RequestGuard.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "name:port", "[v6]:port", "name" into name (without brackets) and port
// text (empty when none). False when it is no host at all.
bool SplitHost(const std::string& text, std::string* pName, std::string* pPort) {
    std::string name, port;
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos) return false;
        name = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') return false;
            port = rest.substr(1);
        }
    } else {
        const size_t colon = text.find(':');
        if (colon != std::string::npos && text.find(':', colon + 1) != std::string::npos) {
            name = text;  // a bare IPv6 address
        } else {
            name = text.substr(0, colon);
            if (colon != std::string::npos) port = text.substr(colon + 1);
        }
    }
    if (name.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    *pName = Lower(name);
    *pPort = port;
    return true;
}

// Compares in a time that does not depend on where the texts differ.
bool SameSecret(const std::string& given, const std::string& secret) {
    unsigned difference = given.size() != secret.size() ? 1u : 0u;
    for (size_t i = 0; i < secret.size(); ++i) {
        const char g = i < given.size() ? given[i] : '\0';
        difference |= static_cast<unsigned char>(g ^ secret[i]);
    }
    return difference == 0;
}

}  // namespace

CRequestGuard::CRequestGuard(AccessRules rules) : m_rules(std::move(rules)) {}

bool CRequestGuard::IsLoopback(const std::string& host) {
    const std::string h = Lower(host);
    if (h == "localhost" || h == "::1" || h == "[::1]") return true;
    // 127.0.0.0/8, written as four decimal parts: "127.0.0.1.evil.example"
    // is a name like any other.
    size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (i >= h.size() || h[i] != '.') return false;
            ++i;
        }
        const size_t start = i;
        int value = 0;
        while (i < h.size() && h[i] >= '0' && h[i] <= '9' && i - start < 3) value = value * 10 + (h[i++] - '0');
        if (i == start || value > 255 || (part == 0 && value != 127)) return false;
    }
    return i == h.size();
}

bool CRequestGuard::HostAllowed(const std::string& host) const {
    std::string name, port;
    if (!SplitHost(host, &name, &port)) return false;
    const std::string ourPort = std::to_string(m_rules.nPort);
    for (const std::string& allowed : m_rules.allowedHosts) {
        if (allowed == "*") return true;
        std::string allowedName, allowedPort;
        if (!SplitHost(allowed, &allowedName, &allowedPort)) continue;
        if (allowedName == name && (allowedPort.empty() || allowedPort == (port.empty() ? "80" : port))) return true;
    }
    if (!port.empty() && port != ourPort) return false;
    std::string listenName, unused;
    SplitHost(m_rules.listenHost, &listenName, &unused);
    if (name == listenName) return true;
    // The loopback names stand for each other; an address that listens
    // everywhere is reached by loopback names too, and otherwise only
    // through --allowed-hosts.
    const bool bListensOnLoopback = IsLoopback(listenName) || listenName == "0.0.0.0" || listenName == "::";
    return bListensOnLoopback && IsLoopback(name);
}

bool CRequestGuard::OriginAllowed(const std::string& origin) const {
    const std::string o = Lower(origin);
    for (const std::string& allowed : m_rules.allowedOrigins) {
        if (allowed == "*" || Lower(allowed) == o) return true;
    }
    return false;
}

std::string CRequestGuard::Refusal(const std::string* pHost, const std::string* pOrigin,
                                   const std::string* pSecret) const {
    if (!pHost) return "the request has no Host header";
    if (!HostAllowed(*pHost)) {
        return "the Host header \"" + *pHost + "\" is not this server's address (--allowed-hosts adds names)";
    }
    if (pOrigin && !OriginAllowed(*pOrigin)) {
        return "requests from the origin \"" + *pOrigin + "\" are not allowed (--allowed-origins adds origins)";
    }
    if (!m_rules.secret.empty() && (!pSecret || !SameSecret(*pSecret, m_rules.secret))) {
        return std::string("the header ") + kSecretHeader + " is missing or wrong";
    }
    return std::string();
}
