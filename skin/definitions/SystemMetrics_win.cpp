// Reads the metrics the skin loader needs from GetSystemMetrics.
#include "skin/definitions/SystemMetrics_win.h"

#include <windows.h>

TSystemMetrics CurrentSystemMetrics() noexcept
{
    TSystemMetrics metrics;
    metrics.HorzScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
    return metrics;
}
