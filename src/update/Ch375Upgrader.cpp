#include "update/Ch375Upgrader.h"

#include <algorithm>

#include "device/Ch375Packet.h"
#include "update/FirmwareImage.h"

namespace {

// One packet and its two-byte answer; true when both bytes are 0.
bool ExchangePacket(usb::Ch375Device& device, const std::vector<uint8_t>& packet)
{
    size_t length = packet.size();
    if (!device.WriteData(packet.data(), length)) {
        return false;
    }
    uint8_t answer[kCh375AnswerLength] = {0xFF, 0xFF};
    size_t read = sizeof answer;
    return device.ReadData(answer, read) && read == sizeof answer && IsGoodCh375Answer(answer);
}

}  // namespace

Ch375Upgrader& Ch375Upgrader::GetInstance()
{
    static Ch375Upgrader instance;
    return instance;
}

bool Ch375Upgrader::EnumDevices()
{
    usb::Ch375Library& library = usb::Ch375();
    std::vector<std::string> names;
    for (int index = 0; index < usb::Ch375Library::kMaxDevices; ++index) {
        if (!library.OpenDevice(index)) {
            continue;
        }
        const uint32_t id = library.GetUsbId(index);
        if ((id & 0xFFFF) == kVendorId && (id >> 16) == kProductId) {
            std::string name = library.GetDeviceName(index);
            if (!name.empty()) {
                names.push_back(std::move(name));
            }
        }
        library.CloseDevice(index);
    }
    std::lock_guard lock(mutex_);
    names_ = std::move(names);
    return !names_.empty();
}

std::vector<std::string> Ch375Upgrader::DeviceNames() const
{
    std::lock_guard lock(mutex_);
    return names_;
}

bool Ch375Upgrader::LoadImage(const std::wstring& path)
{
    // Packets name 16-bit offsets: a larger image would overwrite its own start.
    image_ = LoadFirmwareImage(path, kCh375AddressSpace);
    return !image_.empty();
}

std::unique_ptr<usb::Ch375Device> Ch375Upgrader::OpenDevice(bool& found)
{
    found = EnumDevices();
    if (!found) {
        return nullptr;
    }
    auto device = usb::Ch375().OpenByName(DeviceNames().front());
    if (device && device->SetExclusive(true) && device->SetTimeout(kTimeoutMs, kTimeoutMs)) {
        return device;
    }
    return nullptr;
}

bool Ch375Upgrader::Erase(usb::Ch375Device& device)
{
    return ExchangePacket(device, MakeCh375ErasePacket());
}

bool Ch375Upgrader::SendImage(usb::Ch375Device& device, BootCommand command,
                              std::span<const uint8_t> image)
{
    if (image.size() > kCh375AddressSpace) {
        return false;
    }
    for (size_t offset = 0; offset < image.size(); offset += kCh375ChunkMax) {
        const size_t length = std::min(kCh375ChunkMax, image.size() - offset);
        if (!ExchangePacket(device,
                            MakeCh375ChunkPacket(command, offset, image.subspan(offset, length)))) {
            return false;
        }
    }
    return true;
}

bool Ch375Upgrader::End(usb::Ch375Device& device)
{
    const std::vector<uint8_t> packet = MakeCh375EndPacket();
    size_t length = packet.size();
    return device.WriteData(packet.data(), length);
}

void Ch375Upgrader::PostProgress(int percent)
{
    if (progress_) {
        progress_(percent, state_.load());
    }
}

int Ch375Upgrader::Run(const std::wstring& imagePath, UpgradeProgress progress)
{
    progress_ = std::move(progress);
    state_ = UPGRADE_STARTED;
    PostProgress(5);
    // The image is checked before the bridge is touched: nothing is erased for a bad one.
    if (!LoadImage(imagePath)) {
        state_ = UPGRADE_NO_IMAGE;
        PostProgress(5);
        return state_;
    }
    bool found = false;
    std::unique_ptr<usb::Ch375Device> device = OpenDevice(found);
    if (!found) {
        return state_;
    }
    state_ = UPGRADE_DEVICE_OPEN;
    PostProgress(10);
    if (!device || !Erase(*device)) {
        state_ = UPGRADE_ERASE_FAILED;
        PostProgress(10);
        return state_;
    }
    state_ = UPGRADE_ERASED;
    PostProgress(80);
    if (!SendImage(*device, BOOT_CMD_PROGRAM, image_)) {
        state_ = UPGRADE_PROGRAM_FAILED;
        PostProgress(15);
        return state_;
    }
    state_ = UPGRADE_PROGRAMMED;
    PostProgress(90);
    if (!SendImage(*device, BOOT_CMD_VERIFY, image_)) {
        state_ = UPGRADE_VERIFY_FAILED;
        PostProgress(60);
        return state_;
    }
    PostProgress(95);
    if (!End(*device)) {
        state_ = UPGRADE_END_FAILED;
        PostProgress(95);
        return state_;
    }
    state_ = UPGRADE_DONE;
    PostProgress(100);
    return state_;
}
