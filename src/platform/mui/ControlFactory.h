// The registry from a control class name ("MText", "CRoundArea", ...) to a creator, used by
// MDialog::CreateControl / CreateArea and the containers. Control classes register themselves
// from their own .cpp with MUI_REGISTER_CONTROL.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

class ControlFactory {
public:
    using Creator = std::function<std::unique_ptr<MControl>()>;

    // Registers or replaces the creator of a class name. Returns true (for static initialisers).
    static bool Register(std::wstring_view className, Creator creator);
    // A new control of the class, or none for a name nobody registered.
    static std::unique_ptr<MControl> Create(std::wstring_view className);
    static bool IsRegistered(std::wstring_view className);
    static std::vector<std::wstring> RegisteredNames();
};

}  // namespace MUI

#define MUI_WIDE_TEXT_(text) L##text
#define MUI_WIDE_NAME_(name) MUI_WIDE_TEXT_(#name)
#define MUI_CONCAT2_(a, b) a##b
#define MUI_CONCAT_(a, b) MUI_CONCAT2_(a, b)

// Registers control class `Class` (default-constructible, derived from MControl) under the
// wide string `name`. Use at namespace scope in the class's .cpp.
#define MUI_REGISTER_CONTROL_AS(Class, name)                               \
    namespace {                                                            \
    [[maybe_unused]] const bool MUI_CONCAT_(muiRegistered_, __COUNTER__) = \
        ::MUI::ControlFactory::Register(name, [] {                         \
            return std::unique_ptr<::MUI::MControl>(new Class());          \
        });                                                                \
    }

// Registers control class `Class` under its own name ("MText" for MText).
#define MUI_REGISTER_CONTROL(Class) MUI_REGISTER_CONTROL_AS(Class, MUI_WIDE_NAME_(Class))
