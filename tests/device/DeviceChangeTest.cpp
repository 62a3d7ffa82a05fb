#include "device/DeviceChange.h"

#include <gtest/gtest.h>

#include "LinkFixture.h"

namespace fake {
namespace {

const std::wstring kPattern = L"VID_3B6D&PID_FD70&MI_01";

TEST(DeviceChange, ArrivalsAndRemovalsOfTheKnownModels)
{
    struct Case {
        const char* what;
        bool arrived;
        std::wstring name;
        std::vector<DeviceChangeModel> models;
        bool probePasses;
        DeviceChangeAction action;
        int modelIndex;
    };
    const std::wstring lower = L"hid#vid_3b6d&pid_fd70&mi_01#/dev/hidraw4";
    const std::wstring other = L"HID#VID_3B6D&PID_FD70&MI_00#/dev/hidraw3";
    const Case cases[] = {
        {"lower-case arrival",
         true,
         lower,
         {{kPattern, false}},
         true,
         DeviceChangeAction::kArrived,
         0},
        {"64-byte arrival", true, lower, {{kPattern, false}}, false, DeviceChangeAction::kNone, 0},
        {"other interface", true, other, {{kPattern, false}}, true, DeviceChangeAction::kNone, -1},
        {"only the first matching model",
         true,
         lower,
         {{L"NOPE", false}, {kPattern, false}, {L"VID_3B6D", false}},
         true,
         DeviceChangeAction::kArrived,
         1},
        {"removal while connected",
         false,
         lower,
         {{L"NOPE", true}, {kPattern, true}},
         true,
         DeviceChangeAction::kRemoved,
         1},
        {"removal while not connected",
         false,
         lower,
         {{kPattern, false}},
         true,
         DeviceChangeAction::kNone,
         -1},
        {"removal of the first connected match",
         false,
         lower,
         {{kPattern, false}, {L"PID_FD70", true}},
         true,
         DeviceChangeAction::kRemoved,
         1},
        {"no models", true, lower, {}, true, DeviceChangeAction::kNone, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int probes = 0;
        std::wstring probed;
        const DeviceChangeResult result =
            FilterDeviceChange(c.arrived, c.name, c.models, [&](const std::wstring& name) {
                ++probes;
                probed = name;
                return c.probePasses;
            });
        EXPECT_EQ(result.action, c.action);
        EXPECT_EQ(result.modelIndex, c.modelIndex);
        EXPECT_EQ(probes, c.arrived && c.modelIndex >= 0 ? 1 : 0);
        if (probes > 0) {
            EXPECT_EQ(probed, c.name);  // the name as received
        }
    }
}

TEST(DeviceChange, ProbeNeedsExactly65ByteReports)
{
    Backend backend;
    auto full = backend.Add(kVendor, kProduct, kProductName, "/fake/full");
    auto small = backend.Add(kVendor, kProduct, kProductName, "/fake/small");
    small->inputLength = 64;
    auto large = backend.Add(kVendor, kProduct, kProductName, "/fake/large");
    large->outputLength = 1025;
    EXPECT_TRUE(ProbeHidInterface(hid::MakeInterfaceName(kVendor, kProduct, 1, "/fake/full")));
    EXPECT_TRUE(ProbeHidInterface(L"/fake/full"));
    EXPECT_FALSE(ProbeHidInterface(L"/fake/small"));
    EXPECT_FALSE(ProbeHidInterface(L"/fake/large"));
    EXPECT_FALSE(ProbeHidInterface(L"/fake/missing"));
    // The probe exchanges nothing.
    EXPECT_TRUE(full->Written().empty());

    // The default probe of the filter goes through the back end.
    const std::vector<DeviceChangeModel> models = {{kPattern, false}};
    EXPECT_EQ(
        FilterDeviceChange(true, hid::MakeInterfaceName(kVendor, kProduct, 1, "/fake/full"), models)
            .action,
        DeviceChangeAction::kArrived);
    EXPECT_EQ(FilterDeviceChange(true, hid::MakeInterfaceName(kVendor, kProduct, 1, "/fake/small"),
                                 models)
                  .action,
              DeviceChangeAction::kNone);
}

}  // namespace
}  // namespace fake
