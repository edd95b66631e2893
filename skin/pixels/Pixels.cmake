# Pixel buffer, bitmap loading and painting primitives of the skin core.
list(APPEND QM_SKIN_SOURCES
    pixels/PixelBuffer.cpp
    pixels/SystemColors.cpp
    pixels/BitmapFile.cpp
    pixels/NineSlice.cpp
    pixels/Blitters.cpp
    pixels/Painters.cpp
    pixels/Region.cpp
    pixels/Colours.cpp
    pixels/Gradient.cpp
    pixels/ImageTransforms.cpp
)
# The Windows edges: DIB-section buffers, GetSysColor, region joining.
if(WIN32)
    list(APPEND QM_SKIN_WIN_SOURCES
        pixels/PixelBuffer_win.cpp
        pixels/SystemColors_win.cpp
        pixels/Region_win.cpp
    )
endif()
