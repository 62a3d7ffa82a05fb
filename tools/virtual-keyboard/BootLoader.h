// The keyboard's HID boot loader: takes a firmware image in 32-byte chunks after an erase,
// checks it on verify, and asks for a restart into the new firmware on finish.
// Every report (byte 0 the report ID, byte 1 the command) is answered with a report whose
// bytes after the report ID are: status (0 good), error code, command echo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vkb {

class BootLoader {
public:
    enum Command : uint8_t {
        kProgram = 0x80,
        kErase = 0x81,
        kVerify = 0x82,
        kEnd = 0x83,
        kFinish = 0x84,
    };
    enum Error : uint8_t {
        kNone = 0,
        kNotErased = 1,    // program or verify before the erase
        kBadRange = 2,     // chunk length or offset out of range
        kMismatch = 3,     // verify found other bytes than programmed
        kBadRequest = 4,   // unknown command or wrong arguments
        kWrongDevice = 5,  // erase named other ids
    };
    static constexpr size_t kImageCapacity = 819200;
    static constexpr size_t kAnswerLength = 65;

    BootLoader(uint16_t vendorId, uint16_t productId);

    std::vector<uint8_t> Handle(const uint8_t* report, size_t length);

    bool Erased() const { return erased_; }
    bool Ended() const { return ended_; }
    bool Finished() const { return finished_; }
    // Bytes programmed since the erase, up to the highest one written.
    const std::vector<uint8_t>& Image() const { return image_; }
    int VerifyFailures() const { return verifyFailures_; }

private:
    Error Run(const uint8_t* report, size_t length);

    uint16_t vendorId_;
    uint16_t productId_;
    bool erased_ = false;
    bool ended_ = false;
    bool finished_ = false;
    int verifyFailures_ = 0;
    std::vector<uint8_t> image_;
    std::vector<bool> written_;
};

}  // namespace vkb
