#include <gtest/gtest.h>

#include "app/AppConfig.h"
#include "app/AppTestSupport.h"
#include "app/Environment.h"
#include "app/Language.h"
#include "platform/text/Utf8.h"

namespace {

struct Case {
    const char* what;
    const char* xml;  // nothing: no file
    bool ok;
    std::set<int> languages;
    // A file that names no software gives the built-in name, never an empty one or the
    // name set before.
    std::wstring deviceName;
};

TEST(AppConfig, ReadsLanguagesAndDeviceName)
{
    const Case cases[] = {
        {"complete file",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<config>\n"
         "  <language.info default_lan=\"1033\">\n"
         "    <lan value=\"1033\"/>\n    <lan value=\"2052\"/>\n  </language.info>\n"
         "  <software name=\"Tolvenic\" version=\"1.0.3\">\n"
         "    <website url=\"https://a\"/><store url=\"https://b\"/>\n  </software>\n"
         "</config>\n",
         true,
         {1033, 2052},
         L"Tolvenic"},
        {"software before the language list is not found",
         "<config><software name=\"Late\"/><language.info><lan value=\"1041\"/>"
         "</language.info></config>",
         true,
         {1041},
         L"Tolvenic"},
        {"no language list", "<config><software name=\"Only\"/></config>", true, {}, L"Only"},
        {"malformed",
         "<config><language.info><lan value=\"1033\"></config>",
         false,
         {},
         L"Tolvenic"},
        {"not xml at all", "\x01\x02garbage", false, {}, L"Tolvenic"},
        {"missing file", nullptr, false, {}, L"Tolvenic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto folder = apptest::FreshFolder("config");
        if (c.xml != nullptr) {
            apptest::WriteText(folder / "config.xml", c.xml);
        }
        SetModuleFolder(text::Utf8ToWide(folder.string()));
        MUI::Manager::SetDeviceName(L"Before");
        SupportedLanguages = {9999};
        EXPECT_EQ(LoadAppConfig(), c.ok);
        EXPECT_EQ(SupportedLanguages, c.languages);
        EXPECT_EQ(MUI::Manager::GetDeviceName(), c.deviceName);
    }
    SetModuleFolder(L"");
    SupportedLanguages.clear();
}

}  // namespace
