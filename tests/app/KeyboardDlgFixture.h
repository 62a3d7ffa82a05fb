// A main window built in-process (no native window, no worker): a fresh device name, a program
// folder with two language files whose texts name their number ("E<n>" in 1033, "Z<n>" in
// 2052; "CAPTION" texts "EC<n>" and "ZC<n>"), and KeyboardDlg::InitUI run on a 1600 x 970 client.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/AppTestSupport.h"
#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "platform/mui/UiThread.h"
#include "platform/os/Registry.h"
#include "platform/text/Utf8.h"

namespace apptest {

inline std::string LanguageFileText(const std::string& prefix)
{
    std::string text = "[CAPTION]\n1=" + prefix + "C1\n2=" + prefix + "C2\n[KB.DIALOG]\n";
    for (int number = 1; number <= 1100; ++number) {
        text += std::to_string(number) + "=" + prefix + std::to_string(number) + "\n";
    }
    return text;
}

class KeyboardDlgFixture : public ::testing::Test {
protected:
    static constexpr RECT kClient{0, 0, 1600, 970};

    void SetUp() override
    {
        MUI::EnsureApplication();
        FreshDeviceName();
        os::RegCreateKey(DeviceRegistryKey());
        const auto folder = FreshFolder("mainwindow");
        WriteText(folder / "language/1033.lan", LanguageFileText("E"));
        WriteText(folder / "language/2052.lan", LanguageFileText("Z"));
        SetModuleFolder(text::Utf8ToWide(folder.string()));
        CurrentLanguageId = 1033;
    }
    void TearDown() override
    {
        dlg_.reset();
        SetModuleFolder(L"");
        CurrentLanguageId = 1033;
    }

    // Builds the window's controls as its creation does.
    KeyboardDlg& Build()
    {
        dlg_ = std::make_unique<KeyboardDlg>();
        dlg_->InitUI(kClient);
        return *dlg_;
    }
    MUI::MControl* Control(unsigned id) const { return dlg_->GetControl(id); }
    template <class T>
    T* ControlAs(unsigned id) const
    {
        return dlg_->GetControlAs<T>(id);
    }

    std::unique_ptr<KeyboardDlg> dlg_;
};

}  // namespace apptest
