// Transfers against a real HTTPS server on 127.0.0.1 with a CA made for the test: status codes,
// redirects, chunked replies, an untrusted certificate, a stalled server, a cancel and a libcurl
// that cannot be used.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "HttpsServer.h"
#include "update/CurlLibrary.h"
#include "update/UpdateDownloader.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using updatetest::HttpsServer;
using updatetest::TrustTestCa;

class UpdateDownloaderTest : public updatetest::HttpsServerSuite<::testing::Test> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_->Started()) << "the local HTTPS server did not start";
        server_->Put("version", "1.0.0.3\n");
        server_->Put("package.bin", std::string(100000, 'p'));
        file_ = server_->Root().parent_path() / "download.bin";
    }

    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path file_;
};

TEST_F(UpdateDownloaderTest, FetchesTextOnlyFromGoodReplies)
{
    TrustTestCa trust(*server_);
    const struct {
        const char* path;
        int result;
        const wchar_t* text;
    } cases[] = {
        {"files/version", UpdateDownloader::kComplete, L"1.0.0.3\n"},
        {"chunked/version", UpdateDownloader::kComplete, L"1.0.0.3\n"},
        {"redirect/https/files/version", UpdateDownloader::kComplete, L"1.0.0.3\n"},
        {"files/missing", UpdateDownloader::kFailed, L""},  // a 404 page is not a version
        {"status/500", UpdateDownloader::kFailed, L""},
        {"redirect/http/files/version", UpdateDownloader::kFailed, L""},  // plain HTTP refused
    };
    for (const auto& c : cases) {
        UpdateDownloader downloader;
        std::wstring text = L"old";
        EXPECT_EQ(downloader.FetchText(server_->Url(c.path), text), c.result) << c.path;
        EXPECT_EQ(text, c.text) << c.path;
    }
    // A plain HTTP address is refused before anything is sent.
    UpdateDownloader downloader;
    std::wstring text;
    EXPECT_EQ(
        downloader.FetchText(
            L"http://127.0.0.1:" + std::to_wstring(server_->Port()) + L"/files/version", text),
        UpdateDownloader::kFailed);
}

TEST_F(UpdateDownloaderTest, RefusesACertificateNobodyTrusts)
{
    UpdateDownloader downloader;  // without the test CA: only the system's store
    std::wstring text;
    EXPECT_EQ(downloader.FetchText(server_->Url("files/version"), text), UpdateDownloader::kFailed);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(downloader.DownloadFile(server_->Url("files/package.bin"), file_.wstring()),
              UpdateDownloader::kFailed);
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(UpdateDownloaderTest, BoundsTheTextItReads)
{
    TrustTestCa trust(*server_);
    UpdateDownloader downloader;
    downloader.limits.maxTextBytes = 1000;
    std::wstring text;
    EXPECT_EQ(downloader.FetchText(server_->Url("files/package.bin"), text),
              UpdateDownloader::kFailed);
}

TEST_F(UpdateDownloaderTest, DownloadsWithRisingProgressThatEndsAtAHundred)
{
    TrustTestCa trust(*server_);
    for (const char* path : {"files/package.bin", "chunked/package.bin"}) {
        UpdateDownloader downloader;
        downloader.lastPercent = 57;  // left from an earlier download
        std::vector<int> progress;
        EXPECT_EQ(downloader.DownloadFile(server_->Url(path), file_.wstring(),
                                          [&progress](int p) { progress.push_back(p); }),
                  UpdateDownloader::kComplete)
            << path;
        EXPECT_EQ(Read(file_), std::string(100000, 'p')) << path;
        ASSERT_GE(progress.size(), 4u) << path;
        EXPECT_EQ(progress.front(), 0);
        EXPECT_EQ(progress.back(), 100);
        for (size_t i = 1; i < progress.size(); ++i) {
            EXPECT_GT(progress[i], progress[i - 1]) << path;
            EXPECT_LE(progress[i], 100) << path;
        }
    }
    // A failed download leaves no file and never reports 100.
    UpdateDownloader downloader;
    std::vector<int> progress;
    EXPECT_EQ(downloader.DownloadFile(server_->Url("files/missing.zip"), file_.wstring(),
                                      [&progress](int p) { progress.push_back(p); }),
              UpdateDownloader::kFailed);
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_TRUE(progress.empty() || progress.back() < 100);
}

TEST_F(UpdateDownloaderTest, AStalledServerTimesOut)
{
    TrustTestCa trust(*server_);
    UpdateDownloader downloader;
    downloader.limits.lowSpeedTimeS = 1;
    const auto start = std::chrono::steady_clock::now();
    std::wstring text;
    EXPECT_EQ(downloader.FetchText(server_->Url("stall"), text), UpdateDownloader::kFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
}

TEST_F(UpdateDownloaderTest, ACancelFromAnotherThreadEndsTheDownload)
{
    TrustTestCa trust(*server_);
    UpdateDownloader downloader;
    std::thread canceller([&downloader] {
        const auto end = std::chrono::steady_clock::now() + 30s;
        while (downloader.lastPercent < 10 && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(5ms);
        }
        downloader.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    std::atomic<int> seen{0};
    const int result = downloader.DownloadFile(server_->Url("slow"), file_.wstring(),
                                               [&seen](int p) { seen = p; });
    canceller.join();
    EXPECT_EQ(result, UpdateDownloader::kCancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(UpdateDownloaderTest, WithoutAUsableLibcurlTransfersFailAsIfNoServerAnswered)
{
    TrustTestCa trust(*server_);
    const struct {
        const char* library;
        const char* reason;
    } cases[] = {
        {"libcurl-missing.so.4", "libcurl-missing.so.4 could not be loaded: "},
        {"libc.so.6", "curl_global_init is missing from the loaded libcurl"},
    };
    for (const auto& c : cases) {
        const CurlLibrary curl = CurlLibrary::Load(c.library);
        EXPECT_FALSE(curl.Usable()) << c.library;
        EXPECT_THAT(curl.error, ::testing::HasSubstr(c.reason));
        UpdateDownloader downloader(curl);
        std::wstring text;
        EXPECT_EQ(downloader.FetchText(server_->Url("files/version"), text),
                  UpdateDownloader::kFailed);
        EXPECT_EQ(downloader.LastStatus(), 0);
        std::vector<int> progress;
        EXPECT_EQ(downloader.DownloadFile(server_->Url("files/package.bin"), file_.wstring(),
                                          [&progress](int p) { progress.push_back(p); }),
                  UpdateDownloader::kFailed);
        EXPECT_FALSE(fs::exists(file_));
        EXPECT_TRUE(progress.empty() || progress.back() < 100);
    }
    // The process's own library works.
    EXPECT_TRUE(CurlLibrary::Shared().Usable()) << CurlLibrary::Shared().error;
}

}  // namespace
