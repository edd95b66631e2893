// skininfo: lists a skin archive's entries, definition sections, skin objects and colours; extracts one entry, or writes the raw payload.
#include "skin/archive/Lzh.h"
#include "skin/definitions/QuickIni.h"
#include "skin/definitions/SkinObjects.h"
#include "skin/archive/SkinReader.h"
#include "tools/FileBytes.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

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

void ListSections(const TQuickIni& ini)
{
    std::vector<std::string> sections;
    ini.ReadSections(&sections);
    std::printf("%zu sections\n", sections.size());
    for (const std::string& name : sections)
        std::printf("  [%s]\n", name.c_str());
}

void ListObjects(const TSkinObjects& model)
{
    const std::vector<const TDataSkinObject*> objects = model.Objects();
    std::printf("skin name: %s\n%zu objects\n", model.SkinName.c_str(), objects.size());
    std::printf("  %-20s %9s %6s  %-15s %5s %4s %5s\n", "name", "image", "frames", "margins", "trans", "tile",
                "style");
    for (const TDataSkinObject* o : objects) {
        const std::string size = std::to_string(o->Bitmap.Width()) + "x" + std::to_string(o->Bitmap.Height());
        const std::string margins = std::to_string(o->LeftWidth) + "," + std::to_string(o->TopHeight) + "," +
                                    std::to_string(o->RightWidth) + "," + std::to_string(o->BottomHeight);
        std::printf("  %-20s %9s %6d  %-15s %5d %4d %5d", o->Name.c_str(), size.c_str(), static_cast<int>(o->Frame),
                    margins.c_str(), static_cast<int>(o->Trans), static_cast<int>(o->Tile), static_cast<int>(o->Style));
        if (const auto* b = dynamic_cast<const TDataSkinSysButton*>(o))
            std::printf("  action %d align %d at %d,%d", static_cast<int>(b->Action), static_cast<int>(b->Align),
                        static_cast<int>(b->Xcoord), static_cast<int>(b->Ycoord));
        if (const auto* b = dynamic_cast<const TDataSkinButton*>(o))
            std::printf("  check %dx%d/%d radio %dx%d/%d", b->CheckBitmap.Width(), b->CheckBitmap.Height(),
                        static_cast<int>(b->CheckButtonFrame), b->RadioBitmap.Width(), b->RadioBitmap.Height(),
                        static_cast<int>(b->RadioButtonFrame));
        if (const auto* b = dynamic_cast<const TDataSkinBorder*>(o); b != nullptr && !b->Bitmap2.IsEmpty())
            std::printf("  second %dx%d", b->Bitmap2.Width(), b->Bitmap2.Height());
        std::printf("\n");
    }
}

void ListColours(const TSkinObjects& model)
{
    std::printf("colours\n");
    for (int i = 0; i < TSkinObjects::kSysColourCount; ++i) {
        const auto at = static_cast<size_t>(i);
        const char* key = i == TSkinObjects::kFrameColour ? "(frame colour)" : TSkinObjects::kSysColourKeys[at];
        std::printf("  %2d %-18s 0x%08X%s\n", i, key, static_cast<unsigned>(model.SysColours[at]),
                    model.SysColourSet[at] ? "" : "  default");
    }
    for (size_t i = 0; i < model.SectionColours.size(); ++i)
        std::printf("  section colour %zu 0x%08X\n", i, static_cast<unsigned>(model.SectionColours[i]));
    for (size_t i = 0; i < model.CustomColours.size(); ++i)
        std::printf("  custom colour %zu 0x%08X\n", i, static_cast<unsigned>(model.CustomColours[i]));
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

    // The same steps as the skin data component: the first entry named like a definition,
    // and every object built from it, defaults included when there is none.
    TMemoryStream entry;
    std::string name;
    reader.FindEntry(".ini", entry, name);
    std::printf("definition: %s\n", name.empty() ? "(none)" : name.c_str());
    TQuickIni ini;
    ini.LoadFromStream(entry);
    TSkinObjects model;
    model.BuildSkinObjects(reader, ini);
    ListSections(ini);
    ListObjects(model);
    ListColours(model);
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
                 "usage: skininfo ARCHIVE                 list entries, sections, skin objects and colours\n"
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
