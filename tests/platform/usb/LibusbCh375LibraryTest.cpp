// The libusb bridge library on a machine without a CH375 bridge: nothing opens, nothing is
// named, and the hot-plug watch starts and stops cleanly.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/usb/Ch375Library.h"

namespace {

TEST(LibusbCh375Library, WithoutABridgeNothingOpensAndTheWatchStops)
{
    auto library = usb::MakeLibusbCh375Library();
    for (const int index : {-1, 0, 15, 16}) {
        EXPECT_FALSE(library->OpenDevice(index)) << index;
        EXPECT_EQ(library->GetUsbId(index), 0u) << index;
        EXPECT_EQ(library->GetDeviceName(index), "") << index;
        library->CloseDevice(index);
    }
    EXPECT_EQ(library->OpenByName(""), nullptr);
    EXPECT_EQ(library->OpenByName("/dev/bus/usb/999/999"), nullptr);

    std::atomic<int> events{0};
    // Watching may be refused where libusb cannot watch; stopping always succeeds.
    library->SetDeviceNotify([&events](int) { ++events; });
    EXPECT_TRUE(library->SetDeviceNotify({}));
    EXPECT_EQ(events.load(), 0);
}

TEST(LibusbCh375Library, TheInstalledLibraryReplacesLibusbUntilRemoved)
{
    auto replacement = usb::MakeLibusbCh375Library();
    usb::SetCh375Library(replacement.get());
    EXPECT_EQ(&usb::Ch375(), replacement.get());
    usb::SetCh375Library(nullptr);
    EXPECT_NE(&usb::Ch375(), replacement.get());
}

}  // namespace
