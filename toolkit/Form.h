// Forms: top-level windows with a caption, border icons, a client size and a creation event.
#pragma once

#include "toolkit/MenuText.h"
#include "toolkit/WinControl.h"

#include <vector>

class TMainMenu;
class TMenu;

enum class TBorderIcon : unsigned { SystemMenu = 1, Minimize = 2, Maximize = 4, Help = 8 };
constexpr TBorderIcon operator|(TBorderIcon a, TBorderIcon b) { return TBorderIcon(unsigned(a) | unsigned(b)); }
constexpr bool HasIcon(TBorderIcon set, TBorderIcon i) { return (unsigned(set) & unsigned(i)) != 0; }

enum class TFormBorderStyle { None, Single, Sizeable, Dialog };
enum class TPosition { Designed, DesktopCenter, ScreenCenter };

class TCustomForm : public TWinControl {
    TK_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TBorderIcon BorderIcons() const noexcept { return FBorderIcons; }
    void SetBorderIcons(TBorderIcon icons) { FBorderIcons = icons; }
    TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style) { FBorderStyle = style; }
    TPosition Position() const noexcept { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    bool AutoScroll() const noexcept { return FAutoScroll; }
    void SetAutoScroll(bool value) { FAutoScroll = value; }

    // The window is sized from its client area, since frame metrics differ between systems.
    void SetClientSize(int width, int height);
    int ClientWidth() { return ClientRect().Width(); }
    int ClientHeight() { return ClientRect().Height(); }
    TRect ClientRect() override;

    void SetIcon(HICON icon) noexcept; // borrowed; the form's owner keeps it alive

    // The window's menu bar (borrowed). A change of it or of its items reaches the window as
    // CM_MENUCHANGED, whose handling puts the menu on the window and redraws the bar.
    TMainMenu* Menu() const noexcept { return FMenu; }
    void SetMenu(TMainMenu* menu);
    // Runs the enabled, shown item of the form's menus that has this shortcut; true when one ran.
    bool IsShortCut(TShortCut shortCut);

    void Show();
    void Close();
    // Runs OnCreate; called once, after the form's components exist.
    void DoCreate();

    TNotifyEvent OnCreate;

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void PlaceWindow(bool centre);
    friend class TMainMenu;
    void MenuChanged();
    // The menu bar, a popup being shown, and the menu components the form owns.
    std::vector<TMenu*> Menus() const;

    TBorderIcon FBorderIcons = TBorderIcon::SystemMenu | TBorderIcon::Minimize | TBorderIcon::Maximize;
    TFormBorderStyle FBorderStyle = TFormBorderStyle::Sizeable;
    TPosition FPosition = TPosition::Designed;
    bool FAutoScroll = false;
    int FClientWidth = 0;
    int FClientHeight = 0;
    HICON FIcon = nullptr;
    TMainMenu* FMenu = nullptr;
};

class TForm : public TCustomForm {
    TK_CLASS(TForm)
public:
    using TCustomForm::TCustomForm;
};
