// Feeds arbitrary text to the definition parser and builds the skin objects from it against a fixed archive of images.
#include "skin/pixels/Painters.h"
#include "tests/unit/PixelTestSupport.h"
#include "tests/unit/SkinFixture.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Short names, so that the fuzzer finds them: strips of several shapes, a magenta one and a
// file that is no bitmap.
const TSkinReader& Images()
{
    static const TSkinReader reader = [] {
        TSkinWriter writer;
        writer.AddEntry("a.bmp", MakeBmp(Numbered(60, 20).View()));
        writer.AddEntry("b.bmp", MakeBmp(Numbered(150, 20).View()));
        writer.AddEntry("c.bmp", MakeBmp(Numbered(1, 1).View()));
        writer.AddEntry("d.bmp", MakeBmp(Numbered(4, 45).View()));
        writer.AddEntry("m.bmp", MakeBmp(SolidFrames(3, 7, {0xFFFF00FFu, 0xFF000000u, 0xFFFF00FFu}).View()));
        writer.AddEntry("x.bmp", {'B', 'M', 0, 0});
        TMemoryStream source(writer.Archive());
        TSkinReader r;
        r.OpenArchive(source);
        return r;
    }();
    return reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    TQuickIni ini;
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    TSkinObjects model;
    model.BuildSkinObjects(Images(), ini);

    // Whatever numbers the text gave, painting every object must stay inside its images.
    TPixelBuffer canvas(31, 23);
    const TPixelView dst = canvas.View();
    for (const TDataSkinObject* o : model.Objects()) {
        const TPixelView image = o->Bitmap.View();
        const TKeying keying = o->Trans != 0 ? TKeying::Transparent : TKeying::Opaque;
        const TCentre centre = o->Tile == 1 ? TCentre::Tile : TCentre::Stretch;
        DrawNineSlice(dst, {-2, 1, 29, 23}, image, TStrip::Horizontal, centre, keying, o->Frame, 2, o->Margins());
        DrawNineSlice(dst, {0, 0, 12, 30}, image, TStrip::Vertical, centre, keying, o->Frame, o->Frame, o->Margins());
        DrawThreeSlice(dst, {1, 1, 30, 9}, image, TStrip::Horizontal, keying, o->Frame, 1, o->Margins());
        DrawFrameCentred(dst, {0, 0, 7, 7}, image, keying, o->Frame, o->Frame + 1);
        (void)model.FindObject(o->Name);
    }
    return 0;
}
