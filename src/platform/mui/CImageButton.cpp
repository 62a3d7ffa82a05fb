#include "platform/mui/CImageButton.h"

#include "platform/mui/ControlFactory.h"

namespace MUI {

MUI_REGISTER_CONTROL(CImageButton)

}  // namespace MUI
