// The local HTTPS server of the update tests (https_server.py beside this file), started on a
// free port of 127.0.0.1 with a test CA made at start, and killed when the object goes.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace apptest {
class ChildProgram;
}

namespace updatetest {

class HttpsServer {
public:
    HttpsServer();
    ~HttpsServer();

    bool Started() const { return port_ > 0; }
    int Port() const { return port_; }
    // "https://127.0.0.1:<port>/" followed by `path`.
    std::wstring Url(const std::string& path) const;
    // The folder served under /files/ and the test CA's certificate.
    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path CaFile() const { return folder_ / "certs" / "ca.pem"; }
    // Writes a file under the served folder (folders made as needed).
    void Put(const std::string& relative, const std::string& content) const;

private:
    std::filesystem::path folder_;
    std::filesystem::path root_;
    std::unique_ptr<apptest::ChildProgram> process_;
    int port_ = 0;
};

// Makes the transfer library trust the test CA (and reach 127.0.0.1 without a proxy) for the
// life of the object.
class TrustTestCa {
public:
    explicit TrustTestCa(const HttpsServer& server);
    ~TrustTestCa();
};

}  // namespace updatetest
