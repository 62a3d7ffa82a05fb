// The lighting page's music controls: the patterns the keyboard offers, the profile's music
// row shown and changed, the visualizer's parameters, and the visualizer's picture mapped onto
// the keys and streamed to the keyboard (worker).
#include <vector>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "lighting/LightModes.h"
#include "lighting/MusicLevels.h"
#include "lighting/Visualizer.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MLevelCtrl.h"
#include "storage/KBDataBase.h"

namespace {

constexpr unsigned kForeground = 207;
constexpr unsigned kAmplitude = 209;
constexpr unsigned kBackground = 211;
constexpr unsigned kBackBrightness = 213;
// The background controls and their labels, offered on RGB keyboards only.
constexpr unsigned kBackgroundFirst = 210;
constexpr unsigned kAmplitudeDefault = 3;
constexpr unsigned kBackBrightnessDefault = 5;

// Pattern names by pattern code 1..11.
constexpr int kPatternTexts[] = {0, 626, 627, 628, 629, 630, 631, 632, 633, 634, 635, 638};
constexpr int kSinglePattern = 6;

}  // namespace

void KeyboardDlg::FillMusicModeCombo()
{
    auto* combo = GetControlAs<MUI::MComboBox>(kForeground);
    if (combo == nullptr) return;
    combo->DelAllItems();
    if (layout.rgbKeyboard) {
        for (int pattern = 1; pattern <= 11; ++pattern)
            combo->AddItem(GetLanString(kPatternTexts[pattern]), pattern);
    } else {
        combo->AddItem(GetLanString(kPatternTexts[kSinglePattern]), kSinglePattern);
        for (unsigned id = kBackgroundFirst; id <= kBackBrightness; ++id)
            SetControlVisible(id, false);
    }
    combo->SetCurSel(0);
}

void KeyboardDlg::ShowMusicPanel(bool shown)
{
    for (unsigned id = LightPageId::kMusicFirst; id <= LightPageId::kMusicLast; ++id) {
        SetControlVisible(id, shown && (id < kBackgroundFirst || layout.rgbKeyboard));
    }
}

void KeyboardDlg::LoadMusicSettings()
{
    auto* foreground = GetControlAs<MUI::MComboBox>(kForeground);
    auto* background = GetControlAs<MUI::MComboBox>(kBackground);
    auto* amplitude = GetControlAs<MUI::MLevelCtrl>(kAmplitude);
    auto* backBrightness = GetControlAs<MUI::MLevelCtrl>(kBackBrightness);
    if (!foreground || !background || !amplitude || !backBrightness || !visualizer) return;
    foreground->SetCurSel(0);
    background->SetCurSel(0);
    amplitude->SetLevel(kAmplitudeDefault);
    backBrightness->SetLevel(kBackBrightnessDefault);
    // The parameters are atomics that the render thread reads at each frame: no pause needed.
    visualizer->SetAnalysis(false);
    MusicLayerRecord music;
    if (KBDataBase::GetInstance().GetMusicLayer(LightingPageProfile(), music)) {
        foreground->SelectData(music.foremode);
        background->SelectData(music.backmode);
        amplitude->SetLevel(ClampMusicLevel(music.fore_amplitude));
        backBrightness->SetLevel(ClampMusicLevel(music.backb_right));
        visualizer->SetDeviceIndex(0);
        visualizer->OpenDevice();
        visualizer->SetForegroundMode(music.foremode);
        visualizer->SetGain(MusicAmplitudeGain(music.fore_amplitude));
        visualizer->SetBackgroundMode(music.backmode);
        visualizer->SetBackgroundBrightness(MusicBackgroundPercent(music.backb_right));
    }
    // A music mode goes on listening after the load.
    visualizer->SetAnalysis((page.lightFunc.load() & LIGHT_FUNC_MUSIC) != 0);
}

namespace {

// A pattern combobox's choice: the visualizer told, the profile's music row stored.
void ChangePattern(KeyboardDlg& dlg, unsigned id, void (Visualizer::*set)(int),
                   int32_t MusicLayerRecord::*field)
{
    auto* combo = dlg.GetControlAs<MUI::MComboBox>(id);
    if (combo == nullptr || combo->GetCurSel() < 0 || !dlg.visualizer) return;
    const int pattern = combo->GetCurData();
    ((*dlg.visualizer).*set)(pattern);
    KBDataBase& db = KBDataBase::GetInstance();
    MusicLayerRecord music;
    if (!db.GetMusicLayer(dlg.LightingPageProfile(), music)) return;
    music.*field = pattern;
    db.UpdateMusicLayer(dlg.LightingPageProfile(), music);
}

// A level control's level: the visualizer gets its value, the row the level.
void ChangeLevel(KeyboardDlg& dlg, unsigned id, void (Visualizer::*set)(int), int (*value)(int),
                 int32_t MusicLayerRecord::*field)
{
    auto* levels = dlg.GetControlAs<MUI::MLevelCtrl>(id);
    if (levels == nullptr || !dlg.visualizer) return;
    const int level = ClampMusicLevel(levels->GetLevel());
    ((*dlg.visualizer).*set)(value(level));
    KBDataBase& db = KBDataBase::GetInstance();
    MusicLayerRecord music;
    if (!db.GetMusicLayer(dlg.LightingPageProfile(), music)) return;
    music.*field = level;
    db.UpdateMusicLayer(dlg.LightingPageProfile(), music);
}

}  // namespace

void KeyboardDlg::OnMusicForeModeChanged()
{
    ChangePattern(*this, kForeground, &Visualizer::SetForegroundMode, &MusicLayerRecord::foremode);
}

void KeyboardDlg::OnMusicAmplitudeChanged()
{
    ChangeLevel(*this, kAmplitude, &Visualizer::SetGain, MusicAmplitudeGain,
                &MusicLayerRecord::fore_amplitude);
}

void KeyboardDlg::OnMusicBackModeChanged()
{
    ChangePattern(*this, kBackground, &Visualizer::SetBackgroundMode, &MusicLayerRecord::backmode);
}

void KeyboardDlg::OnMusicBackBrightnessChanged()
{
    ChangeLevel(*this, kBackBrightness, &Visualizer::SetBackgroundBrightness,
                MusicBackgroundPercent, &MusicLayerRecord::backb_right);
}

void KeyboardDlg::BuildMusicGrid()
{
    MusicGrid& grid = lightPage.musicGrid;
    grid = MusicGrid{};
    grid.rows = layout.musicRows;
    grid.columns = layout.musicColumns;
    for (int row = 0; row < kMusicGridRows; ++row) {
        for (int column = 0; column < kMusicGridColumns; ++column)
            grid.keys[static_cast<size_t>(row * kMusicGridColumns + column)] =
                layout.musicGrid[row][column];
    }
    ::BuildMusicGrid(grid);
    // A keyboard loaded anew holds none of the frames sent before.
    lightPage.musicFilter.Reset();
}

void KeyboardDlg::ApplyMusicFrame()
{
    MUI::KeyboardCtrl* view = lightPage.keyboard;
    const MusicGrid& grid = lightPage.musicGrid;
    if (!visualizer || view == nullptr || grid.rows < 1 || grid.columns < 1) return;
    // Each picture once: the worker steps more often than the render thread paints.
    const uint64_t frame = visualizer->FrameCount();
    if (frame == lightPage.lastMusicFrame) return;
    lightPage.lastMusicFrame = frame;

    std::vector<std::pair<int, uint32_t>> keys;
    bool lit = false;
    visualizer->ReadFrontImage([&](const SpectrumImage& image) {
        lit = MapMusicFrame(
            grid, image, [&](int keyCode, uint32_t color) { keys.emplace_back(keyCode, color); });
    });
    std::vector<uint32_t> colors;
    colors.reserve(keys.size());
    for (const auto& [keyCode, color] : keys) {
        view->SetKeyColor(keyCode, color);
        colors.push_back(color);
    }
    view->UpdateControl();
    // A frame like the last one sent is not sent again; the first dark one after sound is.
    if (lightPage.musicFilter.ShouldSend(colors, lit)) WriteLiveColorsToDevice();
}
