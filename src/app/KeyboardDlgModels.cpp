// The supported models, the model's layout file and its pictures.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/AppConfig.h"
#include "app/DatabaseNotice.h"
#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "device/DeviceManager.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MLevelCtrl.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/MText.h"
#include "platform/mui/SkinImages.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"

namespace {

constexpr int kFirstModelId = 101;
// Notices of the key views: a layout file or a picture that could not be loaded.
constexpr int kLayoutNotLoadedText = 830;
constexpr int kPictureNotLoadedText = 831;
// Ids of the four key views: key assignment, advanced keys, lighting, performance.
constexpr unsigned kKeyViewIds[] = {KeyPageId::kKeyboard, 104, 138, 272};
// The pictures under those views, each made before its view.
constexpr unsigned kKeyViewBackgroundIds[] = {KeyPageId::kKeyboardBackground, 105, 139, 273};
// The macro page's picture of the keyboard.
constexpr unsigned kMacroKeyboardPicture = 218;

}  // namespace

void KeyboardDlg::LoadDeviceModels()
{
    int selected = ReadDeviceType();
    if (selected < 100) {
        selected = kFirstModelId;
    }
    DeviceModel keyboard;
    keyboard.name = L"Morvessa Keyboard";
    keyboard.id = kFirstModelId;
    keyboard.layoutKey = L"qx71_max";

    DeviceModel interface;
    interface.name = keyboard.name;
    interface.connectionKind = 0;
    interface.vendorId = 0x3B6D;
    interface.productId = 0xFD70;
    interface.bus = L"USB";
    interface.interfacePattern = L"VID_3B6D&PID_FD70&MI_01";
    {
        std::lock_guard lock(model.mutex);
        model.models = {keyboard};
        model.interfaces = {interface};
    }
    if (ui.modelCombo != nullptr) {
        ui.modelCombo->DelAllItems();
        ui.modelCombo->AddItem(keyboard.name, keyboard.id);
    }
    DeviceManager::GetInstance().AddSupportedDevice(interface.vendorId, interface.productId,
                                                    interface.name, kFirstModelId, 0);
    ReadSoftwareInfo(info.softwareVersion, info.storeLink);
    if (ui.modelCombo != nullptr) {
        ui.modelCombo->SelectData(selected);
        connection.selectedModelIndex = ui.modelCombo->GetCurSel();
    }
    RegisterDeviceNotify();
}

std::vector<MUI::KeyboardCtrl*> KeyboardDlg::KeyViews() const
{
    std::vector<MUI::KeyboardCtrl*> views;
    for (const unsigned id : kKeyViewIds) {
        if (auto* view = GetControlAs<MUI::KeyboardCtrl>(id)) {
            views.push_back(view);
        }
    }
    return views;
}

void KeyboardDlg::LoadKeyboardLayout(int modelId)
{
    DeviceModel chosen;
    {
        std::lock_guard lock(model.mutex);
        for (const DeviceModel& entry : model.models) {
            if (entry.id == modelId) {
                chosen = entry;
                break;
            }
        }
        model.name = chosen.name;
        model.layoutKey = chosen.layoutKey;
        model.pictureTextA = chosen.pictureTextA;
        model.pictureTextB = chosen.pictureTextB;
    }
    if (ui.modelCombo != nullptr) {
        ui.modelCombo->SetTitle(chosen.name);
    }
    if (ui.settings.deviceName != nullptr) {
        ui.settings.deviceName->SetTitle(chosen.name);
    }
    connection.currentModelId = modelId;
    for (MUI::KeyboardCtrl* view : KeyViews()) view->SetModelId(modelId);

    KBDataBase& database = KBDataBase::GetInstance();
    if (database.IsOpened()) {
        database.Close();
    }
    TellDatabaseProblem(GetHWND(), database.Open(GetDataFolder(), chosen.name));

    LayoutFileData data;
    const std::wstring layoutName = chosen.layoutKey + L".xml";
    const std::wstring layoutPath = GetModuleFolder() + L"layouts/" + layoutName;
    bool loaded = LoadLayoutFile(layoutPath, data);
    if (loaded && data.hasKeyboard && !data.HasUsableKey()) {
        std::fprintf(stderr, "%s has no key with a size: its keyboard is not shown\n",
                     text::WideToUtf8(layoutPath).c_str());
        loaded = false;
    }
    if (loaded && data.hasLight) {
        layout.rgbKeyboard = data.rgbKeyboard;
        layout.defaultMode = data.defaultMode;
        layout.defaultBrightness = data.defaultBrightness;
        layout.defaultSpeed = data.defaultSpeed;
        layout.brightnessMax = data.brightnessMax;
        // The brightness slider spans what the model's lighting takes; the speed always has
        // five levels.
        if (lightPage.brightness != nullptr && data.brightnessMax > 0) {
            lightPage.brightness->SetRange(0, data.brightnessMax);
        }
        if (lightPage.speed != nullptr) lightPage.speed->SetRange(0, 4);
    }
    // Cleared also for a file that does not load: the views and the grid then stay empty.
    layout.musicRows = 0;
    layout.musicColumns = 0;
    std::memset(layout.musicGrid, 0, sizeof layout.musicGrid);
    const std::vector<MUI::KeyboardCtrl*> views = KeyViews();
    for (MUI::KeyboardCtrl* view : views) {
        view->ClearKeyItems();
    }
    // A layout that does not load leaves the views without keys: they say so on one line.
    const std::wstring notice =
        loaded && data.hasKeyboard ? L"" : GetLanString(kLayoutNotLoadedText) + L" " + layoutName;
    for (MUI::KeyboardCtrl* view : views) {
        view->SetTitle(notice);
    }
    if (loaded && data.hasKeyboard) {
        for (MUI::KeyboardCtrl* view : views) {
            view->SetKeyboardColor(data.keyboardColor);
            view->SetKeyboardSize(data.keyboardWidth, data.keyboardHeight);
        }
        layout.musicRows = data.rowCount;
        layout.musicColumns = data.columnCount;
        std::memcpy(layout.musicGrid, data.musicGrid, sizeof layout.musicGrid);
        for (const LayoutKeyItem& key : data.keys) {
            const RECT rect{key.left, key.top, key.left + key.width, key.top + key.height};
            AddLayoutKeyItem(key.name, key.desc, key.code, rect, key.icon);
        }
    }
    ApplyModelPictures();
    FillMusicModeCombo();
}

void KeyboardDlg::AddLayoutKeyItem(const std::wstring& name, const std::wstring& desc, int code,
                                   const RECT& rect, const std::wstring& icon)
{
    for (MUI::KeyboardCtrl* view : KeyViews()) {
        view->AddKeyItem(name, desc, code, rect.left, rect.top, rect.right, rect.bottom, icon,
                         kDefaultKeyColor);
    }
}

void KeyboardDlg::ApplyModelPictures()
{
    // The model's keyboard picture on the macro page, the picture under the keys of the four
    // key views and its rectangle, and which of the frame's header controls it shows.
    std::wstring macroPicture;
    std::wstring viewPicture = L"keyboard/keyboardctrl_bg2.png";
    RECT viewRect{330, 175, 1410, 575};
    bool rateTextHeader = false;
    switch (connection.currentModelId.load()) {
        case 101:
        case 102:
            macroPicture = L"keyboard/keyboardctrl_bg.png";
            break;
        case 103:
        case 105:
        case 107:
            macroPicture = L"keyboard/macro_68.png";
            break;
        case 104:
            macroPicture = L"keyboard/macro_lw9.png";
            rateTextHeader = true;
            break;
        case 106:
            macroPicture = L"keyboard/macro_lw8.png";
            rateTextHeader = true;
            break;
        default:
            break;
    }
    if (!macroPicture.empty() && !rateTextHeader) {
        viewPicture = L"keyboard/keyboardctrl_bg1.png";
        viewRect = {350, 190, 1420, 540};
    }
    if (!macroPicture.empty()) {
        if (auto* picture = GetControlAs<MUI::MPicture>(kMacroKeyboardPicture)) {
            picture->SetImage(macroPicture);
        }
    }
    // A picture the skin does not hold is named under the keys (the keys are still drawn).
    const bool pictureMissing = MUI::LoadSkinImage(viewPicture).isNull();
    for (const unsigned id : kKeyViewBackgroundIds) {
        if (auto* background = GetControlAs<MUI::MPicture>(id)) {
            background->SetImage(viewPicture);
            background->SetRect(viewRect);
        }
    }
    for (MUI::KeyboardCtrl* view : KeyViews()) {
        view->SetBoardArea(viewRect);
        if (pictureMissing && view->GetKeyItemCount() > 0) {
            view->SetTitle(GetLanString(kPictureNotLoadedText) + L" " + viewPicture);
        }
    }
    SetControlVisible(MainId::kReportRateCombo, !rateTextHeader);
    SetControlVisible(MainId::kRateText, rateTextHeader);
    if (rateTextHeader) {
        if (MUI::MControl* text = GetControl(MainId::kRateText)) text->SetRect(1230, 20, 1340, 56);
        if (MUI::MControl* combo = GetControl(MainId::kTachyonModeCombo))
            combo->SetRect(1300, 20, 1400, 56);
    }
}
