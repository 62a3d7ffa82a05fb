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

// Reads config.xml into the document and enters its root element.
bool OpenAppConfig(XmlDocument& doc)
{
    std::wstring text;
    int flags = 0;
    const std::wstring path = text::Utf8ToWide(GetModuleFolderA() + "/config.xml");
    return XmlDocument::LoadFile(text, nullptr, path, &flags) && doc.SetText(text) &&
           doc.FindElement(L"config") && doc.EnterElement();
}

bool ReadAppConfig()
{
    XmlDocument doc;
    if (!OpenAppConfig(doc)) {
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

void ReadSoftwareInfo(std::wstring& version, std::wstring& storeLink)
{
    XmlDocument doc;
    if (!OpenAppConfig(doc) || !doc.FindElement(L"software")) {
        return;
    }
    version = doc.GetAttribute(L"version");
    if (doc.EnterElement() && doc.FindElement(L"store")) {
        storeLink = doc.GetAttribute(L"url");
    }
}

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
