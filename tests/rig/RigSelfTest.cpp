// Checks that the Wine test rig gives Windows programs what the tests rely on:
// the crossed COM port pairs are listed and carry bytes both ways, and the
// dialog fonts resolve to a face that has Chinese glyphs.
//
// Runs as a plain console program (no test framework) so that a broken rig
// is reported before any real test is blamed for it.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const wchar_t* what, const std::wstring& detail = {}) {
    if (ok) {
        ++passed;
        std::wprintf(L"ok    %ls\n", what);
    } else {
        ++failed;
        std::wprintf(L"FAIL  %ls%ls%ls\n", what, detail.empty() ? L"" : L": ", detail.c_str());
    }
    std::fflush(stdout);
}

std::wstring errorText(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = L"error " + std::to_wstring(code);
    if (n != 0 && buffer != nullptr) {
        std::wstring message(buffer, n);
        while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
            message.pop_back();
        text += L" (" + message + L")";
    }
    if (buffer != nullptr)
        LocalFree(buffer);
    return text;
}

std::wstring lastError() { return errorText(GetLastError()); }

std::wstring environment(const wchar_t* name) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0)
        return {};
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(name, value.data(), n);
    value.resize(n);
    return value;
}

// ---------------------------------------------------------------- (a) ---

std::set<std::wstring> listedPorts(std::wstring& problem) {
    std::set<std::wstring> ports;
    HKEY key = nullptr;
    LSTATUS rc = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS) {
        problem = L"RegOpenKeyExW: " + errorText(static_cast<DWORD>(rc));
        return ports;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[256];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        rc = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                           reinterpret_cast<BYTE*>(data), &dataSize);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc != ERROR_SUCCESS) {
            problem = L"RegEnumValueW: " + errorText(static_cast<DWORD>(rc));
            break;
        }
        if (type == REG_SZ && dataSize >= sizeof(wchar_t)) {
            std::wstring port(data, dataSize / sizeof(wchar_t));
            while (!port.empty() && port.back() == L'\0')
                port.pop_back();
            ports.insert(port);
        }
    }
    RegCloseKey(key);
    return ports;
}

void checkPortsListed() {
    std::wstring problem;
    std::set<std::wstring> ports = listedPorts(problem);
    std::wstring all;
    for (const auto& p : ports)
        all += p + L" ";
    check(problem.empty(), L"SERIALCOMM can be read", problem);
    for (int n = 3; n <= 10; ++n) {
        std::wstring name = L"COM" + std::to_wstring(n);
        std::wstring what = L"SERIALCOMM lists " + name;
        check(ports.count(name) == 1, what.c_str(), L"listed: " + all);
    }
}

// ---------------------------------------------------------------- (b) ---

class Port {
public:
    explicit Port(std::wstring name) : name_(std::move(name)) {}
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;
    ~Port() { close(); }

    bool open(std::wstring& problem) {
        std::wstring path = L"\\\\.\\" + name_;
        handle_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            problem = L"CreateFileW " + name_ + L": " + lastError();
            return false;
        }
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle_, &dcb)) {
            problem = L"GetCommState " + name_ + L": " + lastError();
            return false;
        }
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        if (!SetCommState(handle_, &dcb)) {
            problem = L"SetCommState " + name_ + L": " + lastError();
            return false;
        }
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = 10;
        if (!SetCommTimeouts(handle_, &timeouts)) {
            problem = L"SetCommTimeouts " + name_ + L": " + lastError();
            return false;
        }
        // The rig keeps its lines alive between programs, so bytes a former
        // test left unread would otherwise arrive here.
        PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
        return true;
    }

    bool write(const std::vector<BYTE>& bytes, std::wstring& problem) {
        OVERLAPPED ov{};
        ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (ov.hEvent == nullptr) {
            problem = L"CreateEventW: " + lastError();
            return false;
        }
        DWORD written = 0;
        bool ok = WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &ov) != 0;
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            if (WaitForSingleObject(ov.hEvent, 3000) == WAIT_OBJECT_0) {
                ok = GetOverlappedResult(handle_, &ov, &written, FALSE) != 0;
            } else {
                CancelIo(handle_);
                GetOverlappedResult(handle_, &ov, &written, TRUE);
                problem = L"WriteFile " + name_ + L" did not complete within 3 s";
                CloseHandle(ov.hEvent);
                return false;
            }
        }
        if (!ok)
            problem = L"WriteFile " + name_ + L": " + lastError();
        else if (written != bytes.size())
            problem = L"WriteFile " + name_ + L" wrote " + std::to_wstring(written) + L" of " +
                      std::to_wstring(bytes.size()) + L" bytes";
        CloseHandle(ov.hEvent);
        return problem.empty();
    }

    // Collects exactly `count` bytes or gives up after `totalMs`; a serial
    // read may return early with part of the data once the interval elapses.
    bool read(std::vector<BYTE>& out, size_t count, DWORD totalMs, std::wstring& problem) {
        out.clear();
        ULONGLONG deadline = GetTickCount64() + totalMs;
        OVERLAPPED ov{};
        ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (ov.hEvent == nullptr) {
            problem = L"CreateEventW: " + lastError();
            return false;
        }
        while (out.size() < count) {
            ULONGLONG now = GetTickCount64();
            if (now >= deadline) {
                problem = L"ReadFile " + name_ + L" got " + std::to_wstring(out.size()) + L" of " +
                          std::to_wstring(count) + L" bytes within " + std::to_wstring(totalMs) + L" ms";
                break;
            }
            BYTE buffer[64];
            DWORD want = static_cast<DWORD>(count - out.size());
            if (want > sizeof buffer)
                want = sizeof buffer;
            DWORD got = 0;
            ResetEvent(ov.hEvent);
            bool ok = ReadFile(handle_, buffer, want, &got, &ov) != 0;
            if (!ok && GetLastError() == ERROR_IO_PENDING) {
                DWORD wait = WaitForSingleObject(ov.hEvent, static_cast<DWORD>(deadline - now));
                if (wait != WAIT_OBJECT_0) {
                    CancelIo(handle_);
                    GetOverlappedResult(handle_, &ov, &got, TRUE);
                    out.insert(out.end(), buffer, buffer + got);
                    if (out.size() < count)
                        problem = L"ReadFile " + name_ + L" got " + std::to_wstring(out.size()) +
                                  L" of " + std::to_wstring(count) + L" bytes within " +
                                  std::to_wstring(totalMs) + L" ms";
                    break;
                }
                ok = GetOverlappedResult(handle_, &ov, &got, FALSE) != 0;
            }
            if (!ok) {
                problem = L"ReadFile " + name_ + L": " + lastError();
                break;
            }
            out.insert(out.end(), buffer, buffer + got);
            if (got == 0)
                Sleep(5); // an interval timeout with nothing yet; keep waiting
        }
        CloseHandle(ov.hEvent);
        return problem.empty();
    }

    void close() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

    const std::wstring& name() const { return name_; }

private:
    std::wstring name_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::wstring hex(const std::vector<BYTE>& bytes) {
    std::wstring text;
    wchar_t part[4];
    for (BYTE b : bytes) {
        std::swprintf(part, 4, L"%02X ", b);
        text += part;
    }
    return text;
}

void transfer(Port& from, Port& to, const std::vector<BYTE>& bytes) {
    std::wstring what = L"8 bytes travel " + from.name() + L" -> " + to.name();
    std::wstring problem;
    std::vector<BYTE> received;
    if (from.write(bytes, problem) && to.read(received, bytes.size(), 3000, problem) && received != bytes)
        problem = L"sent " + hex(bytes) + L"received " + hex(received);
    check(problem.empty(), what.c_str(), problem);
}

void checkFirstPair() {
    std::wstring pairs = environment(L"QM27K_PORT_PAIRS");
    check(!pairs.empty(), L"QM27K_PORT_PAIRS is set");
    if (pairs.empty())
        return;
    std::wstring first = pairs.substr(0, pairs.find(L' '));
    size_t colon = first.find(L':');
    check(colon != std::wstring::npos && colon > 0 && colon + 1 < first.size(),
          L"QM27K_PORT_PAIRS starts with a pair A:B", L"got \"" + pairs + L"\"");
    if (colon == std::wstring::npos || colon == 0 || colon + 1 >= first.size())
        return;

    for (const std::wstring& name : {first.substr(0, colon), first.substr(colon + 1)}) {
        std::wstring variable = L"QM27K_TTY_" + name;
        std::wstring what = variable + L" names a terminal";
        std::wstring tty = environment(variable.c_str());
        check(tty.rfind(L"/dev/", 0) == 0, what.c_str(), L"got \"" + tty + L"\"");
    }

    Port a(first.substr(0, colon));
    Port b(first.substr(colon + 1));
    std::wstring problem;
    bool opened = a.open(problem) && b.open(problem);
    check(opened, L"both ports of the first pair open at 9600 8N1", problem);
    if (!opened)
        return;
    // Distinct patterns per direction, including bytes a terminal in cooked
    // mode would swallow or translate (CR, LF, ^C, ^D, XON/XOFF, 0xFF).
    transfer(a, b, {0x01, 0x03, 0x00, 0x0D, 0x0A, 0x11, 0x13, 0xFF});
    transfer(b, a, {0xFE, 0x04, 0x03, 0x7F, 0x00, 0x1A, 0x0D, 0x55});
    a.close();
    b.close();

    // Closing must really release the lines: they open again at once.
    Port again(first.substr(0, colon));
    problem.clear();
    check(again.open(problem), L"the first port opens again after closing", problem);
}

// ---------------------------------------------------------------- (c) ---

void checkChineseFont() {
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    check(font != nullptr, L"CreateFontW(\"MS Sans Serif\")", lastError());
    if (font == nullptr)
        return;
    HDC dc = GetDC(nullptr);
    check(dc != nullptr, L"screen DC", lastError());
    if (dc == nullptr) {
        DeleteObject(font);
        return;
    }
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    WORD glyphs[3] = {0xFFFF, 0xFFFF, 0xFFFF};
    DWORD n = GetGlyphIndicesW(dc, L"\u8FDE\u63A5\u2103", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    bool hasGlyphs = n == 3 && glyphs[0] != 0xFFFF && glyphs[1] != 0xFFFF && glyphs[2] != 0xFFFF;
    wchar_t detail[160];
    std::swprintf(detail, 160, L"face \"%ls\", glyph indices %04X %04X %04X", face, glyphs[0], glyphs[1], glyphs[2]);
    check(hasGlyphs, L"\"MS Sans Serif\" has glyphs for U+8FDE U+63A5 U+2103", detail);
    // Some faces map U+2103 to a glyph without outline, which draws nothing.
    GLYPHMETRICS metrics{};
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const DWORD bitmapBytes = GetGlyphOutlineW(dc, 0x2103, GGO_GRAY8_BITMAP, &metrics, 0, nullptr, &identity);
    check(bitmapBytes != GDI_ERROR && bitmapBytes > 0, L"U+2103 of \"MS Sans Serif\" has ink", face);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
}

} // namespace

int wmain() {
    checkPortsListed();
    checkFirstPair();
    checkChineseFont();
    std::wprintf(L"%d passed, %d failed\n", passed, failed);
    return failed == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
