#include "app/MainWindowTestSupport.h"

#include <QCoreApplication>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/AppTestSupport.h"
#include "app/Environment.h"
#include "app/RegistrySettings.h"
#include "device/DeviceManager.h"
#include "device/Pause.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/UiThread.h"
#include "platform/os/Registry.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"

namespace apptest {

void MainWindowTest::SetUp()
{
    MUI::EnsureApplication();
    FreshDeviceName();
    ASSERT_TRUE(os::RegCreateKey(DeviceRegistryKey()));
    const char* source = std::getenv("TV_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    SetModuleFolder(text::Utf8ToWide(std::string(source) + "/data"));
    CreateDirectoryTree(GetDataFolder() + L"db");
    hid::SetBackend(&backend);
}

void MainWindowTest::TearDown()
{
    dlg.reset();
    // Free the device link's handles while their back end still exists.
    Unplug();
    DeviceManager::GetInstance().Rescan();
    hid::SetBackend(nullptr);
    SetModuleFolder(L"");
}

void MainWindowTest::Plug()
{
    if (!keyboard) {
        keyboard = std::make_shared<vkb::VirtualKeyboard>();
    }
    backend.Plug(keyboard);
}

void MainWindowTest::Unplug()
{
    if (keyboard) {
        backend.Unplug(keyboard);
    }
}

void MainWindowTest::ConnectWithPerfRows(int profile, int mode)
{
    Plug();
    CreateWindow();
    dlg->page.currentProfile = profile;
    ASSERT_TRUE(Drain());
    ASSERT_TRUE(dlg->connection.deviceOpened.load());
    KBDataBase& db = KBDataBase::GetInstance();
    db.InsertDefaultConfig(profile);
    std::vector<KeyPerfRecord> rows;
    for (const MUI::KeyItem& key : dlg->perfPage.keyboard->GetKeyItems()) {
        KeyPerfRecord row;
        row.profile = profile;
        row.key_code = key.code;
        row.switch_type = 3;
        row.key_mode = mode;
        row.key_actuation = 75;
        row.rt_press = 5;
        row.rt_release = 5;
        rows.push_back(row);
    }
    db.InsertKeyPerfs(rows);
    dlg->LoadPerfSettings();
}

void MainWindowTest::CreateWindow(bool manual)
{
    dlg = std::make_unique<KeyboardDlg>();
    dlg->worker.pause = [this, sleep = realPauses](int ms) {
        {
            std::lock_guard lock(recordMutex);
            pauses.push_back(ms);
        }
        if (sleep) PauseMs(ms);
    };
    dlg->worker.exitProcess = [this](int code) {
        std::lock_guard lock(recordMutex);
        exits.push_back(code);
    };
    if (manual) {
        // Start() refuses to start a thread that counts as running.
        dlg->running = 1;
    }
    ASSERT_NE(dlg->Create(nullptr, L"MainWindowTest", WS_POPUP, 0, RECT{0, 0, 1600, 970}), nullptr);
}

void MainWindowTest::Pump(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (std::chrono::steady_clock::now() < end);
}

bool MainWindowTest::WaitFor(const std::function<bool()>& condition,
                             std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        Pump(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<int> MainWindowTest::Pauses() const
{
    std::lock_guard lock(recordMutex);
    return pauses;
}

std::vector<int> MainWindowTest::Exits() const
{
    std::lock_guard lock(recordMutex);
    return exits;
}

std::vector<int> MainWindowTest::TakeQueue()
{
    std::vector<int> codes;
    while (const std::optional<int> code = dlg->worker.queue.Pop()) {
        codes.push_back(*code);
    }
    return codes;
}

bool MainWindowTest::Drain(int maxSteps)
{
    for (int i = 0; i < maxSteps; ++i) {
        if (dlg->worker.queue.Empty()) {
            return true;
        }
        dlg->Run();
        Pump(std::chrono::milliseconds(5));
    }
    return dlg->worker.queue.Empty();
}

bool MainWindowTest::TabsShown() const
{
    return dlg->ui.tabCtrl != nullptr && dlg->ui.tabCtrl->IsVisible();
}

bool MainWindowTest::HomePanelShown() const
{
    return dlg->ui.homePage != nullptr && dlg->ui.homePage->IsVisible();
}

}  // namespace apptest
