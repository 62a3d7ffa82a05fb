#include "macros/ProfileFile.h"

#include <filesystem>
#include <system_error>

#include "macros/ProfileXml.h"
#include "platform/os/AtomicFile.h"
#include "platform/text/Utf8.h"
#include "xml/XmlDocument.h"

std::optional<ProfileFileContent> LoadProfileFile(const std::wstring& path)
{
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(std::filesystem::path(path), error);
    if (error || size > kProfileFileMaxBytes) return std::nullopt;
    std::wstring text;
    int flags = 0;
    if (!XmlDocument::LoadFile(text, nullptr, path, &flags)) return std::nullopt;
    return ReadProfileXml(text);
}

bool SaveProfileFile(const std::wstring& path, const ProfileFileContent& content)
{
    return os::WriteFileAtomic(text::WideToUtf8(path), text::WideToUtf8(BuildProfileXml(content)));
}
