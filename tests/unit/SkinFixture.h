// A skin made in memory: definition text and images packed into an archive, read back and built into the model.
#pragma once

#include "skin/definitions/SkinObjects.h"
#include "skin/archive/SkinWriter.h"
#include "tests/unit/BmpFileBuilder.h"

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using TSkinFiles = std::vector<std::pair<std::string, TBytes>>;

// An image of equal frames side by side, frame i a solid colour (opaque BGRA pixels).
inline TPixelBuffer SolidFrames(int frameWidth, int height, std::initializer_list<std::uint32_t> colours)
{
    TPixelBuffer image(frameWidth * static_cast<int>(colours.size()), height);
    int x = 0;
    for (const std::uint32_t c : colours) {
        const TPixelView v = image.View();
        for (int y = 0; y < height; ++y)
            for (int i = 0; i < frameWidth; ++i)
                v.At(x + i, y) = c;
        x += frameWidth;
    }
    return image;
}

// The same with the frames stacked top to bottom, as the Top and Bottom borders hold theirs.
inline TPixelBuffer StackedFrames(int width, int frameHeight, std::initializer_list<std::uint32_t> colours)
{
    TPixelBuffer image(width, frameHeight * static_cast<int>(colours.size()));
    int y = 0;
    for (const std::uint32_t c : colours) {
        const TPixelView v = image.View();
        for (int row = 0; row < frameHeight; ++row)
            for (int x = 0; x < width; ++x)
                v.At(x, y + row) = c;
        y += frameHeight;
    }
    return image;
}

inline TBytes SkinArchive(const std::string& definition, const TSkinFiles& files)
{
    TSkinWriter writer;
    writer.AddEntry("skin.ini", TBytes(definition.begin(), definition.end()));
    for (const auto& [name, bytes] : files)
        writer.AddEntry(name, bytes);
    return writer.Archive();
}

// Reader, parsed definition and model of one archive, as the skin data component holds them.
struct TSkinFixture {
    TSkinReader Reader;
    TQuickIni Ini;
    TSkinObjects Model;

    explicit TSkinFixture(const TBytes& archive, const TSystemMetrics& metrics = ClassicSystemMetrics())
        : Model(ClassicSystemColors(), metrics)
    {
        TMemoryStream source{TBytes(archive)};
        if (!Reader.OpenArchive(source))
            throw std::runtime_error("skin fixture: archive of an unknown version");
        TMemoryStream entry;
        std::string name;
        Reader.FindEntry(".ini", entry, name);
        Ini.LoadFromStream(entry);
        Model.BuildSkinObjects(Reader, Ini);
    }
    TSkinFixture(const std::string& definition, const TSkinFiles& files = {},
                 const TSystemMetrics& metrics = ClassicSystemMetrics())
        : TSkinFixture(SkinArchive(definition, files), metrics)
    {
    }
};
