#include "platform/mui/MComboBox2.h"

#include "platform/mui/ControlFactory.h"

namespace MUI {

MUI_REGISTER_CONTROL(MComboBox2)

}  // namespace MUI
