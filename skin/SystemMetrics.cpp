// The classic system metrics.
#include "skin/SystemMetrics.h"

const TSystemMetrics& ClassicSystemMetrics() noexcept
{
    static const TSystemMetrics metrics{};
    return metrics;
}
