#include "platform/os/IniFile.h"

#include <algorithm>
#include <optional>

#include "platform/os/AtomicFile.h"
#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"

namespace os {
namespace {

// UTF-16 without a mark, told by its zero bytes: text of these files is mostly ASCII, whose
// units have a zero high byte (odd offsets little-endian, even ones big-endian), while UTF-8 and
// the ANSI code pages have no zero bytes at all. 0 when the bytes do not look like UTF-16.
unsigned UnmarkedUtf16(std::string_view bytes)
{
    constexpr size_t kLooked = 1024;
    const size_t pairs = std::min(bytes.size(), kLooked) / 2;
    if (pairs < 2) {
        return 0;
    }
    size_t zeroEven = 0;
    size_t zeroOdd = 0;
    for (size_t i = 0; i < pairs; ++i) {
        zeroEven += bytes[2 * i] == '\0';
        zeroOdd += bytes[2 * i + 1] == '\0';
    }
    // Most units one way, hardly any the other.
    if (zeroOdd * 2 >= pairs && zeroEven * 8 < pairs) {
        return text::kCodePageUtf16Le;
    }
    if (zeroEven * 2 >= pairs && zeroOdd * 8 < pairs) {
        return text::kCodePageUtf16Be;
    }
    return 0;
}

// The file as wide text, after its byte-order mark. UTF-16 without a mark is recognised by its
// zero bytes. Other bytes without a mark that are not UTF-8 are read in the ANSI code page, as
// the Windows reader reads a file without a mark.
std::wstring DecodeFile(std::string_view bytes)
{
    std::wstring out;
    if (bytes.starts_with("\xFF\xFE")) {
        text::MultiByteToWide(text::kCodePageUtf16Le, bytes.substr(2), out);
    } else if (bytes.starts_with("\xFE\xFF")) {
        text::MultiByteToWide(text::kCodePageUtf16Be, bytes.substr(2), out);
    } else if (const unsigned utf16 = UnmarkedUtf16(bytes); utf16 != 0) {
        text::MultiByteToWide(utf16, bytes, out);
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        out = text::Utf8ToWide(bytes.substr(3));
    } else if (text::IsValidUtf8(bytes) ||
               !text::MultiByteToWide(text::GetAnsiCodePage(), bytes, out)) {
        out = text::Utf8ToWide(bytes);
    }
    return out;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; }

std::wstring_view Trim(std::wstring_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b)
{
    auto fold = [](wchar_t c) {
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

std::wstring_view StripQuotes(std::wstring_view value)
{
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::wstring ReadIniString(const std::string& filePath, std::wstring_view section,
                           std::wstring_view key)
{
    const std::optional<std::string> bytes = ReadWholeFile(filePath);
    if (!bytes) {
        return {};
    }
    const std::wstring content = DecodeFile(*bytes);
    const std::wstring_view wantedSection = Trim(section);
    const std::wstring_view wantedKey = Trim(key);
    const std::wstring_view all(content);
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t end = all.find_first_of(L"\r\n", pos);
        if (end == std::wstring_view::npos) {
            end = all.size();
        }
        const std::wstring_view line = Trim(all.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) {
            continue;
        }
        if (line.front() == L'[') {
            const std::size_t close = line.find(L']');
            const std::wstring_view name = line.substr(
                1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
            inSection = EqualsNoCase(Trim(name), wantedSection);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t eq = line.find(L'=');
        if (!EqualsNoCase(Trim(line.substr(0, eq)), wantedKey)) {
            continue;
        }
        if (eq == std::wstring_view::npos) {
            return {};
        }
        const std::wstring_view value = StripQuotes(Trim(line.substr(eq + 1)));
        return std::wstring(value.substr(0, kIniValueMax));
    }
    return {};
}

}  // namespace os
