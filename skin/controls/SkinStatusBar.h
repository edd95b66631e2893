// TSkinStatusBar: the wrapper of status bars. It paints the panels' edges and texts from the
// skin, reading every panel from the bar itself (parts, rectangles, bevels, texts), so the bar
// keeps its texts and answers for them to other programs as before.
#pragma once

#include "skin/controls/SkinControl.h"
#include "skin/pixels/PixelBuffer.h"

#include <string>
#include <vector>

// StatusBarEdges frames by a panel's bevel.
namespace status_frame {
constexpr int kLowered = 1, kRaised = 2, kNone = 3;
constexpr int kSizeGrip = 5; // of ExtraImages
} // namespace status_frame

enum class TPanelAlignment { Left, Centre, Right };

struct TStatusPanelFace {
    RECT Box{};
    int Frame = status_frame::kLowered;
    std::wstring Text;
    TPanelAlignment Alignment = TPanelAlignment::Left;
    bool RightToLeft = false;
    bool OwnerDraw = false;
    ULONG_PTR Data = 0; // an owner-drawn panel's value
};

class TSkinStatusBar : public TSkinControl {
    TK_CLASS(TSkinStatusBar)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& Message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The panels as the last Draw painted them.
    const std::vector<TStatusPanelFace>& Panels() const noexcept { return FPanels; }

private:
    bool HasEdges() const;
    void WMPaint(TMessage& Message);
    void ReadPanels(int width);
    std::wstring PartText(int part) const;
    void Compose(int width, int height, const RECT& area);
    void DrawOwnerPanels(HDC dc);

    std::vector<TStatusPanelFace> FPanels;
    TPixelBuffer FFace;
};
