// The skin data component under the rig: its properties by name, the stored skin, loading with
// and without a usable archive, skin files, the form filter, caption hints and the icon.
#include "skin/archive/SkinReader.h"
#include "tests/win/SkinManagerFixture.h"

#include <filesystem>
#include <fstream>

class SkinDataTest : public SkinManagerTestBase {};

namespace {

std::wstring Prop(const TObject& o, const wchar_t* name) { return o.GetPropValue(name).value_or(L"<none>"); }

// The archive's payload compressed as it is, for versions and directories of our choosing.
TBytes ArchiveOfPayload(std::initializer_list<std::int32_t> words)
{
    TBytes payload;
    for (const std::int32_t w : words)
        Put32(payload, static_cast<std::uint32_t>(w));
    return TSkinWriter::CompressPayload(payload);
}

TBytes WithoutIni()
{
    TSkinWriter writer;
    writer.AddEntry("Top.bmp", SolidBmp(10, 10, {kActiveTop}, false));
    return writer.Archive();
}

std::filesystem::path TempSkinFile(const TBytes& archive, const wchar_t* name)
{
    wchar_t dir[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, dir);
    const std::filesystem::path path = std::filesystem::path(dir) / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(archive.data()),
                                                 static_cast<std::streamsize>(archive.size()));
    return path;
}

} // namespace

TEST_F(SkinDataTest, PublishedPropertiesReadTheirDefaultsByNameAndDisplayOnlyOnesIgnoreWrites)
{
    auto* sd = App->Make<TSkinData>();
    const std::pair<const wchar_t*, const wchar_t*> defaults[] = {
        {L"Active", L"False"}, {L"DisableTag", L"99"},
        {L"Options", L"[xoPreview,xoToolbarBK,xoCaptionButtonHint]"},
        {L"SkinFile", L""}, {L"SkinStore", L"(none)"}, {L"SkinFormtype", L"sfMainform"},
        {L"Version", L"5.60.03.29"}, {L"MenuUpdate", L"True"}, {L"MenuMerge", L"False"},
    };
    for (const auto& [name, value] : defaults)
        EXPECT_EQ(Prop(*sd, name), value) << Narrow(name);
    EXPECT_EQ(sd->SkinControls().Bits(), 0x1FFFFBu);
    EXPECT_EQ(SkinControlTypesFromText(Prop(*sd, L"SkinControls")).Bits(), 0x1FFFFBu);
    EXPECT_EQ(Prop(*sd, L"Skin3rd"),
              L"TCategoryButtons=scrollbar\r\nTPngSpeedbutton=pngspeedbutton\r\nTPngBitBtn=pngbitbtn\r\n"
              L"TVirtualStringTree=scrollbar\r\nTVirtualDrawTree=scrollbar\r\nTTBXDockablePanel=Panel\r\n"
              L"TAdvPanelGroup=scrollbar\r\nTComboboxex=combobox\r\nTRxSpeedButton=speedbutton\r\n"
              L"THTMLViewer=scrollbar\r\nTDBCtrlGrid=scrollbar\r\nTfrSpeedButton=speedbutton\r\n"
              L"TfrTBButton=speedbutton\r\nTControlBar=Panel\r\nTTBDock=Panel\r\nTOVCPICTUREFIELD=Edit\r\n"
              L"TOVCDBPICTUREFIELD=Edit\r\nTOVCSLIDEREDIT=Edit\r\nTOVCDBSLIDEREDIT=Edit\r\nTOVCSIMPLEFIELD=Edit\r\n"
              L"TOVCDBSIMPLEFIELD=Edit\r\nTO32DBFLEXEDIT=Edit\r\nTOVCNUMERICFIELD=Edit\r\nTOVCDBNUMERICFIELD=Edit\r\n");

    sd->SetPropValue(L"Version", L"1.0");
    sd->SetPropValue(L"SkinStore", L"(Good)");
    EXPECT_EQ(Prop(*sd, L"Version"), L"5.60.03.29");
    EXPECT_EQ(Prop(*sd, L"SkinStore"), L"(none)");

    // Written values come back by name, the sets in their stored order.
    const std::pair<const wchar_t*, const wchar_t*> written[] = {
        {L"DisableTag", L"7"}, {L"Options", L"[xoMDIScrollbar,xoFormScrollbar]"},
        {L"SkinControls", L"[xcMainMenu,xcFastReport]"}, {L"SkinFormtype", L"sfDLL"},
        {L"MenuUpdate", L"False"}, {L"MenuMerge", L"True"},
    };
    for (const auto& [name, value] : written) {
        EXPECT_TRUE(sd->SetPropValue(name, value)) << Narrow(name);
        EXPECT_EQ(Prop(*sd, name), value) << Narrow(name);
    }
    EXPECT_TRUE(sd->SetPropValue(L"Skin3rd", L"TFoo=panel\r\nTBar=nil"));
    EXPECT_EQ(sd->Skin3rd(), (std::vector<std::wstring>{L"TFoo=panel", L"TBar=nil"}));
}

TEST_F(SkinDataTest, SkinStreamCountsItsBytesRefusesShortDataAndRoundTrips)
{
    auto* sd = App->Make<TSkinData>();
    EXPECT_EQ(sd->WriteSkinStream(), (TBytes{0, 0, 0, 0}));
    sd->ReadSkinStream(TBytes{0, 0, 0, 0});
    EXPECT_TRUE(sd->SkinLoading()) << "an empty stream loads nothing";
    EXPECT_EQ(sd->WriteSkinStream(), (TBytes{0, 0, 0, 0}));
    EXPECT_TRUE(Boxes.empty());

    TBytes stored = StoredSkin(Archive());
    for (const TBytes& bad : {TBytes{1, 0, 0}, TBytes(stored.begin(), stored.end() - 1), TBytes{5, 0, 0, 0, 1, 2}})
        EXPECT_THROW(sd->ReadSkinStream(bad), EReadError) << bad.size() << " bytes";
    EXPECT_TRUE(sd->SkinLoading());

    sd->ReadSkinStream(stored);
    EXPECT_FALSE(sd->SkinLoading()) << "a stored skin is built while the form is read";
    EXPECT_EQ(sd->SkinName(), "Test");
    EXPECT_EQ(sd->WriteSkinStream(), stored);
}

TEST_F(SkinDataTest, ActiveWithAStoredSkinAppliesItAQuarterSecondAfterLoaded)
{
    SkinManager->RunState = TSkinManage::kRunning; // some window was activated before
    int changed = 0;
    auto* form = MakeForm();
    auto* sd = form->Make<TSkinData>();
    sd->OnSkinChanged = [&](TObject*) { ++changed; };
    sd->BeginLoading();
    sd->SetActive(true);
    sd->ReadSkinStream(StoredSkin(Archive()));
    EXPECT_FALSE(sd->SkinLoading());
    sd->Loaded();
    EXPECT_TRUE(sd->Active());
    form->SetVisible(true); // shown without activation: only the timed sweep can frame it
    PumpFor(120);
    EXPECT_EQ(SkinManager->FindFrame(form->Handle()), nullptr) << "framed before its time";
    EXPECT_NE(WaitFramed(form->Handle()), nullptr);
    PumpFor(300);
    EXPECT_EQ(changed, 1) << "the action runs once";
    EXPECT_EQ(SkinManager->FrameList.size(), 1u);
}

TEST_F(SkinDataTest, ActiveBeforeAnyActivationOnlyEnablesSkinningUntilTheFirstActivation)
{
    auto* form = MakeForm();
    int changed = 0;
    MakeSkinData(form, TSkinFormType::sfMainform, true)->OnSkinChanged = [&](TObject*) { ++changed; };
    EXPECT_TRUE(SkinManager->SkinningEnabled);
    EXPECT_EQ(SkinManager->RunState, TSkinManage::kIdle);
    PumpFor(400);
    EXPECT_EQ(changed, 0) << "no timer runs before the first activation";
    EXPECT_EQ(SkinManager->FindFrame(form->Handle()), nullptr);
    ::SetActiveWindow(form->Handle());
    EXPECT_EQ(SkinManager->RunState, TSkinManage::kRunning);
    EXPECT_NE(WaitFramed(form->Handle()), nullptr);
}

TEST_F(SkinDataTest, LoadedDropsActiveWithoutASkinAndAdjustsTheControlKinds)
{
    auto* noSkin = MakeSkinData(&*App, TSkinFormType::sfMainform, true, {});
    EXPECT_FALSE(noSkin->Active());
    EXPECT_FALSE(SkinManager->SkinningEnabled);

    struct TCase {
        TSkinControlTypes In, Out;
    };
    using enum TSkinControlType;
    const TCase cases[] = {
        {{xcMainMenu, xcMenuItem, xcSystemMenu, xcButton}, {xcMainMenu, xcSystemMenu, xcButton}},
        {{xcMenuItem, xcSystemMenu, xcButton}, {xcMenuItem, xcButton}},
    };
    for (const TCase& c : cases) {
        auto* sd = App->Make<TSkinData>();
        sd->BeginLoading();
        sd->SetSkinControls(c.In);
        sd->Loaded();
        EXPECT_EQ(sd->SkinControls().Bits(), c.Out.Bits()) << std::hex << c.In.Bits();
    }
}

TEST_F(SkinDataTest, AFormOnlyComponentFramesItsOwnerAtOnceWhenLoaded)
{
    auto* form = MakeForm();
    auto* sd = MakeSkinData(form, TSkinFormType::sfOnlyThisForm, true);
    EXPECT_TRUE(SkinManager->SkinningEnabled);
    EXPECT_EQ(SkinManager->RunState, 1);
    TWinSkinForm* frame = SkinManager->FindFrame(form->Handle());
    ASSERT_NE(frame, nullptr) << "framed inside Loaded, without the timer";
    EXPECT_EQ(frame->SkinData(), sd);
}

TEST_F(SkinDataTest, ArchivesThatDoNotLoadLeaveTheWindowItsOwnLook)
{
    struct TCase {
        const char* Name;
        TBytes Archive;
        bool Loads;
        const wchar_t* Box;
    };
    const TCase cases[] = {
        {"known version without a definition", WithoutIni(), true, nullptr},
        {"unknown version", ArchiveOfPayload({12345, 0, 0, 0}), false, TSkinReader::kOlderSkin},
        {"names past the payload", ArchiveOfPayload({20000, 1000, 0, 0}), false, TSkinReader::kBadNameLength},
        {"negative length", TBytes{0xFF, 0xFF, 0xFF, 0xFF, 0}, false, TSkinReader::kNegativeLength},
    };
    // Activated without being shown: the hook sees it as the program's windows are seen.
    auto* form = MakeForm();
    const HWND elsewhere = MakeForm(L"Elsewhere")->Handle();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Boxes.clear();
        ResetManager();
        auto* scope = App->Make<TComponent>();
        auto* sd = MakeSkinData(scope, TSkinFormType::sfMainform, true, c.Archive);
        EXPECT_EQ(sd->SkinLoading(), !c.Loads);
        EXPECT_EQ(sd->Active(), c.Loads);
        if (c.Box) {
            ASSERT_EQ(Boxes.size(), 1u) << "the failure is told once";
            EXPECT_EQ(Boxes.front(), c.Box);
        } else {
            EXPECT_TRUE(Boxes.empty());
            EXPECT_TRUE(sd->SkinName().empty()) << "every object at its default";
            for (const auto& button : sd->Skin().CaptionButtons)
                EXPECT_GE(button->Action, 7) << "only the built-in MDI buttons";
        }
        if (!c.Loads) {
            ::SetActiveWindow(elsewhere);
            ::SetActiveWindow(form->Handle());
            PumpFor(300);
            EXPECT_EQ(SkinManager->FindFrame(form->Handle()), nullptr);
            EXPECT_EQ(::GetWindowRgn(form->Handle(), win::GdiObject<HRGN>(::CreateRectRgn(0, 0, 0, 0)).get()), ERROR);
        }
        App->FreeComponent(scope);
    }
}

TEST_F(SkinDataTest, SkinFileLoadsAtRunTimeAndAMissingOneOnlyMarksTheSkinUnusable)
{
    auto* form = App->Make<TSkinnedForm>(Archive());
    ::SetActiveWindow(form->Handle());
    TWinSkinForm* frame = WaitFramed(form->Handle());
    ASSERT_NE(frame, nullptr);
    TSkinData* sd = form->SkinData;
    const SIZE client = ClientSize(form->Handle());
    ASSERT_EQ(frame->Borders().Top, 30);
    const size_t buttons = frame->CaptionButtons().size();
    RECT before{};
    ::GetWindowRect(form->Handle(), &before);

    TTestSkin taller;
    taller.TopHeight = 40;
    const TBytes tallerArchive = TestSkinArchive(taller);
    const auto path = TempSkinFile(tallerArchive, L"qm27k-skindata-test.skn");
    sd->SetSkinFile(path.wstring());
    EXPECT_FALSE(sd->SkinLoading());
    EXPECT_EQ(sd->WriteSkinStream(), StoredSkin(tallerArchive)) << "the file's bytes replace the stored ones";
    EXPECT_TRUE(PumpUntil([&] { return frame->Borders().Top == 40; }, 2000)) << "the frame is refreshed";
    EXPECT_EQ(ClientSize(form->Handle()).cx, client.cx);
    EXPECT_EQ(ClientSize(form->Handle()).cy, client.cy);
    EXPECT_EQ(frame->CaptionButtons().size(), buttons) << "the caption buttons are rebuilt";
    RECT after{};
    ::GetWindowRect(form->Handle(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_TRUE(frame->HasRegion());
    std::filesystem::remove(path);

    sd->SetSkinFile(L"C:\\no such folder\\missing.skn");
    EXPECT_TRUE(sd->SkinLoading());
    EXPECT_EQ(sd->SkinFile(), L"C:\\no such folder\\missing.skn");
    EXPECT_EQ(sd->WriteSkinStream(), StoredSkin(tallerArchive));
    EXPECT_EQ(sd->SkinName(), "Test");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(SkinDataTest, FilterFormRefusesCalendarsAndReportFormsUnlessTheHandlerDecides)
{
    auto* sd = App->Make<TSkinData>();
    TSkinControlTypes withReports = sd->SkinControls();
    withReports.Include(TSkinControlType::xcFastReport);
    struct TCase {
        const wchar_t* ClassName;
        bool Reports;
        bool Skin;
    };
    const TCase cases[] = {
        {L"SysMonthCal32", false, false}, {L"TfrPreviewForm", true, false}, {L"TfrPreviewForm", false, true},
        {L"TFrame1", true, true}, {L"TForm1", true, true}, {L"sysmonthcal32", false, true},
    };
    const HWND probe = reinterpret_cast<HWND>(0x1234);
    for (const TCase& c : cases) {
        sd->SetSkinControls(c.Reports ? withReports : TSkinControlTypes::FromBits(0x1FFFFB));
        bool skin = true;
        sd->FilterForm(probe, c.ClassName, skin);
        EXPECT_EQ(skin, c.Skin) << Narrow(c.ClassName) << (c.Reports ? " with" : " without") << " report forms";
    }
    EXPECT_EQ(sd->FilteredWindow(), probe);

    std::vector<std::pair<std::wstring, bool>> asked;
    sd->OnFormSkin = [&](TObject* sender, const std::wstring& name, bool& doSkin) {
        EXPECT_EQ(sender, sd);
        asked.emplace_back(name, doSkin);
        doSkin = name != L"TForm1";
    };
    for (const auto& [name, expected] : {std::pair{L"SysMonthCal32", true}, std::pair{L"TForm1", false}}) {
        bool skin = false;
        sd->FilterForm(probe, name, skin);
        EXPECT_EQ(skin, expected) << Narrow(name);
    }
    EXPECT_EQ(asked, (std::vector<std::pair<std::wstring, bool>>{{L"SysMonthCal32", false}, {L"TForm1", false}}));
}

namespace {

HWND VisibleHint()
{
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) -> BOOL {
            if (WindowClassName(hwnd) == L"THintWindow" && ::IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(out) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

TEST_F(SkinDataTest, CaptionHintsShowOnlyWithTheirOptionAtTheGivenCorner)
{
    auto* sd = App->Make<TSkinData>();
    sd->ShowCaptionHint(RECT{300, 200, 320, 220}, L"Close");
    EXPECT_TRUE(sd->CaptionHintShown());
    const HWND hint = VisibleHint();
    ASSERT_NE(hint, nullptr);
    RECT r{};
    ::GetWindowRect(hint, &r);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 200);
    sd->ShowCaptionHint(RECT{10, 10, 20, 20}, L"Close");
    ::GetWindowRect(hint, &r);
    EXPECT_EQ(r.left, 300) << "a shown hint stays where it is";
    sd->HideCaptionHint();
    EXPECT_FALSE(sd->CaptionHintShown());
    EXPECT_EQ(VisibleHint(), nullptr);

    sd->SetOptions({TSkinOption::xoPreview});
    sd->ShowCaptionHint(RECT{300, 200, 320, 220}, L"Close");
    EXPECT_FALSE(sd->CaptionHintShown());
    EXPECT_EQ(VisibleHint(), nullptr);
}

TEST_F(SkinDataTest, BuildAppIconDrawsTheMainFormsSmallIconOnTheKeyColour)
{
    auto* main = App->CreateForm<TForm>();
    main->HandleNeeded();
    auto* sd = App->Make<TSkinData>();
    sd->BuildAppIcon();
    EXPECT_TRUE(sd->AppIcon().IsEmpty()) << "no icon, no picture";

    // 16 × 16, opaque red but for a see-through top-left quarter.
    std::vector<std::uint32_t> colour(256, 0x00FF0000);
    std::vector<std::uint8_t> mask(32, 0);
    for (int y = 0; y < 8; ++y) {
        mask[static_cast<size_t>(2 * y)] = 0xFF;
        for (int x = 0; x < 8; ++x)
            colour[static_cast<size_t>(16 * y + x)] = 0;
    }
    const win::Icon icon{::CreateIcon(nullptr, 16, 16, 1, 32, mask.data(), reinterpret_cast<BYTE*>(colour.data()))};
    ASSERT_TRUE(icon);
    ::SendMessageW(main->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    sd->BuildAppIcon();
    const TPixelView picture = sd->AppIcon().View();
    ASSERT_EQ(picture.Width, ::GetSystemMetrics(SM_CXSMICON));
    ASSERT_EQ(picture.Height, ::GetSystemMetrics(SM_CYSMICON));
    EXPECT_EQ(picture.At(1, 1) & 0xFFFFFF, kKey);
    EXPECT_EQ(picture.At(picture.Width - 2, picture.Height - 2) & 0xFFFFFF, 0xFF0000u);

    ::SendMessageW(main->Handle(), WM_SETICON, ICON_SMALL, 0);
    sd->BuildAppIcon();
    EXPECT_FALSE(sd->AppIcon().IsEmpty()) << "without an icon the previous picture stays";
}
