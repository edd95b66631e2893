// Reading the port list. Read access is all it needs: a standard user is refused full access
// to HKEY_LOCAL_MACHINE and would otherwise always see an empty list.
#include "app/PortList.h"

#include "toolkit/WinHandle.h"

std::vector<std::wstring> ReadPortList(HKEY root, const wchar_t* path)
{
    std::vector<std::wstring> ports;
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return ports;
    const win::RegKey key{raw};

    DWORD valueCount = 0, maxNameLength = 0, maxDataBytes = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                           &maxNameLength, &maxDataBytes, nullptr, nullptr) != ERROR_SUCCESS)
        return ports;

    std::wstring name(maxNameLength + 1, L'\0');
    std::wstring data(maxDataBytes / sizeof(wchar_t) + 1, L'\0');
    for (DWORD index = 0; index < valueCount; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        const LONG status = ::RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data.data()), &dataBytes);
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            continue;
        // Registry strings need not be terminated: cut at the first NUL within what was read.
        std::wstring port(data.data(), dataBytes / sizeof(wchar_t));
        port.resize(wcsnlen(port.c_str(), port.size()));
        ports.push_back(std::move(port));
    }
    return ports;
}
