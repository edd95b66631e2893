# Definition parser and skin object model sources of the skin core.
list(APPEND QM_SKIN_SOURCES
    definitions/QuickIni.cpp
    definitions/ParseColour.cpp
    definitions/SkinBitmap.cpp
    definitions/SystemMetrics.cpp
    definitions/BuiltinTrack.cpp
    definitions/SkinObjects.cpp
    definitions/SkinObjectLoaders.cpp
    definitions/SkinDerivedImages.cpp
)
# The Windows edge: the system metrics the derived images are sized by.
if(WIN32)
    list(APPEND QM_SKIN_WIN_SOURCES
        definitions/SystemMetrics_win.cpp
    )
endif()
