# Pixel buffer, bitmap loading and painting primitives of the skin core.
list(APPEND QM_SKIN_SOURCES
    PixelBuffer.cpp
    SystemColors.cpp
    BitmapFile.cpp
    NineSlice.cpp
    Blitters.cpp
    Painters.cpp
    Region.cpp
    Colours.cpp
    Gradient.cpp
    ImageTransforms.cpp
)
# The Windows edges: DIB-section buffers, GetSysColor, region joining.
if(WIN32)
    list(APPEND QM_SKIN_WIN_SOURCES
        PixelBuffer_win.cpp
        SystemColors_win.cpp
        Region_win.cpp
    )
endif()
