// Mapping of line settings to the control block and time-outs, without touching a device.
#include "comm/CommSettings.h"

#include <cstddef>

namespace {

// The bit fields sit in the one DWORD between BaudRate and wReserved on every compiler that
// follows the platform headers; copying that word is the only portable way to set it whole.
constexpr size_t kFlagsOffset = offsetof(DCB, BaudRate) + sizeof(DWORD);
static_assert(offsetof(DCB, wReserved) == kFlagsOffset + sizeof(DWORD), "DCB flags must be one DWORD");

DWORD DtrFlags(TDtrControl control) noexcept
{
    switch (control) {
    case TDtrControl::DtrEnable: return kFlagDtrEnable;
    case TDtrControl::DtrDisable: return 0;
    case TDtrControl::DtrHandshake: return kFlagDtrHandshake;
    }
    return 0;
}

DWORD RtsFlags(TRtsControl control) noexcept
{
    switch (control) {
    case TRtsControl::RtsEnable: return kFlagRtsEnable;
    case TRtsControl::RtsDisable: return 0;
    case TRtsControl::RtsHandshake: return kFlagRtsHandshake;
    case TRtsControl::RtsTransmissionAvailable: return kFlagRtsToggle;
    }
    return 0;
}

} // namespace

DWORD CommFlags(const TCommSettings& s) noexcept
{
    DWORD flags = kFlagBinary;
    if (s.ParityCheck) flags |= kFlagParity;
    if (s.Outx_CtsFlow) flags |= kFlagOutxCtsFlow;
    if (s.Outx_DsrFlow) flags |= kFlagOutxDsrFlow;
    flags |= DtrFlags(s.DtrControl);
    if (s.DsrSensitivity) flags |= kFlagDsrSensitivity;
    if (s.TxContinueOnXoff) flags |= kFlagTxContinueOnXoff;
    if (s.Outx_XonXoffFlow) flags |= kFlagOutX;
    if (s.Inx_XonXoffFlow) flags |= kFlagInX;
    if (s.ReplaceWhenParityError) flags |= kFlagErrorChar;
    if (s.IgnoreNullChar) flags |= kFlagNull;
    flags |= RtsFlags(s.RtsControl);
    return flags;
}

DWORD DcbFlags(const DCB& dcb) noexcept
{
    DWORD flags;
    std::memcpy(&flags, reinterpret_cast<const unsigned char*>(&dcb) + kFlagsOffset, sizeof flags);
    return flags;
}

void SetDcbFlags(DCB& dcb, DWORD flags) noexcept
{
    std::memcpy(reinterpret_cast<unsigned char*>(&dcb) + kFlagsOffset, &flags, sizeof flags);
}

DCB ApplySettings(DCB dcb, const TCommSettings& s) noexcept
{
    dcb.BaudRate = s.BaudRate;
    SetDcbFlags(dcb, CommFlags(s));
    dcb.XonLim = s.XonLimit;
    dcb.XoffLim = s.XoffLimit;
    dcb.ByteSize = static_cast<BYTE>(static_cast<int>(s.ByteSize) + 5);
    dcb.Parity = static_cast<BYTE>(s.Parity);
    dcb.StopBits = static_cast<BYTE>(s.StopBits);
    dcb.XonChar = s.XonChar;
    dcb.XoffChar = s.XoffChar;
    dcb.ErrorChar = s.ReplacedChar;
    return dcb;
}

COMMTIMEOUTS CommTimeouts(const TCommSettings& s) noexcept
{
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = s.ReadIntervalTimeout;
    t.ReadTotalTimeoutMultiplier = s.ReadTotalTimeoutMultiplier;
    t.ReadTotalTimeoutConstant = s.ReadTotalTimeoutConstant;
    t.WriteTotalTimeoutMultiplier = s.WriteTotalTimeoutMultiplier;
    t.WriteTotalTimeoutConstant = s.WriteTotalTimeoutConstant;
    return t;
}
