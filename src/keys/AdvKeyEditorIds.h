// Control ids of the advanced-key editor's steps and value pages, and the editor types.
#pragma once

namespace AdvKeyEditorId {

// Editor types (the advanced key's macro_type - 13).
inline constexpr int kTypeDks = 1;
inline constexpr int kTypeMt = 2;
inline constexpr int kTypeTgl = 3;
inline constexpr int kTypeRs = 4;
inline constexpr int kTypeSocd = 5;
inline constexpr int kTypeOks = 6;
inline constexpr int kTypeOffset = 13;

// Key-selection step.
inline constexpr unsigned kHeaderTitle = 30;
inline constexpr unsigned kHeaderText = 31;
inline constexpr unsigned kHeaderKeyLabel = 32;
inline constexpr unsigned kHeaderKeyA = 33;
inline constexpr unsigned kHeaderKeyB = 34;
inline constexpr unsigned kHeaderKeys = 35;  // KeySOCDCtrl
inline constexpr unsigned kNext = 36;
// Both steps.
inline constexpr unsigned kCancel = 37;
inline constexpr unsigned kSave = 38;
inline constexpr unsigned kTips = 40;
inline constexpr unsigned kSeparator = 41;
// DKS, MT, TGL.
inline constexpr unsigned kPageTitle = 39;
inline constexpr unsigned kDks = 42;  // KeyDKSCtrl
inline constexpr unsigned kMtText1 = 43;
inline constexpr unsigned kMtText2 = 44;
inline constexpr unsigned kMtText3 = 45;
inline constexpr unsigned kMt = 46;  // KeyMTCtrl (MT and TGL)
inline constexpr unsigned kHoldReset = 47;
inline constexpr unsigned kHoldText = 48;
inline constexpr unsigned kHoldSlider = 49;
inline constexpr unsigned kHoldLabel = 50;
inline constexpr unsigned kHoldText2 = 51;
inline constexpr unsigned kHoldText3 = 52;
inline constexpr unsigned kTypeTab = 54;
inline constexpr unsigned kKeyFunctions = 55;  // KeyFuncControl2
inline constexpr unsigned kKeyValues = 56;     // KeyValueList2
// RS and SOCD share the pair control.
inline constexpr unsigned kPair = 61;
inline constexpr unsigned kSocdSplit = 66;
inline constexpr unsigned kSocdDistance = 75;
inline constexpr unsigned kSocdDistanceLabel = 76;
inline constexpr unsigned kSocdActuationLabel = 77;
inline constexpr unsigned kSocdActuation = 78;
inline constexpr unsigned kSocdPressText = 79;
inline constexpr unsigned kSocdPressLabel = 80;
inline constexpr unsigned kSocdPress = 81;
inline constexpr unsigned kSocdReleaseText = 82;  // its own id (the press text has 79)
inline constexpr unsigned kSocdReleaseLabel = 83;
inline constexpr unsigned kSocdRelease = 84;
inline constexpr unsigned kSocdModeFirst = 68;  // 68..71
inline constexpr unsigned kSocdModeLast = 71;
inline constexpr unsigned kRsDistanceLabel = 96;
inline constexpr unsigned kRsDistance = 97;
inline constexpr unsigned kRsActuation = 98;
inline constexpr unsigned kRsActuationLabel = 99;
// OKS.
inline constexpr unsigned kOksPair = 104;
inline constexpr unsigned kOksModeFirst = 111;  // 111..113
inline constexpr unsigned kOksModeLast = 113;
inline constexpr unsigned kOksDistance = 117;
inline constexpr unsigned kOksDistanceLabel = 118;
inline constexpr unsigned kOksActuationLabel = 119;
inline constexpr unsigned kOksActuation = 120;
inline constexpr unsigned kOksPressText = 121;
inline constexpr unsigned kOksPressLabel = 122;
inline constexpr unsigned kOksPress = 123;
inline constexpr unsigned kOksReleaseText = 124;  // its own id (the press text has 121)
inline constexpr unsigned kOksReleaseLabel = 125;
inline constexpr unsigned kOksRelease = 126;

// Stroke picker and tips window.
inline constexpr unsigned kPopupTitle = 30;
inline constexpr unsigned kStroke = 33;
inline constexpr unsigned kTipsButton = 34;
inline constexpr unsigned kStrokeDefault = 34;
inline constexpr unsigned kStrokeApply = 35;

}  // namespace AdvKeyEditorId
