// Recording from the PC keyboard and the key box's capture: the keyboard hook's events become
// macro steps with the pauses between them, within the macro memory's step budget.
#include <chrono>
#include <string>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "macros/HookKeyEvent.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CRecordList.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MListBox.h"
#include "platform/text/DecimalText.h"
#include "storage/KBDataBase.h"

namespace {

using namespace MacroPageId;

constexpr int kMemoryFullText = 361;
constexpr int kMemoryLowText = 362;
// Below these budgets recording is refused, or warned about.
constexpr int kRefusedBelow = 10;
constexpr int kWarnedBelow = 20;
constexpr WPARAM kStopForBudget = 0;

// The controls of the main window's frame that stay still while a recording runs: the tabs,
// the window's settings choosers and its upgrade and link buttons.
constexpr unsigned kFrameControls[] = {
    MainId::kTabCtrl,         MainId::kModelCombo,       MainId::kWebsiteButton,
    MainId::kUserDocButton,   MainId::kForumButton,      MainId::kSoftwareUpgrade,
    MainId::kFirmwareUpgrade, MainId::kTickRateCombo,    MainId::kDebounceCombo,
    MainId::kReportRateCombo, MainId::kTachyonModeCombo, MainId::kMaximizeButton,
    MainId::kMinimizeButton};

int64_t SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void KeyboardDlg::StartMacroRecording()
{
    MacroPageControls& page = macroPage;
    if (page.list == nullptr || SelectedMacroId() <= 0) return;
    page.stepLimit = MacroRecordingStepLimit(page.list->GetItemCount(),
                                             KBDataBase::GetInstance().GetMacroStepTotal());
    if (page.stepLimit < kRefusedBelow) {
        ShowMacroMessage(kMemoryFullText);
        return;
    }
    if (page.stepLimit < kWarnedBelow) {
        ShowMacroMessage(kMemoryLowText);
    }
    page.delayMode = MACRO_DELAY_RECORDED;
    page.fixedDelayMs = kMacroDefaultDelay;
    if (page.delayRadios[1]->GetCheck()) page.delayMode = MACRO_DELAY_NONE;
    if (page.delayRadios[2]->GetCheck()) {
        page.delayMode = MACRO_DELAY_FIXED;
        page.fixedDelayMs =
            ClampToRange(DecimalTextToInt(page.fixedDelay->GetTitle()), 0, kMacroMaxDelay);
    }
    page.startRecording->SetVisible(false);
    page.stopRecording->SetVisible(true);
    EnableControlsForRecording(false);
    page.steps->DelAllItems();
    page.heldKeys.clear();
    page.delays.Reset();
    page.hookMode = MACRO_HOOK_RECORD;
    page.hook = std::make_unique<MUI::KeyHookManager>();
    page.hook->AddTarget(GetHWND(), WM_HOOK_KEY_EVENT);
}

void KeyboardDlg::StopMacroRecording()
{
    MacroPageControls& page = macroPage;
    if (page.hookMode != MACRO_HOOK_RECORD) return;
    page.stopRecording->SetVisible(false);
    page.startRecording->SetVisible(true);
    page.hook.reset();
    page.hookMode = MACRO_HOOK_OFF;
    SaveMacroSteps();
    EnableControlsForRecording(true);
    page.delays.Reset();
    UpdateMacroKeyLabels();
}

LRESULT KeyboardDlg::OnMacroHookKey(WPARAM wParam, LPARAM lParam)
{
    int released = 0;
    switch (wParam) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            released = 1;
            break;
        default:
            return 1;
    }
    const auto& key = *reinterpret_cast<const MUI::KBDLLHOOKSTRUCT*>(lParam);
    const int code = HookKeyCode(key);
    if (code == 0) return 0;
    RawInputEvent event;
    event.kind = RAW_INPUT_KEYBOARD;
    event.released = released;
    event.name = HookKeyName(code);
    event.code = MacroStepKeyValue(code);

    MacroPageControls& page = macroPage;
    if (released == 0) {
        if (page.heldKeys.count(event.code) != 0) event.kind = RAW_INPUT_REPEAT;
        page.heldKeys[event.code] = 1;
    } else {
        page.heldKeys.erase(event.code);
    }
    if (page.hookMode == MACRO_HOOK_RECORD) {
        AddRecordedStep(event);
    } else if (page.hookMode == MACRO_HOOK_CAPTURE) {
        page.capturedKey = event.code;
        page.keyBox->SetTitle(event.name);
    }
    return 0;
}

void KeyboardDlg::AddRecordedStep(const RawInputEvent& event)
{
    MacroPageControls& page = macroPage;
    // Mouse events are not recorded, nor keys after the budget ran out (the stop is on its way).
    if (event.kind == RAW_INPUT_MOUSE || page.steps->GetItemCount() > page.stepLimit) return;
    int delay = TakeStepDelay();
    if (page.delayMode == MACRO_DELAY_NONE) delay = 0;
    if (page.delayMode == MACRO_DELAY_FIXED) delay = page.fixedDelayMs;
    // Each step's delay is the pause until the next event; the newest waits for its own.
    if (delay != 0) page.steps->UpdateDelayTime(delay);
    const int type = event.kind == RAW_INPUT_REPEAT ? MACRO_STEP_REPEAT
                     : event.released != 0          ? MACRO_STEP_KEY_UP
                                                    : MACRO_STEP_KEY_DOWN;
    page.steps->AddItem(MUI::RecordItem{event.name, type, event.code, 0});
    if (page.steps->GetItemCount() > page.stepLimit) {
        // Not from inside the hook's dispatch: the stop frees the hook being walked, and the
        // message opens a modal loop.
        PostMessage(WM_MACRO_HOOK_STOP, kStopForBudget, 0);
    }
}

void KeyboardDlg::OnMacroHookStop(WPARAM reason)
{
    MacroPageControls& page = macroPage;
    if (page.hookMode == MACRO_HOOK_RECORD) {
        StopMacroRecording();
        if (reason == kStopForBudget) ShowMacroMessage(kMemoryLowText);
    } else if (reason != kStopForBudget) {
        page.hook.reset();
        page.hookMode = MACRO_HOOK_OFF;
    }
}

int KeyboardDlg::TakeStepDelay()
{
    MacroPageControls& page = macroPage;
    return page.delays.Take(page.clockMs ? page.clockMs() : SteadyMs());
}

void KeyboardDlg::OnKeyCaptureNotify(int code)
{
    MacroPageControls& page = macroPage;
    if (page.hookMode == MACRO_HOOK_RECORD) return;
    if (code == MUI::kNotifyEditBegin) {
        page.keyBox->SetTitle(L"");
        page.capturedKey = 0;
        page.heldKeys.clear();
        page.hook = std::make_unique<MUI::KeyHookManager>();
        page.hook->AddTarget(GetHWND(), WM_HOOK_KEY_EVENT);
        page.hookMode = MACRO_HOOK_CAPTURE;
    } else if (code == MUI::kNotifyEditEnded) {
        page.hook.reset();
        page.hookMode = MACRO_HOOK_OFF;
    }
}

void KeyboardDlg::EnableControlsForRecording(bool on)
{
    for (unsigned id = kFirst; id <= kLast; ++id) {
        if (id == kStopRecording) continue;
        if (MUI::MControl* control = GetControl(id)) {
            if (!control->IsArea()) control->SetEnabled(on);
        }
    }
    for (const unsigned id : kFrameControls) {
        if (MUI::MControl* control = GetControl(id)) control->SetEnabled(on);
    }
    if (on) EnableMacroControls(SelectedMacroId() > 0);
}
