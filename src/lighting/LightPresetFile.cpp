#include "lighting/LightPresetFile.h"

#include <algorithm>
#include <cwchar>

#include "platform/text/ColorText.h"
#include "xml/XmlDocument.h"

namespace {

// A decimal attribute, or no value when it is not a whole decimal number.
std::optional<int> DecimalCode(const std::wstring& text)
{
    if (text.empty()) return std::nullopt;
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str(), &end, 10);
    if (end == nullptr || *end != L'\0' || value < 1 || value > 0xFFFF) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

std::optional<std::vector<PresetKeyColor>> ReadLightPreset(const std::wstring& path, int presetId,
                                                           const std::function<bool(int)>& isKey,
                                                           size_t maxItems)
{
    std::wstring text;
    int flags = 0;
    if (!XmlDocument::LoadFile(text, nullptr, path, &flags)) return std::nullopt;
    XmlDocument doc;
    if (!doc.SetText(text)) return std::nullopt;
    if (!doc.FindElement(L"preconfig_prpfile") || !doc.EnterElement()) return std::nullopt;
    const int n = presetId - kFirstLightPreset;
    if (n < 0 || n >= kLightPresetCount) return std::nullopt;
    const std::wstring element = L"key_light" + std::to_wstring(n + 1);
    if (!doc.FindElement(element)) return std::nullopt;

    std::vector<PresetKeyColor> items;
    if (!doc.EnterElement()) return items;
    while (items.size() < maxItems && doc.FindElement(L"item")) {
        const std::optional<int> code = DecimalCode(doc.GetAttribute(L"key_code"));
        const std::wstring color = doc.GetAttribute(L"key_rgb");
        if (!code || !isKey(*code) || !text::IsColorText(color)) continue;
        const bool named = std::any_of(items.begin(), items.end(), [&](const PresetKeyColor& item) {
            return item.first == *code;
        });
        if (named) continue;
        items.emplace_back(*code, static_cast<int>(text::ParseColorText(color)));
    }
    return items;
}
