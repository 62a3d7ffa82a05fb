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

std::wstring Folded(std::wstring_view section, std::wstring_view key)
{
    std::wstring out;
    out.reserve(section.size() + key.size() + 1);
    auto add = [&out](std::wstring_view part) {
        for (const wchar_t c : part) {
            out += (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
        }
    };
    add(Trim(section));
    out += L'\n';
    add(Trim(key));
    return out;
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

std::optional<IniFile> IniFile::Read(const std::string& filePath, std::size_t maxBytes)
{
    const std::optional<std::string> bytes = ReadWholeFile(filePath, maxBytes);
    if (!bytes) {
        return std::nullopt;
    }
    return Parse(*bytes);
}

IniFile IniFile::Parse(std::string_view bytes)
{
    IniFile file;
    const std::wstring content = DecodeFile(bytes);
    const std::wstring_view all(content);
    std::wstring_view section;
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
            section = line.substr(
                1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
            inSection = true;
            continue;
        }
        if (!inSection) {
            continue;
        }
        // A key without '=' has no value, and hides any later line of the same key.
        const std::size_t eq = line.find(L'=');
        const std::wstring_view value = eq == std::wstring_view::npos
                                            ? std::wstring_view()
                                            : StripQuotes(Trim(line.substr(eq + 1)));
        file.values_.emplace(Folded(section, line.substr(0, eq)),
                             std::wstring(value.substr(0, kIniValueMax)));
    }
    return file;
}

std::wstring IniFile::Value(std::wstring_view section, std::wstring_view key) const
{
    const auto found = values_.find(Folded(section, key));
    return found == values_.end() ? std::wstring() : found->second;
}

std::wstring ReadIniString(const std::string& filePath, std::wstring_view section,
                           std::wstring_view key)
{
    const std::optional<IniFile> file = IniFile::Read(filePath);
    return file ? file->Value(section, key) : std::wstring();
}

}  // namespace os
