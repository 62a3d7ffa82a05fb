#include "app/TestEntry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "app/KeyboardDlg.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/ControlClick.h"
#include "platform/mui/DesktopInput.h"
#include "platform/mui/KeyDKSCtrlEx.h"
#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MListBox.h"
#include "platform/mui/MTabCtrl.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/ScreenMetrics.h"
#include "platform/mui/WindowServices.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"

namespace {

MUI::MDialog* FindDialog(KeyboardDlg& window, std::string name)
{
    if (name == "main") return &window;
    std::replace(name.begin(), name.end(), '_', ' ');
    const HWND handle = MUI::FindWindow(L"", text::Utf8ToWide(name));
    return dynamic_cast<MUI::MDialog*>(MUI::MWindow::FromHandle(handle));
}

// Where a click on the control reaches `target`.
std::optional<POINT> TargetPoint(const MUI::MControl& control, std::optional<int> target)
{
    const RECT rect = control.GetRect();
    const POINT middle{(rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2};
    if (!target) return middle;
    const int wanted = *target;
    if (const auto* keys = dynamic_cast<const MUI::KeyboardCtrl*>(&control)) {
        return MUI::FindControlPoint(
            control, [&](int x, int y) { return keys->GetKeyCodeAt(x, y) == wanted; });
    }
    if (const auto* tabs = dynamic_cast<const MUI::KeyTypeTab*>(&control)) {
        return MUI::FindControlPoint(
            control, [&](int x, int y) { return tabs->TabFromPoint(x, y) == wanted; });
    }
    if (const auto* tiles = dynamic_cast<const MUI::KeyValueList2*>(&control)) {
        const std::vector<MUI::KeyValueList2::Tile> items = tiles->GetItems();
        return MUI::FindControlPoint(control, [&](int x, int y) {
            const int index = tiles->ItemFromPoint(x, y);
            return index >= 0 && items[static_cast<size_t>(index)].value == wanted;
        });
    }
    if (const auto* layers = dynamic_cast<const MUI::KeyLayerCtrl*>(&control)) {
        return MUI::FindControlPoint(control, [&](int x, int y) {
            const int index = layers->ItemFromPoint(x, y);
            return index >= 0 && layers->GetItemLayer(index) == wanted;
        });
    }
    // A row of a list, a tab of the tab control.
    if (const auto* rows = dynamic_cast<const MUI::MListBox*>(&control)) {
        return MUI::FindControlPoint(
            control, [&](int x, int y) { return rows->ItemFromPoint(x, y) == wanted; });
    }
    if (const auto* tabs = dynamic_cast<const MUI::MTabCtrl*>(&control)) {
        const int index = tabs->FindItem(wanted);
        return MUI::FindControlPoint(control, [&](int x, int y) {
            return index >= 0 && tabs->ItemFromPoint(x, y) == index;
        });
    }
    if (const auto* list = dynamic_cast<const MUI::KeyDKSCtrlEx*>(&control)) {
        const std::vector<MUI::KeyDKSCtrlEx::Item> items = list->GetItems();
        return MUI::FindControlPoint(control, [&](int x, int y) {
            bool onDelete = false;
            const int index = list->ItemFromPoint(x, y, &onDelete);
            return index >= 0 && items[static_cast<size_t>(index)].value == std::abs(wanted) &&
                   onDelete == (wanted < 0);
        });
    }
    return middle;
}

void Click(KeyboardDlg& window, std::istringstream& args)
{
    std::string name;
    unsigned id = 0;
    if (!(args >> name >> id)) return;
    std::optional<int> target;
    if (int value = 0; args >> value) target = value;
    MUI::MDialog* dialog = FindDialog(window, name);
    MUI::MControl* control = dialog != nullptr ? dialog->GetControl(id) : nullptr;
    if (control == nullptr) return;
    if (const std::optional<POINT> at = TargetPoint(*control, target)) {
        MUI::ClickControl(*control, *at);
    }
}

void Pick(KeyboardDlg& window, std::istringstream& args)
{
    unsigned id = 0;
    int index = 0;
    if (!(args >> id >> index)) return;
    if (auto* combo = window.GetControlAs<MUI::MComboBox>(id)) combo->PickItem(index);
}

// "key CODE down|up" presses or releases the key; "key CODE" presses and releases it and says
// whether the press was swallowed.
void PressKey(std::istringstream& args)
{
    unsigned code = 0;
    if (!(args >> code)) return;
    std::string direction;
    if (args >> direction) {
        if (direction == "down" || direction == "up") MUI::InjectNativeKey(code, direction == "up");
        return;
    }
    const bool swallowed = MUI::InjectNativeKey(code, false);
    MUI::InjectNativeKey(code, true);
    std::printf("key %u swallowed=%d\n", code, swallowed ? 1 : 0);
    std::fflush(stdout);
}

void Type(KeyboardDlg& window, std::istringstream& args)
{
    unsigned id = 0;
    std::string text;
    if (!(args >> id >> text)) return;
    if (auto* edit = window.GetControlAs<MUI::MEdit>(id))
        edit->UserTextChanged(text::Utf8ToWide(text));
}

// "close WINDOW" and "escape WINDOW": what the desktop, not a control, gives the window.
void DesktopInput(KeyboardDlg& window, const std::string& verb, std::istringstream& args)
{
    std::string name;
    if (!(args >> name)) return;
    MUI::MDialog* dialog = FindDialog(window, name);
    if (dialog == nullptr) return;
    if (verb == "close") {
        MUI::DeliverDesktopClose(*dialog);
    } else {
        MUI::DeliverDesktopEscape(*dialog);
    }
}

void ReportPlace(KeyboardDlg& window, std::istringstream& args)
{
    unsigned id = 0;
    if (!(args >> id)) return;
    RECT place = window.GetWindowRect();
    if (id != 0) {
        const MUI::MControl* control = window.GetControl(id);
        if (control == nullptr) return;
        const RECT rect = control->GetRect();
        POINT corner{rect.left, rect.top};
        MUI::ClientToScreen(window.GetHWND(), &corner);
        place = RECT{corner.x, corner.y, corner.x + rect.right - rect.left,
                     corner.y + rect.bottom - rect.top};
    }
    RECT area{};
    MUI::GetWorkArea(area);
    std::printf("where %u %d,%d,%d,%d screen %d,%d,%d,%d\n", id, place.left, place.top, place.right,
                place.bottom, area.left, area.top, area.right, area.bottom);
    std::fflush(stdout);
}

void ReportProfiles(KeyboardDlg& window)
{
    std::ostringstream line;
    line << "profiles active=" << KBDataBase::GetInstance().GetActiveProfile()
         << " current=" << window.page.currentProfile.load();
    const auto* combo = window.keyPage.profileCombo;
    line << " selected=" << (combo != nullptr ? combo->GetCurSel() : -1) << " items=";
    for (int i = 0; combo != nullptr && i < combo->GetItemCount(); ++i) {
        line << (i > 0 ? "|" : "") << combo->GetItemData(i) << ":"
             << text::WideToUtf8(combo->GetItemText(i));
    }
    const HWND wait = MUI::FindWindow(L"", L"WaitDlg");
    line << " waiting=" << (wait != nullptr && MUI::IsWindowVisible(wait) ? 1 : 0);
    const HWND question = MUI::FindWindow(L"", L"MessageBox");
    line << " asking=" << (question != nullptr ? 1 : 0);
    std::printf("%s\n", line.str().c_str());
    std::fflush(stdout);
}

void ReportKeyView(KeyboardDlg& window, std::istringstream& args)
{
    unsigned id = 0;
    int code = 0;
    if (!(args >> id >> code)) return;
    const auto* view = window.GetControlAs<MUI::KeyboardCtrl>(id);
    if (view == nullptr) return;
    const MUI::KeyCalibration calibration = view->GetKeyCalibration(code);
    const auto* display = window.perfPage.debugSwitch;
    std::printf(
        "keyview %u %d page=%d display=%d mode=%d travel=%d calibration=%d,%d,%d,%d,%d "
        "steps=%llu found=%d visible=%d\n",
        id, code, window.page.currentPage.load(), display != nullptr && display->GetCheck() ? 1 : 0,
        view->GetKeyboardCtrlMode(), view->GetKeyTravel(code), calibration.reported ? 1 : 0,
        calibration.travel, calibration.value, calibration.number, calibration.referenceSpan,
        static_cast<unsigned long long>(window.worker.steps.load()),
        window.connection.deviceFound.load() ? 1 : 0, window.IsWindowVisible() ? 1 : 0);
    std::fflush(stdout);
}

}  // namespace

bool TestEntryEnabled() { return std::getenv("TV_TEST_ENTRY") != nullptr; }

void HandleTestCommand(KeyboardDlg& window, const std::string& command)
{
    std::istringstream args(command);
    std::string verb;
    args >> verb;
    if (verb == "click") {
        Click(window, args);
    } else if (verb == "pick") {
        Pick(window, args);
    } else if (verb == "key") {
        PressKey(args);
    } else if (verb == "type") {
        Type(window, args);
    } else if (verb == "close" || verb == "escape") {
        DesktopInput(window, verb, args);
    } else if (verb == "where") {
        ReportPlace(window, args);
    } else if (verb == "profiles") {
        ReportProfiles(window);
    } else if (verb == "keyview") {
        ReportKeyView(window, args);
    }
}
