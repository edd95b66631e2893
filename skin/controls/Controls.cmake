# The skinned controls: the push button's face geometry is platform-free; the wrappers that take
# over controls' messages are Win32 and sit on the toolkit beside the frame.
list(APPEND QM_SKIN_SOURCES
    controls/ButtonFace.cpp
)
if(WIN32)
    list(APPEND QM_SKIN_WINDOW_SOURCES
        controls/SkinControl.cpp
        controls/SkinButton.cpp
        controls/SkinBitButton.cpp
    )
endif()
