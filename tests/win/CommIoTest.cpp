// The receive and transmit paths of the serial port component, on the rig's pseudo-terminal lines.
#include "tests/win/TestSupport.h"
#include "tests/support/RigLineDrop.h"

#include "comm/Comm.h"
#include "comm/CommEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

// Blocks of the sizes a test watches are counted while alive, so a test can see that the
// component let every one of them go.
namespace {
constexpr size_t kWatchSlots = 64;
std::array<std::atomic<void*>, kWatchSlots> gLiveBlocks{};
std::array<std::atomic<size_t>, 4> gWatchedSizes{};

bool Watched(size_t size)
{
    for (const auto& watched : gWatchedSizes)
        if (watched.load() == size)
            return true;
    return false;
}

void Remember(void* p)
{
    for (auto& slot : gLiveBlocks) {
        void* expected = nullptr;
        if (slot.compare_exchange_strong(expected, p))
            return;
    }
}

void Forget(void* p)
{
    for (auto& slot : gLiveBlocks) {
        void* expected = p;
        if (slot.compare_exchange_strong(expected, nullptr))
            return;
    }
}
} // namespace

void* operator new[](std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    if (Watched(size))
        Remember(p);
    return p;
}
void operator delete[](void* p) noexcept
{
    if (p)
        Forget(p);
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept { operator delete[](p); }

namespace {

// Blocks of these byte counts (the component adds one 0 byte) are counted while the object lives.
class TBlockWatch {
public:
    explicit TBlockWatch(std::initializer_list<size_t> lengths)
    {
        size_t i = 0;
        for (const size_t length : lengths)
            gWatchedSizes[i++] = length + 1;
    }
    ~TBlockWatch()
    {
        for (auto& size : gWatchedSizes)
            size = 0;
        for (auto& slot : gLiveBlocks)
            slot = nullptr;
    }
    static size_t Live()
    {
        size_t count = 0;
        for (const auto& slot : gLiveBlocks)
            count += slot.load() != nullptr;
        return count;
    }
};

// GetProcessHandleCount is a stub answering 0 under Wine, so the handle table is probed directly.
size_t OpenHandleCount()
{
    size_t count = 0;
    for (uintptr_t value = 4; value < (1u << 14); value += 4) {
        DWORD flags;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

// Bytes 1..251 over and over, shifted by seed: no 0 byte, so a trailing 0 that went out would show.
std::string Pattern(size_t length, unsigned seed)
{
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(1 + (i + seed) % 251);
    return bytes;
}

// The far end of a line, played by the test with plain synchronous I/O.
class TPeer {
public:
    explicit TPeer(const std::wstring& name)
        : FFile(::CreateFileW((L"\\\\.\\" + name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr))
    {
        if (!FFile)
            return;
        // A read ends 20 ms after the bytes stop, or after 3 s without any.
        COMMTIMEOUTS timeouts{20, 0, 3000, 0, 0};
        ::SetCommTimeouts(FFile.get(), &timeouts);
        ::PurgeComm(FFile.get(), PURGE_RXCLEAR | PURGE_TXCLEAR);
    }
    bool Valid() const { return FFile.valid(); }

    bool Write(const std::string& bytes)
    {
        DWORD written = 0;
        return ::WriteFile(FFile.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    }
    // Up to want bytes; fewer when the line stays quiet for the read's bound.
    std::string Read(size_t want)
    {
        std::string got;
        std::vector<char> buffer(4096);
        while (got.size() < want) {
            DWORD count = 0;
            const DWORD ask = static_cast<DWORD>(std::min(buffer.size(), want - got.size()));
            if (!::ReadFile(FFile.get(), buffer.data(), ask, &count, nullptr) || count == 0)
                break;
            got.append(buffer.data(), count);
        }
        return got;
    }
    // Bytes waiting on this end, unread.
    DWORD Queued()
    {
        DWORD errors = 0;
        COMSTAT status{};
        return ::ClearCommError(FFile.get(), &errors, &status) ? status.cbInQue : 0;
    }

private:
    win::FileHandle FFile;
};

// The seam: the real calls, with scripted answers switched on per test. The workers make these
// calls, so everything a fake touches is an atomic set before the port opens.
struct TFakeLine {
    std::atomic<DWORD> RefuseMaskWith{0};                 // SetCommMask fails with this error
    std::array<std::atomic<DWORD>, 8> ImmediateEvents{};  // WaitCommEvent completes at once with these, in turn
    std::atomic<size_t> NextEvent{0};
    std::atomic<DWORD> RefuseWaitWith{0};                 // then WaitCommEvent fails with this error
    std::atomic<int> WriteCalls{0};
    std::atomic<DWORD> LastWriteLength{0};
    std::atomic<DWORD> FailWriteWith{0}; // WriteFile fails with this error
    std::atomic<bool> ShortWrite{false}; // WriteFile sends one byte less than asked
    std::atomic<HANDLE> HoldWrites{nullptr}; // WriteFile waits for this event first: a slow driver
    std::atomic<int> WritesEntered{0};
};
TFakeLine gLine;

BOOL WINAPI FakeSetCommMask(HANDLE file, DWORD mask)
{
    if (const DWORD error = gLine.RefuseMaskWith.load()) {
        ::SetLastError(error);
        return FALSE;
    }
    return ::SetCommMask(file, mask);
}

BOOL WINAPI FakeWaitCommEvent(HANDLE file, LPDWORD mask, LPOVERLAPPED record)
{
    const size_t next = gLine.NextEvent.load();
    if (next < gLine.ImmediateEvents.size() && gLine.ImmediateEvents[next].load() != 0) {
        *mask = gLine.ImmediateEvents[next].load() & ~0x80000000u; // the top bit lets a script say "mask 0"
        gLine.NextEvent = next + 1;
        return TRUE;
    }
    if (const DWORD error = gLine.RefuseWaitWith.load()) {
        ::SetLastError(error);
        return FALSE;
    }
    return ::WaitCommEvent(file, mask, record);
}

BOOL WINAPI FakeWriteFile(HANDLE file, LPCVOID bytes, DWORD length, LPDWORD written, LPOVERLAPPED record)
{
    ++gLine.WritesEntered;
    if (const HANDLE hold = gLine.HoldWrites.load())
        ::WaitForSingleObject(hold, 10000);
    ++gLine.WriteCalls;
    gLine.LastWriteLength = length;
    if (const DWORD error = gLine.FailWriteWith.load()) {
        ::SetLastError(error);
        return FALSE;
    }
    return ::WriteFile(file, bytes, gLine.ShortWrite.load() && length > 1 ? length - 1 : length, written, record);
}

TCommApi FakeApi()
{
    TCommApi api;
    api.SetCommMask = &FakeSetCommMask;
    api.WaitCommEvent = &FakeWaitCommEvent;
    api.WriteFile = &FakeWriteFile;
    return api;
}

// What the component raised, in order.
struct TRecorder {
    std::vector<std::string> Blocks;
    std::vector<bool> ZeroBehind;
    std::string Received;
    std::vector<uint32_t> Errors;
    std::vector<uint32_t> Modem;
    int Hangups = 0;
    int SendEmpty = 0;

    void Attach(TComm& comm)
    {
        comm.OnReceiveData = [this](TObject*, void* Buffer, uint16_t BufferLength) {
            const auto* bytes = static_cast<const char*>(Buffer);
            Blocks.emplace_back(bytes, BufferLength);
            ZeroBehind.push_back(bytes[BufferLength] == 0);
            Received.append(bytes, BufferLength);
        };
        comm.OnReceiveError = [this](TObject*, uint32_t EventMask) { Errors.push_back(EventMask); };
        comm.OnModemStateChange = [this](TObject*, uint32_t ModemEvent) { Modem.push_back(ModemEvent); };
        comm.OnRequestHangup = [this](TObject*) { ++Hangups; };
        comm.OnSendDataEmpty = [this](TObject*) { ++SendEmpty; };
    }
};

void PumpPending()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

class CommIoTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        REQUIRE_RIG_PORTS(1);
        gLine.RefuseMaskWith = 0;
        for (auto& e : gLine.ImmediateEvents)
            e = 0;
        gLine.NextEvent = 0;
        gLine.RefuseWaitWith = 0;
        gLine.WriteCalls = 0;
        gLine.LastWriteLength = 0;
        gLine.FailWriteWith = 0;
        gLine.ShortWrite = false;
        gLine.HoldWrites = nullptr;
        gLine.WritesEntered = 0;
        Pair = RigPortPairs()[0];
    }

    // Opened on the pair's port, with the peer on its far end; the first OnSendDataEmpty is awaited.
    TComm* OpenComm(const TPortPair& pair, const TCommApi& api = FakeApi())
    {
        TComm* comm = Owner.Make<TComm>(api);
        comm->SetCommName(pair.Port);
        Events.Attach(*comm);
        comm->OpenPort();
        EXPECT_TRUE(PumpUntil([&] { return Events.SendEmpty == 1; })) << "the writer reports its empty queue";
        return comm;
    }

    TComponent Owner{nullptr};
    TPortPair Pair;
    TRecorder Events;
};

// ---- Receive path.

TEST_F(CommIoTest, ANineByteBurstArrivesAsOneBlockWithAZeroBehindIt)
{
    TComm* comm = OpenComm(Pair);
    TPeer peer(Pair.Device);
    ASSERT_TRUE(peer.Valid());
    const std::string answer("\x01\x03\x04\x00\xFA\x01\xF4\x5B\x8D", 9);
    ASSERT_TRUE(peer.Write(answer));
    ASSERT_TRUE(PumpUntil([&] { return !Events.Blocks.empty(); }));
    comm->ClosePort();
    PumpPending();
    EXPECT_EQ(Events.Blocks, std::vector<std::string>{answer});
    EXPECT_EQ(Events.ZeroBehind, std::vector<bool>{true});
    EXPECT_EQ(Events.Hangups, 0);
}

TEST_F(CommIoTest, AGapLongerThanTheIntervalSplitsAFrameInTwoInOrder)
{
    TComm* comm = OpenComm(Pair);
    comm->SetReadIntervalTimeout(20);
    TPeer peer(Pair.Device);
    ASSERT_TRUE(peer.Valid());
    const std::string frame("\x01\x03\x04\x00\xFA\x01\xF4\x5B\x8D", 9);
    ASSERT_TRUE(peer.Write(frame.substr(0, 4)));
    // The first piece is delivered only once the line has been quiet for the interval, so the
    // second one, sent after it, comes after a gap longer than the interval.
    ASSERT_TRUE(PumpUntil([&] { return Events.Blocks.size() == 1; }));
    ASSERT_TRUE(peer.Write(frame.substr(4)));
    ASSERT_TRUE(PumpUntil([&] { return Events.Blocks.size() == 2; }));
    comm->ClosePort();
    PumpPending();
    EXPECT_EQ(Events.Blocks, (std::vector<std::string>{frame.substr(0, 4), frame.substr(4)}));
    EXPECT_EQ(Events.ZeroBehind, (std::vector<bool>{true, true}));
}

TEST_F(CommIoTest, ABurstOf2500BytesArrivesAs1024_1024And452)
{
    TComm* comm = OpenComm(Pair);
    TPeer peer(Pair.Device);
    ASSERT_TRUE(peer.Valid());
    const std::string burst = Pattern(2500, 7);
    ASSERT_TRUE(peer.Write(burst));
    ASSERT_TRUE(PumpUntil([&] { return Events.Received.size() >= burst.size(); }));
    comm->ClosePort();
    PumpPending();
    std::vector<size_t> sizes;
    for (const std::string& block : Events.Blocks)
        sizes.push_back(block.size());
    EXPECT_EQ(sizes, (std::vector<size_t>{1024, 1024, 452}));
    EXPECT_EQ(Events.Received, burst);
    EXPECT_EQ(Events.ZeroBehind, (std::vector<bool>{true, true, true}));
}

TEST_F(CommIoTest, ReadsThatEndEmptyOnAQuietLineDoNotEndTheReader)
{
    // A total time-out makes every read of a quiet line complete with nothing.
    TComm* comm = Owner.Make<TComm>(FakeApi());
    comm->SetCommName(Pair.Port);
    comm->SetReadTotalTimeoutConstant(20);
    Events.Attach(*comm);
    comm->OpenPort();
    PumpFor(300); // a quiet line for many read time-outs
    TPeer peer(Pair.Device);
    ASSERT_TRUE(peer.Valid());
    ASSERT_TRUE(peer.Write("still listening"));
    EXPECT_TRUE(PumpUntil([&] { return Events.Received == "still listening"; })) << Events.Received;
    comm->ClosePort();
    PumpPending();
    EXPECT_EQ(Events.Hangups, 0);
}

TEST_F(CommIoTest, LineEventsBecomeModemAndErrorNoticesAndReadingGoesOn)
{
    // The rig's pseudo-terminals have no modem lines, so the device's answers are scripted;
    // after the script the real wait is refused and the reader goes on with reads alone.
    const DWORD script[] = {EV_RLSD | EV_RING, EV_RLSD, EV_RING, EV_RLSD | EV_CTS | EV_DSR, EV_ERR};
    for (size_t i = 0; i < std::size(script); ++i)
        gLine.ImmediateEvents[i] = script[i];
    TComm* comm = OpenComm(Pair);
    ASSERT_TRUE(PumpUntil([&] { return Events.Modem.size() == 4 && Events.Errors.size() == 1; }));
    EXPECT_EQ(Events.Modem, (std::vector<uint32_t>{12, 8, 4, 8}));
    EXPECT_EQ(Events.Errors, std::vector<uint32_t>{0}) << "the flags as the error query gives them";

    TPeer peer(Pair.Device);
    ASSERT_TRUE(peer.Write("after events"));
    EXPECT_TRUE(PumpUntil([&] { return Events.Received == "after events"; }));
    comm->ClosePort();
    PumpPending();
    EXPECT_EQ(Events.Hangups, 0);
}

TEST_F(CommIoTest, ARefusedLineEventWaitLeavesTheReaderWithReadsAlone)
{
    const struct {
        const char* Case;
        DWORD MaskError;
        DWORD WaitError;
    } table[] = {
        {"mask refused, not supported", ERROR_NOT_SUPPORTED, 0},
        {"mask refused, invalid parameter", ERROR_INVALID_PARAMETER, 0},
        {"wait refused, not supported", 0, ERROR_NOT_SUPPORTED},
        {"wait refused, invalid parameter", 0, ERROR_INVALID_PARAMETER},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.Case);
        gLine.RefuseMaskWith = row.MaskError;
        gLine.RefuseWaitWith = row.WaitError;
        Events = TRecorder{};
        TComm* comm = OpenComm(Pair);
        TPeer peer(Pair.Device);
        ASSERT_TRUE(peer.Write("data without line events"));
        EXPECT_TRUE(PumpUntil([&] { return Events.Received == "data without line events"; })) << Events.Received;
        comm->ClosePort();
        PumpPending();
        EXPECT_EQ(Events.Hangups, 0);
        Owner.FreeComponent(comm);
    }
}

TEST_F(CommIoTest, AnEmptyOrUnaskedLineEventRaisesOneHangup)
{
    const DWORD masks[] = {0x80000000u /* mask 0 */, EV_CTS, EV_RXCHAR};
    for (const DWORD mask : masks) {
        SCOPED_TRACE(mask);
        gLine.ImmediateEvents[0] = mask;
        gLine.NextEvent = 0;
        Events = TRecorder{};
        TComm* comm = Owner.Make<TComm>(FakeApi());
        comm->SetCommName(Pair.Port);
        Events.Attach(*comm);
        comm->OpenPort();
        EXPECT_TRUE(PumpUntil([&] { return Events.Hangups == 1; }));
        EXPECT_FALSE(comm->WriteData("x", 1)) << "the writer stops with the reader";
        comm->ClosePort();
        PumpPending();
        EXPECT_EQ(Events.Hangups, 1);
        EXPECT_TRUE(Events.Modem.empty());
        Owner.FreeComponent(comm);
    }
}

TEST_F(CommIoTest, ClosePortWhileAReadIsPendingRaisesNoHangup)
{
    TComm* comm = Owner.Make<TComm>(FakeApi());
    comm->SetCommName(Pair.Port);
    Events.Attach(*comm);
    const size_t before = OpenHandleCount();
    for (int cycle = 0; cycle < 20; ++cycle) {
        comm->OpenPort();
        comm->ClosePort();
    }
    PumpPending(); // whatever the threads posted is in the queue once ClosePort has joined them
    EXPECT_EQ(Events.Hangups, 0);
    EXPECT_TRUE(Events.Blocks.empty());
    EXPECT_EQ(OpenHandleCount(), before);
}

TEST_F(CommIoTest, BlocksReceivedBeforeClosePortAreHandledAfterIt)
{
    TComm* comm = OpenComm(Pair);
    TPeer peer(Pair.Device);
    ASSERT_TRUE(peer.Write("late but handled"));
    // Waits for the block to be posted, without handling anything meanwhile.
    MSG msg;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!::PeekMessageW(&msg, comm->NotifyWindow(), MSG_COMM_DATA, MSG_COMM_DATA, PM_NOREMOVE) &&
           std::chrono::steady_clock::now() < until)
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
    ASSERT_TRUE(::PeekMessageW(&msg, comm->NotifyWindow(), MSG_COMM_DATA, MSG_COMM_DATA, PM_NOREMOVE));
    comm->ClosePort();
    EXPECT_TRUE(Events.Blocks.empty());
    PumpPending();
    EXPECT_EQ(Events.Received, "late but handled");
}

// ---- Transmit path.

TEST_F(CommIoTest, WriteDataRefusesLengthZeroANullBufferAndAClosedPort)
{
    TComm* comm = Owner.Make<TComm>(FakeApi());
    comm->SetCommName(Pair.Port);
    EXPECT_FALSE(comm->WriteData("abc", 3)) << "closed";
    comm->OpenPort();
    EXPECT_FALSE(comm->WriteData("abc", 0));
    EXPECT_FALSE(comm->WriteData(nullptr, 3));
    EXPECT_TRUE(comm->TxQueueEmpty());
    comm->ClosePort();
    EXPECT_FALSE(comm->WriteData("abc", 3)) << "closed again";
    EXPECT_EQ(gLine.WriteCalls.load(), 0) << "nothing reached the device";
}

TEST_F(CommIoTest, ThreeBlocksGoOutInOrderWholeAndWithoutTheirTrailingZero)
{
    TComm* comm = OpenComm(Pair);
    TPeer peer(Pair.Device);
    const std::string blocks[] = {Pattern(300, 1), Pattern(5000, 2), Pattern(20000, 3), "END"};
    std::string expected;
    for (const std::string& block : blocks) {
        EXPECT_TRUE(comm->WriteData(block.data(), static_cast<uint16_t>(block.size())));
        expected += block;
    }
    const std::string got = peer.Read(expected.size() + 1); // one more than sent: a stray byte would show
    comm->ClosePort();
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected) << "the bytes differ from the blocks, in order";
    EXPECT_EQ(got.find('\0'), std::string::npos);
    EXPECT_EQ(gLine.WriteCalls.load(), 4);
}

TEST_F(CommIoTest, ABlockOf65535BytesGoesOutInOneWrite)
{
    TBlockWatch watch({65535});
    TComm* comm = OpenComm(Pair);
    TPeer peer(Pair.Device);
    const std::string block = Pattern(65535, 9);
    ASSERT_TRUE(comm->WriteData(block.data(), 65535));
    const std::string got = peer.Read(block.size());
    ASSERT_TRUE(PumpUntil([&] { return Events.SendEmpty == 2; }));
    comm->ClosePort();
    EXPECT_EQ(gLine.WriteCalls.load(), 1);
    EXPECT_EQ(gLine.LastWriteLength.load(), 65535u);
    EXPECT_EQ(got.size(), block.size());
    EXPECT_TRUE(got == block);
    EXPECT_EQ(TBlockWatch::Live(), 0u) << "the writer freed the block";
}

TEST_F(CommIoTest, ClosePortDuringALongWriteSendsNothingMoreAndFreesEveryBlock)
{
    TBlockWatch watch({65535, 40000, 777});
    TPeer peer(Pair.Device);
    const size_t handlesBefore = OpenHandleCount();
    TComm* comm = OpenComm(Pair);
    const std::string first = Pattern(65535, 4);
    const std::string second(40000, 'B');
    const std::string third(777, 'C');
    // The peer reads nothing, so the first write stops once the terminals' buffers are full.
    ASSERT_TRUE(comm->WriteData(first.data(), 65535));
    ASSERT_TRUE(comm->WriteData(second.data(), 40000));
    ASSERT_TRUE(comm->WriteData(third.data(), 777));
    EXPECT_EQ(TBlockWatch::Live(), 3u);
    EXPECT_FALSE(comm->TxQueueEmpty());
    ASSERT_TRUE(PumpUntil([&] { return peer.Queued() > 0; })) << "the first write is under way";

    comm->ClosePort();
    EXPECT_TRUE(comm->TxQueueEmpty());
    EXPECT_EQ(TBlockWatch::Live(), 0u) << "the block being written and the two queued ones are freed";
    EXPECT_EQ(OpenHandleCount(), handlesBefore) << "threads, events and the device all closed";

    const std::string got = peer.Read(first.size() + second.size() + third.size());
    EXPECT_LT(got.size(), first.size()) << "the rest of the first block never went out";
    EXPECT_TRUE(got == first.substr(0, got.size())) << "what went out is the first block's beginning";
    PumpPending();
    EXPECT_EQ(Events.Hangups, 0);
}

TEST_F(CommIoTest, SendDataEmptyComesOnceAfterOpeningAndOncePerBurst)
{
    TComm* comm = OpenComm(Pair); // the first one
    TPeer peer(Pair.Device);
    PumpPending();
    EXPECT_EQ(Events.SendEmpty, 1);

    // A burst handed over while the driver is still busy with its first block.
    const win::Handle hold{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    gLine.HoldWrites = hold.get();
    const std::string blocks[] = {Pattern(1000, 5), Pattern(1000, 6), Pattern(8, 7)};
    std::string sent;
    for (const std::string& block : blocks) {
        ASSERT_TRUE(comm->WriteData(block.data(), static_cast<uint16_t>(block.size())));
        sent += block;
    }
    ASSERT_TRUE(PumpUntil([&] { return gLine.WritesEntered.load() == 1; })) << "the writer is in its first write";
    PumpPending();
    EXPECT_EQ(Events.SendEmpty, 1) << "nothing while the burst is under way";
    gLine.HoldWrites = nullptr;
    ::SetEvent(hold.get());
    EXPECT_TRUE(peer.Read(sent.size()) == sent);
    ASSERT_TRUE(PumpUntil([&] { return Events.SendEmpty == 2; }));
    EXPECT_EQ(gLine.WriteCalls.load(), 3);

    // A single block after the queue ran empty is a burst of its own.
    ASSERT_TRUE(comm->WriteData("\x01\x03\x00\x00\x00\x02\xC4\x0B", 8));
    EXPECT_EQ(peer.Read(8).size(), 8u);
    ASSERT_TRUE(PumpUntil([&] { return Events.SendEmpty == 3; }));
    comm->ClosePort();
    PumpPending(); // the writer has been joined, so anything it posted is here
    EXPECT_EQ(Events.SendEmpty, 3);
    EXPECT_TRUE(comm->TxQueueEmpty());
}

TEST_F(CommIoTest, AFailedWriteRaisesOneHangupAndLaterWriteDataFails)
{
    const struct {
        const char* Case;
        DWORD Error;
        bool Short;
        int Hangups;
    } table[] = {
        {"device error", ERROR_GEN_FAILURE, false, 1},
        {"fewer bytes than the block", 0, true, 1},
        {"handle closed under the writer", ERROR_INVALID_HANDLE, false, 0},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.Case);
        TBlockWatch watch({64});
        gLine.FailWriteWith = row.Error;
        gLine.ShortWrite = row.Short;
        Events = TRecorder{};
        TComm* comm = OpenComm(Pair);
        const std::string block = Pattern(64, 1);
        ASSERT_TRUE(comm->WriteData(block.data(), 64));
        ASSERT_TRUE(PumpUntil([&] { return !comm->WriteData(block.data(), 64); })) << "the writer ends";
        EXPECT_EQ(gLine.WriteCalls.load(), 1) << "nothing more is written after a failure";
        comm->ClosePort();
        PumpPending();
        EXPECT_EQ(Events.Hangups, row.Hangups);
        EXPECT_EQ(TBlockWatch::Live(), 0u);
        gLine.WriteCalls = 0;
        Owner.FreeComponent(comm);
    }
}

// ---- A line that goes away.

TEST_F(CommIoTest, ALostLineRaisesOneHangupThenWriteDataFailsAndAFreshLineWorks)
{
    REQUIRE_RIG_PORTS(4);
    if (!std::getenv("QM27K_RIG_RUNNER"))
        GTEST_SKIP() << "needs the rig's --drop-line (run through tests/rig/wine-run)";
    // The last pair, which no other test of this program uses.
    const TPortPair pair = RigPortPairs()[3];
    TComm* comm = OpenComm(pair);
    {
        TPeer peer(pair.Device);
        ASSERT_TRUE(peer.Write("before"));
        ASSERT_TRUE(PumpUntil([&] { return Events.Received == "before"; }));
    }

    ASSERT_TRUE(DropRigLine(pair.Port));
    ASSERT_TRUE(PumpUntil([&] { return Events.Hangups >= 1; }));
    EXPECT_FALSE(comm->WriteData("after", 5)) << "the writer stopped with the reader";
    EXPECT_NE(comm->ComHandle(), nullptr) << "the component stays open until the owner closes it";
    comm->ClosePort();
    PumpPending();
    EXPECT_EQ(Events.Hangups, 1) << "one notice for one lost line";

    // The rig gave the pair a fresh line; the same component opens it and it carries bytes both ways.
    Events = TRecorder{};
    Events.Attach(*comm);
    comm->OpenPort();
    TPeer peer(pair.Device);
    ASSERT_TRUE(peer.Valid());
    ASSERT_TRUE(comm->WriteData("fresh", 5));
    EXPECT_EQ(peer.Read(5), "fresh");
    ASSERT_TRUE(peer.Write("line"));
    EXPECT_TRUE(PumpUntil([&] { return Events.Received == "line"; }));
    comm->ClosePort();
    PumpPending();
    EXPECT_EQ(Events.Hangups, 0);
}

} // namespace
