// Manager: the library's process-wide settings: instance, device name, theme, and the skin root
// under which every picture name is looked up.
#pragma once

#include <string>
#include <string_view>

namespace MUI {

class Manager {
public:
    static void SetInstance(void* instance);
    static void* GetInstance();
    static void SetDeviceName(std::wstring_view name);
    static std::wstring GetDeviceName();
    // The skin theme folder name ("default" unless set).
    static void SetTheme(std::wstring_view theme);
    static std::wstring GetTheme();
    // The folder picture names are relative to (the program's skin path).
    static void SetSkinRoot(std::wstring_view folder);
    static std::wstring GetSkinRoot();
    // Skin root + name, '\' turned into '/', doubled separators collapsed. Empty for an empty
    // name.
    static std::wstring ResolveSkinPath(std::wstring_view name);
};

}  // namespace MUI
