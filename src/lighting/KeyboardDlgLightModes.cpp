// The lighting page's modes and values: the mode list and the switch loaded for the lighting
// profile, the controls each mode uses, and the handlers that store a change in the mode's row
// and queue its write to the keyboard.
#include <algorithm>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "lighting/LightModes.h"
#include "lighting/Visualizer.h"
#include "platform/mui/CCheckButton.h"
#include "platform/mui/CColorButton.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/CirclePalette.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MLevelCtrl.h"
#include "platform/mui/MListBoxEx.h"
#include "platform/mui/MSlider.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace LightPageId;

constexpr const wchar_t* kEnableLightKey = L"enable_light";
constexpr int kMaxChannel = 255;
constexpr int kMaxBrightness = 255;
constexpr int kMaxSpeed = 4;
constexpr int kUncheckedColor = 255;  // red

int Channel(int color, int channel) { return (color >> (8 * channel)) & 0xFF; }

}  // namespace

void KeyboardDlg::LoadLightModes()
{
    LightPageControls& light = lightPage;
    if (light.modeList == nullptr) return;
    light.modeList->DelAllItems();
    const int profile = LightingPageProfile();
    if (profile <= 0) return;
    KBDataBase& db = KBDataBase::GetInstance();
    std::vector<LightRecord*> stored;
    db.GetLights(profile, stored);
    for (const LightRecord& row : TakeRecords(stored)) {
        if (row.mode == LIGHT_MODE_OFF) continue;
        light.modeList->AddItem(GetLanString(ModeCaptionText(row.name)), row.mode);
    }
    const int active = db.GetActiveLightMode(profile);
    light.modeList->SelectData(active);
    std::wstring enabled;
    db.GetConfig(profile, kEnableLightKey, enabled);
    const bool on = enabled == L"1";
    light.enableSwitch->SetCheck(on);
    light.enabled = on;
    page.currentLightMode = on ? active : static_cast<int>(LIGHT_MODE_OFF);
    RefreshLightControls();
    BuildMusicGrid();
    LoadMusicSettings();
}

void KeyboardDlg::RefreshLightControls()
{
    const int profile = LightingPageProfile();
    if (profile <= 0) return;
    KBDataBase& db = KBDataBase::GetInstance();
    LightRecord row;
    if (!db.GetLight(profile, page.currentLightMode.load(), row)) return;
    const auto mask = static_cast<unsigned>(row.config_func);
    page.lightFunc = mask;
    LightPageControls& light = lightPage;

    const bool brightness = (mask & LIGHT_FUNC_BRIGHTNESS) != 0;
    SetControlVisible(kBrightnessLabel, brightness);
    SetControlVisible(kBrightness, brightness);
    light.brightness->SetPos(brightness ? row.brightness : 0);
    const bool speed = (mask & LIGHT_FUNC_SPEED) != 0;
    SetControlVisible(kSpeedLabel, speed);
    SetControlVisible(kSpeed, speed);
    light.speed->SetLevel(speed ? row.speed : 0);

    const int pair = DirectionPairOf(mask);
    SetControlVisible(kDirectionLabel, pair >= 0);
    for (int p = 0; p < 4; ++p) {
        for (const unsigned id : kDirectionPairs[p]) SetControlVisible(id, p == pair);
    }
    if (pair >= 0) {
        const unsigned ticked = kDirectionPairs[pair][row.direction == 1 ? 0 : 1];
        if (auto* button = GetControlAs<MUI::CCheckButton>(ticked)) button->SetCheck(true);
    }

    const bool colorful = row.colorful == 1;
    const bool colorfulBox = (mask & LIGHT_FUNC_COLORFUL) != 0;
    SetControlVisible(kColorful, colorfulBox);
    SetControlVisible(kColorfulLabel, colorfulBox);
    if (colorfulBox) {
        light.colorful->SetCheck(colorful);
        light.keyboard->SetLightModeColor(colorful, static_cast<MUI::COLORREF>(row.color_value));
    }

    const bool colorPanel = (mask & LIGHT_FUNC_COLOR) != 0;
    for (const unsigned id : {kColorCaption, kPalette}) SetControlVisible(id, colorPanel);
    for (unsigned id = kRedLabel; id <= kBlueEdit; ++id) SetControlVisible(id, colorPanel);
    for (unsigned id = kFirstColorButton; id <= kLastColorButton; ++id)
        SetControlVisible(id, colorPanel);
    if (colorPanel) ShowColorInEdits(colorful ? kUncheckedColor : row.color_value);

    const bool music = (mask & LIGHT_FUNC_MUSIC) != 0;
    ShowMusicPanel(music);
    if (visualizer) visualizer->SetAnalysis(music);

    const bool userColors = (mask & LIGHT_FUNC_USER_COLORS) != 0;
    light.keyboard->SetUserColorMode(userColors);
    // Keys are picked, and the selection buttons used, only where keys take colours.
    const bool user = page.currentLightMode.load() == LIGHT_MODE_USER;
    light.keyboard->SetSelectMode(user ? MUI::KeyboardCtrl::kSelectMultiple
                                       : MUI::KeyboardCtrl::kSelectNone);
    for (const unsigned id : {kSelectNone, kInvertSelection, kSelectAll}) {
        if (MUI::MControl* button = GetControl(id)) button->SetEnabled(user);
    }
    if (userColors) {
        light.keyboard->SetLightModeColor(false, 0);
        if (layout.rgbKeyboard) {
            std::vector<UserLightRgbRecord*> colors;
            db.GetUserLightRgbs(profile, colors);
            for (const UserLightRgbRecord& key : TakeRecords(colors)) {
                light.keyboard->SetKeyColor(key.key_code, static_cast<MUI::COLORREF>(key.key_rgb));
            }
        }
    }
    light.keyboard->UpdateControl();
}

void KeyboardDlg::ApplyLightColor(int color)
{
    const int profile = LightingPageProfile();
    if (profile <= 0) return;
    KBDataBase& db = KBDataBase::GetInstance();
    const int mode = page.currentLightMode.load();
    if ((page.lightFunc.load() & LIGHT_FUNC_USER_COLORS) == 0) {
        LightRecord row;
        if (!db.GetLight(profile, mode, row)) return;
        row.color_value = color;
        lightPage.keyboard->SetLightModeColor(false, static_cast<MUI::COLORREF>(color));
        db.UpdateLight(mode, row);
        QueueCommand(QCMD_WRITE_LIGHTING);
        return;
    }
    if (mode != LIGHT_MODE_USER) return;
    // The selected keys take the colour; the whole set is stored.
    lightPage.keyboard->SetAllSelectColor(static_cast<MUI::COLORREF>(color));
    StoreViewColors(profile);
}

void KeyboardDlg::StoreViewColors(int profile)
{
    KBDataBase& db = KBDataBase::GetInstance();
    std::vector<UserLightRgbRecord> rows;
    for (const MUI::KeyItem& item : lightPage.keyboard->GetKeyItems()) {
        UserLightRgbRecord row;
        row.profile = profile;
        row.userlight_id = profile;
        row.key_code = item.code;
        row.key_rgb = static_cast<int>(item.color);
        rows.push_back(row);
    }
    db.DeleteUserLightRgbs(profile);
    db.InsertUserLightRgbs(std::move(rows));
    QueueCommand(QCMD_WRITE_USER_COLORS);
}

void KeyboardDlg::ResetLighting()
{
    const int profile = LightingPageProfile();
    if (profile <= 0) return;
    KBDataBase& db = KBDataBase::GetInstance();
    lightPage.keyboard->SetAllSelectColor(0);
    db.DeleteUserLightRgbs(profile);
    db.SetConfig(profile, kEnableLightKey, L"1");
    lightPage.enableSwitch->SetCheck(true);
    lightPage.enabled = true;
    db.SetActiveLightMode(profile, LIGHT_MODE_EFFECT_1);
    const int mode = db.GetActiveLightMode(profile);
    page.currentLightMode = mode;
    lightPage.modeList->SelectData(mode);
    RefreshLightControls();
    QueueCommand(QCMD_WRITE_LIGHTING);
}

void KeyboardDlg::OnEnableLightSwitch()
{
    const int profile = LightingPageProfile();
    if (profile <= 0) return;
    KBDataBase& db = KBDataBase::GetInstance();
    const bool on = lightPage.enableSwitch->GetCheck();
    db.SetConfig(profile, kEnableLightKey, on ? L"1" : L"0");
    const int mode = on ? db.GetActiveLightMode(profile) : static_cast<int>(LIGHT_MODE_OFF);
    page.currentLightMode = mode;
    lightPage.enabled = on;
    RefreshLightControls();
    // Colours chosen while the lighting was off reach the keyboard when it comes on.
    if (mode == LIGHT_MODE_USER) QueueCommand(QCMD_WRITE_USER_COLORS);
    QueueCommand(QCMD_WRITE_LIGHTING);
}

void KeyboardDlg::OnLightModeSelected(int code)
{
    if (code != MUI::kNotifyClick) return;
    const int profile = LightingPageProfile();
    MUI::MListBoxEx* list = lightPage.modeList;
    if (profile <= 0 || list == nullptr || list->GetCurSel() < 0) return;
    const int chosen = list->GetCurData();
    // The chosen mode is the active row also while the lighting is off, so that switching it
    // on shows that mode.
    KBDataBase::GetInstance().SetActiveLightMode(profile, chosen);
    const int mode = lightPage.enabled.load() ? chosen : static_cast<int>(LIGHT_MODE_OFF);
    page.currentLightMode = mode;
    RefreshLightControls();
    const bool user = mode == LIGHT_MODE_USER;
    // The colours alone would leave the keyboard in its previous mode: the mode follows them.
    if (user) QueueCommand(QCMD_WRITE_USER_COLORS);
    QueueCommand(QCMD_WRITE_LIGHTING);
}

void KeyboardDlg::ChangeCurrentLightRow(const std::function<void(LightRecord&)>& change)
{
    const int profile = LightingPageProfile();
    const int mode = page.currentLightMode.load();
    KBDataBase& db = KBDataBase::GetInstance();
    LightRecord row;
    if (profile <= 0 || !db.GetLight(profile, mode, row)) return;
    change(row);
    db.UpdateLight(mode, row);
    QueueCommand(QCMD_WRITE_LIGHTING);
}

void KeyboardDlg::OnBrightnessChanged()
{
    // The keyboard takes one byte.
    const int brightness = std::clamp(lightPage.brightness->GetPos(), 0, kMaxBrightness);
    ChangeCurrentLightRow([&](LightRecord& row) { row.brightness = brightness; });
}

void KeyboardDlg::OnSpeedChanged()
{
    const int speed = std::clamp(lightPage.speed->GetLevel(), 0, kMaxSpeed);
    ChangeCurrentLightRow([&](LightRecord& row) { row.speed = speed; });
}

void KeyboardDlg::OnDirectionChanged(unsigned id)
{
    ChangeCurrentLightRow([&](LightRecord& row) {
        for (const auto& pair : kDirectionPairs) {
            if (id == pair[0]) row.direction = 1;
            if (id == pair[1]) row.direction = 0;
        }
    });
}

void KeyboardDlg::OnColorfulCheck(int code)
{
    const int profile = LightingPageProfile();
    const int mode = page.currentLightMode.load();
    KBDataBase& db = KBDataBase::GetInstance();
    LightRecord row;
    if (profile <= 0 || !db.GetLight(profile, mode, row)) return;
    const bool ticked = lightPage.colorful->GetCheck();
    row.colorful = ticked ? 1 : 0;
    if (!ticked) {
        // Just unticked by the user: red; cleared by a colour choice: the row's colour.
        const int color = code == MUI::kNotifyClick ? kUncheckedColor : row.color_value;
        row.color_value = color;
        ShowColorInEdits(color);
        ApplyLightColor(color);
    } else {
        lightPage.keyboard->SetLightModeColor(true, static_cast<MUI::COLORREF>(row.color_value));
    }
    db.UpdateLight(mode, row);
    QueueCommand(QCMD_WRITE_LIGHTING);
}

void KeyboardDlg::ApplyChosenColor(int color)
{
    ApplyLightColor(color);
    // Only a mode that shows the box clears it; elsewhere a stale tick must not repaint the
    // keys just painted.
    if ((page.lightFunc.load() & LIGHT_FUNC_COLORFUL) == 0) return;
    if (lightPage.colorful->GetCheck()) {
        lightPage.colorful->SetCheck(false);
        OnColorfulCheck(0);
    }
}

void KeyboardDlg::OnPaletteColor()
{
    const int color = static_cast<int>(lightPage.palette->GetColor() & 0xFFFFFF);
    ShowColorInEdits(color);
    ApplyChosenColor(color);
}

void KeyboardDlg::OnColorButton(unsigned id)
{
    const auto* button = GetControlAs<MUI::CColorButton>(id);
    if (button == nullptr) return;
    const int color = static_cast<int>(button->GetColor() & 0xFFFFFF);
    // The wheel's marker moves to the swatch's colour, as if it had been picked there.
    if (lightPage.palette != nullptr) lightPage.palette->SetColor(button->GetColor());
    ShowColorInEdits(color);
    ApplyChosenColor(color);
}

void KeyboardDlg::ShowColorInEdits(int color)
{
    for (int channel = 0; channel < 3; ++channel) {
        if (MUI::MEdit* edit = lightPage.rgbEdits[channel])
            edit->SetTitle(std::to_wstring(Channel(color, channel)));
    }
}

void KeyboardDlg::OnRedEdit(int code) { OnRgbEdit(0, code); }
void KeyboardDlg::OnGreenEdit(int code) { OnRgbEdit(1, code); }
void KeyboardDlg::OnBlueEdit(int code) { OnRgbEdit(2, code); }

void KeyboardDlg::OnRgbEdit(int channel, int code)
{
    MUI::MEdit* edit = lightPage.rgbEdits[channel];
    if (code != MUI::kNotifyTextChanged || edit == nullptr) return;
    const std::wstring text = edit->GetTitle();
    const long typed = std::wcstol(text.c_str(), nullptr, 10);
    const long value = std::clamp(typed, 0L, static_cast<long>(kMaxChannel));
    if (value != typed) edit->SetTitle(std::to_wstring(value));
    ApplyRgbEdits();
}

void KeyboardDlg::ApplyRgbEdits()
{
    int color = 0;
    for (int channel = 0; channel < 3; ++channel) {
        const MUI::MEdit* edit = lightPage.rgbEdits[channel];
        const std::wstring text = edit != nullptr ? edit->GetTitle() : std::wstring();
        const int value = static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)) & 0xFF;
        color |= value << (8 * channel);
    }
    ApplyChosenColor(color);
}
