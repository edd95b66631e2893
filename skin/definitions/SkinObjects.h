// TSkinObjects: the skin's data, every skin object and colour table built from one archive and its definition.
#pragma once

#include "skin/definitions/DataSkinObjects.h"
#include "skin/definitions/QuickIni.h"
#include "skin/archive/SkinReader.h"
#include "skin/pixels/SystemColors.h"
#include "skin/definitions/SystemMetrics.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TSkinObjects {
public:
    static constexpr int kSysColourCount = 19;
    static constexpr int kCustomColourCount = 10;
    // Index of the ButtonFace entry in SysColours, and of the frame colour stored at the end.
    static constexpr int kButtonFace = 3;
    static constexpr int kButtonText = 4;
    static constexpr int kFrameColour = 17;
    // The [Colours] key of each SysColours entry; entries 9, 10 and 17 have none.
    static constexpr std::array<const char*, 19> kSysColourKeys{"WindowText", "TitleTextActive",
        "TitleTextNoActive", "ButtonFace", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
        "ButtonDkShadow", "", "", "HilightText", "Hilight", "Menubar", "MenuBarText", "MenuText", "Menu", "",
        "Scrollbar"};

    // System colours and metrics are what derived images are made with; the Windows side
    // passes the running system's, tests and tools the classic ones.
    explicit TSkinObjects(const TSystemColors& sys = ClassicSystemColors(),
                          const TSystemMetrics& metrics = ClassicSystemMetrics());
    TSkinObjects(const TSkinObjects&) = delete;
    TSkinObjects& operator=(const TSkinObjects&) = delete;

    // Rebuilds every object and colour table from the definition, loading the images it
    // names from the archive; missing sections, keys and images leave defaults.
    void BuildSkinObjects(const TSkinReader& reader, const TQuickIni& ini);

    // The object built from the section of that name (ASCII case ignored), caption buttons
    // included, or null; for tools and tests.
    const TDataSkinObject* FindObject(std::string_view name) const;
    // Every object that exists, in load order, caption buttons last.
    std::vector<const TDataSkinObject*> Objects() const;

    // The colour the skin data component makes its ButtonFace brush of, after each load.
    TColor ButtonFace() const noexcept { return SysColours[kButtonFace]; }
    // The pixel a third into the Top border's first frame, or ButtonFace without one.
    TColor FrameColour() const noexcept;

    // [TitlebarSkin] SkinName.
    std::string SkinName;

    // Created with the model and refilled by every load.
    TDataSkinButton Buttons{"Buttons"};
    TDataSkinTitle Title{"Title"};
    TDataSkinBorder Left{"Left"};
    TDataSkinBorder Right{"Right"};
    TDataSkinBorder Top{"Top"};
    TDataSkinBorder Bottom{"Bottom"};

    // Present only when the skin gives their image key.
    std::unique_ptr<TDataSkinObject> Progress;
    std::unique_ptr<TDataSkinObject> ProgressChunk;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> TabPane;
    std::unique_ptr<TDataSkinObject> ToolBars;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
    std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
    std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
    std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
    std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
    std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    // Filled with the built-in grooves when the skin has none.
    std::unique_ptr<TDataSkinObject> Track;
    std::unique_ptr<TDataSkinObject> TRACKVERT;
    // Derived from the objects above at the end of each load.
    std::unique_ptr<TDataSkinObject> ComboxArrow;
    std::unique_ptr<TDataSkinObject> Toolbar;
    // The skin's BUTTON sections in file order, then the three MDI buttons.
    std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;

    using TSysColours = std::array<TColor, kSysColourCount>;
    TSysColours SysColours{};
    std::array<bool, kSysColourCount> SysColourSet{};
    std::vector<TColor> SectionColours;
    std::array<TColor, kCustomColourCount> CustomColours{};
    TColor FrameColourValue = 0;

    const TSystemColors& SystemColors() const noexcept { return FSys; }
    const TSystemMetrics& SystemMetrics() const noexcept { return FMetrics; }

private:
    struct TSource {
        const TSkinReader& Reader;
        const TQuickIni& Ini;
    };

    void LoadBorders(const TSource& src);
    void LoadColours(const TSource& src);
    void LoadCaptionButtons(const TSource& src, const std::vector<std::string>& sections);
    void LoadMdiButtons(const TSource& src);
    void LoadButtons(const TSource& src);
    void LoadTitle(const TSource& src);
    void LoadBitmapObject(const TSource& src, std::unique_ptr<TDataSkinObject>& slot, std::string_view section);
    void LoadImageObject(const TSource& src, std::unique_ptr<TDataSkinObject>& slot, std::string_view section);
    void LoadImagePairObject(const TSource& src, std::unique_ptr<TDataSkinBorder>& slot, std::string_view section,
                             std::string_view secondKey);
    void LoadGroupBox(const TSource& src);
    void LoadMenuBar(const TSource& src);
    void LoadBuiltinTrack();
    void SetFrameCounts(const TQuickIni& ini);
    void BuildComboFrame();
    void BuildComboArrow();
    void BuildToolbarImage();

    // A fresh object of the section in the slot when its Image key is given, else an empty slot.
    template <typename T>
    T* NewImageObject(const TSource& src, std::unique_ptr<T>& slot, std::string_view section) const;
    // The keys every image object shares, read into an object already created.
    void ReadImageKeys(const TSource& src, TDataSkinObject& object, std::string_view section) const;
    // A red-green-blue key; ButtonText when the key is absent.
    TColor ReadColour2(const TQuickIni& ini, std::string_view section, std::string_view key, bool* given = nullptr) const;

    TSystemColors FSys;
    TSystemMetrics FMetrics;
};
