// The program carries the skin archive the build packed, byte for byte, as its main window's stored
// SkinStream property, and the archive opens.
#include "app/Resources.h"
#include "skin/archive/MemoryStream.h"
#include "skin/archive/SkinReader.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ProgramPath;
std::string ArchivePath;

// A module loaded only to read its resources; nothing of it runs.
class TResourceModule {
public:
    explicit TResourceModule(const std::string& path)
        : FModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    TResourceModule(const TResourceModule&) = delete;
    TResourceModule& operator=(const TResourceModule&) = delete;
    ~TResourceModule()
    {
        if (FModule)
            FreeLibrary(FModule);
    }
    HMODULE get() const noexcept { return FModule; }

private:
    HMODULE FModule;
};

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(ShippedSkinResource, ProgramHoldsThePackedArchive)
{
    const std::vector<uint8_t> packed = ReadAll(ArchivePath);
    ASSERT_GT(packed.size(), 4u) << ArchivePath;

    const TResourceModule program(ProgramPath);
    ASSERT_NE(program.get(), nullptr) << ProgramPath << ": error " << GetLastError();
    HRSRC info = FindResourceW(program.get(), MAKEINTRESOURCEW(IDR_SKIN), RT_RCDATA);
    ASSERT_NE(info, nullptr) << "no skin resource";
    HGLOBAL loaded = LoadResource(program.get(), info);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    ASSERT_NE(bytes, nullptr);
    // The main window's stored SkinStream: the archive's byte count, then the archive.
    const std::vector<uint8_t> stored(bytes, bytes + SizeofResource(program.get(), info));
    ASSERT_GT(stored.size(), 4u);
    const uint32_t count = uint32_t(stored[0]) | uint32_t(stored[1]) << 8 | uint32_t(stored[2]) << 16 |
        uint32_t(stored[3]) << 24;
    EXPECT_EQ(count, packed.size());
    const std::vector<uint8_t> resource(stored.begin() + 4, stored.end());
    EXPECT_TRUE(resource == packed) << "the stored skin differs from the packed archive";

    // And it is a skin the reader opens, with its definition and bitmaps.
    TMemoryStream source(resource);
    TSkinReader reader([](const std::wstring& text) { ADD_FAILURE() << "message box: " << text.size() << " characters"; });
    ASSERT_TRUE(reader.OpenArchive(source));
    EXPECT_EQ(reader.Header().Version, 20000);
    TMemoryStream definition;
    std::string name;
    reader.FindEntry(".ini", definition, name);
    EXPECT_EQ(name, "qm27k.ini");
    EXPECT_GT(definition.Size(), 0u);
    EXPECT_GT(reader.Count(), 30);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ShippedSkinResourceTest PROGRAM.exe ARCHIVE\n");
        return 2;
    }
    ProgramPath = argv[1];
    ArchivePath = argv[2];
    return RUN_ALL_TESTS();
}
