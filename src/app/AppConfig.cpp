#include "app/AppConfig.h"

#include <cstdio>
#include <string>

#include "app/Environment.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "platform/mui/Manager.h"
#include "platform/text/Utf8.h"
#include "xml/XmlDocument.h"

namespace {

// The device name when config.xml gives none: the user's data, settings and instance lock are
// all named after it, so it must never be empty.
constexpr const wchar_t* kBuiltInDeviceName = L"Tolvenic";

bool ReadAppConfig()
{
    std::wstring text;
    int flags = 0;
    const std::wstring path = text::Utf8ToWide(GetModuleFolderA() + "/config.xml");
    if (!XmlDocument::LoadFile(text, nullptr, path, &flags)) {
        return false;
    }
    XmlDocument doc;
    if (!doc.SetText(text) || !doc.FindElement(L"config") || !doc.EnterElement()) {
        return false;
    }
    // Children are searched in this order, each search going on after the previous match.
    if (doc.FindElement(L"language.info")) {
        // default_lan is read but InitLanguage always makes the choice.
        [[maybe_unused]] const int defaultLanguage =
            DecimalTextToInt(doc.GetAttribute(L"default_lan"));
        if (doc.EnterElement()) {
            while (doc.FindElement(L"lan")) {
                SupportedLanguages.insert(DecimalTextToInt(doc.GetAttribute(L"value")));
            }
            doc.LeaveElement();
        }
    }
    if (doc.FindElement(L"software")) {
        MUI::Manager::SetDeviceName(doc.GetAttribute(L"name"));
    }
    return true;
}

}  // namespace

bool LoadAppConfig()
{
    SupportedLanguages.clear();
    MUI::Manager::SetDeviceName(L"");
    const bool read = ReadAppConfig();
    if (MUI::Manager::GetDeviceName().empty()) {
        std::fprintf(stderr, "%s/config.xml %s: using the device name %s\n",
                     GetModuleFolderA().c_str(), read ? "names no software" : "cannot be read",
                     text::WideToUtf8(kBuiltInDeviceName).c_str());
        MUI::Manager::SetDeviceName(kBuiltInDeviceName);
    }
    return read;
}
