#include "app/KeyActionTexts.h"

#include "app/Language.h"
#include "device/KeyMacroType.h"

int MouseActionTextId(int action)
{
    switch (action) {
        case MOUSE_LEFT:
            return 151;
        case MOUSE_MIDDLE:
            return 152;
        case MOUSE_RIGHT:
            return 153;
        case MOUSE_DOUBLE_CLICK:
            return 154;
        case MOUSE_WHEEL_UP:
            return 157;
        case MOUSE_WHEEL_DOWN:
            return 158;
        case MOUSE_BUTTON5:
            return 155;
        case MOUSE_BUTTON4:
            return 156;
        default:
            return 0;
    }
}

KeyActionTexts LanguageKeyActionTexts()
{
    return {[](int action) { return GetLanString(MouseActionTextId(action)); }};
}
