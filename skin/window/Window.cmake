# The window side's platform-free geometry: borders, caption text and buttons, caption composition, region.
list(APPEND QM_SKIN_SOURCES
    window/FrameGeometry.cpp
    window/CaptionText.cpp
    window/CaptionButtons.cpp
    window/CaptionComposer.cpp
    window/FrameRegion.cpp
)
