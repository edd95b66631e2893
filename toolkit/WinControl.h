// TWinControl: a control with a window, created lazily, whose messages pass through the
// replaceable hook WindowProc before the control's own handling in WndProc.
#pragma once

#include "toolkit/Control.h"
#include "toolkit/Message.h"

#include <string>
#include <vector>

struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    WNDCLASSW WindowClass{};
    std::wstring WinClassName;
};

// The window property under which every toolkit window keeps its control object: a global
// atom named "ControlOfs" + module handle + GUI thread id, deleted when the program ends.
ATOM ControlAtom();
std::wstring ControlAtomName();
// The toolkit control behind a window, or nullptr for a window the toolkit did not create.
TWinControl* FindControl(HWND hwnd) noexcept;

class TWinControl : public TControl {
    TK_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();                  // creates the window (and its parents) on first use
    bool HandleAllocated() const noexcept { return FHandle != nullptr; }
    void HandleNeeded() { (void)Handle(); }
    void DestroyHandle();

    // The message hook: replaced by whoever wants to see messages first, e.g. a skin painter.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    std::wstring Caption() const override;

    size_t ControlCount() const noexcept { return FControls.size(); }
    TControl* Controls(size_t index) const { return FControls.at(index); }
    // Windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const noexcept { return FTabList; }
    int TabOrder() const noexcept;
    void SetTabOrder(int order);
    bool TabStop() const noexcept { return FTabStop; }
    void SetTabStop(bool value);

    bool ParentBackground() const noexcept { return FParentBackground; }
    void SetParentBackground(bool value);

    virtual TRect ClientRect();
    void Invalidate() override;
    void SetFocus();
    bool Focused() const noexcept;

    virtual void WndProc(TMessage& Message);
    void DefaultHandler(TMessage& Message);

protected:
    virtual void CreateParams(TCreateParams& Params);
    // Makes Params a superclass of a system window class such as "BUTTON".
    static void CreateSubClass(TCreateParams& Params, const wchar_t* systemClass);
    virtual void CreateWnd();
    virtual void CreateHandle();
    // Runs after the window exists; controls push their state into it here.
    virtual void InitializeWnd() {}

    // Painting of windows the toolkit paints itself (panels, group boxes, forms).
    virtual void Paint(HDC /*dc*/, const TRect& /*client*/) {}
    void PaintBackground(HDC dc, const TRect& area);
    void PaintControls(HDC dc);

    void CaptionChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;

    // The brush of the control's colour, for WM_CTLCOLOR answers and background fills.
    HBRUSH ColorBrush();
    // Answers a reflected WM_CTLCOLOR*: the control's font colour on its own colour.
    void AnswerCtlColor(TMessage& Message);

    void AlignControls();

    HWND FHandle = nullptr;
    bool FOwnPaint = false; // a window class of ours, painted by Paint()

private:
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void AttachWindow(HWND hwnd);
    bool ReflectNotification(TMessage& Message);
    void WMPaint(TMessage& Message);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void PlaceInZOrder();

    WNDPROC FDefWndProc = ::DefWindowProcW;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    bool FParentBackground = false;
    win::GdiObject<HBRUSH> FBrush;
    TColor FBrushColor = 0;

    friend class TControl;
};
