# The skinned controls: the push button's face geometry is platform-free; the wrappers that take
# over controls' messages are Win32 and sit on the toolkit beside the frame.
list(APPEND QM_SKIN_SOURCES
    controls/ButtonFace.cpp
    controls/CheckFace.cpp
    controls/EditFaces.cpp
    controls/ScrollBarLayout.cpp
    controls/ScrollBarPainter.cpp
)
if(WIN32)
    list(APPEND QM_SKIN_WINDOW_SOURCES
        controls/SkinControl.cpp
        controls/SkinButton.cpp
        controls/SkinBitButton.cpp
        controls/SkinBox.cpp
        controls/SkinBoxH.cpp
        controls/SkinCheckBox.cpp
        controls/SkinComBox.cpp
        controls/ComboxScrollBar.cpp
        controls/NativeScrollBar.cpp
        controls/WScrollbar.cpp
        controls/SkinEdit.cpp
        controls/SkinGroupBox.cpp
        controls/SkinRadioButton.cpp
        controls/SkinScrollbar.cpp
        controls/SkinScrollbarH.cpp
        controls/SkinSizer.cpp
        controls/SkinStatusBar.cpp
        controls/SkinUpDown.cpp
    )
endif()
