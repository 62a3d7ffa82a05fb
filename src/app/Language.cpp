#include "app/Language.h"

#include "app/Environment.h"
#include "app/RegistrySettings.h"
#include "platform/mui/Manager.h"
#include "platform/text/PathText.h"
#include "platform/os/UserLanguage.h"

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
}

std::wstring GetLanguageFilePath()
{
    return text::NormalizePath(GetModuleFolder() + L"language\\" +
                             std::to_wstring(CurrentLanguageId.load()) + L".lan");
}

std::wstring GetLanString(int id, const std::wstring& section)
{
    return GetIniString(section, std::to_wstring(id), GetLanguageFilePath());
}

std::wstring GetSkinPath()
{
    return text::NormalizePath(GetModuleFolder() + L"skins\\" + MUI::Manager::GetTheme());
}
