#include "BootLoader.h"

namespace vkb {

BootLoader::BootLoader(uint16_t vendorId, uint16_t productId)
    : vendorId_(vendorId), productId_(productId)
{
}

std::vector<uint8_t> BootLoader::Handle(const uint8_t* report, size_t length)
{
    std::vector<uint8_t> answer(kAnswerLength, 0);
    const Error error = Run(report, length);
    answer[1] = error == kNone ? 0 : 1;
    answer[2] = error;
    answer[3] = length > 1 ? report[1] : 0;
    return answer;
}

BootLoader::Error BootLoader::Run(const uint8_t* r, size_t length)
{
    if (length < 39 || r[0] != 0) return kBadRequest;
    switch (r[1]) {
        case kErase:
            if (r[2] != 0x07) return kBadRequest;
            if ((r[3] | r[4] << 8) != vendorId_ || (r[5] | r[6] << 8) != productId_) {
                return kWrongDevice;
            }
            erased_ = true;
            ended_ = finished_ = false;
            image_.clear();
            written_.clear();
            return kNone;
        case kProgram:
        case kVerify: {
            if (!erased_) return kNotErased;
            const size_t chunk = r[2];
            const size_t offset = static_cast<size_t>(r[3]) | static_cast<size_t>(r[4]) << 8 |
                                  static_cast<size_t>(r[5]) << 16 | static_cast<size_t>(r[6]) << 24;
            if (chunk < 1 || chunk > 32 || offset > kImageCapacity - chunk) return kBadRange;
            if (r[1] == kProgram) {
                if (image_.size() < offset + chunk) {
                    image_.resize(offset + chunk, 0);
                    written_.resize(offset + chunk, false);
                }
                for (size_t i = 0; i < chunk; ++i) {
                    image_[offset + i] = r[7 + i];
                    written_[offset + i] = true;
                }
                return kNone;
            }
            for (size_t i = 0; i < chunk; ++i) {
                if (offset + i >= image_.size() || !written_[offset + i] ||
                    image_[offset + i] != r[7 + i]) {
                    ++verifyFailures_;
                    return kMismatch;
                }
            }
            return kNone;
        }
        case kEnd:
            if (r[2] != 0x01) return kBadRequest;
            ended_ = true;
            return kNone;
        case kFinish:
            if (r[2] != 0x01) return kBadRequest;
            finished_ = true;
            return kNone;
        default:
            return kBadRequest;
    }
}

}  // namespace vkb
