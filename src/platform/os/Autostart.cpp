#include "platform/os/Autostart.h"

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <string_view>

#include "platform/os/AtomicFile.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/Utf8.h"

namespace os {
namespace {

// The command as written, kept beside Exec so that it reads back unchanged.
constexpr std::string_view kCommandKey = "X-Tolvenic-Command=";
constexpr std::string_view kExecKey = "Exec=";

std::string EntryFolder() { return ConfigHome() + "/autostart"; }

std::string EntryPath(const std::wstring& name)
{
    return EntryFolder() + "/" + SafeFileName(name) + ".desktop";
}

// Desktop-entry string escapes: the value stays on one line.
std::string EscapeValue(std::string_view value)
{
    std::string out;
    for (char c : value) {
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
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string UnescapeValue(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 's':
                out += ' ';
                break;
            default:
                out += value[i];
        }
    }
    return out;
}

// One Exec argument in double quotes, with the characters that need it escaped.
std::string QuoteArgument(std::string_view arg)
{
    std::string out = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> FindLineValue(std::string_view file, std::string_view key)
{
    std::size_t pos = 0;
    while (pos < file.size()) {
        std::size_t end = file.find('\n', pos);
        if (end == std::string_view::npos) {
            end = file.size();
        }
        std::string_view line = file.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.starts_with(key)) {
            return UnescapeValue(line.substr(key.size()));
        }
        pos = end + 1;
    }
    return std::nullopt;
}

}  // namespace

std::string DesktopExecLine(const std::wstring& command)
{
    const std::string cmd = text::WideToUtf8(command);
    // The program part is the longest prefix, ending before a blank, that names an executable
    // file; that keeps a folder with blanks in one argument. Otherwise the text is used as it is.
    std::string program;
    std::string rest;
    for (std::size_t blank = cmd.size(); blank != std::string::npos && blank > 0;
         blank = cmd.rfind(' ', blank - 1)) {
        const std::string prefix = cmd.substr(0, blank);
        if (prefix.find(' ') != std::string::npos && IsExecutableFile(prefix)) {
            program = QuoteArgument(prefix);
            rest = cmd.substr(blank);
            break;
        }
    }
    std::string line = program.empty() ? cmd : program + rest;
    // A literal percent sign is written doubled (field codes start with one).
    std::string out;
    for (char c : line) {
        out += c;
        if (c == '%') {
            out += '%';
        }
    }
    return EscapeValue(out);
}

std::optional<std::wstring> ReadAutostart(const std::wstring& name)
{
    const std::optional<std::string> file = ReadWholeFile(EntryPath(name));
    if (!file) {
        return std::nullopt;
    }
    std::optional<std::string> command = FindLineValue(*file, kCommandKey);
    if (!command) {
        command = FindLineValue(*file, kExecKey);
    }
    return text::Utf8ToWide(command.value_or(std::string()));
}

bool WriteAutostart(const std::wstring& name, const std::wstring& command)
{
    if (ConfigHome().empty()) {
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(EntryFolder(), ec);
    const std::string entry =
        "[Desktop Entry]\nType=Application\nName=" + EscapeValue(text::WideToUtf8(name)) + "\n" +
        std::string(kExecKey) + DesktopExecLine(command) + "\n" + std::string(kCommandKey) +
        EscapeValue(text::WideToUtf8(command)) +
        "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
    return WriteFileAtomic(EntryPath(name), entry);
}

bool DeleteAutostart(const std::wstring& name)
{
    std::error_code ec;
    std::filesystem::remove(EntryPath(name), ec);
    return !std::filesystem::exists(EntryPath(name), ec);
}

}  // namespace os
