#include "VirtualKeyboard.h"

#include <cstdio>

namespace vkb {
namespace {

constexpr size_t kReportSize = 65;
constexpr size_t kDataMax = 56;
constexpr size_t kDataOffset = 9;
constexpr uint8_t kRequestMark = 0x55;
constexpr uint8_t kAnswerMark = 0xAA;
constexpr uint8_t kTravelKind = 0xA0;
constexpr uint8_t kProfileSwitchKind = 0xA1;

enum Command : uint8_t {
    kBeginBatch = 0x01,
    kEndBatch = 0x02,
    kGetDeviceInfo = 0x03,
    kReadSettings = 0x05,
    kWriteSettings = 0x06,
    kReadDefaultKeymap = 0x07,
    kReadKeymap = 0x08,
    kWriteKeymap = 0x09,
    kReadUserColors = 0x0A,
    kWriteUserColors = 0x0B,
    kWriteMacros = 0x0D,
    kReadKeyPerf = 0xA0,
    kWriteKeyPerf = 0xA1,
    kWriteDksTable = 0xA3,
    kWritePairTable = 0xA5,
    kWriteToggleTable = 0xA7,
    kCalibrationOn = 0xA8,
    kCalibrationOff = 0xA9,
    kWriteLiveColors = 0xDD,
    kReadLiveColors = 0xDE,
    kFactoryReset = 0xEE,
};

std::string Hex(uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

InterfaceSpec DescribeInterface(uint16_t vendor, uint16_t product, uint16_t release,
                                const std::wstring& name, uint16_t usagePage, uint16_t usage,
                                int number, int input, int output)
{
    InterfaceSpec iface;
    iface.info.vendorId = vendor;
    iface.info.productId = product;
    iface.info.releaseNumber = release;
    iface.info.productString = name;
    iface.info.usagePage = usagePage;
    iface.info.usage = usage;
    iface.info.interfaceNumber = number;
    iface.inputReportLength = input;
    iface.outputReportLength = output;
    return iface;
}

}  // namespace

VirtualKeyboard::VirtualKeyboard(KeyboardOptions options)
    : options_(std::move(options)),
      memory_(KeyboardMemory::Factory()),
      mode_(options_.startInBootLoader ? Mode::BootLoader : Mode::Running),
      releaseNumber_(options_.releaseNumber),
      refusedBootChunk_(options_.refusedBootChunk),
      bootLoader_(options_.vendorId, options_.bootProductId)
{
    bootLoader_.SetRefusedChunk(refusedBootChunk_);
}

std::vector<InterfaceSpec> VirtualKeyboard::CurrentInterfaces() const
{
    const auto& o = options_;
    if (mode_ == Mode::BootLoader) {
        return {DescribeInterface(o.vendorId, o.bootProductId, o.bootReleaseNumber, o.bootProduct,
                                  0xFF00, 0x01, 0, 65, 65)};
    }
    const int config = shortReports_ ? 64 : 65;
    const uint16_t release = releaseNumber_;
    return {
        DescribeInterface(o.vendorId, o.productId, release, o.product, 0x0001, 0x06, 0, 9, 2),
        DescribeInterface(o.vendorId, o.productId, release, o.product, 0xFF60, 0x61, 1, config,
                          config),
        DescribeInterface(o.vendorId, o.productId, release, o.product, 0xFF1C, 0x92, 2, 64, 64),
        DescribeInterface(o.vendorId, o.bootEntryProductId, release, o.product, 0x0001, 0x00, 3, 65,
                          65),
    };
}

int VirtualKeyboard::HandleWrite(size_t interfaceIndex, const uint8_t* data, size_t length)
{
    if (mode_ == Mode::BootLoader) return HandleBootLoader(data, length);
    switch (interfaceIndex) {
        case kConfigInterface:
            return HandleConfig(data, length);
        case kBootEntryInterface:
            return HandleBootEntry(data, length);
        default:
            Error("report written to interface " + std::to_string(interfaceIndex));
            return static_cast<int>(length);
    }
}

int VirtualKeyboard::HandleConfig(const uint8_t* r, size_t length)
{
    const uint8_t command = length > 2 ? r[2] : 0;
    if (faults_.Take(Fault::Kind::FailWrite, command)) return -1;
    if (int replugMs = -1; faults_.CountTowardsUnplug(&replugMs)) {
        SetPluggedLocked(false);
        if (replugMs >= 0) replugAt_ = Clock::now() + std::chrono::milliseconds(replugMs);
        return -1;
    }
    if (length < kReportSize) {
        // Short reports (the 64-byte fault): the keyboard cannot take a request.
        Error("request of " + std::to_string(length) + " bytes");
        return static_cast<int>(length);
    }
    unsigned sum = 0;
    for (size_t i = 5; i < kReportSize; ++i) sum += r[i];
    RequestRecord record;
    record.report.assign(r, r + kReportSize);
    record.inBatch = inBatch_;
    record.checksumOk = (sum & 0xFF) == r[4];
    requests_.push_back(record);
    if (r[0] != 0) {
        Error("report ID " + Hex(r[0]));
        return static_cast<int>(length);
    }
    if (r[1] != kRequestMark) {
        Error("request mark " + Hex(r[1]));
        return static_cast<int>(length);
    }
    if (!record.checksumOk) {
        Error("checksum " + Hex(r[4]) + " for " + Hex(command) + ", expected " +
              Hex(static_cast<uint8_t>(sum)));
        return static_cast<int>(length);
    }

    const size_t dataLength = r[5];
    size_t address = static_cast<size_t>(r[6] | r[7] << 8);
    std::vector<uint8_t> answer(kReportSize, 0);
    answer[1] = kAnswerMark;
    answer[2] = command;
    answer[5] = r[5];
    answer[6] = r[6];
    answer[7] = r[7];

    std::vector<uint8_t>* table = nullptr;
    bool write = false;
    if (TableFor(command, table, write)) {
        // Every device profile plays the one performance table: the profile's part of the
        // address (profile x 1024) names no table of its own.
        if (table == &memory_.keyPerf) address %= kKeyPerfTableSize;
        if (dataLength > kDataMax) {
            Error("length " + std::to_string(dataLength) + " for " + Hex(command));
        } else if (address + dataLength > table->size()) {
            Error("address " + std::to_string(address) + "+" + std::to_string(dataLength) +
                  " outside the table of " + Hex(command));
        } else {
            if (write) {
                std::copy(r + kDataOffset, r + kDataOffset + dataLength,
                          table->begin() + static_cast<long>(address));
            }
            std::copy(table->begin() + static_cast<long>(address),
                      table->begin() + static_cast<long>(address + dataLength),
                      answer.begin() + kDataOffset);
        }
    } else {
        switch (command) {
            case kBeginBatch:
                inBatch_ = true;
                ++batchesBegun_;
                break;
            case kEndBatch:
                inBatch_ = false;
                ++batchesEnded_;
                break;
            case kGetDeviceInfo: {
                const std::string& info = options_.infoText;
                const size_t n = std::min(info.size(), kDataMax);
                answer[5] = static_cast<uint8_t>(n & 0xFF);
                answer[6] = static_cast<uint8_t>(n >> 8);
                answer[7] = 0;
                std::copy(info.begin(), info.begin() + static_cast<long>(n),
                          answer.begin() + kDataOffset);
                break;
            }
            case kCalibrationOn:
                calibrating_ = true;
                break;
            case kCalibrationOff:
                calibrating_ = false;
                break;
            case kFactoryReset:
                memory_ = KeyboardMemory::Factory();
                calibrating_ = false;
                activeProfile_ = 0;
                activeLayer_ = 0;
                ++factoryResets_;
                break;
            default:
                Error("unknown command " + Hex(command));
                break;
        }
    }
    unsigned answerSum = 0;
    for (size_t i = 5; i < kReportSize; ++i) answerSum += answer[i];
    answer[4] = static_cast<uint8_t>(answerSum);
    Answer(kConfigInterface, command, std::move(answer));
    return static_cast<int>(length);
}

bool VirtualKeyboard::TableFor(uint8_t command, std::vector<uint8_t>*& table, bool& write)
{
    write = false;
    switch (command) {
        case kReadSettings:
            table = &memory_.settings;
            return true;
        case kReadDefaultKeymap:
            table = &memory_.defaultKeymaps;
            return true;
        case kReadKeymap:
            table = &memory_.keymaps;
            return true;
        case kReadUserColors:
            table = &memory_.userColors;
            return true;
        case kReadKeyPerf:
            table = &memory_.keyPerf;
            return true;
        case kReadLiveColors:
            table = &memory_.liveColors;
            return true;
        default:
            break;
    }
    write = true;
    switch (command) {
        case kWriteSettings:
            table = &memory_.settings;
            return true;
        case kWriteKeymap:
            table = &memory_.keymaps;
            return true;
        case kWriteUserColors:
            table = &memory_.userColors;
            return true;
        case kWriteMacros:
            table = &memory_.macros;
            return true;
        case kWriteKeyPerf:
            table = &memory_.keyPerf;
            return true;
        case kWriteDksTable:
            table = &memory_.dksTable;
            return true;
        case kWritePairTable:
            table = &memory_.pairTable;
            return true;
        case kWriteToggleTable:
            table = &memory_.toggleTable;
            return true;
        case kWriteLiveColors:
            table = &memory_.liveColors;
            return true;
        default:
            return false;
    }
}

int VirtualKeyboard::HandleBootEntry(const uint8_t* r, size_t length)
{
    if (length >= 10 && r[1] == 0x5F && r[2] == 0x06 && r[5] == 0x01 && r[9] == 0x51) {
        ++enterBootRequests_;
        std::vector<uint8_t> answer(kReportSize, 0);
        answer[1] = r[1];
        answer[2] = r[2];
        Answer(kBootEntryInterface, r[2], std::move(answer));
        restartAt_ = Clock::now() + std::chrono::milliseconds(options_.restartDelayMs);
        restartMode_ = Mode::BootLoader;
    } else {
        Error("unknown report on the boot-entry interface");
    }
    return static_cast<int>(length);
}

int VirtualKeyboard::HandleBootLoader(const uint8_t* r, size_t length)
{
    const uint8_t command = length > 1 ? r[1] : 0;
    if (faults_.Take(Fault::Kind::FailWrite, command)) return -1;
    std::vector<uint8_t> answer = bootLoader_.Handle(r, length, errors_);
    if (bootLoader_.Erased()) bootImage_ = bootLoader_.Image();
    if (command == BootLoader::kFinish && answer[1] == 0) {
        ++flashes_;
        releaseNumber_ = options_.flashedReleaseNumber;
        restartAt_ = Clock::now() + std::chrono::milliseconds(options_.restartDelayMs);
        restartMode_ = Mode::Running;
    }
    Answer(kBootLoaderInterface, command, std::move(answer));
    return static_cast<int>(length);
}

void VirtualKeyboard::Answer(size_t interfaceIndex, uint8_t command, std::vector<uint8_t> answer)
{
    auto due = Clock::now();
    int delay = 0;
    if (faults_.Take(Fault::Kind::Delay, command, &delay)) due += std::chrono::milliseconds(delay);
    if (faults_.Take(Fault::Kind::ForeignAnswer, command)) {
        std::vector<uint8_t> foreign(kReportSize, 0);
        foreign[1] = kAnswerMark;
        foreign[2] = command == kBeginBatch ? kEndBatch : kBeginBatch;
        SendInput(interfaceIndex, std::move(foreign), due);
    }
    if (faults_.Take(Fault::Kind::NoAnswer, command)) return;
    SendInput(interfaceIndex, std::move(answer), due);
}

void VirtualKeyboard::Error(const std::string& text) { errors_.push_back(text); }

void VirtualKeyboard::Advance(Clock::time_point now)
{
    if (replugAt_ && now >= *replugAt_) {
        replugAt_.reset();
        SetPluggedLocked(true);
    }
    if (restartAt_ && now >= *restartAt_) {
        restartAt_.reset();
        if (restartMode_ == Mode::BootLoader) {
            bootLoader_ = BootLoader(options_.vendorId, options_.bootProductId);
            bootLoader_.SetRefusedChunk(refusedBootChunk_);
        }
        mode_ = restartMode_;
        calibrating_ = false;
        inBatch_ = false;
        ChangeIdentity();
    }
}

std::optional<Clock::time_point> VirtualKeyboard::NextTransition() const
{
    if (restartAt_ && replugAt_) return std::min(*restartAt_, *replugAt_);
    return restartAt_ ? restartAt_ : replugAt_;
}

KeyboardMemory VirtualKeyboard::Memory() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return memory_;
}

void VirtualKeyboard::ModifyMemory(const std::function<void(KeyboardMemory&)>& change)
{
    std::lock_guard<std::mutex> lock(mutex_);
    change(memory_);
}

std::array<uint8_t, 3> VirtualKeyboard::KeyEntry(size_t layer, size_t keyIndex) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::array<uint8_t, 3> entry{};
    const size_t at = layer * kLayerTableSize + keyIndex * 3;
    if (layer < kLayers && keyIndex * 3 + 3 <= kLayerTableSize) {
        std::copy(memory_.keymaps.begin() + static_cast<long>(at),
                  memory_.keymaps.begin() + static_cast<long>(at + 3), entry.begin());
    }
    return entry;
}

std::array<uint8_t, 8> VirtualKeyboard::KeyPerf(size_t keyIndex) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::array<uint8_t, 8> perf{};
    if (keyIndex < kKeyCount) {
        const auto at = static_cast<long>(keyIndex * 8);
        std::copy(memory_.keyPerf.begin() + at, memory_.keyPerf.begin() + at + 8, perf.begin());
    }
    return perf;
}

std::vector<uint8_t> VirtualKeyboard::Settings() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return memory_.settings;
}

std::vector<RequestRecord> VirtualKeyboard::Requests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<std::string> VirtualKeyboard::Errors() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return errors_;
}

void VirtualKeyboard::ClearLog()
{
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
    errors_.clear();
}

bool VirtualKeyboard::Calibrating() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return calibrating_;
}

bool VirtualKeyboard::InBatch() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return inBatch_;
}

int VirtualKeyboard::BatchesBegun() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return batchesBegun_;
}

int VirtualKeyboard::BatchesEnded() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return batchesEnded_;
}

int VirtualKeyboard::FactoryResets() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return factoryResets_;
}

int VirtualKeyboard::ActiveProfile() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return activeProfile_;
}

int VirtualKeyboard::ActiveLayer() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return activeLayer_;
}

void VirtualKeyboard::AddFault(const Fault& fault)
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.Add(fault);
}

void VirtualKeyboard::ClearFaults()
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.Clear();
}

void VirtualKeyboard::SetShortReports(bool shortReports)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (shortReports_ == shortReports) return;
    shortReports_ = shortReports;
    ChangeIdentity();
}

bool VirtualKeyboard::SendTravel(const TravelReport& t)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Advance(Clock::now());
    if (mode_ != Mode::Running) return false;
    std::vector<uint8_t> report(kReportSize, 0);
    const auto key = DefaultKeyEntry(0, t.keyIndex);
    report[1] = kTravelKind;
    report[2] = key[0];
    report[3] = key[1];
    report[4] = key[2];
    report[7] = static_cast<uint8_t>(t.reading >> 8);
    report[8] = static_cast<uint8_t>(t.reading);
    report[11] = t.calibration;
    report[12] = t.digits[0];
    report[13] = t.digits[1];
    report[14] = t.digits[2];
    report[15] = static_cast<uint8_t>(t.fullScale >> 8);
    report[16] = static_cast<uint8_t>(t.fullScale);
    report[17] = static_cast<uint8_t>(t.reference1 >> 8);
    report[18] = static_cast<uint8_t>(t.reference1);
    report[19] = static_cast<uint8_t>(t.reference2 >> 8);
    report[20] = static_cast<uint8_t>(t.reference2);
    SendInput(kConfigInterface, std::move(report), Clock::now());
    return true;
}

bool VirtualKeyboard::SwitchProfile(int layer, int profile)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Advance(Clock::now());
    if (mode_ != Mode::Running || layer < 0 || layer >= static_cast<int>(kLayers) || profile < 0 ||
        profile >= static_cast<int>(kDeviceProfiles)) {
        return false;
    }
    activeLayer_ = layer;
    activeProfile_ = profile;
    std::vector<uint8_t> report(kReportSize, 0);
    report[1] = kProfileSwitchKind;
    report[2] = static_cast<uint8_t>(layer);
    report[3] = static_cast<uint8_t>(profile);
    SendInput(kConfigInterface, std::move(report), Clock::now());
    return true;
}

void VirtualKeyboard::UnplugFor(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SetPluggedLocked(false);
    replugAt_ = Clock::now() + std::chrono::milliseconds(ms);
}

VirtualKeyboard::Mode VirtualKeyboard::CurrentMode() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return mode_;
}

void VirtualKeyboard::RestartInto(Mode mode)
{
    std::lock_guard<std::mutex> lock(mutex_);
    restartMode_ = mode;
    restartAt_ = Clock::now();
    Advance(Clock::now());
}

int VirtualKeyboard::EnterBootRequests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return enterBootRequests_;
}

std::vector<uint8_t> VirtualKeyboard::BootImage() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return bootImage_;
}

int VirtualKeyboard::BootVerifyFailures() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return bootLoader_.VerifyFailures();
}

int VirtualKeyboard::Flashes() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return flashes_;
}

uint16_t VirtualKeyboard::ReleaseNumber() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return releaseNumber_;
}

void VirtualKeyboard::RefuseBootChunk(int chunk)
{
    std::lock_guard<std::mutex> lock(mutex_);
    refusedBootChunk_ = chunk;
    bootLoader_.SetRefusedChunk(chunk);
}

}  // namespace vkb
