// The serial ports the system knows, as the registry lists them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr wchar_t kSerialCommKey[] = L"hardware\\devicemap\\SerialComm";

// Port names (such as COM3) in registry enumeration order; empty when the key cannot be read.
std::vector<std::wstring> ReadPortList(HKEY root = HKEY_LOCAL_MACHINE, const wchar_t* path = kSerialCommKey);
