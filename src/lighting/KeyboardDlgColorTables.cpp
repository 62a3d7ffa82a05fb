// The main window's lighting, colour-table and macro exchanges: they pick the lighting
// page's profile and mode, paint the lighting page's key view, and hand over to the
// transfers.
#include <vector>

#include "app/KeyboardDlg.h"
#include "device/ColorTransfer.h"
#include "device/DeviceManager.h"
#include "device/MacroTransfer.h"
#include "device/SettingsTransfer.h"
#include "platform/mui/KeyboardCtrl.h"
#include "storage/KBDataBase.h"

namespace {

constexpr unsigned kLightProfileCombo = 141;
constexpr unsigned kLightKeyView = 138;
// The user colours wait for the keyboard to settle after the lighting write.
constexpr int kUserColorsPauseMs = 100;
// This model shows its live colours at a third of the scale.
constexpr int kThirdScaleModel = 104;

void Paint(MUI::KeyboardCtrl* view, const std::vector<KeyColor>& colors)
{
    if (view == nullptr) return;
    for (const auto& [code, color] : colors)
        view->SetKeyColor(code, static_cast<MUI::COLORREF>(color));
    view->UpdateControl();
}

}  // namespace

int KeyboardDlg::LightingPageProfile() const { return ProfileShownIn(kLightProfileCombo); }

void KeyboardDlg::ReadLightingFromDevice(int profile)
{
    SettingsTransfer(DeviceManager::GetInstance(), KBDataBase::GetInstance(), worker.pause)
        .ReadLighting(profile, keyTables.maps);
}

void KeyboardDlg::WriteLightingToDevice()
{
    SettingsTransfer(DeviceManager::GetInstance(), KBDataBase::GetInstance(), worker.pause)
        .WriteLighting(LightingPageProfile(), page.currentLightMode.load());
}

void KeyboardDlg::WriteUserColorsToDevice()
{
    worker.pause(kUserColorsPauseMs);
    std::vector<KeyColor> sent;
    ColorTransfer(DeviceManager::GetInstance(), keyTables.maps)
        .WriteUserColors(KBDataBase::GetInstance(), LightingPageProfile(), sent);
    Paint(GetControlAs<MUI::KeyboardCtrl>(kLightKeyView), sent);
}

void KeyboardDlg::ReadKeyColorsFromDevice()
{
    std::vector<KeyColor> colors;
    const bool thirdScale = connection.currentModelId.load() == kThirdScaleModel;
    if (!ColorTransfer(DeviceManager::GetInstance(), keyTables.maps)
             .ReadLiveColors(thirdScale, colors)) {
        return;
    }
    if (!colors.empty()) Paint(GetControlAs<MUI::KeyboardCtrl>(kLightKeyView), colors);
}

void KeyboardDlg::WriteLiveColorsToDevice()
{
    std::vector<KeyColor> colors;
    if (auto* view = GetControlAs<MUI::KeyboardCtrl>(kLightKeyView)) {
        for (const MUI::KeyItem& item : view->GetKeyItems()) {
            colors.emplace_back(item.code, static_cast<int>(item.color));
        }
    }
    ColorTransfer(DeviceManager::GetInstance(), keyTables.maps).WriteLiveColors(colors);
}

void KeyboardDlg::WriteMacrosToDevice()
{
    WriteMacrosToKeyboard(DeviceManager::GetInstance(), KBDataBase::GetInstance());
}
