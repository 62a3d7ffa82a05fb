// The udev rule gives the user the upgrade's devices and nothing more: every line for the
// keyboard's vendor names its product and interface, the bridge's lines name both its ids.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

namespace {

std::string Value(const std::string& line, const std::string& key)
{
    const size_t at = line.find(key + "==\"");
    if (at == std::string::npos) return {};
    const size_t start = at + key.size() + 3;
    return line.substr(start, line.find('"', start) - start);
}

TEST(UdevRule, GrantsEachUpgradeDeviceByItsIdsAndInterface)
{
    std::ifstream rule(std::string(std::getenv("TV_SOURCE_DIR")) + "/data/udev/70-tolvenic.rules");
    ASSERT_TRUE(rule);
    std::set<std::string> keyboard;
    int bridgeLines = 0;
    for (std::string line; std::getline(rule, line);) {
        if (line.empty() || line[0] == '#' || line.find("uaccess") == std::string::npos) continue;
        const std::string vendor = Value(line, "ENV{ID_VENDOR_ID}") + Value(line, "ATTR{idVendor}");
        const std::string product =
            Value(line, "ENV{ID_MODEL_ID}") + Value(line, "ATTR{idProduct}");
        if (vendor == "3b6d") {
            const std::string interface = Value(line, "ENV{ID_USB_INTERFACE_NUM}");
            EXPECT_FALSE(interface.empty()) << line;
            keyboard.insert(product + ":" + interface);
        } else {
            EXPECT_EQ(vendor, "4348") << line;
            EXPECT_EQ(product, "55e0") << line;
            ++bridgeLines;
        }
    }
    EXPECT_EQ(keyboard, (std::set<std::string>{"fd70:01", "9053:03", "af3e:00", "ff36:00",
                                               "ff23:00", "ff72:00"}));
    EXPECT_EQ(bridgeLines, 2);  // its USB device for libusb and its HID interface
}

}  // namespace
