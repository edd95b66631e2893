// Component model: named, tagged objects owned by other components, with class names,
// inheritance tests and published properties reachable by name as text.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TObject;
class TComponent;

// One published property: text in, text out, as a form file or the skin engine sees it.
struct TPropertyInfo {
    const wchar_t* Name;
    std::wstring (*Get)(const TObject& self);
    void (*Set)(TObject& self, std::wstring_view value); // nullptr: read-only
    TObject* (*GetObject)(const TObject& self) = nullptr; // object-valued properties such as Font
};

struct TClassInfo {
    const wchar_t* Name;
    const TClassInfo* Parent;
    std::span<const TPropertyInfo> Properties;
};

// Declares the class identity of a toolkit class; the matching TClassInfo is defined in its .cpp.
#define TK_CLASS(Self)                                                             \
public:                                                                            \
    static const TClassInfo StaticClass;                                           \
    const TClassInfo& ClassType() const noexcept override { return StaticClass; } \
                                                                                   \
private:

class TObject {
public:
    static const TClassInfo StaticClass;

    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual const TClassInfo& ClassType() const noexcept { return StaticClass; }
    std::wstring ClassName() const { return ClassType().Name; }
    // Case-insensitive, like the class names the skin rules compare against.
    bool InheritsFrom(std::wstring_view className) const noexcept;
    bool InheritsFrom(const TClassInfo& info) const noexcept;

    // Published properties (names compared case-insensitively). An unknown name gives
    // nullopt / false; a value the property cannot take raises EConvertError.
    std::optional<std::wstring> GetPropValue(std::wstring_view name) const;
    bool SetPropValue(std::wstring_view name, std::wstring_view value);
    TObject* GetObjectProp(std::wstring_view name) const;
    bool HasProperty(std::wstring_view name) const noexcept { return FindProperty(name) != nullptr; }

private:
    const TPropertyInfo* FindProperty(std::wstring_view name) const noexcept;
};

// The plain event: who raised it, nothing more.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Checked downcast by class info, for code that holds a base pointer.
template <class T>
T* As(TObject* object) noexcept
{
    return object && object->InheritsFrom(T::StaticClass) ? static_cast<T*>(object) : nullptr;
}

// What a component is told about another: it joined this owner, or it is going away.
enum class TOperation { Insert, Remove };

class TComponent : public TObject {
    TK_CLASS(TComponent)
public:
    explicit TComponent(TComponent* owner);
    // Frees owned components, newest first, then tells every component that asked for free
    // notification that this one goes.
    ~TComponent() override;

    TComponent* Owner() const noexcept { return FOwner; }
    const std::wstring& Name() const noexcept { return FName; }
    void SetName(std::wstring name) { FName = std::move(name); }
    std::intptr_t Tag() const noexcept { return FTag; }
    void SetTag(std::intptr_t tag) noexcept { FTag = tag; }

    size_t ComponentCount() const noexcept { return FComponents.size(); }
    TComponent* Components(size_t index) const { return FComponents.at(index).get(); }
    TComponent* FindComponent(std::wstring_view name) const noexcept;

    // Creates a component owned by this one; the pointer is borrowed.
    template <class T, class... Args>
    T* Make(Args&&... args)
    {
        auto owned = std::make_unique<T>(this, std::forward<Args>(args)...);
        T* raw = owned.get();
        Adopt(std::move(owned));
        return raw;
    }
    // Frees an owned component before its owner goes (a no-op for strangers).
    void FreeComponent(TComponent* component);

    // `component` gets Notification(this, Remove) when this one goes; the link is mutual, so
    // whichever of the two goes first leaves the other's list. Unowned components, such as a
    // skin frame watching the form it paints, learn this way that what they hold is gone.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // A form description is being read into this component: its properties are assigned one
    // by one, and setters that would act on the others wait. Loaded ends it, once every
    // component of the form exists.
    bool Loading() const noexcept { return FLoading; }
    void BeginLoading() noexcept { FLoading = true; }
    virtual void Loaded() { FLoading = false; }

protected:
    // A component joined this owner (Insert), or an owned or watched component goes (Remove).
    // Called on a live receiver only: an owner being destroyed is not told about its own
    // components, since its derived part is already gone.
    virtual void Notification(TComponent* /*component*/, TOperation /*operation*/) {}

private:
    void Adopt(std::unique_ptr<TComponent> component);

    TComponent* FOwner;
    std::wstring FName;
    std::intptr_t FTag = 0;
    std::vector<std::unique_ptr<TComponent>> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FLoading = false;
};
