#include "tests/common/TestTlsServer.h"
#include "tests/common/RunProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace zentaro::test {
namespace {

constexpr int kStartWaitMs = 10'000;

std::string Hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 15];
    }
    return hex;
}

// The port the server prints once it listens; 0 when it says nothing in time.
int ReadPort(int fd)
{
    std::string line;
    while (line.find('\n') == std::string::npos) {
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, kStartWaitMs) <= 0)
            return 0;
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return 0;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    return std::stoi(line);
}

} // namespace

TestTlsServer::TestTlsServer() : LoopbackServer("https")
{
    const std::string cert = CaFile().string();
    const std::string key = (folder_ / "key.pem").string();
    const ProcessResult made = RunProcess(ZENTARO_OPENSSL,
        {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key,
         "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
    if (made.status != 0)
        throw std::runtime_error("openssl cannot make a certificate: " + made.err);
    std::filesystem::create_directory(folder_ / "routes");

    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const std::string routes = (folder_ / "routes").string();
    server_ = StartProcess({ZENTARO_PYTHON3, ZENTARO_TLS_SERVER_SCRIPT, cert, key, routes}, {in[0], out[1], kInherited});
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    port_ = ReadPort(out[0]);
    ::close(out[0]);
    if (port_ == 0) {
        Stop();
        throw std::runtime_error("the TLS test server did not start");
    }
}

TestTlsServer::~TestTlsServer() { Stop(); }

void TestTlsServer::Stop()
{
    if (input_ >= 0)
        ::close(input_);
    input_ = -1;
    if (server_ <= 0)
        return;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (::waitpid(server_, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= end) {
            ::kill(server_, SIGKILL);
            ::waitpid(server_, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    server_ = -1;
}

void TestTlsServer::Serve(const std::string& target, std::string_view rawAnswer)
{
    const auto route = folder_ / "routes" / Hex(target);
    WriteFile(folder_ / "route.new", rawAnswer);
    std::filesystem::rename(folder_ / "route.new", route);
}

} // namespace zentaro::test
