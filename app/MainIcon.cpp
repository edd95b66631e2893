// Loads the icon at its own size, so the system never scales a smaller one up.
#include "app/MainIcon.h"

#include "app/Resources.h"

win::Icon LoadMainIcon(HINSTANCE instance)
{
    return win::Icon{static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON, 64, 64, LR_DEFAULTCOLOR))};
}
