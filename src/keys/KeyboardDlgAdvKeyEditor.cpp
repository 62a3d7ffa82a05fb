// The advanced-key page's handlers that open, feed and close the editor: the type buttons, key
// clicks on the page's view and clicks in the list of advanced keys.
#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "device/KeyMacroType.h"
#include "keys/AdvKeyEditorIds.h"
#include "keys/CustomKeyDKSDlg.h"
#include "keys/KeyPalette.h"
#include "platform/mui/KeyDKSCtrlEx.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/WindowServices.h"
#include "storage/KBDataBase.h"

namespace {

constexpr int kEditorLeft = 254;
constexpr int kEditorHeight = 400;
// The page's white card (main_bkg.png) starts 12 pixels right of the page column and ends 12
// pixels before the window's right and bottom edges; the editor lies on it, inside its border.
constexpr int kCardInset = 12;
constexpr int kCardBorder = 1;

void CheckPairKeys(MUI::KeyboardCtrl& view, uint32_t pair)
{
    for (const uint32_t code : {pair & 0xFFFF, pair >> 16}) {
        if (code != 0) view.SetKeyCheck(static_cast<int>(code), true);
    }
    view.UpdateControl();
}

}  // namespace

void KeyboardDlg::DestroyAdvKeyEditor() { advKeyPage.editor.reset(); }

void KeyboardDlg::OpenAdvKeyEditorFor(int type, int profile, uint32_t keyValue, int macroId,
                                      int newFlag)
{
    DestroyAdvKeyEditor();
    EnableAdvKeyControls(false);
    AdvKeyEditorServices services;
    services.text = [](int number) { return GetLanString(number); };
    services.messageBox = [](HWND owner, const std::wstring& text, const std::wstring& caption) {
        ShowMessageBox(owner, text.c_str(), caption.c_str(), kMessageBoxOneButton);
    };
    services.macros = [] { return PaletteMacros(KBDataBase::GetInstance()); };
    services.precision = page.precision;
    advKeyPage.editor.reset(new CustomKeyDKSDlg(std::move(services)));
    CustomKeyDKSDlg& editor = *advKeyPage.editor;
    editor.SetKeyInfo(type - AdvKeyEditorId::kTypeOffset, profile, keyValue, macroId, newFlag);
    editor.SetModelId(connection.currentModelId.load());
    RECT rect = GetClientRect();
    rect.left = kEditorLeft + kCardInset;
    rect.right -= kCardInset + 2 * kCardBorder;
    rect.bottom -= kCardInset + kCardBorder;
    rect.top = rect.bottom - kEditorHeight;
    editor.Create(GetHWND(), rect);
}

int KeyboardDlg::OnAdvKeyTypeButton(unsigned buttonId)
{
    if (MUI::FindWindow(L"MWindow", L"MessageBox") != nullptr) return 0;
    const int type = KMT_DKS + static_cast<int>(buttonId - AdvKeyPageId::kFirstTypeButton);
    advKeyPage.armedType = type;
    if (MUI::KeyboardCtrl* view = advKeyPage.keyboard) {
        view->ResetAllItemCheck(false);
        view->SetAdvancedType(type);
        view->SetPickFlag(1);
    }
    return OpenAdvKeyEditor(type);
}

int KeyboardDlg::OpenAdvKeyEditor(int type)
{
    DestroyAdvKeyEditor();
    const int profile = AdvancedKeyPageProfile();
    if (profile <= 0 || !IsAdvancedType(type)) return 0;
    OpenAdvKeyEditorFor(type, profile, 0, 0, 1);
    return 1;
}

int KeyboardDlg::OnAdvKeySelected()
{
    MUI::KeyboardCtrl* view = advKeyPage.keyboard;
    const int profile = AdvancedKeyPageProfile();
    if (profile <= 0 || view == nullptr) return 0;
    const int key = view->GetCurrentKeyValue();
    if (IsAdvancedType(advKeyPage.armedType)) {
        if (advKeyPage.editor) advKeyPage.editor->SetTargetKey(static_cast<uint32_t>(key));
        return 1;
    }
    if (key <= 0) return 0;
    KeyMacroRecord row;
    KBDataBase::GetInstance().GetKeyMacro(profile, page.currentFnLayer.load(), key, row);
    if (advKeyPage.list != nullptr) advKeyPage.list->SetSelectValue(row.macro_value);
    view->SetPickFlag(0);
    if (!IsAdvancedType(row.macro_type)) return 1;
    // A pair is edited on its two keys, whichever of them was clicked.
    uint32_t keyValue = static_cast<uint32_t>(key);
    if (IsPairType(row.macro_type)) {
        keyValue = static_cast<uint32_t>(row.macro_value2);
        view->ResetAllItemCheck(false);
        CheckPairKeys(*view, keyValue);
    }
    OpenAdvKeyEditorFor(row.macro_type, profile, keyValue, row.macro_value, 0);
    return 1;
}

int KeyboardDlg::OnAdvKeyItemSelect(int code)
{
    if (code == MUI::kNotifyItemDeleted) return DeleteAdvKey();
    const int profile = AdvancedKeyPageProfile();
    if (profile <= 0 || advKeyPage.list == nullptr) return 0;
    const int macroId = advKeyPage.list->GetSelectValue();
    MagneticKeyRecord key;
    if (macroId <= 0 || !KBDataBase::GetInstance().GetMagneticKey(macroId, key) ||
        !IsAdvancedType(key.macro_type))
        return 0;
    DestroyAdvKeyEditor();
    if (MUI::KeyboardCtrl* view = advKeyPage.keyboard) {
        view->ResetAllItemCheck(false);
        const auto value = static_cast<uint32_t>(key.key_value);
        view->SetCurrentKeyValue(
            static_cast<int>(IsPairType(key.macro_type) ? value & 0xFFFF : value));
        CheckPairKeys(*view, IsPairType(key.macro_type) ? value : value & 0xFFFF);
    }
    OpenAdvKeyEditorFor(key.macro_type, profile, static_cast<uint32_t>(key.key_value), macroId, 0);
    return 1;
}

void KeyboardDlg::OnAdvKeyEditorCancelled()
{
    EnableAdvKeyControls(true);
    ClearAdvKeyChecks();
    advKeyPage.armedType = 0;
    DestroyAdvKeyEditor();
}

void KeyboardDlg::OnAdvKeyProfileMenu(int item) { OnCustomKeyMenuCommand(item); }

int KeyboardDlg::ConfirmResetLayer()
{
    constexpr int kResetText = 201;
    constexpr int kResetCaption = 202;
    // Only the Yes button resets: closing the box is no consent.
    if (ShowMessageBox(GetHWND(), GetLanString(kResetText).c_str(),
                       GetLanString(kResetCaption).c_str(),
                       kMessageBoxTwoButtons) != kMessageBoxYes) {
        return 0;
    }
    ResetLayerToDefault();
    return 1;
}
