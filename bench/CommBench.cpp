// Measures the serial port component on the rig's lines: request/answer round trips, throughput,
// and the CPU its two threads use while the line is idle.
#include "comm/Comm.h"
#include "tests/support/MessagePump.h"
#include "tests/support/RigLines.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

// The thread handles the component creates, so their CPU times can be read.
std::vector<HANDLE> gThreads;
HANDLE WINAPI RecordingCreateThread(LPSECURITY_ATTRIBUTES sa, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                                    LPVOID param, DWORD flags, LPDWORD id)
{
    const HANDLE thread = ::CreateThread(sa, stack, start, param, flags, id);
    HANDLE copy = nullptr;
    if (thread && ::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &copy, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS))
        gThreads.push_back(copy);
    return thread;
}

double CpuSeconds(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(thread, &created, &exited, &kernel, &user))
        return -1;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

// Plays the sensor on the far end: every 8-byte request gets a 9-byte answer.
class TSensor {
public:
    explicit TSensor(const std::wstring& device)
        : FFile(::CreateFileW((L"\\\\.\\" + device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr))
    {
        COMMTIMEOUTS timeouts{0, 0, 0, 0, 0}; // a read waits for all eight bytes
        ::SetCommTimeouts(FFile, &timeouts);
        ::PurgeComm(FFile, PURGE_RXCLEAR | PURGE_TXCLEAR);
    }
    ~TSensor() { ::CloseHandle(FFile); }
    bool Valid() const { return FFile != INVALID_HANDLE_VALUE; }

    void Serve(int exchanges)
    {
        static const char answer[] = "\x01\x03\x04\x00\xFA\x01\xF4\x5B\x8D";
        for (int i = 0; i < exchanges; ++i) {
            char request[8];
            DWORD count = 0;
            if (!::ReadFile(FFile, request, sizeof request, &count, nullptr) || count != sizeof request)
                return;
            if (!::WriteFile(FFile, answer, 9, &count, nullptr) || count != 9)
                return;
        }
    }

private:
    HANDLE FFile;
};

void RoundTrips(const TPortPair& pair, uint32_t interval, int exchanges)
{
    TSensor sensor(pair.Device);
    if (!sensor.Valid()) {
        std::printf("round trip: cannot open %ls\n", pair.Device.c_str());
        return;
    }
    std::thread sensorThread([&] { sensor.Serve(exchanges); });

    TComm comm(nullptr);
    comm.SetCommName(pair.Port);
    comm.SetReadIntervalTimeout(interval);
    size_t received = 0;
    comm.OnReceiveData = [&](TObject*, void*, uint16_t length) { received += length; };
    comm.OpenPort();

    static const uint8_t request[8] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B};
    std::vector<double> micros;
    for (int i = 0; i < exchanges; ++i) {
        received = 0;
        const auto start = TClock::now();
        if (!comm.WriteData(request, sizeof request) || !PumpUntil([&] { return received >= 9; }, 5000))
            break;
        micros.push_back(std::chrono::duration<double, std::micro>(TClock::now() - start).count());
    }
    comm.ClosePort();
    sensorThread.join();
    if (micros.empty()) {
        std::printf("round trip: no answer\n");
        return;
    }
    std::sort(micros.begin(), micros.end());
    const double median = micros[micros.size() / 2];
    const double p99 = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    std::printf("round trip, 8 bytes out and 9 back, ReadIntervalTimeout %u ms, %zu exchanges: "
                "median %.2f ms, 99th percentile %.2f ms\n",
                interval, micros.size(), median / 1000, p99 / 1000);
}

void Throughput(const TPortPair& pair, size_t total, size_t blockSize, size_t window)
{
    TComm sender(nullptr);
    TComm receiver(nullptr);
    sender.SetCommName(pair.Port);
    receiver.SetCommName(pair.Device);
    sender.SetBaudRate(115200);
    receiver.SetBaudRate(115200);
    size_t received = 0;
    receiver.OnReceiveData = [&](TObject*, void*, uint16_t length) { received += length; };
    receiver.OpenPort();
    sender.OpenPort();

    std::vector<uint8_t> block(blockSize);
    for (size_t i = 0; i < blockSize; ++i)
        block[i] = static_cast<uint8_t>(i);
    size_t sent = 0;
    const auto start = TClock::now();
    bool ok = true;
    while (ok && received < total) {
        // A bounded amount in flight: under Wine a write that fills the terminals' buffers can
        // stall while a read is pending on the same handle.
        while (sent < total && sent - received < window) {
            const size_t n = std::min(blockSize, total - sent);
            if (!sender.WriteData(block.data(), static_cast<uint16_t>(n))) {
                ok = false;
                break;
            }
            sent += n;
        }
        const size_t before = received;
        ok = ok && PumpUntil([&] { return received > before; }, 5000);
    }
    const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
    sender.ClosePort();
    receiver.ClosePort();
    std::printf("throughput, %zu bytes in %zu-byte blocks, at most %zu in flight: %.0f bytes/s (%.3f s)%s\n",
                received, blockSize, window, received / seconds, seconds, ok ? "" : " -- stopped early");
}

void IdleCpu(const TPortPair& pair, int seconds)
{
    gThreads.clear();
    TCommApi api;
    api.CreateThread = &RecordingCreateThread;
    TComm comm(nullptr, api);
    comm.SetCommName(pair.Port);
    comm.OpenPort();
    PumpUntil([] { return false; }, 500); // past the start
    std::vector<double> before;
    for (const HANDLE thread : gThreads)
        before.push_back(CpuSeconds(thread));
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernelBefore, &userBefore);
    PumpUntil([] { return false; }, seconds * 1000);
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernelAfter, &userAfter);
    const char* names[] = {"reader", "writer"};
    for (size_t i = 0; i < gThreads.size() && i < 2; ++i)
        std::printf("idle CPU of the %s thread over %d s: %.3f s\n", names[i], seconds,
                    CpuSeconds(gThreads[i]) - before[i]);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    std::printf("idle CPU of the whole process over %d s: %.3f s\n", seconds,
                static_cast<double>(ticks(kernelAfter) + ticks(userAfter) - ticks(kernelBefore) - ticks(userBefore)) /
                    1e7);
    // Busy work on one thread shows whether the platform reports thread times at all.
    const HANDLE self = ::GetCurrentThread();
    const double spinBefore = CpuSeconds(self);
    const auto spinUntil = TClock::now() + std::chrono::milliseconds(300);
    volatile unsigned long long sink = 0;
    while (TClock::now() < spinUntil)
        sink = sink + 1;
    std::printf("check: 300 ms of busy work on the GUI thread reads as %.3f s\n", CpuSeconds(self) - spinBefore);
    comm.ClosePort();
    for (const HANDLE thread : gThreads)
        ::CloseHandle(thread);
    gThreads.clear();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::vector<TPortPair> pairs = RigPortPairs();
    if (pairs.size() < 2) {
        std::printf("CommBench needs two serial line pairs (QM27K_PORT_PAIRS); run it through tests/rig/wine-run\n");
        return 1;
    }
    const int exchanges = argc > 1 ? _wtoi(argv[1]) : 500;
    RoundTrips(pairs[0], 30, exchanges); // the application's setting at 9600 baud
    RoundTrips(pairs[0], 10, exchanges); // the component's default
    Throughput(pairs[1], 1 << 20, 1024, 16 * 1024);
    IdleCpu(pairs[0], 5);
    return 0;
}
