#include "app/Language.h"

#include <cstdio>

#include "app/Environment.h"
#include "app/LanguageTexts.h"
#include "app/RegistrySettings.h"
#include "platform/mui/Manager.h"
#include "platform/os/UserLanguage.h"
#include "platform/text/PathText.h"
#include "platform/text/Utf8.h"

std::atomic<int> CurrentLanguageId{1033};
std::set<int> SupportedLanguages;

namespace {

constexpr int kDefaultLanguage = 1033;

bool IsSupported(int id) { return SupportedLanguages.count(id) != 0; }

}  // namespace

void InitLanguage()
{
    int id = GetLanguageId();
    if (id == 0) {
        id = os::GetUserDefaultUILanguage();
        SetLanguageId(IsSupported(id) ? id : kDefaultLanguage);
    }
    // This run keeps the chosen id even when it is not listed; the next start reads 1033.
    if (!IsSupported(id)) {
        SetLanguageId(kDefaultLanguage);
    }
    CurrentLanguageId = id;
    // A file that is there but yields no text at all (an encoding the reader cannot make out)
    // would leave every control blank: the built-in language reads better, and for the default
    // language the built-in English texts stand in for each one.
    const std::string path = text::WideToUtf8(GetLanguageFilePath());
    if (LanguageTexts::GivesNoText(path)) {
        if (id != kDefaultLanguage) {
            std::fprintf(stderr, "%s gives no texts: using language %d\n", path.c_str(),
                         kDefaultLanguage);
            CurrentLanguageId = kDefaultLanguage;
        }
        const std::string defaultPath = text::WideToUtf8(GetLanguageFilePath());
        if (LanguageTexts::GivesNoText(defaultPath)) {
            std::fprintf(stderr, "%s gives no texts: using the built-in English texts\n",
                         defaultPath.c_str());
        }
    }
}

std::wstring GetLanguageFilePath()
{
    return text::NormalizePath(GetModuleFolder() + L"language\\" +
                               std::to_wstring(CurrentLanguageId.load()) + L".lan");
}

std::wstring GetLanString(int id, const std::wstring& section)
{
    return LanguageTexts::Lookup(text::WideToUtf8(GetLanguageFilePath()), section,
                                 std::to_wstring(id));
}

std::wstring GetNameWord(int id) { return GetLanString(id); }

std::wstring GetSkinPath()
{
    return text::NormalizePath(GetModuleFolder() + L"skins\\" + MUI::Manager::GetTheme());
}
