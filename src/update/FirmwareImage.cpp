#include "update/FirmwareImage.h"

#include <fstream>
#include <iterator>

#include "platform/text/Utf8.h"

std::vector<uint8_t> LoadFirmwareImage(const std::wstring& path, size_t capacity)
{
    std::ifstream file(text::WideToUtf8(path), std::ios::binary | std::ios::ate);
    if (!file) {
        return {};
    }
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > capacity) {
        return {};
    }
    std::vector<uint8_t> image(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(image.data()), size)) {
        return {};
    }
    image.resize((image.size() + 3) / 4 * 4, 0);
    if (image.size() <= kFirmwareImageMinimum || image.size() > capacity) {
        return {};
    }
    return image;
}
