#include "macros/MacroXml.h"

#include <filesystem>
#include <system_error>

#include "device/MacroImage.h"
#include "macros/MacroSteps.h"
#include "macros/ProfileFileLimits.h"
#include "platform/text/DecimalText.h"
#include "platform/text/Utf8.h"
#include "xml/XmlDocument.h"

namespace {

constexpr const wchar_t* kDeclaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
// Key steps hold a virtual key, a modifier usage or a plain key of the modifier range; mouse
// steps a button.
constexpr int kMaxStepValue = kMacroPlainKeyFlag | 0xFF;

// The attribute's number; a text that is not a plain decimal number refuses the file.
int Number(const XmlDocument& doc, const wchar_t* name, bool& ok)
{
    const std::optional<int32_t> value = StrictDecimalToInt(doc.GetAttribute(name));
    if (!value) ok = false;
    return value.value_or(0);
}

}  // namespace

std::wstring MacroXmlText(const MacroRecord& header, const std::vector<MacroStepRecord>& steps)
{
    XmlDocument doc;
    doc.SetText(kDeclaration);
    doc.AddElement(L"macro");
    doc.EnterElement();
    doc.AddElement(L"macroinfo");
    doc.SetAttribute(L"name", FileText(header.name));
    doc.SetAttribute(L"times", header.play_times);
    doc.SetAttribute(L"type", header.delay_type);
    doc.SetAttribute(L"delaytime", header.delay_time);
    doc.AddElement(L"macroitems");
    doc.EnterElement();
    for (const MacroStepRecord& step : steps) {
        doc.AddElement(L"item");
        doc.SetAttribute(L"desc", FileText(step.desc));
        doc.SetAttribute(L"type", step.type);
        doc.SetAttribute(L"value", step.value);
        doc.SetAttribute(L"delay_time", step.delay_time);
    }
    doc.LeaveElement();
    doc.LeaveElement();
    return doc.GetText();
}

bool SaveMacroXml(const std::wstring& path, const MacroRecord& header,
                  const std::vector<MacroStepRecord>& steps)
{
    int flags = 0;
    return XmlDocument::SaveFile(MacroXmlText(header, steps), nullptr, path, &flags);
}

std::optional<MacroFile> ParseMacroXml(const std::wstring& text)
{
    XmlDocument doc;
    if (!doc.SetText(text) || !doc.FindElement(L"macro") || !doc.EnterElement() ||
        !doc.FindElement(L"macroinfo")) {
        return std::nullopt;
    }
    bool ok = true;
    MacroFile file;
    file.header.name = FileText(doc.GetAttribute(L"name"));
    file.header.play_times =
        ClampToRange(Number(doc, L"times", ok), kMacroMinPlayTimes, kMacroMaxPlayTimes);
    file.header.delay_type =
        ClampToRange(Number(doc, L"type", ok), MACRO_DELAY_RECORDED, MACRO_DELAY_FIXED);
    file.header.delay_time = ClampToRange(Number(doc, L"delaytime", ok), 0, kMacroMaxDelay);
    // The keyboard plays a bound macro link_count times, which the macro page keeps equal to
    // the play count.
    file.header.link_count = file.header.play_times;
    if (!ok) return std::nullopt;
    if (!doc.FindElement(L"macroitems") || !doc.EnterElement()) return file;
    while (doc.FindElement(L"item")) {
        if (file.steps.size() >= kMacroImageMaxSteps) return std::nullopt;
        MacroStepRecord step;
        step.record_index = static_cast<int>(file.steps.size());
        step.desc = FileText(doc.GetAttribute(L"desc"));
        step.type = Number(doc, L"type", ok);
        step.value = Number(doc, L"value", ok);
        step.delay_time = ClampToRange(Number(doc, L"delay_time", ok), 0, kMacroMaxDelay);
        if (!ok || !IsMacroStepType(step.type) || step.value < 0 || step.value > kMaxStepValue) {
            return std::nullopt;
        }
        file.steps.push_back(std::move(step));
    }
    return file;
}

std::optional<MacroFile> LoadMacroXml(const std::wstring& path)
{
    std::error_code error;
    const std::filesystem::path file(text::WideToUtf8(path));
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > static_cast<std::uintmax_t>(kMacroFileMaxBytes)) return std::nullopt;
    std::wstring text;
    int flags = 0;
    if (!XmlDocument::LoadFile(text, nullptr, path, &flags)) return std::nullopt;
    return ParseMacroXml(text);
}
