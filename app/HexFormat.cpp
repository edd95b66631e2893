// Hex text without printf: the log formats every frame that passes.
#include "app/HexFormat.h"

std::wstring FormatHexBytes(const std::uint8_t* bytes, size_t count)
{
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        text += L' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}
