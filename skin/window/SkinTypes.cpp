// Names of the skin data component's sets and scope as text.
#include "skin/window/SkinTypes.h"

#include "toolkit/Exception.h"
#include "toolkit/SysUtils.h"

#include <array>

namespace {

constexpr std::array<const wchar_t*, 12> kOptionNames{L"xoMDIScrollbar", L"xoMenuMerge", L"xoTransparent",
    L"xoPreview", L"xoParentBackGround", L"xoNoFocusRect", L"xoToolbarBK", L"xoToolbarButton",
    L"xoMDIChildBorder", L"xoMenuBG", L"xoCaptionButtonHint", L"xoFormScrollbar"};
constexpr std::array<const wchar_t*, 22> kControlNames{L"xcMainMenu", L"xcPopupMenu", L"xcMenuItem",
    L"xcToolbar", L"xcControlbar", L"xcCombo", L"xcCheckBox", L"xcRadioButton", L"xcProgress", L"xcScrollbar",
    L"xcEdit", L"xcButton", L"xcBitBtn", L"xcSpeedButton", L"xcSpin", L"xcPanel", L"xcGroupBox", L"xcStatusBar",
    L"xcTab", L"xcTrackBar", L"xcSystemMenu", L"xcFastReport"};
constexpr std::array<const wchar_t*, 4> kFormTypeNames{L"sfMainform", L"sfOnlyThisForm", L"sfDialog", L"sfDLL"};

template <size_t N>
std::wstring SetToText(std::uint32_t bits, const std::array<const wchar_t*, N>& names)
{
    std::wstring text = L"[";
    for (size_t i = 0; i < N; ++i) {
        if (!(bits & (std::uint32_t(1) << i)))
            continue;
        if (text.size() > 1)
            text += L',';
        text += names[i];
    }
    return text + L']';
}

std::wstring_view Trim(std::wstring_view s)
{
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t'))
        s.remove_suffix(1);
    return s;
}

template <size_t N>
std::uint32_t SetFromText(std::wstring_view text, const std::array<const wchar_t*, N>& names, const wchar_t* what)
{
    text = Trim(text);
    if (text.size() < 2 || text.front() != L'[' || text.back() != L']')
        throw EConvertError(L"'" + std::wstring(text) + L"' is not a valid " + what);
    text = text.substr(1, text.size() - 2);
    std::uint32_t bits = 0;
    while (!Trim(text).empty()) {
        const size_t comma = text.find(L',');
        const std::wstring_view name = Trim(text.substr(0, comma));
        bits |= std::uint32_t(1) << IndexOfName(names, name, what);
        text = comma == std::wstring_view::npos ? std::wstring_view{} : text.substr(comma + 1);
    }
    return bits;
}

} // namespace

std::wstring SkinOptionsToText(TSkinOptions set) { return SetToText(set.Bits(), kOptionNames); }
std::wstring SkinControlTypesToText(TSkinControlTypes set) { return SetToText(set.Bits(), kControlNames); }
std::wstring SkinFormTypeToText(TSkinFormType type) { return kFormTypeNames[static_cast<size_t>(type)]; }

TSkinOptions SkinOptionsFromText(std::wstring_view text)
{
    return TSkinOptions::FromBits(SetFromText(text, kOptionNames, L"skin option"));
}

TSkinControlTypes SkinControlTypesFromText(std::wstring_view text)
{
    return TSkinControlTypes::FromBits(SetFromText(text, kControlNames, L"skin control type"));
}

TSkinFormType SkinFormTypeFromText(std::wstring_view text)
{
    return static_cast<TSkinFormType>(IndexOfName(kFormTypeNames, Trim(text), L"skin form type"));
}
