// Classification of line events and device errors for the serial port's reader and writer.
#include "comm/CommEvents.h"

TLineEventNotices ClassifyLineEvent(uint32_t eventMask) noexcept
{
    TLineEventNotices notices;
    notices.QueryErrors = (eventMask & kEvErr) != 0;
    if (eventMask & kEvRlsd)
        notices.ModemEvent += kModemCarrierDetect;
    if (eventMask & kEvRing)
        notices.ModemEvent += kModemRing;
    return notices;
}

TIoOutcome ClassifyIoError(uint32_t error) noexcept
{
    switch (error) {
    case kErrorIoPending: return TIoOutcome::Pending;
    case kErrorInvalidHandle: return TIoOutcome::DeviceClosed;
    case kErrorNotSupported:
    case kErrorInvalidParameter: return TIoOutcome::Refused;
    case kErrorTimeout: return TIoOutcome::TimedOut;
    default: return TIoOutcome::Failed;
    }
}
