// TLZH, the LZHUF decoder of skin archives, and the error it raises.
#pragma once

#include "toolkit/Exception.h"

#include <cstddef>
#include <cstdint>
#include <functional>

class ElzhException : public Exception {
public:
    using Exception::Exception;
};

// Delivers up to count bytes into buffer and returns how many; fewer only at the end of input.
using TLzhRead = std::function<size_t(uint8_t* buffer, size_t count)>;
// Takes count decoded bytes.
using TLzhWrite = std::function<void(const uint8_t* buffer, size_t count)>;

class TLZH {
public:
    static constexpr const wchar_t* kNoMemory = L"LZH : Cannot get memory for dictionary tables";

    // Produces at least count bytes (a final match is copied whole, so up to 59 more).
    // Input that ends early reads as zero bits, so the count is still produced.
    void Decode(size_t count, const TLzhWrite& write, const TLzhRead& read);
};
