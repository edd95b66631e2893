// The skin objects: one element of the skin each, an image strip of equal frames with margins, tiling and state colours.
#pragma once

#include "skin/pixels/NineSlice.h"
#include "skin/pixels/PixelBuffer.h"
#include "skin/definitions/ParseColour.h"
#include "toolkit/Colors.h"

#include <cstdint>
#include <string>

class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(TDataSkinObject&&) noexcept = default;
    TDataSkinObject& operator=(TDataSkinObject&&) noexcept = default;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    // The margins in the order the painters take them: left, top, right, bottom.
    TMargins Margins() const noexcept { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }
    void SetMargins(const TMargins& m) noexcept
    {
        LeftWidth = m.Left;
        TopHeight = m.Top;
        RightWidth = m.Right;
        BottomHeight = m.Bottom;
    }

    int32_t LeftWidth = 0;
    int32_t TopHeight = 0;
    int32_t RightWidth = 0;
    int32_t BottomHeight = 0;
    TPixelBuffer Bitmap;
    int32_t Trans = 0;
    // 1: the middle is tiled, 0: stretched. The four borders keep their Stretch key here,
    // read the other way round (1: stretched).
    int32_t Tile = 0;
    std::string Name;
    int32_t Frame = 0; // the painters take a count below 1 as one frame
    int32_t Style = 0;
    int32_t NormalColour = -1;
    int32_t MouseOverColour = -1;
    int32_t PressedColour = -1;
    TColor NormalColour2 = 0;
    TColor MouseOverColour2 = 0;
    TColor PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TPixelBuffer Bitmap2;
};

class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int32_t TextAlignment = 0;
    int32_t Textbackground = 0;
    int32_t FontHeight = 0;
    int32_t TXTBackleft = 0;
    int32_t TXTBackRight = 0;
    TColor ActiveText = kColourNotGiven;
    TColor InActiveText = kColourNotGiven;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TPixelBuffer CheckBitmap;
    TPixelBuffer RadioBitmap;
    int32_t RadioButtonFrame = 0;
    int32_t CheckButtonFrame = 0;
    bool NormalColour2Given = false;
    bool MouseOverColour2Given = false;
    bool PressedColour2Given = false;
};

class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int32_t Action = 0;
    int32_t Align = 0;
    int32_t Xcoord = 0;
    int32_t Ycoord = 0;
    int32_t CombineOp = 0;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    int32_t BackgroundLeftShift = 0;
    int32_t BackgroundRightShift = 0;
    int32_t BackgroundAlignment = 0;
};
