#include "xml/XmlFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"
#include "xml/XmlDocument.h"
#include "xml/XmlEncoding.h"

namespace {

struct ByteOrderMark {
    std::string_view bytes;
    const wchar_t* name;
    int flag;
};

constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", L"UTF-8", kXmlDocUtf8Bom},
    {"\xFF\xFE", L"UTF-16LE", kXmlDocUtf16Le},
    {"\xFE\xFF", L"UTF-16BE", kXmlDocUtf16Be},
};

constexpr size_t kHeadLength = 1024;

bool IsUtf16(unsigned codePage)
{
    return codePage == text::kCodePageUtf16Le || codePage == text::kCodePageUtf16Be;
}

bool IsUtf32(unsigned codePage)
{
    return codePage == text::kCodePageUtf32Le || codePage == text::kCodePageUtf32Be;
}

// Code pages whose conversion from wide text cannot tell whether a default character was used.
bool ReportsNoLoss(unsigned codePage)
{
    switch (codePage) {
        case 50220:
        case 50221:
        case 50222:
        case 50225:
        case 50227:
        case 50229:
        case 52936:
        case 54936:
        case 65000:
        case 65001:
            return true;
        default:
            return codePage >= 57002 && codePage <= 57011;
    }
}

uint32_t UnitAt(std::string_view bytes, size_t i, int width, bool bigEndian)
{
    uint32_t v = 0;
    for (int k = 0; k < width; ++k) {
        const auto b =
            static_cast<uint8_t>(bytes[i + static_cast<size_t>(bigEndian ? k : width - 1 - k)]);
        v = (v << 8) | b;
    }
    return v;
}

void AppendUnit(std::string& out, uint32_t v, int width, bool bigEndian)
{
    for (int k = 0; k < width; ++k) {
        const int shift = 8 * (bigEndian ? width - 1 - k : k);
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

// 16-bit units to wide text; surrogate pairs become one character, lone ones are kept.
std::wstring FromUtf16(std::string_view bytes)
{
    std::wstring out;
    out.reserve(bytes.size() / 2);
    const size_t units = bytes.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        uint32_t u = UnitAt(bytes, i * 2, 2, false);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const uint32_t lo = UnitAt(bytes, (i + 1) * 2, 2, false);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        out.push_back(static_cast<wchar_t>(u));
    }
    return out;
}

std::string ToUtf16(std::wstring_view wide, bool bigEndian)
{
    std::string out;
    out.reserve(wide.size() * 2);
    for (wchar_t c : wide) {
        auto cp = static_cast<uint32_t>(c);
        if (cp > 0x10FFFF) {
            cp = 0xFFFD;
        }
        if (cp >= 0x10000) {
            AppendUnit(out, 0xD800 + ((cp - 0x10000) >> 10), 2, bigEndian);
            AppendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), 2, bigEndian);
        } else {
            AppendUnit(out, cp, 2, bigEndian);
        }
    }
    return out;
}

std::string ToUtf32(std::wstring_view wide, bool bigEndian)
{
    std::string out;
    out.reserve(wide.size() * 4);
    for (size_t i = 0; i < wide.size(); ++i) {
        auto cp = static_cast<uint32_t>(wide[i]);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size()) {
            const auto lo = static_cast<uint32_t>(wide[i + 1]);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            cp = '?';
        }
        AppendUnit(out, cp, 4, bigEndian);
    }
    return out;
}

}  // namespace

XmlFile::~XmlFile()
{
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool XmlFile::LooksLikeUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<uint8_t>(bytes[i++]);
        if (b == 0) {
            break;
        }
        if (b < 0x80) {
            continue;
        }
        int continuation = 0;
        if ((b & 0x20) == 0) {
            continuation = 1;
        } else if ((b & 0x10) == 0) {
            continuation = 2;
        } else if ((b & 0x08) == 0) {
            continuation = 3;
        } else {
            return false;
        }
        for (; continuation > 0; --continuation, ++i) {
            if (i >= bytes.size() || static_cast<uint8_t>(bytes[i]) < 0x80) {
                return false;
            }
        }
    }
    return true;
}

void XmlFile::FileError(int error)
{
    std::string message = std::error_code(error, std::generic_category()).message();
    if (message.size() > 100) {
        message.resize(100);
    }
    log_.Add(L"file_error", {XmlResultLog::Text(L"msg", text::Utf8ToWide(message)),
                             XmlResultLog::Number(L"n", error)});
}

bool XmlFile::Open(const std::wstring& path, const char* mode)
{
    // Opened without waiting and kept only when it is a regular file: a pipe or a device in
    // the file's place would hold the caller up for as long as nobody writes to it.
    const bool reading = mode[0] == 'r';
    const int access = reading          ? O_RDONLY
                       : mode[0] == 'a' ? O_WRONLY | O_CREAT | O_APPEND
                                        : O_WRONLY | O_CREAT | O_TRUNC;
    errno = 0;
    const int fd = open(text::WideToUtf8(path).c_str(), access | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        FileError(errno != 0 ? errno : ENOENT);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        FileError(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        return false;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file_ = fdopen(fd, mode);
    if (file_ == nullptr) {
        const int error = errno;
        close(fd);
        FileError(error != 0 ? error : EIO);
        return false;
    }
    if (fseeko(file_, 0, SEEK_END) != 0) {
        FileError(errno != 0 ? errno : EIO);
        return false;
    }
    const off_t length = ftello(file_);
    if (length < 0 || fseeko(file_, 0, SEEK_SET) != 0) {
        FileError(errno != 0 ? errno : EIO);
        return false;
    }
    length_ = length;
    return true;
}

bool XmlFile::ReadBytes(char* data, size_t count)
{
    errno = 0;
    if (count != 0 && std::fread(data, 1, count, file_) != count) {
        FileError(errno != 0 ? errno : EIO);
        return false;
    }
    position_ += static_cast<int64_t>(count);
    return true;
}

bool XmlFile::WriteBytes(std::string_view bytes)
{
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        FileError(errno != 0 ? errno : EIO);
        return false;
    }
    position_ += static_cast<int64_t>(bytes.size());
    return true;
}

bool XmlFile::Read(std::wstring& text)
{
    if (length_ > kMaxFileLength) {
        FileError(EFBIG);
        return false;
    }
    std::string bytes(static_cast<size_t>(length_), '\0');
    const size_t head = std::min(bytes.size(), kHeadLength);
    if (!ReadBytes(bytes.data(), head)) {
        return false;
    }
    const std::string_view headBytes(bytes.data(), head);
    size_t skip = 0;
    for (const auto& mark : kMarks) {
        if (headBytes.substr(0, mark.bytes.size()) == mark.bytes) {
            flags_ |= mark.flag;
            unitWidth_ = mark.flag == kXmlDocUtf8Bom ? 1 : 2;
            encoding_ = mark.name;
            skip = mark.bytes.size();
            log_.Add(L"bom");
            break;
        }
    }
    if (skip == 0) {
        encoding_ = XmlSniffEncoding(text::Utf8ToWide(headBytes));
        if (encoding_.empty() && !headBytes.empty() && headBytes[0] == '<') {
            encoding_ = L"UTF-8";
        }
    }
    if (!ReadBytes(bytes.data() + head, bytes.size() - head)) {
        return false;
    }
    std::string& body = bytes;
    body.erase(0, skip);
    body.resize(body.size() - body.size() % static_cast<size_t>(unitWidth_));
    chunkUnits_ = body.size() / static_cast<size_t>(unitWidth_);
    log_.Add(L"read", {XmlResultLog::Text(L"encoding", encoding_),
                       XmlResultLog::Number(L"length", static_cast<long long>(chunkUnits_))});

    // Zero units stand for nothing in a document text.
    const size_t width = static_cast<size_t>(unitWidth_);
    size_t kept = 0;
    for (size_t i = 0; i < body.size(); i += width) {
        bool zero = true;
        for (size_t k = 0; k < width; ++k) {
            zero = zero && body[i + k] == '\0';
        }
        if (!zero) {
            for (size_t k = 0; k < width; ++k) {
                body[kept++] = body[i + k];
            }
        }
    }
    if (kept != body.size()) {
        log_.Add(
            L"nulls_removed",
            {XmlResultLog::Number(L"count", static_cast<long long>((body.size() - kept) / width))});
        body.resize(kept);
    }
    if ((flags_ & kXmlDocUtf16Be) != 0) {
        for (size_t i = 0; i + 1 < body.size(); i += 2) {
            std::swap(body[i], body[i + 1]);
        }
        log_.Add(L"endian_swap");
    }
    if (unitWidth_ == 1 && encoding_.empty()) {
        if (LooksLikeUtf8(body)) {
            encoding_ = L"UTF-8";
            log_.SetOnLast(L"read", L"encoding", encoding_);
        }
        log_.Add(L"utf8_detection");
    }
    unsigned codePage = XmlEncodingToCodePage(encoding_);

    if (unitWidth_ == 2) {
        text = FromUtf16(body);
    } else {
        if (IsUtf16(codePage) || IsUtf32(codePage)) {
            // The declaration was readable as 8-bit text, so the file is not in the 16- or
            // 32-bit encoding it names: read it as 8-bit text instead of decoding garbage.
            codePage = LooksLikeUtf8(body) ? text::kCodePageUtf8 : text::GetAnsiCodePage();
        }
        if (!text::MultiByteToWide(codePage, body, text)) {
            text::MultiByteToWide(text::GetAnsiCodePage(), body, text);
        }
    }
    log_.Add(L"converted_to",
             {XmlResultLog::Text(L"encoding", L"UTF-16"),
              XmlResultLog::Number(L"length", static_cast<long long>(text.size()))});
    return true;
}

bool XmlFile::Write(const std::wstring& text)
{
    const bool fileEmpty = length_ == 0;
    // The first mark asked for, in the table's order, gives both the mark and the encoding.
    int markFlag = 0;
    for (const auto& mark : kMarks) {
        if ((flags_ & mark.flag) != 0) {
            markFlag = mark.flag;
            encoding_ = mark.name;
            unitWidth_ = mark.flag == kXmlDocUtf8Bom ? 1 : 2;
            if (fileEmpty) {
                if (!WriteBytes(mark.bytes)) {
                    return false;
                }
                log_.Add(L"bom");
            }
            break;
        }
    }
    if (text.empty()) {
        log_.Add(L"write",
                 {XmlResultLog::Text(L"encoding", encoding_), XmlResultLog::Number(L"length", 0)});
        return true;
    }
    if (encoding_.empty()) {
        encoding_ = XmlSniffEncoding(text);
        if (encoding_.empty()) {
            encoding_ = L"UTF-8";
        }
    }
    unsigned codePage = XmlEncodingToCodePage(encoding_);
    if (markFlag == kXmlDocUtf16Le) {
        codePage = text::kCodePageUtf16Le;
    } else if (markFlag == kXmlDocUtf16Be) {
        codePage = text::kCodePageUtf16Be;
    } else if (markFlag == kXmlDocUtf8Bom) {
        codePage = text::kCodePageUtf8;
    }
    std::string bytes;
    bool loss = false;
    if (IsUtf16(codePage)) {
        unitWidth_ = 2;
        const bool bigEndian = codePage == text::kCodePageUtf16Be;
        bytes = ToUtf16(text, bigEndian);
        if (bigEndian) {
            log_.Add(L"endian_swap");
        }
    } else if (IsUtf32(codePage)) {
        unitWidth_ = 4;
        bytes = ToUtf32(text, codePage == text::kCodePageUtf32Be);
    } else {
        unitWidth_ = 1;
        bool* lossOut = ReportsNoLoss(codePage) ? nullptr : &loss;
        if (!text::WideToMultiByte(codePage, text, bytes, lossOut)) {
            text::WideToMultiByte(text::GetAnsiCodePage(), text, bytes, lossOut);
        }
    }
    log_.Add(L"converted_from",
             {XmlResultLog::Text(L"encoding", L"UTF-16"),
              XmlResultLog::Number(L"length", static_cast<long long>(text.size()))});
    if (loss) {
        log_.Add(L"conversion_loss");
    }
    if (!WriteBytes(bytes)) {
        return false;
    }
    chunkUnits_ = bytes.size() / static_cast<size_t>(unitWidth_);
    log_.Add(L"write", {XmlResultLog::Text(L"encoding", encoding_),
                        XmlResultLog::Number(L"length", static_cast<long long>(chunkUnits_))});
    return true;
}

bool XmlFile::Load(std::wstring& text, std::wstring* result, const std::wstring& path, int* flags)
{
    text.clear();
    XmlFile file(((flags != nullptr ? *flags : 0) & ~(kXmlDocEncodingBits | kXmlDocModeBits)) |
                 kXmlDocReadingFile);
    bool ok = file.Open(path, "rb") && file.Read(text);
    if (file.file_ != nullptr) {
        std::fclose(file.file_);
        file.file_ = nullptr;
    }
    if (!ok) {
        text.clear();
    }
    file.flags_ &= ~kXmlDocModeBits;
    if (flags != nullptr) {
        *flags = file.flags_;
    }
    if (result != nullptr) {
        *result = file.log_.Text();
    }
    return ok;
}

bool XmlFile::Save(const std::wstring& text, std::wstring* result, const std::wstring& path,
                   int* flags)
{
    const int in = (flags != nullptr ? *flags : 0) & ~(kXmlDocReadingFile | kXmlDocWritingFile);
    XmlFile file(in | kXmlDocWritingFile);
    const bool append = (in & kXmlDocAppendFile) != 0;
    bool ok = file.Open(path, append ? "ab" : "wb") && file.Write(text);
    if (file.file_ != nullptr) {
        errno = 0;
        if (std::fclose(file.file_) != 0 && ok) {
            file.FileError(errno != 0 ? errno : EIO);
            ok = false;
        }
        file.file_ = nullptr;
    }
    file.flags_ &= ~kXmlDocModeBits;
    if (flags != nullptr) {
        *flags = file.flags_;
    }
    if (result != nullptr) {
        *result = file.log_.Text();
    }
    return ok;
}
