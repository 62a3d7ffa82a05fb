// Creates the main window's controls by class name and id, with an empty rectangle (the
// layout places them), either directly in the window or inside a page container.
#pragma once

#include <string_view>

#include "platform/mui/MDialog.h"
#include "platform/mui/MTabLayout.h"

class ControlBuilder {
public:
    explicit ControlBuilder(MUI::MDialog& window, MUI::MTabLayout* container = nullptr)
        : window_(window), container_(container)
    {
    }

    // A drawn element that takes no input.
    template <class T>
    T* Area(std::wstring_view className, unsigned id, std::wstring_view text = {}) const
    {
        return dynamic_cast<T*>(container_ ? container_->CreateArea(className, id, {}, text)
                                           : window_.CreateArea(className, id, {}, text));
    }

    // A control that takes input.
    template <class T>
    T* Control(std::wstring_view className, unsigned id, std::wstring_view text = {}) const
    {
        return dynamic_cast<T*>(container_ ? container_->CreateControl(className, id, {}, text)
                                           : window_.CreateControl(className, id, {}, text));
    }

private:
    MUI::MDialog& window_;
    MUI::MTabLayout* container_;
};
