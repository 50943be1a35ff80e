// The HTTP/1.1 front of the WebDriver server (Boost.Beast over Asio, one
// network thread). It accepts connections up to a limit, reads each request
// within the size limits and a time limit, checks who asks (RequestGuard),
// hands the request to the service and writes its answer.
#pragma once
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "webdriver/RequestGuard.h"

class CWebDriverService;

struct ServerLimits {
    size_t nMaxHeaderBytes = 16 * 1024;
    size_t nMaxBodyBytes = 1024 * 1024;
    // A request must arrive whole within this time, and an answer be taken;
    // a connection idle this long between requests is closed.
    std::chrono::milliseconds requestTime{30000};
    size_t nMaxConnections = 64;
};

class CHttpServer {
public:
    CHttpServer(AccessRules rules, ServerLimits limits, CWebDriverService& service);
    ~CHttpServer();
    CHttpServer(const CHttpServer&) = delete;
    CHttpServer& operator=(const CHttpServer&) = delete;

    // Binds the address of the rules (port 0: one the system chooses).
    bool Listen(std::string* pError);
    unsigned short Port() const;
    // Serves until Stop; call from one thread.
    void Run();
    // From any thread.
    void Stop();

private:
    class CImpl;
    std::unique_ptr<CImpl> m_pImpl;
};
