// The advanced-key editor's values: loading a stored key into its page and saving the page.
#include <cstdio>
#include <vector>

#include "keys/AdvKeyEditorIds.h"
#include "keys/CustomKeyDKSDlg.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyDKSCtrl.h"
#include "platform/mui/KeyMTCtrl.h"
#include "platform/mui/MText.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace AdvKeyEditorId;

constexpr UINT kSavedMessage = 0x72D;
constexpr int kSaveFailedText = 1101;
constexpr int kSaveFailedCaption = 1102;
constexpr int kModeMask = 0x30;

int Low(int value) { return value & 0xFFFF; }
int High(int value) { return (value >> 16) & 0xFFFF; }
int Both(int distance) { return (distance & 0xFFFF) * 0x10001; }

bool IsChecked(const MUI::MDialog& dialog, unsigned id)
{
    const auto* button = dialog.GetControlAs<MUI::CCheckButton>(id);
    return button != nullptr && button->GetCheck();
}

void Check(MUI::MDialog& dialog, unsigned id)
{
    if (auto* radio = dialog.GetControlAs<MUI::CRadioButton>(id)) radio->SetCheck(true);
}

// The non-empty binding captions in row order, joined by "+".
std::wstring JoinedNames(const std::vector<MUI::KeyCell>& cells, size_t count)
{
    std::wstring joined;
    for (size_t i = 0; i < count && i < cells.size(); ++i) {
        if (cells[i].caption.empty()) continue;
        if (!joined.empty()) joined += L"+";
        joined += cells[i].caption;
    }
    return joined;
}

}  // namespace

int CustomKeyDKSDlg::GetSocdModeBits() const
{
    for (unsigned id = kSocdModeFirst; id <= kSocdModeLast; ++id) {
        if (IsChecked(*this, id)) return static_cast<int>(id - kSocdModeFirst) * 16;
    }
    return 0;
}

int CustomKeyDKSDlg::GetOksModeBits() const
{
    for (unsigned id = kOksModeFirst; id <= kOksModeLast; ++id) {
        if (IsChecked(*this, id)) return static_cast<int>(id - kOksModeFirst + 1) * 16;
    }
    return 0;
}

void CustomKeyDKSDlg::LoadValues()
{
    if (macroId_ <= 0) return;
    KBDataBase& db = KBDataBase::GetInstance();
    MagneticKeyRecord key;
    if (!db.GetMagneticKey(macroId_, key)) return;
    switch (type_) {
        case kTypeDks: {
            auto* dks = GetControlAs<MUI::KeyDKSCtrl>(kDks);
            if (dks == nullptr) return;
            const int points[] = {key.key1_value & 0xFF, (key.key1_value >> 8) & 0xFF,
                                  key.key2_value & 0xFF, (key.key2_value >> 8) & 0xFF};
            for (int k = 0; k < 4; ++k)
                dks->SetItemValue(MUI::KeyDKSCtrl::kFirstPoint + k, points[k]);
            std::vector<KeyItemRecord*> stored;
            db.GetKeyItems(macroId_, stored);
            const std::vector<KeyItemRecord> items = TakeRecords(stored);
            // A set of fewer than four rows fills the rows it has; the others stay empty.
            for (size_t row = 0; row < items.size() && row < MUI::KeyDKSCtrl::kBindingRows; ++row) {
                const int index = static_cast<int>(row);
                dks->SetItem(index, items[row].key_name, items[row].key_value, 0);
                dks->SetItemState(
                    MUI::KeyDKSCtrl::kFirstStateIndex + MUI::KeyDKSCtrl::kStateIndexStep * index,
                    items[row].trigger_state1);
            }
            return;
        }
        case kTypeMt:
        case kTypeTgl: {
            auto* mt = GetControlAs<MUI::KeyMTCtrl>(kMt);
            if (mt == nullptr) return;
            mt->SetItem(0, key.key1_name, key.key1_value, 0);
            if (type_ == kTypeMt) {
                mt->SetItem(1, key.key2_name, key.key2_value, 0);
                SetSlider(kHoldSlider, 0, key.reserved / 10);
                if (auto* label = GetControlAs<MUI::MText>(kHoldLabel)) {
                    char text[32];
                    std::snprintf(text, sizeof text, "%dms", key.reserved);
                    label->SetTitle(
                        std::wstring(text, text + std::char_traits<char>::length(text)));
                }
            }
            return;
        }
        case kTypeRs:
            if (Low(key.key2_value) == High(key.key2_value)) {
                SetSlider(kRsDistance, kRsDistanceLabel, Low(key.key2_value));
            }
            SetSlider(kRsActuation, kRsActuationLabel, key.reserved);
            return;
        case kTypeSocd: {
            const int mode = (key.key1_value & kModeMask) >> 4;
            if (key.key1_value <= 15) {
                Check(*this, kSocdModeFirst);
            } else {
                Check(*this, kSocdModeFirst + static_cast<unsigned>(mode));
            }
            const bool split = Low(key.key2_value) != High(key.key2_value);
            if (auto* button = GetControlAs<MUI::CSwitchButton>(kSocdSplit))
                button->SetCheck(split);
            if (split) {
                SetSlider(kSocdPress, kSocdPressLabel, Low(key.key2_value));
                SetSlider(kSocdRelease, kSocdReleaseLabel, High(key.key2_value));
            } else {
                SetSlider(kSocdDistance, kSocdDistanceLabel, Low(key.key2_value));
            }
            OnSocdSplitSwitch();
            SetSlider(kSocdActuation, kSocdActuationLabel, key.reserved);
            return;
        }
        case kTypeOks: {
            const int mode = (key.key1_value & kModeMask) >> 4;
            if (mode >= 1) Check(*this, kOksModeFirst + static_cast<unsigned>(mode - 1));
            if (Low(key.key2_value) == High(key.key2_value)) {
                SetSlider(kOksDistance, kOksDistanceLabel, Low(key.key2_value));
            }
            SetSlider(kOksActuation, kOksActuationLabel, key.reserved);
            return;
        }
        default:
            return;
    }
}

int CustomKeyDKSDlg::SaveAdvKey()
{
    MagneticKeyRecord key;
    key.profile = profile_;
    key.key_value = static_cast<int32_t>(keyValue_);
    key.fn_layer = 0;
    key.macro_type = type_ + kTypeOffset;
    std::vector<MUI::KeyCell> cells;
    switch (type_) {
        case kTypeDks: {
            const auto* dks = GetControlAs<MUI::KeyDKSCtrl>(kDks);
            if (dks == nullptr) return 0;
            cells = dks->GetItems();
            const auto point = [&](int k) {
                return cells[static_cast<size_t>(MUI::KeyDKSCtrl::kFirstPoint + k)].value & 0xFF;
            };
            key.key1_value = point(1) << 8 | point(0);
            key.key2_value = point(3) << 8 | point(2);
            key.key1_name = JoinedNames(cells, MUI::KeyDKSCtrl::kBindingRows);
            key.reserved = static_cast<int32_t>(keyValue_);
            break;
        }
        case kTypeMt:
        case kTypeTgl: {
            const auto* mt = GetControlAs<MUI::KeyMTCtrl>(kMt);
            if (mt == nullptr) return 0;
            cells = mt->GetItems();
            const size_t needed = type_ == kTypeMt ? 2 : 1;
            if (cells.size() < needed) return 0;
            for (size_t i = 0; i < needed; ++i) {
                if (cells[i].caption.empty()) return 0;  // the editor stays open
            }
            key.key1_value = cells[0].value;
            key.key1_name = cells[0].caption;
            if (type_ == kTypeMt) {
                key.key2_value = cells[1].value;
                key.key2_name = cells[1].caption;
                key.reserved = SliderPos(kHoldSlider) * 10;
            }
            break;
        }
        case kTypeRs:
            key.key1_value = 1;
            key.key2_value = Both(SliderPos(kRsDistance));
            key.reserved = SliderPos(kRsActuation);
            break;
        case kTypeSocd:
            key.key1_value = (GetSocdModeBits() & 0xF1) | 1;
            key.key2_value =
                IsChecked(*this, kSocdSplit)
                    ? (SliderPos(kSocdRelease) & 0xFFFF) << 16 | (SliderPos(kSocdPress) & 0xFFFF)
                    : Both(SliderPos(kSocdDistance));
            key.reserved = SliderPos(kSocdActuation);
            break;
        case kTypeOks:
            key.key1_value = (GetOksModeBits() & 0xF1) | 1;
            key.key2_value = Both(SliderPos(kOksDistance));
            key.reserved = SliderPos(kOksActuation);
            break;
        default:
            return 0;
    }
    if (!SaveRecord(key)) {
        services_.messageBox(GetHWND(), services_.text(kSaveFailedText),
                             services_.text(kSaveFailedCaption));
        return 0;
    }
    PostToOwner(kSavedMessage, macroId_);
    closing_ = true;
    ShowWindow(SW_HIDE);
    return 1;
}

bool CustomKeyDKSDlg::SaveRecord(MagneticKeyRecord& key)
{
    KBDataBase& db = KBDataBase::GetInstance();
    int id = macroId_;
    // The key and a DKS key's four bindings are kept together or not at all.
    const bool kept = db.WriteTogether([&] {
        if (id < 1) {
            id = db.InsertMagneticKey(key);
            if (id < 1) return false;
        } else if (!db.UpdateMagneticKey(id, key)) {
            return false;
        }
        if (type_ != kTypeDks) return true;
        const auto* dks = GetControlAs<MUI::KeyDKSCtrl>(kDks);
        if (dks == nullptr) return false;
        const std::vector<MUI::KeyCell> cells = dks->GetItems();
        if (!db.DeleteKeyItems(id)) return false;
        for (int row = 0; row < MUI::KeyDKSCtrl::kBindingRows; ++row) {
            KeyItemRecord item;
            item.macro_id = id;
            item.trigger_state1 = dks->GetItemState(MUI::KeyDKSCtrl::kFirstStateIndex +
                                                    MUI::KeyDKSCtrl::kStateIndexStep * row);
            item.key_value = cells[static_cast<size_t>(row)].value;
            item.key_name = cells[static_cast<size_t>(row)].caption;
            if (db.InsertKeyItem(item) < 1) return false;
        }
        return true;
    });
    if (kept) macroId_ = id;
    return kept;
}
