// The macro page's rules without its window: where an inserted pair goes, free names, the
// pause between recorded events, and the key codes the hook's events record as.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/MacroImage.h"
#include "macros/HookKeyEvent.h"
#include "macros/MacroNames.h"
#include "macros/MacroSteps.h"
#include "macros/MacroXml.h"
#include "macros/StepDelayClock.h"

namespace {

TEST(MacroEventInsertIndex, KeysAndButtonsGoBeforeOrAfterTheSelectedStep)
{
    struct Case {
        bool mouse;
        int position;
        int selected;
        int count;
        int at;
    };
    const Case cases[] = {
        {false, 0, -1, 4, 4}, {false, 1, -1, 0, 0}, {false, 0, 0, 4, 0}, {false, 1, 0, 4, 1},
        {false, 0, 3, 4, 3},  {false, 1, 3, 4, 4},  {true, 0, 3, 4, 4},  {true, 1, 3, 4, 4},
        {true, 0, 1, 4, 1},   {true, 1, 1, 4, 2},   {true, 0, -1, 0, 0}, {false, 0, 7, 4, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MacroEventInsertIndex(c.mouse, c.position, c.selected, c.count), c.at)
            << c.mouse << " " << c.position << " " << c.selected << " " << c.count;
    }
}

TEST(MacroRecordingStepLimit, CountsFrom325)
{
    EXPECT_EQ(MacroRecordingStepLimit(20, 300), 10);
    EXPECT_EQ(MacroRecordingStepLimit(20, 301), 8);
    EXPECT_EQ(MacroRecordingStepLimit(9, 0), 632);
}

TEST(MacroNames, CopiesTakeTheFirstFreeNumber)
{
    EXPECT_EQ(MakeUniqueMacroName(L"M 1 -", {L"M 1"}), L"M 1 - 1");
    EXPECT_EQ(MakeUniqueMacroName(L"M 1 -", {L"M 1", L"M 1 - 1"}), L"M 1 - 2");
    std::vector<std::wstring> all;
    for (int n = 1; n <= 1000; ++n) all.push_back(L"x " + std::to_wstring(n));
    EXPECT_EQ(MakeUniqueMacroName(L"x", all), L"x 1000");
    EXPECT_EQ(RelabelMacroName(L"New Macro 3", L"新建宏"), L"新建宏 3");
    EXPECT_EQ(RelabelMacroName(L"新建巨集 2", L"New Macro"), L"New Macro 2");
    EXPECT_EQ(RelabelMacroName(L"Sprint", L"New Macro"), L"Sprint");
    EXPECT_EQ(MacroKeyLabel(2, 3), L"M2\n(3)");
    EXPECT_EQ(MacroKeyLabel(2, 0), L"M2");
}

TEST(StepDelayClock, PausesUntilTheNextEventHeldTo31Seconds)
{
    StepDelayClock clock;
    EXPECT_EQ(clock.Take(5000), 0);
    EXPECT_EQ(clock.Take(5012), 12);
    EXPECT_EQ(clock.Take(45012), 31000);
    EXPECT_EQ(clock.Take(45000), 31000) << "a clock going back";
    clock.Reset();
    EXPECT_EQ(clock.Take(90000), 0);
}

TEST(HookKeyEvent, NumericPadByScanCodeModifiersByUsage)
{
    struct Case {
        uint32_t vk;
        uint32_t scan;
        uint32_t flags;
        int code;
        int value;
        const wchar_t* name;
    };
    const Case cases[] = {
        {0x67, 71, 0x00, 103, 103, L"Num 7"},    // Num Lock on
        {0x24, 71, 0x00, 103, 103, L"Num 7"},    // Num Lock off: Home on the pad
        {0x24, 71, 0x01, 0x24, 0x24, L"Home"},   // the Home key itself
        {0x2E, 83, 0x80, 110, 110, L"Num Del"},  // released decimal key
        {0x0D, 28, 0x01, 108, 108, L"Num Enter"},
        {0x0D, 28, 0x00, 0x0D, 0x0D, L"Enter"},
        {0xA0, 42, 0x00, 0xA0, 225, L"Shift"},
        {0xA1, 54, 0x00, 0xA1, 229, L"RShift"},
        {0xA3, 29, 0x01, 0xA3, 228, L"RCtrl"},
        {0x5B, 91, 0x01, 0x5B, 227, L"Windows"},
        {0xE2, 86, 0x00, 0xE2, kMacroPlainKeyFlag | 0xE2, L"\\"},
        {0xAD, 32, 0x01, 0xAD, 0xAD, L"Vol Mute"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        MUI::KBDLLHOOKSTRUCT key;
        key.vkCode = c.vk;
        key.scanCode = c.scan;
        key.flags = c.flags;
        const int code = HookKeyCode(key);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(MacroStepKeyValue(code), c.value);
        EXPECT_EQ(HookKeyName(code), c.name);
    }
}

TEST(MacroXml, NamesWithMarkupAndAnEmptyStepListReadBack)
{
    MacroRecord header;
    header.name = L"<a & \"b\"> 宏";
    header.play_times = 2;
    header.delay_type = 2;
    const std::wstring text = MacroXmlText(header, {});
    EXPECT_NE(text.find(L"<macroitems/>"), std::wstring::npos) << "always written";
    const std::optional<MacroFile> back = ParseMacroXml(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->header.name, header.name);
    EXPECT_EQ(back->header.play_times, 2);
    EXPECT_EQ(back->header.delay_type, 2);
    EXPECT_TRUE(back->steps.empty());
}

}  // namespace
