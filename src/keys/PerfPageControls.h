// The performance page's control ids and the pointers the main window keeps to its controls.
// The controls belong to the window; the pointers are set while the page is built and stay
// valid until the window is destroyed (null before).
#pragma once

namespace MUI {
class CImageButton;
class CRoundArea;
class CSwitchButton;
class KeyStrokeCtrl;
class KeyboardCtrl;
class MButton;
class MButton1;
class MComboBox;
class MComboBox3;
class MImageButton;
class MPicture;
class MSlider;
class MText;
}  // namespace MUI

namespace PerfPageId {

inline constexpr unsigned kFirst = 266;
inline constexpr unsigned kLast = 329;
inline constexpr unsigned kKeyboard = 272;            // KeyboardCtrl, marked keys
inline constexpr unsigned kProfileCombo = 277;        // MComboBox, item data = profile
inline constexpr unsigned kProfileMenu = 278;         // MImageButton
inline constexpr unsigned kPresetCombo = 280;         // MComboBox3, 201..203
inline constexpr unsigned kImportProfile = 282;       // MButton
inline constexpr unsigned kExportProfile = 283;       // MButton
inline constexpr unsigned kSwitchTypeCombo = 285;     // MComboBox, item data = switch type
inline constexpr unsigned kCalibration = 286;         // MButton
inline constexpr unsigned kStroke = 289;              // KeyStrokeCtrl
inline constexpr unsigned kDebugSwitch = 291;         // CSwitchButton, release-stroke display
inline constexpr unsigned kDeadZoneSwitch = 293;      // CSwitchButton
inline constexpr unsigned kResetActuation = 294;      // MButton
inline constexpr unsigned kRapidTriggerSwitch = 297;  // CSwitchButton
inline constexpr unsigned kSeparateSwitch = 299;      // CSwitchButton, separate press/release
inline constexpr unsigned kResetCombined = 302;       // CImageButton
inline constexpr unsigned kCombinedLabel = 304;       // MText, distance
inline constexpr unsigned kCombinedSlider = 305;      // MSlider
inline constexpr unsigned kResetPress = 308;          // CImageButton
inline constexpr unsigned kPressLabel = 310;          // MText, distance
inline constexpr unsigned kPressSlider = 311;         // MSlider
inline constexpr unsigned kResetRelease = 314;        // CImageButton
inline constexpr unsigned kReleaseLabel = 316;        // MText, distance
inline constexpr unsigned kReleaseSlider = 317;       // MSlider
inline constexpr unsigned kContinuousSwitch = 320;    // CSwitchButton
inline constexpr unsigned kBottomSwitch = 323;        // CSwitchButton
inline constexpr unsigned kSelectNone = 325;          // MButton1
inline constexpr unsigned kInvertSelection = 326;     // MButton1
inline constexpr unsigned kSelectAll = 327;           // MButton1
inline constexpr unsigned kResetSwitchType = 328;     // MButton
inline constexpr unsigned kResetRapidTrigger = 329;   // MButton

// The rapid-trigger group (without the rapid-trigger switch itself), the combined-slider
// group and the press/release group.
inline constexpr unsigned kRapidTriggerGroup[] = {296, 298, 299, 318, 319, 320};
inline constexpr unsigned kCombinedGroup[] = {300, 301, 302, 303, 304, 305};
inline constexpr unsigned kSeparateGroup[] = {306, 307, 308, 309, 310, 311,
                                              312, 313, 314, 315, 316, 317};

}  // namespace PerfPageId

struct PerfPageControls {
    MUI::KeyboardCtrl* keyboard = nullptr;
    MUI::MComboBox* profileCombo = nullptr;
    MUI::MComboBox3* presetCombo = nullptr;
    MUI::MComboBox* switchTypeCombo = nullptr;
    MUI::KeyStrokeCtrl* stroke = nullptr;
    MUI::CSwitchButton* debugSwitch = nullptr;
    MUI::CSwitchButton* deadZoneSwitch = nullptr;
    MUI::CSwitchButton* rapidTriggerSwitch = nullptr;
    MUI::CSwitchButton* separateSwitch = nullptr;
    MUI::CSwitchButton* continuousSwitch = nullptr;
    MUI::CSwitchButton* bottomSwitch = nullptr;
    MUI::MSlider* combinedSlider = nullptr;
    MUI::MSlider* pressSlider = nullptr;
    MUI::MSlider* releaseSlider = nullptr;
    MUI::MText* combinedLabel = nullptr;
    MUI::MText* pressLabel = nullptr;
    MUI::MText* releaseLabel = nullptr;
    // The release-stroke display's state remembered for the end of a calibration.
    bool releaseStrokeShown = true;
};
