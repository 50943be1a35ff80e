// The listening socket and the network thread's loop.
#include "webdriver/HttpServer.h"

#include <vector>

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
            if (!error && MakeRoom()) {
                // Answers are written whole: no reason to hold them back.
                boost::system::error_code ignored;
                socket.set_option(tcp::no_delay(true), ignored);
                auto connection = std::make_shared<CHttpConnection>(std::move(socket), m_guard, m_limits, m_service);
                m_connections.push_back(connection);
                connection->Start();
            } else if (!error) {
                boost::system::error_code ignored;
                socket.close(ignored);
            }
            Accept();
        });
    }

    // Below the limit of connections there is room. At the limit, the
    // connection that has waited longest for a request is closed, so that
    // clients that connect and say nothing cannot lock others out; when
    // every connection is busy with a command, the new one is refused.
    bool MakeRoom() {
        std::vector<std::weak_ptr<CHttpConnection>> open;
        std::shared_ptr<CHttpConnection> oldest;
        for (const auto& weak : m_connections) {
            auto connection = weak.lock();
            if (!connection) continue;
            open.push_back(weak);
            if (connection->IsWaiting() && (!oldest || connection->WaitingSince() < oldest->WaitingSince())) {
                oldest = connection;
            }
        }
        m_connections.swap(open);
        if (m_connections.size() < m_limits.nMaxConnections) return true;
        if (!oldest) return false;
        oldest->Close();
        return true;
    }

    CRequestGuard m_guard;
    ServerLimits m_limits;
    CWebDriverService& m_service;
    std::vector<std::weak_ptr<CHttpConnection>> m_connections;  // network thread only
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
