#include "platform/os/UserLanguage.h"

#include <cstdlib>
#include <string>

namespace os {
namespace {

struct LocaleId {
    std::string_view name;  // "ll" or "ll_CC"
    int id;
};

// Windows language ids; a bare language gives the id of the country listed first for it.
constexpr LocaleId kIds[] = {
    {"en", 1033},    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105},
    {"zh", 2052},    {"zh_CN", 2052}, {"zh_SG", 4100}, {"zh_TW", 1028}, {"zh_HK", 3076},
    {"zh_MO", 5124}, {"ja", 1041},    {"ja_JP", 1041}, {"ko", 1042},    {"ko_KR", 1042},
    {"de", 1031},    {"de_DE", 1031}, {"de_AT", 3079}, {"de_CH", 2055}, {"fr", 1036},
    {"fr_FR", 1036}, {"fr_CA", 3084}, {"fr_BE", 2060}, {"fr_CH", 4108}, {"es", 3082},
    {"es_ES", 3082}, {"es_MX", 2058}, {"it", 1040},    {"it_IT", 1040}, {"pt", 2070},
    {"pt_PT", 2070}, {"pt_BR", 1046}, {"ru", 1049},    {"ru_RU", 1049}, {"pl", 1045},
    {"nl", 1043},    {"nl_BE", 2067}, {"tr", 1055},    {"uk", 1058},    {"cs", 1029},
    {"sv", 1053},    {"da", 1030},    {"fi", 1035},    {"nb", 1044},    {"no", 1044},
    {"hu", 1038},    {"el", 1032},    {"he", 1037},    {"ar", 1025},    {"th", 1054},
    {"vi", 1066},    {"id", 1057},    {"ms", 1086},    {"ro", 1048},    {"bg", 1026},
    {"hr", 1050},    {"sk", 1051},    {"sl", 1060},    {"lt", 1063},    {"lv", 1062},
    {"et", 1061},
};

int Lookup(std::string_view name)
{
    for (const LocaleId& entry : kIds) {
        if (entry.name == name) {
            return entry.id;
        }
    }
    return 0;
}

}  // namespace

int LanguageIdFromLocaleName(std::string_view locale)
{
    // Drop ".codeset" and "@modifier"; accept '-' as the separator too.
    const std::size_t cut = locale.find_first_of(".@");
    std::string name(locale.substr(0, cut));
    for (char& c : name) {
        if (c == '-') {
            c = '_';
        }
    }
    const std::size_t sep = name.find('_');
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (i < sep && c >= 'A' && c <= 'Z') {
            name[i] = static_cast<char>(c - 'A' + 'a');
        } else if (i > sep && c >= 'a' && c <= 'z') {
            name[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (const int id = Lookup(name)) {
        return id;
    }
    return sep == std::string::npos ? 0 : Lookup(name.substr(0, sep));
}

int GetUserDefaultUILanguage()
{
    for (const char* var : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value == nullptr || value[0] == '\0') {
            continue;
        }
        std::string_view text(value);
        if (std::string_view(var) == "LANGUAGE") {
            text = text.substr(0, text.find(':'));
        }
        // The first variable that is set decides, as the C library's lookup does.
        const int id = LanguageIdFromLocaleName(text);
        return id != 0 ? id : 1033;
    }
    return 1033;
}

}  // namespace os
