// KeyFuncControl2: the key-function keyboard of the advanced-key editor. The same keys as the
// key palette's KeyFuncControl at two thirds of their size and without the modifier chips: an
// advanced key's binding is one key usage, so no modifier is added to it.
#pragma once

#include "platform/mui/KeyFuncControl.h"

namespace MUI {

class KeyFuncControl2 : public KeyFuncControl {
public:
    KeyFuncControl2();
};

}  // namespace MUI
