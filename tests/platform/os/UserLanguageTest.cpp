#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/os/UserLanguage.h"

namespace {

TEST(UserLanguage, LocaleNamesMapToWindowsLanguageIds)
{
    const std::pair<const char*, int> cases[] = {
        {"en_US.UTF-8", 1033}, {"zh_CN.UTF-8", 2052}, {"zh_TW", 1028},
        {"zh-hk", 3076},       {"ja", 1041},          {"de_AT@euro", 3079},
        {"de_LU", 1031},       {"pt_BR.utf8", 1046},  {"C", 0},
        {"POSIX", 0},          {"xx_YY", 0},          {"", 0},
    };
    for (const auto& [locale, id] : cases) {
        EXPECT_EQ(os::LanguageIdFromLocaleName(locale), id) << locale;
    }
}

TEST(UserLanguage, FirstLocaleVariableSetDecides)
{
    const char* vars[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char* var : vars) {
        unsetenv(var);
    }
    EXPECT_EQ(os::GetUserDefaultUILanguage(), 1033);
    setenv("LANG", "ko_KR.UTF-8", 1);
    EXPECT_EQ(os::GetUserDefaultUILanguage(), 1042);
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(os::GetUserDefaultUILanguage(), 1033);
    setenv("LANGUAGE", "zh_CN:en", 1);
    EXPECT_EQ(os::GetUserDefaultUILanguage(), 2052);
    for (const char* var : vars) {
        unsetenv(var);
    }
}

}  // namespace
