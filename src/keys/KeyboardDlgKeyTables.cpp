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

}  // namespace

int KeyboardDlg::ProfileShownIn(unsigned comboId) const
{
    // A filled combo box always shows the current profile.
    const auto* combo = GetControlAs<MUI::MComboBox>(comboId);
    return combo != nullptr && combo->GetCurSel() >= 0 ? combo->GetCurData()
                                                       : page.currentProfile.load();
}

int KeyboardDlg::KeyPageProfile() const { return ProfileShownIn(KeyPageId::kProfileCombo); }

int KeyboardDlg::AdvancedKeyPageProfile() const
{
    return ProfileShownIn(KeyPageId::kAdvancedKeyProfileCombo);
}

void KeyboardDlg::ReadDefaultKeyMapFromDevice()
{
    // Key tables owed to the keyboard are the database's: they are written, not read.
    const bool owed = worker.unsent.Owes(UnsentTables::kKeyTables);
    KeyTableTransfer transfer = Transfer(keyTables);
    transfer.ReadDefaultKeyMap(KeyPageProfile(), !owed);
    if (!owed) transfer.KeepSlotsOf(AdvancedKeyPageProfile());
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
        // Exchanges stopped for the exit: a retry could only fail, and its pause would hold
        // the exit up.
        if (!tooFew() || DeviceManager::GetInstance().ExchangesStopped()) break;
        pause(ms);
        ReadDefaultKeyMapFromDevice();
    }
}

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

bool KeyboardDlg::WriteProfileKeyMapsToDevice()
{
    return Transfer(keyTables).WriteProfileKeyMaps(KeyPageProfile(), AdvancedKeyPageProfile());
}

void KeyboardDlg::EncodeKeyAction(int keyIndex, std::span<uint8_t> table, const KeyMacroRecord& row)
{
    Transfer(keyTables).EncodeRow(table, keyIndex, row);
}
