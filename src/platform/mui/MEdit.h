// MEdit: a one-line text box; its text is the title. Typing sends kNotifyTextChanged (26) after
// each change, taking the focus sends kNotifyEditBegin (30) and losing it, or Enter, sends
// kNotifyEditEnded (29). Texts set by the program (SetTitle) notify nothing.
#pragma once

#include <string_view>

#include "platform/mui/MControl.h"

namespace MUI {

class MEdit : public MControl {
public:
    MEdit();

    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const;
    // Longest text the user may type; 0 for no limit.
    void SetMaxLength(int length);
    // Only the digits 0 to 9 may be typed.
    void SetNumberOnly(bool numberOnly);
    // Frame colour of the box (0 for none).
    void SetBorderColor(ARGB color);

    bool IsEditing() const;

    // UI thread: the user's side, called by the box's widget.
    void UserTextChanged(std::wstring_view text);
    void UserEditBegins();
    void UserEditEnds();

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void SyncWidget(QWidget* widget) override;

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    bool numberOnly_ = false;
    ARGB border_ = 0xFFD0D0D0;
    bool editing_ = false;
};

}  // namespace MUI
