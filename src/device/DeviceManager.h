// The one link to the keyboard: the table of supported devices, the HID interfaces found by
// the last scan with their open handles, the interface that carries the keyboard protocol,
// the request and answer exchange, chunked table transfers, and the upgrade link used by the
// firmware upgraders.
//
// Scans and exchanges run on one thread (the worker); the static boot operations may run on
// another. Handles are borrowed pointers into the device list, valid until the next scan.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/DeviceRecord.h"
#include "device/DeviceReport.h"
#include "device/SupportedDevice.h"
#include "platform/hid/HidSeam.h"

inline constexpr size_t kIspBufferSize = 1024;

// Month number 1..12 of the first English month abbreviation ("Jan" .. "Dec", tested in
// calendar order) found anywhere in text; 1 when there is none.
int ParseMonthName(const std::wstring& text);

class DeviceManager {
public:
    static DeviceManager& GetInstance();

    // Independent instances serve tests; the program uses GetInstance.
    DeviceManager();
    ~DeviceManager();
    DeviceManager(const DeviceManager&) = delete;
    DeviceManager& operator=(const DeviceManager&) = delete;

    // --- Device table, scan and lookups ---
    void AddSupportedDevice(int vendorId, int productId, const std::wstring& productName,
                            int deviceType, int extra);
    // Lists every supported interface that opens and has 65-byte input and output reports,
    // probing each with ReadDeviceInfo.
    void ScanDevices();
    // Whether the last scan listed nothing while a supported interface was refused for lack
    // of access rights: the keyboard is there, but this user may not open it.
    bool AccessDenied() const { return accessDenied_; }
    // Only while connected: closes and frees every record, and forgets the current handle.
    void CloseAllDevices();
    // The full rescan: forget the current handle, close everything, scan, then connected,
    // not busy, no current device type.
    void Rescan();
    bool GetDeviceList(std::vector<DeviceRecord*>& out) const;
    int GetConnectionKind() const;
    int FindDeviceValue(int vendorId, int productId, const std::wstring& productText = L"",
                        int kind = 0) const;
    hid::HidDevice* GetCurrentHandle();
    void ClearCurrentHandle() { currentHandle_ = nullptr; }
    bool IsSupported(int vendorId, int productId, const std::wstring& productString) const;
    int GetDeviceType(int vendorId, int productId, const std::wstring& productString) const;

    int GetCurrentDeviceType() const { return currentType_; }
    void SetCurrentDeviceType(int type) { currentType_ = type; }
    bool IsConnected() const { return connected_ != 0; }
    void SetConnected(bool connected) { connected_ = connected ? 1 : 0; }
    bool IsBusy() const { return busy_ != 0; }

    // --- Device information ---
    // The info text of an interface; empty on failure (after a 1000 ms pause).
    std::wstring ReadDeviceInfo(hid::HidDevice* handle);
    // True when the current keyboard answers its information request within waitMs; it is
    // asked again after each unanswered request, until the time is up or exchanges stop.
    bool AnswersWithin(int waitMs);
    // "V<major>.<minor>(yyyy-mm-dd)" of the current keyboard, "0.0" without one.
    std::wstring GetFirmwareVersion();
    int GetCurrentReleaseNumber() const;

    // --- Exchange ---
    // Sends a request and takes the first answer marked 0xAA, whatever its command.
    bool SendCommand(DeviceReport& report);
    // Sends a read request and takes only the answer that echoes its command, length and
    // address; on failure the report keeps the request (its data bytes read as zeros).
    bool SendCommandChecked(DeviceReport& report);
    // Exchanges of either kind that failed so far: a caller compares two counts to learn
    // whether every exchange between them passed.
    uint64_t FailedExchanges() const { return failedExchanges_.load(); }

    // One report the keyboard sent by itself, as delivered, into a cleared report: the bytes
    // read, 0 on time-out or without a current handle, -1 when the device failed. A profile
    // switch that arrived while an exchange waited for its answer comes first.
    int ReadInputReport(DeviceReport& report, int timeoutMs);

    // --- Chunked transfers and batches (REPORT_DATA_MAX bytes a chunk, address = base +
    // chunk index x REPORT_DATA_MAX, the last chunk shorter) ---
    static size_t ChunkCount(size_t length);
    // A command without data, sent with SendCommand.
    bool SendSimpleCommand(DeviceCommand command);
    // Batches nest: each BeginBatch is closed by one EndBatch. A begin is refused (false,
    // nothing sent) once exchanges are stopped, and so is the end that closes it.
    bool BeginBatch();
    bool EndBatch();
    // Whether a batch that went out has not been ended yet.
    bool InBatch();
    // Ends the batches left open (one end request) when any is; true when none is left open.
    bool EndOpenBatch();
    // For the exit: from now on every exchange fails at once, except the end of a batch, so a
    // transfer under way unwinds within its current exchange and still ends its batch.
    void StopExchanges() { stopping_ = true; }
    bool ExchangesStopped() const { return stopping_; }
    // Exchanges run again (a new main window starting).
    void ResumeExchanges() { stopping_ = false; }
    bool WriteChunk(DeviceCommand command, uint16_t address, std::span<const uint8_t> data);
    // Stores the answer's REPORT_DATA_MAX data bytes in out (zeros when the read failed).
    bool ReadChunk(DeviceCommand command, uint16_t address, size_t length,
                   std::span<uint8_t, REPORT_DATA_MAX> out);
    // Every chunk is sent even after a failed one unless stopAtFailure; true when all passed.
    bool WriteTable(DeviceCommand command, uint16_t base, std::span<const uint8_t> table,
                    bool stopAtFailure = false);
    // Reads length bytes; chunk i lands at i x REPORT_DATA_MAX of out, whole chunks copied as
    // far as out reaches (size out to whole chunks to get every byte).
    bool ReadTable(DeviceCommand command, uint16_t base, size_t length, std::span<uint8_t> out,
                   bool stopAtFailure = false);
    // The write batch: CMD_BEGIN_BATCH, the table's chunks, CMD_END_BATCH.
    bool WriteTableBatch(DeviceCommand command, uint16_t base, std::span<const uint8_t> table);
    bool ReadTableBatch(DeviceCommand command, uint16_t base, size_t length,
                        std::span<uint8_t> out);

    // --- Boot loader and bridge (the upgrade link of the process-wide instance) ---
    // The keyboard's boot-loader interface (vendor 0x3B6D, usage page 0xFF00, usage 1,
    // product 0xFF36, 0xFF23, 0xFF72 or 0xAF3E, preferred in that order within an interface);
    // its ids go to the outputs.
    static std::unique_ptr<hid::HidDevice> OpenBootDevice(uint16_t& vendorId, uint16_t& productId);
    static std::unique_ptr<hid::HidDevice> OpenHidByIds(uint16_t vendorId, uint16_t productId,
                                                        uint16_t usagePage, uint16_t usage);
    // The CH375 bridge's HID interface (0x4348/0x55E0).
    static std::unique_ptr<hid::HidDevice> OpenWchIspDevice();
    // Makes device the upgrade link (closing a previous one).
    static void SetIspLink(std::unique_ptr<hid::HidDevice> device);
    static hid::HidDevice* IspLink();
    // Closes and clears the upgrade link; nothing when there is none.
    static void CloseIspLink();
    // Writes the buffer on the upgrade link (once more after 2 ms when that fails), then reads
    // one report into it with a 100 ms time-out, read again up to ten times in all while no
    // answer came (a late answer is still taken); true when something was read.
    static bool IspExchange(std::array<uint8_t, kIspBufferSize>& buffer);

private:
    // Sets the busy flag for the length of an exchange.
    struct BusyScope {
        explicit BusyScope(std::atomic<int>& flag) : busy(flag) { busy = 1; }
        ~BusyScope() { busy = 0; }
        std::atomic<int>& busy;
    };

    bool Exchange(DeviceReport& report);
    bool ExchangeChecked(DeviceReport& report);
    const DeviceRecord* RecordOfCurrentHandle() const;
    // Keeps a profile-switch report read in place of an answer for the next input poll.
    void KeepUnaskedReport(const std::array<uint8_t, REPORT_SIZE>& report, int got);
    bool CountsAsCurrentType(const DeviceRecord& record) const;
    const SupportedDevice* FindSupported(int vendorId, int productId,
                                         const std::wstring& productString) const;

    std::mutex ispMutex_;
    std::unique_ptr<hid::HidDevice> ispLink_;
    std::atomic<int> connected_{0};
    std::atomic<int> busy_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<uint64_t> failedExchanges_{0};
    std::mutex batchMutex_;
    // One entry per batch begun and not yet ended: whether its begin went out.
    std::vector<bool> batches_;
    std::vector<std::unique_ptr<DeviceRecord>> devices_;
    std::vector<SupportedDevice> supported_;
    std::atomic<int> currentType_{0};
    std::atomic<bool> accessDenied_{false};
    hid::HidDevice* currentHandle_ = nullptr;
    // Worker only: the last profile switch the keyboard reported during an exchange.
    std::optional<std::array<uint8_t, REPORT_SIZE>> unaskedSwitch_;
};
