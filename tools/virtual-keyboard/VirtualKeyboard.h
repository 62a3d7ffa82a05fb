// The keyboard's side of the configuration protocol: the interfaces a plugged keyboard shows,
// the answers to every request on its 65-byte configuration interface, the tables it keeps,
// the reports it sends unasked, and its HID boot loader as a second identity.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "BootLoader.h"
#include "Fault.h"
#include "KeyboardMemory.h"
#include "VirtualDevice.h"

namespace vkb {

struct KeyboardOptions {
    uint16_t vendorId = 0x3B6D;
    uint16_t productId = 0xFD70;
    uint16_t releaseNumber = 0x0105;
    std::wstring product = L"Morvessa Keyboard";
    // The answer to the device-info request: name, build date (as __DATE__ gives it), time.
    std::string infoText = "Morvessa QX71 Max,Mar 15 2024,10:30:00";
    // The interface the firmware upgrade sends its enter-boot report to.
    uint16_t bootEntryProductId = 0x9053;
    // The boot loader's identity.
    uint16_t bootProductId = 0xAF3E;
    uint16_t bootReleaseNumber = 0x0100;
    // The release number the keyboard shows after a finished flash.
    uint16_t flashedReleaseNumber = 0x0106;
    // The program chunk (0 the first) the boot loader refuses; -1 none.
    int refusedBootChunk = -1;
    std::wstring bootProduct = L"Morvessa Boot Loader";
    bool startInBootLoader = false;
    // Time between the request and the keyboard showing up as its other identity.
    int restartDelayMs = 100;
};

// One request the configuration interface received, with the batch state it met.
struct RequestRecord {
    std::vector<uint8_t> report;  // as written, report ID first
    bool inBatch = false;
    bool checksumOk = false;
    uint8_t Command() const { return report[2]; }
    uint8_t Length() const { return report[5]; }
    uint16_t Address() const { return static_cast<uint16_t>(report[6] | report[7] << 8); }
};

// A live-travel report: key index (the key's default layer-0 code is sent), readings.
struct TravelReport {
    size_t keyIndex = 0;
    uint16_t reading = 0;
    uint8_t calibration = 0;
    std::array<uint8_t, 3> digits{};
    uint16_t fullScale = 0;
    uint16_t reference1 = 0;
    uint16_t reference2 = 0;
};

class VirtualKeyboard : public VirtualDevice {
public:
    enum class Mode { Running, BootLoader };
    // Indexes of the running keyboard's interfaces; the boot loader shows one, index 0.
    enum Interface : size_t {
        kKeysInterface = 0,       // boot keyboard, 9-byte reports; no protocol
        kConfigInterface = 1,     // the configuration protocol, 65-byte reports
        kVendorInterface = 2,     // 64-byte reports; no protocol
        kBootEntryInterface = 3,  // takes the enter-boot report
    };
    static constexpr size_t kBootLoaderInterface = 0;

    explicit VirtualKeyboard(KeyboardOptions options = {});

    const KeyboardOptions& Options() const { return options_; }

    // The keyboard's tables, read or changed as a whole.
    KeyboardMemory Memory() const;
    void ModifyMemory(const std::function<void(KeyboardMemory&)>& change);
    std::array<uint8_t, 3> KeyEntry(size_t layer, size_t keyIndex) const;
    std::array<uint8_t, 8> KeyPerf(size_t keyIndex) const;
    std::vector<uint8_t> Settings() const;

    std::vector<RequestRecord> Requests() const;
    // Protocol faults met so far (bad checksum, range, reports on the wrong interface, ...).
    std::vector<std::string> Errors() const;
    void ClearLog();

    bool Calibrating() const;
    bool InBatch() const;
    int BatchesBegun() const;
    int BatchesEnded() const;
    int FactoryResets() const;
    int ActiveProfile() const;
    int ActiveLayer() const;

    void AddFault(const Fault& fault);
    void ClearFaults();
    // The configuration interface shows 64-byte reports (the keyboard re-enumerates).
    void SetShortReports(bool shortReports);

    // Reports sent unasked on the configuration interface; false when not running.
    bool SendTravel(const TravelReport& report);
    bool SwitchProfile(int layer, int profile);

    // Pulled out for ms, then plugged back in.
    void UnplugFor(int ms);

    Mode CurrentMode() const;
    void RestartInto(Mode mode);
    int EnterBootRequests() const;
    // The last image the boot loader received and the number of finished upgrades.
    std::vector<uint8_t> BootImage() const;
    int BootVerifyFailures() const;
    int Flashes() const;
    // The running keyboard's release number (the flashed one after a flash).
    uint16_t ReleaseNumber() const;
    // The boot loader refuses this program chunk (0 the first) from now on; -1 none.
    void RefuseBootChunk(int chunk);

    // Every piece of state as text lines "name value" (tables in hexadecimal).
    std::string DumpState() const;

protected:
    std::vector<InterfaceSpec> CurrentInterfaces() const override;
    int HandleWrite(size_t interfaceIndex, const uint8_t* data, size_t length) override;
    void Advance(Clock::time_point now) override;
    std::optional<Clock::time_point> NextTransition() const override;

private:
    int HandleConfig(const uint8_t* r, size_t length);
    int HandleBootEntry(const uint8_t* r, size_t length);
    int HandleBootLoader(const uint8_t* r, size_t length);
    // Fills the answer's data for a table command; false for commands without a table.
    bool TableFor(uint8_t command, std::vector<uint8_t>*& table, bool& write);
    void Answer(size_t interfaceIndex, uint8_t command, std::vector<uint8_t> answer);
    void Error(const std::string& text);

    const KeyboardOptions options_;
    KeyboardMemory memory_;
    FaultPlan faults_;
    std::vector<RequestRecord> requests_;
    std::vector<std::string> errors_;
    Mode mode_ = Mode::Running;
    bool shortReports_ = false;
    bool calibrating_ = false;
    bool inBatch_ = false;
    int batchesBegun_ = 0;
    int batchesEnded_ = 0;
    int factoryResets_ = 0;
    int activeProfile_ = 0;
    int activeLayer_ = 0;
    int enterBootRequests_ = 0;
    int flashes_ = 0;
    uint16_t releaseNumber_ = 0;
    int refusedBootChunk_ = -1;
    std::optional<Clock::time_point> restartAt_;
    Mode restartMode_ = Mode::Running;
    std::optional<Clock::time_point> replugAt_;
    BootLoader bootLoader_;
    std::vector<uint8_t> bootImage_;
};

}  // namespace vkb
