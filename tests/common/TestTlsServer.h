#pragma once

#include "tests/common/TempDir.h"
#include "tests/common/TestHttpServer.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace zentaro::test {

// An HTTPS server on 127.0.0.1 with a self-signed certificate made for it,
// for addresses "https://127.0.0.1:<port>": a python3 script in a process of
// its own. Routes are as TestHttpServer's: raw answers, then the connection
// closes; unknown targets get a 404.
class TestTlsServer : public LoopbackServer {
public:
    TestTlsServer();
    ~TestTlsServer();

    void Serve(const std::string& target, std::string_view rawAnswer);
    // The certificate to trust, as a CA file.
    std::filesystem::path CaFile() const { return folder_ / "cert.pem"; }

private:
    void Stop();

    TempDir folder_;
    pid_t server_ = -1;
    int input_ = -1; // the server's standard input: closing it ends the server
};

} // namespace zentaro::test
