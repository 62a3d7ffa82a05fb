// A DeviceManager connected to one scripted keyboard interface.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "FakeHid.h"
#include "device/DeviceManager.h"

namespace fake {

inline constexpr uint16_t kVendor = 0x3B6D;
inline constexpr uint16_t kProduct = 0xFD70;
inline const std::wstring kProductName = L"Morvessa Keyboard";

// The answer to CMD_GET_DEVICE_INFO carrying text.
Bytes InfoAnswer(const std::string& text);
// Echoes every request; answers the info request with infoText.
std::function<std::vector<Bytes>(const Bytes&)> EchoKeyboard(
    std::string infoText = "QX71,Mar 15 2024,1");

using Clock = std::chrono::steady_clock;
inline long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        keyboard = backend.Add(kVendor, kProduct, kProductName, "/fake/keyboard");
        keyboard->info.releaseNumber = 0x105;
        keyboard->respond = EchoKeyboard();
        manager.AddSupportedDevice(kVendor, kProduct, kProductName, 101, 0);
    }

    // Scans and makes the keyboard current; the writes of the scan are forgotten.
    void Connect()
    {
        manager.Rescan();
        ASSERT_NE(manager.GetCurrentHandle(), nullptr);
        baseline = keyboard->Written().size();
    }

    // Writes made since Connect.
    std::vector<Bytes> Sent() const
    {
        const std::vector<Bytes> all = keyboard->Written();
        return std::vector<Bytes>(all.begin() + static_cast<long>(baseline), all.end());
    }

    Backend backend;  // declared first: outlives the manager's handles
    DeviceManager manager;
    std::shared_ptr<Interface> keyboard;
    size_t baseline = 0;
};

}  // namespace fake
