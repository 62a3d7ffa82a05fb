#include "app/KeyActionTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/Environment.h"
#include "app/Language.h"
#include "device/KeyMacroType.h"
#include "platform/text/Utf8.h"

namespace {

TEST(KeyActionTexts, MouseCaptionsAreTheLanguageTexts)
{
    // Captions of mouse actions come from the shipped English texts.
    SetModuleFolder(text::Utf8ToWide(std::string(std::getenv("TV_SOURCE_DIR")) + "/data/"));
    CurrentLanguageId = 1033;
    const KeyActionTexts texts = LanguageKeyActionTexts();
    for (int action = MOUSE_LEFT; action <= MOUSE_BUTTON4; ++action) {
        const std::wstring text = GetLanString(MouseActionTextId(action));
        EXPECT_FALSE(text.empty()) << "action " << action;
        EXPECT_EQ(texts.mouseCaption(action), text);
    }
    EXPECT_EQ(MouseActionTextId(MOUSE_BUTTON4), 156);
    EXPECT_EQ(MouseActionTextId(9), 0);
}

}  // namespace
