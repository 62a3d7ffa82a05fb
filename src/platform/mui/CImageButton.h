// CImageButton: a picture button made by class name; its picture fills the face and the title
// is drawn over it.
#pragma once

#include "platform/mui/MButton.h"

namespace MUI {

class CImageButton : public MButton {};

}  // namespace MUI
