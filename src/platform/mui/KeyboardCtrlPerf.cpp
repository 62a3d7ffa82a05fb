// The performance operations of the key view: per-key switch settings applied to the marked
// keys, read back one key at a time, and the live travel.
#include "platform/mui/KeyboardCtrl.h"

namespace MUI {

template <class Change>
void KeyboardCtrl::ChangeMarked(Change change)
{
    for (auto& key : keys_) {
        if (key.checked) change(key.perf);
    }
    Invalidate();
}

void KeyboardCtrl::SetPrecision(const PRECISION& precision)
{
    auto guard = Guard();
    precision_ = precision;
}

PRECISION KeyboardCtrl::GetPrecision() const
{
    auto guard = Guard();
    return precision_;
}

void KeyboardCtrl::SetKeyActuation(int actuation)
{
    auto guard = Guard();
    ChangeMarked([&](KeyPerfInfo& perf) { perf.actuation = actuation; });
}

bool KeyboardCtrl::SetKeyActuation(int code, int travel)
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    if (index < 0) return false;
    keys_[static_cast<size_t>(index)].travel = travel;
    Invalidate();
    return true;
}

int KeyboardCtrl::GetKeyTravel(int code) const
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    return index < 0 ? 0 : keys_[static_cast<size_t>(index)].travel;
}

void KeyboardCtrl::SetKeyRapidTrigger(int mode, int press, int release)
{
    auto guard = Guard();
    ChangeMarked([&](KeyPerfInfo& perf) {
        perf.mode = mode;
        perf.press = press;
        perf.release = release;
    });
}

void KeyboardCtrl::SetKeySwitchType(int type)
{
    auto guard = Guard();
    ChangeMarked([&](KeyPerfInfo& perf) { perf.switchType = type; });
}

void KeyboardCtrl::SetKeyPerfSwitchType(int type)
{
    auto guard = Guard();
    for (auto& key : keys_) key.perf.switchType = type;
    Invalidate();
}

void KeyboardCtrl::SetDeadZoneValue(int top, int bottom, bool on)
{
    auto guard = Guard();
    ChangeMarked([&](KeyPerfInfo& perf) {
        perf.pressDeadZone = top;
        perf.releaseDeadZone = bottom;
        perf.deadZoneState = on ? 1 : 0;
    });
}

void KeyboardCtrl::SetDeadZoneState(int state)
{
    auto guard = Guard();
    ChangeMarked([&](KeyPerfInfo& perf) { perf.deadZoneState = state; });
}

void KeyboardCtrl::SetBottomrapidtrigger(int on, int value)
{
    auto guard = Guard();
    bottomRapidTrigger_ = on != 0 ? value : 0;
    Invalidate();
}

int KeyboardCtrl::GetBottomrapidtrigger() const
{
    auto guard = Guard();
    return bottomRapidTrigger_;
}

void KeyboardCtrl::SetKeyPerfInfo(int mode, int actuation, int press, int release)
{
    auto guard = Guard();
    ChangeMarked([&](KeyPerfInfo& perf) {
        perf.mode = mode;
        perf.actuation = actuation;
        perf.press = press;
        perf.release = release;
    });
}

void KeyboardCtrl::SetKeyPerfInfo(int mode, int actuation, int press, int release,
                                  int pressDeadZone, int releaseDeadZone, int deadZoneState)
{
    auto guard = Guard();
    ChangeMarked([&](KeyPerfInfo& perf) {
        perf.mode = mode;
        perf.actuation = actuation;
        perf.press = press;
        perf.release = release;
        perf.pressDeadZone = pressDeadZone;
        perf.releaseDeadZone = releaseDeadZone;
        perf.deadZoneState = deadZoneState;
    });
}

bool KeyboardCtrl::SetKeyPerfInfo(int code, const KeyPerfInfo& info)
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    if (index < 0) return false;
    keys_[static_cast<size_t>(index)].perf = info;
    Invalidate();
    return true;
}

bool KeyboardCtrl::GetKeyPerfInfo(int code, KeyPerfInfo& info) const
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    if (index < 0) return false;
    info = keys_[static_cast<size_t>(index)].perf;
    return true;
}

}  // namespace MUI
