// The main window's lighting, colour-table and macro exchanges: they pick the lighting
// page's profile and mode, paint the lighting page's key view, and hand over to the
// transfers.
#include <chrono>
#include <vector>

#include "app/KeyboardDlg.h"
#include "device/ColorTransfer.h"
#include "device/DeviceManager.h"
#include "device/MacroTransfer.h"
#include "device/SettingsTransfer.h"
#include "platform/mui/KeyboardCtrl.h"
#include "storage/KBDataBase.h"

namespace {

constexpr unsigned kLightProfileCombo = LightPageId::kProfileCombo;
constexpr unsigned kLightKeyView = LightPageId::kKeyboard;
// The user colours wait for the keyboard to settle after the lighting write.
constexpr int kUserColorsPauseMs = 100;
// This model shows its live colours at a third of the scale.
constexpr int kThirdScaleModel = 104;

// Paints the keys whose colour changed; the view is redrawn only when one did.
void Paint(MUI::KeyboardCtrl* view, const std::vector<KeyColor>& colors)
{
    if (view == nullptr) return;
    bool changed = false;
    for (const auto& [code, color] : colors) {
        const auto shown = static_cast<MUI::COLORREF>(color & 0xFFFFFF);
        if (view->GetKeyColor(code) == shown) continue;
        view->SetKeyColor(code, shown);
        changed = true;
    }
    if (changed) view->UpdateControl();
}

}  // namespace

int KeyboardDlg::LightingPageProfile() const { return ProfileShownIn(kLightProfileCombo); }

void KeyboardDlg::ReadLightingFromDevice(int profile)
{
    if (worker.unsent.Owes(UnsentTables::kLighting)) {
        // The rows are what the keyboard is to get: they are written, not read over.
        lightPage.userColorsUnread = false;
        return;
    }
    lightPage.userColorsUnread =
        !SettingsTransfer(DeviceManager::GetInstance(), KBDataBase::GetInstance(), worker.pause)
             .ReadLighting(profile, keyTables.maps);
}

void KeyboardDlg::WriteLightingToDevice()
{
    SettingsTransfer(DeviceManager::GetInstance(), KBDataBase::GetInstance(), worker.pause)
        .WriteLighting(LightingPageProfile(), page.currentLightMode.load());
}

void KeyboardDlg::WriteUserColorsToDevice()
{
    // Colours the program could not read are the keyboard's own.
    if (lightPage.userColorsUnread.load()) return;
    worker.pause(kUserColorsPauseMs);
    std::vector<KeyColor> sent;
    ColorTransfer(DeviceManager::GetInstance(), keyTables.maps)
        .WriteUserColors(KBDataBase::GetInstance(), LightingPageProfile(), sent);
    Paint(GetControlAs<MUI::KeyboardCtrl>(kLightKeyView), sent);
}

void KeyboardDlg::ReadKeyColorsFromDevice()
{
    // Ten pictures a second follow the keyboard's effects closely enough, for a tenth of the
    // processor time that reading at every step would take.
    const auto now = std::chrono::steady_clock::now();
    if (now - lightPage.lastPreview < LightPageControls::kPreviewInterval) return;
    lightPage.lastPreview = now;
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
