// The frame's control wrappers: finding the form's controls, choosing a wrapper for each, and
// owning the wrappers until their controls go or the frame lets go of the window.
#include "skin/window/WinSkinForm.h"

#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinButton.h"
#include "skin/window/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Button.h"
#include "toolkit/Form.h"
#include "toolkit/SysUtils.h"

#include <algorithm>
#include <exception>

namespace {

// One row of the default rules: instances of Class (and its descendants) get the wrapper made
// by Make when the skin's control kinds hold Needs. A row whose kind is missing either ends
// the search (the control stays as it is) or lets the later rows try.
struct TWrapRule {
    const TClassInfo* Class;
    TSkinControlType Needs;
    bool EndsWithoutKind;
    THandlerPtr<TSkinControl> (*Make)(TWinControl* control);
};

template <class T>
THandlerPtr<TSkinControl> MakeWrapper(TWinControl* control)
{
    return MakeHandler<T>(control);
}

// First match wins, so a class comes before its ancestors: bitmap buttons are buttons too.
const TWrapRule kDefaultRules[] = {
    {&TBitBtn::StaticClass, TSkinControlType::xcBitBtn, true, &MakeWrapper<TSkinBitButton>},
    {&TButton::StaticClass, TSkinControlType::xcButton, false, &MakeWrapper<TSkinButton>},
};

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
            }
            return;
        }
    }
    // The Skin3rd mapping and the wrappers of the other control kinds take their turn here,
    // before the default rules.
    WrapByDefaultRules(windowed);
}

bool TWinSkinForm::WrapByDefaultRules(TWinControl* control)
{
    const TSkinControlTypes kinds = FSkinData->SkinControls();
    for (const TWrapRule& rule : kDefaultRules) {
        if (!control->InheritsFrom(*rule.Class))
            continue;
        if (!kinds.Contains(rule.Needs)) {
            if (rule.EndsWithoutKind)
                return false;
            continue;
        }
        TSkinControl* wrapper = RegisterWrapper(rule.Make(control));
        if (!wrapper->Attach(this, FSkinData, false)) {
            std::erase_if(FWrappers, [&](const auto& w) { return w.get() == wrapper; });
            return false;
        }
        return true;
    }
    return false;
}
