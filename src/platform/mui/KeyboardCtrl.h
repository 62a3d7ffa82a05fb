// KeyboardCtrl: a keyboard view. It holds key items (caption, description, key code, rectangle
// in keyboard pixels, icon, colour, shown caption and check state), a current key and the
// keyboard's own colour and size. The keyboard is drawn centred in the control (scaled down
// when it does not fit): the board in its colour, each key as a cap in the key's colour with an
// edge, so keys without a caption are still seen, and the skin's key pictures over the caps.
// The title is a notice: drawn on one line in place of the keyboard while there are no keys
// (a layout that could not be loaded), below it otherwise.
//
// Input: a left press on a key makes it the current key; in single selection mode it becomes
// the only checked key, in multiple mode its check flips and dragging over further keys gives
// them the same state (painting). The release sends kNotifyClick with the current key's code.
//
// Threads: every operation may be called from any thread. Besides the window lock each one takes
// the view's own recursive lock, which EnterCriSec/LeaveCriSec hold across several calls, so a
// thread inside the bracket sees no other thread's changes (lock order: view, then window).
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/ColorRef.h"
#include "platform/mui/MControl.h"
#include "platform/mui/Precision.h"

namespace MUI {

// One key's switch performance on the performance page's view (distances as slider
// positions of the current precision).
struct KeyPerfInfo {
    int switchType = 0;
    int mode = 0;  // 0 off, 1 rapid trigger, 2 continuous rapid trigger
    int actuation = 0;
    int press = 0;
    int release = 0;
    int pressDeadZone = 0;
    int releaseDeadZone = 0;
    int deadZoneState = 0;
    friend bool operator==(const KeyPerfInfo&, const KeyPerfInfo&) = default;
};

// What the keyboard reported for one key while its switches are calibrated.
struct KeyCalibration {
    bool reported = false;  // false until the first report since the last reset
    int travel = 0;         // 0..40
    int value = 0;
    int number = 0;
    int referenceSpan = 0;
    friend bool operator==(const KeyCalibration&, const KeyCalibration&) = default;
};

struct KeyItem {
    std::wstring name;  // caption from the layout
    std::wstring desc;
    int code = 0;
    RECT rect;  // keyboard pixels: left, top, right, bottom
    std::wstring icon;
    COLORREF color = 0;
    std::wstring caption;  // what the key shows: the name until SetKeyItemInfo gives another
    int type = 0;          // the action type given with the caption
    std::wstring tip;      // second text given with the caption
    bool checked = false;
    KeyPerfInfo perf;
    int travel = 0;  // live travel shown (performance view)
    KeyCalibration calibration;
};

class KeyboardCtrl : public MControl {
public:
    static constexpr int kSelectNone = 0;      // a click only sets the current key
    static constexpr int kSelectSingle = 1;    // a click checks only that key
    static constexpr int kSelectMultiple = 2;  // a click flips the key, dragging paints
    // What the performance page's view shows on its keys: the live travel, or the values of a
    // calibration.
    static constexpr int kModePerformance = 105;
    static constexpr int kModeCalibration = 106;

    KeyboardCtrl();

    // Appends a key; returns its index. A code already present is still added.
    int AddKeyItem(std::wstring_view name, std::wstring_view desc, int code, int left, int top,
                   int right, int bottom, std::wstring_view icon, COLORREF color);
    // Removes every key and forgets the current key.
    void ClearKeyItems();
    int GetKeyItemCount() const;
    // Copies of the keys in the order they were added.
    std::vector<KeyItem> GetKeyItems() const;
    bool GetKeyItem(int code, KeyItem* item) const;

    void SetKeyboardColor(COLORREF color);
    COLORREF GetKeyboardColor() const;
    void SetKeyboardSize(int width, int height);
    SIZE GetKeyboardSize() const;
    // The rectangle (in the window, as the view's own) of the model's picture the keys are
    // drawn on: the keyboard is centred across it and hung from its top, within the view.
    // Empty: centred across the view and hung from the view's top edge.
    void SetBoardArea(const RECT& area);
    RECT GetBoardArea() const;
    // The device model the view shows (kept for the program and the page views).
    void SetModelId(int modelId);
    int GetModelId() const;
    // Key pictures laid over the drawn caps for the normal, hovered and checked look (the skin's
    // key pictures unless set; empty: drawn caps only).
    void SetKeyImages(std::wstring_view normal, std::wstring_view hover, std::wstring_view checked);

    // Colours. False for a code that is not a key.
    bool SetKeyColor(int code, COLORREF color);
    COLORREF GetKeyColor(int code) const;  // 0 for a code that is not a key
    void ResetAllItemsColor(COLORREF color);
    // Every checked key takes the colour.
    void SetAllSelectColor(COLORREF color);
    // The lighting view: the colour a lighting mode shows on every key (colourful: a rainbow
    // running across the keyboard), and the per-key colour mode in which each key keeps the
    // colour it is given.
    void SetLightModeColor(bool colorful, COLORREF color);
    void SetUserColorMode(bool on);
    bool GetUserColorMode() const;

    // What a key shows; false for a code that is not a key.
    bool SetKeyItemInfo(int code, std::wstring_view caption, int type, std::wstring_view tip);
    // Every key shows its own name again (type 0, no second text).
    void ResetTipKey();

    // The current key: -1 for none.
    int GetCurrentKeyValue() const;
    void SetCurrentKeyValue(int code);
    // The key the user picked last (the current key), -1 for none.
    int GetSelectKey() const;

    bool SetKeyCheck(int code, bool checked);
    bool IsKeyChecked(int code) const;
    int GetCheckItemCount() const;
    std::vector<int> GetCheckedKeys() const;
    void ResetAllItemCheck(bool checked);
    void InvertSelectItem();
    void SetSelectMode(int mode);
    int GetSelectMode() const;

    // The key under a point in the window's client coordinates, 0 for none.
    int GetKeyCodeByPoint(int x, int y) const;
    // The key under a point of the control (relative to its rectangle), 0 for none.
    int GetKeyCodeAt(int x, int y) const;

    // --- Picking keys for the advanced-key editor (the advanced-key page's view) ---
    // The advanced-key type being picked for (14..19), -1 for none; a new type forgets the
    // keys picked so far.
    void SetAdvancedType(int type);
    int GetAdvancedType() const;
    // 1 while clicks on keys feed the editor, 0 otherwise.
    void SetPickFlag(int flag);
    int GetPickFlag() const;
    // While picking for a two-key type (17..19) a click picks key A, then key B (a click on a
    // picked key drops it, a third key takes B's place); the current key value is then
    // B << 16 | A, and the picked keys are the checked ones.
    bool IsPickingPair() const;

    // Holds the view's lock across several calls (recursive; pair every Enter with a Leave).
    void EnterCriSec();
    void LeaveCriSec();

    // --- Switch performance (the performance page's view). "Marked" keys are the checked
    // ones. ---
    void SetPrecision(const PRECISION& precision);
    PRECISION GetPrecision() const;
    // The actuation of the marked keys.
    void SetKeyActuation(int actuation);
    // The live travel of one key; false for a code that is not a key.
    bool SetKeyActuation(int code, int travel);
    int GetKeyTravel(int code) const;
    void SetKeyRapidTrigger(int mode, int press, int release);
    // The switch type of the marked keys, or of every key.
    void SetKeySwitchType(int type);
    void SetKeyPerfSwitchType(int type);
    // The marked keys' dead zones (top = press, bottom = release) and dead-zone state.
    void SetDeadZoneValue(int top, int bottom, bool on);
    void SetDeadZoneState(int state);
    // The bottom rapid-trigger display of every key.
    void SetBottomrapidtrigger(int on, int value);
    int GetBottomrapidtrigger() const;
    // Mode, actuation and distances of the marked keys (dead zones kept).
    void SetKeyPerfInfo(int mode, int actuation, int press, int release);
    // The same with the dead zones and their state.
    void SetKeyPerfInfo(int mode, int actuation, int press, int release, int pressDeadZone,
                        int releaseDeadZone, int deadZoneState);
    // Everything of one key; false for a code that is not a key.
    bool SetKeyPerfInfo(int code, const KeyPerfInfo& info);
    bool GetKeyPerfInfo(int code, KeyPerfInfo& info) const;

    // --- Calibration ---
    void SetKeyboardCtrlMode(int mode);
    int GetKeyboardCtrlMode() const;
    // One key's calibration report; false for a code that is not a key.
    bool SetKeyCalibration(int code, int travel, int value, int number, int referenceSpan);
    KeyCalibration GetKeyCalibration(int code) const;
    // Every key back to "nothing reported", its live travel 0.
    void ResetKeyCalibration();

protected:
    // Both locks in their order, for the operations of derived views.
    struct ViewGuard {
        std::unique_lock<std::recursive_mutex> view;
        std::unique_lock<std::recursive_mutex> window;
    };
    ViewGuard Guard() const;

    void Paint(QPainter& painter) override;
    void OnMouseDown(const MouseEvent& event) override;
    void OnMouseMove(const MouseEvent& event) override;
    void OnMouseUp(const MouseEvent& event) override;
    void OnMouseLeave() override;
    void OnClick(const MouseEvent& event) override;

    // Window lock held: index of the key with the code or under a control point, -1 for none.
    int IndexOfCode(int code) const;
    int IndexAt(int x, int y) const;
    // Draws one key (window lock held); derived views may add to it.
    virtual void PaintKey(QPainter& painter, const KeyItem& key, int index);
    // The live travel, or in calibration mode the key's calibration values, over the cap.
    void PaintKeyTravel(QPainter& painter, const KeyItem& key) const;

    std::vector<KeyItem> keys_;

private:
    struct Placement {
        double scale, left, top;
    };
    Placement Place() const;  // window lock held
    int KeysHeight() const;   // window lock held: the keyboard's height in its own pixels

    // Window lock held: applies change to every marked key's performance.
    template <class Change>
    void ChangeMarked(Change change);

    mutable std::recursive_mutex viewMutex_;
    PRECISION precision_;
    int bottomRapidTrigger_ = 0;
    int ctrlMode_ = kModePerformance;
    COLORREF keyboardColor_ = 0;
    bool keyboardColorSet_ = false;
    int keyboardWidth_ = 0;
    int keyboardHeight_ = 0;
    RECT boardArea_{};
    int modelId_ = 0;
    std::wstring imageNormal_;
    std::wstring imageHover_;
    std::wstring imageChecked_;
    // Window lock held: a click on the key while picking a pair.
    void PickPairKey(int code);

    int current_ = -1;
    int advancedType_ = -1;
    int pickFlag_ = 0;
    int pickA_ = 0;
    int pickB_ = 0;
    int selectMode_ = kSelectSingle;
    int hot_ = -1;
    bool painting_ = false;
    bool paintState_ = false;
    bool keyPressed_ = false;
    bool userColorMode_ = false;
};

}  // namespace MUI
