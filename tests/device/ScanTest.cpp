#include <gtest/gtest.h>

#include "LinkFixture.h"

namespace fake {
namespace {

TEST_F(LinkTest, ScanListsOnlySupportedInterfacesWithFullReports)
{
    auto small = backend.Add(kVendor, kProduct, kProductName, "/fake/small");
    small->inputLength = small->outputLength = 64;
    auto shortOut = backend.Add(kVendor, kProduct, kProductName, "/fake/short-out");
    shortOut->outputLength = 64;
    auto otherCase = backend.Add(kVendor, kProduct, L"MORVESSA Keyboard", "/fake/case");
    auto otherProduct = backend.Add(kVendor, 0xFD71, kProductName, "/fake/other");
    auto closed = backend.Add(kVendor, kProduct, kProductName, "/fake/closed");
    closed->opens = false;
    auto second = backend.Add(kVendor, kProduct, kProductName, "/fake/second");
    second->info.releaseNumber = 0x200;
    // hidraw lists an interface once per top-level collection.
    backend.interfaces.push_back(backend.interfaces.front());
    for (const auto& entry : backend.interfaces) {
        if (!entry->respond) entry->respond = EchoKeyboard();
    }

    manager.Rescan();
    std::vector<DeviceRecord*> listed;
    ASSERT_TRUE(manager.GetDeviceList(listed));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0]->devicePath, "/fake/keyboard");
    EXPECT_EQ(listed[1]->devicePath, "/fake/second");
    const DeviceRecord& record = *listed[1];
    EXPECT_EQ(record.index, 1);
    EXPECT_EQ(record.vendorId, kVendor);
    EXPECT_EQ(record.productId, kProduct);
    EXPECT_EQ(record.productString, kProductName);
    EXPECT_EQ(record.releaseNumber, 0x200);
    EXPECT_EQ(record.deviceType, 101);
    EXPECT_EQ(record.connectionKind, 0);
    EXPECT_EQ(record.status, 1);
    EXPECT_TRUE(record.text1.empty() && record.text3.empty());
    // Every listed interface was probed once with the info request; the others were not.
    EXPECT_EQ(keyboard->Written().size(), 1u);
    EXPECT_EQ(keyboard->Written()[0][2], CMD_GET_DEVICE_INFO);
    EXPECT_EQ(second->Written().size(), 1u);
    for (const auto& skipped : {small, shortOut, otherCase, otherProduct}) {
        EXPECT_TRUE(skipped->Written().empty());
    }
    EXPECT_EQ(manager.GetCurrentHandle(), listed[0]->handle.get());
}

// Without the udev rule every interface of the keyboard is refused; with it, the one that
// carries the key presses still is.
TEST_F(LinkTest, AKeyboardRefusedForLackOfAccessIsToldOnlyWhenNothingOpens)
{
    auto keys = backend.Add(kVendor, kProduct, kProductName, "/fake/keys");
    keys->opens = false;
    const struct {
        bool opens;   // the configuration interface
        bool denied;  // both interfaces refused for lack of access, else for another reason
        bool told;
    } cases[] = {{false, true, true}, {true, true, false}, {false, false, false}};
    for (const auto& c : cases) {
        keyboard->opens = c.opens;
        keyboard->denied = keys->denied = c.denied;
        manager.Rescan();
        std::vector<DeviceRecord*> listed;
        manager.GetDeviceList(listed);
        EXPECT_EQ(listed.size(), c.opens ? 1u : 0u);
        EXPECT_EQ(manager.AccessDenied(), c.told) << c.opens << c.denied;
    }
}

TEST(SupportedTable, NamesMatchExactlyAndAnEmptyNameMatchesAny)
{
    DeviceManager manager;
    manager.AddSupportedDevice(0x3B6D, 0xFD70, L"Morvessa Keyboard", 101, 0);
    manager.AddSupportedDevice(0x3B6D, 0xFD71, L"", 102, 0);
    manager.AddSupportedDevice(0x3B6D, 0xFD70, L"Other", 103, 0);
    struct Case {
        int product;
        const wchar_t* name;
        int type;
    };
    const Case cases[] = {
        {0xFD70, L"Morvessa Keyboard", 101},
        {0xFD70, L"morvessa keyboard", 0},
        {0xFD70, L"Other", 103},
        {0xFD71, L"anything", 102},
        {0xFD71, L"", 102},
        {0xFD72, L"Morvessa Keyboard", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(manager.GetDeviceType(0x3B6D, c.product, c.name), c.type) << c.name;
        EXPECT_EQ(manager.IsSupported(0x3B6D, c.product, c.name), c.type != 0) << c.name;
    }
}

TEST_F(LinkTest, LookupsFollowTheCurrentDeviceType)
{
    EXPECT_EQ(manager.GetConnectionKind(), -1);
    std::vector<DeviceRecord*> listed;
    EXPECT_FALSE(manager.GetDeviceList(listed));
    EXPECT_EQ(manager.FindDeviceValue(kVendor, kProduct), -1);

    auto other = backend.Add(kVendor, 0xAA01, L"Second", "/fake/type7");
    other->respond = EchoKeyboard();
    manager.AddSupportedDevice(kVendor, 0xAA01, L"", 107, 0);
    manager.Rescan();

    ASSERT_TRUE(manager.GetDeviceList(listed));
    EXPECT_EQ(listed.size(), 2u);  // type 0: every record
    manager.SetCurrentDeviceType(107);
    listed.clear();
    ASSERT_TRUE(manager.GetDeviceList(listed));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]->devicePath, "/fake/type7");
    EXPECT_EQ(manager.GetCurrentHandle(), listed[0]->handle.get());
    EXPECT_EQ(manager.GetConnectionKind(), 0);

    manager.SetCurrentDeviceType(999);  // no record of that type: still true, none copied
    listed.clear();
    EXPECT_TRUE(manager.GetDeviceList(listed));
    EXPECT_TRUE(listed.empty());
    EXPECT_EQ(manager.GetConnectionKind(), -1);

    EXPECT_EQ(manager.FindDeviceValue(kVendor, kProduct), 1);
    EXPECT_EQ(manager.FindDeviceValue(kVendor, kProduct, kProductName), 1);
    EXPECT_EQ(manager.FindDeviceValue(kVendor, kProduct, L"Second"), -1);
    EXPECT_EQ(manager.FindDeviceValue(kVendor, kProduct, L"", 1), -1);

    // Closing forgets the handles with the records.
    manager.CloseAllDevices();
    EXPECT_FALSE(manager.IsConnected());
    EXPECT_EQ(manager.GetCurrentHandle(), nullptr);
    EXPECT_FALSE(manager.GetDeviceList(listed));
}

}  // namespace
}  // namespace fake
