// termios raw mode, poll with a deadline, one write per byte; the POSIX stop signals.
#include "tools/sim/TtyPort.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

speed_t SpeedOf(int baudRate)
{
    switch (baudRate) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 19200: return B19200;
    default: return B9600;
    }
}

} // namespace

TTtyPort::TTtyPort(const std::string& device, int baudRate, TSimClock& clock) : FDevice(device), FClock(clock)
{
    // No controlling terminal: the simulator must not be hung up with the line.
    FFd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (FFd < 0)
        throw ESimPortError("cannot open " + device + ": " + std::strerror(errno));
    if (!::isatty(FFd)) {
        ::close(FFd);
        throw ESimPortError(device + " is not a terminal or serial device");
    }
    try {
        Configure(baudRate);
    } catch (...) {
        ::close(FFd);
        throw;
    }
    ::tcflush(FFd, TCIOFLUSH); // bytes left on the line by an earlier program are no request
}

TTtyPort::~TTtyPort()
{
    if (FFd >= 0)
        ::close(FFd);
}

void TTtyPort::Configure(int baudRate)
{
    termios tio{};
    if (::tcgetattr(FFd, &tio) != 0)
        throw ESimPortError("cannot read the settings of " + FDevice + ": " + std::strerror(errno));
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(PARENB | CSTOPB | CRTSCTS);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, SpeedOf(baudRate));
    ::cfsetospeed(&tio, SpeedOf(baudRate));
    if (::tcsetattr(FFd, TCSANOW, &tio) != 0)
        throw ESimPortError("cannot set " + FDevice + " to raw 8N1 at " + std::to_string(baudRate) + ": " +
                        std::strerror(errno));
}

long TTtyPort::Read(std::uint8_t* buffer, size_t capacity, TSimTime until)
{
    const TSimTime left = until - FClock.Now();
    const int timeoutMs = left.count() <= 0 ? 0 : static_cast<int>((left.count() + 999) / 1000);
    pollfd p{FFd, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs);
    if (ready < 0)
        return errno == EINTR ? 0 : -1; // a signal: let the loop look at its stop flag
    if (ready == 0)
        return 0;
    if (p.revents & (POLLERR | POLLNVAL))
        return -1;
    const ssize_t n = ::read(FFd, buffer, capacity);
    if (n < 0)
        return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
    if (n == 0 && (p.revents & POLLHUP)) {
        // The far end of a pseudo-terminal closed; wait for the next program to open it.
        FClock.SleepUntil(FClock.Now() + std::chrono::milliseconds(20));
        return 0;
    }
    return n;
}

bool TTtyPort::Write(std::uint8_t byte)
{
    for (;;) {
        const ssize_t n = ::write(FFd, &byte, 1);
        if (n == 1)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{FFd, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0)
                return false;
            continue;
        }
        return false;
    }
}

void TTtyPort::SetBaudRate(int baudRate)
{
    try {
        Configure(baudRate);
    } catch (const ESimPortError&) {
        // A pseudo-terminal has no line rate to refuse; a real port that refuses keeps the
        // old one, which the far end will notice as silence.
    }
}

std::unique_ptr<TSimPort> OpenSimPort(const std::string& device, int baudRate, TSimClock& clock)
{
    return std::make_unique<TTtyPort>(device, baudRate, clock);
}

namespace {
std::atomic<bool>* gStop = nullptr;
extern "C" void RequestStop(int)
{
    gStop->store(true);
}
} // namespace

void InstallStopHandlers(std::atomic<bool>& stop)
{
    gStop = &stop;
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: poll returns EINTR and the loop sees the flag
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}
