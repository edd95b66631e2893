# Skinned menus: the popup menu windows' wrapper (Win32).
if(WIN32)
    list(APPEND QM_SKIN_WINDOW_SOURCES
        menus/WinSkinPopMenu.cpp
    )
endif()
