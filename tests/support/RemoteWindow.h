// Driving the program from another process, as a user would: start it, find its controls
// by class and place, click, type, choose, and read edits, status bar panels and the log
// (through the clipboard, or line by line as screen readers and scripts read a list box).
// Under Wine WM_GETTEXT and WM_SETTEXT cross processes (their text is carried along), but a
// status bar's SB_GETTEXTW is not: its text is read through memory lent in the program.
#pragma once

#include "tests/support/MainWindow.h"
#include "tests/support/MessagePump.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

// Text read from the window as UTF-8, for messages and the console.
inline std::string Utf8(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// The descendant of that class whose top-left corner sits at `where` in its parent.
inline HWND FindControlAt(HWND top, const wchar_t* className, POINT where)
{
    struct Search { const wchar_t* name; POINT where; HWND found; } search{className, where, nullptr};
    ::EnumChildWindows(top, [](HWND hwnd, LPARAM p) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(p);
        wchar_t name[64];
        ::GetClassNameW(hwnd, name, 64);
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
        if (wcscmp(name, s.name) == 0 && r.left == s.where.x && r.top == s.where.y) {
            s.found = hwnd;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::wstring RemoteText(HWND control)
{
    wchar_t text[512] = L"";
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
    return text;
}

inline bool RemoteSetText(HWND control, const std::wstring& text)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                                 5000, &result) != 0;
}

// A click as a person gives it: the pointer moved to the middle of the control, the left
// button pressed and released there, through the system's input queue, so that whatever paints
// and handles the control (a skin's wrapper included) sees a real press and release. Returns
// once the program has been through the click: the pressed control took the mouse and let go
// of it, and the program's handlers have returned to its message loop. False when the
// control is not on top and still where it is (a window may take a moment to be framed, or to
// leave the rig's screen after closing), or when the click does not arrive.
inline bool RemoteClick(HWND control)
{
    POINT middle{}, last{-1, -1};
    const bool settled = PumpUntil([&] {
        RECT r{};
        ::GetWindowRect(control, &r);
        middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        const bool still = middle.x == last.x && middle.y == last.y;
        last = middle;
        // A click on a window that is not in the foreground may only bring it there.
        const bool foreground = ::GetForegroundWindow() == ::GetAncestor(control, GA_ROOT);
        if (!still || !foreground || ::WindowFromPoint(middle) != control) {
            ::Sleep(40);
            return false;
        }
        return true;
    }, 5000);
    if (!settled)
        return false;
    INPUT input[3]{};
    for (INPUT& in : input)
        in.type = INPUT_MOUSE;
    input[0].mi.dx = ::MulDiv(middle.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input[0].mi.dy = ::MulDiv(middle.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    // Pressed, then held until the control has taken the mouse (as every button does on a
    // press), then released once it lets go.
    const DWORD thread = ::GetWindowThreadProcessId(control, nullptr);
    auto capture = [thread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return ::GetGUIThreadInfo(thread, &info) ? info.hwndCapture : nullptr;
    };
    if (::SendInput(2, input, sizeof(INPUT)) != 2 || !PumpUntil([&] { return capture() == control; }, 5000)) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        ::GetGUIThreadInfo(thread, &info);
        wchar_t focus[64] = L"";
        ::GetClassNameW(info.hwndFocus, focus, 64);
        std::fprintf(stderr, "RemoteClick: the press never reached the control (focus on %ls)\n", focus);
        ::SendInput(1, &input[2], sizeof(INPUT));
        return false;
    }
    if (::SendInput(1, &input[2], sizeof(INPUT)) != 1 || !PumpUntil([&] { return capture() != control; }, 5000))
        return false;
    // A message sent now waits until the click's handlers have returned to the loop.
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(control, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

inline bool RemoteEnabled(HWND control) { return ::IsWindowEnabled(control) != FALSE; }

inline bool RemoteChecked(HWND box)
{
    DWORD_PTR state = 0;
    ::SendMessageTimeoutW(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

// Selects an entry of a drop-down list as choosing it with the mouse leaves the box.
inline bool RemoteSelect(HWND box, int index)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000, &result) &&
           static_cast<int>(result) == index;
}

// Memory lent inside another process for a message that writes through a pointer.
class TRemoteBuffer {
public:
    TRemoteBuffer(HWND owner, size_t bytes) : FSize(bytes)
    {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(owner, &processId);
        FProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (FProcess)
            FAddress = ::VirtualAllocEx(FProcess, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~TRemoteBuffer()
    {
        if (FAddress)
            ::VirtualFreeEx(FProcess, FAddress, 0, MEM_RELEASE);
        if (FProcess)
            ::CloseHandle(FProcess);
    }
    TRemoteBuffer(const TRemoteBuffer&) = delete;
    TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

    void* Address() const { return FAddress; }
    std::vector<char> Read() const
    {
        std::vector<char> bytes(FSize);
        SIZE_T read = 0;
        if (!FAddress || !::ReadProcessMemory(FProcess, FAddress, bytes.data(), FSize, &read))
            return {};
        bytes.resize(read);
        return bytes;
    }

private:
    HANDLE FProcess = nullptr;
    void* FAddress = nullptr;
    const size_t FSize;
};

inline std::wstring RemoteStatusText(HWND bar, int panel)
{
    constexpr size_t kChars = 256;
    TRemoteBuffer buffer(bar, kChars * sizeof(wchar_t));
    if (!buffer.Address())
        return L"<no access>";
    const DWORD_PTR length = ::SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
    if (LOWORD(length) >= kChars)
        return L"<too long>";
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(bar, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(buffer.Address()),
                          SMTO_ABORTIFHUNG, 5000, &result);
    const std::vector<char> bytes = buffer.Read();
    const auto* chars = reinterpret_cast<const wchar_t*>(bytes.data());
    return std::wstring(chars, wcsnlen(chars, bytes.size() / sizeof(wchar_t)));
}

// A list box's lines, each asked for its length and then its text.
inline std::vector<std::wstring> RemoteListLines(HWND box)
{
    std::vector<std::wstring> lines;
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutW(box, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
        return lines;
    for (WPARAM i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        if (!::SendMessageTimeoutW(box, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length) ||
            static_cast<LRESULT>(length) < 0)
            break;
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!::SendMessageTimeoutW(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                                   &copied) ||
            copied != length)
            break;
        text.resize(length);
        lines.push_back(std::move(text));
    }
    return lines;
}

// The clipboard's text as lines (CR LF between them), empty when it holds none.
inline std::vector<std::wstring> ClipboardLines()
{
    std::vector<std::wstring> lines;
    // Whoever just put the text there may still hold the clipboard open for a moment.
    if (!PumpUntil([] { return ::OpenClipboard(nullptr) != FALSE; }, 2000))
        return lines;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
            std::wstring all = text;
            ::GlobalUnlock(data);
            size_t start = 0;
            for (size_t end; (end = all.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
                lines.push_back(all.substr(start, end - start));
            if (start < all.size())
                lines.push_back(all.substr(start));
        }
    }
    ::CloseClipboard();
    return lines;
}

// The program started as a user starts it; ended at the latest when this goes away.
class TRemoteProgram {
public:
    explicit TRemoteProgram(const std::wstring& path)
    {
        std::wstring command = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        FStarted = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &FInfo) != FALSE;
    }
    ~TRemoteProgram()
    {
        if (!FStarted)
            return;
        if (::WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) {
            if (FWindow)
                ::PostMessageW(FWindow, WM_CLOSE, 0, 0);
            if (::WaitForSingleObject(FInfo.hProcess, 5000) != WAIT_OBJECT_0)
                ::TerminateProcess(FInfo.hProcess, 99);
        }
        ::CloseHandle(FInfo.hThread);
        ::CloseHandle(FInfo.hProcess);
    }
    TRemoteProgram(const TRemoteProgram&) = delete;
    TRemoteProgram& operator=(const TRemoteProgram&) = delete;

    bool Started() const { return FStarted; }
    bool Running() const { return FStarted && ::WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT; }
    HANDLE Process() const { return FInfo.hProcess; }
    DWORD ProcessId() const { return FInfo.dwProcessId; }
    // The main window once it is up and settled: in the foreground, active with a focus, and
    // so for a moment. Under the rig the display's own focus reaches a new window a little
    // after it shows, and moves the focus to it then, which would cancel a press made earlier.
    HWND WaitForWindow(int timeoutMs = 20000)
    {
        PumpUntil([&] { return (FWindow = FindMainWindow(FInfo.dwProcessId)) != nullptr; }, timeoutMs);
        if (!FWindow)
            return nullptr;
        const DWORD thread = ::GetWindowThreadProcessId(FWindow, nullptr);
        auto settled = [&] {
            GUITHREADINFO info{};
        info.cbSize = sizeof(info);
            return ::GetForegroundWindow() == FWindow && ::GetGUIThreadInfo(thread, &info) && info.hwndActive == FWindow &&
                   info.hwndFocus;
        };
        int steady = 0;
        PumpUntil([&] {
            steady = settled() ? steady + 1 : 0;
            ::Sleep(20);
            return steady >= 15;
        }, timeoutMs);
        return FWindow;
    }
    // Closes the window; the exit code, or -1 when the program does not end.
    long Close()
    {
        ::PostMessageW(FWindow, WM_CLOSE, 0, 0);
        DWORD code = 0;
        if (::WaitForSingleObject(FInfo.hProcess, 10000) != WAIT_OBJECT_0 || !::GetExitCodeProcess(FInfo.hProcess, &code))
            return -1;
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION FInfo{};
    bool FStarted = false;
    HWND FWindow = nullptr;
};

// The main window's controls, found where the window lays them out.
struct TRemoteForm1 {
    explicit TRemoteForm1(HWND window)
        : Window(window),
          BitBtn1(FindControlAt(window, L"TBitBtn", {36, 342})),
          BitBtn6(FindControlAt(window, L"TBitBtn", {36, 390})),
          BitBtn7(FindControlAt(window, L"TBitBtn", {31, 82})),
          LabeledEdit6(FindControlAt(window, L"TLabeledEdit", {90, 84})),
          ComboBox5(FindControlAt(window, L"TComboBox", {75, 203})),
          ComboBox3(FindControlAt(window, L"TComboBox", {75, 244})),
          BitBtn8(FindControlAt(window, L"TBitBtn", {16, 72})),
          BitBtn9(FindControlAt(window, L"TBitBtn", {16, 107})),
          BitBtn2(FindControlAt(window, L"TBitBtn", {294, 26})),
          LabeledEdit1(FindControlAt(window, L"TLabeledEdit", {40, 35})),
          LabeledEdit2(FindControlAt(window, L"TLabeledEdit", {151, 35})),
          checkbox1(FindControlAt(window, L"TCheckBox", {297, 58})),
          BitBtn3(FindControlAt(window, L"TBitBtn", {133, 88})),
          BitBtn4(FindControlAt(window, L"TBitBtn", {245, 88})),
          ComboBox1(FindControlAt(window, L"TComboBox", {128, 42})),
          LabeledEdit3(FindControlAt(window, L"TSpinEdit", {19, 42})),
          Button1(FindControlAt(window, L"TButton", {108, 191})),
          BitBtn5(FindControlAt(window, L"TBitBtn", {253, 191})),
          ListBox1(FindControlAt(window, L"TListBox", {16, 24})),
          StatusBar1(FindControlAt(window, L"TStatusBar", {0, 501}))
    {
    }

    bool Complete() const
    {
        for (HWND h : {BitBtn1, BitBtn6, BitBtn7, LabeledEdit6, ComboBox5, ComboBox3, BitBtn8, BitBtn9, BitBtn2,
                       LabeledEdit1, LabeledEdit2, checkbox1, BitBtn3, BitBtn4, ComboBox1, LabeledEdit3, Button1,
                       BitBtn5, ListBox1, StatusBar1})
            if (!h)
                return false;
        return true;
    }
    std::wstring Panel(int index) const { return RemoteStatusText(StatusBar1, index); }
    // The traffic log, through the Copy button and the clipboard.
    std::vector<std::wstring> Log() const
    {
        if (::OpenClipboard(nullptr)) {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
        RemoteClick(Button1);
        return ClipboardLines();
    }

    HWND Window, BitBtn1, BitBtn6, BitBtn7, LabeledEdit6, ComboBox5, ComboBox3, BitBtn8, BitBtn9, BitBtn2,
        LabeledEdit1, LabeledEdit2, checkbox1, BitBtn3, BitBtn4, ComboBox1, LabeledEdit3, Button1, BitBtn5, ListBox1,
        StatusBar1;
};

// The counts of continuous reading from their panel ("成功:%d,失败:%d").
inline bool ParseStatistics(const std::wstring& panel, int& successes, int& failures)
{
    return std::swscanf(panel.c_str(), L"成功:%d,失败:%d", &successes, &failures) == 2;
}

// Panels of the status bar the program writes.
constexpr int kRemotePortPanel = 1;
constexpr int kRemoteCommPanel = 5;
constexpr int kRemoteStatisticsPanel = 7;
