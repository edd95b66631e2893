// Base exception of the toolkit: every component error carries a wide message for the error box.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

class Exception : public std::runtime_error {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const noexcept { return FMessage; }

private:
    std::wstring FMessage;
};

// Raised when stored data (a form's binary property) is shorter than it says.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// Raised when text cannot be converted, e.g. by StrToInt.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
