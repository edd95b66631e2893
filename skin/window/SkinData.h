// TSkinData: the component a form carries to be skinned. It owns the skin (archive bytes, skin
// objects, colours) and the options the window side reads, and asks the skin manager to apply,
// remove or refresh the skin; it neither paints nor hooks windows itself.
#pragma once

#include "skin/definitions/SkinObjects.h"
#include "skin/pixels/PixelBuffer.h"
#include "skin/window/SkinTypes.h"
#include "toolkit/Component.h"
#include "toolkit/HintWindow.h"
#include "toolkit/ImageList.h"
#include "toolkit/WinHandle.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TControl;
class TSkinData;

using TOnFormSkin = std::function<void(TObject* Sender, const std::wstring& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form,
                                          TControl* Control, const std::wstring& ControlClass,
                                          TComponent*& SkinnedControl)>;
using TOnSkinForm = std::function<void(TObject* Sender, HWND ahwnd, const std::wstring& aName)>;

// The optional functions of the user-interface library, looked up once: without them the
// window side does without scroll bar and combo box queries and mouse-leave tracking.
bool SkinGetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO* info) noexcept;
void SkinTrackMouseLeave(HWND hwnd) noexcept;
// Sets info's size itself.
bool SkinGetComboBoxInfo(HWND hwnd, COMBOBOXINFO* info) noexcept;
bool HasGetScrollBarInfo() noexcept;

class TSkinData : public TComponent {
    TK_CLASS(TSkinData)
public:
    static constexpr const wchar_t* kVersion = L"5.60.03.29";
    static constexpr int kDefaultDisableTag = 99;
    // Caption button hints are measured at most this wide.
    static constexpr int kHintMaxWidth = 500;

    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // Published properties.
    bool Active() const noexcept { return FActive; }
    void SetActive(bool value);
    int DisableTag() const noexcept { return FDisableTag; }
    void SetDisableTag(int value) noexcept { FDisableTag = value; }
    TSkinControlTypes SkinControls() const noexcept { return FSkinControls; }
    void SetSkinControls(TSkinControlTypes value) noexcept { FSkinControls = value; }
    TSkinOptions Options() const noexcept { return FOptions; }
    void SetOptions(TSkinOptions value) noexcept { FOptions = value; }
    // Lines "class name=kind"; assigning copies them.
    const std::vector<std::wstring>& Skin3rd() const noexcept { return FSkin3rd; }
    void SetSkin3rd(std::vector<std::wstring> lines) { FSkin3rd = std::move(lines); }
    const std::wstring& SkinFile() const noexcept { return FSkinFile; }
    void SetSkinFile(const std::wstring& value);
    // Display only: stored skin data is a design-time notion, so at run time it reads "(none)".
    std::wstring SkinStore() const { return L"(none)"; }
    TSkinFormType SkinFormtype() const noexcept { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType value) noexcept { FSkinFormtype = value; }
    std::wstring Version() const { return kVersion; }
    bool MenuUpdate() const noexcept { return FMenuUpdate; }
    void SetMenuUpdate(bool value) noexcept { FMenuUpdate = value; }
    bool MenuMerge() const noexcept { return FMenuMerge; }
    void SetMenuMerge(bool value) noexcept { FMenuMerge = value; }

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    // Asked first for each control a frame wraps. Handing back any object leaves the control to
    // the handler; a TSkinControl without an owner (made with MakeHandler and released into
    // SkinnedControl) is attached by the frame, which owns it from then on.
    TOnSkinControl OnSkinControl;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // The SkinStream binary property: a 32-bit little-endian byte count, then the archive.
    // Reading it outside design time loads the skin at once. A count running past the data
    // raises EReadError.
    void ReadSkinStream(std::span<const std::uint8_t> stored);
    std::vector<std::uint8_t> WriteSkinStream() const;

    void Loaded() override;
    // Builds the skin from the archive bytes; true when the archive opened.
    bool LoadSkinFromStream();
    void ApplySkinChange();
    void FilterForm(HWND hwnd, const std::wstring& className, bool& doSkin);
    void SkinChanged();
    void ShowCaptionHint(const RECT& screenRect, const std::wstring& text);
    void HideCaptionHint();
    bool CaptionHintShown() const noexcept { return FHintShown; }

    // What the window side reads.
    bool SkinLoading() const noexcept { return FSkinLoading; }
    const TSkinObjects& Skin() const noexcept { return FSkin; }
    TSkinObjects& Skin() noexcept { return FSkin; }
    const std::string& SkinName() const noexcept { return FSkin.SkinName; }
    TColor FaceColour() const noexcept { return FSkin.ButtonFace(); }
    HBRUSH FaceBrush() const noexcept { return FFaceBrush.get(); }
    HFONT CaptionFont() const noexcept { return FCaptionFont.get(); }
    // Small-icon-sized picture of the application's icon on magenta, or empty.
    TPixelBuffer& AppIcon() noexcept { return FAppIcon; }
    const TImageList& MenuGlyphs() const noexcept { return FMenuGlyphs; }
    TImageList& MenuGlyphs() noexcept { return FMenuGlyphs; }
    SIZE MaximizedSize() const noexcept { return FMaximizedSize; }
    // A frame clears it while the window's own procedure handles a menu change, so that no
    // frame paints meanwhile.
    bool NcPaintEnabled = true;
    // Time the mouse has rested on a caption button, grown by the frames' hover timers.
    int HintClock = 0;
    // The window handle FilterForm was last asked about.
    HWND FilteredWindow() const noexcept { return FFilteredWindow; }

    void LoadCaptionFont();
    void BuildAppIcon();

private:
    bool Designing() const noexcept { return false; } // the program has no form designer

    bool FActive = false;
    int FDisableTag = kDefaultDisableTag;
    TSkinControlTypes FSkinControls;
    TSkinOptions FOptions;
    std::vector<std::wstring> FSkin3rd;
    std::wstring FSkinFile;
    TSkinFormType FSkinFormtype = TSkinFormType::sfMainform;
    bool FMenuUpdate = true;
    bool FMenuMerge = false;

    std::vector<std::uint8_t> FSkinStreamData;
    bool FSkinLoading = true;
    bool FRegistered = false;
    TSkinObjects FSkin;
    TImageList FMenuGlyphs{nullptr};
    win::GdiObject<HFONT> FCaptionFont;
    TPixelBuffer FAppIcon;
    THintWindow FHint{nullptr};
    bool FHintShown = false;
    SIZE FMaximizedSize{};
    win::GdiObject<HBRUSH> FFaceBrush;
    HWND FFilteredWindow = nullptr;
};

// The Skin3rd lines a new component starts with.
const std::vector<std::wstring>& DefaultSkin3rd();
