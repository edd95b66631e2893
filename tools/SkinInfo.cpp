// skininfo: lists a skin archive's version and entries, extracts one entry, or writes the raw payload.
#include "skin/Lzh.h"
#include "skin/SkinReader.h"
#include "tools/FileBytes.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

namespace {

// Opens the archive or explains on stderr why not; the message box text goes there too.
bool Open(const char* path, TSkinReader& reader)
{
    TMemoryStream source(ReadFileBytes(path));
    if (reader.OpenArchive(source))
        return true;
    std::fprintf(stderr, "skininfo: %s: unknown version %d\n", path, static_cast<int>(reader.Header().Version));
    return false;
}

int List(const char* path)
{
    TSkinReader reader;
    if (!Open(path, reader))
        return 1;
    std::printf("version %d, %d entries\n", static_cast<int>(reader.Header().Version), reader.Count());
    for (int i = 0; i < reader.Count(); ++i)
        std::printf("%10d  %s\n", static_cast<int>(reader.Sizes()[static_cast<size_t>(i)]),
                    reader.Names()[static_cast<size_t>(i)].c_str());
    // FIXME: list the definition's sections and the skin objects built from them once the
    // definition parser exists; it reads the entry that FindEntry(".ini") returns here.
    return 0;
}

int Extract(const char* path, const char* name, const char* output)
{
    TSkinReader reader;
    if (!Open(path, reader))
        return 1;
    TMemoryStream entry;
    reader.ExtractEntry(name, entry);
    if (entry.Size() == 0) {
        std::fprintf(stderr, "skininfo: %s: no entry named %s (or it is empty)\n", path, name);
        return 1;
    }
    WriteFileBytes(output, entry.Bytes());
    return 0;
}

int DecodePayload(const char* path, const char* output)
{
    TMemoryStream source(ReadFileBytes(path));
    const TMemoryStream payload = TSkinReader::DecompressArchive(source);
    WriteFileBytes(output, payload.Bytes());
    std::printf("%s: %zu bytes\n", output, payload.Size());
    return 0;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: skininfo ARCHIVE                 list version and entries\n"
                 "       skininfo extract ARCHIVE NAME OUT  write one entry to OUT\n"
                 "       skininfo decode IN OUT             write the whole decoded payload to OUT\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 2)
            return List(argv[1]);
        const std::string_view command = argc > 1 ? argv[1] : "";
        if (command == "extract" && argc == 5)
            return Extract(argv[2], argv[3], argv[4]);
        if (command == "decode" && argc == 4)
            return DecodePayload(argv[2], argv[3]);
        return Usage();
    } catch (const Exception& e) {
        std::fprintf(stderr, "skininfo: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skininfo: %s\n", e.what());
        return 1;
    }
}
