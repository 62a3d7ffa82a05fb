// The main window with its worker thread against the in-process virtual keyboard, on a fresh
// data folder of its own (so the first connection creates the three profiles), for the
// benchmarks that time a path through the real queue and worker.
#pragma once

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/RegistrySettings.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/Manager.h"
#include "platform/mui/UiThread.h"
#include "platform/os/Registry.h"
#include "platform/text/Utf8.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace bench {

using Clock = std::chrono::steady_clock;
inline constexpr auto kTimeout = std::chrono::seconds(20);

inline void Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents, 1); }

// Pumps until the condition holds; false at the time-out.
template <class Condition>
bool WaitUntil(Condition condition)
{
    const auto end = Clock::now() + kTimeout;
    while (!condition()) {
        if (Clock::now() > end) return false;
        Pump();
    }
    return true;
}

class MainWindow {
public:
    // `name` names the device (and so the registry key and data folder) and the window.
    explicit MainWindow(const wchar_t* name)
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("bench-" + text::WideToUtf8(name) + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::permissions(folder_ / "runtime", std::filesystem::perms::owner_all);
        for (const char* variable :
             {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
            setenv(variable, (folder_ / "runtime").c_str(), 1);
        }
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        MUI::EnsureApplication();
        MUI::Manager::SetDeviceName(name);
        os::RegCreateKey(DeviceRegistryKey());
        SetModuleFolder(text::Utf8ToWide(std::string(TV_SOURCE_DIR) + "/data/"));
        CreateDirectoryTree(GetDataFolder() + L"db");
        hid::SetBackend(&backend_);
        backend_.Plug(keyboard);

        dlg = std::make_unique<KeyboardDlg>();
        dlg->Create(nullptr, name, WS_POPUP, 0, RECT{0, 0, 1600, 970});
        // Shown, as the user's is: a hidden window's worker polls the keyboard only slowly.
        dlg->ShowWindow(SW_SHOW);
        ready_ =
            WaitUntil([this] { return dlg->keyPage.profileCombo->GetItemCount() == 3 && Idle(); });
    }
    ~MainWindow()
    {
        dlg.reset();
        backend_.Unplug(keyboard);
        hid::SetBackend(nullptr);
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    bool Ready() const { return ready_; }

    // The worker has no command left and has taken a step since the last one ended. An idle
    // worker with nothing to poll rests up to a second between its steps.
    bool Idle()
    {
        if (!dlg->worker.queue.Empty()) return false;
        const uint64_t steps = dlg->worker.steps.load();
        const auto end = Clock::now() + std::chrono::milliseconds(2500);
        while (Clock::now() < end) {
            if (dlg->worker.steps.load() > steps + 1) return dlg->worker.queue.Empty();
            Pump();
        }
        return false;
    }

    std::unique_ptr<KeyboardDlg> dlg;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard = std::make_shared<vkb::VirtualKeyboard>();

private:
    std::filesystem::path folder_;
    vkb::VirtualHidBackend backend_;
    bool ready_ = false;
};

}  // namespace bench
