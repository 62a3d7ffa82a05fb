// The software and firmware checks the user's way: a click on the settings page queues the
// check, the worker asks the local HTTPS service and shows the outcome, the question is
// answered, and the software update downloads, checks and unpacks the package and leaves its
// installer to run at shutdown - here a stub that records it ran.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "UpdateFlowFixture.h"
#include "ZipMaker.h"
#include "app/Environment.h"
#include "app/MainWindowTestSupport.h"
#include "platform/mui/MComboBox.h"
#include "platform/os/FileSha256.h"
#include "platform/os/ShellOpen.h"
#include "platform/text/Utf8.h"
#include "update/PackageDigest.h"
#include "update/SelfInstall.h"
#include "update/UpdateState.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using updatetest::HttpsServer;
using updatetest::TrustTestCa;
using updatetest::ZipItem;
using updatetest::ZipMaker;

constexpr unsigned kSoftwareHint = 337;
constexpr unsigned kFirmwareHint = 340;
constexpr const char* kServerVersion = "1.0.0.3";
constexpr const char* kPackage = "software-upgrade/Tolvenic-Driver-1.0.0.3.zip";

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SoftwareUpdateFlowTest : public updatetest::UpdateFlowFixture {
protected:
    void SetUp() override
    {
        UpdateFlowFixture::SetUp();
        // An installation made by the user: <prefix>/bin/Tolvenic and <prefix>/share/tolvenic.
        prefix_ = fs::path(text::WideToUtf8(GetDataFolder())).parent_path() / "prefix";
        fs::remove_all(prefix_);
        fs::create_directories(prefix_ / "bin");
        fs::create_directories(prefix_ / "share");
        std::ofstream(prefix_ / "bin" / "Tolvenic") << "old program";
        fs::copy(fs::path(std::getenv("TV_SOURCE_DIR")) / "data", prefix_ / "share" / "tolvenic",
                 fs::copy_options::recursive);
        SetModuleFolder(text::Utf8ToWide((prefix_ / "share" / "tolvenic").string()));
        record_ = prefix_ / "installer-ran";
        os::SetShellOpenHandler([this](const std::wstring& target) {
            opened_.push_back(target);
            return true;
        });
    }

    void TearDown() override
    {
        os::SetShellOpenHandler({});
        UpdateFlowFixture::TearDown();
        std::error_code ec;
        fs::remove_all(prefix_, ec);
    }

    // The service offers version 1.0.0.3 in a package whose installer records its arguments
    // (or in the package `write` makes at the path given).
    void PublishPackage(bool withDigest, bool tamperedDigest = false,
                        const std::function<void(const fs::path&)>& write = {})
    {
        server_->Put("software-upgrade/version", std::string(kServerVersion) + "\n");
        const fs::path zip = server_->Root() / kPackage;
        fs::create_directories(zip.parent_path());
        fs::remove(zip);
        if (write) {
            write(zip);
        } else {
            ZipMaker maker(zip.string());
            ASSERT_TRUE(maker.Add({"Tolvenic-Driver-1.0.0.3", InstallerScript(), 0100755}));
            ASSERT_TRUE(maker.Add({"bin/Tolvenic", "new program", 0100755}));
        }
        fs::remove(server_->Root() / (std::string(kPackage) + ".sha256"));
        if (withDigest) {
            std::string digest = *os::FileSha256(zip.wstring());
            if (tamperedDigest) {
                digest[0] = digest[0] == '0' ? '1' : '0';
            }
            server_->Put(std::string(kPackage) + ".sha256",
                         digest + "  Tolvenic-Driver-1.0.0.3.zip\n");
        }
    }

    std::string InstallerScript() const
    {
        return "#!/bin/sh\nprintf '%s\\n' \"$@\" \"$PWD\" > '" + record_.string() +
               ".tmp' && mv '" + record_.string() + ".tmp' '" + record_.string() + "'\n";
    }

    std::wstring Hint(unsigned id) const { return dlg->GetControl(id)->GetTitle(); }

    fs::path prefix_;
    fs::path record_;
    std::vector<std::wstring> opened_;
};

TEST_F(SoftwareUpdateFlowTest, ClickDownloadUnpackAndInstallAtShutdown)
{
    PublishPackage(true);
    CreateWindow();
    ASSERT_TRUE(ClickAndCheck(MainId::kSetCheckSoftware, QCMD_CHECK_SOFTWARE));
    EXPECT_EQ(Hint(kSoftwareHint), L"New version found:v1.0.0.3");
    EXPECT_EQ(dlg->updates.softwareState.load(), UPDATE_AVAILABLE);

    // The posted notification asks; a yes queues the installation.
    AnswerNextBox(1);
    ASSERT_TRUE(WaitFor([this] { return !dlg->worker.queue.Empty(); }));
    EXPECT_EQ(asked_, std::vector<std::wstring>{L"New version found:v1.0.0.3, update now?"});
    EXPECT_EQ(TakeQueue(), std::vector<int>{QCMD_INSTALL_SOFTWARE});
    dlg->QueueCommand(QCMD_INSTALL_SOFTWARE);
    dlg->Run();

    ASSERT_TRUE(HasPendingInstaller());
    const fs::path temp = fs::path(text::WideToUtf8(GetDataFolder())) / "temp";
    EXPECT_FALSE(fs::exists(temp / "Tolvenic-Driver-1.0.0.3.zip"));  // unpacked, then removed
    EXPECT_EQ(Read(temp / "Tolvenic-Driver-1.0.0.3" / "bin" / "Tolvenic"), "new program");
    EXPECT_FALSE(fs::exists(record_));  // nothing runs while the program does

    // At shutdown the installer runs with the prefix the program was installed in.
    dlg.reset();
    ASSERT_TRUE(RunPendingInstaller());
    ASSERT_TRUE(WaitFor([this] { return fs::exists(record_); }, 30s));
    EXPECT_EQ(Read(record_), "--prefix\n" + prefix_.string() + "\n" +
                                 (temp / "Tolvenic-Driver-1.0.0.3").string() + "\n");
    EXPECT_FALSE(HasPendingInstaller());
}

TEST_F(SoftwareUpdateFlowTest, APackageThatFailsItsChecksIsRefusedAndTheUserToldWhy)
{
    const auto zipOf = [](std::vector<ZipItem> items) {
        return [items](const fs::path& zip) {
            ZipMaker maker(zip.string());
            for (const ZipItem& item : items) ASSERT_TRUE(maker.Add(item)) << item.name;
        };
    };
    const std::string installer = InstallerScript();
    const struct {
        const char* what;
        bool digest;
        bool tampered;
        std::function<void(const fs::path&)> write;
        const char* version;
        bool unreachable;
        const wchar_t* told;  // nullptr: installed
    } cases[] = {
        {"the published digest does not match",
         true,
         true,
         {},
         kServerVersion,
         false,
         L"The downloaded package does not match its published checksum. Nothing was "
         L"installed."},
        {"the package of that version is missing",
         true,
         false,
         {},
         "1.0.0.4",
         false,
         L"The update package could not be downloaded. Try again later."},
        {"the service is gone when the package is fetched",
         true,
         false,
         {},
         kServerVersion,
         true,
         L"The update service could not be reached. Check the connection and try again."},
        {"an entry leaves the folder", true, false,
         zipOf({{"Tolvenic-Driver-1.0.0.3", installer, 0100755}, {"../../evil", "evil"}}),
         kServerVersion, false, L"The update package is damaged or unsafe. Nothing was installed."},
        {"600 MiB in entries over one data", true, false,
         [](const fs::path& zip) {
             ASSERT_TRUE(
                 updatetest::WriteOverlappingZip(zip.string(), std::string(1 << 20, 'z'), 600));
         },
         kServerVersion, false, L"The update package is damaged or unsafe. Nothing was installed."},
        {"the installer cannot run", true, false,
         zipOf({{"Tolvenic-Driver-1.0.0.3", installer, 0100644}}), kServerVersion, false,
         L"The update package holds no installer. Nothing was installed."},
        // Last: its unpacked package stays for the installer.
        {"no digest published: the package is taken",
         false,
         false,
         {},
         kServerVersion,
         false,
         nullptr},
    };
    const fs::path temp = fs::path(text::WideToUtf8(GetDataFolder())) / "temp";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PublishPackage(c.digest, c.tampered, c.write);
        server_->Put("software-upgrade/version", c.version);
        CreateWindow();
        ASSERT_TRUE(ClickAndCheck(MainId::kSetSoftwareVersion, QCMD_CHECK_SOFTWARE));
        asked_.clear();
        AnswerBoxes({1, 1});  // the offer, the refusal
        ASSERT_TRUE(WaitFor([this] { return !dlg->worker.queue.Empty(); }));
        if (c.unreachable) {
            dlg->info.softwareUpdateBase = L"https://127.0.0.1:1/files/software-upgrade/";
        }
        dlg->Run();
        EXPECT_EQ(HasPendingInstaller(), c.told == nullptr);
        if (c.told != nullptr) {
            ASSERT_TRUE(WaitFor([this] { return asked_.size() == 2; }));
            EXPECT_EQ(asked_[1], c.told);
            EXPECT_FALSE(fs::exists(temp / "Tolvenic-Driver-1.0.0.3"));
            EXPECT_FALSE(fs::exists(temp.parent_path() / "evil"));
        }
        Pump(50ms);
        EXPECT_EQ(asked_.size(), c.told == nullptr ? 1u : 2u);
        SetPendingInstaller("", "");
        dlg.reset();
    }
    EXPECT_FALSE(fs::exists(record_));
}

TEST_F(SoftwareUpdateFlowTest, AKeyboardSettingGoesOutWhileTheServiceIsSilent)
{
    // The service takes 4 s before it answers the check.
    server_->Put("software-upgrade/version", "1.0.0.2\n");
    setenv("TOLVENIC_UPDATE_BASE_URL", text::WideToUtf8(server_->Url("pause/4000/files/")).c_str(),
           1);
    Plug();
    CreateWindow(false);  // the worker on its own thread
    // Loaded from the keyboard.
    ASSERT_TRUE(WaitFor([this] { return TabsShown() && dlg->worker.queue.Empty(); }));
    AnswerNextBox(1);
    const auto clicked = std::chrono::steady_clock::now();
    ASSERT_EQ(dlg->OnMessage(MainId::kSetCheckSoftware, MUI::kNotifyClick, 0), 1);
    Pump(300ms);  // the worker waits on the service
    ASSERT_EQ(keyboard->Settings()[4] & 0x0F, 1);
    dlg->GetControlAs<MUI::MComboBox>(MainId::kReportRateCombo)->PickItem(3);  // data 4
    const auto picked = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitFor([this] { return (keyboard->Settings()[4] & 0x0F) == 4; }, 3s));
    const auto written = std::chrono::steady_clock::now();
    // About a second (the transfer's break while the service is silent), not the 4 s of the check.
    EXPECT_LT(written - picked, 2000ms);
    EXPECT_TRUE(asked_.empty()) << "the check was still waiting";
    // The check then ends as usual.
    ASSERT_TRUE(WaitFor([this] { return !asked_.empty(); }, 30s));
    EXPECT_EQ(asked_, std::vector<std::wstring>{L"You already have the latest version."});
    EXPECT_GE(std::chrono::steady_clock::now() - clicked, 4s);
}

TEST_F(SoftwareUpdateFlowTest, ADistributionsProgramOnlyOpensTheDownloadPage)
{
    PublishPackage(true);
    // Run from the build tree (no install prefix).
    SetModuleFolder(text::Utf8ToWide((fs::path(std::getenv("TV_SOURCE_DIR")) / "data").string()));
    CreateWindow();
    ASSERT_TRUE(ClickAndCheck(MainId::kSetCheckSoftware, QCMD_CHECK_SOFTWARE));
    AnswerNextBox(1);
    ASSERT_TRUE(WaitFor([this] { return !dlg->worker.queue.Empty(); }));
    dlg->Run();
    ASSERT_TRUE(WaitFor([this] { return !opened_.empty(); }));
    EXPECT_EQ(opened_, std::vector<std::wstring>{MainLink::kDownloadsPage});
    EXPECT_FALSE(HasPendingInstaller());
    EXPECT_FALSE(IsUserInstall("/usr"));
}

TEST_F(SoftwareUpdateFlowTest, NoOfferForTheSameVersionABadReplyOrAMissingFile)
{
    constexpr const wchar_t* kUnreachable =
        L"The update service could not be reached. Check the connection and try again.";
    const struct {
        const char* reply;  // nullptr: no version file
        bool serviceUp;
        const wchar_t* told;
        int state;
    } cases[] = {
        {"1.0.0.2\n", true, L"You already have the latest version.", UPDATE_NONE},
        {"<html>Not here</html>", true, kUnreachable, 0},
        {"1.0.0.00003", true, kUnreachable, 0},  // 11 characters
        {nullptr, true, kUnreachable, 0},        // 404
        {"1.0.0.3\n", false, kUnreachable, 0},   // nothing listens at the service's port
    };
    for (const auto& c : cases) {
        std::error_code ec;
        fs::remove(server_->Root() / "software-upgrade" / "version", ec);
        if (c.reply != nullptr) {
            server_->Put("software-upgrade/version", c.reply);
        }
        CreateWindow();
        if (!c.serviceUp) {
            dlg->info.softwareUpdateBase = L"https://127.0.0.1:1/files/software-upgrade/";
        }
        const std::wstring before = Hint(kSoftwareHint);
        asked_.clear();
        AnswerNextBox(1);
        ASSERT_TRUE(ClickAndCheck(MainId::kSetCheckSoftware, QCMD_CHECK_SOFTWARE));
        ASSERT_TRUE(WaitFor([this] { return !asked_.empty(); }));
        Pump(200ms);
        EXPECT_EQ(asked_, std::vector<std::wstring>{c.told}) << (c.reply ? c.reply : "404");
        if (c.state == UPDATE_NONE) {
            EXPECT_EQ(Hint(kSoftwareHint), L"You already have the latest version.");
        } else {
            EXPECT_EQ(Hint(kSoftwareHint), before) << (c.reply ? c.reply : "404");
        }
        EXPECT_EQ(dlg->updates.softwareState.load(), c.state);
        EXPECT_TRUE(dlg->worker.queue.Empty());
        dlg.reset();
    }
}

TEST_F(SoftwareUpdateFlowTest, FirmwareCheckComparesTheKeyboardsReleaseNumber)
{
    // The virtual keyboard's release number is 0x105.
    const struct {
        const char* server;
        bool keyboard;
        int state;
    } cases[] = {
        {"105", true, UPDATE_NONE},
        {"106", true, UPDATE_AVAILABLE},
        {"1.0.6", true, UPDATE_AVAILABLE},  // a different number of parts
        {"106", false, 0},                  // no keyboard: nothing to compare
        {nullptr, true, 0},                 // no version file: the failed check is told
    };
    for (const auto& c : cases) {
        std::error_code ec;
        fs::remove(server_->Root() / "firmware-upgrade" / "version", ec);
        if (c.server != nullptr) {
            server_->Put("firmware-upgrade/version", c.server);
        }
        if (c.keyboard) {
            Plug();
        }
        CreateWindow();
        if (c.keyboard) {
            dlg->QueueCommand(QCMD_FIRST_CONNECT);
            ASSERT_TRUE(Drain());
        }
        const bool told = c.keyboard;
        if (told) {
            AnswerNextBox(2);  // no: nothing is queued
        }
        ASSERT_TRUE(ClickAndCheck(MainId::kSetFirmwareVersion, QCMD_CHECK_FIRMWARE));
        Pump(200ms);
        const std::string server = c.server != nullptr ? c.server : "404";
        EXPECT_EQ(dlg->updates.firmwareState.load(), c.state) << server;
        if (c.state == UPDATE_AVAILABLE) {
            EXPECT_EQ(Hint(kFirmwareHint), L"New version found:v" + text::Utf8ToWide(server));
        }
        if (told) {
            ASSERT_TRUE(WaitFor([this] { return !asked_.empty(); })) << server;
            if (c.server == nullptr) {
                EXPECT_EQ(asked_, std::vector<std::wstring>{L"The update service could not be "
                                                            L"reached. Check the connection and "
                                                            L"try again."});
            }
        }
        EXPECT_TRUE(dlg->worker.queue.Empty());
        asked_.clear();
        dlg.reset();
        Unplug();
    }
}

}  // namespace
