// The frame's MDI paths: the main form that holds an MDI client, and the children framed inside
// it, whose maximized state the main form carries.
#include "skin/window/WinSkinForm.h"

#include "skin/window/MdiClientLink.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/Form.h"
#include "toolkit/SysUtils.h"

namespace {

HWND FindMdiClientChild(HWND parent)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (LowerCase(WindowClassName(child)) == L"mdiclient")
            return child;
    return nullptr;
}

// Whether any child of the MDI client is maximized now; the style is set before the child hears
// of its new size, so this is true however the client orders a switch between children.
bool AnyChildZoomed(HWND client)
{
    for (HWND child = ::GetWindow(client, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsZoomed(child))
            return true;
    return false;
}

} // namespace

void TWinSkinForm::AttachMdiClient()
{
    const HWND client = FindMdiClientChild(FWindow);
    if (!client)
        return;
    FMdiRole = TMdiRole::MainForm;
    auto link = MakeHandler<TMdiClientLink>(*this, *FSkinData, FSkinData->MenuUpdate());
    if (!link->Attach(client))
        return;
    FMdiClient = std::move(link);
    if (SkinManager) {
        SkinManager->MdiClient = client;
        SkinManager->MdiMainForm = FForm;
    }
}

void TWinSkinForm::DetachMdiClient()
{
    if (!FMdiClient)
        return;
    const HWND client = FMdiClient->Handle(); // the window the link held, even once it went
    FMdiClient->Detach();
    FMdiClient.reset();
    // The manager's references to this main form go with it; another main form may have taken
    // them meanwhile.
    if (SkinManager && SkinManager->MdiClient == client) {
        SkinManager->MdiClient = nullptr;
        SkinManager->MdiMainForm = nullptr;
    }
}

HWND TWinSkinForm::MdiClientWindow() const noexcept
{
    // A client destroyed with the main form let go of its link by itself.
    return FMdiClient && FMdiClient->Attached() ? FMdiClient->Handle() : nullptr;
}

bool TWinSkinForm::MdiChildButtonsShown() const
{
    if (FMdiRole != TMdiRole::MainForm || !FMdiClient || !FMenuBar)
        return false;
    bool maximized = false;
    FMdiClient->ActiveChild(&maximized);
    return maximized;
}

void TWinSkinForm::MdiChildSized()
{
    // The manager's flag follows the children however one was maximized or left that state: by
    // our caption buttons, the system menu, or the program through the client.
    if (FMdiRole != TMdiRole::Child || !SkinManager)
        return;
    const bool was = SkinManager->MdiMaximized;
    SkinManager->SetMdiMaximized(AnyChildZoomed(::GetParent(FWindow)));
    // The main form's band shows the maximized child's buttons, or no longer does.
    if (SkinManager->MdiMaximized != was)
        PostMdiRedraw();
}

void TWinSkinForm::PostMdiRedraw() const
{
    if (const HWND client = ::GetParent(FWindow))
        ::PostMessageW(client, SKM_MDIREDRAW, 0, 0);
}
