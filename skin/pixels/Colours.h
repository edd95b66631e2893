// Arithmetic on skin colours: mixing two colours and the saturation figure that picks toolbar shades.
#pragma once

#include "skin/pixels/SystemColors.h"

// c1 mixed into c2: p is c1's share in percent when below 100, else in per-mille. System
// colour references are resolved first; each channel is rounded and held to 0..255.
TColor BlendColours(TColor c1, TColor c2, int p, const TSystemColors& sys) noexcept;

// (max − min) ÷ max of the channels scaled to 0..255 and rounded when any channel exceeds
// 159; 200 for darker colours.
int SaturationFigure(TColor c, const TSystemColors& sys) noexcept;
