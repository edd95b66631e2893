// The skin manager under the rig: the tests a window passes before it is framed, which
// component serves it, the timed actions, purging, and frames whose window or component goes
// while something for them is still on its way.
#include "tests/win/SkinManagerFixture.h"

#include <functional>
#include <memory>

class SkinManagerTest : public SkinManagerTestBase {
public:
    // Windows made for one case, gone with it.
    HWND Plain(const TPlainWindowParams& params)
    {
        Windows.push_back(std::make_unique<TPlainWindow>(params));
        return Windows.back()->Handle();
    }
    HWND PlainOfClass(const wchar_t* className, DWORD style = WS_OVERLAPPEDWINDOW, HINSTANCE instance = nullptr)
    {
        TPlainWindowParams params;
        params.ClassName = className;
        params.Style = style;
        params.Instance = instance;
        return Plain(params);
    }

protected:
    void TearDown() override
    {
        Windows.clear();
        SkinManagerTestBase::TearDown();
    }

    std::vector<std::unique_ptr<TPlainWindow>> Windows;
};

namespace {

const HINSTANCE kOtherModule = ::GetModuleHandleW(L"kernel32.dll");

} // namespace

TEST_F(SkinManagerTest, SkinWindowFramesOnlyWhatPassesEveryTestInOrder)
{
    struct TCase {
        const char* Name;
        std::function<HWND(SkinManagerTest&, TSkinData&, TComponent&)> Make;
        bool Framed;
        int Asked; // the filter: -1 not asked, else the answer it was handed
    };
    using T = SkinManagerTest;
    const TCase cases[] = {
        {"skinning off", [](T& t, TSkinData&, TComponent&) { SkinManager->SkinningEnabled = false; return t.Plain({}); }, false, -1},
        {"answers that it is skinned", [](T& t, TSkinData&, TComponent&) { TPlainWindowParams s; s.QueryAnswer = 1; return t.Plain(s); }, false, -1},
        {"plain child", [](T& t, TSkinData&, TComponent&) {
             TPlainWindowParams s; s.Style = WS_CHILD | WS_VISIBLE; s.Parent = t.Plain({}); return t.Plain(s); }, false, -1},
        {"plain child while sweeping", [](T& t, TSkinData&, TComponent&) {
             SkinManager->Sweeping = true;
             TPlainWindowParams s; s.Style = WS_CHILD | WS_VISIBLE; s.Parent = t.Plain({}); return t.Plain(s); }, true, 1},
        {"another module's static", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"Static", WS_POPUP | WS_CAPTION, kOtherModule); }, false, -1},
        {"another module's dialog", [](T& t, TSkinData&, TComponent&) {
             return t.PlainOfClass(L"#32770", WS_POPUP | WS_CAPTION | WS_SYSMENU, kOtherModule); }, true, 1},
        {"zero size", [](T& t, TSkinData&, TComponent&) {
             TPlainWindowParams s; s.Style = WS_POPUP; s.Width = s.Height = 0; return t.Plain(s); }, false, -1},
        {"form tagged 99", [](T&, TSkinData& sd, TComponent& scope) {
             sd.SetDisableTag(5); auto* f = scope.Make<TForm>(); f->SetTag(99); return f->Handle(); }, false, -1},
        {"form tagged DisableTag", [](T&, TSkinData& sd, TComponent& scope) {
             sd.SetDisableTag(5); auto* f = scope.Make<TForm>(); f->SetTag(5); return f->Handle(); }, true, 1},
        {"TApplication", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"TApplication"); }, false, -1},
        {"TApplicationHost", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"TApplicationHost"); }, true, 1},
        {"cx popup", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"MyTcxPopupEditPopupWindow2"); }, false, -1},
        {"TE render", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"TTERenderWindow"); }, false, -1},
        {"preview without xoPreview", [](T& t, TSkinData& sd, TComponent&) {
             sd.SetOptions({TSkinOption::xoToolbarBK}); return t.PlainOfClass(L"TPrintPreviewForm"); }, false, 0},
        {"preview with xoPreview", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"TPrintPreviewForm"); }, true, 1},
        {"own dialog with style 0x200", [](T& t, TSkinData&, TComponent&) {
             return t.PlainOfClass(L"#32770", WS_POPUP | WS_CAPTION | 0x200); }, false, 0},
        {"own dialog", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"#32770", WS_POPUP | WS_CAPTION); }, true, 1},
        {"db tree popup", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"TPopupDBTreeView"); }, false, 0},
        {"vetoed by OnFormSkin", [](T& t, TSkinData&, TComponent&) { return t.PlainOfClass(L"TVetoMe"); }, false, 1},
        {"component still loading", [](T& t, TSkinData& sd, TComponent&) {
             sd.SetSkinFile(L"C:\\missing.skn"); return t.Plain({}); }, false, 1},
        {"plain top-level window", [](T& t, TSkinData&, TComponent&) { return t.Plain({}); }, true, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* scope = App->Make<TComponent>();
        TSkinData* sd = MakeSkinData(scope);
        std::vector<bool> asked;
        sd->OnFormSkin = [&](TObject*, const std::wstring& name, bool& doSkin) {
            asked.push_back(doSkin);
            if (name == L"TVetoMe")
                doSkin = false;
        };
        int finished = 0;
        sd->OnAfterSkinForm = [&](TObject*, HWND, const std::wstring&) { ++finished; };
        ResetManager();
        SkinManager->SkinningEnabled = true;
        const HWND hwnd = c.Make(*this, *sd, *scope);
        ASSERT_TRUE(::IsWindow(hwnd));
        EXPECT_EQ(SkinManager->SkinWindow(hwnd), c.Framed);
        EXPECT_EQ(asked.empty() ? -1 : int(asked.front()), c.Asked);
        if (c.Framed) {
            EXPECT_NE(WaitFramed(hwnd), nullptr) << "SKM_FINISHSKIN completes the frame";
            EXPECT_EQ(finished, 1);
        } else {
            EXPECT_EQ(SkinManager->FindFrame(hwnd), nullptr);
        }
        Windows.clear();
        App->FreeComponent(scope);
    }
}

TEST_F(SkinManagerTest, AWindowIsFramedOnceAlsoWhenActivatedAgain)
{
    MakeSkinData(&*App);
    SkinManager->SkinningEnabled = true;
    const HWND first = Plain({});
    TPlainWindowParams skinned;
    skinned.QueryAnswer = 1;
    const HWND other = Plain(skinned);
    ::SetActiveWindow(first);
    EXPECT_EQ(SkinManager->RunState, TSkinManage::kRunning) << "the first activation starts the manager";
    ASSERT_NE(WaitFramed(first), nullptr) << "the hook frames an activated window";
    EXPECT_FALSE(SkinManager->SkinWindow(first));
    for (int i = 0; i < 2; ++i) {
        ::SetActiveWindow(other);
        ::SetActiveWindow(first);
        PumpFor(20);
    }
    EXPECT_EQ(SkinManager->FrameList.size(), 1u);
    EXPECT_EQ(SkinManager->FindFrame(other), nullptr);
}

namespace {

// Finds the program's message box from a timer inside its modal loop, records whether it got a
// frame, and closes it.
struct TBoxProbe {
    HWND Box = nullptr;
    bool Framed = false;
    bool Region = false;
    int Ticks = 0;
};
TBoxProbe BoxProbe;

void CALLBACK ProbeBox(HWND, UINT, UINT_PTR id, DWORD)
{
    ++BoxProbe.Ticks;
    if (!BoxProbe.Box)
        BoxProbe.Box = ::FindWindowW(L"#32770", L"Skinned box");
    if (!BoxProbe.Box && BoxProbe.Ticks < 100)
        return;
    if (BoxProbe.Box) {
        if (::GetActiveWindow() != BoxProbe.Box)
            ::SetActiveWindow(BoxProbe.Box);
        const TWinSkinForm* frame = SkinManager->FindFrame(BoxProbe.Box);
        BoxProbe.Framed = frame && frame->FrameState() == TFrameState::Active;
        if (!BoxProbe.Framed && BoxProbe.Ticks < 100)
            return;
        BoxProbe.Region = BoxProbe.Framed && frame->HasRegion();
        ::PostMessageW(BoxProbe.Box, WM_COMMAND, IDOK, 0);
    }
    ::KillTimer(nullptr, id);
}

} // namespace

TEST_F(SkinManagerTest, TheProgramsOwnMessageBoxIsFramed)
{
    MakeSkinData(&*App);
    SkinManager->SkinningEnabled = true;
    BoxProbe = {};
    ::SetTimer(nullptr, 0, 20, &ProbeBox);
    EXPECT_EQ(::MessageBoxW(nullptr, L"Framed?", L"Skinned box", MB_OK), IDOK);
    ASSERT_NE(BoxProbe.Box, nullptr) << "the box was not found";
    EXPECT_TRUE(BoxProbe.Framed);
    EXPECT_TRUE(BoxProbe.Region);
    EXPECT_FALSE(::IsWindow(BoxProbe.Box));
}

TEST_F(SkinManagerTest, FindSkinDataPrefersTheFormsOwnThenDialogsThenTheLaterMainComponent)
{
    EXPECT_EQ(SkinManager->FindSkinData(nullptr, L"TForm"), nullptr);
    auto* owner = MakeForm();
    TSkinData* own = MakeSkinData(owner, TSkinFormType::sfOnlyThisForm);
    EXPECT_EQ(SkinManager->FindSkinData(nullptr, L"#32770"), own) << "the first registered when nothing fits";
    TSkinData* firstMain = MakeSkinData(&*App);
    TSkinData* dialog = MakeSkinData(&*App, TSkinFormType::sfDialog);
    TSkinData* laterMain = MakeSkinData(&*App);
    EXPECT_EQ(SkinManager->PrimarySkinData, firstMain);

    const HWND other = MakeForm()->Handle();
    const std::tuple<HWND, const wchar_t*, TSkinData*> cases[] = {
        {owner->Handle(), L"TForm", own}, {owner->Handle(), L"#32770", own},
        {other, L"#32770", dialog}, {other, L"TMessageForm", dialog}, {other, L"tmessageform", dialog},
        {other, L"TForm", laterMain}, {other, L"TMessageFormX", laterMain},
    };
    for (const auto& [hwnd, className, expected] : cases)
        EXPECT_EQ(SkinManager->FindSkinData(hwnd, className), expected) << Narrow(className);

    // The name filter asks the first main component only.
    std::vector<std::wstring> firstAsked, laterAsked;
    firstMain->OnFormSkin = [&](TObject*, const std::wstring& name, bool&) { firstAsked.push_back(name); };
    laterMain->OnFormSkin = [&](TObject*, const std::wstring& name, bool&) { laterAsked.push_back(name); };
    EXPECT_TRUE(SkinManager->PassesNameFilter(other, L"TForm"));
    EXPECT_EQ(firstAsked, std::vector<std::wstring>{L"TForm"});
    EXPECT_TRUE(laterAsked.empty());
}

TEST_F(SkinManagerTest, TimedActionsWaitForTheFirstActivationThenRunOnceEach)
{
    auto* form = MakeForm();
    TSkinData* sd = MakeSkinData(&*App);
    int changed = 0;
    sd->OnSkinChanged = [&](TObject*) { ++changed; };
    const SIZE client = ClientSize(form->Handle());
    form->SetVisible(true); // shown without activation: only a sweep frames it

    SkinManager->PendingSkinData = sd;
    SkinManager->RequestAction(TSkinAction::Activate, 250);
    EXPECT_TRUE(SkinManager->SkinningEnabled);
    SkinManager->RequestAction(TSkinAction::Deactivate, 250);
    EXPECT_FALSE(SkinManager->SkinningEnabled);
    PumpFor(400);
    EXPECT_EQ(changed, 0) << "no timer runs before the first activation";

    SkinManager->RunState = TSkinManage::kRunning;
    SkinManager->RequestAction(TSkinAction::Activate, 250);
    ASSERT_TRUE(PumpUntil([&] { return changed == 1; }, 2000));
    EXPECT_EQ(SkinManager->PendingSkinData, nullptr);
    TWinSkinForm* formFrame = WaitFramed(form->Handle());
    ASSERT_NE(formFrame, nullptr) << "the sweep frames the visible form";
    EXPECT_FALSE(SkinManager->Sweeping);
    const HWND plain = Plain({});
    ASSERT_TRUE(SkinManager->SkinWindow(plain));
    TWinSkinForm* plainFrame = WaitFramed(plain);
    ASSERT_NE(plainFrame, nullptr);

    // A refresh after the caption buttons were dropped rebuilds them on every frame.
    SkinManager->PendingSkinData = sd;
    SkinManager->DropCaptionButtons();
    EXPECT_TRUE(formFrame->CaptionButtons().empty());
    EXPECT_TRUE(plainFrame->CaptionButtons().empty());
    SkinManager->RequestAction(TSkinAction::Refresh, 250);
    ASSERT_TRUE(PumpUntil([&] { return changed == 2; }, 2000));
    EXPECT_FALSE(formFrame->CaptionButtons().empty());
    EXPECT_FALSE(plainFrame->CaptionButtons().empty());
    EXPECT_EQ(ClientSize(form->Handle()).cy, client.cy);

    SkinManager->PendingSkinData = sd;
    SkinManager->RequestAction(TSkinAction::Deactivate, 250);
    ASSERT_TRUE(PumpUntil([&] { return changed == 3; }, 2000));
    EXPECT_FALSE(SkinManager->SkinningEnabled);
    EXPECT_TRUE(SkinManager->FrameList.empty());
    EXPECT_EQ(::SendMessageW(form->Handle(), SKM_QUERYSKINNED, 0, 0), 0) << "the window's own procedure is back";
    EXPECT_EQ(::GetWindowRgn(form->Handle(), win::GdiObject<HRGN>(::CreateRectRgn(0, 0, 0, 0)).get()), ERROR);
    EXPECT_EQ(ClientSize(form->Handle()).cx, client.cx);
    EXPECT_EQ(ClientSize(form->Handle()).cy, client.cy);
    PumpFor(300);
    EXPECT_EQ(changed, 3) << "each action runs once";
}

TEST_F(SkinManagerTest, ARequestMadeWhileTheComponentHearsOfAnActionStillRuns)
{
    auto* form = MakeForm();
    form->SetVisible(true);
    TSkinData* sd = MakeSkinData(&*App);
    SkinManager->RunState = TSkinManage::kRunning;
    int changed = 0;
    sd->OnSkinChanged = [&](TObject*) {
        if (++changed == 1)
            sd->SetActive(false); // the user thinks better of it as the skin arrives
    };
    sd->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return changed == 2; }, 2000)) << "the deactivation asked for was lost";
    EXPECT_FALSE(SkinManager->SkinningEnabled);
    EXPECT_EQ(SkinManager->FindFrame(form->Handle()), nullptr);
}

namespace {

LRESULT CALLBACK MdiChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcW(hwnd, msg, wParam, lParam);
}

HWND MakeMdiChild(HWND client)
{
    static const bool registered = [] {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = &MdiChildProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"TSkinTestMdiChild";
        return ::RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    return ::CreateMDIWindowW(L"TSkinTestMdiChild", L"MDI child", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 150, 90,
                              client, ::GetModuleHandleW(nullptr), 0);
}

} // namespace

TEST_F(SkinManagerTest, AnMdiChildIsFramedAsItIsMadeKeepsItsClientAndTheSystemsCaptionHeight)
{
    // A skin caption thinner than the system's caption and frame leaves a band below it.
    TTestSkin thin;
    thin.TopHeight = 8;
    MakeSkinData(&*App, TSkinFormType::sfMainform, false, TestSkinArchive(thin));
    CLIENTCREATESTRUCT create{nullptr, 1000};
    const HWND client = ::CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                          220, 130, Plain({}), nullptr, ::GetModuleHandleW(nullptr), &create);
    ASSERT_NE(client, nullptr);
    const HWND bare = MakeMdiChild(client);
    const SIZE bareClient = ClientSize(bare);
    ::SendMessageW(client, WM_MDIDESTROY, WPARAM(bare), 0);

    SkinManager->SkinningEnabled = true;
    const HWND child = MakeMdiChild(client);
    TWinSkinForm* frame = WaitFramed(child);
    ASSERT_NE(frame, nullptr) << "the hook frames an MDI child as it is made";
    EXPECT_EQ(frame->MdiRole(), TMdiRole::Child);
    const int systemTop = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CXFRAME);
    ASSERT_GT(systemTop, frame->Borders().Top);
    EXPECT_EQ(frame->MenuBarHeight(), systemTop - frame->Borders().Top);
    EXPECT_EQ(ClientSize(child).cx, bareClient.cx);
    EXPECT_EQ(ClientSize(child).cy, bareClient.cy);
    RECT r{};
    ::GetWindowRect(child, &r);
    EXPECT_EQ(r.bottom - r.top, bareClient.cy + systemTop + frame->Borders().Bottom);
    EXPECT_TRUE(frame->HasRegion());
}

TEST_F(SkinManagerTest, DeactivatingAFormOnlyComponentUnframesOnlyItsLastFrame)
{
    auto* owner = MakeForm();
    TSkinData* own = MakeSkinData(owner, TSkinFormType::sfOnlyThisForm, true);
    ASSERT_NE(SkinManager->FindFrame(owner->Handle()), nullptr);
    const HWND plain = Plain({});
    ASSERT_TRUE(SkinManager->SkinWindow(plain)) << "the only component serves every window";
    ASSERT_EQ(SkinManager->FindFrame(plain)->SkinData(), own);

    own->SetActive(false);
    EXPECT_EQ(SkinManager->PendingSkinData, own);
    PumpUntil([&] { return SkinManager->PendingSkinData == nullptr; }, 2000);
    EXPECT_FALSE(SkinManager->SkinningEnabled);
    EXPECT_NE(SkinManager->FindFrame(owner->Handle()), nullptr);
    EXPECT_EQ(SkinManager->FindFrame(plain), nullptr);
    EXPECT_EQ(SkinManager->FrameList.size(), 1u);
}

TEST_F(SkinManagerTest, FramesOfDestroyedWindowsArePurged)
{
    MakeSkinData(&*App);
    SkinManager->SkinningEnabled = true;
    const HWND gone = Plain({});
    ASSERT_TRUE(SkinManager->SkinWindow(gone));
    ASSERT_NE(WaitFramed(gone), nullptr);
    ::DestroyWindow(gone);
    EXPECT_EQ(SkinManager->FindFrame(gone), nullptr);
    ASSERT_EQ(SkinManager->FrameList.size(), 1u);
    EXPECT_EQ(SkinManager->FrameList.front()->FrameState(), TFrameState::WindowDestroyed);
    ASSERT_TRUE(SkinManager->SkinWindow(Plain({})));
    EXPECT_EQ(SkinManager->FrameList.size(), 1u) << "framing purges first";
    EXPECT_FALSE(SkinManager->SkinWindow(gone));
}

TEST_F(SkinManagerTest, AFreedComponentLeavesNoReferenceNoFrameAndNoPendingAction)
{
    auto* scope = App->Make<TComponent>();
    TSkinData* first = MakeSkinData(scope);
    SkinManager->SkinningEnabled = true;
    const HWND framed = Plain({});
    ASSERT_TRUE(SkinManager->SkinWindow(framed));
    ASSERT_NE(WaitFramed(framed), nullptr);
    TSkinData* later = MakeSkinData(&*App);
    EXPECT_EQ(SkinManager->PrimarySkinData, first);

    SkinManager->SkinningEnabled = false;
    SkinManager->RunState = TSkinManage::kRunning;
    SkinManager->PendingSkinData = first;
    SkinManager->RequestAction(TSkinAction::Activate, 250);
    App->FreeComponent(scope);
    EXPECT_EQ(SkinManager->PrimarySkinData, nullptr);
    EXPECT_EQ(SkinManager->PendingSkinData, nullptr);
    EXPECT_EQ(SkinManager->SkinDataList, std::vector<TSkinData*>{later});
    EXPECT_EQ(SkinManager->FindFrame(framed), nullptr);
    EXPECT_EQ(::SendMessageW(framed, SKM_QUERYSKINNED, 0, 0), 0) << "its frame let go of the window";
    PumpFor(400);
    EXPECT_FALSE(SkinManager->SkinningEnabled) << "the freed component's action never ran";
}

namespace {

// The message-only window through which a timer ticks.
HWND TimerWindow(const TTimer* timer)
{
    for (HWND w = ::FindWindowExW(HWND_MESSAGE, nullptr, L"TTimerWindow", nullptr); w;
         w = ::FindWindowExW(HWND_MESSAGE, w, L"TTimerWindow", nullptr))
        if (::GetWindowLongPtrW(w, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(timer))
            return w;
    return nullptr;
}

} // namespace

TEST_F(SkinManagerTest, WhatIsOnItsWayToAFrameWhoseWindowWentDoesNothing)
{
    MakeSkinData(&*App);
    SkinManager->SkinningEnabled = true;
    int finished = 0;
    SkinManager->PrimarySkinData->OnAfterSkinForm = [&](TObject*, HWND, const std::wstring&) { ++finished; };

    // Destroyed while SKM_FINISHSKIN is posted: a plain window, and a form whose frame watches it.
    const HWND plain = Plain({});
    ASSERT_TRUE(SkinManager->SkinWindow(plain));
    Windows.clear();
    auto* form = MakeForm();
    ASSERT_TRUE(SkinManager->SkinWindow(form->Handle()));
    TWinSkinForm* formFrame = SkinManager->FrameList.back().get();
    App->FreeComponent(form);
    EXPECT_EQ(formFrame->FormControl(), nullptr) << "the frame forgot its form";
    PumpFor(100);
    EXPECT_EQ(finished, 0);
    // A hook call for a window that is gone makes nothing.
    SkinManager->HookEvent(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(plain), 0);
    EXPECT_EQ(SkinManager->FindFrame(plain), nullptr);
    SkinManager->PurgeFrames();
    EXPECT_EQ(SkinManager->FrameList.size(), 0u);

    // A form freed while its frame's hover timer runs and a tick is already posted.
    form = MakeForm();
    ASSERT_TRUE(SkinManager->SkinWindow(form->Handle()));
    TWinSkinForm* frame = WaitFramed(form->Handle());
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->HoverTimer()->Enabled());
    const HWND tick = TimerWindow(frame->HoverTimer());
    ASSERT_NE(tick, nullptr);
    ::PostMessageW(tick, WM_TIMER, 1, 0);
    App->FreeComponent(form);
    EXPECT_FALSE(frame->HoverTimer()->Enabled());
    PumpFor(600);
    EXPECT_EQ(frame->FormControl(), nullptr);
    EXPECT_EQ(SkinManager->FindFrame(nullptr), nullptr);

    // The same with the form's own component, which takes its frame along.
    auto* own = App->Make<TSkinnedForm>(Archive(), false);
    SkinManager->SkinningEnabled = true;
    ASSERT_TRUE(SkinManager->SkinWindow(own->Handle()));
    frame = WaitFramed(own->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->SkinData(), own->SkinData);
    ::PostMessageW(TimerWindow(frame->HoverTimer()), WM_TIMER, 1, 0);
    App->FreeComponent(own);
    PumpFor(400);
    SkinManager->PurgeFrames();
    EXPECT_EQ(SkinManager->FrameList.size(), 0u);
}
