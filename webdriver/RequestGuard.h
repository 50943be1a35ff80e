// Who may use the server. A WebDriver server starts programs and types on
// this machine, so:
// - the Host header must name the address the server listens on (the
//   loopback names when it listens there) or one of --allowed-hosts: a web
//   page that rebinds its DNS name to 127.0.0.1 still sends its own name;
// - a request with an Origin header (a browser's) passes only when that
//   origin is one of --allowed-origins, so no web page can drive it;
// - with --secret, every request must carry the header X-Vintrel-Secret
//   with that text.
#pragma once
#include <string>
#include <vector>

struct AccessRules {
    std::string listenHost = "127.0.0.1";
    unsigned short nPort = 4723;
    std::vector<std::string> allowedHosts;    // "name" or "name:port"; "*" allows any
    std::vector<std::string> allowedOrigins;  // "http://host:port"; "*" allows any
    std::string secret;                       // empty: no secret asked for
};

class CRequestGuard {
public:
    static constexpr const char* kSecretHeader = "X-Vintrel-Secret";

    explicit CRequestGuard(AccessRules rules);
    CRequestGuard(const CRequestGuard&) = delete;
    CRequestGuard& operator=(const CRequestGuard&) = delete;

    // Empty when the request may pass, otherwise why it is refused. A
    // null pointer stands for a header the request does not have.
    std::string Refusal(const std::string* pHost, const std::string* pOrigin, const std::string* pSecret) const;
    bool OriginAllowed(const std::string& origin) const;
    void SetPort(unsigned short nPort) { m_rules.nPort = nPort; }
    const AccessRules& Rules() const { return m_rules; }

    static bool IsLoopback(const std::string& host);

private:
    bool HostAllowed(const std::string& host) const;

    AccessRules m_rules;
};
