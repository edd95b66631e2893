// The reader's reading of line events and device errors, natively under the sanitizers.
#include "comm/CommEvents.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(CommEvents, ModemValueIsEightForCarrierFourForRingTwelveForBoth)
{
    const struct {
        uint32_t Mask;
        uint32_t Modem;
        bool Errors;
    } table[] = {
        {kEvRlsd, 8, false},
        {kEvRing, 4, false},
        {kEvRlsd | kEvRing, 12, false},
        {kEvErr, 0, true},
        {kEvErr | kEvRlsd, 8, true},
        {kEvErr | kEvRing | kEvRlsd, 12, true},
        // CTS and DSR beside a wanted bit change nothing.
        {kEvRlsd | kEvCts | kEvDsr, 8, false},
    };
    for (const auto& row : table) {
        const TLineEventNotices n = ClassifyLineEvent(row.Mask);
        EXPECT_EQ(n.ModemEvent, row.Modem) << "mask 0x" << std::hex << row.Mask;
        EXPECT_EQ(n.QueryErrors, row.Errors) << "mask 0x" << std::hex << row.Mask;
        EXPECT_FALSE(n.Unexpected()) << "mask 0x" << std::hex << row.Mask;
    }
}

TEST(CommEvents, EmptyOrUnaskedMasksAreUnexpected)
{
    // EV_RXCHAR, EV_TXEMPTY, EV_CTS, EV_DSR, EV_BREAK alone: never asked for, so a device fault.
    const uint32_t masks[] = {0, 0x1, 0x4, kEvCts, kEvDsr, kEvCts | kEvDsr, 0x40, 0x80000000u};
    for (const uint32_t mask : masks) {
        const TLineEventNotices n = ClassifyLineEvent(mask);
        EXPECT_TRUE(n.Unexpected()) << "mask 0x" << std::hex << mask;
        EXPECT_EQ(n.ModemEvent, 0u);
        EXPECT_FALSE(n.QueryErrors);
    }
}

TEST(CommEvents, IoErrorsSplitIntoPendingClosedRefusedAndFailed)
{
    const struct {
        uint32_t Error;
        TIoOutcome Outcome;
    } table[] = {
        {997, TIoOutcome::Pending},
        {6, TIoOutcome::DeviceClosed},
        {50, TIoOutcome::Refused},
        {87, TIoOutcome::Refused},
        {1460, TIoOutcome::TimedOut},
        // A broken line, a device gone, an aborted operation and a generic fault all end the worker.
        {109, TIoOutcome::Failed},
        {21, TIoOutcome::Failed},
        {995, TIoOutcome::Failed},
        {1, TIoOutcome::Failed},
        {0, TIoOutcome::Failed},
    };
    for (const auto& row : table)
        EXPECT_EQ(ClassifyIoError(row.Error), row.Outcome) << "error " << row.Error;
}

} // namespace
