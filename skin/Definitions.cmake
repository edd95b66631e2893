# Definition parser and skin object model sources of the skin core.
list(APPEND QM_SKIN_SOURCES
    QuickIni.cpp
    ParseColour.cpp
    SkinBitmap.cpp
    SystemMetrics.cpp
    BuiltinTrack.cpp
    SkinObjects.cpp
    SkinObjectLoaders.cpp
    SkinDerivedImages.cpp
)
# The Windows edge: the system metrics the derived images are sized by.
if(WIN32)
    list(APPEND QM_SKIN_WIN_SOURCES
        SystemMetrics_win.cpp
    )
endif()
