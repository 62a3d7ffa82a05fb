// KeyFuncControl2: the key-function keyboard of the advanced-key editor. The same keys as the
// key palette's KeyFuncControl at two thirds of their size, without the modifier chips and
// without "Disable": an advanced key's binding is one key usage that the key sends.
#pragma once

#include "platform/mui/KeyFuncControl.h"

namespace MUI {

class KeyFuncControl2 : public KeyFuncControl {
public:
    KeyFuncControl2();
};

}  // namespace MUI
