// The profile list every editing page shows: the first profiles of a fresh database, adding,
// deleting, renaming and switching profiles, the profile menu, and writing the chosen profile to
// the keyboard (worker).
#include <algorithm>
#include <string>
#include <vector>

#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "device/AdvancedKeyTables.h"
#include "keys/KeyPageControls.h"
#include "keys/PerfPageControls.h"
#include "lighting/DefaultLightRows.h"
#include "macros/ProfileFileLimits.h"
#include "macros/ProfileNames.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MenuWnd.h"
#include "platform/mui/WindowServices.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"
#include "storage/UniqueProfileName.h"

namespace {

// The layer selectors of the key-assignment and advanced-key pages.
constexpr unsigned kLayerSelectorIds[] = {95, 113};

constexpr int kDefaultNameText = 101;
constexpr int kOnlyProfileText = 220;
constexpr int kOnlyProfileCaption = 221;
constexpr int kOneButton = 0;

// The profile menu's items and their texts.
constexpr int kMenuAdd = 101;
constexpr int kMenuDelete = 102;
constexpr int kMenuRename = 103;
constexpr struct {
    int id;
    int text;
} kMenuItems[] = {{kMenuAdd, 35}, {kMenuDelete, 30}, {kMenuRename, 33}};
// The menu opens this far below the top-left corner of its button.
constexpr int kMenuOffsetY = 30;

constexpr unsigned kKeyPageProfileMenu = 88;

// The profile combobox of each page that has one.
constexpr struct {
    int page;
    unsigned combo;
} kPageCombos[] = {{PAGE_KEYS, 87},
                   {PAGE_ADVANCED_KEYS, 107},
                   {PAGE_MACROS, 220},
                   {PAGE_LIGHTING, 141},
                   {PAGE_PERFORMANCE, 277}};

constexpr int kProfileType = 1;

}  // namespace

std::vector<MUI::MComboBox*> KeyboardDlg::ProfileCombos() const
{
    // They hold the same items in the same order with the same selection.
    std::vector<MUI::MComboBox*> combos;
    if (auto* combo = GetControlAs<MUI::MComboBox>(KeyPageId::kProfileCombo)) {
        combos.push_back(combo);
    }
    for (const unsigned id : KeyPageId::kOtherProfileCombos) {
        if (auto* combo = GetControlAs<MUI::MComboBox>(id)) combos.push_back(combo);
    }
    return combos;
}

void KeyboardDlg::ActivateProfile(int profile)
{
    KBDataBase::GetInstance().SetActiveProfile(profile);
    page.currentProfile = profile;
    profiles.lightingProfile = profile;
    for (MUI::MComboBox* combo : ProfileCombos()) combo->SelectData(profile);
}

void KeyboardDlg::LoadProfiles()
{
    for (const unsigned id : kLayerSelectorIds) {
        if (auto* layers = GetControlAs<MUI::KeyLayerCtrl>(id)) layers->SetSelectKeyLayer(0);
    }
    page.currentFnLayer = 0;
    const std::vector<MUI::MComboBox*> combos = ProfileCombos();
    for (MUI::MComboBox* combo : combos) combo->DelAllItems();

    KBDataBase& db = KBDataBase::GetInstance();
    std::vector<ProfileRecord*> stored;
    if (db.GetProfiles(stored) == 0) {
        int first = 0;
        for (const std::wstring& name : FirstProfileNames(GetNameWord(kDefaultNameText))) {
            ProfileRecord record;
            record.type = kProfileType;
            record.name = name;
            const int id = db.InsertProfile(record);
            if (id <= 0) continue;
            CreateDefaultKeyRows(id);
            CreateDefaultKeyPerfRows(id);
            CreateDefaultLightRows(db, id);
            db.InsertDefaultConfig(id);
            if (first == 0) first = id;
        }
        if (first > 0) db.SetActiveProfile(first);
        db.GetProfiles(stored);
    }
    const std::vector<ProfileRecord> list = TakeRecords(stored);
    const std::wstring word = GetNameWord(kDefaultNameText);
    for (const ProfileRecord& profile : list) {
        const std::wstring shown = ListedProfileName(profile.name, word);
        for (MUI::MComboBox* combo : combos) combo->AddItem(shown, profile.profile);
    }

    int active = db.GetActiveProfile();
    // A list whose active row is gone would leave every page without a profile.
    const bool listed = std::any_of(
        list.begin(), list.end(), [active](const ProfileRecord& p) { return p.profile == active; });
    if (!listed && !list.empty()) {
        active = list.front().profile;
        db.SetActiveProfile(active);
    }
    page.currentProfile = active;
    profiles.lightingProfile = active;
    profiles.previousProfile = 0;
    for (MUI::MComboBox* combo : combos) combo->SelectData(active);

    LoadKeyTablesFromDevice();
}

void KeyboardDlg::AddProfile()
{
    const std::vector<MUI::MComboBox*> combos = ProfileCombos();
    if (combos.empty()) return;
    std::vector<std::wstring> names;
    for (int i = 0; i < combos.front()->GetItemCount(); ++i) {
        names.push_back(combos.front()->GetItemText(i));
    }
    ProfileRecord record;
    record.type = kProfileType;
    record.name = MakeUniqueProfileName(GetNameWord(kDefaultNameText), names);
    KBDataBase& db = KBDataBase::GetInstance();
    const int id = db.InsertProfile(record);
    if (id <= 0) return;

    CreateDefaultKeyRows(id);
    CreateDefaultKeyPerfRows(id);
    CreateDefaultLightRows(db, id);
    db.InsertDefaultConfig(id);
    db.SetActiveProfile(id);
    ListNewActiveProfile(id, OneLineProfileName(record.name));
}

void KeyboardDlg::ListNewActiveProfile(int profile, const std::wstring& shown)
{
    profiles.previousProfile = page.currentProfile.load();
    page.currentProfile = profile;
    profiles.lightingProfile = profile;
    const std::vector<MUI::MComboBox*> combos = ProfileCombos();
    if (!combos.empty()) {
        const int index = combos.front()->AddItem(shown, profile);
        for (size_t i = 1; i < combos.size(); ++i) combos[i]->AddItem(shown, profile);
        for (MUI::MComboBox* combo : combos) combo->SetCurSel(index);
    }
    QueueWithWaitDlg(QCMD_APPLY_PROFILE);
}

void KeyboardDlg::DeleteProfile()
{
    const std::vector<MUI::MComboBox*> combos = ProfileCombos();
    if (combos.empty()) return;
    MUI::MComboBox& list = *combos.front();
    if (list.GetItemCount() <= 1) {
        ShowMessageBox(GetHWND(), GetLanString(kOnlyProfileText).c_str(),
                       GetLanString(kOnlyProfileCaption).c_str(), kOneButton);
        return;
    }
    const int index = list.GetCurSel();
    if (index < 0) return;
    const int id = list.GetItemData(index);
    // Only the profile row goes; its other rows stay, out of reach, since ids are not reused.
    if (!KBDataBase::GetInstance().DeleteProfile(id)) return;

    for (MUI::MComboBox* combo : combos) combo->DeleteItem(index);
    const int select = list.GetItemCount() > 1 && index > 0 ? index - 1 : 0;
    for (MUI::MComboBox* combo : combos) combo->SetCurSel(select);

    // The deleted profile cannot be gone back to.
    profiles.previousProfile = 0;
    ActivateProfile(list.GetItemData(select));
    QueueWithWaitDlg(QCMD_APPLY_PROFILE);
}

void KeyboardDlg::BeginRenameProfile()
{
    const int shown = page.currentPage.load();
    for (const auto& entry : kPageCombos) {
        if (entry.page != shown) continue;
        if (auto* combo = GetControlAs<MUI::MComboBox>(entry.combo)) {
            combo->ShowEdit();
            SetFocusControl(combo);
        }
        return;
    }
}

void KeyboardDlg::EndRenameProfile(unsigned comboId)
{
    const std::vector<MUI::MComboBox*> combos = ProfileCombos();
    auto* edited = GetControlAs<MUI::MComboBox>(comboId);
    if (combos.empty() || edited == nullptr) return;
    const int index = combos.front()->GetCurSel();
    if (index < 0) return;
    const int id = combos.front()->GetItemData(index);
    // A profile file holds names of this length at most: a longer one could not be read back.
    const std::wstring text = edited->GetTitleEx().substr(0, ProfileFileLimit::kTextLength);
    KBDataBase& db = KBDataBase::GetInstance();
    std::wstring name;
    if (text.empty()) {
        // Nothing is stored; every list shows the stored name again, as a load would.
        if (!db.GetProfileName(id, name)) return;
        name = ListedProfileName(name, GetNameWord(kDefaultNameText));
    } else {
        if (!db.RenameProfile(id, text)) return;
        name = OneLineProfileName(text);
    }
    for (MUI::MComboBox* combo : combos) combo->SetItemText(index, name);
}

void KeyboardDlg::OnProfileComboChanged(unsigned comboId)
{
    auto* source = GetControlAs<MUI::MComboBox>(comboId);
    if (source == nullptr) return;
    const int profile = source->GetCurData();
    if (profile <= 0) return;
    profiles.previousProfile = page.currentProfile.load();
    ActivateProfile(profile);
    QueueWithWaitDlg(QCMD_APPLY_PROFILE);
}

void KeyboardDlg::ShowCustomKeyProfileMenu()
{
    ShowProfileMenu(kKeyPageProfileMenu, WM_CUSTOMKEY_MENU);
}

void KeyboardDlg::ShowPerfProfileMenu() { ShowProfileMenu(PerfPageId::kProfileMenu, WM_PERF_MENU); }

void KeyboardDlg::OnPerfMenuCommand(int item) { OnCustomKeyMenuCommand(item); }

void KeyboardDlg::ShowProfileMenu(unsigned buttonId, UINT notifyMessage)
{
    const MUI::MControl* button = GetControl(buttonId);
    if (button == nullptr) return;
    const RECT rect = button->GetRect();
    POINT corner{rect.left, rect.top + kMenuOffsetY};
    MUI::ClientToScreen(GetHWND(), &corner);
    MUI::MenuWnd menu(GetHWND(), notifyMessage);
    for (const auto& item : kMenuItems) {
        menu.AddItem(static_cast<unsigned>(item.id), GetLanString(item.text));
    }
    menu.Popup(corner);
}

void KeyboardDlg::OnCustomKeyMenuCommand(int item)
{
    switch (item) {
        case kMenuAdd:
            AddProfile();
            break;
        case kMenuDelete:
            DeleteProfile();
            break;
        case kMenuRename:
            BeginRenameProfile();
            break;
        default:
            break;
    }
}

void KeyboardDlg::ApplyProfile()
{
    RefreshKeyAssignView();
    LoadPerfSettings();
    LoadLightModes();
    keyTables.advTableMask = ADV_TABLE_DKS | ADV_TABLE_PAIR | ADV_TABLE_TOGGLE;
    WriteMacrosToDevice();
    if (WriteProfileKeyMapsToDevice()) {
        WriteUserColorsToDevice();
        WriteLightingToDevice();
        WriteKeyPerfToDevice();
        WriteSettingsToDevice();
        return;
    }

    // The keyboard did not take the whole profile (pulled out, or its answers lost): the profile
    // it held before stays the active one, so that nothing later reads its tables into the
    // new profile's rows.
    const int previous = profiles.previousProfile.exchange(0);
    if (previous <= 0) return;
    ActivateProfile(previous);
    RefreshKeyAssignView();
}

void KeyboardDlg::RelabelProfileNames()
{
    const std::vector<MUI::MComboBox*> combos = ProfileCombos();
    if (combos.empty()) return;
    const std::wstring word = GetNameWord(kDefaultNameText);
    for (int i = 0; i < combos.front()->GetItemCount(); ++i) {
        const std::wstring name = ProfileDisplayName(combos.front()->GetItemText(i), word);
        for (MUI::MComboBox* combo : combos) combo->SetItemText(i, name);
    }
}
