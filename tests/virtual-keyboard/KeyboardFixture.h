// A plugged virtual keyboard behind the in-process back end, its configuration interface open.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "Requests.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace vkbtest {

class KeyboardFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend.Plug(keyboard);
        config = OpenInterface(backend, 0xFD70, 1);
        ASSERT_NE(config, nullptr);
    }

    vkb::VirtualHidBackend backend;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard = std::make_shared<vkb::VirtualKeyboard>();
    std::unique_ptr<hid::HidDevice> config;
};

}  // namespace vkbtest
