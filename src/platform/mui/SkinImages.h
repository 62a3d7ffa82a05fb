// Pictures of the skin, loaded once by name and shared; thread-safe. A missing or unreadable
// file gives a null image, which draws nothing.
#pragma once

#include <QImage>
#include <string_view>

namespace MUI {

QImage LoadSkinImage(std::wstring_view name);
void ClearSkinImageCache();

}  // namespace MUI
