// The keyboard's state as text, one "name value" line per item, for end-to-end tests.
#include <sstream>

#include "VirtualKeyboard.h"

namespace vkb {
namespace {

std::string HexBytes(const uint8_t* data, size_t length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        text.push_back(digits[data[i] >> 4]);
        text.push_back(digits[data[i] & 0x0F]);
    }
    return text;
}

std::string HexBytes(const std::vector<uint8_t>& bytes)
{
    return HexBytes(bytes.data(), bytes.size());
}

}  // namespace

std::string VirtualKeyboard::DumpState() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::ostringstream out;
    out << "mode " << (mode_ == Mode::Running ? "running" : "boot-loader") << "\n";
    out << "calibrating " << calibrating_ << "\n";
    out << "in-batch " << inBatch_ << "\n";
    out << "batches-begun " << batchesBegun_ << "\n";
    out << "batches-ended " << batchesEnded_ << "\n";
    out << "factory-resets " << factoryResets_ << "\n";
    out << "active-profile " << activeProfile_ << "\n";
    out << "active-layer " << activeLayer_ << "\n";
    out << "requests " << requests_.size() << "\n";
    for (const auto& r : requests_) {
        out << "request " << HexBytes(r.report.data(), 9) << (r.inBatch ? " batch" : " single")
            << (r.checksumOk ? "" : " bad-checksum") << "\n";
    }
    out << "errors " << errors_.size() << "\n";
    for (const auto& e : errors_) out << "error " << e << "\n";
    out << "settings " << HexBytes(memory_.settings) << "\n";
    for (size_t layer = 0; layer < kLayers; ++layer) {
        out << "keymap." << layer << " "
            << HexBytes(memory_.keymaps.data() + layer * kLayerTableSize, kLayerTableSize) << "\n";
    }
    for (size_t layer = 0; layer < kLayers; ++layer) {
        out << "default-keymap." << layer << " "
            << HexBytes(memory_.defaultKeymaps.data() + layer * kLayerTableSize, kLayerTableSize)
            << "\n";
    }
    out << "key-perf " << HexBytes(memory_.keyPerf) << "\n";
    out << "user-colors " << HexBytes(memory_.userColors) << "\n";
    out << "live-colors " << HexBytes(memory_.liveColors) << "\n";
    out << "macros " << HexBytes(memory_.macros) << "\n";
    out << "dks-table " << HexBytes(memory_.dksTable) << "\n";
    out << "pair-table " << HexBytes(memory_.pairTable) << "\n";
    out << "toggle-table " << HexBytes(memory_.toggleTable) << "\n";
    out << "enter-boot-requests " << enterBootRequests_ << "\n";
    out << "flashes " << flashes_ << "\n";
    out << "release-number " << std::hex << releaseNumber_ << std::dec << "\n";
    out << "boot-image-length " << bootImage_.size() << "\n";
    out << "boot-image " << HexBytes(bootImage_) << "\n";
    return out.str();
}

}  // namespace vkb
