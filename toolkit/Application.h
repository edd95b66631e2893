// The application object: its forms, the main form, the message loop, message boxes and
// the standard error box for exceptions that leave an event handler.
#pragma once

#include "toolkit/Component.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

class TCustomForm;

class TApplication : public TComponent {
    TK_CLASS(TApplication)
public:
    TApplication(); // becomes the process's Application
    ~TApplication() override;

    void Initialize();
    // Creates a form owned by the application; the first one becomes the main form.
    template <class T, class... Args>
    T* CreateForm(Args&&... args)
    {
        T* form = Make<T>(std::forward<Args>(args)...);
        if (!FMainForm)
            FMainForm = form;
        form->DoCreate();
        return form;
    }
    TCustomForm* MainForm() const noexcept { return FMainForm; }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const noexcept { return FTerminated; }
    // Handles every message waiting in the queue, then returns.
    void ProcessMessages();

    size_t FormCount() const noexcept { return FForms.size(); }
    TCustomForm* Forms(size_t index) const { return FForms.at(index); }

    // Milliseconds the mouse rests before a hint shows, and how long the hint then stays.
    int HintPause() const noexcept { return FHintPause; }
    void SetHintPause(int value) noexcept { FHintPause = value < 0 ? 0 : value; }
    int HintHidePause() const noexcept { return FHintHidePause; }
    void SetHintHidePause(int value) noexcept { FHintHidePause = value < 0 ? 0 : value; }

    const std::wstring& Title() const noexcept { return FTitle; }
    void SetTitle(std::wstring title) { FTitle = std::move(title); }

    int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags);
    void ShowMessage(const std::wstring& text);
    void HandleException(std::exception_ptr error) noexcept;
    static std::wstring ExceptionMessage(std::exception_ptr error);

    // Replace the boxes, e.g. to log them instead of waiting for a click.
    std::function<int(const std::wstring& text, const std::wstring& caption, unsigned flags)> OnMessageBox;
    std::function<void(const std::wstring& message)> OnException;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form) { FForms.push_back(form); }
    void RemoveForm(TCustomForm* form);
    bool HandleDialogKeys(MSG& msg);

    TCustomForm* FMainForm = nullptr;
    std::vector<TCustomForm*> FForms;
    std::wstring FTitle;
    bool FTerminated = false;
    int FHintPause = 500;
    int FHintHidePause = 2500;
};

extern TApplication* Application;
