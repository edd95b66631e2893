// Text conversions with the toolkit's rules and error messages.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Decimal or hexadecimal ("$1F", "0x1F") 32-bit integer, optional sign and leading blanks.
// Anything else raises EConvertError "'<text>' is not a valid integer value".
int StrToInt(std::wstring_view text);
std::wstring IntToStr(long long value);

bool SameText(std::wstring_view a, std::wstring_view b) noexcept;
std::wstring LowerCase(std::wstring_view text);
std::wstring UpperCase(std::wstring_view text);

// Boolean text as published properties carry it: "True"/"False" (any case) or 0/1.
bool StrToBool(std::wstring_view text);
std::wstring BoolToStr(bool value);

// Position of an enumeration's name in its table (any case), as published properties are set;
// a name not in the table raises EConvertError "'<name>' is not a valid <what>".
size_t IndexOfName(std::span<const wchar_t* const> names, std::wstring_view name, std::wstring_view what);
