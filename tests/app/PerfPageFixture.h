// The performance page of a main window built in-process against the in-process virtual
// keyboard, with the worker run by hand: the profile's rows as a new profile gets them, loaded
// into the page, and helpers that drive the page's controls and read the keyboard's tables.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/MainWindowTestSupport.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "storage/KBDataBase.h"

namespace apptest {

class PerfPageTest : public MainWindowTest {
public:
    using Entry = std::array<uint8_t, 8>;
    static constexpr int kProfile = 1;

protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The profile's rows as a new profile gets them.
        ConnectWithPerfRows(kProfile, 1);
        keyboard->ClearLog();
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }
    MUI::KeyboardCtrl& View() { return *dlg->perfPage.keyboard; }
    MUI::KeyStrokeCtrl& Stroke() { return *dlg->perfPage.stroke; }

    void Notify(unsigned id, int code = MUI::kNotifyClick, LPARAM value = 0)
    {
        dlg->OnMessage(id, code, value);
    }
    void Flip(MUI::CSwitchButton* button, bool on)
    {
        button->SetCheck(on);
        Notify(button->GetID());
    }
    // Runs what the handlers queued.
    void Send() { ASSERT_TRUE(Drain()); }

    int IndexOf(int code) const { return dlg->keyTables.maps.IndexOf(code); }
    Entry KeyPerf(int code) const
    {
        return keyboard->KeyPerf(static_cast<size_t>(IndexOf(code)));
    }
    std::wstring Config(const wchar_t* key)
    {
        std::wstring value;
        db().GetConfig(kProfile, key, value);
        return value;
    }

    static constexpr int kA = 0x04;
    static constexpr int kS = 0x16;
    static constexpr int kD = 0x07;
};

}  // namespace apptest
