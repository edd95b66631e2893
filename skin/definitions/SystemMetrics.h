// The system metrics the skin loader sizes derived images by.
#pragma once

struct TSystemMetrics {
    // Width of the arrow button of a horizontal scroll bar (SM_CXHSCROLL).
    int HorzScrollArrowWidth = 16;
};

// The classic Windows values; what the loader uses when no system is asked.
const TSystemMetrics& ClassicSystemMetrics() noexcept;
