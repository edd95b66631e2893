// Text conversions; only ASCII letters fold case, as identifiers and numbers need no more.
#include "toolkit/SysUtils.h"

#include "toolkit/Exception.h"

#include <cstdint>

namespace {

wchar_t FoldLower(wchar_t c) noexcept { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }
wchar_t FoldUpper(wchar_t c) noexcept { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

[[noreturn]] void ThrowNotInteger(std::wstring_view text)
{
    throw EConvertError(L"'" + std::wstring(text) + L"' is not a valid integer value");
}

int DigitValue(wchar_t c) noexcept
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    c = FoldLower(c);
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

} // namespace

int StrToInt(std::wstring_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' && FoldLower(text[i + 1]) == L'x') {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        ThrowNotInteger(text);

    // Hexadecimal may spell the full 32-bit pattern ($FFFFFFFF is -1), decimal must fit int.
    const std::int64_t limit = base == 16 ? 0xFFFFFFFFll : (negative ? 0x80000000ll : 0x7FFFFFFFll);
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit < 0 || digit >= base)
            ThrowNotInteger(text);
        value = value * base + digit;
        if (value > limit)
            ThrowNotInteger(text);
    }
    if (negative)
        value = -value;
    return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

std::wstring IntToStr(long long value) { return std::to_wstring(value); }

bool SameText(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldLower(a[i]) != FoldLower(b[i]))
            return false;
    return true;
}

std::wstring LowerCase(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out) c = FoldLower(c);
    return out;
}

std::wstring UpperCase(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out) c = FoldUpper(c);
    return out;
}

bool StrToBool(std::wstring_view text)
{
    if (SameText(text, L"True") || text == L"1") return true;
    if (SameText(text, L"False") || text == L"0") return false;
    throw EConvertError(L"'" + std::wstring(text) + L"' is not a valid boolean value");
}

std::wstring BoolToStr(bool value) { return value ? L"True" : L"False"; }

size_t IndexOfName(std::span<const wchar_t* const> names, std::wstring_view name, std::wstring_view what)
{
    for (size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name))
            return i;
    throw EConvertError(L"'" + std::wstring(name) + L"' is not a valid " + std::wstring(what));
}
