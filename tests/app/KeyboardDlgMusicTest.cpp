// The music mode end to end: a private sound server plays a tone, the window's visualizer
// captures it, the worker maps its picture onto the keys and streams it to the in-process
// virtual keyboard, whose live colours follow the sound; and the music controls' storage.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <vector>

#include "app/MainWindowTestSupport.h"
#include "lighting/MusicGrid.h"
#include "lighting/MusicLevels.h"
#include "lighting/Visualizer.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MLevelCtrl.h"
#include "platform/mui/MListBoxEx.h"
#include "storage/KBDataBase.h"
#include "support/PulseDaemon.h"

namespace {

using namespace std::chrono_literals;
using apptest::MainWindowTest;
using Clock = std::chrono::steady_clock;

class KeyboardDlgMusicTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        MainWindowTest::TearDown();
        unsetenv("PULSE_SERVER");
    }

    // The window with its own worker thread, loaded from the keyboard.
    void Open()
    {
        Plug();
        CreateWindow(false);
        // The pages are shown once the whole load is through.
        ASSERT_TRUE(WaitFor([&] { return TabsShown() && dlg->worker.queue.Empty(); }));
    }
    // The mode chosen in the list, as a click does.
    void ChooseMusic()
    {
        dlg->lightPage.modeList->SelectData(128);
        dlg->OnMessage(151, MUI::kNotifyClick, 0);
    }
    std::vector<uint8_t> LiveColors() const { return keyboard->Memory().liveColors; }
    static bool AllDark(const std::vector<uint8_t>& colors)
    {
        return std::all_of(colors.begin(), colors.end(), [](uint8_t b) { return b <= 1; });
    }
};

TEST_F(KeyboardDlgMusicTest, TheKeysFollowTheSoundAndGoDarkAfterIt)
{
    testsupport::PulseDaemon daemon;
    if (!daemon.Start({"speakers"})) GTEST_SKIP() << "no PulseAudio daemon: " << daemon.Error();
    setenv("PULSE_SERVER", daemon.ServerAddress().c_str(), 1);
    Open();
    ChooseMusic();
    ASSERT_TRUE(WaitFor([&] { return dlg->visualizer->GetAnalysis(); }));
    const std::vector<uint8_t> before = LiveColors();

    // Silence: dark pictures, none sent.
    const uint64_t frames = dlg->visualizer->FrameCount();
    ASSERT_TRUE(WaitFor([&] { return dlg->visualizer->FrameCount() > frames + 20; }));
    EXPECT_EQ(LiveColors(), before) << "a silent computer sends nothing";

    ASSERT_TRUE(daemon.PlaySine("speakers", 1000, 0.3f, 2));
    // When the visualizer's picture first lights a key, and when the keyboard first shows it.
    std::optional<Clock::time_point> pictured;
    const auto pictureLit = [&] {
        bool lit = false;
        dlg->visualizer->ReadFrontImage([&](const SpectrumImage& image) {
            lit = MapMusicFrame(dlg->lightPage.musicGrid, image, [](int, uint32_t) {});
        });
        return lit;
    };
    ASSERT_TRUE(WaitFor(
        [&] {
            if (!pictured && pictureLit()) pictured = Clock::now();
            const std::vector<uint8_t> now = LiveColors();
            return now != before && !AllDark(now);
        },
        10s))
        << "the keys never showed the tone";
    const auto shown = Clock::now();
    ASSERT_TRUE(pictured);
    const auto latency = std::chrono::duration_cast<std::chrono::milliseconds>(shown - *pictured);
    RecordProperty("picture_to_keys_ms", static_cast<int>(latency.count()));

    // After the tone one dark picture goes out, so the keys do not keep the last sound.
    EXPECT_TRUE(WaitFor([&] { return AllDark(LiveColors()); }, 15s));
}

TEST_F(KeyboardDlgMusicTest, ControlsStoreTheirLevelsAndTellTheVisualizer)
{
    Open();
    auto* amplitude = dlg->GetControlAs<MUI::MLevelCtrl>(209);
    auto* backBrightness = dlg->GetControlAs<MUI::MLevelCtrl>(213);
    auto* foreground = dlg->GetControlAs<MUI::MComboBox>(207);
    auto* background = dlg->GetControlAs<MUI::MComboBox>(211);
    // The RGB layout offers the eleven foreground patterns in order.
    ASSERT_EQ(foreground->GetItemCount(), 11);
    EXPECT_EQ(foreground->GetItemData(0), 1);
    // The database's default row: amplitude 4, background level 20 shown as the top level.
    EXPECT_EQ(amplitude->GetLevel(), 4);
    EXPECT_EQ(backBrightness->GetLevel(), kMusicLevelMax);

    amplitude->SetLevel(3);
    dlg->OnMessage(209, MUI::kNotifyClick, 0);
    backBrightness->SetLevel(0);
    dlg->OnMessage(213, MUI::kNotifyClick, 0);
    foreground->SelectData(7);
    dlg->OnMessage(207, MUI::kNotifyClick, 0);
    background->SelectData(9);
    dlg->OnMessage(211, MUI::kNotifyClick, 0);
    EXPECT_EQ(dlg->visualizer->GetGain(), 500);
    EXPECT_EQ(dlg->visualizer->GetBackgroundBrightness(), 0);
    EXPECT_EQ(dlg->visualizer->GetForegroundMode(), 7);
    EXPECT_EQ(dlg->visualizer->GetBackgroundMode(), 9);
    MusicLayerRecord music;
    ASSERT_TRUE(KBDataBase::GetInstance().GetMusicLayer(dlg->LightingPageProfile(), music));
    EXPECT_EQ(music.fore_amplitude, 3);
    EXPECT_EQ(music.backb_right, 0);
    EXPECT_EQ(music.foremode, 7);
    EXPECT_EQ(music.backmode, 9);

    // A music mode listens after a reload; another mode does not.
    ChooseMusic();
    ASSERT_TRUE(WaitFor([&] { return dlg->worker.queue.Empty(); }));
    EXPECT_TRUE(dlg->visualizer->GetAnalysis());
    EXPECT_TRUE(dlg->GetControl(207)->IsVisible());
    dlg->lightPage.modeList->SelectData(1);
    dlg->OnMessage(151, MUI::kNotifyClick, 0);
    EXPECT_FALSE(dlg->visualizer->GetAnalysis());
    EXPECT_FALSE(dlg->GetControl(207)->IsVisible());
}

TEST_F(KeyboardDlgMusicTest, AKeyboardWithoutRgbOffersOnePatternAndNoBackground)
{
    Open();
    dlg->layout.rgbKeyboard = false;
    dlg->FillMusicModeCombo();
    auto* foreground = dlg->GetControlAs<MUI::MComboBox>(207);
    ASSERT_EQ(foreground->GetItemCount(), 1);
    EXPECT_EQ(foreground->GetItemData(0), 6);
    ChooseMusic();
    EXPECT_TRUE(dlg->GetControl(207)->IsVisible());
    EXPECT_TRUE(dlg->GetControl(209)->IsVisible());
    for (unsigned id = 210; id <= 213; ++id) EXPECT_FALSE(dlg->GetControl(id)->IsVisible()) << id;
}

}  // namespace
