// A keyboard that is listed and opened but answers nothing: told on the no-keyboard panel.
#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "platform/mui/MPicture.h"

namespace {

constexpr int kStatusNotAnswering = 823;
// How long a keyboard just found has to answer before it is told as silent.
constexpr int kAnswerWaitMs = 3000;

}  // namespace

bool KeyboardDlg::TellKeyboardSilent()
{
    if (DeviceManager::GetInstance().AnswersWithin(kAnswerWaitMs)) return false;
    // Writes are dropped while no keyboard is open; its removal and arrival, or a replug,
    // connect it again as any arrival does.
    connection.deviceOpened = false;
    ShowHomePanel();
    if (ui.background != nullptr) ui.background->SetImage(L"home_bkg.png");
    SetStatusTitle(kStatusNotAnswering);
    return true;
}
