// Per-key user colours on the lighting page: the key view's painting stored as the profile's
// colour set, the six preset colourings, and the selection buttons.
#include <string>
#include <vector>

#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "lighting/LightModes.h"
#include "lighting/LightPresetFile.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MListBoxEx.h"
#include "storage/KBDataBase.h"

namespace {

constexpr const wchar_t* kPresetFile = L"profile/default_light.xml";

}  // namespace

void KeyboardDlg::SaveUserKeyColors(int code)
{
    if (code != MUI::kNotifyClick || page.currentLightMode.load() != LIGHT_MODE_USER) return;
    const int profile = LightingPageProfile();
    if (profile <= 0 || lightPage.keyboard == nullptr) return;
    StoreViewColors(profile);
}

void KeyboardDlg::LoadDefaultLightPreset(int presetId)
{
    MUI::KeyboardCtrl* view = lightPage.keyboard;
    const int profile = LightingPageProfile();
    if (view == nullptr || profile <= 0) return;
    const auto isKey = [view](int keyCode) { return view->GetKeyItem(keyCode, nullptr); };
    const auto items = ReadLightPreset(GetModuleFolder() + kPresetFile, presetId, isKey,
                                       static_cast<size_t>(view->GetKeyItemCount()));
    if (!items) return;

    KBDataBase& db = KBDataBase::GetInstance();
    db.DeleteUserLightRgbs(profile);
    view->ResetAllItemsColor(0);
    std::vector<UserLightRgbRecord> rows;
    for (const auto& [keyCode, color] : *items) {
        UserLightRgbRecord row;
        row.profile = profile;
        row.userlight_id = profile;
        row.key_code = keyCode;
        row.key_rgb = color;
        rows.push_back(row);
        view->SetKeyColor(keyCode, static_cast<MUI::COLORREF>(color));
    }
    db.InsertUserLightRgbs(std::move(rows));
    view->UpdateControl();
    lightPage.modeList->SelectData(LIGHT_MODE_USER);
    OnLightModeSelected(MUI::kNotifyClick);
}

void KeyboardDlg::OnLightSelection(unsigned buttonId)
{
    MUI::KeyboardCtrl* view = lightPage.keyboard;
    if (view == nullptr) return;
    switch (buttonId) {
        case LightPageId::kSelectNone:
            view->ResetAllItemCheck(false);
            break;
        case LightPageId::kInvertSelection:
            view->InvertSelectItem();
            break;
        case LightPageId::kSelectAll:
            view->ResetAllItemCheck(true);
            break;
        default:
            break;
    }
}
