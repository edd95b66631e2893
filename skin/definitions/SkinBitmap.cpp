// Skin images by file name.
#include "skin/definitions/SkinBitmap.h"

#include "skin/pixels/BitmapFile.h"

void LoadSkinBitmap(const TSkinReader& reader, std::string_view fileName, TPixelBuffer& target)
{
    target = TPixelBuffer();
    const size_t slash = fileName.find_last_of("\\/:");
    const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp")
        return;
    TMemoryStream entry;
    reader.ExtractEntry(name, entry);
    if (entry.Size() == 0)
        return;
    try {
        target = LoadBitmapFile(entry.Bytes());
    } catch (const EBitmapError&) {
        // A damaged image counts as a missing one: the element is drawn without it.
    }
}
