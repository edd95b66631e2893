// The classic system metrics.
#include "skin/definitions/SystemMetrics.h"

const TSystemMetrics& ClassicSystemMetrics() noexcept
{
    static const TSystemMetrics metrics{};
    return metrics;
}
