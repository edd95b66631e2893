// Whole-file reads and writes that fail loudly, naming the file.
#include "tools/FileBytes.h"

#include <fstream>
#include <iterator>

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EFileError(Utf8ToWide("cannot open " + path.string()));
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw EFileError(Utf8ToWide("cannot read " + path.string()));
    return bytes;
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw EFileError(Utf8ToWide("cannot create " + path.string()));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw EFileError(Utf8ToWide("cannot write " + path.string()));
}
