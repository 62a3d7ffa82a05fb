// The advanced-key page's control ids, the pointers the main window keeps to its controls and
// the page's own state. The controls belong to the window (null before the page is built); the
// open editor belongs to the page.
#pragma once

#include <memory>
#include <set>

class CustomKeyDKSDlg;
namespace MUI {
class CKeyTestCtrl;
class KeyDKSCtrlEx;
class KeyLayerCtrl;
class KeyboardCtrl;
class MButton;
class MButton1;
class MComboBox;
class MImageButton;
class MText;
}  // namespace MUI

namespace AdvKeyPageId {

inline constexpr unsigned kFirst = 100;
inline constexpr unsigned kLast = 128;
inline constexpr unsigned kPanel = 100;               // CRoundArea behind the lists
inline constexpr unsigned kHeadingLine = 102;         // CRoundArea
inline constexpr unsigned kHeading = 103;             // MText 53
inline constexpr unsigned kKeyboard = 104;            // KeyboardCtrl
inline constexpr unsigned kKeyboardBackground = 105;  // MPicture, placed by the model handling
inline constexpr unsigned kProfileLabel = 106;        // MText 100
inline constexpr unsigned kProfileCombo = 107;        // MComboBox, item data = profile
inline constexpr unsigned kProfileMenu = 108;         // MImageButton
inline constexpr unsigned kResetKey = 109;            // MButton
inline constexpr unsigned kResetLayer = 110;          // MButton
inline constexpr unsigned kImportProfile = 111;       // MButton
inline constexpr unsigned kExportProfile = 112;       // MButton
inline constexpr unsigned kLayers = 113;              // KeyLayerCtrl
inline constexpr unsigned kTitle = 116;               // MText 130
inline constexpr unsigned kHint = 117;                // MText 131
inline constexpr unsigned kKeyTestLabel = 118;        // MText 132
inline constexpr unsigned kKeyTest = 119;             // CKeyTestCtrl
inline constexpr unsigned kListLabel = 120;           // MText 133
inline constexpr unsigned kListCount = 121;           // MText "%02d"
inline constexpr unsigned kList = 122;                // KeyDKSCtrlEx, item value = macro_id
inline constexpr unsigned kFirstTypeButton = 123;     // 123..128: DKS, MT, TGL, RS, SOCD, OKS
inline constexpr unsigned kLastTypeButton = 128;

}  // namespace AdvKeyPageId

// Deletes the editor (its window destroyed first).
struct AdvKeyEditorDeleter {
    void operator()(CustomKeyDKSDlg* editor) const;
};

struct AdvKeyPageControls {
    MUI::KeyboardCtrl* keyboard = nullptr;   // 104
    MUI::MComboBox* profileCombo = nullptr;  // 107
    MUI::KeyLayerCtrl* layers = nullptr;     // 113
    MUI::CKeyTestCtrl* keyTest = nullptr;    // 119
    MUI::MText* listCount = nullptr;         // 121
    MUI::KeyDKSCtrlEx* list = nullptr;       // 122
    MUI::MButton1* typeButtons[6] = {};      // 123..128

    // The armed type: 0 none, else the KeyMacroType (14..19) of the type button pressed last.
    int armedType = 0;
    // The open editor, at most one.
    std::unique_ptr<CustomKeyDKSDlg, AdvKeyEditorDeleter> editor;
    // The PC keys held now (raw input), shown in the key-test list.
    std::set<int> heldKeys;
};
