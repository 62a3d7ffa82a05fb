#include "app/LayoutFile.h"

#include <algorithm>
#include <cwchar>

#include "app/RegistrySettings.h"
#include "xml/XmlDocument.h"

namespace {

int DigitValue(wchar_t c) { return (c >= L'0' && c <= L'9') ? c - L'0' : -1; }

// Hexadecimal text as the layout writes codes and colours ("29", "0x29", "FF232323").
uint32_t HexTextToUInt(const std::wstring& text)
{
    return static_cast<uint32_t>(std::wcstoul(text.c_str(), nullptr, 16));
}

int Attr(const XmlDocument& doc, const wchar_t* name)
{
    return DecimalTextToInt(doc.GetAttribute(name));
}

// A number of the file kept within 0..max.
int Bounded(const XmlDocument& doc, const wchar_t* name, int max)
{
    return std::clamp(Attr(doc, name), 0, max);
}

void ReadLight(const XmlDocument& doc, LayoutFileData& data)
{
    data.hasLight = true;
    data.rgbKeyboard = doc.GetAttribute(L"rgb_keyboard") == L"1";
    data.defaultMode = Attr(doc, L"default_mode");
    data.defaultBrightness = Attr(doc, L"default_brightness");
    data.defaultSpeed = Attr(doc, L"default_speed");
    data.brightnessMax = Attr(doc, L"brightness_max");
}

void ReadKey(const XmlDocument& doc, LayoutFileData& data)
{
    LayoutKeyItem key;
    key.code = static_cast<int>(HexTextToUInt(doc.GetAttribute(L"code")));
    key.name = doc.GetAttribute(L"name");
    key.desc = doc.GetAttribute(L"desc");
    key.icon = doc.GetAttribute(L"icon");
    key.left = Bounded(doc, L"rect_left", kLayoutExtentMax);
    key.top = Bounded(doc, L"rect_top", kLayoutExtentMax);
    key.width = Bounded(doc, L"rect_width", kLayoutExtentMax);
    key.height = Bounded(doc, L"rect_height", kLayoutExtentMax);
    int row = 0;
    int column = 0;
    // A position outside the grid is kept off the grid; the key itself is still drawn.
    if (ParseKeyPosition(doc.GetAttribute(L"row_col"), row, column)) {
        key.row = row;
        key.column = column;
        data.musicGrid[row][column] = static_cast<uint8_t>(key.code & 0xFF);
    }
    data.keys.push_back(std::move(key));
}

void ReadKeyboard(XmlDocument& doc, LayoutFileData& data)
{
    data.hasKeyboard = true;
    data.keyboardColor = HexTextToUInt(doc.GetAttribute(L"bk_color"));
    data.keyboardWidth = Bounded(doc, L"width", kLayoutExtentMax);
    data.keyboardHeight = Bounded(doc, L"height", kLayoutExtentMax);
    data.rowCount = Bounded(doc, L"row_count", kMusicGridRows);
    data.columnCount = Bounded(doc, L"col_count", kMusicGridColumns);
    if (!doc.EnterElement()) {
        return;
    }
    if (doc.FindElement(L"KeyItems") && doc.EnterElement()) {
        while (doc.FindElement(L"key")) {
            ReadKey(doc, data);
        }
        doc.LeaveElement();
    }
    doc.LeaveElement();
}

}  // namespace

bool LayoutFileData::HasUsableKey() const
{
    return std::any_of(keys.begin(), keys.end(),
                       [](const LayoutKeyItem& key) { return key.width > 0 && key.height > 0; });
}

bool ParseKeyPosition(const std::wstring& text, int& row, int& column)
{
    if (text.size() < 3) {
        return false;
    }
    row = DigitValue(text.front());
    const std::wstring columnText =
        text.size() == 3 ? text.substr(2) : text.substr(text.size() - 2);
    column = DecimalTextToInt(columnText);
    const bool columnIsNumber = DigitValue(columnText.back()) >= 0;
    return row >= 0 && row < kMusicGridRows && columnIsNumber && column >= 0 &&
           column < kMusicGridColumns;
}

bool LoadLayoutFile(const std::wstring& path, LayoutFileData& data)
{
    data = LayoutFileData{};
    std::wstring text;
    int flags = 0;
    if (!XmlDocument::LoadFile(text, nullptr, path, &flags)) {
        return false;
    }
    XmlDocument doc;
    doc.SetText(text);
    if (!doc.IsWellFormed() || !doc.FindElement(L"device.info") || !doc.EnterElement()) {
        return false;
    }
    // Keyboard follows the optional light element; a failed search leaves the cursor as it was.
    if (doc.FindElement(L"light")) {
        ReadLight(doc, data);
    }
    if (doc.FindElement(L"Keyboard")) {
        ReadKeyboard(doc, data);
    }
    return true;
}
