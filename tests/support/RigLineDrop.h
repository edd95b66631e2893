// Taking a rig line away under the programs that hold it open, as when a USB adapter is
// pulled out; the rig then gives the pair a fresh line under the same COM names.
#pragma once

#include "tests/support/MessagePump.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

// True once the rig has dropped the line of `port` and made a fresh one; false outside the
// rig (no QM27K_RIG_RUNNER) or when the rig failed.
inline bool DropRigLine(const std::wstring& port)
{
    const char* runner = std::getenv("QM27K_RIG_RUNNER");
    const char* rig = std::getenv("QM27K_RIG_DIR");
    if (!runner || !rig)
        return false;
    // Wine starts a Unix program but gives no handle to wait on, so it leaves a file when done.
    const std::wstring done = L"/tmp/qm27k-drop-line-" + std::to_wstring(::GetCurrentProcessId());
    std::wstring doneWin = L"Z:" + done;
    std::replace(doneWin.begin(), doneWin.end(), L'/', L'\\');
    ::DeleteFileW(doneWin.c_str());
    const auto wide = [](const char* text) { return std::wstring(text, text + std::strlen(text)); };
    std::wstring command = L"/bin/sh -c \"'" + wide(runner) + L"' '" + wide(rig) + L"' --drop-line " + port +
                           L" >/dev/null 2>&1; echo $? >" + done + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return PumpUntil([&] { return ::GetFileAttributesW(doneWin.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000) &&
           ::DeleteFileW(doneWin.c_str());
}
