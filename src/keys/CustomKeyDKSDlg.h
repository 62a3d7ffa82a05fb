// The editor of one advanced key, a rounded child window over the lower part of the main
// window. A new key starts with the key-selection step (the page's keyboard view feeds it the
// picked keys through SetTargetKey); then the value page of its type. Saving stores the
// advanced key (and a DKS key's four bindings) and posts WM_ADVKEY_SAVED with its id to the
// owner; cancelling (the cancel button, or a close from outside) posts WM_ADVKEY_CANCELLED.
// The owner destroys and deletes the editor when it handles either message. It never talks to
// the keyboard. UI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "keys/KeyPalette.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/Precision.h"

namespace MUI {
class MButton;
class MSlider;
class MText;
}  // namespace MUI

// What the editor takes from the program above it.
struct AdvKeyEditorServices {
    // A "KB.DIALOG" text.
    std::function<std::wstring(int number)> text;
    // The program's message box with one button.
    std::function<void(HWND owner, const std::wstring& text, const std::wstring& caption)>
        messageBox;
    // The macros of the macro tiles.
    PaletteMacroSource macros;
    // The switch precision of the model (distance sliders as on the performance page).
    MUI::PRECISION precision;
};

class CustomKeyDKSDlg : public MUI::MDialog {
public:
    explicit CustomKeyDKSDlg(AdvKeyEditorServices services);
    ~CustomKeyDKSDlg() override;

    void SetKeyInfo(int type, int profile, uint32_t keyValue, int macroId, int newFlag);
    void SetModelId(int modelId);
    // Creates the window (child of owner, at rect in its client coordinates) and shows it.
    HWND Create(HWND owner, const RECT& rect);
    // A key picked on the page's view (two keys: B << 16 | A).
    void SetTargetKey(uint32_t value);

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI(const RECT& client) override;
    void UISize(const RECT& client) override;
    int OnMessage(unsigned id, int code, LPARAM value) override;
    LRESULT OnNcActivate(bool active) override;

    // Steps and actions (also reached through the controls).
    void CheckKeys();
    // 1 when saved; 0 when the page's values are incomplete or the database refused them.
    int SaveAdvKey();
    void LoadValues();
    void FillKeyValueList(int tab);
    void OnKeyFuncPick();
    void OnKeyValuePick();
    void OnSocdSplitSwitch();
    void OnMtHoldSlider();
    void ShowTips();
    void OpenStrokePicker();
    int GetSocdModeBits() const;
    int GetOksModeBits() const;

    int MacroId() const { return macroId_; }
    int Type() const { return type_; }
    uint32_t KeyValue() const { return keyValue_; }
    bool IsNew() const { return newFlag_ == 1; }

private:
    void CreateHeader(const RECT& client);
    void CreateDksPage(const RECT& client);
    void CreateRsPage(const RECT& client);
    void CreateSocdPage(const RECT& client);
    void CreateOksPage(const RECT& client);
    void ShowKeyPairNames();
    void DragOver(LPARAM point);
    void DropKeyFunc();
    void PostToOwner(UINT message, LPARAM lParam = 0);
    void Cancel();
    // The step's button at the bottom left (next of the key selection, save of the value page).
    MUI::MButton* StepButton(unsigned id, int textNo, const RECT& client);
    // Controls made by class name and id with their rectangle.
    MUI::MText* Text(unsigned id, int textNo, const RECT& rect, int size, bool bold = false);
    MUI::MSlider* Slider(unsigned id, unsigned labelId, const RECT& rect, int minimum, int maximum,
                         int position, bool distance);
    // Label texts of the sliders.
    std::wstring DistanceText(int position) const;
    void UpdateSliderLabel(unsigned sliderId, unsigned labelId);
    void SetSlider(unsigned sliderId, unsigned labelId, int position);
    int SliderPos(unsigned sliderId) const;
    // Slider ranges in the model's precision (0.02 mm steps by default).
    int DistanceDefault() const;
    int ActuationMinimum() const;
    int ActuationMaximum() const;
    int ActuationDefault() const;
    bool SaveRecord(struct MagneticKeyRecord& record);

    AdvKeyEditorServices services_;
    int macroId_ = 0;
    int newFlag_ = 0;
    int headerBuilt_ = 0;
    int type_ = 1;
    int profile_ = 0;
    uint32_t keyValue_ = 0;
    int modelId_ = 0;
    HWND owner_ = nullptr;
    RECT rect_{};
    bool closing_ = false;
};
