#include "platform/os/TestAnswers.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/text/Utf8.h"

namespace os {

std::optional<std::wstring> TestFileAnswer()
{
    const char* path = std::getenv("TOLVENIC_TEST_FILE_ANSWER");
    if (path == nullptr || *path == '\0') return std::nullopt;
    return text::Utf8ToWide(path);
}

std::optional<int> TestMessageAnswer(const std::wstring& text, const std::wstring& caption)
{
    const char* answer = std::getenv("TOLVENIC_TEST_MESSAGE_ANSWER");
    if (answer == nullptr || *answer == '\0') return std::nullopt;
    char* end = nullptr;
    const long button = std::strtol(answer, &end, 10);
    if (end == answer || *end != '\0') return std::nullopt;
    std::fprintf(stderr, "message box caption=\"%s\" text=\"%s\" answer=%ld\n",
                 text::WideToUtf8(caption).c_str(), text::WideToUtf8(text).c_str(), button);
    std::fflush(stderr);
    return static_cast<int>(button);
}

}  // namespace os
