// The frame's control wrappers: finding the form's controls, choosing a wrapper for each, and
// owning the wrappers until their controls go or the frame lets go of the window.
#include "skin/window/WinSkinForm.h"

#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinBoxH.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinRadioButton.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinSizer.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ListBox.h"
#include "toolkit/Panel.h"
#include "toolkit/StatusBar.h"
#include "toolkit/SysUtils.h"

#include <algorithm>
#include <exception>

namespace {

using Kind = TSkinControlType;

bool NameIs(const std::wstring& name, std::initializer_list<const wchar_t*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const wchar_t* n) { return name == n; });
}

bool Contains(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

// Window and client sizes differ: the control has a border of its own.
bool HasBorder(HWND hwnd)
{
    RECT window{}, client{};
    ::GetWindowRect(hwnd, &window);
    ::GetClientRect(hwnd, &client);
    return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

bool IsScrollable(TWinControl* control)
{
    const LONG_PTR style = ::GetWindowLongPtrW(control->Handle(), GWL_STYLE);
    return (style & (WS_VSCROLL | WS_HSCROLL)) != 0 || control->InheritsFrom(TCustomListBox::StaticClass);
}

// The windowed controls in tab order, nested ones after their container.
void CollectTabOrder(TWinControl* parent, std::vector<TWinControl*>& out)
{
    for (TWinControl* child : parent->TabList()) {
        out.push_back(child);
        CollectTabOrder(child, out);
    }
}

} // namespace

TSkinControl* TWinSkinForm::RegisterWrapper(THandlerPtr<TSkinControl> wrapper)
{
    TSkinControl* raw = wrapper.get();
    if (!raw)
        return nullptr;
    const bool listed = std::any_of(FWrappers.begin(), FWrappers.end(), [&](const auto& w) { return w.get() == raw; });
    if (listed)
        (void)wrapper.release(); // the list owns it already
    else
        FWrappers.push_back(std::move(wrapper));
    return raw;
}

TSkinControl* TWinSkinForm::FindWrapper(HWND hwnd) const noexcept
{
    for (const auto& w : FWrappers)
        if (w->Handle() == hwnd && w->WrapperState() != TWrapperState::WindowDestroyed)
            return w.get();
    return nullptr;
}

void TWinSkinForm::PurgeWrappers()
{
    std::erase_if(FWrappers, [](const auto& w) { return w->WrapperState() == TWrapperState::WindowDestroyed; });
}

void TWinSkinForm::FreeWrappers()
{
    // Taken out of the list first: a wrapper giving its control back may run messages that
    // reach this frame again.
    std::vector<THandlerPtr<TSkinControl>> wrappers = std::move(FWrappers);
    FWrappers.clear();
    for (auto& w : wrappers)
        w->DetachWrapper();
    wrappers.clear();
}

void TWinSkinForm::WrapFormControls()
{
    if (!FForm || !FSkinData)
        return;
    PurgeWrappers();
    for (size_t i = 0; i < FForm->ComponentCount(); ++i)
        if (auto* control = As<TControl>(FForm->Components(i)))
            WrapControl(control);
    if (FSkinData->SkinControls().Contains(Kind::xcPopupMenu))
        OwnerDrawPopupMenus();
    // Controls made by others than the form (at run time, by a frame) are found by their place
    // in the window.
    std::vector<TWinControl*> tabOrder;
    CollectTabOrder(FForm, tabOrder);
    for (TWinControl* control : tabOrder) {
        if (!control->HandleAllocated() || control->Tag() == FSkinData->DisableTag())
            continue;
        if (::SendMessageW(control->Handle(), SKM_QUERYSKINNED, 0, 0) == 1)
            continue;
        WrapControl(control);
    }
}

bool TWinSkinForm::IsWrapped(TWinControl* control) const
{
    if (control->HandleAllocated() && ::SendMessageW(control->Handle(), SKM_QUERYSKINNED, 0, 0) == 1)
        return true;
    return std::any_of(FWrappers.begin(), FWrappers.end(), [&](const auto& w) {
        return w->Control() == control && w->WrapperState() != TWrapperState::WindowDestroyed;
    });
}

void TWinSkinForm::WrapControl(TControl* control)
{
    if (!control || !FSkinData)
        return;
    auto* windowed = As<TWinControl>(control);
    if (control->Tag() == FSkinData->DisableTag()) {
        // A group left alone keeps its buttons alone too.
        const std::wstring name = LowerCase(control->ClassName());
        if (windowed && (name.find(L"radiogroup") != std::wstring::npos || name.find(L"checkgroup") != std::wstring::npos))
            for (size_t i = 0; i < windowed->ControlCount(); ++i)
                windowed->Controls(i)->SetTag(FSkinData->DisableTag());
        return;
    }
    // Non-windowed controls are painted by their parents; their wrappers come with their kinds.
    if (!windowed || !control->Parent() || IsWrapped(windowed))
        return;
    const std::wstring className = UpperCase(control->ClassName());
    try {
        windowed->HandleNeeded();
    } catch (const std::exception&) {
        return;
    }
    if (!windowed->HandleAllocated())
        return;

    if (FSkinData->OnSkinControl) {
        TComponent* skinned = nullptr;
        FSkinData->OnSkinControl(this, FSkinData, FForm, control, className, skinned);
        if (skinned) {
            // An ownerless wrapper handed back becomes the frame's; one with an owner is that
            // owner's to free, and the frame will not take it from under it.
            if (auto* wrapper = As<TSkinControl>(skinned); wrapper && !wrapper->Owner()) {
                TSkinControl* listed = RegisterWrapper(THandlerPtr<TSkinControl>(wrapper));
                if (listed->Control())
                    listed->Attach(this, FSkinData, false);
                else
                    listed->AttachHandle(windowed->Handle(), FSkinData, this);
                if (As<TCustomPanel>(control))
                    WrapChildren(windowed);
            }
            return;
        }
    }
    if (WrapByMapping(className, windowed))
        return;
    // Controls of those libraries paint themselves better than any wrapper would.
    if (NameIs(className, {L"TDBCOMBOBOXEH", L"TFRDESIGNERPAGE", L"TFRPBOX"}))
        return;
    WrapByDefaultRules(windowed, className);
}

TSkinControl* TWinSkinForm::AttachWrapper(THandlerPtr<TSkinControl> wrapper, bool useSkinColour)
{
    TSkinControl* listed = RegisterWrapper(std::move(wrapper));
    bool attached = false;
    if (auto* scrolling = As<TSkinScrollbar>(listed))
        attached = scrolling->AttachScrolling(this, FSkinData);
    else
        attached = listed->Attach(this, FSkinData, useSkinColour);
    if (attached)
        return listed;
    DropWrapper(listed);
    return nullptr;
}

TSkinControl* TWinSkinForm::AttachHandleWrapper(THandlerPtr<TSkinControl> wrapper, HWND hwnd)
{
    TSkinControl* listed = RegisterWrapper(std::move(wrapper));
    if (listed->AttachHandle(hwnd, FSkinData, this))
        return listed;
    DropWrapper(listed);
    return nullptr;
}

void TWinSkinForm::DropWrapper(const TSkinControl* wrapper)
{
    std::erase_if(FWrappers, [&](const auto& w) { return w.get() == wrapper; });
}

void TWinSkinForm::WrapChildren(TWinControl* control)
{
    // Copied first: wrapping may make windows, and a handler may add controls.
    std::vector<TControl*> children;
    for (size_t i = 0; i < control->ControlCount(); ++i)
        children.push_back(control->Controls(i));
    for (TControl* child : children)
        WrapControl(child);
}

bool TWinSkinForm::WrapByMapping(const std::wstring& className, TWinControl* control)
{
    const std::wstring key = LowerCase(className) + L"=";
    const auto& lines = FSkinData->Skin3rd();
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::wstring& l) {
        return LowerCase(l).starts_with(key);
    });
    if (line == lines.end())
        return false;
    const std::wstring kind = LowerCase(line->substr(line->find(L'=') + 1, 50));
    const TSkinControlTypes kinds = FSkinData->SkinControls();
    auto has = [&](Kind k) { return kinds.Contains(k); };
    auto children = [&]() {
        std::vector<TWinControl*> out;
        for (size_t i = 0; i < control->ControlCount(); ++i)
            if (auto* child = As<TWinControl>(control->Controls(i)); child && !IsWrapped(child) && child->HandleAllocated())
                out.push_back(child);
        return out;
    };
    // Other libraries' check and radio buttons (their class names carry "TRZ") take the
    // skin's images through their own glyph properties; that wrapper is not built yet, so
    // those buttons keep their own look.
    const bool glyphButtons = Contains(className, L"TRZ");

    if (kind == L"nil") {
        // Listed so that no rule wraps it.
    } else if (kind == L"combobox" || kind == L"comboboxex") {
        if (has(Kind::xcCombo)) {
            auto wrapper = MakeHandler<TSkinComBox>(control);
            wrapper->SetExtended(kind == L"comboboxex");
            AttachWrapper(std::move(wrapper), false);
        }
    } else if (kind == L"edit") {
        if (has(Kind::xcEdit) && HasBorder(control->Handle()))
            AttachWrapper(MakeHandler<TSkinEdit>(control), false);
    } else if (kind == L"radiobutton") {
        if (has(Kind::xcRadioButton))
            AttachWrapper(MakeHandler<TSkinRadioButton>(control), false);
    } else if (kind == L"panel") {
        if (has(Kind::xcPanel)) {
            control->SetPropValue(L"Transparent", L"True");
            AttachWrapper(MakeHandler<TSkinBox>(control), true);
        }
    } else if (kind == L"button") {
        if (has(Kind::xcButton))
            AttachWrapper(MakeHandler<TSkinButton>(control), false);
    } else if (kind == L"bitbtn" || kind == L"pngbitbtn") {
        // A drop-down button of that library is a menu button, whose wrapper is not built yet.
        const bool menuButton = key == L"tcxbutton=" && control->GetPropValue(L"Kind") == L"cxbkDropDownButton";
        if (has(Kind::xcButton) && !menuButton)
            AttachWrapper(MakeHandler<TSkinBitButton>(control), false);
    } else if (kind == L"scrollbar" || kind == L"singlescrollbar") {
        if (has(Kind::xcScrollbar)) {
            auto wrapper = MakeHandler<TSkinScrollbar>(control);
            wrapper->SetSingleBar(kind == L"singlescrollbar");
            AttachWrapper(std::move(wrapper), false);
            if (kind == L"scrollbar")
                WrapChildren(control);
        }
    } else if (kind == L"embedscrollbar") {
        if (has(Kind::xcScrollbar))
            for (TWinControl* child : children())
                if (IsScrollable(child))
                    AttachWrapper(MakeHandler<TSkinScrollbar>(child), false);
    } else if (kind == L"container") {
        WrapChildren(control);
    } else if (kind == L"groupbox") {
        if (has(Kind::xcGroupBox))
            AttachWrapper(MakeHandler<TSkinGroupBox>(control), true);
    } else if (kind == L"radiogroup") {
        if (has(Kind::xcGroupBox)) {
            if (has(Kind::xcRadioButton) && !glyphButtons)
                for (TWinControl* child : children())
                    AttachWrapper(MakeHandler<TSkinRadioButton>(child), false);
            AttachWrapper(MakeHandler<TSkinGroupBox>(control), true);
        }
    } else if (kind == L"checkgroup" && has(Kind::xcPanel)) {
        if (has(Kind::xcRadioButton) && !glyphButtons)
            for (TWinControl* child : children())
                AttachWrapper(MakeHandler<TSkinCheckBox>(child), false);
        if (has(Kind::xcGroupBox))
            AttachWrapper(MakeHandler<TSkinGroupBox>(control), true);
    } else if (kind == L"checkbox") {
        if (has(Kind::xcCheckBox))
            AttachWrapper(MakeHandler<TSkinCheckBox>(control), false);
    }
    // "trackbar", "datetimepicker", "mediaplayer", "pngspeedbutton", "menubtn", "speedbutton",
    // "tab", "progress" and "advpagecontrol" name wrappers not built yet: the control is still
    // taken as mapped, so no default rule paints it as something it is not.
    return true;
}

void TWinSkinForm::WrapByDefaultRules(TWinControl* control, const std::wstring& className)
{
    const TSkinControlTypes kinds = FSkinData->SkinControls();
    auto has = [&](Kind k) { return kinds.Contains(k); };
    auto is = [&](const TClassInfo& info) { return control->InheritsFrom(info); };
    const bool tabs = FSkinData->Skin().Tabs != nullptr;

    // Tab sets and tabbed notebooks: their tab wrappers are not built yet; they end the search.
    if (NameIs(className, {L"TTABSET", L"TTABBEDNOTEBOOK"}) && has(Kind::xcTab) && tabs)
        return;
    if (className == L"TMVCPANEL")
        return WrapChildren(control);
    if (is(TCustomCheckBox::StaticClass) && has(Kind::xcCheckBox)) {
        AttachWrapper(MakeHandler<TSkinCheckBox>(control), false);
        return;
    }
    if (NameIs(className, {L"TUPDOWN", L"TSPINBUTTON"}) && has(Kind::xcSpin)) {
        AttachWrapper(MakeHandler<TSkinUpDown>(control), false);
        return;
    }
    // Media players: wrapper not built yet.
    if (className == L"TMEDIAPLAYER" && has(Kind::xcButton))
        return;
    if (className == L"TDBNAVIGATOR" && has(Kind::xcPanel)) {
        AttachWrapper(MakeHandler<TSkinBox>(control), true);
        return WrapChildren(control);
    }
    // Other libraries' check and radio buttons take the skin's glyphs through their own
    // properties: that wrapper is not built yet.
    if ((NameIs(className, {L"TRZDBCHECKBOX", L"TRZCHECKBOX", L"TCXDBCHECKBOX", L"TCXCHECKBOX"}) && has(Kind::xcCheckBox)) ||
        (NameIs(className, {L"TRZRADIOBUTTON", L"TRZDBRADIOBUTTON"}) && has(Kind::xcRadioButton)))
        return;
    if (is(TCustomGroupBox::StaticClass) && has(Kind::xcPanel)) {
        WrapChildren(control);
        AttachWrapper(MakeHandler<TSkinGroupBox>(control), true);
        return;
    }
    if (is(TCustomStatusBar::StaticClass) && has(Kind::xcStatusBar)) {
        AttachWrapper(MakeHandler<TSkinStatusBar>(control), false);
        return;
    }
    if ((className == L"TTNTCOMBOBOX" || is(TCustomComboBox::StaticClass)) && has(Kind::xcCombo)) {
        AttachWrapper(MakeHandler<TSkinComBox>(control), false);
        return;
    }
    if (NameIs(className, {L"TRICHEDIT", L"TWWDBRICHEDIT", L"TDXDBMEMO"}) && has(Kind::xcScrollbar)) {
        AttachWrapper(MakeHandler<TSkinScrollbar>(control), false);
        return;
    }
    if (is(TBitBtn::StaticClass)) {
        if (has(Kind::xcBitBtn))
            AttachWrapper(MakeHandler<TSkinBitButton>(control), false);
        return;
    }
    // Speed buttons are not windowed controls of this toolkit; their rule comes with them.
    if (is(TCustomPanel::StaticClass) && has(Kind::xcPanel)) {
        WrapChildren(control);
        AttachWrapper(MakeHandler<TSkinBox>(control), true);
        return;
    }
    if (NameIs(className, {L"TDXTREELIST", L"TDXDBTREELIST", L"TDXDBGRID"}) && has(Kind::xcScrollbar)) {
        AttachWrapper(MakeHandler<TSkinScrollbar>(control), false);
        return;
    }
    // Check list boxes: their wrapper (the item check marks) is not built yet.
    if (className == L"TCHECKLISTBOX" && has(Kind::xcScrollbar))
        return;
    if (IsScrollable(control) && has(Kind::xcScrollbar)) {
        AttachWrapper(MakeHandler<TSkinScrollbar>(control), false);
        return;
    }
    if (is(TButton::StaticClass) && has(Kind::xcButton)) {
        AttachWrapper(MakeHandler<TSkinButton>(control), false);
        return;
    }
    if (is(TCustomEdit::StaticClass) && has(Kind::xcEdit)) {
        AttachWrapper(MakeHandler<TSkinEdit>(control), false);
        return;
    }
    if (!NameIs(className, {L"TDCEDIT", L"TDCDBEDIT"})) {
        // A form placed inside another: its face, then everything it owns.
        if (auto* form = As<TCustomForm>(control)) {
            AttachWrapper(MakeHandler<TSkinBox>(control), true);
            for (size_t i = 0; i < form->ComponentCount(); ++i)
                if (auto* owned = As<TControl>(form->Components(i)))
                    WrapControl(owned);
        }
        return;
    }
    const std::wstring buttons = control->GetPropValue(L"NumButtons").value_or(L"");
    if (buttons == L"1" && has(Kind::xcCombo))
        AttachWrapper(MakeHandler<TSkinComBox>(control), false);
    else if (buttons == L"0" && has(Kind::xcEdit))
        AttachHandleWrapper(MakeHandler<TSkinEdit>(), control->Handle());
}

void TWinSkinForm::WrapChildWindows(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD)
            children.push_back(child);
    for (HWND child : children)
        WrapChildWindow(child);
}

void TWinSkinForm::WrapChildWindow(HWND hwnd)
{
    if (!FSkinData || !::IsWindow(hwnd) || FindWrapper(hwnd))
        return;
    const std::wstring name = LowerCase(WindowClassName(hwnd));
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
    const TSkinControlTypes kinds = FSkinData->SkinControls();
    auto has = [&](Kind k) { return kinds.Contains(k); };
    auto wrapWith = [&](auto wrapper) { AttachHandleWrapper(std::move(wrapper), hwnd); };

    if (name == L"button") {
        if ((style & 0xB) == 0xB || (style & 7) == 7 || (style & 0x80))
            return; // owner-drawn buttons paint themselves; group boxes and picture buttons stay
        if ((style & 3) == 3 || (style & 2) || (style & 5) == 5) {
            if (has(Kind::xcCheckBox))
                wrapWith(MakeHandler<TSkinCheckBox>());
        } else if ((style & 9) == 9 || (style & 4)) {
            if (has(Kind::xcRadioButton))
                wrapWith(MakeHandler<TSkinRadioButton>());
        } else if (has(Kind::xcButton)) {
            wrapWith(MakeHandler<TSkinButton>());
        }
    } else if (name == L"combobox") {
        if (has(Kind::xcCombo) && (style & 3) != CBS_SIMPLE)
            wrapWith(MakeHandler<TSkinComBox>());
    } else if (name == L"comboboxex32") {
        if (has(Kind::xcCombo))
            if (const HWND combo = ::GetWindow(hwnd, GW_CHILD)) {
                auto wrapper = MakeHandler<TSkinComBox>();
                wrapper->SetExtended(true);
                AttachHandleWrapper(std::move(wrapper), combo);
            }
    } else if (name == L"scrollbar") {
        // Only a size box or grip is painted as one; an ordinary scroll bar keeps its look.
        if (!(style & WS_TABSTOP) && (style & (SBS_SIZEBOX | SBS_SIZEGRIP)))
            wrapWith(MakeHandler<TSkinSizer>());
    } else if (name == L"#32770") {
        if (!(style & WS_TABSTOP)) {
            WrapChildWindows(hwnd);
            wrapWith(MakeHandler<TSkinBoxH>());
        }
    } else if (NameIs(name, {L"tpanel", L"ttntpanel.unicodeclass", L"ttntsilentpaintpanel.unicodeclass",
                             L"tsilentpaintpanel"})) {
        if (name != L"tsilentpaintpanel")
            WrapChildWindows(hwnd);
        if (TWinControl* control = FindControl(hwnd))
            control->SetColor(FSkinData->FaceColour());
    } else if (name == L"tcheckbox") {
        if (has(Kind::xcCheckBox))
            wrapWith(MakeHandler<TSkinCheckBox>());
    } else if (name == L"tcombobox") {
        if (has(Kind::xcCombo))
            wrapWith(MakeHandler<TSkinComBox>());
    } else if (name == L"tbutton") {
        if (has(Kind::xcButton))
            wrapWith(MakeHandler<TSkinButton>());
    } else if (name == L"toolbarwindow32") {
        wrapWith(MakeHandler<TSkinBoxH>());
    } else if (name == L"edit") {
        if (has(Kind::xcEdit))
            wrapWith(MakeHandler<TSkinEdit>());
    }
    // "tprogressbar" and "systabcontrol32" get their wrappers with those kinds; tree views
    // and every other class keep their own look.
}

void TWinSkinForm::RewrapScroll(HWND oldWindow)
{
    const auto old = std::find_if(FWrappers.begin(), FWrappers.end(), [&](const auto& w) {
        return w->Handle() == oldWindow && As<TSkinScrollbar>(w.get());
    });
    if (old == FWrappers.end())
        return;
    TWinControl* control = (*old)->Control();
    FWrappers.erase(old);
    if (control && control->HandleAllocated() && !IsWrapped(control))
        WrapControl(control);
}
