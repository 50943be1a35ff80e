// The listening socket and the network thread's loop.
#include "webdriver/HttpServer.h"

#include <atomic>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "webdriver/HttpConnection.h"

namespace asio = boost::asio;
using tcp = boost::asio::ip::tcp;

class CHttpServer::CImpl {
public:
    CImpl(AccessRules rules, ServerLimits limits, CWebDriverService& service)
        : m_guard(std::move(rules)),
          m_limits(limits),
          m_service(service),
          m_pOpen(std::make_shared<std::atomic<size_t>>(0)),
          m_acceptor(m_io) {}

    bool Listen(std::string* pError) {
        boost::system::error_code error;
        const asio::ip::address address = asio::ip::make_address(m_guard.Rules().listenHost, error);
        if (error) {
            *pError = "\"" + m_guard.Rules().listenHost + "\" is no IP address";
            return false;
        }
        const tcp::endpoint endpoint(address, m_guard.Rules().nPort);
        m_acceptor.open(endpoint.protocol(), error);
        // No SO_REUSEADDR: on Windows it would let a second server take the
        // same port.
        if (!error) m_acceptor.bind(endpoint, error);
        if (!error) m_acceptor.listen(asio::socket_base::max_listen_connections, error);
        if (error) {
            *pError = "cannot listen on " + m_guard.Rules().listenHost + ":" + std::to_string(m_guard.Rules().nPort) +
                      ": " + error.message();
            return false;
        }
        m_guard.SetPort(m_acceptor.local_endpoint().port());
        Accept();
        return true;
    }

    unsigned short Port() const { return m_guard.Rules().nPort; }

    void Run() { m_io.run(); }
    void Stop() { m_io.stop(); }

private:
    void Accept() {
        m_acceptor.async_accept([this](boost::system::error_code error, tcp::socket socket) {
            if (error == asio::error::operation_aborted) return;
            if (!error) {
                if (*m_pOpen >= m_limits.nMaxConnections) {
                    // Over the limit: closed at once, so that many idle
                    // connections cannot use up the server.
                    boost::system::error_code ignored;
                    socket.close(ignored);
                } else {
                    std::make_shared<CHttpConnection>(std::move(socket), m_guard, m_limits, m_service, m_pOpen)->Start();
                }
            }
            Accept();
        });
    }

    CRequestGuard m_guard;
    ServerLimits m_limits;
    CWebDriverService& m_service;
    std::shared_ptr<std::atomic<size_t>> m_pOpen;
    // Declared after what the connections refer to: it goes before that, and
    // with it every connection it holds.
    asio::io_context m_io{1};
    tcp::acceptor m_acceptor;
};

CHttpServer::CHttpServer(AccessRules rules, ServerLimits limits, CWebDriverService& service)
    : m_pImpl(std::make_unique<CImpl>(std::move(rules), limits, service)) {}

CHttpServer::~CHttpServer() = default;

bool CHttpServer::Listen(std::string* pError) { return m_pImpl->Listen(pError); }

unsigned short CHttpServer::Port() const { return m_pImpl->Port(); }

void CHttpServer::Run() { m_pImpl->Run(); }

void CHttpServer::Stop() { m_pImpl->Stop(); }
