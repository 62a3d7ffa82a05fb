// Plain GET requests to the update service over HTTPS: a reply read whole as text (version
// files) or streamed into a file (packages). Runs on the worker thread for the whole transfer;
// the worker's keyboard work goes on in the transfer's breaks (TransferBreaks). Another thread
// cancels by clearing the running flag.
//
// Certificates are always checked against the system's store; TOLVENIC_UPDATE_CA_FILE may add
// a CA file to it (for tests against a local server). Only HTTPS is spoken, redirects are
// followed to HTTPS addresses only, and the proxy comes from the environment (https_proxy,
// no_proxy). A server that stops sending for the low-speed time ends the transfer.
//
// libcurl is loaded by the first transfer (CurlLibrary); when it cannot be, every transfer fails
// as one that reached no server does.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

struct CurlLibrary;

class UpdateDownloader {
public:
    // Transfers through the process's libcurl, loaded by the first one.
    UpdateDownloader() = default;
    // Transfers through `curl`, which outlives the downloader.
    explicit UpdateDownloader(const CurlLibrary& curl) : curl_(&curl) {}

    // Results of both transfers.
    static constexpr int kComplete = 1;
    static constexpr int kNoHandle = 0;  // the library gave no transfer handle
    static constexpr int kFailed = -1;   // refused, not 2xx, a read or write failed, time-out
    static constexpr int kCancelled = -2;

    struct Limits {
        long connectTimeoutMs = 15000;
        // A transfer slower than one byte a second for this long is abandoned.
        long lowSpeedTimeS = 30;
        size_t maxTextBytes = 64 * 1024;
        uint64_t maxFileBytes = 512ull * 1024 * 1024;
    };

    // Reads the whole body as UTF-8 into `text` (the part read so far when cancelled).
    int FetchText(const std::wstring& url, std::wstring& text);
    // Streams the body into `path` (replaced). With `progress`, reports 0..100, each value
    // once, rising; 100 only for a complete transfer. A failed or cancelled transfer leaves
    // no file behind.
    int DownloadFile(const std::wstring& url, const std::wstring& path,
                     const std::function<void(int)>& progress = {});

    // Cancels a transfer in progress (any thread).
    void Cancel() { running = 0; }

    // The HTTP status of the last reply (0 when none arrived).
    long LastStatus() const { return lastStatus_; }

    std::atomic<int> running{0};
    std::atomic<int> lastPercent{0};
    Limits limits;

private:
    struct Transfer;
    int Perform(const std::wstring& url, Transfer& transfer);

    const CurlLibrary* curl_ = nullptr;  // the shared library when null
    long lastStatus_ = 0;
};
