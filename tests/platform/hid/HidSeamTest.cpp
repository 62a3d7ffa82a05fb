#include <gtest/gtest.h>

#include "platform/hid/HidSeam.h"

namespace {

class CountingMonitor : public hid::DeviceMonitor {
public:
    explicit CountingMonitor(int& starts) : starts_(starts) {}
    bool Start(Callback) override { return ++starts_ > 0; }
    void Stop() override {}

private:
    int& starts_;
};

class Double : public hid::HidBackend {
public:
    explicit Double(bool ownMonitor) : ownMonitor_(ownMonitor) {}
    std::vector<hid::HidDeviceInfo> Enumerate(uint16_t, uint16_t) override
    {
        hid::HidDeviceInfo info;
        info.path = "double";
        return {info};
    }
    std::unique_ptr<hid::HidDevice> Open(const std::string&) override { return nullptr; }
    std::unique_ptr<hid::DeviceMonitor> MakeMonitor() override
    {
        if (!ownMonitor_) return nullptr;
        return std::make_unique<CountingMonitor>(starts);
    }
    int starts = 0;

private:
    bool ownMonitor_;
};

TEST(HidSeam, InstalledDoubleServesBackendAndMonitor)
{
    Double withMonitor(true);
    hid::SetBackend(&withMonitor);
    ASSERT_EQ(&hid::Backend(), &withMonitor);
    EXPECT_EQ(hid::Backend().Enumerate().at(0).path, "double");
    EXPECT_TRUE(hid::MakeDeviceMonitor()->Start([](bool, const std::wstring&) {}));
    EXPECT_EQ(withMonitor.starts, 1);

    // A double without a monitor gets one that never reports.
    Double withoutMonitor(false);
    hid::SetBackend(&withoutMonitor);
    EXPECT_FALSE(hid::MakeDeviceMonitor()->Start([](bool, const std::wstring&) {}));

    hid::SetBackend(nullptr);
    EXPECT_NE(&hid::Backend(), static_cast<hid::HidBackend*>(&withoutMonitor));
}

}  // namespace
