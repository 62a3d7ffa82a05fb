// The advanced-key page's key-test list: the PC keys held now, from raw input while the page
// is shown.
#include "app/KeyboardDlg.h"
#include "device/KeyNameTable.h"
#include "platform/mui/CKeyTestCtrl.h"
#include "platform/mui/RawInput.h"

void KeyboardDlg::EnterAdvKeyPage(bool entered)
{
    ResetAdvKeyPage();
    if (entered) {
        MUI::RegisterRawInput(GetHWND());
        return;
    }
    MUI::UnregisterRawInput();
    advKeyPage.heldKeys.clear();
    if (advKeyPage.keyTest != nullptr) advKeyPage.keyTest->ClearKeys();
}

void KeyboardDlg::OnRawInput(WPARAM wParam, LPARAM lParam)
{
    MUI::RawInputEvent event;
    if (!MUI::IsRawInputRegistered() || !MUI::ParseRawInput(wParam, lParam, event) ||
        event.kind != MUI::kRawInputKeyboard || advKeyPage.keyTest == nullptr)
        return;
    const KeyNameTable& names = KeyNameTable::GetInstance();
    const int code = names.VirtualKeyToUsage(event.code);
    if (code == 0) return;
    if (event.released != 0) {
        advKeyPage.heldKeys.erase(code);
        advKeyPage.keyTest->RemoveKey(code);
    } else if (advKeyPage.heldKeys.insert(code).second) {
        // A key held down repeats its press: it is shown once.
        advKeyPage.keyTest->AddKey(names.KeyUsageToName(code), code);
    }
}
