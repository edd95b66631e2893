# The window side's platform-free geometry: borders, caption text and buttons, caption composition, region.
list(APPEND QM_SKIN_SOURCES
    window/FrameGeometry.cpp
    window/CaptionText.cpp
    window/CaptionButtons.cpp
    window/CaptionComposer.cpp
    window/FrameRegion.cpp
    window/SkinTypes.cpp
)
# The Win32 side: the skin data component, the manager and its hook, the frame and its caption
# buttons. It takes over live windows, so it sits on the toolkit.
if(WIN32)
    list(APPEND QM_SKIN_WINDOW_SOURCES
        window/IconPicture.cpp
        window/SkinData.cpp
        window/SkinManager.cpp
        window/SysButtons.cpp
        window/WinSkinForm.cpp
        window/WinSkinFormButtons.cpp
        window/WinSkinFormPaint.cpp
        window/WinSkinFormControls.cpp
        window/WinSkinFormMenuBar.cpp
        window/WinSkinFormMenuItems.cpp
        window/WinSkinFormMdi.cpp
        window/MdiClientLink.cpp
    )
endif()
