// The skin data component: its properties, the stored skin, loading, and its requests to the
// skin manager.
#include "skin/window/SkinData.h"

#include "skin/archive/SkinReader.h"
#include "skin/definitions/QuickIni.h"
#include "skin/definitions/SystemMetrics_win.h"
#include "skin/pixels/SystemColors_win.h"
#include "skin/window/IconPicture.h"
#include "skin/window/SkinManager.h"
#include "toolkit/Application.h"
#include "toolkit/Exception.h"
#include "toolkit/Form.h"
#include "toolkit/SysUtils.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// Looked up once: the engine runs without them on systems that lack them.
struct TOptionalApi {
    using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
    using TTrackMouseEvent = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    using TGetComboBoxInfo = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
    TGetScrollBarInfo GetScrollBarInfo = nullptr;
    TTrackMouseEvent TrackMouseEvent = nullptr;
    TGetComboBoxInfo GetComboBoxInfo = nullptr;
};

template <class T>
T Lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

const TOptionalApi& OptionalApi()
{
    static const TOptionalApi api = [] {
        TOptionalApi a;
        if (const HMODULE user = ::GetModuleHandleW(L"user32.dll")) {
            a.GetScrollBarInfo = Lookup<TOptionalApi::TGetScrollBarInfo>(user, "GetScrollBarInfo");
            a.TrackMouseEvent = Lookup<TOptionalApi::TTrackMouseEvent>(user, "TrackMouseEvent");
            a.GetComboBoxInfo = Lookup<TOptionalApi::TGetComboBoxInfo>(user, "GetComboBoxInfo");
        }
        return a;
    }();
    return api;
}

TSkinData& D(TObject& o) { return static_cast<TSkinData&>(o); }
const TSkinData& D(const TObject& o) { return static_cast<const TSkinData&>(o); }

std::wstring JoinLines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const auto& line : lines)
        text += line + L"\r\n";
    return text;
}

std::vector<std::wstring> SplitLines(std::wstring_view text)
{
    std::vector<std::wstring> lines;
    while (!text.empty()) {
        const size_t end = text.find_first_of(L"\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::wstring_view::npos)
            break;
        text.remove_prefix(end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1));
    }
    return lines;
}

const TPropertyInfo kSkinDataProps[] = {
    {L"Active", [](const TObject& o) { return BoolToStr(D(o).Active()); },
     [](TObject& o, std::wstring_view v) { D(o).SetActive(StrToBool(v)); }},
    {L"DisableTag", [](const TObject& o) { return IntToStr(D(o).DisableTag()); },
     [](TObject& o, std::wstring_view v) { D(o).SetDisableTag(StrToInt(v)); }},
    {L"SkinControls", [](const TObject& o) { return SkinControlTypesToText(D(o).SkinControls()); },
     [](TObject& o, std::wstring_view v) { D(o).SetSkinControls(SkinControlTypesFromText(v)); }},
    {L"Options", [](const TObject& o) { return SkinOptionsToText(D(o).Options()); },
     [](TObject& o, std::wstring_view v) { D(o).SetOptions(SkinOptionsFromText(v)); }},
    {L"Skin3rd", [](const TObject& o) { return JoinLines(D(o).Skin3rd()); },
     [](TObject& o, std::wstring_view v) { D(o).SetSkin3rd(SplitLines(v)); }},
    {L"SkinFile", [](const TObject& o) { return D(o).SkinFile(); },
     [](TObject& o, std::wstring_view v) { D(o).SetSkinFile(std::wstring(v)); }},
    // Display-only values: writing them changes nothing.
    {L"SkinStore", [](const TObject& o) { return D(o).SkinStore(); }, [](TObject&, std::wstring_view) {}},
    {L"SkinFormtype", [](const TObject& o) { return SkinFormTypeToText(D(o).SkinFormtype()); },
     [](TObject& o, std::wstring_view v) { D(o).SetSkinFormtype(SkinFormTypeFromText(v)); }},
    {L"Version", [](const TObject& o) { return D(o).Version(); }, [](TObject&, std::wstring_view) {}},
    {L"MenuUpdate", [](const TObject& o) { return BoolToStr(D(o).MenuUpdate()); },
     [](TObject& o, std::wstring_view v) { D(o).SetMenuUpdate(StrToBool(v)); }},
    {L"MenuMerge", [](const TObject& o) { return BoolToStr(D(o).MenuMerge()); },
     [](TObject& o, std::wstring_view v) { D(o).SetMenuMerge(StrToBool(v)); }},
};

// Every kind of control but menu items and report designers.
constexpr std::uint32_t kDefaultSkinControls = 0x1FFFFB;

void ShowSkinMessage(const std::wstring& text)
{
    if (Application)
        Application->ShowMessage(text);
}

} // namespace

const TClassInfo TSkinData::StaticClass{L"TSkinData", &TComponent::StaticClass, kSkinDataProps};

bool SkinGetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO* info) noexcept
{
    const auto f = OptionalApi().GetScrollBarInfo;
    return f && f(hwnd, idObject, info);
}

void SkinTrackMouseLeave(HWND hwnd) noexcept
{
    if (const auto f = OptionalApi().TrackMouseEvent) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
        f(&track);
    }
}

bool SkinGetComboBoxInfo(HWND hwnd, COMBOBOXINFO* info) noexcept
{
    const auto f = OptionalApi().GetComboBoxInfo;
    if (!f)
        return false;
    info->cbSize = sizeof(COMBOBOXINFO);
    return f(hwnd, info) != FALSE;
}

bool HasGetScrollBarInfo() noexcept { return OptionalApi().GetScrollBarInfo != nullptr; }

const std::vector<std::wstring>& DefaultSkin3rd()
{
    static const std::vector<std::wstring> lines{
        L"TCategoryButtons=scrollbar", L"TPngSpeedbutton=pngspeedbutton", L"TPngBitBtn=pngbitbtn",
        L"TVirtualStringTree=scrollbar", L"TVirtualDrawTree=scrollbar", L"TTBXDockablePanel=Panel",
        L"TAdvPanelGroup=scrollbar", L"TComboboxex=combobox", L"TRxSpeedButton=speedbutton",
        L"THTMLViewer=scrollbar", L"TDBCtrlGrid=scrollbar", L"TfrSpeedButton=speedbutton",
        L"TfrTBButton=speedbutton", L"TControlBar=Panel", L"TTBDock=Panel", L"TOVCPICTUREFIELD=Edit",
        L"TOVCDBPICTUREFIELD=Edit", L"TOVCSLIDEREDIT=Edit", L"TOVCDBSLIDEREDIT=Edit", L"TOVCSIMPLEFIELD=Edit",
        L"TOVCDBSIMPLEFIELD=Edit", L"TO32DBFLEXEDIT=Edit", L"TOVCNUMERICFIELD=Edit", L"TOVCDBNUMERICFIELD=Edit",
    };
    return lines;
}

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      FSkinControls(TSkinControlTypes::FromBits(kDefaultSkinControls)),
      FOptions{TSkinOption::xoPreview, TSkinOption::xoToolbarBK, TSkinOption::xoCaptionButtonHint},
      FSkin3rd(DefaultSkin3rd()),
      FSkin(CurrentSystemColors(), CurrentSystemMetrics())
{
    // The glyphs of the skinned system menu ride in the program's resources; a program
    // without them shows that menu without glyphs.
    (void)FMenuGlyphs.LoadFromResourceName(::GetModuleHandleW(nullptr), L"GLOSSAMENU", RGBColor(255, 255, 255));
    FMaximizedSize = {::GetSystemMetrics(SM_CXMAXIMIZED), ::GetSystemMetrics(SM_CYMAXIMIZED)};
}

TSkinData::~TSkinData()
{
    HideCaptionHint();
    if (SkinManager)
        SkinManager->UnregisterSkinData(this);
}

void TSkinData::ReadSkinStream(std::span<const std::uint8_t> stored)
{
    if (stored.size() < 4)
        throw EReadError(L"Stream read error");
    const std::uint32_t count = std::uint32_t(stored[0]) | std::uint32_t(stored[1]) << 8 |
        std::uint32_t(stored[2]) << 16 | std::uint32_t(stored[3]) << 24;
    if (count > stored.size() - 4)
        throw EReadError(L"Stream read error");
    FSkinStreamData.assign(stored.begin() + 4, stored.begin() + 4 + count);
    if (count > 0 && !Designing())
        LoadSkinFromStream();
}

std::vector<std::uint8_t> TSkinData::WriteSkinStream() const
{
    const auto count = static_cast<std::uint32_t>(FSkinStreamData.size());
    std::vector<std::uint8_t> out{std::uint8_t(count), std::uint8_t(count >> 8), std::uint8_t(count >> 16),
                                  std::uint8_t(count >> 24)};
    out.insert(out.end(), FSkinStreamData.begin(), FSkinStreamData.end());
    return out;
}

bool TSkinData::LoadSkinFromStream()
{
    if (Designing())
        return false;
    FSkinLoading = true;
    TMemoryStream source(FSkinStreamData);
    TSkinReader reader(ShowSkinMessage);
    try {
        if (!reader.OpenArchive(source))
            return false;
        TMemoryStream entry;
        std::string name;
        reader.FindEntry(".ini", entry, name);
        entry.SetPosition(0);
        TQuickIni ini;
        ini.LoadFromStream(entry);
        FSkin.BuildSkinObjects(reader, ini);
    } catch (const Exception& e) {
        // A damaged archive is reported like one of an unknown version, and the window keeps
        // its own look: a start-up must not fail on its skin.
        ShowSkinMessage(e.Message());
        return false;
    }
    FFaceBrush.reset(::CreateSolidBrush(ResolveColor(FSkin.ButtonFace(), FSkin.SystemColors())));
    FSkinLoading = false;
    return true;
}

void TSkinData::SetSkinFile(const std::wstring& value)
{
    const bool hadSkin = !FSkinLoading;
    FSkinLoading = true;
    FSkinFile = value;
    if (Designing())
        return;
    std::error_code error;
    if (value.empty() || !std::filesystem::is_regular_file(std::filesystem::path(value), error))
        return;
    std::ifstream in(std::filesystem::path(value), std::ios::binary);
    std::vector<std::uint8_t> previous(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
    std::swap(previous, FSkinStreamData);
    if (!LoadSkinFromStream()) {
        // A file that is no skin leaves the skin in use as it was: going on to refresh would
        // drop every frame's caption buttons and build none, since nothing usable was loaded.
        FSkinStreamData = std::move(previous);
        FSkinLoading = !hadSkin;
        return;
    }
    ApplySkinChange();
}

void TSkinData::ApplySkinChange()
{
    if (Designing() || Loading())
        return;
    if (!SkinManager)
        Loaded();
    SkinManager->PendingSkinData = this;
    SkinManager->DropCaptionButtons();
    if (SkinManager->RunState != 0)
        SkinManager->RequestAction(TSkinAction::Refresh, 250);
}

void TSkinData::Loaded()
{
    TComponent::Loaded();
    if (Designing())
        return;
    if (!HasGetScrollBarInfo())
        FSkinControls.Exclude(TSkinControlType::xcScrollbar);
    if (!SkinManager)
        CreateSkinManager();
    if (!FRegistered) {
        SkinManager->RegisterSkinData(this);
        FRegistered = true;
    }
    LoadCaptionFont();
    if (FSkinFormtype != TSkinFormType::sfMainform) {
        SkinManager->SkinningEnabled = true;
        ++SkinManager->RunState;
        auto* form = As<TCustomForm>(Owner());
        if (form && FActive)
            SkinManager->SkinWindow(form->Handle());
        return;
    }
    SkinManager->InstallHook();
    if (FActive) {
        if (FSkinLoading) {
            FActive = false;
        } else {
            SkinManager->PendingSkinData = this;
            SkinManager->RequestAction(TSkinAction::Activate, 250);
        }
    }
    if (FSkinControls.Contains(TSkinControlType::xcMainMenu))
        FSkinControls.Exclude(TSkinControlType::xcMenuItem);
    else
        FSkinControls.Exclude(TSkinControlType::xcSystemMenu);
    BuildAppIcon();
}

void TSkinData::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    if (Designing() || Loading() || !SkinManager)
        return;
    switch (FSkinFormtype) {
    case TSkinFormType::sfMainform:
        if (value) {
            if (FSkinLoading)
                return;
            SkinManager->PendingSkinData = this;
            SkinManager->RequestAction(TSkinAction::Activate, 250);
            SkinManager->RunState = 1;
        } else {
            SkinManager->PendingSkinData = this;
            SkinManager->RequestAction(TSkinAction::Deactivate, 250);
        }
        break;
    case TSkinFormType::sfOnlyThisForm:
        SkinManager->PendingSkinData = this;
        if (value && FSkinLoading)
            return;
        SkinManager->RequestAction(value ? TSkinAction::Activate : TSkinAction::Deactivate, 250);
        break;
    case TSkinFormType::sfDialog:
    case TSkinFormType::sfDLL:
        break;
    }
}

void TSkinData::FilterForm(HWND hwnd, const std::wstring& className, bool& doSkin)
{
    FFilteredWindow = hwnd;
    if (OnFormSkin) {
        OnFormSkin(this, className, doSkin);
        return;
    }
    if (className == L"SysMonthCal32")
        doSkin = false;
    else if (className.starts_with(L"Tfr") && FSkinControls.Contains(TSkinControlType::xcFastReport))
        doSkin = false;
}

void TSkinData::SkinChanged()
{
    if (OnSkinChanged)
        OnSkinChanged(this);
}

void TSkinData::ShowCaptionHint(const RECT& screenRect, const std::wstring& text)
{
    if (!FOptions.Contains(TSkinOption::xoCaptionButtonHint) || FHintShown)
        return;
    TRect r = FHint.CalcHintRect(kHintMaxWidth, text);
    r = {r.Left + screenRect.left, r.Top + screenRect.top, r.Right + screenRect.left, r.Bottom + screenRect.top};
    FHint.ActivateHint(r, text);
    FHintShown = true;
}

void TSkinData::HideCaptionHint()
{
    if (!FHintShown)
        return;
    FHint.ReleaseHandle();
    FHintShown = false;
}

void TSkinData::LoadCaptionFont()
{
    FCaptionFont.reset();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        FCaptionFont.reset(::CreateFontIndirectW(&metrics.lfCaptionFont));
}

namespace {

HICON ApplicationIcon()
{
    TCustomForm* form = Application ? Application->MainForm() : nullptr;
    if (!form || !form->HandleAllocated())
        return nullptr;
    const HWND hwnd = form->Handle();
    for (const WPARAM kind : {WPARAM(ICON_SMALL), WPARAM(ICON_BIG)})
        if (auto icon = reinterpret_cast<HICON>(::SendMessageW(hwnd, WM_GETICON, kind, 0)))
            return icon;
    for (const int index : {GCLP_HICONSM, GCLP_HICON})
        if (auto icon = reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd, index)))
            return icon;
    return nullptr;
}

} // namespace

void TSkinData::BuildAppIcon()
{
    const HICON icon = ApplicationIcon();
    if (!icon)
        return;
    TPixelBuffer picture = IconOnKey(icon, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    if (!picture.IsEmpty())
        FAppIcon = std::move(picture);
}
