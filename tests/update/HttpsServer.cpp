#include "HttpsServer.h"

#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "app/ChildProgram.h"
#include "platform/text/Utf8.h"

namespace updatetest {
namespace {

namespace fs = std::filesystem;

// Making the certificates and starting Python can be slow on a loaded machine.
constexpr std::chrono::seconds kStartTimeout{60};

std::string SourceDir()
{
    const char* source = std::getenv("TV_SOURCE_DIR");
    return source != nullptr ? source : ".";
}

}  // namespace

HttpsServer::HttpsServer()
{
    char folder[] = "/tmp/tvhttps.XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return;
    }
    folder_ = folder;
    root_ = folder_ / "root";
    fs::create_directories(root_);
    fs::create_directories(folder_ / "certs");
    process_ = std::make_unique<apptest::ChildProgram>(
        "/usr/bin/python3",
        std::vector<std::string>{SourceDir() + "/tests/update/https_server.py", "--dir",
                                 (folder_ / "certs").string(), "--root", root_.string()},
        std::vector<std::string>{});
    if (const auto line = process_->WaitForLine("ready ", kStartTimeout)) {
        port_ = std::stoi(line->substr(6));
    }
}

HttpsServer::~HttpsServer()
{
    process_.reset();  // kills the server
    std::error_code ec;
    if (!folder_.empty()) {
        fs::remove_all(folder_, ec);
    }
}

std::wstring HttpsServer::Url(const std::string& path) const
{
    return text::Utf8ToWide("https://127.0.0.1:" + std::to_string(port_) + "/" + path);
}

void HttpsServer::Put(const std::string& relative, const std::string& content) const
{
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

TrustTestCa::TrustTestCa(const HttpsServer& server)
{
    setenv("TOLVENIC_UPDATE_CA_FILE", server.CaFile().c_str(), 1);
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
}

TrustTestCa::~TrustTestCa() { unsetenv("TOLVENIC_UPDATE_CA_FILE"); }

}  // namespace updatetest
