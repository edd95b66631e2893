// Taking over a window's messages and letting go of them, in both modes: stacked handlers
// leaving in either order, a foreign subclass between ours, a handler freed from inside its own
// message, the window destroyed while linked, and a narrow window.
#include "tests/win/TestSupport.h"

#include "toolkit/Form.h"
#include "toolkit/MessageLink.h"
#include "toolkit/Panel.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT kInner = WM_APP + 2;

std::vector<std::string> gLog;

LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kProbe || msg == kInner || msg == WM_NCDESTROY)
        gLog.push_back(msg == WM_NCDESTROY ? "orig:destroy" : "orig");
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A subclass that is not ours, put in and taken out the classic way.
WNDPROC gForeignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kProbe)
        gLog.push_back("foreign");
    return ::CallWindowProcW(gForeignPrevious, hwnd, msg, wParam, lParam);
}

class TProbeHandler : public TWindowHandler {
public:
    explicit TProbeHandler(std::string name, bool* destroyed = nullptr) : Name(std::move(name)), Destroyed(destroyed) {}
    ~TProbeHandler() override
    {
        if (Destroyed)
            *Destroyed = true;
    }

    void Dispatch(TMessage& Message)
    {
        if (Message.Msg == kProbe || Message.Msg == kInner || Message.Msg == WM_NCDESTROY)
            gLog.push_back(Name + (Message.Msg == WM_NCDESTROY ? ":destroy" : ""));
        if (OnMessage)
            OnMessage(Message);
        Link.CallPrevious(Message);
    }
    bool AttachTo(HWND hwnd) { return Link.AttachProc<&TProbeHandler::Dispatch>(hwnd, this); }
    bool AttachTo(TWinControl* control) { return Link.AttachHook<&TProbeHandler::Dispatch>(control, this); }

    std::string Name;
    bool* Destroyed;
    TMessageLink Link;
    std::function<void(TMessage&)> OnMessage;
};

// One window for each mode: a plain window by its procedure, a toolkit panel by its hook.
class MessageLinkTest : public TAppTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        gLog.clear();
        FreeProcs = TMessageLink::FreeProcCount();
        WNDCLASSW wc{};
        wc.lpfnWndProc = OriginalProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MessageLinkProbe";
        ::RegisterClassW(&wc);
        Window = ::CreateWindowExW(0, L"MessageLinkProbe", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        Form = App.Make<TForm>();
        Panel = App.Make<TPanel>();
        Panel->SetParent(Form);
        Panel->HandleNeeded();
        PanelHook = Panel->WindowProc;
    }
    void TearDown() override
    {
        if (::IsWindow(Window))
            ::DestroyWindow(Window);
        TAppTest::TearDown();
    }

    bool HookMode() const { return GetParam(); }
    HWND Target() { return HookMode() ? Panel->Handle() : Window; }
    bool Attach(TProbeHandler& h) { return HookMode() ? h.AttachTo(Panel) : h.AttachTo(Window); }
    // The window's handling is what it was before any handler came.
    bool Restored()
    {
        if (HookMode())
            return Panel->WindowProc == PanelHook;
        return ::GetWindowLongPtrW(Window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&OriginalProc);
    }
    std::vector<std::string> Probe()
    {
        gLog.clear();
        ::SendMessageW(Target(), kProbe, 0, 0);
        return gLog;
    }

    using L = std::vector<std::string>;
    size_t FreeProcs = 0;
    HWND Window = nullptr;
    TForm* Form = nullptr;
    TPanel* Panel = nullptr;
    TWndMethod PanelHook;
};

} // namespace

TEST_P(MessageLinkTest, StackedHandlersLeaveInEitherOrder)
{
    const std::string tail = HookMode() ? "" : "orig"; // the panel's own handling does not log
    auto withTail = [&](L l) { if (!tail.empty()) l.push_back(tail); return l; };
    for (const bool bottomFirst : {true, false}) {
        TProbeHandler a("a"), b("b");
        ASSERT_TRUE(Attach(a));
        ASSERT_TRUE(Attach(b));
        EXPECT_FALSE(Attach(b)) << "one window per link";
        EXPECT_EQ(Probe(), withTail({"b", "a"}));

        (bottomFirst ? a : b).Link.Detach();
        EXPECT_FALSE(Restored());
        EXPECT_EQ(Probe(), withTail({bottomFirst ? "b" : "a"})) << "a handler let go of sees nothing more";
        (bottomFirst ? b : a).Link.Detach();
        EXPECT_EQ(Probe(), withTail({}));
        EXPECT_TRUE(Restored()) << (bottomFirst ? "the pass-through left once it was on top" : "put back at once");
        EXPECT_EQ(TMessageLink::FreeProcCount(), FreeProcs);
    }
}

TEST_P(MessageLinkTest, HandlerFreedInsideItsOwnMessagesGoesWhenTheOutermostReturns)
{
    bool destroyed = false;
    auto owner = MakeHandler<TProbeHandler>("h", &destroyed);
    TProbeHandler* const self = owner.get();
    ASSERT_TRUE(Attach(*self));
    bool aliveAfterInner = false;
    self->OnMessage = [&](TMessage& m) {
        if (m.Msg == kProbe) {
            ::SendMessageW(Target(), kInner, 0, 0); // frees the handler two messages deep
            aliveAfterInner = !destroyed && self->Name == "h";
        } else if (m.Msg == kInner) {
            owner.reset();
            self->Link.Detach();
            EXPECT_FALSE(destroyed) << "still inside its own messages";
        }
    };
    ::SendMessageW(Target(), kProbe, 0, 0);
    EXPECT_TRUE(aliveAfterInner);
    EXPECT_TRUE(destroyed) << "freed when the outermost message returned";
    EXPECT_TRUE(Restored());
    EXPECT_EQ(Probe(), (HookMode() ? L{} : L{"orig"}));
    EXPECT_EQ(TMessageLink::FreeProcCount(), FreeProcs);

    // Outside any message the owner frees at once.
    bool gone = false;
    auto idle = MakeHandler<TProbeHandler>("idle", &gone);
    ASSERT_TRUE(Attach(*idle));
    idle.reset();
    EXPECT_TRUE(gone);
    EXPECT_TRUE(Restored());
}

TEST_P(MessageLinkTest, WindowDestroyedWhileLinkedDetachesAfterThePreviousHandlerSawIt)
{
    TProbeHandler h("h");
    ASSERT_TRUE(Attach(h));
    if (HookMode())
        Panel->DestroyHandle();
    else
        ::DestroyWindow(Window);
    EXPECT_EQ(gLog, (HookMode() ? L{"h:destroy"} : L{"h:destroy", "orig:destroy"}));
    EXPECT_FALSE(h.Link.Attached());
    EXPECT_TRUE(HookMode() ? Restored() : true) << "the control outlives its window and gets its hook back";
    EXPECT_FALSE(HookMode() && Panel->HandleAllocated()) << "the control's own handling saw it";
    h.Link.Detach(); // harmless afterwards
    EXPECT_EQ(TMessageLink::FreeProcCount(), FreeProcs);
}

INSTANTIATE_TEST_SUITE_P(Modes, MessageLinkTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "ToolkitHook" : "WindowProc"; });

TEST(MessageLink, ForeignSubclassBetweenOursKeepsTheChainWhole)
{
    gLog.clear();
    const size_t freeProcs = TMessageLink::FreeProcCount();
    WNDCLASSW wc{};
    wc.lpfnWndProc = OriginalProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MessageLinkForeign";
    ::RegisterClassW(&wc);
    const HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                        wc.hInstance, nullptr);
    auto probe = [&] { gLog.clear(); ::SendMessageW(hwnd, kProbe, 0, 0); return gLog; };
    using L = std::vector<std::string>;

    TProbeHandler a("a"), b("b");
    ASSERT_TRUE(a.AttachTo(hwnd));
    gForeignPrevious = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    ASSERT_TRUE(b.AttachTo(hwnd));
    EXPECT_EQ(probe(), (L{"b", "foreign", "a", "orig"}));

    a.Link.Detach(); // under the foreign one: stays as a pass-through
    EXPECT_EQ(probe(), (L{"b", "foreign", "orig"}));
    b.Link.Detach(); // on top: the foreign procedure is current again
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ForeignProc));
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gForeignPrevious));
    EXPECT_EQ(probe(), (L{"orig"}));
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OriginalProc));
    EXPECT_EQ(TMessageLink::FreeProcCount(), freeProcs);
    ::DestroyWindow(hwnd);
}

TEST(MessageLink, NarrowWindowsAreTakenOverNarrow)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = "MessageLinkNarrow";
    ::RegisterClassA(&wc);
    const HWND hwnd = ::CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                        wc.hInstance, nullptr);
    ASSERT_FALSE(::IsWindowUnicode(hwnd));
    TProbeHandler h("h");
    std::string seen;
    h.OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_SETTEXT)
            seen = reinterpret_cast<const char*>(m.LParam);
    };
    ASSERT_TRUE(h.AttachTo(hwnd));
    EXPECT_FALSE(::IsWindowUnicode(hwnd)) << "taking over keeps the window narrow";
    ::SetWindowTextW(hwnd, L"abc");
    EXPECT_EQ(seen, "abc") << "the text arrives narrow, as the window's own procedure expects it";
    char text[8] = "";
    ::GetWindowTextA(hwnd, text, 8);
    EXPECT_STREQ(text, "abc");
    h.Link.Detach();
    EXPECT_EQ(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&::DefWindowProcA));
    ::DestroyWindow(hwnd);
}

TEST(MessageLink, FormHookSeesAltKeysBeforeTheDialogManager)
{
    TApplication app;
    app.Initialize();
    auto* form = app.Make<TForm>();
    form->SetBounds(0, 0, 200, 100);
    form->Show();
    TProbeHandler h("form");
    std::vector<WPARAM> chars;
    h.OnMessage = [&](TMessage& m) {
        if (m.Msg == CM_DIALOGCHAR) {
            chars.push_back(m.WParam);
            m.Result = m.WParam == 'x'; // takes Alt+X only
        }
    };
    ASSERT_TRUE(h.AttachTo(form));
    ::PostMessageW(form->Handle(), WM_SYSCHAR, 'x', 0x20000000);
    ::PostMessageW(form->Handle(), WM_SYSCHAR, 'y', 0x20000000);
    app.ProcessMessages();
    EXPECT_EQ(chars, (std::vector<WPARAM>{'x', 'y'}));
}
