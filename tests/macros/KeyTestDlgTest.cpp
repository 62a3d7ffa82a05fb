// The key tester marks the keys of synthetic key events that run the desktop's whole path: the
// desktop's key code, the hook's virtual key and scan code, the hook manager, the window.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "macros/KeyTestDlg.h"
#include "macros/TestKeys.h"
#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyHookManager.h"
#include "platform/mui/KeyboardTestCtrl.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowServices.h"

namespace {

constexpr UINT kHookMessage = 0x676;
// Desktop key codes (evdev + 8).
constexpr unsigned kNativeA = 38;
constexpr unsigned kNativeLeftShift = 50;
constexpr unsigned kNativeRightShift = 62;
constexpr unsigned kNativeLeftAlt = 64;
constexpr unsigned kNativeNumpad7 = 79;
constexpr unsigned kNativeNumpadEnter = 104;
constexpr unsigned kNativeRightCtrl = 105;
constexpr unsigned kNativeMute = 121;

using MUI::KeyboardTestCtrl;

class KeyTestDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MUI::EnsureApplication();
        ASSERT_NE(tester.Create(nullptr, L"KeyTestDlg", 0x96000000, 0,
                                RECT{0, 0, kKeyTestWidth, kKeyTestHeight}),
                  nullptr);
        ASSERT_NE(tester.keys, nullptr);
    }

    int State(int code) const { return tester.keys->GetKeyState(code); }

    KeyTestDlg tester{{L"Key Test", L"Reset", L"Close"}, kHookMessage};
};

TEST_F(KeyTestDlgTest, KeysOfTheDesktopMarkTheirOwnKeyDownThenReleased)
{
    const struct {
        unsigned native;
        int testKey;
    } cases[] = {
        {kNativeA, 0x04},          {kNativeLeftShift, 0xE1},
        {kNativeRightShift, 0xE5}, {kNativeRightCtrl, 0xE4},
        {kNativeNumpad7, 0x5F},    {kNativeNumpadEnter, 0x58},
        {kNativeLeftAlt, 0xE2},    {kNativeMute, kConsumerTestKey | 0xE2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.native);
        EXPECT_EQ(State(c.testKey), KeyboardTestCtrl::kKeyUntouched);
        EXPECT_TRUE(MUI::InjectNativeKey(c.native, false)) << "swallowed";
        EXPECT_EQ(State(c.testKey), KeyboardTestCtrl::kKeyDown);
        EXPECT_TRUE(MUI::InjectNativeKey(c.native, true));
        EXPECT_EQ(State(c.testKey), KeyboardTestCtrl::kKeyReleased);
    }
    // Each event marked its own key only: Left Alt and Mute share a usage number.
    int marked = 0;
    for (const auto& key : tester.keys->GetKeyItems()) {
        marked += key.state != KeyboardTestCtrl::kKeyUntouched ? 1 : 0;
    }
    EXPECT_EQ(marked, static_cast<int>(std::size(cases)));

    tester.OnMessage(kKeyTestResetId, MUI::kNotifyClick, 0);
    for (const auto& key : tester.keys->GetKeyItems()) {
        EXPECT_EQ(key.state, KeyboardTestCtrl::kKeyUntouched) << key.code;
    }
}

TEST_F(KeyTestDlgTest, BehindAnotherWindowKeysPassUnmarked)
{
    MUI::MDialog other;
    ASSERT_NE(other.Create(nullptr, L"Other", 0x96000000, 0, RECT{0, 0, 100, 100}), nullptr);
    MUI::SetForegroundWindow(other.GetHWND());
    EXPECT_FALSE(MUI::InjectNativeKey(kNativeA, false));
    EXPECT_FALSE(MUI::InjectNativeKey(kNativeA, true));
    EXPECT_EQ(State(0x04), KeyboardTestCtrl::kKeyUntouched);
}

TEST_F(KeyTestDlgTest, CloseRemovesTheHookSoKeysReachOtherWindowsAgain)
{
    ASSERT_NE(MUI::KeyHookManager::Active(), nullptr);
    tester.OnMessage(kKeyTestCloseId, MUI::kNotifyClick, 0);
    EXPECT_EQ(tester.hook, nullptr);
    EXPECT_EQ(MUI::KeyHookManager::Active(), nullptr);
    EXPECT_FALSE(MUI::InjectNativeKey(kNativeA, false));
    EXPECT_FALSE(MUI::InjectNativeKey(kNativeA, true));
    EXPECT_EQ(State(0x04), KeyboardTestCtrl::kKeyUntouched);
}

TEST(TestKeys, HundredFortyThreeKeysEachWithItsOwnCodeInsideThePicture)
{
    std::set<int> codes;
    for (const TestKeyRow& row : TestKeyRows()) {
        EXPECT_TRUE(codes.insert(row.code).second) << row.code;
        EXPECT_GE(row.rect.left, 0);
        EXPECT_LE(row.rect.right, kTestPictureWidth) << row.code;
        EXPECT_LE(row.rect.bottom, kTestPictureHeight) << row.code;
        EXPECT_TRUE(*row.label != 0 || *row.icon != 0) << row.code;
    }
    EXPECT_EQ(codes.size(), 143u);
}

}  // namespace
