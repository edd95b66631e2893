// Program entry: the application object, the main window, the message loop.
#include "app/Form1.h"
#include "app/MainIcon.h"
#include "toolkit/Application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    TApplication application;
    application.Initialize();
    const win::Icon icon = LoadMainIcon(instance);
    try {
        TForm1* form = application.CreateForm<TForm1>();
        form->SetIcon(icon.get());
        application.Run();
    } catch (...) {
        application.HandleException(std::current_exception());
        return 1;
    }
    return 0;
}
