# Skinned menus: the items' geometry is platform-free; the popup menu windows' wrapper is Win32.
list(APPEND QM_SKIN_SOURCES
    menus/MenuItemLayout.cpp
    menus/MenuBarLayout.cpp
)
if(WIN32)
    list(APPEND QM_SKIN_WINDOW_SOURCES
        menus/MenuEntry.cpp
        menus/MenuItemPainter.cpp
        menus/WinSkinPopMenu.cpp
        menus/WinSkinMenu.cpp
        menus/MenuBtn.cpp
        menus/MenuBarTracking.cpp
    )
endif()
