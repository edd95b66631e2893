// The skin data component's option and control-kind sets, and its scope, as plain values.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

enum class TSkinFormType : std::uint8_t { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// Bit order as stored, 0 to 11.
enum class TSkinOption : std::uint8_t {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect,
    xoToolbarBK, xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint, xoFormScrollbar,
};

// Bit order as stored, 0 to 21.
enum class TSkinControlType : std::uint8_t {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport,
};

// A set of enumeration values kept as the 32 bits it is stored in.
template <class E>
class TEnumSet {
public:
    constexpr TEnumSet() noexcept = default;
    constexpr TEnumSet(std::initializer_list<E> values) noexcept
    {
        for (E v : values)
            FBits |= Bit(v);
    }
    static constexpr TEnumSet FromBits(std::uint32_t bits) noexcept
    {
        TEnumSet s;
        s.FBits = bits;
        return s;
    }
    constexpr std::uint32_t Bits() const noexcept { return FBits; }
    constexpr bool Contains(E v) const noexcept { return (FBits & Bit(v)) != 0; }
    constexpr void Include(E v) noexcept { FBits |= Bit(v); }
    constexpr void Exclude(E v) noexcept { FBits &= ~Bit(v); }
    constexpr bool operator==(const TEnumSet&) const noexcept = default;

private:
    static constexpr std::uint32_t Bit(E v) noexcept { return std::uint32_t(1) << static_cast<unsigned>(v); }
    std::uint32_t FBits = 0;
};

using TSkinOptions = TEnumSet<TSkinOption>;
using TSkinControlTypes = TEnumSet<TSkinControlType>;

// Set and enumeration values as a form description writes them: "[xoPreview,xoToolbarBK]".
std::wstring SkinOptionsToText(TSkinOptions set);
std::wstring SkinControlTypesToText(TSkinControlTypes set);
std::wstring SkinFormTypeToText(TSkinFormType type);
// Unknown names raise EConvertError; blanks around names are allowed.
TSkinOptions SkinOptionsFromText(std::wstring_view text);
TSkinControlTypes SkinControlTypesFromText(std::wstring_view text);
TSkinFormType SkinFormTypeFromText(std::wstring_view text);
