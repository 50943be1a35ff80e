// One client connection of the HTTP server: reads a request, lets the guard
// judge it, passes it to the service, writes the answer, and reads the next
// while the client keeps the connection. Lives as long as its asynchronous
// operations hold it (shared_from_this).
#pragma once
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "webdriver/HttpServer.h"
#include "webdriver/WebDriverService.h"

class CHttpConnection : public std::enable_shared_from_this<CHttpConnection> {
public:
    CHttpConnection(boost::asio::ip::tcp::socket socket, const CRequestGuard& guard, const ServerLimits& limits,
                    CWebDriverService& service);
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    void Start();
    // True while the connection waits for (the rest of) a request, and since when.
    bool IsWaiting() const { return m_bWaiting; }
    std::chrono::steady_clock::time_point WaitingSince() const { return m_waitingSince; }
    void Close();

private:
    using Request = boost::beast::http::request<boost::beast::http::string_body>;
    using Response = boost::beast::http::response<boost::beast::http::string_body>;

    void ReadRequest();
    void OnRead(boost::beast::error_code error);
    void Answer(const Request& request);
    void Write(WebDriverAnswer answer, bool bKeepAlive, const std::string& allowedOrigin);
    void WriteEmpty(unsigned status, bool bKeepAlive, const std::string& allowedOrigin);
    void Send(std::shared_ptr<Response> response, bool bKeepAlive);

    boost::beast::tcp_stream m_stream;
    boost::beast::flat_buffer m_buffer;
    std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> m_parser;
    const CRequestGuard& m_guard;
    const ServerLimits& m_limits;
    CWebDriverService& m_service;
    bool m_bWaiting = false;
    std::chrono::steady_clock::time_point m_waitingSince;
};
