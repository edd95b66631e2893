// The program carries the skin archive the build packed, byte for byte, as a resource it can open.
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
    const std::vector<uint8_t> resource(bytes, bytes + SizeofResource(program.get(), info));
    EXPECT_EQ(resource.size(), packed.size());
    EXPECT_TRUE(resource == packed) << "the resource differs from the packed archive";

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
