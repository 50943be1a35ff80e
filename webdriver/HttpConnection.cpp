// Reading, judging and answering the requests of one connection.
#include "webdriver/HttpConnection.h"

#include <boost/asio/post.hpp>

namespace beast = boost::beast;
namespace http = boost::beast::http;

namespace {

std::string HeaderText(const http::fields& fields, beast::string_view name, bool* pPresent) {
    const auto it = fields.find(name);
    *pPresent = it != fields.end();
    return *pPresent ? std::string(it->value()) : std::string();
}

}  // namespace

CHttpConnection::CHttpConnection(boost::asio::ip::tcp::socket socket, const CRequestGuard& guard,
                                 const ServerLimits& limits, CWebDriverService& service)
    : m_stream(std::move(socket)),
      m_buffer(limits.nMaxHeaderBytes + 4096),
      m_guard(guard),
      m_limits(limits),
      m_service(service) {}

void CHttpConnection::Start() { ReadRequest(); }

void CHttpConnection::ReadRequest() {
    m_parser.emplace();
    m_parser->header_limit(static_cast<std::uint32_t>(m_limits.nMaxHeaderBytes));
    m_parser->body_limit(m_limits.nMaxBodyBytes);
    // A request has this long to arrive whole; a silent or slow client loses
    // its connection, never the server's attention.
    m_stream.expires_after(m_limits.requestTime);
    m_bWaiting = true;
    m_waitingSince = std::chrono::steady_clock::now();
    http::async_read(m_stream, m_buffer, *m_parser,
                     [self = shared_from_this()](beast::error_code error, std::size_t) { self->OnRead(error); });
}

void CHttpConnection::OnRead(beast::error_code error) {
    m_bWaiting = false;
    if (error == http::error::end_of_stream || error == beast::error::timeout ||
        error == boost::asio::error::operation_aborted || error == boost::asio::error::connection_reset ||
        error == boost::asio::error::eof) {
        Close();
        return;
    }
    if (error == http::error::header_limit) {
        Write(CWebDriverService::ErrorAnswer(WebDriverErrorCode::InvalidArgument,
                                             "the request's headers exceed " + std::to_string(m_limits.nMaxHeaderBytes) +
                                                 " bytes"),
              false, std::string());
        return;
    }
    if (error == http::error::body_limit) {
        Write(CWebDriverService::ErrorAnswer(WebDriverErrorCode::InvalidArgument,
                                             "the request's body exceeds " + std::to_string(m_limits.nMaxBodyBytes) +
                                                 " bytes"),
              false, std::string());
        return;
    }
    if (error) {
        // Not HTTP, or broken on the way: answered once, then the
        // connection goes (its stream can no longer be trusted).
        Write(CWebDriverService::ErrorAnswer(WebDriverErrorCode::InvalidArgument,
                                             "the request is not valid HTTP/1.1: " + error.message()),
              false, std::string());
        return;
    }
    Answer(m_parser->get());
}

void CHttpConnection::Answer(const Request& request) {
    const bool bKeepAlive = request.keep_alive();
    bool bHasHost = false, bHasOrigin = false, bHasSecret = false;
    const std::string host = HeaderText(request, "Host", &bHasHost);
    const std::string origin = HeaderText(request, "Origin", &bHasOrigin);
    const std::string secret = HeaderText(request, CRequestGuard::kSecretHeader, &bHasSecret);
    std::string refusal =
        m_guard.Refusal(bHasHost ? &host : nullptr, bHasOrigin ? &origin : nullptr, bHasSecret ? &secret : nullptr);
    // A header the guard judges, given twice, could pass on one copy while
    // something else reads the other: such a request is refused whole.
    for (const char* name : {"Host", "Origin", CRequestGuard::kSecretHeader}) {
        if (request.count(name) > 1) refusal = std::string("the request gives the ") + name + " header more than once";
    }
    if (!refusal.empty()) {
        Write(CWebDriverService::ErrorAnswer(WebDriverErrorCode::UnknownError, "refused: " + refusal), false,
              std::string());
        return;
    }
    const std::string allowedOrigin = bHasOrigin ? origin : std::string();
    if (request.method() == http::verb::options) {
        // The preflight of an allowed origin's browser.
        WriteEmpty(204, bKeepAlive, allowedOrigin);
        return;
    }
    m_stream.expires_never();  // a command takes as long as its own limits allow
    const std::string method(request.method_string());
    const std::string target(request.target());
    auto self = shared_from_this();
    auto executor = m_stream.get_executor();
    m_service.Handle(method, target, request.body(), [self, executor, bKeepAlive, allowedOrigin](WebDriverAnswer answer) {
        boost::asio::post(executor, [self, bKeepAlive, allowedOrigin, answer = std::move(answer)]() mutable {
            self->Write(std::move(answer), bKeepAlive, allowedOrigin);
        });
    });
}

void CHttpConnection::Write(WebDriverAnswer answer, bool bKeepAlive, const std::string& allowedOrigin) {
    auto response = std::make_shared<Response>(static_cast<http::status>(answer.nStatus), 11);
    response->set(http::field::server, "vintrel");
    response->set(http::field::content_type, "application/json; charset=utf-8");
    response->set(http::field::cache_control, "no-cache");
    if (!allowedOrigin.empty()) {
        response->set(http::field::access_control_allow_origin, allowedOrigin);
        response->set(http::field::vary, "Origin");
    }
    response->body() = std::move(answer.body);
    Send(std::move(response), bKeepAlive);
}

void CHttpConnection::WriteEmpty(unsigned status, bool bKeepAlive, const std::string& allowedOrigin) {
    auto response = std::make_shared<Response>(static_cast<http::status>(status), 11);
    response->set(http::field::server, "vintrel");
    if (!allowedOrigin.empty()) {
        response->set(http::field::access_control_allow_origin, allowedOrigin);
        response->set(http::field::access_control_allow_methods, "GET, POST, DELETE");
        response->set(http::field::access_control_allow_headers,
                      std::string("Content-Type, ") + CRequestGuard::kSecretHeader);
        response->set(http::field::access_control_max_age, "600");
        response->set(http::field::vary, "Origin");
    }
    Send(std::move(response), bKeepAlive);
}

void CHttpConnection::Send(std::shared_ptr<Response> response, bool bKeepAlive) {
    response->keep_alive(bKeepAlive);
    response->prepare_payload();
    m_stream.expires_after(m_limits.requestTime);
    http::async_write(m_stream, *response,
                      [self = shared_from_this(), response, bKeepAlive](beast::error_code error, std::size_t) {
                          if (error || !bKeepAlive) {
                              self->Close();
                              return;
                          }
                          self->ReadRequest();
                      });
}

void CHttpConnection::Close() {
    m_bWaiting = false;
    beast::error_code ignored;
    m_stream.socket().shutdown(boost::asio::ip::tcp::socket::shutdown_send, ignored);
    m_stream.socket().close(ignored);
}
