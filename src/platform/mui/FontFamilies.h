// The typefaces the window's texts ask for, mapped to the installed families whose metrics come
// closest. Source Han Sans is the same design as Noto Sans CJK (Debian's fonts-noto-cjk), Latin
// glyphs included; the other faces the pages name are CJK sans faces of like proportions, so
// they map there too. Every font the library makes goes through here.
#pragma once

#include <QFont>
#include <QStringList>
#include <string_view>

namespace MUI {

// The family every text falls back to, and the one an empty face means.
inline constexpr const char* kDesignFamily = "Noto Sans CJK SC";

// The families to try for a face, best first: the mapped family, then the design family and a
// last resort that every Debian desktop has.
QStringList FamiliesForFace(std::wstring_view face);
// The face's weight: bold names and bold style bits give Bold, "Medium" names Medium (drawn
// as the nearest installed weight).
QFont::Weight WeightForFace(std::wstring_view face, bool bold);
// The application font: the design family at `pixelSize`.
QFont DesignFont(int pixelSize);

}  // namespace MUI
