// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_MAINICON 1
// The main window's stored SkinStream property (RCDATA): a 32-bit little-endian byte count,
// then the skin archive the window paints itself with.
#define IDR_SKIN 100
