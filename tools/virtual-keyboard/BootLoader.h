// The keyboard's HID boot loader: takes a firmware image in 32-byte chunks after a start
// (erase) report, checks it on verify, and asks for a restart into the new firmware on finish.
// Every report (byte 0 the report ID, byte 1 the command) is answered with a report whose
// bytes after the report ID are: status (0 good), error code, command echo.
//
// It holds the host to the upgrade's order: chunks one after the other from offset 0 (program,
// then verify), every byte after a report's own bytes zero, an image padded to a multiple of
// 4 bytes and verified whole before the end, the finish only after the end, and nothing but a
// new start after a refused report. Each breach is recorded as an error and refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
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
        kNotErased = 1,    // program or verify before the start
        kBadRange = 2,     // chunk length or offset out of range or out of order
        kMismatch = 3,     // verify found other bytes than programmed
        kBadRequest = 4,   // unknown command, wrong arguments, padding not zero, wrong order
        kWrongDevice = 5,  // the start named other ids
        kRefused = 6,      // the chunk the boot loader was told to refuse
    };
    static constexpr size_t kImageCapacity = 819200;
    static constexpr size_t kAnswerLength = 65;
    static constexpr size_t kChunkMax = 32;

    BootLoader(uint16_t vendorId, uint16_t productId);

    // Handles one report; breaches of the order are appended to errors.
    std::vector<uint8_t> Handle(const uint8_t* report, size_t length,
                                std::vector<std::string>& errors);

    // The program chunk (0 the first) to refuse from now on; -1 refuses none.
    void SetRefusedChunk(int chunk) { refusedChunk_ = chunk; }

    bool Erased() const { return erased_; }
    bool Ended() const { return ended_; }
    bool Finished() const { return finished_; }
    // Bytes programmed since the start, up to the highest one written.
    const std::vector<uint8_t>& Image() const { return image_; }
    int VerifyFailures() const { return verifyFailures_; }

private:
    Error Run(const uint8_t* report, size_t length, std::vector<std::string>& errors);
    Error RunChunk(const uint8_t* report, size_t length, std::vector<std::string>& errors);

    uint16_t vendorId_;
    uint16_t productId_;
    int refusedChunk_ = -1;
    bool erased_ = false;
    bool ended_ = false;
    bool finished_ = false;
    // A report was refused: only a new start is taken.
    bool refused_ = false;
    int verifyFailures_ = 0;
    int programChunks_ = 0;
    // Where the next chunk must start, and whether the last one was short (then none follows).
    size_t nextProgram_ = 0;
    size_t nextVerify_ = 0;
    bool programShort_ = false;
    bool verifyShort_ = false;
    std::vector<uint8_t> image_;
};

}  // namespace vkb
