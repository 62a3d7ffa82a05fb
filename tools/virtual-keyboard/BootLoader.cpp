#include "BootLoader.h"

#include <algorithm>
#include <cstdio>

namespace vkb {
namespace {

std::string Hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// The first byte at or after `from` that is not zero; length when there is none.
size_t FirstNonZero(const uint8_t* r, size_t from, size_t length)
{
    for (size_t i = from; i < length; ++i) {
        if (r[i] != 0) return i;
    }
    return length;
}

}  // namespace

BootLoader::BootLoader(uint16_t vendorId, uint16_t productId)
    : vendorId_(vendorId), productId_(productId)
{
}

std::vector<uint8_t> BootLoader::Handle(const uint8_t* report, size_t length,
                                        std::vector<std::string>& errors)
{
    std::vector<uint8_t> answer(kAnswerLength, 0);
    const uint8_t command = length > 1 ? report[1] : 0;
    Error error = kNone;
    if (refused_ && command != kErase) {
        errors.push_back("boot report " + Hex(command) + " after a refusal");
        error = kBadRequest;
    } else {
        error = Run(report, length, errors);
    }
    if (error != kNone) refused_ = true;
    answer[1] = error == kNone ? 0 : 1;
    answer[2] = error;
    answer[3] = command;
    return answer;
}

BootLoader::Error BootLoader::Run(const uint8_t* r, size_t length, std::vector<std::string>& errors)
{
    if (length < 7 + kChunkMax || r[0] != 0) {
        errors.push_back("boot report of " + std::to_string(length) + " bytes, report ID " +
                         Hex(length > 0 ? r[0] : 0));
        return kBadRequest;
    }
    // The bytes the report names end here; every byte after them must be zero.
    size_t named = 3;
    switch (r[1]) {
        case kErase:
            named = 8;
            break;
        case kProgram:
        case kVerify:
            named = 7 + r[2];
            break;
        case kEnd:
        case kFinish:
            break;
        default:
            errors.push_back("unknown boot command " + Hex(r[1]));
            return kBadRequest;
    }
    if (named <= length) {
        if (const size_t at = FirstNonZero(r, named, length); at < length) {
            errors.push_back("boot report " + Hex(r[1]) + ": padding byte " + std::to_string(at) +
                             " is " + Hex(r[at]));
            return kBadRequest;
        }
    }
    switch (r[1]) {
        case kErase:
            if (r[2] != 0x07 || r[7] != 0) {
                errors.push_back("start report with " + Hex(r[2]) + " " + Hex(r[7]));
                return kBadRequest;
            }
            if ((r[3] | r[4] << 8) != vendorId_ || (r[5] | r[6] << 8) != productId_) {
                errors.push_back("start report for " + Hex(r[3] | r[4] << 8) + "/" +
                                 Hex(r[5] | r[6] << 8));
                return kWrongDevice;
            }
            erased_ = true;
            ended_ = finished_ = refused_ = false;
            programChunks_ = 0;
            nextProgram_ = nextVerify_ = 0;
            programShort_ = verifyShort_ = false;
            image_.clear();
            return kNone;
        case kProgram:
        case kVerify:
            return RunChunk(r, length, errors);
        case kEnd:
            if (r[2] != 0x01 || !erased_ || ended_) {
                errors.push_back("end report out of place");
                return kBadRequest;
            }
            if (image_.size() % 4 != 0) {
                errors.push_back("image of " + std::to_string(image_.size()) +
                                 " bytes not padded to 4");
                return kBadRequest;
            }
            if (nextVerify_ != image_.size()) {
                errors.push_back("end after " + std::to_string(nextVerify_) + " of " +
                                 std::to_string(image_.size()) + " bytes verified");
                return kBadRequest;
            }
            ended_ = true;
            return kNone;
        default:  // kFinish
            if (r[2] != 0x01 || !ended_ || finished_) {
                errors.push_back(ended_ ? "finish report out of place" : "finish without end");
                return kBadRequest;
            }
            finished_ = true;
            return kNone;
    }
}

BootLoader::Error BootLoader::RunChunk(const uint8_t* r, size_t, std::vector<std::string>& errors)
{
    const bool program = r[1] == kProgram;
    if (!erased_ || ended_) {
        errors.push_back("chunk " + Hex(r[1]) + (ended_ ? " after the end" : " before the start"));
        return kNotErased;
    }
    const size_t chunk = r[2];
    const size_t offset = static_cast<size_t>(r[3]) | static_cast<size_t>(r[4]) << 8 |
                          static_cast<size_t>(r[5]) << 16 | static_cast<size_t>(r[6]) << 24;
    if (chunk < 1 || chunk > kChunkMax || offset > kImageCapacity - chunk) {
        errors.push_back("chunk " + Hex(r[1]) + " of " + std::to_string(chunk) + " bytes at " +
                         std::to_string(offset));
        return kBadRange;
    }
    const size_t expected = program ? nextProgram_ : nextVerify_;
    const bool afterShort = program ? programShort_ : verifyShort_;
    if (offset != expected || afterShort || (program && nextVerify_ > 0) ||
        (!program && nextProgram_ == 0)) {
        errors.push_back(
            "chunk " + Hex(r[1]) + " at " + std::to_string(offset) + ", expected " +
            (afterShort ? std::string("none after a short one") : std::to_string(expected)));
        return kBadRange;
    }
    if (program) {
        if (programChunks_++ == refusedChunk_) return kRefused;
        image_.insert(image_.end(), r + 7, r + 7 + chunk);
        nextProgram_ += chunk;
        programShort_ = chunk < kChunkMax;
        return kNone;
    }
    if (offset + chunk > image_.size() ||
        !std::equal(r + 7, r + 7 + chunk, image_.begin() + static_cast<long>(offset))) {
        ++verifyFailures_;
        errors.push_back("verify mismatch at " + std::to_string(offset));
        return kMismatch;
    }
    nextVerify_ += chunk;
    verifyShort_ = chunk < kChunkMax;
    return kNone;
}

}  // namespace vkb
