// What the reader makes of a line event and of a failed device call, without the platform headers.
#pragma once

#include <cstdint>

// The platform's comm-event bits (EV_*) that the reader asks for.
constexpr uint32_t kEvCts = 0x0008;  // EV_CTS: never asked for, so never reported
constexpr uint32_t kEvDsr = 0x0010;  // EV_DSR: never asked for, so never reported
constexpr uint32_t kEvRlsd = 0x0020; // EV_RLSD: carrier detect changed
constexpr uint32_t kEvErr = 0x0080;  // EV_ERR: a line error
constexpr uint32_t kEvRing = 0x0100; // EV_RING: ring indicator
// Received characters are no event: the read that is always pending takes them.
constexpr uint32_t kLineEventMask = kEvRlsd | kEvErr | kEvRing;

// The line-error flags (CE_*) the error query reports; they travel to the owner unchanged.
constexpr uint32_t kCeRxOver = 0x0001;
constexpr uint32_t kCeOverrun = 0x0002;
constexpr uint32_t kCeRxParity = 0x0004;
constexpr uint32_t kCeFrame = 0x0008;
constexpr uint32_t kCeBreak = 0x0010;

// The ModemEvent value of OnModemStateChange.
constexpr uint32_t kModemCarrierDetect = 8;
constexpr uint32_t kModemRing = 4;

struct TLineEventNotices {
    bool QueryErrors = false; // read and clear the error state, then report its flags
    uint32_t ModemEvent = 0;  // 0: no modem notice
    // Neither an error nor a modem bit: the device reported something that was never asked for.
    bool Unexpected() const noexcept { return !QueryErrors && ModemEvent == 0; }
};

TLineEventNotices ClassifyLineEvent(uint32_t eventMask) noexcept;

// Platform error codes the workers tell apart.
constexpr uint32_t kErrorInvalidHandle = 6;      // ERROR_INVALID_HANDLE
constexpr uint32_t kErrorNotSupported = 50;      // ERROR_NOT_SUPPORTED
constexpr uint32_t kErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
constexpr uint32_t kErrorOperationAborted = 995; // ERROR_OPERATION_ABORTED
constexpr uint32_t kErrorTimeout = 1460;         // ERROR_TIMEOUT
constexpr uint32_t kErrorIoPending = 997;        // ERROR_IO_PENDING

enum class TIoOutcome {
    Pending,      // the operation is under way; its event tells when it ends
    DeviceClosed, // the handle went away under the worker: end without a word
    Refused,      // the device does not offer this call at all
    TimedOut,     // a read whose total time-out ran out: it ends with what came, often nothing
    Failed,       // a device failure: request the hang-up and end
};

TIoOutcome ClassifyIoError(uint32_t error) noexcept;
