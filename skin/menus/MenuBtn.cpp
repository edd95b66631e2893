// A menu bar item's look for its state and its toolkit item.
#include "skin/menus/MenuBtn.h"

#include "skin/menus/WinSkinMenu.h"
#include "skin/window/WinSkinForm.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"

void TMenuBtn::Paint() { FMenu.PaintItem(FIndex); }

TMenuItem* TMenuBtn::Item() const
{
    TCustomForm* form = FFrame.FormControl();
    TMainMenu* menu = form ? form->Menu() : nullptr;
    return menu ? menu->FindItem(Command) : nullptr;
}
