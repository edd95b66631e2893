// The skinned radio buttons: the radio strip in place of the check strip.
#include "skin/controls/SkinRadioButton.h"

#include "skin/window/SkinData.h"

const TClassInfo TSkinRadioButton::StaticClass{L"TSkinRadioButton", &TSkinCheckBox::StaticClass, {}};

const TPixelBuffer& TSkinRadioButton::Strip() const { return FSkinData->Skin().Buttons.RadioBitmap; }

int TSkinRadioButton::StripCells() const { return FSkinData->Skin().Buttons.RadioButtonFrame; }
