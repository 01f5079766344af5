#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zentaro::test {

// A plain HTTP/1.1 server on 127.0.0.1 and a free port, answering in a thread
// of the test process. Each route sends its bytes as they are, then closes
// the connection; unknown targets get a 404.
class TestHttpServer {
public:
    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    // target as it stands in the request line, e.g. "/update/Last%20Update.txt".
    void Serve(const std::string& target, std::string rawAnswer);
    // The same, sending the first fastBytes at once and then one byte every
    // interval, as a server at the end of a bad line does. Whoever waits
    // for such an answer blocks the server's other routes meanwhile.
    void ServeSlowly(const std::string& target, std::string rawAnswer, std::size_t fastBytes,
                     std::chrono::milliseconds interval);
    // "http://127.0.0.1:<port>" followed by path.
    std::string Address(std::string_view path) const;
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

    int listener_ = -1;
    int port_ = 0;
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
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    std::string Address(std::string_view path) const;

private:
    int listener_ = -1;
    int port_ = 0;
};

// A port on 127.0.0.1 that nothing listens on.
int ClosedPort();

} // namespace zentaro::test
