// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_MAINICON 1
// The skin archive the main window paints itself with (RCDATA).
#define IDR_SKIN 100
