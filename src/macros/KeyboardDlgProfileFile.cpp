// The profile file of every editing page's import and export buttons: the selected profile
// saved to a file, and a file read as a new profile.
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "keys/KeyDefaults.h"
#include "keys/KeyPerfDefaults.h"
#include "lighting/DefaultLightRows.h"
#include "macros/ProfileFile.h"
#include "macros/ProfileFileRows.h"
#include "macros/ProfileNames.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/os/FileDialog.h"
#include "storage/KBDataBase.h"

namespace {

constexpr int kDefaultNameText = 101;
constexpr int kExportTitle = 106;
constexpr int kImportTitle = 107;
constexpr int kImportCaption = 2300;
constexpr int kImportFailedText = 2301;
constexpr int kExportFailedText = 2302;
constexpr int kExportCaption = 2303;

// One description and pattern pair, in the dialog's list form.
const std::wstring kSaveFilter(L"Profile (*.xml)\0*.xml\0\0", 24);
const std::wstring kOpenFilter(L"Keyboard Key (*.xml)\0*.xml\0\0", 29);

}  // namespace

std::vector<MUI::KeyItem> KeyboardDlg::LayoutKeyItems() const
{
    // Every key view holds the layout's key items; the key page's exists from construction on.
    return keyPage.keyboard != nullptr ? keyPage.keyboard->GetKeyItems()
                                       : std::vector<MUI::KeyItem>{};
}

void KeyboardDlg::ExportProfile()
{
    const std::vector<MUI::MComboBox*> combos = ProfileCombos();
    if (combos.empty()) return;
    const MUI::MComboBox& list = *combos.front();
    const int index = list.GetCurSel();
    if (index < 0) return;
    const int profile = list.GetItemData(index);
    if (profile <= 0) return;
    os::FileDialogRequest request;
    request.save = true;
    request.title = GetLanString(kExportTitle);
    request.filter = kSaveFilter;
    request.initialPath = os::SuggestedFilePath(list.GetItemText(index), L"xml");
    const std::optional<std::wstring> path = os::ShowFileDialog(request);
    if (!path) return;
    const ProfileFileContent content =
        CollectProfileRows(KBDataBase::GetInstance(), profile, list.GetItemText(index));
    if (!SaveProfileFile(*path, content)) {
        ShowMessageBox(GetHWND(), GetLanString(kExportFailedText).c_str(),
                       GetLanString(kExportCaption).c_str(), kMessageBoxOneButton);
    }
}

void KeyboardDlg::ShowImportRefusal()
{
    ShowMessageBox(GetHWND(), GetLanString(kImportFailedText).c_str(),
                   GetLanString(kImportCaption).c_str(), kMessageBoxOneButton);
}

void KeyboardDlg::ImportProfile()
{
    os::FileDialogRequest request;
    request.title = GetLanString(kImportTitle);
    request.filter = kOpenFilter;
    const std::optional<std::wstring> path = os::ShowFileDialog(request);
    std::error_code error;
    if (!path || !std::filesystem::exists(std::filesystem::path(*path), error)) return;

    KBDataBase& db = KBDataBase::GetInstance();
    const std::optional<ProfileFileContent> content = LoadProfileFile(*path);
    ProfileDefaultRows defaults;
    defaults.keyRows = [this, &db](int id) {
        std::vector<std::pair<int, std::wstring>> keys;
        for (const MUI::KeyItem& item : LayoutKeyItems()) keys.emplace_back(item.code, item.name);
        return NewProfileKeyRows(db, id, keys);
    };
    defaults.perfRows = [this](int id) {
        std::vector<int> codes;
        for (const MUI::KeyItem& item : LayoutKeyItems()) codes.push_back(item.code);
        return DefaultKeyPerfRows(id, codes);
    };
    defaults.storeOtherRows = [&db](int id) {
        CreateDefaultLightRows(db, id);
        db.InsertDefaultConfig(id);
    };
    const int profile = content ? StoreProfileFile(db, *content, defaults) : 0;
    if (profile <= 0) {
        ShowImportRefusal();
        return;
    }
    LoadMacroList();  // the macros the file brought
    ListNewActiveProfile(profile, ListedProfileName(content->name, GetNameWord(kDefaultNameText)));
}
