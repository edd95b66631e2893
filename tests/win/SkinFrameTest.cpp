// The frame on real windows under the rig: borders from the skin's images with the client kept,
// hit tests, active and inactive frames, the skin switched off and on and changed at run time,
// caption text and icon changes, and the system menu.
#include "tests/win/SkinWindowFixture.h"

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <psapi.h>
#include <thread>

namespace {

// The close button of the default test skin and an icon button drawn from the window's icon.
const std::string kCloseAndIcon = TTestSkin{}.Buttons +
    "[BUTTON2]\r\nAction=3\r\nAlign=0\r\nXcoord=6\r\nYcoord=7\r\nVisibility=0\r\n";
constexpr std::uint32_t kIconColour = 0x00C0C0, kOtherIconColour = 0xC000C0;

// A skin archive in a file of its own, removed at the end of the test.
class TSkinFileOnDisk {
public:
    TSkinFileOnDisk(const TBytes& archive, const wchar_t* name)
        : FPath(std::filesystem::temp_directory_path() / name)
    {
        std::ofstream(FPath, std::ios::binary).write(reinterpret_cast<const char*>(archive.data()),
                                                      static_cast<std::streamsize>(archive.size()));
    }
    ~TSkinFileOnDisk() { std::filesystem::remove(FPath); }
    std::wstring Path() const { return FPath.wstring(); }

private:
    std::filesystem::path FPath;
};

SIZE WindowSize(HWND hwnd)
{
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

// Watches, from another thread, for a popup menu window to appear, then closes it with Escape as
// a person would; the menu's own loop runs on the GUI thread meanwhile.
class TMenuWatcher {
public:
    TMenuWatcher()
        : FThread([this] {
              const DWORD until = ::GetTickCount() + 3000;
              while (::GetTickCount() < until && !Seen) {
                  const HWND menu = ::FindWindowW(L"#32768", nullptr);
                  if (menu && ::IsWindowVisible(menu))
                      Seen = true;
                  else
                      ::Sleep(10);
              }
              if (Seen) {
                  KeyPress(VK_ESCAPE, false);
                  KeyPress(VK_ESCAPE, true);
              }
              Done = true;
          })
    {
    }
    ~TMenuWatcher() { FThread.join(); }
    std::atomic<bool> Seen{false}, Done{false};

private:
    std::thread FThread;
};

} // namespace

class SkinFrameTest : public TAppTest {
protected:
    // A form with the skin, shown, active and framed (Frame is null when no frame came).
    TSkinnedForm* Skinned(const TTestSkin& skin = {}, TFormBorderStyle style = TFormBorderStyle::Sizeable)
    {
        auto* form = App.Make<TSkinnedForm>(TestSkinArchive(skin));
        form->SetBorderStyle(style);
        form->SetIcon(Icon.get());
        form->HandleNeeded();
        OwnClient = ClientSize(form->Handle());
        ::GetWindowRect(form->Handle(), &OwnRect);
        OwnStyle = ::GetWindowLongPtrW(form->Handle(), GWL_STYLE);
        Frame = ShowSkinned(form);
        return form;
    }

    win::Icon Icon = SolidIcon(kIconColour);
    TWinSkinForm* Frame = nullptr;
    SIZE OwnClient{};
    RECT OwnRect{};
    LONG_PTR OwnStyle = 0;
};

TEST_F(SkinFrameTest, BordersFollowTheBorderStyleAndTheClientKeepsItsSize)
{
    struct TCase {
        TFormBorderStyle Style;
        TFrameBorders Borders;
        bool IconButton; // dialogs show none
    };
    TTestSkin skin;
    skin.TopHeight = 30; // a Top image 60 high in 2 frames
    skin.Buttons = kCloseAndIcon;
    for (const TCase& c : {TCase{TFormBorderStyle::Sizeable, {4, 30, 4, 4}, true},
                           TCase{TFormBorderStyle::Dialog, {4, 30, 4, 4}, false},
                           TCase{TFormBorderStyle::None, {0, 0, 0, 0}, false}}) {
        SCOPED_TRACE(static_cast<int>(c.Style));
        TSkinnedForm* form = Skinned(skin, c.Style);
        ASSERT_NE(Frame, nullptr);
        const HWND hwnd = form->Handle();
        EXPECT_EQ(Frame->Borders(), c.Borders);
        const SIZE client = ClientSize(hwnd);
        EXPECT_EQ(client.cx, OwnClient.cx);
        EXPECT_EQ(client.cy, OwnClient.cy);
        const SIZE window = WindowSize(hwnd);
        EXPECT_EQ(window.cx, client.cx + c.Borders.Left + c.Borders.Right);
        EXPECT_EQ(window.cy, client.cy + c.Borders.Top + c.Borders.Bottom);
        EXPECT_EQ(Frame->CaptionButtons()[1].Visible, c.IconButton);
        if (c.Style == TFormBorderStyle::None) {
            EXPECT_FALSE(Frame->HasRegion()) << "a window without a caption keeps its own shape";
        } else {
            EXPECT_TRUE(SameRect(RegionBox(hwnd), RECT{0, 0, window.cx, window.cy}));
            EXPECT_EQ(AwaitPixel(hwnd, 40, 2, kActiveTop), kActiveTop) << "the caption band shows the active frame";
            EXPECT_EQ(ScreenPixel(hwnd, 1, 100), kActiveSide);
            EXPECT_EQ(ScreenPixel(hwnd, window.cx - 2, window.cy - 2), kActiveSide);
        }
        if (c.IconButton)
            EXPECT_EQ(ScreenPixel(hwnd, 6 + 8, 7 + 8), kIconColour);
        form->SetVisible(false);
    }
}

TEST_F(SkinFrameTest, HitTestsGiveTheCaptionBelowTheTopRowsAndLeaveTheSizingEdges)
{
    TSkinnedForm* form = Skinned();
    ASSERT_NE(Frame, nullptr);
    const HWND hwnd = form->Handle();
    const SIZE size = WindowSize(hwnd);
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    struct TCase {
        POINT Frame; // frame coordinates
        LRESULT Expected;
        const char* What;
    };
    const TPixelRect close = Frame->CaptionButtons()[0].Bounds;
    for (const TCase& c : {
             TCase{{60, 15}, HTCAPTION, "the caption band"},
             TCase{{60, 4}, HTCAPTION, "the first row below the top rows"},
             TCase{{60, 27}, HTCAPTION, "the band below where the system's caption would end"},
             TCase{{(close.Left + close.Right) / 2, 10}, HTCAPTION, "a caption button: the frame runs it"},
             TCase{{60, 1}, HTTOP, "the top rows: the window is sized there"},
             TCase{{1, 100}, HTLEFT, "the left edge"},
             TCase{{size.cx - 2, 100}, HTRIGHT, "the right edge"},
             TCase{{60, size.cy - 2}, HTBOTTOM, "the bottom edge"},
             TCase{{60, 100}, HTCLIENT, "the client area"},
         }) {
        const LRESULT hit = ::SendMessageW(hwnd, WM_NCHITTEST, 0,
                                           MAKELPARAM(window.left + c.Frame.x, window.top + c.Frame.y));
        EXPECT_EQ(hit, c.Expected) << c.What << " at " << c.Frame.x << "," << c.Frame.y;
    }
}

TEST_F(SkinFrameTest, AnotherActiveWindowTurnsTheFrameToItsInactiveImagesAndBack)
{
    TSkinnedForm* form = Skinned();
    ASSERT_NE(Frame, nullptr);
    const HWND hwnd = form->Handle();
    const SIZE size = WindowSize(hwnd);
    const POINT close = {Frame->CaptionButtons()[0].Bounds.Left + 3, Frame->CaptionButtons()[0].Bounds.Top + 3};
    auto* other = App.Make<TForm>();
    other->SetTag(TSkinManage::kNeverFrameTag);
    other->SetBounds(600, 100, 200, 150);
    other->Show();
    ::SetActiveWindow(other->Handle());
    EXPECT_EQ(AwaitPixel(hwnd, 40, 2, kInactiveTop), kInactiveTop);
    EXPECT_EQ(ScreenPixel(hwnd, 1, 100), kInactiveSide);
    EXPECT_EQ(ScreenPixel(hwnd, size.cx - 2, 100), kInactiveSide);
    EXPECT_EQ(ScreenPixel(hwnd, 60, size.cy - 2), kInactiveSide);
    EXPECT_EQ(ScreenPixel(hwnd, close.x, close.y), 0x404040u) << "buttons of an inactive window show their fourth frame";
    EXPECT_FALSE(Frame->IsActive());

    ::SetActiveWindow(hwnd);
    EXPECT_EQ(AwaitPixel(hwnd, 40, 2, kActiveTop), kActiveTop);
    EXPECT_EQ(ScreenPixel(hwnd, 1, 100), kActiveSide);
    EXPECT_EQ(ScreenPixel(hwnd, close.x, close.y), 0x00C000u);
    EXPECT_TRUE(Frame->IsActive());
}

TEST_F(SkinFrameTest, ActiveOffGivesTheWindowItsOwnFrameBackExactlyAndOnSkinsItAgain)
{
    TSkinnedForm* form = Skinned();
    ASSERT_NE(Frame, nullptr);
    const HWND hwnd = form->Handle();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        form->SkinData->SetActive(false);
        ASSERT_TRUE(PumpUntil([&] { return SkinManager->FindFrame(hwnd) == nullptr; }, 2000));
        RECT rect{};
        ::GetWindowRect(hwnd, &rect);
        EXPECT_TRUE(SameRect(rect, OwnRect));
        const SIZE client = ClientSize(hwnd);
        EXPECT_EQ(client.cx, OwnClient.cx);
        EXPECT_EQ(client.cy, OwnClient.cy);
        EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWL_STYLE) & ~LONG_PTR(WS_VISIBLE), OwnStyle & ~LONG_PTR(WS_VISIBLE))
            << "WS_SYSMENU and the frame style are back";
        EXPECT_TRUE(SameRect(RegionBox(hwnd), RECT{})) << "no region is left";

        form->SkinData->SetActive(true);
        ASSERT_TRUE(PumpUntil([&] {
            TWinSkinForm* f = SkinManager->FindFrame(hwnd);
            return f && f->FrameState() == TFrameState::Active;
        }, 2000));
        Frame = SkinManager->FindFrame(hwnd);
        EXPECT_EQ(Frame->Borders(), (TFrameBorders{4, 30, 4, 4}));
        const SIZE again = ClientSize(hwnd);
        EXPECT_EQ(again.cx, OwnClient.cx);
        EXPECT_EQ(again.cy, OwnClient.cy);
        EXPECT_TRUE(Frame->HasRegion());
        EXPECT_EQ(AwaitPixel(hwnd, 40, 2, kActiveTop), kActiveTop);
    }
}

TEST_F(SkinFrameTest, ANewSkinFileRebuildsBordersButtonsAndRegionAndKeepsTheClient)
{
    TSkinnedForm* form = Skinned();
    ASSERT_NE(Frame, nullptr);
    const HWND hwnd = form->Handle();
    TTestSkin second;
    second.Side = 6;
    second.TopHeight = 24;
    second.Buttons = "[BUTTON1]\r\nAction=0\r\nAlign=0\r\nXcoord=8\r\nYcoord=4\r\nVisibility=0\r\n"
                     "ButtonImage=close.bmp\r\nframe=4\r\n";
    const TSkinFileOnDisk file(TestSkinArchive(second), L"qm27k-second-skin.skn");
    form->SkinData->SetSkinFile(file.Path());
    ASSERT_TRUE(PumpUntil([&] { return Frame->Borders() == TFrameBorders{6, 24, 6, 6}; }, 2000));
    PumpUntil([&] { return Frame->FrameState() == TFrameState::Active; }, 1000);
    const SIZE client = ClientSize(hwnd), window = WindowSize(hwnd);
    EXPECT_EQ(client.cx, OwnClient.cx);
    EXPECT_EQ(client.cy, OwnClient.cy);
    EXPECT_EQ(window.cx, client.cx + 12);
    EXPECT_EQ(window.cy, client.cy + 30);
    EXPECT_TRUE(SameRect(RegionBox(hwnd), RECT{0, 0, window.cx, window.cy}));
    ASSERT_FALSE(Frame->CaptionButtons().empty());
    EXPECT_EQ(Frame->CaptionButtons()[0].Bounds, (TPixelRect{8, 4, 28, 20}));
    EXPECT_EQ(AwaitPixel(hwnd, 18, 12, 0x00C000), 0x00C000u) << "the close button sits on the left now";
    EXPECT_EQ(ScreenPixel(hwnd, 5, 100), kActiveSide) << "the wider border is painted";
    EXPECT_EQ(ScreenPixel(hwnd, window.cx - 30 + 10, 12), kActiveTop) << "nothing is left where the button was";
}

TEST_F(SkinFrameTest, ASkinFileThatDoesNotLoadLeavesTheCurrentSkinWorking)
{
    TSkinnedForm* form = Skinned();
    ASSERT_NE(Frame, nullptr);
    const HWND hwnd = form->Handle();
    const TSkinFileOnDisk broken(TBytes{'n', 'o', 't', ' ', 'a', ' ', 's', 'k', 'i', 'n'}, L"qm27k-broken.skn");
    for (const std::wstring& path : {broken.Path(), std::wstring(L"C:\\no\\such\\skin.skn")}) {
        SCOPED_TRACE(Narrow(path));
        form->SkinData->SetSkinFile(path);
        PumpFor(400); // past the manager's refresh delay, had one been asked for
        // A damaged file leaves the skin as it was; a missing one marks the component as
        // loading (so no new window takes a frame from it), yet the frames keep painting.
        EXPECT_EQ(form->SkinData->SkinLoading(), path != broken.Path());
        EXPECT_EQ(Frame->Borders(), (TFrameBorders{4, 30, 4, 4}));
        // A wider window needs its frame painted anew where nothing was before.
        const SIZE size = WindowSize(hwnd);
        ::SetWindowPos(hwnd, nullptr, 0, 0, size.cx + 40, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(AwaitPixel(hwnd, size.cx + 38, 100, kActiveSide), kActiveSide);
        EXPECT_EQ(ScreenPixel(hwnd, size.cx + 10, 2), kActiveTop);
    }
    EXPECT_LE(Boxes.size(), 1u) << "at most the damaged archive is reported";
}

TEST_F(SkinFrameTest, NewCaptionTextAndIconShowInTheSkinnedCaptionWithoutClassicPixels)
{
    TTestSkin skin;
    skin.Buttons = kCloseAndIcon;
    TSkinnedForm* form = Skinned(skin);
    ASSERT_NE(Frame, nullptr);
    const HWND hwnd = form->Handle();
    const win::Icon other = SolidIcon(kOtherIconColour);
    const TPixelRect close = Frame->CaptionButtons()[0].Bounds, icon = Frame->CaptionButtons()[1].Bounds;
    auto inside = [](const TPixelRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; };
    // Caption pixels are the band's colour, the buttons' or the white text blended into the band.
    auto skinPixel = [&](int x, int y, std::uint32_t p) {
        if (inside(close, x, y))
            return p == 0x00C000u;
        if (inside(icon, x, y))
            return p == kIconColour || p == kOtherIconColour;
        const int r = int(p >> 16), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
        const double t = (r - 0x20) / double(0xFF - 0x20);
        return t >= -0.02 && std::abs(g - (0x40 + t * 0xBF)) < 14 && std::abs(b - (0xC0 + t * 0x3F)) < 14;
    };
    auto foreignPixels = [&](const TWindowPixels& shot) {
        int foreign = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 4; x < shot.Width - 4; ++x)
                foreign += skinPixel(x, y, shot.At(x, y)) ? 0 : 1;
        return foreign;
    };
    // The right end of the text: the last column of the band left of the button with a text pixel.
    auto textEnd = [&](const TWindowPixels& shot) {
        int end = 0;
        for (int y = 4; y < 30; ++y)
            for (int x = 0; x < close.Left; ++x)
                if (!inside(icon, x, y) && shot.At(x, y) != kActiveTop)
                    end = std::max(end, x);
        return end;
    };
    std::vector<int> ends;
    for (const wchar_t* text : {L"I", L"A much longer caption WWWW", L"Mid caption"}) {
        SCOPED_TRACE(Narrow(text));
        ::SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        PumpFor(50);
        const TWindowPixels shot = GrabWindow(hwnd);
        EXPECT_EQ(foreignPixels(shot), 0) << "pixels of neither the skin nor its text";
        ends.push_back(textEnd(shot));
    }
    EXPECT_LT(ends[0], ends[2]);
    EXPECT_LT(ends[2], ends[1]) << "the caption shows each new text";

    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(other.get()));
    ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(other.get()));
    EXPECT_EQ(AwaitPixel(hwnd, icon.Left + 8, icon.Top + 8, kOtherIconColour), kOtherIconColour);
    EXPECT_EQ(foreignPixels(GrabWindow(hwnd)), 0);
    form->SetIcon(Icon.get()); // `other` goes before the window
}

TEST_F(SkinFrameTest, RightClickOnTheCaptionAndAltSpaceOpenTheSystemMenu)
{
    for (const bool keyboard : {false, true}) {
        SCOPED_TRACE(keyboard ? "Alt+Space" : "right click");
        TSkinnedForm* form = Skinned();
        ASSERT_NE(Frame, nullptr);
        RECT window{};
        ::GetWindowRect(form->Handle(), &window);
        ::SetForegroundWindow(form->Handle());
        TMenuWatcher watcher;
        if (keyboard) {
            KeyPress(VK_MENU, false);
            KeyPress(VK_SPACE, false);
            KeyPress(VK_SPACE, true);
            KeyPress(VK_MENU, true);
        } else {
            MouseTo({window.left + 60, window.top + 15});
            MouseButton(MOUSEEVENTF_RIGHTDOWN);
            MouseButton(MOUSEEVENTF_RIGHTUP);
        }
        PumpUntil([&] { return watcher.Done.load(); }, 4000);
        PumpFor(50);
        EXPECT_TRUE(watcher.Seen);
        const HWND menu = ::FindWindowW(L"#32768", nullptr);
        EXPECT_FALSE(menu && ::IsWindowVisible(menu)) << "Escape closed it";
        EXPECT_EQ(form->CloseRequests, 0);
        form->SetVisible(false);
    }
}

// Counts of what switching the skin off and on and changing it could leak. Wine answers
// GetGuiResources with 0, so the engine's own owners are counted too (the window-procedure slots
// of its message links, its frames) and the process's private bytes (its working set where Wine
// answers 0 for those).
struct TOwnedCounts {
    static size_t PrivateBytes()
    {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        ::K32GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                  sizeof(counters));
        return counters.PrivateUsage ? counters.PrivateUsage : counters.WorkingSetSize;
    }
    size_t Private = PrivateBytes();
    DWORD Gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD User = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    size_t FreeProcs = TMessageLink::FreeProcCount();
    size_t Frames = SkinManager ? SkinManager->FrameList.size() : 0;
};

TEST_F(SkinFrameTest, SwitchingAndChangingTheSkinManyTimesLeaksNothing)
{
    TSkinnedForm* form = Skinned();
    ASSERT_NE(Frame, nullptr);
    const HWND hwnd = form->Handle();
    TTestSkin second;
    second.Side = 6;
    const TSkinFileOnDisk files[] = {{TestSkinArchive(second), L"qm27k-soak-a.skn"},
                                     {TestSkinArchive(), L"qm27k-soak-b.skn"}};
    auto framed = [&] {
        TWinSkinForm* f = SkinManager->FindFrame(hwnd);
        return f && f->FrameState() == TFrameState::Active;
    };
    // The manager's timer would run each request 250 ms later; running it at once is the same.
    auto cycle = [&](int i) {
        if (i % 4 == 0) {
            form->SkinData->SetSkinFile(files[(i / 4) % 2].Path());
            SkinManager->RunPendingAction();
        }
        form->SkinData->SetActive(false);
        SkinManager->RunPendingAction();
        form->SkinData->SetActive(true);
        SkinManager->RunPendingAction();
        return PumpUntil(framed, 1000);
    };
    for (int i = 0; i < 10; ++i) // warm-up: caches and first-use allocations
        ASSERT_TRUE(cycle(i));
    const TOwnedCounts before;
    const DWORD start = ::GetTickCount();
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(cycle(i)) << "cycle " << i;
    const TOwnedCounts after;
    std::printf("200 off/on cycles with 50 skin changes: %lu ms; GDI %lu -> %lu, USER %lu -> %lu, "
                "memory %zu -> %zu bytes\n",
                ::GetTickCount() - start, before.Gdi, after.Gdi, before.User, after.User, before.Private,
                after.Private);
    EXPECT_LT(after.Private, before.Private + 1024 * 1024);
    EXPECT_LE(after.Gdi, before.Gdi + 4);
    EXPECT_LE(after.User, before.User + 2);
    EXPECT_EQ(after.FreeProcs, before.FreeProcs);
    EXPECT_EQ(after.Frames, before.Frames);
    const SIZE client = ClientSize(hwnd);
    EXPECT_EQ(client.cx, OwnClient.cx);
    EXPECT_EQ(client.cy, OwnClient.cy);
}
