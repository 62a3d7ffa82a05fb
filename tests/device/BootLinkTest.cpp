#include <gtest/gtest.h>

#include "LinkFixture.h"

namespace fake {
namespace {

std::shared_ptr<Interface> AddBoot(Backend& backend, uint16_t product, uint16_t usagePage,
                                   const std::string& path)
{
    auto boot = backend.Add(0x3B6D, product, L"", path);
    boot->info.usagePage = usagePage;
    boot->info.usage = 1;
    return boot;
}

TEST(BootLink, BootLoaderFoundByVendorUsageAndProduct)
{
    Backend backend;
    uint16_t vendor = 0, product = 0;
    EXPECT_EQ(DeviceManager::OpenBootDevice(vendor, product), nullptr);
    EXPECT_EQ(product, 0);

    AddBoot(backend, 0xFF36, 0xFF01, "/fake/wrong-page");
    AddBoot(backend, 0x1234, 0xFF00, "/fake/other-product");
    auto closed = AddBoot(backend, 0xFF36, 0xFF00, "/fake/closed");
    closed->opens = false;
    auto found = AddBoot(backend, 0xFF23, 0xFF00, "/fake/ff23");
    auto later = AddBoot(backend, 0xFF36, 0xFF00, "/fake/ff36");
    auto device = DeviceManager::OpenBootDevice(vendor, product);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(vendor, 0x3B6D);
    EXPECT_EQ(product, 0xFF23);  // the first interface in enumeration order that opens
    device->Write(Bytes{0, 1}.data(), 2);
    EXPECT_EQ(found->Written().size(), 1u);

    // Exact ids, usage page and usage.
    EXPECT_EQ(DeviceManager::OpenHidByIds(0x3B6D, 0xFF36, 0xFF00, 2), nullptr);
    auto byIds = DeviceManager::OpenHidByIds(0x3B6D, 0xFF36, 0xFF00, 1);
    ASSERT_NE(byIds, nullptr);
    byIds->Write(Bytes{0, 1}.data(), 2);
    EXPECT_EQ(later->Written().size(), 1u);

    EXPECT_EQ(DeviceManager::OpenWchIspDevice(), nullptr);
    backend.Add(0x4348, 0x55E0, L"", "/fake/bridge");
    EXPECT_NE(DeviceManager::OpenWchIspDevice(), nullptr);
}

TEST(BootLink, IspExchangeWritesTheBufferAndReadsTheAnswerIntoIt)
{
    Backend backend;
    auto boot = AddBoot(backend, 0xFF36, 0xFF00, "/fake/boot");
    boot->outputLength = 1025;
    boot->inputLength = 1025;
    boot->respond = [](const Bytes& request) {
        Bytes answer(1025, 0);
        answer[3] = request[1];  // [0] report ID, [1]..[2] status 0 0
        return std::vector<Bytes>{answer};
    };
    std::array<uint8_t, kIspBufferSize> buffer{};
    buffer[1] = 0x81;
    buffer[2] = 0x07;
    EXPECT_FALSE(DeviceManager::IspExchange(buffer));  // no link yet

    DeviceManager::SetIspLink(backend.Open("/fake/boot"));
    ASSERT_NE(DeviceManager::IspLink(), nullptr);
    boot->FailNextWrites(1);
    ASSERT_TRUE(DeviceManager::IspExchange(buffer));
    EXPECT_EQ(boot->WriteAttempts(), 2);
    EXPECT_EQ(boot->Written().at(0)[1], 0x81);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(buffer[2], 0x81);  // the report ID 0 removed

    boot->FailNextWrites(2);
    EXPECT_FALSE(DeviceManager::IspExchange(buffer));
    boot->respond = nullptr;
    const auto start = Clock::now();
    EXPECT_FALSE(DeviceManager::IspExchange(buffer));
    EXPECT_GE(MillisecondsSince(start), 100);

    DeviceManager::CloseIspLink();
    EXPECT_EQ(DeviceManager::IspLink(), nullptr);
    DeviceManager::CloseIspLink();  // nothing to close
    EXPECT_FALSE(DeviceManager::IspExchange(buffer));
}

}  // namespace
}  // namespace fake
