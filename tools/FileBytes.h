// Whole-file reads and writes for the command-line tools, with plain C++ file streams.
#pragma once

#include "toolkit/Exception.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// Raised with the file name in its text when a file cannot be read or written.
class EFileError : public Exception {
public:
    using Exception::Exception;
};

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);
