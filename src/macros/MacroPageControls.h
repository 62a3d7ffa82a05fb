// The macro page's control ids, the pointers the main window keeps to its controls, and the
// page's own state: the remembered (copied) macro, the last delay settings, the captured key and
// the recording. The controls belong to the window; the pointers are set while the page is built
// (null before). The state is the UI thread's, except the copied macro id, which the worker's
// reload also clears.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "macros/MacroSteps.h"
#include "macros/StepDelayClock.h"
#include "platform/mui/KeyHookManager.h"

namespace MUI {
class CRadioButton;
class CRecordList;
class MButton;
class MComboBox;
class MEdit;
class MListBox;
}  // namespace MUI

namespace MacroPageId {

inline constexpr unsigned kFirst = 214;
inline constexpr unsigned kLast = 265;
inline constexpr unsigned kProfileLabel = 219;      // MText 100
inline constexpr unsigned kProfileCombo = 220;      // MComboBox, item data = profile
inline constexpr unsigned kProfileMenu = 221;       // MImageButton
inline constexpr unsigned kImportProfile = 222;     // CImageButton
inline constexpr unsigned kExportProfile = 223;     // CImageButton
inline constexpr unsigned kMacroList = 226;         // MListBox, item data = macro id
inline constexpr unsigned kInsertPosition = 228;    // MComboBox: 0 before, 1 after
inline constexpr unsigned kKeyEventRadio = 229;     // CRadioButton, group "MACRO_EVENT"
inline constexpr unsigned kMouseEventRadio = 230;   // CRadioButton
inline constexpr unsigned kTextEventRadio = 231;    // CRadioButton
inline constexpr unsigned kKeyBox = 232;            // MEdit, the captured key's name
inline constexpr unsigned kTextBox = 233;           // MEdit
inline constexpr unsigned kMouseButtonCombo = 234;  // MComboBox, data 1, 2, 3
inline constexpr unsigned kInsertEvent = 235;       // MButton
inline constexpr unsigned kNewMacro = 236;          // MButton
inline constexpr unsigned kDeleteMacro = 237;       // MButton
inline constexpr unsigned kCopyMacro = 238;         // MButton
inline constexpr unsigned kImportMacro = 239;       // MButton
inline constexpr unsigned kExportMacro = 240;       // MButton
inline constexpr unsigned kRenameMacro = 241;       // MButton
inline constexpr unsigned kPlayCount = 243;         // MEdit
inline constexpr unsigned kDelayRecorded = 245;     // CRadioButton, group "DELAY_TIME"
inline constexpr unsigned kDelayNone = 246;         // CRadioButton
inline constexpr unsigned kDelayFixed = 247;        // CRadioButton
inline constexpr unsigned kFixedDelay = 248;        // MEdit, ms
inline constexpr unsigned kStartRecording = 250;    // MButton
inline constexpr unsigned kStopRecording = 251;     // MButton, shown while recording
inline constexpr unsigned kStepUp = 255;            // CImageButton
inline constexpr unsigned kStepDown = 256;          // CImageButton
inline constexpr unsigned kDeleteStep = 257;        // CImageButton
inline constexpr unsigned kClearSteps = 258;        // CImageButton
inline constexpr unsigned kStepList = 263;          // CRecordList
inline constexpr unsigned kSave = 264;              // MButton

inline constexpr const wchar_t* kEventGroup = L"MACRO_EVENT";
inline constexpr const wchar_t* kDelayGroup = L"DELAY_TIME";

}  // namespace MacroPageId

// Items of the macro list's context menu (WM_MACRO_MENU_COMMAND).
enum MacroMenuCommand : int {
    MACRO_MENU_NEW = 600,
    MACRO_MENU_DELETE = 605,
    MACRO_MENU_COPY = 606,
    MACRO_MENU_IMPORT = 607,
    MACRO_MENU_EXPORT = 608,
    MACRO_MENU_RENAME = 609,
    MACRO_MENU_PASTE = 610,
};

struct MacroPageControls {
    MUI::MListBox* list = nullptr;
    MUI::CRecordList* steps = nullptr;
    MUI::MComboBox* insertPosition = nullptr;
    MUI::CRadioButton* keyRadio = nullptr;
    MUI::CRadioButton* mouseRadio = nullptr;
    MUI::CRadioButton* textRadio = nullptr;
    MUI::MEdit* keyBox = nullptr;
    MUI::MEdit* textBox = nullptr;
    MUI::MComboBox* mouseCombo = nullptr;
    MUI::MEdit* playCount = nullptr;
    MUI::CRadioButton* delayRadios[3] = {};  // recorded, none, fixed
    MUI::MEdit* fixedDelay = nullptr;
    MUI::MButton* startRecording = nullptr;
    MUI::MButton* stopRecording = nullptr;

    // The copied macro (0: none).
    std::atomic<int> copiedMacro{0};
    // The delay mode and fixed delay of the last save or recording start.
    int delayMode = MACRO_DELAY_RECORDED;
    int fixedDelayMs = kMacroDefaultDelay;
    // The key box's captured key (a step's key value).
    std::atomic<int> capturedKey{0};

    // Recording and key capture share the one hook manager.
    int hookMode = MACRO_HOOK_OFF;
    int stepLimit = 0;
    StepDelayClock delays;
    std::map<int, int> heldKeys;
    std::unique_ptr<MUI::KeyHookManager> hook;
    // The steady clock in milliseconds; tests set their own.
    std::function<int64_t()> clockMs;
};
