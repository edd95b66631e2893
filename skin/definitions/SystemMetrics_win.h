// The running system's metrics, for sizing derived skin images on Windows.
#pragma once

#include "skin/definitions/SystemMetrics.h"

TSystemMetrics CurrentSystemMetrics() noexcept;
