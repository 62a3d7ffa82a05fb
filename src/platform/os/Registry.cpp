#include "platform/os/Registry.h"

#include <unistd.h>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/os/AtomicFile.h"
#include "platform/os/Autostart.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/Utf8.h"

namespace os {
namespace {

constexpr std::wstring_view kSoftwarePrefix = L"SOFTWARE\\";
constexpr std::wstring_view kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

using Values = std::vector<std::pair<std::wstring, std::wstring>>;

// One lock for every read-modify-write of a store file in this process.
std::mutex& StoreMutex()
{
    static std::mutex mutex;
    return mutex;
}

wchar_t FoldAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool IsRunKey(const std::wstring& keyName) { return EqualsNoCase(keyName, kRunKey); }

// "SOFTWARE\<name>" and "<name>" name the same store.
std::string StoreFolder(const std::wstring& keyName)
{
    std::wstring name = keyName;
    if (StartsWithNoCase(name, kSoftwarePrefix)) {
        name.erase(0, kSoftwarePrefix.size());
    }
    const std::string home = ConfigHome();
    return home.empty() ? std::string() : home + "/" + SafeFileName(name);
}

// Empty without a configuration folder: then no key exists and none can be made.
std::string StorePath(const std::wstring& keyName)
{
    const std::string folder = StoreFolder(keyName);
    return folder.empty() ? std::string() : folder + "/registry.ini";
}

// File form: one "name=value" line per value, UTF-8; '\' escapes '\', '=' (in names) and
// line breaks, and a leading '[' of a name. Lines that do not hold a value (the header, blanks,
// damage) are skipped.
std::string Escape(std::string_view text, bool isName)
{
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '=':
                out += isName ? "\\=" : "=";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

Values Parse(std::string_view file)
{
    Values values;
    std::size_t pos = 0;
    while (pos < file.size()) {
        std::size_t end = file.find('\n', pos);
        if (end == std::string_view::npos) {
            end = file.size();
        }
        std::string_view line = file.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '[') {
            continue;
        }
        std::size_t eq = 0;
        while (eq < line.size() && line[eq] != '=') {
            eq += line[eq] == '\\' ? 2 : 1;
        }
        if (eq >= line.size()) {
            continue;
        }
        values.emplace_back(text::Utf8ToWide(Unescape(line.substr(0, eq))),
                            text::Utf8ToWide(Unescape(line.substr(eq + 1))));
    }
    return values;
}

std::string Serialise(const std::wstring& keyName, const Values& values)
{
    std::string out = "[";
    out += Escape(text::WideToUtf8(keyName), true);
    out += "]\n";
    for (const auto& [name, value] : values) {
        std::string escapedName = Escape(text::WideToUtf8(name), true);
        if (escapedName.starts_with('[')) {
            escapedName.insert(0, 1, '\\');  // keeps it apart from a header line
        }
        out += escapedName + "=" + Escape(text::WideToUtf8(value), false) + "\n";
    }
    return out;
}

}  // namespace

bool RegKeyExists(const std::wstring& keyName)
{
    if (IsRunKey(keyName)) {
        return true;
    }
    const std::string path = StorePath(keyName);
    return std::filesystem::is_regular_file(path) && access(path.c_str(), R_OK) == 0;
}

bool RegCreateKey(const std::wstring& keyName)
{
    if (IsRunKey(keyName)) {
        return true;
    }
    std::lock_guard<std::mutex> lock(StoreMutex());
    const std::string path = StorePath(keyName);
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        return RegKeyExists(keyName);
    }
    std::filesystem::create_directories(StoreFolder(keyName), ec);
    return WriteFileAtomic(path, Serialise(keyName, {}));
}

std::optional<std::wstring> RegReadString(const std::wstring& keyName,
                                          const std::wstring& valueName)
{
    if (IsRunKey(keyName)) {
        return ReadAutostart(valueName);
    }
    std::lock_guard<std::mutex> lock(StoreMutex());
    const std::optional<std::string> file = ReadWholeFile(StorePath(keyName));
    if (!file) {
        return std::nullopt;
    }
    for (const auto& [name, value] : Parse(*file)) {
        if (EqualsNoCase(name, valueName)) {
            return value;
        }
    }
    return std::nullopt;
}

bool RegWriteString(const std::wstring& keyName, const std::wstring& valueName,
                    const std::wstring& value)
{
    if (IsRunKey(keyName)) {
        return WriteAutostart(valueName, value);
    }
    std::lock_guard<std::mutex> lock(StoreMutex());
    const std::string path = StorePath(keyName);
    const std::optional<std::string> file = path.empty() ? std::nullopt : ReadWholeFile(path);
    if (!file) {
        return false;
    }
    Values values = Parse(*file);
    bool replaced = false;
    for (auto& [name, old] : values) {
        if (EqualsNoCase(name, valueName)) {
            old = value;
            replaced = true;
            break;
        }
    }
    if (!replaced) {
        values.emplace_back(valueName, value);
    }
    return WriteFileAtomic(path, Serialise(keyName, values));
}

}  // namespace os
