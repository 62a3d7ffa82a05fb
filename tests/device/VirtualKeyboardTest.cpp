// The link against the virtual keyboard: what the keyboard stores after our transfers, and
// how the link behaves when the keyboard misbehaves or is pulled out.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "device/DeviceChange.h"
#include "device/DeviceManager.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class VirtualKeyboardLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        hid::SetBackend(&backend);
        backend.Plug(keyboard);
        manager.AddSupportedDevice(0x3B6D, 0xFD70, L"Morvessa Keyboard", 101, 0);
        manager.Rescan();
        ASSERT_NE(manager.GetCurrentHandle(), nullptr);
        keyboard->ClearLog();
    }
    void TearDown() override
    {
        manager.SetConnected(true);
        manager.CloseAllDevices();
        hid::SetBackend(nullptr);
    }

    vkb::VirtualHidBackend backend;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard = std::make_shared<vkb::VirtualKeyboard>();
    DeviceManager manager;
};

TEST_F(VirtualKeyboardLink, ScanListsTheConfigurationInterfaceOnly)
{
    std::vector<DeviceRecord*> listed;
    ASSERT_TRUE(manager.GetDeviceList(listed));
    ASSERT_EQ(listed.size(), 1u);  // boot keyboard (9 bytes) and vendor (64 bytes) left out
    EXPECT_EQ(listed[0]->productString, L"Morvessa Keyboard");
    EXPECT_EQ(listed[0]->releaseNumber, 0x105);
    EXPECT_EQ(manager.GetFirmwareVersion(), L"V1.05(2024-03-15)");
    EXPECT_TRUE(keyboard->Errors().empty());
}

TEST_F(VirtualKeyboardLink, KeyPerformanceBatchLandsInTheKeyboard)
{
    std::vector<uint8_t> table(1024);
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(i * 13 + 5);
    ASSERT_TRUE(manager.WriteTableBatch(CMD_WRITE_KEY_PERF, 0, table));

    for (size_t key = 0; key < 128; ++key) {
        const std::array<uint8_t, 8> perf = keyboard->KeyPerf(key);
        ASSERT_TRUE(std::equal(perf.begin(), perf.end(), table.begin() + key * 8)) << key;
    }
    EXPECT_EQ(keyboard->BatchesBegun(), 1);
    EXPECT_EQ(keyboard->BatchesEnded(), 1);
    const std::vector<vkb::RequestRecord> requests = keyboard->Requests();
    ASSERT_EQ(requests.size(), 21u);
    for (size_t i = 1; i + 1 < requests.size(); ++i) {
        EXPECT_TRUE(requests[i].inBatch);
        EXPECT_TRUE(requests[i].checksumOk);
    }
    EXPECT_TRUE(keyboard->Errors().empty());
}

TEST_F(VirtualKeyboardLink, EightLayerKeyTableReadMatchesTheKeyboard)
{
    keyboard->ModifyMemory([](vkb::KeyboardMemory& memory) {
        for (size_t i = 0; i < memory.keymaps.size(); ++i) {
            memory.keymaps[i] = static_cast<uint8_t>(i ^ (i >> 8));
        }
    });
    ASSERT_TRUE(manager.BeginBatch());
    for (size_t layer = 0; layer < 8; ++layer) {
        std::vector<uint8_t> table(10 * 56);
        ASSERT_TRUE(
            manager.ReadTable(CMD_READ_KEYMAP, static_cast<uint16_t>(layer * 512), 512, table));
        for (size_t key = 0; key < 128; ++key) {
            const std::array<uint8_t, 3> entry = keyboard->KeyEntry(layer, key);
            ASSERT_TRUE(std::equal(entry.begin(), entry.end(), table.begin() + key * 3))
                << layer << ":" << key;
        }
    }
    ASSERT_TRUE(manager.EndBatch());
    EXPECT_TRUE(keyboard->Errors().empty());
}

TEST_F(VirtualKeyboardLink, ForeignAndLostAnswers)
{
    // A foreign answer first: the plain exchange takes it, the checked one waits for its own.
    keyboard->AddFault({vkb::Fault::Kind::ForeignAnswer, CMD_FACTORY_RESET, 1, 0});
    DeviceReport reset = DeviceReport::Request(CMD_FACTORY_RESET);
    ASSERT_TRUE(manager.SendCommand(reset));
    EXPECT_EQ(reset[1], CMD_BEGIN_BATCH);
    DeviceReport drop = DeviceReport::Request(CMD_CALIBRATION_OFF);
    manager.SendCommand(drop);  // takes the reset's own answer left behind

    keyboard->AddFault({vkb::Fault::Kind::ForeignAnswer, CMD_READ_SETTINGS, 1, 0});
    DeviceReport settings = DeviceReport::Request(CMD_READ_SETTINGS, 0, nullptr, 32);
    ASSERT_TRUE(manager.SendCommandChecked(settings));
    EXPECT_EQ(settings[1], CMD_READ_SETTINGS);

    // A lost chunk reads as zeros, and the chunks after it are still read.
    keyboard->ModifyMemory([](vkb::KeyboardMemory& memory) {
        std::fill(memory.userColors.begin(), memory.userColors.end(), 0x33);
    });
    keyboard->AddFault({vkb::Fault::Kind::NoAnswer, CMD_READ_USER_COLORS, 1, 0});
    std::vector<uint8_t> colors(7 * 56, 0xEE);
    EXPECT_FALSE(manager.ReadTable(CMD_READ_USER_COLORS, 0, 384, colors));
    EXPECT_EQ(colors[0], 0);
    EXPECT_EQ(colors[55], 0);
    EXPECT_EQ(colors[56], 0x33);
    EXPECT_EQ(colors[383], 0x33);

    // A failed write is written again.
    keyboard->AddFault({vkb::Fault::Kind::FailWrite, CMD_CALIBRATION_ON, 1, 0});
    EXPECT_TRUE(manager.SendSimpleCommand(CMD_CALIBRATION_ON));
    EXPECT_TRUE(keyboard->Calibrating());
}

TEST_F(VirtualKeyboardLink, PulledOutMidTransferEveryCallFailsQuickly)
{
    keyboard->AddFault({vkb::Fault::Kind::UnplugAfter, -1, -1, 5});
    const std::vector<uint8_t> table(1024, 0x42);
    auto start = Clock::now();
    EXPECT_FALSE(manager.WriteTableBatch(CMD_WRITE_KEY_PERF, 0, table));
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_FALSE(keyboard->Plugged());

    start = Clock::now();
    std::vector<uint8_t> read(19 * 56);
    EXPECT_FALSE(manager.ReadTableBatch(CMD_READ_KEY_PERF, 0, 1024, read));
    DeviceReport report = DeviceReport::Request(CMD_READ_SETTINGS, 0, nullptr, 32);
    EXPECT_FALSE(manager.SendCommandChecked(report));
    EXPECT_FALSE(manager.SendCommand(report));
    EXPECT_LT(MillisecondsSince(start), 500);
    start = Clock::now();
    EXPECT_EQ(manager.GetFirmwareVersion(), L"0.0");
    EXPECT_LT(MillisecondsSince(start), 2000);

    manager.Rescan();
    EXPECT_EQ(manager.GetCurrentHandle(), nullptr);
}

// Collects monitor events.
class Events {
public:
    void Add(bool arrived, const std::wstring& name)
    {
        std::lock_guard lock(mutex_);
        events_.emplace_back(arrived, name);
        changed_.notify_all();
    }
    // Waits for the next event naming the pattern.
    std::optional<std::pair<bool, std::wstring>> Next(const std::wstring& pattern)
    {
        std::unique_lock lock(mutex_);
        const auto until = Clock::now() + std::chrono::seconds(5);
        for (;;) {
            while (!events_.empty()) {
                auto event = events_.front();
                events_.erase(events_.begin());
                if (event.second.find(pattern) != std::wstring::npos) return event;
            }
            if (changed_.wait_until(lock, until) == std::cv_status::timeout) return std::nullopt;
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::pair<bool, std::wstring>> events_;
};

TEST_F(VirtualKeyboardLink, MonitorEventsThroughTheFilter)
{
    const std::wstring pattern = L"VID_3B6D&PID_FD70&MI_01";
    Events events;
    auto monitor = hid::MakeDeviceMonitor();
    ASSERT_TRUE(
        monitor->Start([&](bool arrived, const std::wstring& name) { events.Add(arrived, name); }));
    std::vector<DeviceChangeModel> models = {{pattern, true}};

    backend.Unplug(keyboard);
    auto removed = events.Next(pattern);
    ASSERT_TRUE(removed.has_value());
    EXPECT_FALSE(removed->first);
    EXPECT_EQ(FilterDeviceChange(false, removed->second, models).action,
              DeviceChangeAction::kRemoved);
    models[0].connected = false;
    EXPECT_EQ(FilterDeviceChange(false, removed->second, models).action, DeviceChangeAction::kNone);

    backend.Plug(keyboard);
    auto arrived = events.Next(pattern);
    ASSERT_TRUE(arrived.has_value());
    EXPECT_TRUE(arrived->first);
    EXPECT_EQ(FilterDeviceChange(true, arrived->second, models).action,
              DeviceChangeAction::kArrived);

    // Re-enumerated with 64-byte reports: the arrival is not taken.
    keyboard->SetShortReports(true);
    std::optional<std::pair<bool, std::wstring>> event;
    do {
        event = events.Next(pattern);
    } while (event && !event->first);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(FilterDeviceChange(true, event->second, models).action, DeviceChangeAction::kNone);
    monitor->Stop();
}

}  // namespace
