// KeyboardCtrl: picking the keys of an advanced key for the editor.
#include "platform/mui/KeyboardCtrl.h"

namespace MUI {

namespace {

constexpr int kFirstPairType = 17;
constexpr int kLastPairType = 19;

}  // namespace

void KeyboardCtrl::SetAdvancedType(int type)
{
    auto guard = Guard();
    advancedType_ = type;
    pickA_ = 0;
    pickB_ = 0;
    Invalidate();
}

int KeyboardCtrl::GetAdvancedType() const
{
    auto guard = Guard();
    return advancedType_;
}

void KeyboardCtrl::SetPickFlag(int flag)
{
    auto guard = Guard();
    pickFlag_ = flag;
    Invalidate();
}

int KeyboardCtrl::GetPickFlag() const
{
    auto guard = Guard();
    return pickFlag_;
}

bool KeyboardCtrl::IsPickingPair() const
{
    auto guard = Guard();
    return pickFlag_ == 1 && advancedType_ >= kFirstPairType && advancedType_ <= kLastPairType;
}

void KeyboardCtrl::PickPairKey(int code)
{
    if (code == pickA_) {
        pickA_ = pickB_;
        pickB_ = 0;
    } else if (code == pickB_) {
        pickB_ = 0;
    } else if (pickA_ == 0) {
        pickA_ = code;
    } else {
        pickB_ = code;
    }
    for (KeyItem& key : keys_)
        key.checked = key.code != 0 && (key.code == pickA_ || key.code == pickB_);
}

}  // namespace MUI
