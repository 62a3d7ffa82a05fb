// The lighting page's control notifications and its profile and preset menus.
#include "app/KeyboardDlg.h"
#include "lighting/LightPresetFile.h"
#include "platform/mui/MComboBox3.h"

namespace {

using namespace LightPageId;

// The profile menu's items: add, delete, rename.
constexpr int kFirstMenuItem = 101;
constexpr int kLastMenuItem = 103;

}  // namespace

int KeyboardDlg::OnLightPageMessage(unsigned id, int code, LPARAM)
{
    // The key view, the mode list and the colour edits report every notification; the other
    // controls their click.
    switch (id) {
        case kKeyboard:
            SaveUserKeyColors(code);
            return 1;
        case kModeList:
            OnLightModeSelected(code);
            return 1;
        case kRedEdit:
            OnRedEdit(code);
            return 1;
        case kGreenEdit:
            OnGreenEdit(code);
            return 1;
        case kBlueEdit:
            OnBlueEdit(code);
            return 1;
        default:
            break;
    }
    if (code != MUI::kNotifyClick) return 0;
    if (id >= kFirstColorButton && id <= kLastColorButton) {
        OnColorButton(id);
        return 1;
    }
    for (const auto& pair : kDirectionPairs) {
        if (id == pair[0] || id == pair[1]) {
            OnDirectionChanged(id);
            return 1;
        }
    }
    switch (id) {
        case kProfileCombo:
            OnProfileComboChanged(id);
            return 1;
        case kProfileMenu:
            ShowLightProfileMenu();
            return 1;
        case kPresetCombo:
            OnLightPresetSelected();
            return 1;
        case kReset:
            ResetLighting();
            return 1;
        case kEnableSwitch:
            OnEnableLightSwitch();
            return 1;
        case kBrightness:
            OnBrightnessChanged();
            return 1;
        case kSpeed:
            OnSpeedChanged();
            return 1;
        case kColorful:
            OnColorfulCheck(code);
            return 1;
        case kPalette:
            OnPaletteColor();
            return 1;
        case kSelectNone:
        case kInvertSelection:
        case kSelectAll:
            OnLightSelection(id);
            return 1;
        case 207:
            OnMusicForeModeChanged();
            return 1;
        case 209:
            OnMusicAmplitudeChanged();
            return 1;
        case 211:
            OnMusicBackModeChanged();
            return 1;
        case 213:
            OnMusicBackBrightnessChanged();
            return 1;
        default:
            return 0;
    }
}

void KeyboardDlg::ShowLightProfileMenu() { ShowProfileMenu(kProfileMenu, WM_LIGHT_MENU_COMMAND); }

void KeyboardDlg::OnLightMenuCommand(int item)
{
    if (item >= kFirstMenuItem && item <= kLastMenuItem) {
        OnCustomKeyMenuCommand(item);
    } else if (item >= kFirstLightPreset && item < kFirstLightPreset + kLightPresetCount) {
        LoadDefaultLightPreset(item);
    }
}

void KeyboardDlg::OnLightPresetSelected()
{
    MUI::MComboBox3* presets = lightPage.presetCombo;
    if (presets == nullptr || presets->GetCurSel() < 0) return;
    OnLightMenuCommand(presets->GetCurData());
}
