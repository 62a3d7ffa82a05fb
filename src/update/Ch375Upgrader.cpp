#include "update/Ch375Upgrader.h"

#include <algorithm>
#include <utility>

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

void Ch375Upgrader::PostProgress(int percent) { report_.Post(percent); }

int Ch375Upgrader::Run(const std::wstring& imagePath, UpgradeProgress progress)
{
    report_.Start(std::move(progress));
    // The image is checked before the bridge is touched: nothing is erased for a bad one.
    if (!LoadImage(imagePath)) {
        report_.Enter(UPGRADE_NO_IMAGE, 5);
        return State();
    }
    bool found = false;
    std::unique_ptr<usb::Ch375Device> device = OpenDevice(found);
    if (!found) {
        return State();  // still "started": no bridge
    }
    report_.Enter(UPGRADE_DEVICE_OPEN, 10);
    // Each failure is told with its own percent.
    if (!device || !Erase(*device)) {
        report_.Enter(UPGRADE_ERASE_FAILED, 10);
        return State();
    }
    report_.Enter(UPGRADE_ERASED, 80);
    if (!SendImage(*device, BOOT_CMD_PROGRAM, image_)) {
        report_.Enter(UPGRADE_PROGRAM_FAILED, 15);
        return State();
    }
    report_.Enter(UPGRADE_PROGRAMMED, 90);
    if (!SendImage(*device, BOOT_CMD_VERIFY, image_)) {
        report_.Enter(UPGRADE_VERIFY_FAILED, 60);
        return State();
    }
    PostProgress(95);
    if (!End(*device)) {
        report_.Enter(UPGRADE_END_FAILED, 95);
        return State();
    }
    report_.Enter(UPGRADE_DONE, 100);
    return State();
}
