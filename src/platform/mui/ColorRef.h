// Colours in the Windows COLORREF form, R | G << 8 | B << 16, as the lighting data stores them
// (key colours, palette and preset colours). Text and area colours stay ARGB.
#pragma once

#include <cstdint>

#include <QColor>

namespace MUI {

using COLORREF = std::uint32_t;

inline constexpr COLORREF MakeColorRef(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr int ColorRefRed(COLORREF c) { return static_cast<int>(c & 0xFF); }
inline constexpr int ColorRefGreen(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int ColorRefBlue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

inline QColor ColorRefToQColor(COLORREF c)
{
    return QColor(ColorRefRed(c), ColorRefGreen(c), ColorRefBlue(c));
}
inline COLORREF QColorToColorRef(const QColor& c)
{
    return MakeColorRef(c.red(), c.green(), c.blue());
}

}  // namespace MUI
