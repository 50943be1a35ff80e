// vintrel serve: the WebDriver server, until Ctrl+C.
#include <cstdio>
#include <thread>

#include <CLI/CLI.hpp>

#include "tool/CommandRegistry.h"
#include "tool/StopSignal.h"
#include "tool/ToolOutput.h"
#include "webdriver/HttpServer.h"
#include "webdriver/WebDriverService.h"

namespace {

struct ServeCommand {
    AccessRules rules;
    int nPort = 4723;
    double dSeconds = 0;
    ServerLimits limits;
    int nClientTimeoutMs = 30000;

    int Run() {
        rules.nPort = static_cast<unsigned short>(nPort);
        const bool bLoopback = CRequestGuard::IsLoopback(rules.listenHost);
        CWebDriverService service;
        limits.requestTime = std::chrono::milliseconds(nClientTimeoutMs);
        CHttpServer server(rules, limits, service);
        std::string error;
        if (!server.Listen(&error)) return CToolOutput::Fail(error);
        const std::string address = rules.listenHost.find(':') != std::string::npos ? "[" + rules.listenHost + "]"
                                                                                     : rules.listenHost;
        const std::string url = "http://" + address + ":" + std::to_string(server.Port());
        std::string text = "WebDriver server listening on " + url;
        text += bLoopback ? " (loopback only: other machines cannot reach it)"
                          : " - NOT only loopback: whoever reaches this address can start programs and type on this "
                            "desktop" +
                                std::string(rules.secret.empty() ? "; no --secret is set" : "; requests must carry the secret");
        CToolOutput::Emit({{"listening", url}, {"port", server.Port()}, {"loopback", bLoopback},
                           {"secret", !rules.secret.empty()}},
                          text);
        std::fflush(stdout);

        std::thread network([&server] { server.Run(); });
        CStopSignal stop;
        const DWORD start = GetTickCount();
        while (!stop.Requested() && (dSeconds <= 0 || GetTickCount() - start < dSeconds * 1000)) stop.PumpFor(200);
        server.Stop();
        network.join();
        service.Shutdown();
        return 0;
    }
};

ToolCommandRegistrar s_serve({"serve", "serve the W3C WebDriver protocol over HTTP until Ctrl+C", [](CLI::App& app) {
    auto command = std::make_shared<ServeCommand>();
    app.add_option("--host", command->rules.listenHost,
                   "address to listen on (127.0.0.1; any other must be asked for here and is reachable from outside)");
    app.add_option("--port", command->nPort, "port (4723; 0 lets the system choose, printed at start)")
        ->check(CLI::Range(0, 65535));
    app.add_option("--allowed-origins", command->rules.allowedOrigins,
                   "origins whose browser pages may send requests (\"http://host:port\", or *)")
        ->delimiter(',');
    app.add_option("--allowed-hosts", command->rules.allowedHosts,
                   "further names the Host header may carry (\"name\" or \"name:port\", or *)")
        ->delimiter(',');
    app.add_option("--secret", command->rules.secret,
                   std::string("a text every request must carry in the header ") + CRequestGuard::kSecretHeader);
    app.add_option("--client-timeout", command->nClientTimeoutMs,
                   "ms a client has to send a whole request or take an answer; idle connections close after it (30000)")
        ->check(CLI::Range(100, 3600000));
    app.add_option("--seconds", command->dSeconds, "stop after this many seconds (0: until Ctrl+C)");
    return [command] { return command->Run(); };
}});

}  // namespace
