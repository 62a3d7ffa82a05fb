// The lighting page's control ids, the pointers the main window keeps to its controls and the
// page's own state. The controls belong to the window; the pointers are set while the page is
// built and stay valid until the window is destroyed (null before).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "lighting/MusicFrameFilter.h"
#include "lighting/MusicGrid.h"

namespace MUI {
class CCheckButton;
class CirclePalette;
class CSwitchButton;
class KeyboardCtrl;
class MComboBox;
class MComboBox3;
class MEdit;
class MLevelCtrl;
class MListBoxEx;
class MSlider;
}  // namespace MUI

namespace LightPageId {

inline constexpr unsigned kFirst = 135;
inline constexpr unsigned kLast = 213;
inline constexpr unsigned kBackground = 135;       // MPicture
inline constexpr unsigned kHeadingLine = 136;      // CRoundArea
inline constexpr unsigned kHeading = 137;          // MText 55
inline constexpr unsigned kKeyboard = 138;         // KeyboardCtrl, per-key colours
inline constexpr unsigned kKeyboardBack = 139;     // MPicture, placed by the model handling
inline constexpr unsigned kProfileLabel = 140;     // MText 100
inline constexpr unsigned kProfileCombo = 141;     // MComboBox, item data = profile
inline constexpr unsigned kProfileMenu = 142;      // MImageButton
inline constexpr unsigned kPresetLabel = 143;      // MText 102
inline constexpr unsigned kPresetCombo = 144;      // MComboBox3, item data 202..207
inline constexpr unsigned kReset = 145;            // MButton
inline constexpr unsigned kImportProfile = 146;    // MButton
inline constexpr unsigned kExportProfile = 147;    // MButton
inline constexpr unsigned kSwitchLine = 148;       // CRoundArea
inline constexpr unsigned kSwitchLabel = 149;      // MText 600
inline constexpr unsigned kEnableSwitch = 150;     // CSwitchButton
inline constexpr unsigned kModeList = 151;         // MListBoxEx, item data = light mode
inline constexpr unsigned kModeLabel = 152;        // MText 601
inline constexpr unsigned kBrightnessLabel = 153;  // MText 603
inline constexpr unsigned kBrightness = 154;       // MSlider 0..100
inline constexpr unsigned kSpeedLabel = 155;       // MText 604
inline constexpr unsigned kSpeed = 156;            // MLevelCtrl 0..4
inline constexpr unsigned kDirectionLabel = 157;   // MText 605
inline constexpr unsigned kColorful = 162;         // CCheckButton
inline constexpr unsigned kColorfulLabel = 163;    // MText 602
inline constexpr unsigned kPanel = 164;            // CRoundArea behind the value controls
inline constexpr unsigned kColorCaption = 166;     // MText 1399
inline constexpr unsigned kPalette = 167;          // CirclePalette
inline constexpr unsigned kRedLabel = 168;         // MText, "icon_color_r.png" (169 g, 170 b)
inline constexpr unsigned kRedEdit = 171;          // MEdit (172 green, 173 blue)
inline constexpr unsigned kGreenEdit = 172;
inline constexpr unsigned kBlueEdit = 173;
inline constexpr unsigned kFirstColorButton = 174;  // CColorButton 174..198
inline constexpr unsigned kLastColorButton = 198;
inline constexpr unsigned kSelectNone = 199;       // MButton
inline constexpr unsigned kInvertSelection = 200;  // MButton
inline constexpr unsigned kSelectAll = 201;        // MButton
inline constexpr unsigned kMusicFirst = 206;       // music panel 206..213
inline constexpr unsigned kMusicLast = 213;

// The direction pairs (first button: direction 1, second: 0), in the order of their bits.
inline constexpr unsigned kDirectionPairs[4][2] = {{158, 159}, {160, 161}, {202, 203}, {204, 205}};

}  // namespace LightPageId

struct LightPageControls {
    MUI::KeyboardCtrl* keyboard = nullptr;
    MUI::MComboBox* profileCombo = nullptr;
    MUI::MComboBox3* presetCombo = nullptr;
    MUI::CSwitchButton* enableSwitch = nullptr;
    MUI::MListBoxEx* modeList = nullptr;
    MUI::MSlider* brightness = nullptr;
    MUI::MLevelCtrl* speed = nullptr;
    MUI::CCheckButton* colorful = nullptr;
    MUI::CirclePalette* palette = nullptr;
    MUI::MEdit* rgbEdits[3] = {};
    // The lighting switch's state; the worker's loads write it, the page's handlers read it.
    std::atomic<bool> enabled{true};
    // The live-colour preview's shortest interval between two reads.
    static constexpr std::chrono::milliseconds kPreviewInterval{100};
    // The last load did not read the keyboard's user colours whole: nothing of them was stored,
    // and they are not written until a load reads them (worker only).
    std::atomic<bool> userColorsUnread{false};
    // When the live-colour preview last read the keyboard (worker only).
    std::chrono::steady_clock::time_point lastPreview{};
    // The music mode's keys in the visualizer's picture, what was last sent and the last
    // frame shown (worker only).
    MusicGrid musicGrid;
    MusicFrameFilter musicFilter;
    uint64_t lastMusicFrame = 0;
};
