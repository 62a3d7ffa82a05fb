// KeyboardTestCtrl: the key tester's picture of a keyboard. Each key has a caption (a line
// break splits a two-line cap), a code, a rectangle in the picture's own coordinates (scaled
// to the control) and an icon drawn instead of the caption. A key's state is 0 (not pressed
// yet), 2 (held down) or 1 (pressed and let go); every key with the code takes the state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

class KeyboardTestCtrl : public MControl {
public:
    static constexpr int kKeyUntouched = 0;
    static constexpr int kKeyReleased = 1;
    static constexpr int kKeyDown = 2;

    struct TestKey {
        std::wstring label;
        int code = 0;
        RECT rect{};
        std::wstring icon;
        int state = kKeyUntouched;
    };

    void ClearItem();
    // The size of the picture's coordinates.
    void SetWidthAndHeight(int width, int height);
    void AddKeyItem(std::wstring_view label, int code, const RECT& rect, std::wstring_view icon);
    // Sets the state of every key with the code; false when no key has it.
    bool SetKeyState(int code, int state);
    // Every key back to kKeyUntouched.
    void ResetKeyState();
    // The state of the first key with the code; -1 when no key has it.
    int GetKeyState(int code) const;
    std::vector<TestKey> GetKeyItems() const;

protected:
    void Paint(QPainter& painter) override;

private:
    std::vector<TestKey> keys_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace MUI
