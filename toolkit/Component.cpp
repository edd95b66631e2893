// Class identity, property lookup and ownership of components.
#include "toolkit/Component.h"

#include "toolkit/SysUtils.h"

#include <algorithm>

const TClassInfo TObject::StaticClass{L"TObject", nullptr, {}};

bool TObject::InheritsFrom(std::wstring_view className) const noexcept
{
    for (const TClassInfo* c = &ClassType(); c; c = c->Parent)
        if (SameText(c->Name, className))
            return true;
    return false;
}

bool TObject::InheritsFrom(const TClassInfo& info) const noexcept
{
    for (const TClassInfo* c = &ClassType(); c; c = c->Parent)
        if (c == &info)
            return true;
    return false;
}

const TPropertyInfo* TObject::FindProperty(std::wstring_view name) const noexcept
{
    // The most derived class wins, so a descendant can republish a name differently.
    for (const TClassInfo* c = &ClassType(); c; c = c->Parent)
        for (const TPropertyInfo& p : c->Properties)
            if (SameText(p.Name, name))
                return &p;
    return nullptr;
}

std::optional<std::wstring> TObject::GetPropValue(std::wstring_view name) const
{
    const TPropertyInfo* p = FindProperty(name);
    if (!p || !p->Get)
        return std::nullopt;
    return p->Get(*this);
}

bool TObject::SetPropValue(std::wstring_view name, std::wstring_view value)
{
    const TPropertyInfo* p = FindProperty(name);
    if (!p || !p->Set)
        return false;
    p->Set(*this, value);
    return true;
}

TObject* TObject::GetObjectProp(std::wstring_view name) const
{
    const TPropertyInfo* p = FindProperty(name);
    return p && p->GetObject ? p->GetObject(*this) : nullptr;
}

namespace {
const TPropertyInfo kComponentProps[] = {
    {L"Name", [](const TObject& o) { return static_cast<const TComponent&>(o).Name(); },
     [](TObject& o, std::wstring_view v) { static_cast<TComponent&>(o).SetName(std::wstring(v)); }},
    {L"Tag", [](const TObject& o) { return IntToStr(static_cast<const TComponent&>(o).Tag()); },
     [](TObject& o, std::wstring_view v) { static_cast<TComponent&>(o).SetTag(StrToInt(v)); }},
};
} // namespace

const TClassInfo TComponent::StaticClass{L"TComponent", &TObject::StaticClass, kComponentProps};

TComponent::TComponent(TComponent* owner) : FOwner(owner) {}

TComponent::~TComponent()
{
    // Newest first, so a component never outlives what it was built on. This owner is past
    // its derived destructors here, so it is not told: an override could not run anyway.
    while (!FComponents.empty()) {
        std::unique_ptr<TComponent> last = std::move(FComponents.back());
        FComponents.pop_back();
        last.reset();
    }
    // Each watcher is alive (it would have left this list when it went) and hears of it now.
    while (!FFreeNotifies.empty()) {
        TComponent* watcher = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        std::erase(watcher->FFreeNotifies, this);
        watcher->Notification(this, TOperation::Remove);
    }
}

TComponent* TComponent::FindComponent(std::wstring_view name) const noexcept
{
    for (const auto& c : FComponents)
        if (SameText(c->Name(), name))
            return c.get();
    return nullptr;
}

void TComponent::Adopt(std::unique_ptr<TComponent> component)
{
    TComponent* added = component.get();
    FComponents.push_back(std::move(component));
    Notification(added, TOperation::Insert);
}

void TComponent::FreeComponent(TComponent* component)
{
    auto it = std::find_if(FComponents.begin(), FComponents.end(),
                           [component](const auto& c) { return c.get() == component; });
    if (it == FComponents.end())
        return;
    // Take it out of the list first: its destructor may look at its owner's components.
    std::unique_ptr<TComponent> doomed = std::move(*it);
    FComponents.erase(it);
    Notification(doomed.get(), TOperation::Remove);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
        component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    std::erase(FFreeNotifies, component);
    std::erase(component->FFreeNotifies, this);
}
