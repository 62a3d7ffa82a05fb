#include "platform/mui/FontFamilies.h"

#include <QString>
#include <algorithm>
#include <cwctype>
#include <string>

namespace MUI {

namespace {

// Faces named by the pages and the family that stands in for each.
constexpr struct {
    const wchar_t* face;  // compared case-insensitively, as a prefix
    const char* family;
} kFaceMap[] = {
    {L"SourceHanSans", kDesignFamily},  // "SourceHanSansCN-Regular", "SourceHanSansCN-Bold"
    {L"Source Han Sans", kDesignFamily}, {L"PingFang", kDesignFamily},  // "PingFang Medium_0"
    {L"AlibabaPuHuiTi", kDesignFamily},                                 // "AlibabaPuHuiTi-Medium"
    {L"Microsoft YaHei", kDesignFamily},
};

constexpr const char* kLastResort = "DejaVu Sans";

std::wstring Lower(std::wstring_view text)
{
    std::wstring out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return out;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

}  // namespace

QStringList FamiliesForFace(std::wstring_view face)
{
    QStringList families;
    for (const auto& entry : kFaceMap) {
        if (StartsWith(face, entry.face)) {
            families << QString::fromLatin1(entry.family);
            break;
        }
    }
    if (families.isEmpty() && !face.empty())
        families << QString::fromWCharArray(face.data(), static_cast<qsizetype>(face.size()));
    if (!families.contains(QLatin1String(kDesignFamily))) families << QString(kDesignFamily);
    families << QString(kLastResort);
    return families;
}

QFont::Weight WeightForFace(std::wstring_view face, bool bold)
{
    const std::wstring lower = Lower(face);
    if (bold || lower.find(L"bold") != std::wstring::npos) return QFont::Bold;
    if (lower.find(L"medium") != std::wstring::npos) return QFont::Medium;
    return QFont::Normal;
}

QFont DesignFont(int pixelSize)
{
    QFont font;
    font.setFamilies(FamiliesForFace(L""));
    font.setPixelSize(std::max(1, pixelSize));
    return font;
}

}  // namespace MUI
