// Line settings as a value, and the pure mapping from them to the platform's control block and time-outs.
#pragma once

#include "comm/CommTypes.h"

#include <string>

struct TCommSettings {
    std::wstring CommName = L"COM2";
    uint32_t BaudRate = 9600;
    bool ParityCheck = false;
    bool Outx_CtsFlow = true;
    bool Outx_DsrFlow = true;
    TDtrControl DtrControl = TDtrControl::DtrEnable;
    bool DsrSensitivity = false;
    bool TxContinueOnXoff = true;
    bool Outx_XonXoffFlow = false;
    bool Inx_XonXoffFlow = false;
    bool ReplaceWhenParityError = false;
    bool IgnoreNullChar = false;
    TRtsControl RtsControl = TRtsControl::RtsEnable;
    uint16_t XonLimit = 10;
    uint16_t XoffLimit = 10;
    TByteSize ByteSize = TByteSize::_8;
    TParity Parity = TParity::None;
    TStopBits StopBits = TStopBits::_1;
    char XonChar = 17;
    char XoffChar = 19;
    char ReplacedChar = 0;
    uint32_t ReadIntervalTimeout = 10;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

// The control block's bit fields as one word, in the order the platform declares them.
constexpr DWORD kFlagBinary = 0x1;
constexpr DWORD kFlagParity = 0x2;
constexpr DWORD kFlagOutxCtsFlow = 0x4;
constexpr DWORD kFlagOutxDsrFlow = 0x8;
constexpr DWORD kFlagDtrEnable = 0x10;    // fDtrControl = DTR_CONTROL_ENABLE
constexpr DWORD kFlagDtrHandshake = 0x20; // fDtrControl = DTR_CONTROL_HANDSHAKE
constexpr DWORD kFlagDsrSensitivity = 0x40;
constexpr DWORD kFlagTxContinueOnXoff = 0x80;
constexpr DWORD kFlagOutX = 0x100;
constexpr DWORD kFlagInX = 0x200;
constexpr DWORD kFlagErrorChar = 0x400;
constexpr DWORD kFlagNull = 0x800;
constexpr DWORD kFlagRtsEnable = 0x1000;    // fRtsControl = RTS_CONTROL_ENABLE
constexpr DWORD kFlagRtsHandshake = 0x2000; // fRtsControl = RTS_CONTROL_HANDSHAKE
constexpr DWORD kFlagRtsToggle = 0x3000;    // fRtsControl = RTS_CONTROL_TOGGLE

// The whole flags word the settings give: fBinary plus one bit or field per setting, nothing else,
// so fAbortOnError and whatever a driver left set end up clear.
DWORD CommFlags(const TCommSettings& settings) noexcept;

// The flags word of a control block, read and replaced as a whole.
DWORD DcbFlags(const DCB& dcb) noexcept;
void SetDcbFlags(DCB& dcb, DWORD flags) noexcept;

// The device's current block with the settings laid over it; EofChar, EvtChar and the
// reserved fields keep what the device reported.
DCB ApplySettings(DCB current, const TCommSettings& settings) noexcept;

COMMTIMEOUTS CommTimeouts(const TCommSettings& settings) noexcept;
