// Font state and its GDI handle, rebuilt only after a change.
#include "toolkit/Font.h"

#include "toolkit/SysUtils.h"

std::uint32_t ColorToRGB(TColor color)
{
    return ResolveColorValue(color, [](int index) { return ::GetSysColor(index); });
}

namespace {
const TPropertyInfo kFontProps[] = {
    {L"Name", [](const TObject& o) { return static_cast<const TFont&>(o).Name(); },
     [](TObject& o, std::wstring_view v) { static_cast<TFont&>(o).SetName(std::wstring(v)); }},
    {L"Height", [](const TObject& o) { return IntToStr(static_cast<const TFont&>(o).Height()); },
     [](TObject& o, std::wstring_view v) { static_cast<TFont&>(o).SetHeight(StrToInt(v)); }},
    {L"Color", [](const TObject& o) { return IntToStr(static_cast<const TFont&>(o).Color()); },
     [](TObject& o, std::wstring_view v) { static_cast<TFont&>(o).SetColor(static_cast<TColor>(StrToInt(v))); }},
};
} // namespace

const TClassInfo TFont::StaticClass{L"TFont", &TObject::StaticClass, kFontProps};

TFont::TFont() = default;

TFont::TFont(const TFont& other)
    : TObject(), FName(other.FName), FHeight(other.FHeight), FColor(other.FColor), FStyle(other.FStyle)
{
}

TFont& TFont::operator=(const TFont& other)
{
    if (this != &other && !SameAs(other)) {
        FName = other.FName;
        FHeight = other.FHeight;
        FColor = other.FColor;
        FStyle = other.FStyle;
        Changed();
    }
    return *this;
}

bool TFont::SameAs(const TFont& other) const noexcept
{
    return FName == other.FName && FHeight == other.FHeight && FColor == other.FColor && FStyle == other.FStyle;
}

void TFont::SetName(const std::wstring& name)
{
    if (name == FName) return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height)
{
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TFont::SetStyle(TFontStyle style)
{
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::Changed()
{
    FHandle.reset();
    if (OnChange)
        OnChange();
}

HFONT TFont::Handle() const
{
    if (!FHandle) {
        LOGFONTW lf{};
        lf.lfHeight = -FHeight; // negative: character height, not cell height
        lf.lfWeight = HasStyle(FStyle, TFontStyle::Bold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = HasStyle(FStyle, TFontStyle::Italic);
        lf.lfUnderline = HasStyle(FStyle, TFontStyle::Underline);
        lf.lfStrikeOut = HasStyle(FStyle, TFontStyle::StrikeOut);
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
        FHandle.reset(::CreateFontIndirectW(&lf));
    }
    return FHandle.get();
}

TTextSize TextExtent(const TFont& font, const std::wstring& text)
{
    HDC screen = ::GetDC(nullptr);
    RECT r{0, 0, 0, 0};
    {
        win::Select selected{screen, font.Handle()};
        const std::wstring measured = text.empty() ? L" " : text;
        ::DrawTextW(screen, measured.c_str(), static_cast<int>(measured.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    }
    ::ReleaseDC(nullptr, screen);
    return {r.right, r.bottom};
}
