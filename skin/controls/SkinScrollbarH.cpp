// The skinned scroll bar of a combo box's own list.
#include "skin/controls/SkinScrollbarH.h"

#include "skin/controls/NativeScrollBar.h"
#include "skin/controls/ScrollBarPainter.h"
#include "skin/controls/WScrollbar.h"
#include "skin/window/SkinData.h"
#include "toolkit/WinControl.h"

const TClassInfo TSkinScrollbarH::StaticClass{L"TSkinScrollbarH", &TSkinControl::StaticClass, {}};

TSkinScrollbarH::~TSkinScrollbarH()
{
    DetachWrapper();
}

bool TSkinScrollbarH::AttachHandle(HWND hwnd, TSkinData* skinData, TWinSkinForm* frame)
{
    if (!TSkinControl::AttachHandle(hwnd, skinData, frame))
        return false;
    TWinControl* host = FindControl(::GetParent(hwnd));
    if (host && CanPaintScrollBar(skinData->Skin())) {
        FBar = Make<TWScrollbar>();
        FBar->SetParent(host);
        FBar->Cover(hwnd, skinData);
    }
    return true;
}

void TSkinScrollbarH::DetachWrapper()
{
    if (!Attached())
        return;
    if (FBar)
        FreeComponent(FBar);
    FBar = nullptr;
    TSkinControl::DetachWrapper();
}

void TSkinScrollbarH::AfterMessage(TMessage& Message)
{
    if (FBar && !ScrollBarsUnchangedBy(Message.Msg))
        FBar->Follow();
}

void TSkinScrollbarH::ActiveChanged()
{
    if (!FBar)
        return;
    if (SkinActive())
        FBar->Follow();
    else
        FBar->SetVisible(false);
}
