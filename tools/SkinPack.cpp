// skinpack: builds a version-20000 skin archive from a folder holding one definition text and its bitmaps.
#include "skin/archive/SkinWriter.h"
#include "tools/FileBytes.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

int Pack(const fs::path& folder, const fs::path& output)
{
    if (!fs::is_directory(folder))
        throw EFileError(Utf8ToWide("not a folder: " + folder.string()));
    std::vector<std::string> definitions;
    std::vector<std::string> bitmaps;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        if (!e.is_regular_file())
            continue;
        const std::string name = e.path().filename().string();
        const std::string extension = Lower(e.path().extension().string());
        if (extension == ".ini")
            definitions.push_back(name);
        else if (extension == ".bmp")
            bitmaps.push_back(name);
    }
    if (definitions.size() != 1) {
        std::fprintf(stderr, "skinpack: %s must hold exactly one .ini file, it holds %zu\n", folder.string().c_str(),
                     definitions.size());
        return 1;
    }
    if (bitmaps.size() + 1 > 1001) {
        std::fprintf(stderr, "skinpack: more than 1001 entries\n");
        return 1;
    }
    // Directory order is whatever the file system gives; sorting makes the archive reproducible.
    std::sort(bitmaps.begin(), bitmaps.end());
    TSkinWriter writer;
    writer.AddEntry(definitions[0], ReadFileBytes(folder / definitions[0]));
    for (const std::string& b : bitmaps)
        writer.AddEntry(b, ReadFileBytes(folder / b));
    const std::vector<uint8_t> archive = writer.Archive();
    WriteFileBytes(output, archive);
    std::printf("%s: %zu entries, %zu bytes\n", output.string().c_str(), bitmaps.size() + 1, archive.size());
    return 0;
}

// The archive as a form stores it in its skin data component's SkinStream property: a 32-bit
// little-endian byte count, then the archive.
int Store(const fs::path& archivePath, const fs::path& output)
{
    const std::vector<uint8_t> archive = ReadFileBytes(archivePath);
    const auto count = static_cast<uint32_t>(archive.size());
    std::vector<uint8_t> stored{uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24)};
    stored.insert(stored.end(), archive.begin(), archive.end());
    WriteFileBytes(output, stored);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool store = argc == 4 && std::string(argv[1]) == "--stored";
    if (argc != 3 && !store) {
        std::fprintf(stderr, "usage: skinpack FOLDER ARCHIVE\n       skinpack --stored ARCHIVE STORED\n");
        return 2;
    }
    try {
        return store ? Store(argv[2], argv[3]) : Pack(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
        return 1;
    }
}
