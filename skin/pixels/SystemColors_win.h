// The running system's colours, for resolving skin colour references on Windows.
#pragma once

#include "skin/pixels/SystemColors.h"

// Reads GetSysColor for every index; called when the system's colours change, not per paint.
TSystemColors CurrentSystemColors() noexcept;
