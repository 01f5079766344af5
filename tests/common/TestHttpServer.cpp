#include "tests/common/TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace zentaro::test {
namespace {

constexpr int kPollMs = 50;
constexpr int kRequestWaitMs = 5000;

UniqueFd ListenOnLoopback(int& port, int backlog)
{
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid())
        throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd.Get(), backlog) != 0 ||
        ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    port = ntohs(address.sin_port);
    return fd;
}

bool SendAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

} // namespace

std::string LoopbackServer::Address(std::string_view path) const
{
    return std::string(scheme_) + "://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

TestHttpServer::TestHttpServer() : LoopbackServer("http"), listener_(ListenOnLoopback(port_, 16))
{
    thread_ = std::thread([this] { Run(); });
}

TestHttpServer::~TestHttpServer()
{
    stop_ = true;
    thread_.join();
}

void TestHttpServer::Serve(const std::string& target, std::string rawAnswer)
{
    std::lock_guard lock(mutex_);
    routes_[target] = Route{std::move(rawAnswer)};
}

void TestHttpServer::ServeSlowly(const std::string& target, std::string rawAnswer, std::size_t fastBytes,
                                 std::chrono::milliseconds interval)
{
    std::lock_guard lock(mutex_);
    routes_[target] = Route{std::move(rawAnswer), fastBytes, interval};
}

std::vector<std::string> TestHttpServer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void TestHttpServer::Run()
{
    while (!stop_) {
        pollfd waiting{listener_.Get(), POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int client = ::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        Answer(client);
        ::close(client);
    }
}

void TestHttpServer::Answer(int client)
{
    std::string request;
    while (request.find("\r\n\r\n") == std::string::npos) {
        pollfd waiting{client, POLLIN, 0};
        if (::poll(&waiting, 1, kRequestWaitMs) <= 0)
            return;
        char buffer[4096];
        const ssize_t count = ::recv(client, buffer, sizeof buffer, 0);
        if (count <= 0)
            return;
        request.append(buffer, static_cast<std::size_t>(count));
    }
    // "GET <target> HTTP/1.1"
    const auto first = request.find(' ');
    const auto second = request.find(' ', first + 1);
    const std::string target = request.substr(first + 1, second - first - 1);
    Route route;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(target);
        const auto found = routes_.find(target);
        route = found != routes_.end() ? found->second : Route{HttpAnswer(404, "Not Found", "no such file\n")};
    }
    Send(client, route);
}

void TestHttpServer::Send(int client, const Route& route) const
{
    const std::string_view answer = route.answer;
    if (route.interval.count() == 0) {
        SendAll(client, answer);
        return;
    }
    const std::size_t fast = std::min(route.fastBytes, answer.size());
    if (!SendAll(client, answer.substr(0, fast)))
        return;
    // Ends when the client gives up: a send to a closed connection fails.
    for (std::size_t at = fast; at < answer.size() && !stop_; ++at) {
        std::this_thread::sleep_for(route.interval);
        if (!SendAll(client, answer.substr(at, 1)))
            return;
    }
}

std::string HttpAnswer(int status, std::string_view reason, std::string_view body, std::string_view contentType)
{
    return "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) +
           "\r\nContent-Type: " + std::string(contentType) +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           std::string(body);
}

SilentServer::SilentServer() : LoopbackServer("http"), listener_(ListenOnLoopback(port_, 16)) {}

int ClosedPort()
{
    int port = 0;
    ListenOnLoopback(port, 1); // closed again at once
    return port;
}

} // namespace zentaro::test
