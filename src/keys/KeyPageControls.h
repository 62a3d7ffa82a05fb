// The key-assignment page's control ids and the pointers the main window keeps to its
// controls. The controls belong to the window; the pointers are set while the page is built
// and stay valid until the window is destroyed (null before).
#pragma once

namespace MUI {
class CRoundArea;
class KeyboardCtrl;
class KeyFuncControl;
class KeyLayerCtrl;
class KeyTypeTab;
class KeyValueList2;
class MButton;
class MComboBox;
class MComboBox3;
class MImageButton;
class MPicture;
class MText;
}  // namespace MUI

namespace KeyPageId {

inline constexpr unsigned kMousePictureFirst = 70;  // 70..77 MPicture, mouse-button pictures
inline constexpr int kMousePictureCount = 8;
inline constexpr unsigned kBackground = 79;          // MPicture
inline constexpr unsigned kHeadingLine = 80;         // CRoundArea
inline constexpr unsigned kHeading = 81;             // MText 51
inline constexpr unsigned kKeyboard = 82;            // KeyboardCtrl, the keys
inline constexpr unsigned kKeyboardBackground = 83;  // MPicture, placed by the model handling
inline constexpr unsigned kPaletteBackground = 84;   // MPicture, shown with the key functions
inline constexpr unsigned kPaletteBackground2 = 85;  // MPicture, shown with the value tiles
inline constexpr unsigned kProfileLabel = 86;        // MText 100
inline constexpr unsigned kProfileCombo = 87;        // MComboBox, item data = profile
inline constexpr unsigned kProfileMenu = 88;         // MImageButton
inline constexpr unsigned kPresetLabel = 89;         // MText 102
inline constexpr unsigned kPresetCombo = 90;         // MComboBox3, item data = preset id
inline constexpr unsigned kResetKey = 91;            // MButton
inline constexpr unsigned kResetLayer = 92;          // MButton
inline constexpr unsigned kImportProfile = 93;       // MButton
inline constexpr unsigned kExportProfile = 94;       // MButton
inline constexpr unsigned kLayers = 95;              // KeyLayerCtrl
inline constexpr unsigned kPaletteArea = 96;         // CRoundArea
inline constexpr unsigned kTypeTab = 97;             // KeyTypeTab, palette tabs 0..5
inline constexpr unsigned kKeyFunctions = 98;        // KeyFuncControl, palette tab 0
inline constexpr unsigned kKeyValues = 99;           // KeyValueList2, palette tabs 1..5

// The advanced-key page's layer selector, which shows the same layer.
inline constexpr unsigned kAdvancedKeyLayers = 113;
// The advanced-key page's profile combo box, whose profile the advanced tables are built from.
inline constexpr unsigned kAdvancedKeyProfileCombo = 107;
// The profile combo boxes of the other pages, which show the same profile.
inline constexpr unsigned kOtherProfileCombos[] = {kAdvancedKeyProfileCombo, 277, 141, 220};

}  // namespace KeyPageId

struct KeyPageControls {
    MUI::MPicture* mousePictures[KeyPageId::kMousePictureCount] = {};  // 70..77
    MUI::MPicture* background = nullptr;                               // 79
    MUI::CRoundArea* headingLine = nullptr;                            // 80
    MUI::MText* heading = nullptr;                                     // 81
    MUI::KeyboardCtrl* keyboard = nullptr;                             // 82
    MUI::MPicture* keyboardBackground = nullptr;                       // 83
    MUI::MPicture* paletteBackgrounds[2] = {};                         // 84, 85
    MUI::MText* profileLabel = nullptr;                                // 86
    MUI::MComboBox* profileCombo = nullptr;                            // 87
    MUI::MImageButton* profileMenu = nullptr;                          // 88
    MUI::MText* presetLabel = nullptr;                                 // 89
    MUI::MComboBox3* presetCombo = nullptr;                            // 90
    MUI::MButton* resetKey = nullptr;                                  // 91
    MUI::MButton* resetLayer = nullptr;                                // 92
    MUI::MButton* importProfile = nullptr;                             // 93
    MUI::MButton* exportProfile = nullptr;                             // 94
    MUI::KeyLayerCtrl* layers = nullptr;                               // 95
    MUI::CRoundArea* paletteArea = nullptr;                            // 96
    MUI::KeyTypeTab* typeTab = nullptr;                                // 97
    MUI::KeyFuncControl* keyFunctions = nullptr;                       // 98
    MUI::KeyValueList2* keyValues = nullptr;                           // 99
};
