#include "update/UpdateDownloader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/text/Utf8.h"
#include "update/CurlLibrary.h"
#include "update/TransferBreaks.h"

namespace {

constexpr const char* kUserAgent = "IIC2.0/PC 5.5.0000";
constexpr long kMaxRedirects = 5;

// Progress steps: before the request, after the handle, after the reply started, at the body's
// start; the body then fills the rest up to 99, and 100 marks the complete file.
constexpr int kProgressHandle = 2;
constexpr int kProgressOpened = 8;
constexpr int kProgressBody = 10;
constexpr int kProgressBodyLast = 99;

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The system's CA bundle followed by the CA file the environment adds; empty when nothing is
// added (the library then uses its own store as it is).
std::string TrustedCertificates(const CurlLibrary& curl, CURL* handle)
{
    const char* extra = std::getenv("TOLVENIC_UPDATE_CA_FILE");
    if (extra == nullptr || *extra == '\0') {
        return {};
    }
    std::string bundle;
    char* systemFile = nullptr;
    if (curl.easyGetinfo(handle, CURLINFO_CAINFO, &systemFile) == CURLE_OK &&
        systemFile != nullptr) {
        bundle = ReadWholeFile(systemFile);
    }
    bundle += '\n';
    bundle += ReadWholeFile(extra);
    return bundle;
}

}  // namespace

// What one transfer writes to and reports.
struct UpdateDownloader::Transfer {
    UpdateDownloader* owner = nullptr;
    std::string* text = nullptr;  // FetchText
    int fd = -1;                  // DownloadFile
    uint64_t received = 0;
    uint64_t limit = 0;
    const std::function<void(int)>* progress = nullptr;
    bool started = false;

    void Report(int percent)
    {
        if (progress == nullptr || !*progress || percent == owner->lastPercent) {
            return;
        }
        owner->lastPercent = percent;
        (*progress)(percent);
    }

    static size_t Write(char* data, size_t size, size_t count, void* user)
    {
        auto* self = static_cast<Transfer*>(user);
        const size_t bytes = size * count;
        if (!self->started) {
            self->started = true;
            self->Report(kProgressOpened);
            self->Report(kProgressBody);
        }
        if (self->received + bytes > self->limit) {
            return 0;  // too long: the transfer fails
        }
        if (self->text != nullptr) {
            self->text->append(data, bytes);
        } else {
            size_t done = 0;
            while (done < bytes) {
                const ssize_t n = ::write(self->fd, data + done, bytes - done);
                if (n <= 0) {
                    return 0;
                }
                done += static_cast<size_t>(n);
            }
        }
        self->received += bytes;
        return bytes;
    }

    static int Progress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t)
    {
        auto* self = static_cast<Transfer*>(user);
        if (self->owner->running.load() == 0) {
            return 1;  // cancelled: the library ends the transfer
        }
        TransferBreaks::Take();
        if (self->started && total > 0) {
            const curl_off_t span = kProgressBodyLast - kProgressBody;
            const curl_off_t value = kProgressBody + span * std::min(now, total) / total;
            self->Report(
                static_cast<int>(std::max<curl_off_t>(value, self->owner->lastPercent.load())));
        }
        return 0;
    }
};

int UpdateDownloader::Perform(const std::wstring& url, Transfer& transfer)
{
    lastStatus_ = 0;
    const CurlLibrary& curl = curl_ != nullptr ? *curl_ : CurlLibrary::Shared();
    if (!curl.Usable()) {
        return kFailed;  // as a transfer that reached no server
    }
    std::unique_ptr<CURL, decltype(curl.easyCleanup)> owned(curl.easyInit(), curl.easyCleanup);
    if (!owned) {
        return kNoHandle;
    }
    transfer.Report(kProgressHandle);
    CURL* handle = owned.get();
    std::unique_ptr<curl_slist, decltype(curl.slistFreeAll)> headers(
        curl.slistAppend(nullptr, "Accept: */*"), curl.slistFreeAll);
    curl.slistAppend(headers.get(), "Cache-Control: no-cache");
    curl.slistAppend(headers.get(), "Pragma: no-cache");

    const std::string address = text::WideToUtf8(url);
    curl.easySetopt(handle, CURLOPT_URL, address.c_str());
    curl.easySetopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl.easySetopt(handle, CURLOPT_USERAGENT, kUserAgent);
    curl.easySetopt(handle, CURLOPT_PROTOCOLS_STR, "https");
    curl.easySetopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl.easySetopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl.easySetopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl.easySetopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl.easySetopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl.easySetopt(handle, CURLOPT_FAILONERROR, 1L);
    curl.easySetopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl.easySetopt(handle, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl.easySetopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl.easySetopt(handle, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedTimeS);
    curl.easySetopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(transfer.limit));
    curl.easySetopt(handle, CURLOPT_WRITEFUNCTION, &Transfer::Write);
    curl.easySetopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl.easySetopt(handle, CURLOPT_XFERINFOFUNCTION, &Transfer::Progress);
    curl.easySetopt(handle, CURLOPT_XFERINFODATA, &transfer);
    curl.easySetopt(handle, CURLOPT_NOPROGRESS, 0L);
    const std::string certificates = TrustedCertificates(curl, handle);
    if (!certificates.empty()) {
        curl_blob blob{const_cast<char*>(certificates.data()), certificates.size(),
                       CURL_BLOB_NOCOPY};
        curl.easySetopt(handle, CURLOPT_CAINFO_BLOB, &blob);
    }

    const CURLcode code = curl.easyPerform(handle);
    curl.easyGetinfo(handle, CURLINFO_RESPONSE_CODE, &lastStatus_);
    if (running.load() == 0) {
        return kCancelled;
    }
    if (code != CURLE_OK || lastStatus_ < 200 || lastStatus_ > 299) {
        return kFailed;
    }
    return kComplete;
}

int UpdateDownloader::FetchText(const std::wstring& url, std::wstring& text)
{
    running = 1;
    std::string body;
    Transfer transfer;
    transfer.owner = this;
    transfer.text = &body;
    transfer.limit = limits.maxTextBytes;
    const int result = Perform(url, transfer);
    text = text::Utf8ToWide(body);
    return result;
}

int UpdateDownloader::DownloadFile(const std::wstring& url, const std::wstring& path,
                                   const std::function<void(int)>& progress)
{
    running = 1;
    Transfer transfer;
    transfer.owner = this;
    transfer.progress = &progress;
    transfer.limit = limits.maxFileBytes;
    transfer.Report(0);
    const std::string file = text::WideToUtf8(path);
    ::unlink(file.c_str());
    transfer.fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (transfer.fd < 0) {
        return kFailed;
    }
    int result = Perform(url, transfer);
    if (::close(transfer.fd) != 0 && result == kComplete) {
        result = kFailed;
    }
    if (result != kComplete) {
        ::unlink(file.c_str());
        return result;
    }
    transfer.Report(100);
    return result;
}
