// The main window with its key-assignment page built in-process (no native window, no worker),
// five keys on its key view, a language file whose texts name their number ("T<n>"), and the
// model's database in a fresh folder holding profile 1's default key rows.
#pragma once

#include <gtest/gtest.h>

#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/Manager.h"
#include "platform/mui/PaletteDrag.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowServices.h"
#include "storage/StorageFixture.h"
#include "support/ModalWindow.h"

namespace keypage_test {

inline constexpr int kKeyA = 0x04;
inline constexpr int kKeyB = 0x05;
inline constexpr int kKeyQ = 0x14;
inline constexpr int kKeyX = 0x1B;
inline constexpr int kKeyFn = 255;

using testsupport::WhenModalWindowUp;

class KeyPageTest : public storage_test::StorageTest {
protected:
    static constexpr RECT kClient{0, 0, 1600, 970};

    void SetUp() override
    {
        StorageTest::SetUp();
        MUI::EnsureApplication();
        MUI::Manager::SetDeviceName(L"KeyPageTest");
        std::filesystem::create_directories(folder_ / "language");
        std::ofstream language(folder_ / "language" / "1033.lan");
        language << "[KB.DIALOG]\n";
        for (int number = 30; number <= 240; ++number) language << number << "=T" << number << "\n";
        language.close();
        SetModuleFolder(folder_.wstring() + L"/");
        CurrentLanguageId = 1033;

        dlg_ = std::make_unique<KeyboardDlg>();
        dlg_->InitUI(kClient);  // builds and lays out the key page too

        MUI::KeyboardCtrl& view = View();
        view.SetKeyboardSize(400, 60);
        const struct {
            const wchar_t* name;
            int code;
        } keys[] = {{L"A", kKeyA}, {L"B", kKeyB}, {L"Q", kKeyQ}, {L"X", kKeyX}, {L"Fn", kKeyFn}};
        int left = 0;
        for (const auto& key : keys) {
            view.AddKeyItem(key.name, L"", key.code, left, 0, left + 70, 60, L"", 0x232323);
            left += 80;
        }
        ProfileCombo().AddItem(L"Profile 1", 1);
        ProfileCombo().SetCurSel(0);
        dlg_->CreateDefaultKeyRows(1);
    }

    void TearDown() override
    {
        dlg_.reset();
        SetModuleFolder(L"");
        StorageTest::TearDown();
    }

    KeyboardDlg& Dlg() { return *dlg_; }
    MUI::KeyboardCtrl& View() { return *dlg_->GetControlAs<MUI::KeyboardCtrl>(82); }
    MUI::MComboBox& ProfileCombo() { return *dlg_->GetControlAs<MUI::MComboBox>(87); }
    template <class T>
    T& Control(unsigned id)
    {
        T* control = dlg_->GetControlAs<T>(id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }

    int Notify(unsigned id, LPARAM value = 0) { return dlg_->OnKeyPageMessage(id, 2, value); }

    // Every command queued so far, taken off the queue.
    std::vector<int> TakeCommands()
    {
        std::vector<int> codes;
        while (const auto code = dlg_->worker.queue.Pop()) codes.push_back(*code);
        return codes;
    }

    KeyMacroRecord Row(int keyCode, int layer = 0, int profile = 1)
    {
        KeyMacroRecord row;
        EXPECT_TRUE(db().GetKeyMacro(profile, layer, keyCode, row)) << keyCode << "/" << layer;
        return row;
    }
    void StoreRow(KeyMacroRecord row) { db().UpdateKeyMacro(row); }

    // A point of the window's client area on the key, packed as a drop message carries it.
    LPARAM DropPointOn(int keyCode)
    {
        const RECT r = View().GetRect();
        for (int y = r.top; y < r.bottom; y += 3)
            for (int x = r.left; x < r.right; x += 3)
                if (View().GetKeyCodeByPoint(x, y) == keyCode)
                    return MUI::PackClientPoint(POINT{x, y});
        ADD_FAILURE() << "no point on key " << keyCode;
        return 0;
    }

    std::unique_ptr<KeyboardDlg> dlg_;
};

}  // namespace keypage_test
