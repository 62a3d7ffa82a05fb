// The firmware jobs the user's way: the offer (after a check, for a bridge, for a keyboard
// waiting in its boot loader) is answered, the job runs under the progress window, downloads
// and unpacks the package from the local HTTPS service and flashes the image into the virtual
// keyboard's boot loader or a fake CH375 bridge, and the outcome is told in a message box.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "FirmwareImages.h"
#include "UpdateFlowFixture.h"
#include "app/Environment.h"
#include "app/MainWindowControls.h"
#include "platform/text/Utf8.h"
#include "update/UpdateState.h"
#include "update/UpdateTipDlg.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using updatetest::Bytes;
using updatetest::Pattern;

constexpr const wchar_t* kComplete = L"Upgrade complete";
constexpr const wchar_t* kBootLoaderOffer =
    L"A keyboard waiting in its boot loader was detected. Restore its firmware now?";
constexpr const wchar_t* kBridgeOffer =
    L"A keyboard upgrade adapter was detected. Update the keyboard firmware now?";

class FirmwareUpgradeFlowTest : public updatetest::UpdateFlowFixture {
protected:
    // A keyboard plugged in and connected, the window created.
    void Connect(vkb::KeyboardOptions options = {})
    {
        keyboard = std::make_shared<vkb::VirtualKeyboard>(options);
        Plug();
        CreateWindow();
        dlg->QueueCommand(QCMD_FIRST_CONNECT);
        ASSERT_TRUE(Drain());
    }

    // When the progress window shows, the job it waits for runs; then `next`. (Connection
    // notices and probes queued meanwhile are left out.)
    void RunJobUnderTip(int code, std::function<void()> next = {})
    {
        WhenModal(L"UpdateTipDlg", [this, code, next](MUI::MWindow& tip) {
            // Passed over by the next job's wait while it ends.
            tip.EnableWindow(false);
            const std::vector<int> queued = TakeQueue();
            EXPECT_NE(std::find(queued.begin(), queued.end(), code), queued.end()) << code;
            dlg->QueueCommand(code);
            dlg->Run();
            if (next) next();
        });
    }

    // The check finds a newer firmware and the offer is accepted.
    void AcceptOfferedUpgrade(std::function<void()> next = {})
    {
        RunJobUnderTip(QCMD_UPGRADE_FIRMWARE, std::move(next));
        ASSERT_TRUE(ClickAndCheck(MainId::kSetCheckFirmware, QCMD_CHECK_FIRMWARE));
    }

    bool Asked(size_t count)
    {
        return WaitFor([this, count] { return asked_.size() >= count; }, 60s);
    }

    // As Asked, with the worker's step run meanwhile for the boot-mode probes the window queues
    // (after a failure is told, or when a boot loader arrives); other codes stay queued.
    bool AskedWhileProbing(size_t count)
    {
        return WaitFor(
            [this, count] {
                for (const int code : TakeQueue()) {
                    if (code == QCMD_PROBE_BOOT_MODE) {
                        dlg->ProbeBootMode();
                    } else {
                        dlg->worker.queue.Push(code);
                    }
                }
                return asked_.size() >= count;
            },
            60s);
    }

    // The first bridge holds the image, padded to a multiple of 4, and was told the end.
    void ExpectFlashedOverTheBridge(const Bytes& image)
    {
        const fakeusb::Bridge bridge = bridges.Snapshot(0);
        Bytes padded = image;
        padded.resize((image.size() + 3) / 4 * 4, 0);
        EXPECT_EQ(Bytes(bridge.flash.begin(),
                        bridge.flash.begin() + static_cast<std::ptrdiff_t>(padded.size())),
                  padded);
        EXPECT_TRUE(bridge.ended);
    }

    bool WaitForMode(vkb::VirtualKeyboard::Mode mode)
    {
        return WaitFor([this, mode] {
            keyboard->Poll();
            return keyboard->CurrentMode() == mode;
        });
    }
};

TEST_F(FirmwareUpgradeFlowTest, CheckFlashOverTheBootLoaderThenCheckAgainOffersNothing)
{
    const Bytes image = Pattern(64);
    updatetest::PublishFirmware(*server_, "", "106", image);
    Connect();
    AnswerBoxes({1, 1});  // the offer, the outcome
    AcceptOfferedUpgrade();
    ASSERT_TRUE(Asked(2));
    EXPECT_EQ(asked_[1], kComplete);
    EXPECT_EQ(keyboard->EnterBootRequests(), 1);
    EXPECT_EQ(keyboard->BootImage(), image);
    EXPECT_EQ(keyboard->Flashes(), 1);
    EXPECT_EQ(keyboard->Errors(), std::vector<std::string>{});
    EXPECT_FALSE(dlg->info.upgradeRunning.load());
    EXPECT_FALSE(fs::exists(text::WideToUtf8(GetDataFolder()) + "temp/firmware-106.bin"));
    EXPECT_FALSE(fs::exists(text::WideToUtf8(GetDataFolder()) + "temp/firmware-106.zip"));

    // The keyboard runs release 0x106 now: the same check offers nothing.
    ASSERT_TRUE(WaitForMode(vkb::VirtualKeyboard::Mode::Running));
    dlg->QueueCommand(QCMD_RECONNECT);
    ASSERT_TRUE(Drain());
    AnswerBoxes({1});
    ASSERT_TRUE(ClickAndCheck(MainId::kSetCheckFirmware, QCMD_CHECK_FIRMWARE));
    ASSERT_TRUE(Asked(3));
    EXPECT_EQ(asked_[2], L"You already have the latest version.");
    EXPECT_EQ(dlg->updates.firmwareState.load(), UPDATE_NONE);
}

TEST_F(FirmwareUpgradeFlowTest, TheProgressWindowShowsTheUpgradersPercentAndState)
{
    Connect();
    TakeQueue();
    bool shown = false;
    WhenModal(L"UpdateTipDlg", [this, &shown](MUI::MWindow& window) {
        auto& tip = dynamic_cast<UpdateTipDlg&>(window);
        shown = tip.label->GetTitle() == L"Updating";
        EXPECT_EQ(dlg->SendMessage(WM_UPGRADE_PROGRESS, 40, 5), 1);  // erased
        dlg->OnTimer(kUpgradeProgressTimer);
        shown = shown && tip.label->GetTitle() == L"Writing firmware: 1%";
        EXPECT_EQ(TakeQueue(), std::vector<int>{QCMD_UPGRADE_FIRMWARE_ALT});
        dlg->QueueCommand(QCMD_UPGRADE_FIRMWARE_ALT);
        dlg->Run();
    });
    AnswerBoxes({1, 1});
    dlg->OnUpdateNotify(99, 0);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dlg->popups.updateTipDlg->IsModalRunning());
    ASSERT_TRUE(Asked(2));
    // No version on the service: nothing is guessed, nothing flashed.
    EXPECT_EQ(asked_[1], L"Firmware file missing or damaged");
}

TEST_F(FirmwareUpgradeFlowTest, FaultsOfTheBootLoaderAreReportedAndTheKeyboardRecovers)
{
    const Bytes image = Pattern(200, 9);
    updatetest::PublishFirmware(*server_, "", "106", image);
    const struct {
        const char* fault;  // nullptr: the keyboard restarts late
        const wchar_t* told;
    } cases[] = {
        {"fail-write=0x80", L"Writing failed"},
        {"no-answer=0x80:1", L"Writing failed"},
        {"no-answer=0x83", L"Could not finish the upgrade"},
        {nullptr,
         L"The keyboard's boot loader did not answer. Reconnect the keyboard and try "
         L"again."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault ? c.fault : "restart after 2500 ms");
        vkb::KeyboardOptions options;
        // Late: well after the program's second for the restart, also on a loaded machine.
        options.restartDelayMs = c.fault ? 100 : 2500;
        Connect(options);
        if (c.fault) keyboard->AddFault(*vkb::ParseFault(c.fault));
        asked_.clear();
        // The offer, the failure, the recovery offered for the keyboard left in its boot loader
        // (at the job's end, or when it arrives late), and the recovery's outcome.
        AnswerBoxes({1, 1, 1, 1});
        AcceptOfferedUpgrade([this] {
            EXPECT_EQ(keyboard->Flashes(), 0);
            EXPECT_FALSE(dlg->info.upgradeRunning.load());
            keyboard->ClearFaults();
            RunJobUnderTip(QCMD_RECOVER_FIRMWARE);
        });
        ASSERT_TRUE(AskedWhileProbing(4));
        EXPECT_EQ(asked_[1], c.told);
        EXPECT_EQ(asked_[2], kBootLoaderOffer);
        EXPECT_EQ(asked_[3], kComplete);
        EXPECT_EQ(keyboard->BootImage(), image);
        EXPECT_EQ(keyboard->Flashes(), 1);
        EXPECT_EQ(keyboard->Errors(), std::vector<std::string>{});
        EXPECT_TRUE(dlg->IsWindowEnabled());
        dlg.reset();
        Unplug();
    }
}

TEST_F(FirmwareUpgradeFlowTest, LateAnswersAndAnUnansweredFinishStillCompleteTheUpgrade)
{
    const Bytes image = Pattern(200, 7);
    updatetest::PublishFirmware(*server_, "", "106", image);
    const char* faults[] = {
        "delay=300:0x80:1",  // one program chunk's answer
        "delay=300:0x82:1",  // one verify chunk's answer
        "no-answer=0x84",    // the finish carried out, its answer lost in the restart
    };
    for (const char* fault : faults) {
        SCOPED_TRACE(fault);
        Connect();
        keyboard->AddFault(*vkb::ParseFault(fault));
        asked_.clear();
        AnswerBoxes({1, 1});
        AcceptOfferedUpgrade();
        ASSERT_TRUE(Asked(2));
        EXPECT_EQ(asked_[1], kComplete);
        EXPECT_EQ(keyboard->BootImage(), image);
        EXPECT_EQ(keyboard->Flashes(), 1);
        EXPECT_EQ(keyboard->Errors(), std::vector<std::string>{});
        EXPECT_TRUE(WaitForMode(vkb::VirtualKeyboard::Mode::Running));
        dlg.reset();
        Unplug();
    }
}

TEST_F(FirmwareUpgradeFlowTest, AnImageNoBootLoaderTakesIsRefusedBeforeTheKeyboardRestarts)
{
    for (const size_t length : {size_t{0}, size_t{8}}) {
        SCOPED_TRACE(length);
        updatetest::PublishFirmware(*server_, "", "106", Pattern(length));
        Connect();
        asked_.clear();
        AnswerBoxes({1, 1});
        AcceptOfferedUpgrade();
        ASSERT_TRUE(Asked(2));
        EXPECT_EQ(asked_[1], L"Firmware file missing or damaged");
        EXPECT_EQ(keyboard->EnterBootRequests(), 0);
        keyboard->Poll();
        EXPECT_EQ(keyboard->CurrentMode(), vkb::VirtualKeyboard::Mode::Running);
        EXPECT_EQ(keyboard->Flashes(), 0);
        EXPECT_FALSE(fs::exists(text::WideToUtf8(GetDataFolder()) + "temp/firmware-106.bin"));
        dlg.reset();
        Unplug();
    }
}

TEST_F(FirmwareUpgradeFlowTest, ARecoveryWithoutTheServiceSaysItCouldNotBeReached)
{
    bridges.Add(0x4348, 0x55E0, "/dev/bus/usb/003/004");
    CreateWindow();
    TakeQueue();
    dlg->info.firmwareUpdateBase = L"https://127.0.0.1:1/files/firmware-upgrade/";
    AnswerBoxes({1, 1});
    RunJobUnderTip(QCMD_UPGRADE_FIRMWARE_ALT);
    dlg->OnUpdateNotify(99, 0);
    ASSERT_TRUE(Asked(2));
    EXPECT_EQ(asked_[0], kBridgeOffer);
    EXPECT_EQ(asked_[1],
              L"The update service could not be reached. Check the connection and try again.");
    EXPECT_FALSE(bridges.Snapshot(0).erased);
}

TEST_F(FirmwareUpgradeFlowTest, ABridgePluggedInBeforeTheStartIsOfferedAndFlashed)
{
    const Bytes image = Pattern(61, 4);
    updatetest::PublishFirmware(*server_, "", "106", image);
    bridges.Add(0x4348, 0x55E0, "/dev/bus/usb/003/004");
    CreateWindow();
    AnswerBoxes({1, 1});
    RunJobUnderTip(QCMD_UPGRADE_FIRMWARE_ALT);
    ASSERT_TRUE(Drain());  // the window's first connection, and the probe after it
    ASSERT_TRUE(Asked(2));
    EXPECT_EQ(asked_[0], kBridgeOffer);
    EXPECT_EQ(asked_[1], kComplete);
    ExpectFlashedOverTheBridge(image);
}

TEST_F(FirmwareUpgradeFlowTest, AKeyboardInItsBootLoaderAtStartIsRestoredFromItsModelsFolder)
{
    const Bytes image = Pattern(100, 5);
    updatetest::PublishFirmware(*server_, "qx71_max/", "107", image);
    vkb::KeyboardOptions options;
    options.startInBootLoader = true;
    options.bootProductId = 0xFF36;
    keyboard = std::make_shared<vkb::VirtualKeyboard>(options);
    Plug();
    CreateWindow();
    AnswerBoxes({1, 1});
    RunJobUnderTip(QCMD_RECOVER_FIRMWARE);
    dlg->QueueCommand(QCMD_FIRST_CONNECT);
    ASSERT_TRUE(Drain());
    ASSERT_TRUE(Asked(2));
    EXPECT_EQ(asked_[0], kBootLoaderOffer);
    EXPECT_EQ(asked_[1], kComplete);
    EXPECT_EQ(dlg->model.bootProductId, 0xFF36);
    EXPECT_EQ(dlg->updates.modelFolder, L"qx71_max");
    EXPECT_EQ(keyboard->BootImage(), image);
    EXPECT_EQ(keyboard->Flashes(), 1);
    EXPECT_EQ(keyboard->Errors(), std::vector<std::string>{});
}

TEST_F(FirmwareUpgradeFlowTest, BridgeRecoveryTellsAMissingBridgeAndFlashesAPresentOne)
{
    const Bytes image = Pattern(61);
    updatetest::PublishFirmware(*server_, "", "106", image);
    CreateWindow();
    TakeQueue();
    AnswerBoxes({1, 1});
    RunJobUnderTip(QCMD_UPGRADE_FIRMWARE_ALT);
    dlg->OnUpdateNotify(99, 0);
    ASSERT_TRUE(Asked(2));
    EXPECT_EQ(asked_[1], L"No keyboard upgrade adapter was found. Connect it and try again.");

    bridges.Add(0x4348, 0x55E0, "/dev/bus/usb/003/004");
    AnswerBoxes({1, 1});
    RunJobUnderTip(QCMD_UPGRADE_FIRMWARE_ALT);
    dlg->OnUpdateNotify(99, 0);
    ASSERT_TRUE(Asked(4));
    EXPECT_EQ(asked_[2], kBridgeOffer);
    EXPECT_EQ(asked_[3], kComplete);
    ExpectFlashedOverTheBridge(image);
}

TEST_F(FirmwareUpgradeFlowTest, ABridgeThatArrivesIsOfferedUnlessAnUpgradeRuns)
{
    CreateWindow();
    dlg->QueueCommand(QCMD_FIRST_CONNECT);
    ASSERT_TRUE(Drain());
    bridges.Add(0x4348, 0x55E0, "/dev/bus/usb/003/004");
    // Removal pending (1) is no event the bridge is looked for on.
    ASSERT_TRUE(bridges.SendNotify(1));
    dlg->info.upgradeRunning = true;
    ASSERT_TRUE(bridges.SendNotify(usb::Ch375Library::kEventArrived));
    Pump(100ms);
    EXPECT_TRUE(asked_.empty());
    dlg->info.upgradeRunning = false;
    AnswerBoxes({2});
    ASSERT_TRUE(bridges.SendNotify(usb::Ch375Library::kEventArrived));
    ASSERT_TRUE(Asked(1));
    EXPECT_EQ(asked_[0], kBridgeOffer);
    Pump(50ms);
    EXPECT_EQ(asked_.size(), 1u);
    EXPECT_TRUE(dlg->worker.queue.Empty());
}

}  // namespace

namespace {

TEST_F(FirmwareUpgradeFlowTest, ABootLoaderThatArrivesIsOfferedUnlessAnUpgradeRuns)
{
    CreateWindow();
    dlg->QueueCommand(QCMD_FIRST_CONNECT);
    ASSERT_TRUE(Drain());
    vkb::KeyboardOptions options;
    options.startInBootLoader = true;
    options.bootProductId = 0xFF23;
    const auto boot = std::make_shared<vkb::VirtualKeyboard>(options);
    const auto running = std::make_shared<vkb::VirtualKeyboard>();
    const auto queued = [this](int code) {
        return WaitFor([this, code] {
            const std::vector<int> codes = TakeQueue();
            return std::find(codes.begin(), codes.end(), code) != codes.end();
        });
    };

    // During a firmware job its own keyboard's boot loader comes and goes unasked about; the
    // running keyboard plugged after it shows that its arrival was handled.
    dlg->info.upgradeRunning = true;
    backend.Plug(boot);
    backend.Plug(running);
    ASSERT_TRUE(queued(QCMD_PROBE_ARRIVAL));
    EXPECT_TRUE(dlg->worker.queue.Empty());
    backend.Unplug(boot);
    backend.Unplug(running);
    dlg->info.upgradeRunning = false;

    backend.Plug(boot);
    ASSERT_TRUE(queued(QCMD_PROBE_BOOT_MODE));
    AnswerBoxes({2});
    dlg->QueueCommand(QCMD_PROBE_BOOT_MODE);
    dlg->Run();
    ASSERT_TRUE(Asked(1));
    EXPECT_EQ(asked_[0], kBootLoaderOffer);
    EXPECT_EQ(dlg->model.bootProductId, 0xFF23);
    EXPECT_TRUE(dlg->worker.queue.Empty());
}

}  // namespace
