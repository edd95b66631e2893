// Configuration and lifecycle of the serial port component, on the rig's pseudo-terminal lines.
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "toolkit/Application.h"
#include "toolkit/SysUtils.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Blocks are freed with delete[]; watching one address shows whether the component let it go.
namespace {
std::atomic<void*> gWatchedBlock{nullptr};
std::atomic<int> gWatchedFrees{0};
} // namespace

void operator delete[](void* p) noexcept
{
    void* expected = p;
    if (p && gWatchedBlock.compare_exchange_strong(expected, nullptr))
        ++gWatchedFrees;
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept { operator delete[](p); }

namespace {

// A block whose release the test can see; posting it hands it to the window.
struct TWatchedBlock {
    explicit TWatchedBlock(const std::string& bytes) : Block(MakeCommBlock(bytes.data(), bytes.size())), Size(bytes.size())
    {
        gWatchedFrees = 0;
        gWatchedBlock = Block.get();
    }
    ~TWatchedBlock() { gWatchedBlock = nullptr; }
    bool Post(HWND window) { return PostCommBlock(window, Block, Size); }
    static bool Freed() { return gWatchedFrees == 1; }

    TCommBlock Block;
    size_t Size;
};

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// GetProcessHandleCount is a stub answering 0 under Wine, so the handle table is probed directly.
size_t OpenHandleCount()
{
    size_t count = 0;
    for (uintptr_t value = 4; value < (1u << 14); value += 4) { // 4095 handles: far more than a test holds
        DWORD flags;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

DWORD ProcessHandleCount()
{
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return count;
}

bool HasEnded(HANDLE thread) { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

// The seam: real calls, recorded, with failures switched on per test.
constexpr DWORD kInjectedError = ERROR_IO_DEVICE;

struct TFakeState {
    bool NotCharDevice = false;
    bool RefuseSetupComm = false;
    int FailEventCall = 0; // 1-based; 0 fails none
    int FailThreadCall = 0;
    int EventCalls = 0;
    int ThreadCalls = 0;
    int SetCommStateCalls = 0;
    int SetCommTimeoutsCalls = 0;
    std::vector<std::string> Order; // "state" / "timeouts", in call order
    std::vector<std::wstring> OpenedPaths;
    DCB LastDcb{};
    // Duplicates, so a test can see a thread end after the component has closed its own handle.
    std::vector<win::Handle> Threads;
    std::vector<DWORD> ThreadIds;
};
TFakeState gFake;

HANDLE WINAPI FakeCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD disposition,
                              DWORD flags, HANDLE templateFile)
{
    gFake.OpenedPaths.emplace_back(name);
    return ::CreateFileW(name, access, share, sa, disposition, flags, templateFile);
}

DWORD WINAPI FakeGetFileType(HANDLE file)
{
    if (gFake.NotCharDevice) {
        ::SetLastError(kInjectedError);
        return FILE_TYPE_DISK;
    }
    return ::GetFileType(file);
}

BOOL WINAPI FakeSetupComm(HANDLE file, DWORD inQueue, DWORD outQueue)
{
    if (gFake.RefuseSetupComm) {
        ::SetLastError(kInjectedError);
        return FALSE;
    }
    return ::SetupComm(file, inQueue, outQueue);
}

BOOL WINAPI FakeSetCommState(HANDLE file, LPDCB dcb)
{
    ++gFake.SetCommStateCalls;
    gFake.Order.push_back("state");
    gFake.LastDcb = *dcb;
    return ::SetCommState(file, dcb);
}

BOOL WINAPI FakeSetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts)
{
    ++gFake.SetCommTimeoutsCalls;
    gFake.Order.push_back("timeouts");
    return ::SetCommTimeouts(file, timeouts);
}

HANDLE WINAPI FakeCreateEventW(LPSECURITY_ATTRIBUTES sa, BOOL manualReset, BOOL initialState, LPCWSTR name)
{
    if (++gFake.EventCalls == gFake.FailEventCall) {
        ::SetLastError(kInjectedError);
        return nullptr;
    }
    return ::CreateEventW(sa, manualReset, initialState, name);
}

HANDLE WINAPI FakeCreateThread(LPSECURITY_ATTRIBUTES sa, SIZE_T stack, LPTHREAD_START_ROUTINE start, LPVOID param,
                               DWORD flags, LPDWORD threadId)
{
    if (++gFake.ThreadCalls == gFake.FailThreadCall) {
        ::SetLastError(kInjectedError);
        return nullptr;
    }
    DWORD id = 0;
    const HANDLE thread = ::CreateThread(sa, stack, start, param, flags, &id);
    if (threadId)
        *threadId = id;
    HANDLE copy = nullptr;
    if (thread && ::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &copy, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS)) {
        gFake.Threads.emplace_back(copy);
        gFake.ThreadIds.push_back(id);
    }
    return thread;
}

TCommApi FakeApi()
{
    TCommApi api;
    api.CreateFileW = &FakeCreateFileW;
    api.GetFileType = &FakeGetFileType;
    api.SetupComm = &FakeSetupComm;
    api.SetCommState = &FakeSetCommState;
    api.SetCommTimeouts = &FakeSetCommTimeouts;
    api.CreateEventW = &FakeCreateEventW;
    api.CreateThread = &FakeCreateThread;
    return api;
}

// The far end of a line, opened by the test itself to see what the component's device sends.
// Synchronous: under Wine an overlapped read started while bytes already wait never completes.
win::FileHandle OpenRaw(const std::wstring& name)
{
    win::FileHandle file{::CreateFileW((L"\\\\.\\" + name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr)};
    if (file) {
        // A read ends 20 ms after the bytes stop, or after 3 s without any.
        COMMTIMEOUTS t{20, 0, 3000, 0, 0};
        ::SetCommTimeouts(file.get(), &t);
        ::PurgeComm(file.get(), PURGE_RXCLEAR | PURGE_TXCLEAR);
    }
    return file;
}

// Through the component's own, overlapped device handle.
bool WriteRaw(HANDLE file, const std::string& bytes)
{
    OVERLAPPED ov{};
    win::Handle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ov.hEvent = done.get();
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &ov)) {
        if (::GetLastError() != ERROR_IO_PENDING || ::WaitForSingleObject(done.get(), 3000) != WAIT_OBJECT_0 ||
            !::GetOverlappedResult(file, &ov, &written, FALSE)) {
            ::CancelIo(file);
            ::WaitForSingleObject(done.get(), 3000); // the record must outlive the write
            return false;
        }
    }
    return written == bytes.size();
}

std::string ReadRaw(HANDLE file, size_t want)
{
    std::string got;
    while (got.size() < want) {
        char buffer[256];
        DWORD count = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &count, nullptr) || count == 0)
            break; // nothing more within the bound
        got.append(buffer, count);
    }
    return got;
}

// Whether bytes written through the component's device arrive at the far end of that line.
bool LineCarries(TComm& comm, const std::wstring& farEnd, const std::string& bytes)
{
    win::FileHandle partner = OpenRaw(farEnd);
    if (!partner)
        return false;
    return WriteRaw(comm.ComHandle(), bytes) && ReadRaw(partner.get(), bytes.size()) == bytes;
}

std::vector<std::pair<std::wstring, std::wstring>> PortPairs()
{
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    const char* text = std::getenv("QM27K_PORT_PAIRS");
    if (!text)
        return pairs;
    const std::wstring all = Utf8ToWide(text);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(L' ', start);
        if (end == std::wstring::npos)
            end = all.size();
        const std::wstring pair = all.substr(start, end - start);
        const size_t colon = pair.find(L':');
        if (colon != std::wstring::npos)
            pairs.emplace_back(pair.substr(0, colon), pair.substr(colon + 1));
        start = end + 1;
    }
    return pairs;
}

std::string Narrow(const std::wstring& text) { return WideToUtf8(text); }

// Tests on a real line. Each one takes the first pair; the component under test opens its first port.
class CommPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gFake = TFakeState{};
        Pairs = PortPairs();
        if (Pairs.empty())
            GTEST_SKIP() << "QM27K_PORT_PAIRS is not set; run through tests/rig/wine-run";
        Port = Pairs[0].first;
        Partner = Pairs[0].second;
        WarmUp();
    }
    void TearDown() override { gFake = TFakeState{}; }

    TComm* NewComm(const TCommApi& api = FakeApi())
    {
        TComm* comm = Owner.Make<TComm>(api);
        comm->SetCommName(Port);
        return comm;
    }

    // The platform and the runtime make handles of their own the first time a process opens a
    // port, fails to open one and throws; they stay for good and are not ours to count.
    void WarmUp()
    {
        static bool done = false;
        if (done)
            return;
        done = true;
        TComm comm(nullptr, FakeApi());
        comm.SetCommName(L"QM27K_NO_SUCH_PORT");
        EXPECT_THROW(comm.OpenPort(), ECommsError);
        comm.SetCommName(Port);
        comm.OpenPort();
        comm.ClosePort();
        gFake = TFakeState{};
    }

    TComponent Owner{nullptr};
    std::vector<std::pair<std::wstring, std::wstring>> Pairs;
    std::wstring Port;
    std::wstring Partner;
};

// ---- The mapping of settings to the platform's control block, without a device.

TEST(CommSettings, FlagsWordOfDefaultsAndOfTheApplicationsSettings)
{
    const TCommSettings defaults;
    EXPECT_EQ(CommFlags(defaults), 0x1u | 0x4 | 0x8 | 0x10 | 0x80 | 0x1000);

    TCommSettings application; // no hardware flow control, RTS held off
    application.Outx_CtsFlow = false;
    application.Outx_DsrFlow = false;
    application.RtsControl = TRtsControl::RtsDisable;
    EXPECT_EQ(CommFlags(application), 0x1u | 0x10 | 0x80);
}

TEST(CommSettings, EachBooleanSetsExactlyItsBit)
{
    TCommSettings none;
    none.Outx_CtsFlow = none.Outx_DsrFlow = none.TxContinueOnXoff = false;
    none.DtrControl = TDtrControl::DtrDisable;
    none.RtsControl = TRtsControl::RtsDisable;
    ASSERT_EQ(CommFlags(none), 0x1u) << "fBinary alone";

    const std::pair<bool TCommSettings::*, DWORD> table[] = {
        {&TCommSettings::ParityCheck, 0x2},        {&TCommSettings::Outx_CtsFlow, 0x4},
        {&TCommSettings::Outx_DsrFlow, 0x8},       {&TCommSettings::DsrSensitivity, 0x40},
        {&TCommSettings::TxContinueOnXoff, 0x80},  {&TCommSettings::Outx_XonXoffFlow, 0x100},
        {&TCommSettings::Inx_XonXoffFlow, 0x200},  {&TCommSettings::ReplaceWhenParityError, 0x400},
        {&TCommSettings::IgnoreNullChar, 0x800},
    };
    for (const auto& [field, bit] : table) {
        TCommSettings one = none;
        one.*field = true;
        EXPECT_EQ(CommFlags(one), 0x1u | bit) << "bit " << bit;
    }
}

TEST(CommSettings, DtrAndRtsControlMapToThePlatformCodes)
{
    const std::pair<TDtrControl, DWORD> dtr[] = {
        {TDtrControl::DtrEnable, 0x10}, {TDtrControl::DtrDisable, 0}, {TDtrControl::DtrHandshake, 0x20}};
    const std::pair<TRtsControl, DWORD> rts[] = {{TRtsControl::RtsEnable, 0x1000},
                                                 {TRtsControl::RtsDisable, 0},
                                                 {TRtsControl::RtsHandshake, 0x2000},
                                                 {TRtsControl::RtsTransmissionAvailable, 0x3000}};
    for (const auto& [control, bits] : dtr) {
        TCommSettings s;
        s.DtrControl = control;
        EXPECT_EQ(CommFlags(s) & 0x30, bits) << "DtrControl ordinal " << static_cast<int>(control);
    }
    for (const auto& [control, bits] : rts) {
        TCommSettings s;
        s.RtsControl = control;
        EXPECT_EQ(CommFlags(s) & 0x3000, bits) << "RtsControl ordinal " << static_cast<int>(control);
    }
}

TEST(CommSettings, FlagBitsLandInTheControlBlocksFields)
{
    struct TRow {
        DWORD Flags;
        std::function<unsigned(const DCB&)> Field;
        unsigned Expected;
    };
    const TRow table[] = {
        {kFlagBinary, [](const DCB& d) { return d.fBinary; }, 1},
        {kFlagParity, [](const DCB& d) { return d.fParity; }, 1},
        {kFlagOutxCtsFlow, [](const DCB& d) { return d.fOutxCtsFlow; }, 1},
        {kFlagOutxDsrFlow, [](const DCB& d) { return d.fOutxDsrFlow; }, 1},
        {kFlagDtrEnable, [](const DCB& d) { return d.fDtrControl; }, DTR_CONTROL_ENABLE},
        {kFlagDtrHandshake, [](const DCB& d) { return d.fDtrControl; }, DTR_CONTROL_HANDSHAKE},
        {kFlagDsrSensitivity, [](const DCB& d) { return d.fDsrSensitivity; }, 1},
        {kFlagTxContinueOnXoff, [](const DCB& d) { return d.fTXContinueOnXoff; }, 1},
        {kFlagOutX, [](const DCB& d) { return d.fOutX; }, 1},
        {kFlagInX, [](const DCB& d) { return d.fInX; }, 1},
        {kFlagErrorChar, [](const DCB& d) { return d.fErrorChar; }, 1},
        {kFlagNull, [](const DCB& d) { return d.fNull; }, 1},
        {kFlagRtsEnable, [](const DCB& d) { return d.fRtsControl; }, RTS_CONTROL_ENABLE},
        {kFlagRtsHandshake, [](const DCB& d) { return d.fRtsControl; }, RTS_CONTROL_HANDSHAKE},
        {kFlagRtsToggle, [](const DCB& d) { return d.fRtsControl; }, RTS_CONTROL_TOGGLE},
    };
    for (const TRow& row : table) {
        DCB dcb{};
        dcb.BaudRate = 0xAAAAAAAA;
        dcb.wReserved = 0x5555;
        SetDcbFlags(dcb, row.Flags);
        EXPECT_EQ(row.Field(dcb), row.Expected) << "flags " << row.Flags;
        EXPECT_EQ(DcbFlags(dcb), row.Flags);
        EXPECT_EQ(dcb.BaudRate, 0xAAAAAAAAu) << "neighbours untouched";
        EXPECT_EQ(dcb.wReserved, 0x5555);
    }
}

TEST(CommSettings, ApplySettingsReplacesTheFlagsAndKeepsWhatTheDeviceOwns)
{
    DCB device{};
    device.DCBlength = sizeof device;
    SetDcbFlags(device, 0xFFFFFFFF); // fAbortOnError and the rest set by some driver
    device.EofChar = 0x1A;
    device.EvtChar = 0x7E;
    device.wReserved1 = 0x1234;

    TCommSettings s;
    s.BaudRate = 115200;
    s.XonLimit = 100;
    s.XoffLimit = 200;
    s.ByteSize = TByteSize::_7;
    s.Parity = TParity::Mark;
    s.StopBits = TStopBits::_2;
    s.XonChar = 0x21;
    s.XoffChar = 0x22;
    s.ReplacedChar = '?';

    const DCB dcb = ApplySettings(device, s);
    EXPECT_EQ(dcb.BaudRate, 115200u);
    EXPECT_EQ(DcbFlags(dcb), CommFlags(s));
    EXPECT_EQ(dcb.fAbortOnError, 0u);
    EXPECT_EQ(dcb.XonLim, 100);
    EXPECT_EQ(dcb.XoffLim, 200);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, MARKPARITY);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.XonChar, 0x21);
    EXPECT_EQ(dcb.XoffChar, 0x22);
    EXPECT_EQ(dcb.ErrorChar, '?');
    EXPECT_EQ(dcb.EofChar, 0x1A);
    EXPECT_EQ(dcb.EvtChar, 0x7E);
    EXPECT_EQ(dcb.wReserved1, 0x1234);
}

TEST(CommSettings, EnumerationsGiveThePlatformsCodes)
{
    const std::pair<TByteSize, BYTE> sizes[] = {
        {TByteSize::_5, 5}, {TByteSize::_6, 6}, {TByteSize::_7, 7}, {TByteSize::_8, 8}};
    const std::pair<TParity, BYTE> parities[] = {{TParity::None, NOPARITY},
                                                 {TParity::Odd, ODDPARITY},
                                                 {TParity::Even, EVENPARITY},
                                                 {TParity::Mark, MARKPARITY},
                                                 {TParity::Space, SPACEPARITY}};
    const std::pair<TStopBits, BYTE> stops[] = {
        {TStopBits::_1, ONESTOPBIT}, {TStopBits::_1_5, ONE5STOPBITS}, {TStopBits::_2, TWOSTOPBITS}};
    for (const auto& [size, code] : sizes) {
        TCommSettings s;
        s.ByteSize = size;
        EXPECT_EQ(ApplySettings(DCB{}, s).ByteSize, code);
    }
    for (const auto& [parity, code] : parities) {
        TCommSettings s;
        s.Parity = parity;
        EXPECT_EQ(ApplySettings(DCB{}, s).Parity, code);
    }
    for (const auto& [stop, code] : stops) {
        TCommSettings s;
        s.StopBits = stop;
        EXPECT_EQ(ApplySettings(DCB{}, s).StopBits, code);
    }
}

TEST(CommSettings, TimeoutsInThePlatformsOrder)
{
    TCommSettings s;
    s.ReadIntervalTimeout = 1;
    s.ReadTotalTimeoutMultiplier = 2;
    s.ReadTotalTimeoutConstant = 3;
    s.WriteTotalTimeoutMultiplier = 4;
    s.WriteTotalTimeoutConstant = 5;
    const COMMTIMEOUTS t = CommTimeouts(s);
    EXPECT_EQ(t.ReadIntervalTimeout, 1u);
    EXPECT_EQ(t.ReadTotalTimeoutMultiplier, 2u);
    EXPECT_EQ(t.ReadTotalTimeoutConstant, 3u);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 4u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 5u);
}

// ---- The component without a device.

TEST(CommComponent, FreshComponentHoldsTheDefaultsAndPublishesThem)
{
    gFake = TFakeState{};
    TComm comm(nullptr, FakeApi());
    EXPECT_EQ(comm.ComHandle(), nullptr);
    EXPECT_TRUE(comm.TxQueueEmpty());
    EXPECT_TRUE(::IsWindow(comm.NotifyWindow()));
    EXPECT_EQ(comm.ClassName(), L"TComm");
    EXPECT_TRUE(comm.InheritsFrom(TComponent::StaticClass));
    EXPECT_TRUE(gFake.OpenedPaths.empty()) << "construction touches no device";

    const std::pair<const wchar_t*, const wchar_t*> published[] = {
        {L"ComHandle", L"0"},
        {L"CommName", L"COM2"},
        {L"BaudRate", L"9600"},
        {L"ParityCheck", L"False"},
        {L"Outx_CtsFlow", L"True"},
        {L"Outx_DsrFlow", L"True"},
        {L"DtrControl", L"DtrEnable"},
        {L"DsrSensitivity", L"False"},
        {L"TxContinueOnXoff", L"True"},
        {L"Outx_XonXoffFlow", L"False"},
        {L"Inx_XonXoffFlow", L"False"},
        {L"ReplaceWhenParityError", L"False"},
        {L"IgnoreNullChar", L"False"},
        {L"RtsControl", L"RtsEnable"},
        {L"XonLimit", L"10"},
        {L"XoffLimit", L"10"},
        {L"ByteSize", L"_8"},
        {L"Parity", L"None"},
        {L"StopBits", L"_1"},
        {L"XonChar", L"17"},
        {L"XoffChar", L"19"},
        {L"ReplacedChar", L"0"},
        {L"ReadIntervalTimeout", L"10"},
        {L"ReadTotalTimeoutMultiplier", L"0"},
        {L"ReadTotalTimeoutConstant", L"0"},
        {L"WriteTotalTimeoutMultiplier", L"0"},
        {L"WriteTotalTimeoutConstant", L"0"},
    };
    for (const auto& [name, text] : published)
        EXPECT_EQ(comm.GetPropValue(name).value_or(L"<missing>"), text) << Narrow(name);

    // The getters agree with the text.
    EXPECT_EQ(comm.CommName(), L"COM2");
    EXPECT_EQ(comm.BaudRate(), 9600u);
    EXPECT_EQ(comm.DtrControl(), TDtrControl::DtrEnable);
    EXPECT_EQ(comm.RtsControl(), TRtsControl::RtsEnable);
    EXPECT_EQ(comm.ByteSize(), TByteSize::_8);
    EXPECT_EQ(comm.Parity(), TParity::None);
    EXPECT_EQ(comm.StopBits(), TStopBits::_1);
    EXPECT_EQ(comm.XonChar(), 17);
    EXPECT_EQ(comm.XoffChar(), 19);
}

TEST(CommComponent, PublishedPropertiesTakeTextAndRejectBadValues)
{
    TComm comm(nullptr);
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> good[] = {
        {L"Parity", L"even", L"Even"},
        {L"ByteSize", L"_7", L"_7"},
        {L"StopBits", L"_1_5", L"_1_5"},
        {L"DtrControl", L"DtrHandshake", L"DtrHandshake"},
        {L"RtsControl", L"RtsTransmissionAvailable", L"RtsTransmissionAvailable"},
        {L"BaudRate", L"115200", L"115200"},
        {L"XonLimit", L"65535", L"65535"},
        {L"XonChar", L"$41", L"65"},
        {L"ReplacedChar", L"255", L"255"},
        {L"ParityCheck", L"true", L"True"},
        {L"CommName", L"COM7", L"COM7"},
        {L"ReadIntervalTimeout", L"$FFFFFFFF", L"4294967295"},
    };
    for (const auto& [name, in, out] : good) {
        EXPECT_TRUE(comm.SetPropValue(name, in)) << Narrow(name);
        EXPECT_EQ(comm.GetPropValue(name).value_or(L"<missing>"), out) << Narrow(name);
    }
    EXPECT_EQ(comm.Parity(), TParity::Even);
    EXPECT_EQ(comm.ReplacedChar(), static_cast<char>(0xFF));
    EXPECT_EQ(comm.ReadIntervalTimeout(), MAXDWORD);

    const std::pair<const wchar_t*, const wchar_t*> bad[] = {
        {L"Parity", L"Bogus"}, {L"ByteSize", L"8"},  {L"XonLimit", L"65536"},  {L"XonChar", L"256"},
        {L"BaudRate", L"-1"},  {L"BaudRate", L"x"}, {L"ParityCheck", L"yes"}, {L"StopBits", L""},
    };
    for (const auto& [name, text] : bad) {
        const std::wstring before = comm.GetPropValue(name).value_or(L"");
        EXPECT_THROW(comm.SetPropValue(name, text), EConvertError) << Narrow(name) << "=" << Narrow(text);
        EXPECT_EQ(comm.GetPropValue(name).value_or(L""), before) << "unchanged after a bad value";
    }
    EXPECT_FALSE(comm.SetPropValue(L"ComHandle", L"42")) << "read-only";
    EXPECT_EQ(comm.GetPropValue(L"ComHandle"), L"0");
}

TEST(CommComponent, SettersAndClosePortWhileClosedTouchNoDevice)
{
    gFake = TFakeState{};
    TComm comm(nullptr, FakeApi());
    comm.SetBaudRate(19200);
    comm.SetByteSize(TByteSize::_7);
    comm.SetStopBits(TStopBits::_2);
    comm.SetParity(TParity::Odd);
    comm.SetDtrControl(TDtrControl::DtrDisable);
    comm.SetReadIntervalTimeout(40);
    comm.SetWriteTotalTimeoutConstant(7);
    comm.ClosePort();
    comm.ClosePort();
    EXPECT_EQ(gFake.SetCommStateCalls, 0);
    EXPECT_EQ(gFake.SetCommTimeoutsCalls, 0);
    EXPECT_TRUE(gFake.OpenedPaths.empty());
    EXPECT_EQ(comm.ComHandle(), nullptr);
    EXPECT_EQ(comm.BaudRate(), 19200u);
    EXPECT_EQ(comm.ByteSize(), TByteSize::_7);
    EXPECT_EQ(comm.StopBits(), TStopBits::_2);
    EXPECT_EQ(comm.Parity(), TParity::Odd);
    EXPECT_EQ(comm.ReadIntervalTimeout(), 40u);
    EXPECT_EQ(comm.WriteTotalTimeoutConstant(), 7u);
}

// ---- The notify window.

TEST(CommNotify, EachNotificationBecomesItsEventInPostingOrder)
{
    TComm comm(nullptr);
    std::vector<std::string> seen;
    TObject* sender = nullptr;
    comm.OnReceiveData = [&](TObject* Sender, void* Buffer, uint16_t BufferLength) {
        sender = Sender;
        const auto* bytes = static_cast<const char*>(Buffer);
        seen.push_back("data " + std::string(bytes, BufferLength) + (bytes[BufferLength] == 0 ? " +0" : " no0"));
    };
    comm.OnReceiveError = [&](TObject*, uint32_t EventMask) { seen.push_back("error " + std::to_string(EventMask)); };
    comm.OnModemStateChange = [&](TObject*, uint32_t ModemEvent) { seen.push_back("modem " + std::to_string(ModemEvent)); };
    comm.OnRequestHangup = [&](TObject*) { seen.push_back("hangup"); };
    comm.OnSendDataEmpty = [&](TObject*) { seen.push_back("txempty"); };

    const HWND window = comm.NotifyWindow();
    TCommBlock first = MakeCommBlock("AB", 2);
    ASSERT_TRUE(PostCommBlock(window, first, 2));
    ::PostMessageW(window, MSG_COMM_ERROR, 0, CE_FRAME | CE_OVERRUN);
    ::PostMessageW(window, MSG_COMM_MODEM, 0, 12);
    ::PostMessageW(window, MSG_COMM_HANGUP, 0, 0);
    ::PostMessageW(window, MSG_COMM_TXEMPTY, 0, 0);
    TWatchedBlock last("XYZ");
    // Only the low 16 bits of wParam are the length.
    ASSERT_TRUE(::PostMessageW(window, MSG_COMM_DATA, 0x10000 | 3, reinterpret_cast<LPARAM>(last.Block.get())));
    (void)last.Block.release();
    PumpMessages();

    const std::vector<std::string> expected = {
        "data AB +0", "error " + std::to_string(CE_FRAME | CE_OVERRUN), "modem 12", "hangup", "txempty", "data XYZ +0"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(sender, &comm);
    EXPECT_TRUE(TWatchedBlock::Freed());
}

TEST(CommNotify, DataWithoutAHandlerIsStillFreedAndOtherEventsAreSkipped)
{
    TComm comm(nullptr);
    TWatchedBlock block("\x01\x03\x04");
    ASSERT_TRUE(block.Post(comm.NotifyWindow()));
    ::PostMessageW(comm.NotifyWindow(), MSG_COMM_ERROR, 0, CE_RXPARITY);
    ::PostMessageW(comm.NotifyWindow(), MSG_COMM_HANGUP, 0, 0);
    EXPECT_FALSE(TWatchedBlock::Freed()) << "not before the window handled it";
    PumpMessages();
    EXPECT_TRUE(TWatchedBlock::Freed());
}

TEST(CommNotify, AThrowingHandlerNeitherLeaksTheBlockNorStopsLaterEvents)
{
    TApplication application;
    std::vector<std::wstring> reported;
    application.OnException = [&](const std::wstring& message) { reported.push_back(message); };

    TComm comm(nullptr);
    int calls = 0;
    comm.OnReceiveData = [&](TObject*, void*, uint16_t) {
        ++calls;
        throw ECommsError(L"handler failed");
    };
    bool hangup = false;
    comm.OnRequestHangup = [&](TObject*) { hangup = true; };

    TWatchedBlock block("12345");
    ASSERT_TRUE(block.Post(comm.NotifyWindow()));
    ::PostMessageW(comm.NotifyWindow(), MSG_COMM_HANGUP, 0, 0);
    PumpMessages();

    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(TWatchedBlock::Freed());
    EXPECT_EQ(reported, std::vector<std::wstring>{L"handler failed"}) << "the application's error box";
    EXPECT_TRUE(hangup);
}

TEST(CommNotify, OtherMessagesGetTheDefaultProcessing)
{
    TComm comm(nullptr);
    EXPECT_TRUE(::SendMessageW(comm.NotifyWindow(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"probe")));
    wchar_t text[16] = {};
    EXPECT_EQ(::SendMessageW(comm.NotifyWindow(), WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, L"probe");
}

TEST(CommNotify, DestroyingTheComponentFreesBlocksStillQueued)
{
    TComponent owner(nullptr);
    TComm* comm = owner.Make<TComm>();
    bool handled = false;
    comm->OnReceiveData = [&](TObject*, void*, uint16_t) { handled = true; };
    const HWND window = comm->NotifyWindow();
    TWatchedBlock block("queued");
    ASSERT_TRUE(block.Post(window));
    owner.FreeComponent(comm);
    EXPECT_TRUE(TWatchedBlock::Freed());
    EXPECT_FALSE(handled) << "a destroyed component raises nothing";
    EXPECT_FALSE(::IsWindow(window));
    PumpMessages();
    EXPECT_FALSE(handled);
}

// ---- On a real line.

TEST_F(CommPortTest, OpenPortStartsBothThreadsAndClosePortEndsThem)
{
    TComm* comm = NewComm();
    comm->OpenPort();
    const HANDLE device = comm->ComHandle();
    ASSERT_NE(device, nullptr);
    EXPECT_NE(comm->GetPropValue(L"ComHandle"), L"0");
    EXPECT_EQ(gFake.OpenedPaths, std::vector<std::wstring>{L"\\\\.\\" + Port});
    EXPECT_TRUE(comm->TxQueueEmpty());

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    EXPECT_TRUE(::GetCommState(device, &dcb));
    EXPECT_EQ(dcb.BaudRate, 9600u);

    ASSERT_EQ(gFake.Threads.size(), 2u) << "reader, then writer";
    const HANDLE reader = gFake.Threads[0].get();
    const HANDLE writer = gFake.Threads[1].get();
    EXPECT_FALSE(HasEnded(reader));
    EXPECT_FALSE(HasEnded(writer));
    EXPECT_EQ(::GetThreadPriority(reader), THREAD_PRIORITY_HIGHEST);
    EXPECT_EQ(::GetThreadPriority(writer), THREAD_PRIORITY_ABOVE_NORMAL);
    // A suspend count of 0 means the thread was started, not just created.
    EXPECT_EQ(::ResumeThread(reader), 0u);
    EXPECT_EQ(::ResumeThread(writer), 0u);
    // The writer's queue exists as soon as OpenPort returns.
    EXPECT_TRUE(::PostThreadMessageW(gFake.ThreadIds[1], WM_USER + 100, 0, 0));

    comm->ClosePort();
    EXPECT_EQ(comm->ComHandle(), nullptr);
    EXPECT_EQ(comm->GetPropValue(L"ComHandle"), L"0");
    EXPECT_TRUE(HasEnded(reader));
    EXPECT_TRUE(HasEnded(writer));
    EXPECT_TRUE(comm->TxQueueEmpty());

    comm->ClosePort(); // closed: nothing
    EXPECT_EQ(comm->ComHandle(), nullptr);

    comm->OpenPort(); // the pair repeats on one component
    EXPECT_NE(comm->ComHandle(), nullptr);
    EXPECT_EQ(gFake.Threads.size(), 4u);
    comm->ClosePort();
    EXPECT_EQ(comm->ComHandle(), nullptr);
}

TEST_F(CommPortTest, PropertiesBecomeTheControlBlockAndTimeouts)
{
    // A pseudo-terminal reports only baud rate, stop bits and CTS flow back through GetCommState
    // (the kernel keeps it at 8 data bits without parity, and DTR/RTS cannot be read), so the
    // block handed to the driver is checked as well.
    TComm* comm = NewComm();
    comm->SetBaudRate(19200);
    comm->SetByteSize(TByteSize::_7);
    comm->SetStopBits(TStopBits::_2);
    comm->SetParity(TParity::Even);
    comm->SetDtrControl(TDtrControl::DtrDisable);
    comm->SetRtsControl(TRtsControl::RtsDisable);
    comm->SetOutx_CtsFlow(false);
    comm->SetOutx_DsrFlow(false);
    comm->SetXonLimit(30);
    comm->SetXoffLimit(40);
    comm->SetReplacedChar('#');
    comm->SetReadIntervalTimeout(25);
    comm->SetWriteTotalTimeoutMultiplier(3);
    comm->OpenPort();

    EXPECT_EQ(gFake.Order, (std::vector<std::string>{"timeouts", "state"})) << "time-outs first";
    const DCB& sent = gFake.LastDcb;
    EXPECT_EQ(sent.BaudRate, 19200u);
    EXPECT_EQ(DcbFlags(sent), kFlagBinary | kFlagTxContinueOnXoff);
    EXPECT_EQ(sent.fDtrControl, 0u);
    EXPECT_EQ(sent.fRtsControl, 0u);
    EXPECT_EQ(sent.ByteSize, 7);
    EXPECT_EQ(sent.StopBits, TWOSTOPBITS);
    EXPECT_EQ(sent.Parity, EVENPARITY);
    EXPECT_EQ(sent.XonLim, 30);
    EXPECT_EQ(sent.XoffLim, 40);
    EXPECT_EQ(sent.XonChar, 17);
    EXPECT_EQ(sent.XoffChar, 19);
    EXPECT_EQ(sent.ErrorChar, '#');

    DCB line{};
    line.DCBlength = sizeof line;
    ASSERT_TRUE(::GetCommState(comm->ComHandle(), &line));
    EXPECT_EQ(line.BaudRate, 19200u);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
    EXPECT_EQ(line.fOutxCtsFlow, 0u);
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(::GetCommTimeouts(comm->ComHandle(), &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, 25u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 3u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 0u);
    comm->ClosePort();

    // The defaults: DTR and RTS enabled, CTS and DSR flow on.
    TComm* plain = NewComm();
    plain->OpenPort();
    EXPECT_EQ(DcbFlags(gFake.LastDcb), 0x109Du);
    EXPECT_EQ(gFake.LastDcb.fDtrControl, static_cast<unsigned>(DTR_CONTROL_ENABLE)); // 0x10 in the word
    EXPECT_EQ(gFake.LastDcb.fRtsControl, static_cast<unsigned>(RTS_CONTROL_ENABLE)); // 0x1000 in the word
    EXPECT_EQ(gFake.LastDcb.ByteSize, 8);
    ASSERT_TRUE(::GetCommState(plain->ComHandle(), &line));
    EXPECT_EQ(line.fOutxCtsFlow, 1u);
    EXPECT_EQ(line.BaudRate, 9600u);
    plain->ClosePort();
}

TEST_F(CommPortTest, SettersApplyAtOnceWhileOpenAndOnlyOnChange)
{
    TComm* comm = NewComm();
    comm->OpenPort();
    const HANDLE device = comm->ComHandle();
    DCB line{};
    line.DCBlength = sizeof line;

    const int states = gFake.SetCommStateCalls;
    comm->SetBaudRate(19200);
    EXPECT_EQ(gFake.SetCommStateCalls, states + 1);
    ASSERT_TRUE(::GetCommState(device, &line));
    EXPECT_EQ(line.BaudRate, 19200u);
    comm->SetBaudRate(19200);
    EXPECT_EQ(gFake.SetCommStateCalls, states + 1) << "the same value makes no device call";

    comm->SetStopBits(TStopBits::_2);
    ASSERT_TRUE(::GetCommState(device, &line));
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
    EXPECT_TRUE(comm->SetPropValue(L"BaudRate", L"4800"));
    ASSERT_TRUE(::GetCommState(device, &line));
    EXPECT_EQ(line.BaudRate, 4800u);
    EXPECT_EQ(gFake.SetCommStateCalls, states + 3);

    const int timeoutCalls = gFake.SetCommTimeoutsCalls;
    comm->SetReadIntervalTimeout(50);
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(::GetCommTimeouts(device, &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, 50u);
    comm->SetReadIntervalTimeout(50);
    EXPECT_EQ(gFake.SetCommTimeoutsCalls, timeoutCalls + 1);
    EXPECT_EQ(gFake.SetCommStateCalls, states + 3) << "a time-out leaves the control block alone";
    comm->ClosePort();
}

TEST_F(CommPortTest, ParityAndCommNameReachTheLineOnlyAtTheNextOpen)
{
    if (Pairs.size() < 2)
        GTEST_SKIP() << "needs two port pairs in QM27K_PORT_PAIRS";
    const auto& [otherPort, otherPartner] = Pairs[1];
    TComm* comm = NewComm();
    comm->OpenPort();
    const int states = gFake.SetCommStateCalls;

    comm->SetParity(TParity::Even);
    comm->SetCommName(otherPort);
    EXPECT_EQ(gFake.SetCommStateCalls, states);
    EXPECT_EQ(gFake.LastDcb.Parity, NOPARITY);
    EXPECT_TRUE(LineCarries(*comm, Partner, "still the first line"));

    comm->ClosePort();
    comm->OpenPort();
    EXPECT_EQ(gFake.OpenedPaths.back(), L"\\\\.\\" + otherPort);
    EXPECT_EQ(gFake.LastDcb.Parity, EVENPARITY);
    EXPECT_TRUE(LineCarries(*comm, otherPartner, "now the second"));
    comm->ClosePort();
}

TEST_F(CommPortTest, OpenPortOnAnOpenPortRaisesAndLeavesItWorking)
{
    TComm* comm = NewComm();
    comm->OpenPort();
    const HANDLE device = comm->ComHandle();
    try {
        comm->OpenPort();
        ADD_FAILURE() << "no exception";
    } catch (const ECommsError& e) {
        EXPECT_EQ(e.Message(), L"This serial port already opened");
    }
    EXPECT_EQ(comm->ComHandle(), device);
    EXPECT_EQ(gFake.OpenedPaths.size(), 1u) << "no second open of the device";
    ASSERT_EQ(gFake.Threads.size(), 2u);
    EXPECT_FALSE(HasEnded(gFake.Threads[0].get()));
    EXPECT_FALSE(HasEnded(gFake.Threads[1].get()));
    EXPECT_TRUE(LineCarries(*comm, Partner, "\x01\x03\x00\x00\x00\x02\xC4\x0B"));
    comm->ClosePort();
}

TEST_F(CommPortTest, AMissingPortRaisesErrorOpeningAndLeavesNothingOpen)
{
    // Wine does not make a COM port exclusive, so a port held by another program cannot be shown here.
    TComm* comm = NewComm();
    comm->SetCommName(L"QM27K_NO_SUCH_PORT");
    const size_t before = OpenHandleCount();
    try {
        comm->OpenPort();
        ADD_FAILURE() << "no exception";
    } catch (const ECommsError& e) {
        EXPECT_EQ(e.Message(), L"Error opening serial port");
    }
    EXPECT_EQ(comm->ComHandle(), nullptr);
    EXPECT_TRUE(gFake.Threads.empty());
    EXPECT_EQ(OpenHandleCount(), before);

    comm->SetCommName(Port);
    comm->OpenPort();
    EXPECT_NE(comm->ComHandle(), nullptr);
    comm->ClosePort();
}

TEST_F(CommPortTest, EachFailedOpenUndoesItsStepsAndALaterOpenSucceeds)
{
    struct TRow {
        const char* Fault;
        std::function<void(TFakeState&)> Inject;
        const wchar_t* Message;
        size_t ThreadsCreated;
    };
    const TRow table[] = {
        {"not a character device", [](TFakeState& f) { f.NotCharDevice = true; }, L"File handle is not a comm handle ", 0},
        {"queues refused", [](TFakeState& f) { f.RefuseSetupComm = true; }, L"Cannot setup comm buffer", 0},
        {"stop event refused", [](TFakeState& f) { f.FailEventCall = 1; }, L"Unable to create event", 0},
        {"reader's read signal refused", [](TFakeState& f) { f.FailEventCall = 2; }, L"Unable to create read thread", 0},
        {"reader refused", [](TFakeState& f) { f.FailThreadCall = 1; }, L"Unable to create read thread", 0},
        {"writer's queue signal refused", [](TFakeState& f) { f.FailEventCall = 3; }, L"Unable to create write thread", 1},
        {"writer refused", [](TFakeState& f) { f.FailThreadCall = 2; }, L"Unable to create write thread", 1},
    };
    for (const TRow& row : table) {
        SCOPED_TRACE(row.Fault);
        gFake = TFakeState{};
        TComm* comm = NewComm();
        const size_t before = OpenHandleCount();
        row.Inject(gFake);
        try {
            comm->OpenPort();
            ADD_FAILURE() << "no exception";
        } catch (const ECommsError& e) {
            EXPECT_EQ(e.Message(), row.Message);
        }
        EXPECT_EQ(comm->ComHandle(), nullptr);
        EXPECT_EQ(gFake.Threads.size(), row.ThreadsCreated);
        for (const win::Handle& thread : gFake.Threads)
            EXPECT_TRUE(HasEnded(thread.get())) << "a reader that never ran is still stopped";
        gFake.Threads.clear();
        EXPECT_EQ(OpenHandleCount(), before) << "nothing of the failed attempt stays open";

        gFake = TFakeState{};
        comm->OpenPort();
        EXPECT_NE(comm->ComHandle(), nullptr);
        comm->ClosePort();
        gFake.Threads.clear();
        EXPECT_EQ(OpenHandleCount(), before);
        Owner.FreeComponent(comm);
    }
}

TEST_F(CommPortTest, AHundredOpenCloseCyclesLeaveNoHandleBehind)
{
    TComm* comm = NewComm(TCommApi{});
    const size_t before = OpenHandleCount();
    const DWORD reportedBefore = ProcessHandleCount();
    for (int cycle = 0; cycle < 100; ++cycle) {
        comm->OpenPort();
        ASSERT_NE(comm->ComHandle(), nullptr) << "cycle " << cycle;
        comm->ClosePort();
    }
    const size_t after = OpenHandleCount();
    const DWORD reportedAfter = ProcessHandleCount();
    std::printf("open handles before/after 100 cycles: %zu/%zu (GetProcessHandleCount %lu/%lu)\n", before, after,
                static_cast<unsigned long>(reportedBefore), static_cast<unsigned long>(reportedAfter));
    EXPECT_EQ(after, before);
}

TEST_F(CommPortTest, NotificationsPostedBeforeClosePortAreDeliveredAfterIt)
{
    TComm* comm = NewComm();
    std::string received;
    comm->OnReceiveData = [&](TObject*, void* Buffer, uint16_t BufferLength) {
        received.assign(static_cast<const char*>(Buffer), BufferLength);
    };
    comm->OpenPort();
    TWatchedBlock block("\x01\x03\x04\x00\xFA\x01\xF4");
    ASSERT_TRUE(block.Post(comm->NotifyWindow()));
    comm->ClosePort();
    EXPECT_TRUE(received.empty());
    PumpMessages();
    EXPECT_EQ(received, std::string("\x01\x03\x04\x00\xFA\x01\xF4"));
    EXPECT_TRUE(TWatchedBlock::Freed());
}

TEST_F(CommPortTest, DestroyingAnOpenComponentClosesThePort)
{
    TComm* comm = NewComm();
    const size_t before = OpenHandleCount();
    bool handled = false;
    comm->OnReceiveData = [&](TObject*, void*, uint16_t) { handled = true; };
    comm->OpenPort();
    ASSERT_EQ(gFake.Threads.size(), 2u);
    TWatchedBlock block("unhandled");
    ASSERT_TRUE(block.Post(comm->NotifyWindow()));

    Owner.FreeComponent(comm);
    EXPECT_TRUE(HasEnded(gFake.Threads[0].get()));
    EXPECT_TRUE(HasEnded(gFake.Threads[1].get()));
    EXPECT_TRUE(TWatchedBlock::Freed());
    gFake.Threads.clear();
    EXPECT_EQ(OpenHandleCount(), before);
    PumpMessages();
    EXPECT_FALSE(handled);

    TComm* next = NewComm();
    next->OpenPort();
    EXPECT_NE(next->ComHandle(), nullptr);
    next->ClosePort();
}

} // namespace
