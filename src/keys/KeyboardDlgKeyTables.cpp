// The main window's key-table exchanges: they pick the profiles and the layer the pages show
// and hand over to KeyTableTransfer.
#include <chrono>
#include <thread>

#include "app/KeyActionTexts.h"
#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "keys/KeyTableTransfer.h"
#include "storage/KBDataBase.h"

namespace {

constexpr int kFirstRetryPauseMs = 100;
constexpr int kSecondRetryPauseMs = 1000;

KeyTableTransfer Transfer(KeyTableState& state)
{
    return KeyTableTransfer(DeviceManager::GetInstance(), KBDataBase::GetInstance(), state,
                            LanguageKeyActionTexts());
}

// The profile a page's combo box shows; the current profile while the combo box is missing or
// holds no selection (it always shows the current profile once it is filled).
int ProfileShownBy(const MUI::MComboBox* combo, int currentProfile)
{
    return combo != nullptr && combo->GetCurSel() >= 0 ? combo->GetCurData() : currentProfile;
}

}  // namespace

int KeyboardDlg::KeyPageProfile() const
{
    return ProfileShownBy(GetControlAs<MUI::MComboBox>(KeyPageId::kProfileCombo),
                          page.currentProfile);
}

int KeyboardDlg::AdvancedKeyPageProfile() const
{
    return ProfileShownBy(GetControlAs<MUI::MComboBox>(KeyPageId::kAdvancedKeyProfileCombo),
                          page.currentProfile);
}

void KeyboardDlg::ReadDefaultKeyMapFromDevice()
{
    Transfer(keyTables).ReadDefaultKeyMap(KeyPageProfile());
}

void KeyboardDlg::LoadKeyTablesFromDevice()
{
    auto pause = [this](int ms) {
        if (worker.pause) {
            worker.pause(ms);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    };
    auto tooFew = [this] {
        return static_cast<int>(keyTables.maps.indexToCode.size()) < kMinMappedKeys;
    };
    ReadDefaultKeyMapFromDevice();
    for (const int ms : {kFirstRetryPauseMs, kSecondRetryPauseMs}) {
        if (!tooFew()) break;
        pause(ms);
        ReadDefaultKeyMapFromDevice();
    }
}

void KeyboardDlg::ReadKeyMapFromDevice() { Transfer(keyTables).ReadKeyMap(KeyPageProfile()); }

void KeyboardDlg::WriteKeyMapToDevice()
{
    Transfer(keyTables).WriteKeyMap(KeyPageProfile(), page.currentFnLayer.load(),
                                    AdvancedKeyPageProfile());
}

void KeyboardDlg::WriteLayerKeyMapToDevice()
{
    Transfer(keyTables).WriteLayerKeyMap(KeyPageProfile(), page.currentFnLayer.load(),
                                         AdvancedKeyPageProfile());
}

void KeyboardDlg::WriteAdvancedKeysToDevice()
{
    Transfer(keyTables).WriteAdvancedKeys(AdvancedKeyPageProfile());
}

void KeyboardDlg::WriteLayerAdvancedKeysToDevice()
{
    Transfer(keyTables).WriteLayerAdvancedKeys(AdvancedKeyPageProfile(),
                                               page.currentFnLayer.load());
}

void KeyboardDlg::EncodeKeyAction(int keyIndex, std::span<uint8_t> table, const KeyMacroRecord& row)
{
    Transfer(keyTables).EncodeRow(table, keyIndex, row);
}
