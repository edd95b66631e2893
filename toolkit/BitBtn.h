// Bitmap buttons: push buttons that may carry a glyph beside their caption.
#pragma once

#include "toolkit/Button.h"

enum class TBitBtnKind { Custom, OK, Cancel, Help, Yes, No, Close, Abort, Retry, Ignore, All };

class TBitBtn : public TButton {
    TK_CLASS(TBitBtn)
public:
    using TButton::TButton;
    TBitBtnKind Kind() const noexcept { return FKind; }
    void SetKind(TBitBtnKind kind) { FKind = kind; }

private:
    TBitBtnKind FKind = TBitBtnKind::Custom;
};
