#pragma once

#include "store/UniqueFd.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zentaro::test {

// What the test servers share: one on 127.0.0.1 at a port of its own, not
// to be copied.
class LoopbackServer {
public:
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    // "<scheme>://127.0.0.1:<port>" followed by path.
    std::string Address(std::string_view path) const;

protected:
    explicit LoopbackServer(std::string_view scheme) : scheme_(scheme) {}
    ~LoopbackServer() = default;

    int port_ = 0;

private:
    std::string_view scheme_;
};

// A plain HTTP/1.1 server on 127.0.0.1 and a free port, answering in a thread
// of the test process. Each route sends its bytes as they are, then closes
// the connection; unknown targets get a 404.
class TestHttpServer : public LoopbackServer {
public:
    TestHttpServer();
    ~TestHttpServer();

    // target as it stands in the request line, e.g. "/update/Last%20Update.txt".
    void Serve(const std::string& target, std::string rawAnswer);
    // The same, sending the first fastBytes at once and then one byte every
    // interval, as a server at the end of a bad line does. Whoever waits
    // for such an answer blocks the server's other routes meanwhile.
    void ServeSlowly(const std::string& target, std::string rawAnswer, std::size_t fastBytes,
                     std::chrono::milliseconds interval);
    // The request targets received so far, in order.
    std::vector<std::string> Requests() const;

private:
    struct Route {
        std::string answer;
        std::size_t fastBytes = 0;
        std::chrono::milliseconds interval{0};
    };

    void Run();
    void Answer(int client);
    void Send(int client, const Route& route) const;

    UniqueFd listener_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Route> routes_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A complete answer with Content-Length and "Connection: close".
std::string HttpAnswer(int status, std::string_view reason, std::string_view body,
                       std::string_view contentType = "text/plain");

// Listens on 127.0.0.1 but never accepts: connections complete in the
// kernel's backlog and then wait for an answer that never comes.
class SilentServer : public LoopbackServer {
public:
    SilentServer();

private:
    UniqueFd listener_;
};

// A port on 127.0.0.1 that nothing listens on.
int ClosedPort();

} // namespace zentaro::test
