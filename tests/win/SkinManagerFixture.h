// The skin manager is one per process, so the skin data and manager tests share it: each test
// gets a fresh application, starts from a manager in its first state, and must leave no
// component, frame or pending action behind once its forms are gone.
#pragma once

#include "skin/window/SkinMessages.h"
#include "tests/win/SkinWindowFixture.h"

#include <optional>

class SkinManagerTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        App.emplace();
        App->Initialize();
        App->OnMessageBox = [this](const std::wstring& text, const std::wstring&, unsigned) {
            Boxes.push_back(text);
            return IDOK;
        };
        App->OnException = [this](const std::wstring& message) { Errors.push_back(message); };
        CreateSkinManager();
        ResetManager();
    }

    void TearDown() override
    {
        App.reset();
        PumpFor(20);
        ASSERT_NE(SkinManager, nullptr);
        SkinManager->PurgeFrames();
        EXPECT_TRUE(SkinManager->SkinDataList.empty()) << "a freed component is still registered";
        EXPECT_EQ(SkinManager->PrimarySkinData, nullptr);
        EXPECT_EQ(SkinManager->PendingSkinData, nullptr);
        EXPECT_TRUE(SkinManager->FrameList.empty()) << "a frame outlived its window";
        EXPECT_TRUE(Errors.empty()) << Narrow(Errors.empty() ? L"" : Errors.front());
        ResetManager();
    }

    static void ResetManager()
    {
        SkinManager->SkinningEnabled = false;
        SkinManager->Sweeping = false;
        SkinManager->RunState = TSkinManage::kIdle;
        SkinManager->PendingAction = TSkinAction::None;
        SkinManager->PendingSkinData = nullptr;
    }

    // A skin data component read as a form description reads it; no archive means no stored
    // skin.
    TSkinData* MakeSkinData(TComponent* owner, TSkinFormType type = TSkinFormType::sfMainform, bool active = false,
                            const TBytes& archive = Archive())
    {
        auto* sd = owner->Make<TSkinData>();
        sd->BeginLoading();
        sd->SetSkinFormtype(type);
        sd->SetActive(active);
        if (!archive.empty())
            sd->ReadSkinStream(StoredSkin(archive));
        sd->Loaded();
        return sd;
    }

    // A plain form (no skin data of its own) with a window and a caption, not yet shown.
    TForm* MakeForm(const std::wstring& caption = L"Plain test form")
    {
        auto* form = App->Make<TForm>();
        form->SetCaption(caption);
        form->SetBounds(120, 120, 260, 180);
        form->HandleNeeded();
        return form;
    }

    static const TBytes& Archive()
    {
        static const TBytes archive = TestSkinArchive();
        return archive;
    }

    std::optional<TApplication> App;
    std::vector<std::wstring> Boxes;
    std::vector<std::wstring> Errors;
};

// Waits until the manager framed the window and its frame finished setting up.
inline TWinSkinForm* WaitFramed(HWND hwnd, int timeoutMs = 2000)
{
    TWinSkinForm* frame = nullptr;
    PumpUntil(
        [&] {
            frame = SkinManager->FindFrame(hwnd);
            return frame && frame->FrameState() == TFrameState::Active;
        },
        timeoutMs);
    return frame && frame->FrameState() == TFrameState::Active ? frame : nullptr;
}

// A window the toolkit did not make, of any class: classes of our own are registered on first
// use with a procedure that answers SKM_QUERYSKINNED with the window's user data.
struct TPlainWindowParams {
    std::wstring ClassName = L"TSkinTestWindow";
    DWORD Style = WS_OVERLAPPEDWINDOW;
    int Width = 240;
    int Height = 160;
    HINSTANCE Instance = nullptr; // the program's own
    LRESULT QueryAnswer = 0;
    HWND Parent = nullptr;
};

class TPlainWindow {
public:
    explicit TPlainWindow(const TPlainWindowParams& params)
    {
        const HINSTANCE own = ::GetModuleHandleW(nullptr);
        WNDCLASSEXW existing{sizeof(existing)};
        if (!::GetClassInfoExW(own, params.ClassName.c_str(), &existing) &&
            !::GetClassInfoExW(nullptr, params.ClassName.c_str(), &existing)) {
            WNDCLASSEXW wc{sizeof(wc)};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = own;
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = params.ClassName.c_str();
            ::RegisterClassExW(&wc);
        }
        FHandle = ::CreateWindowExW(0, params.ClassName.c_str(), L"Plain window", params.Style, 200, 150, params.Width,
                                    params.Height, params.Parent, nullptr, params.Instance ? params.Instance : own, nullptr);
        if (FHandle && params.QueryAnswer)
            ::SetWindowLongPtrW(FHandle, GWLP_USERDATA, params.QueryAnswer);
    }
    TPlainWindow(const TPlainWindow&) = delete;
    TPlainWindow& operator=(const TPlainWindow&) = delete;
    ~TPlainWindow() { Destroy(); }

    HWND Handle() const noexcept { return FHandle; }
    void Destroy()
    {
        if (FHandle && ::IsWindow(FHandle))
            ::DestroyWindow(FHandle);
        FHandle = nullptr;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == SKM_QUERYSKINNED)
            return ::GetWindowLongPtrW(hwnd, GWLP_USERDATA);
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND FHandle = nullptr;
};
