// The toolkit's painting helpers on real windows and DCs: the hint window, hint timing, the
// image list with the program's menu glyphs, the canvas, and control properties set by name.
#include "tests/win/TestSupport.h"

#include "toolkit/Button.h"
#include "toolkit/Canvas.h"
#include "toolkit/Exception.h"
#include "toolkit/Form.h"
#include "toolkit/HintWindow.h"
#include "toolkit/ImageList.h"
#include "toolkit/SysUtils.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr COLORREF kGreen = RGB(0, 200, 0); // a background no glyph or system colour uses

COLORREF FromPixel(std::uint32_t bgrx) { return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF); }

// A 32-bit top-down DIB section in a memory DC, filled with one colour, whose pixels can be read.
class TPixelDC {
public:
    TPixelDC(int width, int height, COLORREF fill) : FWidth(width), FDC(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        FBitmap.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        FBits = static_cast<const std::uint32_t*>(bits);
        FOld = ::SelectObject(FDC, FBitmap.get());
        const RECT all{0, 0, width, height};
        const win::GdiObject<HBRUSH> brush{::CreateSolidBrush(fill)};
        ::FillRect(FDC, &all, brush.get());
    }
    ~TPixelDC()
    {
        ::SelectObject(FDC, FOld);
        ::DeleteDC(FDC);
    }
    HDC get() const noexcept { return FDC; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        return FromPixel(FBits[y * FWidth + x]);
    }

private:
    int FWidth;
    HDC FDC;
    win::GdiObject<HBITMAP> FBitmap;
    const std::uint32_t* FBits = nullptr;
    HGDIOBJ FOld = nullptr;
};

bool IsDark(COLORREF c) { return GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64; }

} // namespace

class ToolkitPaintTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        Form = App.Make<TForm>();
        Form->SetBounds(60, 60, 360, 240);
        Button = App.Make<TButton>();
        Button->SetParent(Form);
        Button->SetBounds(20, 20, 200, 120);
        Button->SetCaption(L"Under the hint");
        Button->OnClick = [this](TObject*) { ++Clicks; };
    }
    // The form shown, active and in front, its button focused, as a user would have it.
    void ShowActiveForm()
    {
        Form->Show();
        ::SetForegroundWindow(Form->Handle());
        Button->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == Form->Handle(); }));
        ASSERT_EQ(::GetFocus(), Button->Handle());
    }

    TForm* Form = nullptr;
    TButton* Button = nullptr;
    int Clicks = 0;
};

TEST_F(ToolkitPaintTest, HintRectGrowsWithTextAndWrapsAtTheMaximumWidth)
{
    THintWindow* hint = App.Make<THintWindow>();
    const TRect padding = hint->CalcHintRect(500, L"");
    const TRect close = hint->CalcHintRect(500, L"Close");
    const TRect longer = hint->CalcHintRect(500, L"Close this window and end the program");
    EXPECT_EQ(close.Left, 0);
    EXPECT_EQ(close.Top, 0);
    EXPECT_GT(close.Width(), padding.Width());
    EXPECT_GT(close.Height(), padding.Height());
    EXPECT_GT(longer.Width(), close.Width());
    EXPECT_EQ(longer.Height(), close.Height()) << "one line still";

    const int line = close.Height() - padding.Height();
    const struct { int maxWidth; const wchar_t* text; bool wraps; } cases[] = {
        {120, L"Close this window and end the program, leaving the port as it is", true},
        {500, L"Maximize\r\nRestore", true},
        {40, L"Supercalifragilisticexpialidocious", false}, // one word wider than the limit
    };
    for (const auto& c : cases) {
        const TRect r = hint->CalcHintRect(c.maxWidth, c.text);
        EXPECT_LE(r.Width(), c.maxWidth + padding.Width()) << Narrow(c.text);
        EXPECT_EQ(r.Height() - padding.Height() >= 2 * line, c.wraps) << Narrow(c.text);
    }
}

TEST_F(ToolkitPaintTest, HintShowsWhereAskedWithoutTakingActivationAndLetsClicksThrough)
{
    ShowActiveForm();
    const HWND foreground = ::GetForegroundWindow();
    const HWND active = ::GetActiveWindow();
    const HWND focus = ::GetFocus();

    THintWindow* hint = App.Make<THintWindow>();
    EXPECT_FALSE(hint->Showing());
    RECT under{};
    ::GetWindowRect(Button->Handle(), &under);
    const TRect size = hint->CalcHintRect(500, L"Close");
    const TRect at{under.left + 10, under.top + 10, under.left + 10 + size.Width(), under.top + 10 + size.Height()};
    hint->ActivateHint(at, L"Close");
    App.ProcessMessages();

    ASSERT_TRUE(hint->Showing());
    const HWND hwnd = hint->Handle();
    RECT placed{};
    ::GetWindowRect(hwnd, &placed);
    EXPECT_EQ((TRect{placed.left, placed.top, placed.right, placed.bottom}), at);
    EXPECT_EQ(::GetForegroundWindow(), foreground);
    EXPECT_EQ(::GetActiveWindow(), active);
    EXPECT_EQ(::GetFocus(), focus);
    EXPECT_EQ(::SendMessageW(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Form->Handle()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)), MA_NOACTIVATE);
    EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(at.Left + 2, at.Top + 2)), HTTRANSPARENT);

    {
        win::WindowDC dc{hwnd};
        EXPECT_EQ(::GetPixel(dc.get(), 1, 1), ::GetSysColor(COLOR_INFOBK)) << "tooltip colours";
    }

    // A real click on the hint reaches the button beneath it.
    const POINT centre{(at.Left + at.Right) / 2, (at.Top + at.Bottom) / 2};
    ::SetCursorPos(centre.x, centre.y);
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    EXPECT_EQ(::SendInput(2, clicks, sizeof(INPUT)), 2u);
    EXPECT_TRUE(PumpUntil([&] { return Clicks == 1; }, 3000)) << "the click fell through to the button";
    EXPECT_EQ(::GetForegroundWindow(), foreground);

    hint->Hide();
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    hint->ActivateHint(at, L"Close");
    EXPECT_TRUE(hint->Showing());
    hint->ActivateHint(at, L"");
    EXPECT_FALSE(hint->Showing()) << "nothing to show";
    hint->ActivateHint(at, L"Close");
    hint->ReleaseHandle();
    EXPECT_FALSE(hint->Showing());
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(::GetForegroundWindow(), foreground);
    EXPECT_EQ(::GetFocus(), Button->Handle());

    // Owned by the form it covers, the hint goes with the form's window and comes back after.
    hint->ActivateHint(at, L"Close");
    EXPECT_EQ(::GetWindow(hint->Handle(), GW_OWNER), Form->Handle());
    Form->DestroyHandle();
    EXPECT_EQ(hint->Handle(), nullptr);
    EXPECT_FALSE(hint->Showing());
    hint->ActivateHint(at, L"Close");
    EXPECT_TRUE(hint->Showing());
}

TEST_F(ToolkitPaintTest, HintThatWouldStickOutOfTheScreenIsMovedOntoIt)
{
    THintWindow* hint = App.Make<THintWindow>();
    const TRect size = hint->CalcHintRect(500, L"Minimize");
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    const int w = size.Width(), h = size.Height();
    const struct { POINT asked, expected; } cases[] = {
        {{screenW - w / 2, screenH - h / 2}, {screenW - w, screenH - h}},
        {{-w / 2, -h / 2}, {0, 0}},
        {{100, 100}, {100, 100}},
    };
    for (const auto& c : cases) {
        hint->ActivateHint({c.asked.x, c.asked.y, c.asked.x + w, c.asked.y + h}, L"Minimize");
        RECT r{};
        ::GetWindowRect(hint->Handle(), &r);
        EXPECT_EQ(r.left, c.expected.x) << "asked at " << c.asked.x << "," << c.asked.y;
        EXPECT_EQ(r.top, c.expected.y) << "asked at " << c.asked.x << "," << c.asked.y;
        EXPECT_EQ(r.right - r.left, w);
    }
}

TEST_F(ToolkitPaintTest, HintPausesHaveTheUsualDefaults)
{
    EXPECT_EQ(App.HintPause(), 500);
    EXPECT_EQ(App.HintHidePause(), 2500);
    App.SetHintPause(250);
    App.SetHintHidePause(-1);
    EXPECT_EQ(App.HintPause(), 250);
    EXPECT_EQ(App.HintHidePause(), 0);
}

TEST_F(ToolkitPaintTest, MenuGlyphsLoadAndDrawThroughTheirMask)
{
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    TImageList* glyphs = App.Make<TImageList>();
    ASSERT_TRUE(glyphs->LoadFromResourceName(module, L"GLOSSAMENU", RGBColor(255, 255, 255)));
    EXPECT_EQ(glyphs->Count(), 4);
    EXPECT_EQ(glyphs->Width(), 16);
    EXPECT_EQ(glyphs->Height(), 16);
    EXPECT_FALSE(glyphs->LoadFromResourceName(module, L"NOSUCHBITMAP", 0));
    EXPECT_EQ(glyphs->Count(), 4) << "a failed load keeps the images";
    TImageList* tall = App.Make<TImageList>(16, 32);
    EXPECT_FALSE(tall->LoadFromResourceName(module, L"GLOSSAMENU", 0)) << "16 rows are not 32";

    // Every glyph against the strip itself: white pixels leave the background, others copy.
    const win::GdiObject<HBITMAP> strip{static_cast<HBITMAP>(::LoadImageW(module, L"GLOSSAMENU", IMAGE_BITMAP, 0, 0, 0))};
    std::vector<std::uint32_t> source(64 * 16);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    win::WindowDC screen{nullptr};
    ASSERT_EQ(::GetDIBits(screen.get(), strip.get(), 0, 16, source.data(), &bi, DIB_RGB_COLORS), 16);
    for (int index = 0; index < 4; ++index) {
        TPixelDC dc(20, 20, kGreen);
        glyphs->Draw(dc.get(), 2, 2, index);
        int dark = 0, wrong = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF from = FromPixel(source[y * 64 + index * 16 + x]);
                dark += IsDark(dc.At(x + 2, y + 2));
                wrong += dc.At(x + 2, y + 2) != (from == RGB(255, 255, 255) ? kGreen : from);
            }
        EXPECT_EQ(wrong, 0) << "glyph " << index;
        EXPECT_GT(dark, 8) << "glyph " << index << " has a mark";
        EXPECT_EQ(dc.At(0, 0), kGreen);
        EXPECT_EQ(dc.At(19, 19), kGreen);
    }

    // Close: the X's crossing is dark; disabled, the same place is greyed, the corners untouched.
    TPixelDC close(16, 16, kGreen), disabled(16, 16, kGreen), outOfRange(16, 16, kGreen);
    glyphs->Draw(close.get(), 0, 0, 3);
    glyphs->Draw(disabled.get(), 0, 0, 3, false);
    glyphs->Draw(outOfRange.get(), 0, 0, 4);
    glyphs->Draw(outOfRange.get(), 0, 0, -1);
    EXPECT_TRUE(IsDark(close.At(7, 7)) && IsDark(close.At(8, 7)));
    EXPECT_EQ(close.At(7, 5), kGreen) << "between the strokes";
    EXPECT_FALSE(IsDark(disabled.At(7, 7)));
    EXPECT_NE(disabled.At(7, 7), kGreen);
    EXPECT_EQ(disabled.At(0, 15), kGreen);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(outOfRange.At(x, y), kGreen) << "nothing drawn for an index out of range";
}

TEST_F(ToolkitPaintTest, CanvasDrawsAndLeavesTheDCAsItFoundIt)
{
    TPixelDC dc(200, 40, kGreen);
    const HGDIOBJ font = ::GetCurrentObject(dc.get(), OBJ_FONT);
    const HGDIOBJ brush = ::GetCurrentObject(dc.get(), OBJ_BRUSH);
    const HGDIOBJ pen = ::GetCurrentObject(dc.get(), OBJ_PEN);
    const COLORREF textColour = ::GetTextColor(dc.get());
    const int bkMode = ::GetBkMode(dc.get());
    {
        TCanvas canvas(dc.get());
        canvas.SetBrushColor(RGBColor(0, 0, 255));
        canvas.FillRect({0, 0, 10, 10});
        canvas.SetBrushColor(clWindow);
        canvas.FillRect({10, 0, 20, 10});
        EXPECT_EQ(dc.At(5, 5), RGB(0, 0, 255));
        EXPECT_EQ(dc.At(15, 5), ::GetSysColor(COLOR_WINDOW)) << "system colours resolved";

        canvas.Font().SetColor(RGBColor(255, 0, 0));
        canvas.SetTransparent(true);
        EXPECT_EQ(::GetBkMode(dc.get()), TRANSPARENT);
        EXPECT_EQ(canvas.TextWidth(L""), 0);
        const TTextSize small = canvas.TextExtent(L"Close");
        EXPECT_GT(small.Height, 0);
        EXPECT_GT(canvas.TextWidth(L"Close window"), small.Width);
        canvas.Font().SetHeight(22);
        EXPECT_GT(canvas.TextExtent(L"Close").Width, small.Width) << "the font changed between calls";
        canvas.TextRect({0, 12, 200, 40}, L"Close", DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        int red = 0, green = 0;
        for (int y = 12; y < 40; ++y)
            for (int x = 0; x < 200; ++x) {
                red += dc.At(x, y) == RGB(255, 0, 0);
                green += dc.At(x, y) == kGreen;
            }
        EXPECT_GT(red, 20) << "text in the font's colour";
        EXPECT_GT(green, 200 * 28 / 2) << "no background box around transparent text";
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), font);
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), brush);
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), pen);
    EXPECT_EQ(::GetTextColor(dc.get()), textColour);
    EXPECT_EQ(::GetBkMode(dc.get()), bkMode);

    // Many canvases, each with a new brush colour and font size, leave no GDI object behind:
    // every brush and font they made is gone, and the process's count (where the system keeps
    // one; Wine answers 0) has not grown.
    const HANDLE process = ::GetCurrentProcess();
    const DWORD before = ::GetGuiResources(process, GR_GDIOBJECTS);
    std::vector<HGDIOBJ> made;
    for (int i = 0; i < 1000; ++i) {
        TCanvas canvas(dc.get());
        for (int change = 0; change < 2; ++change) {
            canvas.SetBrushColor(RGBColor(i % 256, change, 0));
            canvas.FillRect({0, 0, 4, 4});
            canvas.Font().SetHeight(10 + i % 7 + change);
            canvas.TextRect({0, 0, 100, 20}, L"x", DT_SINGLELINE);
            made.push_back(canvas.BrushHandle());
            made.push_back(canvas.Font().Handle());
        }
    }
    const DWORD after = ::GetGuiResources(process, GR_GDIOBJECTS);
    EXPECT_EQ(std::count_if(made.begin(), made.end(), [](HGDIOBJ h) { return ::GetObjectType(h) != 0; }), 0);
    EXPECT_LE(after, before + 2) << "GDI objects before " << before << ", after " << after;
}

TEST_F(ToolkitPaintTest, ControlPropertiesRoundTripByName)
{
    Button->HandleNeeded();
    const struct { const wchar_t* name; const wchar_t* value; const wchar_t* readBack; } cases[] = {
        {L"Caption", L"读取", L"读取"},
        {L"Color", L"255", L"255"},
        {L"Color", L"-16777201", L"-16777201"}, // clBtnFace, a system colour
        {L"Color", L"$FF000005", L"-16777211"}, // clWindow, written in hexadecimal
        {L"Enabled", L"False", L"False"},
        {L"Visible", L"False", L"False"},
        {L"Visible", L"True", L"True"},
        {L"Left", L"12", L"12"},
        {L"Top", L"34", L"34"},
        {L"Width", L"56", L"56"},
        {L"Height", L"23", L"23"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Button->SetPropValue(c.name, c.value)) << Narrow(c.name);
        EXPECT_EQ(Button->GetPropValue(c.name), c.readBack) << Narrow(c.name);
    }
    EXPECT_EQ(Button->Color(), clWindow);
    EXPECT_FALSE(::IsWindowEnabled(Button->Handle()));
    RECT r{};
    ::GetWindowRect(Button->Handle(), &r);
    ::MapWindowPoints(nullptr, Form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((TRect{r.left, r.top, r.right, r.bottom}), (TRect{12, 34, 68, 57})) << "the window moved with the properties";
    EXPECT_THROW(Button->SetPropValue(L"Left", L"left"), EConvertError);
    EXPECT_THROW(Button->SetPropValue(L"Color", L"4278190095"), EConvertError) << "unsigned decimal is out of range";
    EXPECT_EQ(Button->Left(), 12);
}
