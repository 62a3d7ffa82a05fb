// The keyboard hook: the desktop key table, the application-wide filter in front of the
// program's windows, and the manager that sends each key to its target windows.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <vector>

#include "ControlHarness.h"
#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyHookManager.h"
#include "platform/mui/NativeKeyTable.h"

namespace {

using muitest::Pump;

constexpr UINT kHookMessage = 0x676;
constexpr unsigned kNative = 8;  // desktop key codes are evdev codes plus 8

struct Heard {
    UINT message;
    uint32_t vk;
    uint32_t scan;
    uint32_t flags;
    friend bool operator==(const Heard&, const Heard&) = default;
};

// A window that records the hook's messages and answers with `answer`.
class HookWindow : public MUI::MDialog {
public:
    std::vector<Heard> heard;
    LRESULT answer = 0;
    std::function<void()> onKey;
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kHookMessage) return MDialog::OnWindowMessage(message, wParam, lParam);
        const auto* key = reinterpret_cast<const MUI::KBDLLHOOKSTRUCT*>(lParam);
        heard.push_back(Heard{static_cast<UINT>(wParam), key->vkCode, key->scanCode, key->flags});
        if (onKey) onKey();
        return answer;
    }
};

class KeyHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MUI::EnsureApplication();
        for (HookWindow* w : {&first, &second}) {
            ASSERT_NE(w->Create(nullptr, L"HookWindow", WS_POPUP, 0, RECT{0, 0, 200, 100}),
                      nullptr);
        }
        Pump();
    }
    void TearDown() override
    {
        manager.reset();
        first.DestroyWindow();
        second.DestroyWindow();
        Pump();
    }
    HookWindow first;
    HookWindow second;
    std::unique_ptr<MUI::KeyHookManager> manager = std::make_unique<MUI::KeyHookManager>();
};

TEST(NativeKeyTableTest, MapsDesktopKeysByPosition)
{
    struct Case {
        int evdev;
        int vk;
        int scan;
        bool extended;
        const wchar_t* name;
    };
    const Case cases[] = {
        {30, 0x41, 0x1E, false, L"A"},         {71, 0x67, 0x47, false, L"Num 7"},
        {102, 0x24, 0x47, true, L"Home"},      {96, 0x0D, 0x1C, true, L"Num Enter"},
        {42, 0xA0, 0x2A, false, L"Shift"},     {54, 0xA1, 0x36, false, L"Right Shift"},
        {29, 0xA2, 0x1D, false, L"Ctrl"},      {97, 0xA3, 0x1D, true, L"Right Ctrl"},
        {100, 0xA5, 0x38, true, L"Right Alt"}, {125, 0x5B, 0x5B, true, L"Left Windows"},
        {83, 0x6E, 0x53, false, L"Num Del"},   {111, 0x2E, 0x53, true, L"Delete"},
        {183, 0x7C, 0x64, false, L"F13"},      {119, 0x13, 0x45, false, L"Pause"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.evdev);
        const MUI::NativeKey* key = MUI::FindNativeKeyOfScanCode(c.evdev + kNative);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->vk, c.vk);
        EXPECT_EQ(key->scan, c.scan);
        EXPECT_EQ(key->extended, c.extended);
        EXPECT_EQ(MUI::KeyNameOfScanCode(c.scan, c.extended), c.name);
    }
    EXPECT_EQ(MUI::FindNativeKeyOfScanCode(0), nullptr);
    EXPECT_EQ(MUI::FindNativeKeyOfScanCode(kNative + 250), nullptr);
    EXPECT_EQ(MUI::ScanCodeOfVirtualKey(0x10), 0x2A);
    EXPECT_EQ(MUI::ScanCodeOfVirtualKey(0x67), 0x47);
}

// A key of the desktop reaches the filter as Qt delivers it: to the program's window.
bool SendDesktopKey(QWindow* window, QEvent::Type type, unsigned native, bool repeat = false)
{
    QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, native, 0, 0, QString(), repeat);
    QCoreApplication::sendEvent(window, &event);
    return event.isAccepted();
}

TEST_F(KeyHookTest, DesktopKeysReachTheTargetWithoutTheirRepeats)
{
    manager->AddTarget(first.GetHWND(), kHookMessage);
    QWidget* widget = first.GetWidget();
    ASSERT_NE(widget, nullptr);
    widget->show();
    Pump();
    QWindow* window = widget->windowHandle();
    ASSERT_NE(window, nullptr);

    SendDesktopKey(window, QEvent::KeyPress, 71 + kNative);
    SendDesktopKey(window, QEvent::KeyPress, 71 + kNative, true);
    SendDesktopKey(window, QEvent::KeyPress, 71 + kNative, true);
    SendDesktopKey(window, QEvent::KeyRelease, 71 + kNative);
    SendDesktopKey(window, QEvent::KeyPress, 97 + kNative);
    SendDesktopKey(window, QEvent::KeyRelease, 97 + kNative);
    const std::vector<Heard> expected = {
        {WM_KEYDOWN, 0x67, 0x47, 0},
        {WM_KEYUP, 0x67, 0x47, MUI::LLKHF_UP},
        {WM_KEYDOWN, 0xA3, 0x1D, MUI::LLKHF_EXTENDED},
        {WM_KEYUP, 0xA3, 0x1D, MUI::LLKHF_EXTENDED | MUI::LLKHF_UP}};
    EXPECT_EQ(first.heard, expected);
}

TEST_F(KeyHookTest, AltMakesSystemKeys)
{
    manager->AddTarget(first.GetHWND(), kHookMessage);
    MUI::InjectNativeKey(56 + kNative, false);  // Alt
    MUI::InjectNativeKey(62 + kNative, false);  // F4
    MUI::InjectNativeKey(62 + kNative, true);
    MUI::InjectNativeKey(56 + kNative, true);
    ASSERT_EQ(first.heard.size(), 4u);
    EXPECT_EQ(first.heard[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(first.heard[1].message, WM_SYSKEYDOWN);
    EXPECT_EQ(first.heard[2].message, WM_SYSKEYUP);
    EXPECT_EQ(first.heard[3].message, WM_KEYUP);
}

TEST_F(KeyHookTest, NonZeroAnswerSwallowsTheKeyAndItsRepeats)
{
    manager->AddTarget(first.GetHWND(), kHookMessage);
    first.answer = 1;
    EXPECT_TRUE(MUI::InjectNativeKey(30 + kNative, false));
    EXPECT_TRUE(MUI::InjectNativeKey(30 + kNative, false, true));
    EXPECT_TRUE(MUI::InjectNativeKey(30 + kNative, true));
    EXPECT_EQ(first.heard.size(), 2u);
    first.answer = 0;
    EXPECT_FALSE(MUI::InjectNativeKey(30 + kNative, false));
    EXPECT_FALSE(MUI::InjectNativeKey(30 + kNative, false, true));
}

TEST_F(KeyHookTest, TargetsInOrderUntilTheFirstNonZeroAnswer)
{
    manager->AddTarget(first.GetHWND(), kHookMessage);
    manager->AddTarget(second.GetHWND(), kHookMessage);
    manager->AddTarget(first.GetHWND(), kHookMessage);  // listed once
    EXPECT_EQ(manager->GetTargets().size(), 2u);
    first.answer = 1;
    EXPECT_TRUE(MUI::InjectNativeKey(31 + kNative, false));
    EXPECT_EQ(first.heard.size(), 1u);
    EXPECT_TRUE(second.heard.empty());
    first.answer = 0;
    EXPECT_FALSE(MUI::InjectNativeKey(31 + kNative, true));
    EXPECT_EQ(second.heard.size(), 1u);
    // A target window that is gone is skipped.
    first.DestroyWindow();
    EXPECT_FALSE(MUI::InjectNativeKey(32 + kNative, false));
    EXPECT_EQ(second.heard.size(), 2u);
}

TEST_F(KeyHookTest, TheActiveManagerAlwaysHoldsTheHook)
{
    manager->AddTarget(first.GetHWND(), kHookMessage);
    auto other = std::make_unique<MUI::KeyHookManager>();
    other->AddTarget(second.GetHWND(), kHookMessage);
    EXPECT_EQ(MUI::KeyHookManager::Active(), other.get());
    EXPECT_FALSE(manager->IsInstalled());
    // Deleting the manager that lost the hook leaves the other one working.
    manager.reset();
    MUI::InjectNativeKey(30 + kNative, false);
    EXPECT_TRUE(first.heard.empty());
    EXPECT_EQ(second.heard.size(), 1u);
    other.reset();
    EXPECT_EQ(MUI::KeyHookManager::Active(), nullptr);
    EXPECT_FALSE(MUI::InjectNativeKey(30 + kNative, true));
    EXPECT_EQ(second.heard.size(), 1u);
}

TEST_F(KeyHookTest, ATargetMayDeleteTheManagerWhileHandlingAKey)
{
    manager->AddTarget(first.GetHWND(), kHookMessage);
    manager->AddTarget(second.GetHWND(), kHookMessage);
    first.onKey = [&] { manager.reset(); };
    EXPECT_FALSE(MUI::InjectNativeKey(30 + kNative, false));
    EXPECT_EQ(first.heard.size(), 1u);
    EXPECT_TRUE(second.heard.empty());
    EXPECT_EQ(MUI::KeyHookManager::Active(), nullptr);
}

LRESULT SwallowEverything(int, WPARAM, LPARAM) { return 1; }

TEST_F(KeyHookTest, MouseButtonsRunTheMouseHooks)
{
    const MUI::HHOOK hook = MUI::SetWindowsHookEx(MUI::WH_MOUSE_LL, &SwallowEverything);
    ASSERT_NE(hook, nullptr);
    EXPECT_TRUE(MUI::InjectMouseButton(WM_LBUTTONDOWN, POINT{5, 5}));
    // Keys are not the mouse hook's.
    manager->AddTarget(first.GetHWND(), kHookMessage);
    EXPECT_FALSE(MUI::InjectNativeKey(30 + kNative, false));
    EXPECT_TRUE(MUI::UnhookWindowsHookEx(hook));
    EXPECT_FALSE(MUI::InjectMouseButton(WM_LBUTTONDOWN, POINT{5, 5}));
}

}  // namespace
