// Fonts as controls carry them: face, pixel height, colour and style, with a lazily made HFONT.
#pragma once

#include "toolkit/Colors.h"
#include "toolkit/Component.h"
#include "toolkit/WinHandle.h"

#include <functional>
#include <string>

enum class TFontStyle : unsigned { None = 0, Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
constexpr TFontStyle operator|(TFontStyle a, TFontStyle b) { return TFontStyle(unsigned(a) | unsigned(b)); }
constexpr bool HasStyle(TFontStyle set, TFontStyle s) { return (unsigned(set) & unsigned(s)) != 0; }

struct TTextSize {
    int Width = 0;
    int Height = 0;
};

class TFont : public TObject {
    TK_CLASS(TFont)
public:
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other); // keeps OnChange, fires it

    const std::wstring& Name() const noexcept { return FName; }
    void SetName(const std::wstring& name);
    // Character height in pixels; positive, as the window's "11 pixels" means.
    int Height() const noexcept { return FHeight; }
    void SetHeight(int height);
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor color);
    TFontStyle Style() const noexcept { return FStyle; }
    void SetStyle(TFontStyle style);

    bool SameAs(const TFont& other) const noexcept;
    HFONT Handle() const; // owned by the font; valid until the next change

    std::function<void()> OnChange;

private:
    void Changed();

    std::wstring FName = L"MS Sans Serif";
    int FHeight = 11;
    TColor FColor = clWindowText;
    TFontStyle FStyle = TFontStyle::None;
    mutable win::GdiObject<HFONT> FHandle;
};

// The size of one line of text in the font, as the screen would draw it (a blank when empty,
// so that an empty caption keeps a line's height).
TTextSize TextExtent(const TFont& font, const std::wstring& text);
