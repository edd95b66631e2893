// qm27k-sim as a program on a pseudo-terminal: answers, its counts file, a clean stop on
// SIGTERM, and clear failures for a bad device or option.
#include "app/ModbusRequests.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;

std::string SimPath()
{
    const char* path = std::getenv("QM27K_SIM");
    return path ? path : "";
}

// The simulator started with its stderr on a pipe; killed if a test leaves it running.
class TSimProcess {
public:
    explicit TSimProcess(std::vector<std::string> args)
    {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        args.insert(args.begin(), SimPath());
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            FPid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        FErr = pipeFds[0];
    }
    ~TSimProcess()
    {
        if (FPid > 0) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
        }
        if (FErr >= 0)
            ::close(FErr);
    }
    bool Started() const { return FPid > 0; }
    // Reads stderr until it holds `text` or the bound passes.
    bool WaitForOutput(const std::string& text, int timeoutMs = 5000)
    {
        const auto until = TClock::now() + std::chrono::milliseconds(timeoutMs);
        while (Output.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - TClock::now()).count();
            pollfd p{FErr, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0)
                return false;
            char buffer[512];
            const ssize_t n = ::read(FErr, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            Output.append(buffer, static_cast<size_t>(n));
        }
        return true;
    }
    // Exit code after the signal (or on its own), -1 if it does not end within the bound.
    int Stop(int signal)
    {
        if (signal)
            ::kill(FPid, signal);
        const auto until = TClock::now() + std::chrono::seconds(5);
        int status = 0;
        while (::waitpid(FPid, &status, WNOHANG) == 0) {
            if (TClock::now() > until)
                return -1;
            pollfd none{-1, 0, 0};
            ::poll(&none, 0, 5);
        }
        FPid = -1;
        WaitForOutput("\x01", 200); // collect what it wrote last
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string Output;

private:
    pid_t FPid = -1;
    int FErr = -1;
};

class TPty {
public:
    TPty()
    {
        char name[128];
        if (::openpty(&Master, &Slave, name, nullptr, nullptr) == 0) {
            SlaveName = name;
            termios tio{};
            ::tcgetattr(Master, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(Master, TCSANOW, &tio);
        }
    }
    ~TPty()
    {
        ::close(Master);
        ::close(Slave);
    }
    // Bytes until `count` arrived or the bound passed.
    std::vector<std::uint8_t> Read(size_t count, int timeoutMs = 3000)
    {
        std::vector<std::uint8_t> bytes;
        const auto until = TClock::now() + std::chrono::milliseconds(timeoutMs);
        while (bytes.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - TClock::now()).count();
            pollfd p{Master, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0)
                break;
            std::uint8_t buffer[64];
            const ssize_t n = ::read(Master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
        return bytes;
    }

    int Master = -1;
    int Slave = -1;
    std::string SlaveName;
};

std::vector<std::uint8_t> MeasurementRequest()
{
    TFrameBuffer frame{};
    const size_t length = BuildReadMeasurement(frame, 1);
    return {frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length)};
}

} // namespace

TEST(SimProgram, AnswersOnAPseudoTerminalCountsAndStopsOnSigterm)
{
    ASSERT_FALSE(SimPath().empty()) << "QM27K_SIM names the program";
    TPty pty;
    ASSERT_FALSE(pty.SlaveName.empty());
    const std::string stats = ::testing::TempDir() + "sim-stats-" + std::to_string(::getpid());
    TSimProcess sim({pty.SlaveName, "--baud", "1200", "--temperature", "-1.0", "--stats", stats, "--verbose"});
    ASSERT_TRUE(sim.Started());
    ASSERT_TRUE(sim.WaitForOutput("sensor(s) on")) << sim.Output;

    const auto request = MeasurementRequest();
    const auto sent = TClock::now();
    ASSERT_EQ(::write(pty.Master, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    const auto answer = pty.Read(9);
    const auto took = TClock::now() - sent;
    EXPECT_EQ(answer, (std::vector<std::uint8_t>{0x01, 0x03, 0x04, 0xFF, 0xF6, 0x01, 0xC8, 0x2A, 0x13}));
    // A terminal has no line time, so the pacing is the simulator's own: the request's eight
    // characters, the 3.5-character silence and the answer's nine at 1200 baud can only make
    // it later, never sooner.
    EXPECT_GE(took, std::chrono::microseconds(8 * 8333 + 29166 + 9 * 8333));

    ASSERT_TRUE(sim.WaitForOutput("TX: 01 03 04 FF F6")) << sim.Output;
    EXPECT_NE(sim.Output.find("RX: 01 03 00 00 00 02 C4 0B"), std::string::npos) << sim.Output;
    std::string counts;
    std::getline(std::ifstream(stats), counts);
    EXPECT_EQ(counts, "frames=1 bad=0 requests=1 dropped=0 silenced=0 answers=1 corrupted=0");
    EXPECT_EQ(sim.Stop(SIGTERM), 0) << sim.Output;
    std::remove(stats.c_str());
}

TEST(SimProgram, FailsClearlyOnABadDeviceOrOption)
{
    ASSERT_FALSE(SimPath().empty());
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {{"/nonexistent/tty"}, 1, "cannot open /nonexistent/tty"},
        {{"/dev/null"}, 1, "/dev/null is not a terminal"},
        {{"/dev/null", "--baud", "38400"}, 2, "--baud: '38400' is not one of"},
        {{}, 2, "no device given"},
    };
    for (const Case& c : cases) {
        TSimProcess sim(c.args);
        ASSERT_TRUE(sim.Started());
        EXPECT_EQ(sim.Stop(0), c.code) << sim.Output;
        EXPECT_NE(sim.Output.find(c.message), std::string::npos) << sim.Output;
    }
}
