// Text conversions with the toolkit's rules and error messages.
#pragma once

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
