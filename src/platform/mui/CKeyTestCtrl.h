// CKeyTestCtrl: the PC keyboard's keys held now, one chip per key (its caption) in the order
// they went down.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

class CKeyTestCtrl : public MControl {
public:
    CKeyTestCtrl();

    // A code already shown is not added again.
    void AddKey(std::wstring_view caption, int code);
    void RemoveKey(int code);
    void ClearKeys();
    // (caption, code) in the order shown.
    std::vector<std::pair<std::wstring, int>> GetKeys() const;

protected:
    void Paint(QPainter& painter) override;

private:
    std::vector<std::pair<std::wstring, int>> keys_;
};

}  // namespace MUI
