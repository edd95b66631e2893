// Ownership, class identity and published properties of components.
#include "toolkit/Component.h"
#include "toolkit/Exception.h"
#include "toolkit/SysUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

std::vector<std::wstring>* gFreed = nullptr;

class TProbe : public TComponent {
    TK_CLASS(TProbe)
public:
    explicit TProbe(TComponent* owner, std::wstring label = {}) : TComponent(owner), Label(std::move(label)) {}
    ~TProbe() override
    {
        if (gFreed)
            gFreed->push_back(Label);
    }
    std::wstring Label;
    bool Flag = false;
    int Count = 0;
};

class TSpecialProbe : public TProbe {
    TK_CLASS(TSpecialProbe)
public:
    using TProbe::TProbe;
};

const TPropertyInfo kProbeProps[] = {
    {L"Flag", [](const TObject& o) { return BoolToStr(static_cast<const TProbe&>(o).Flag); },
     [](TObject& o, std::wstring_view v) { static_cast<TProbe&>(o).Flag = StrToBool(v); }},
    {L"Count", [](const TObject& o) { return IntToStr(static_cast<const TProbe&>(o).Count); }, nullptr},
};
// The descendant republishes Count as writable.
const TPropertyInfo kSpecialProps[] = {
    {L"Count", [](const TObject& o) { return IntToStr(static_cast<const TProbe&>(o).Count * 10); },
     [](TObject& o, std::wstring_view v) { static_cast<TProbe&>(o).Count = StrToInt(v); }},
};

// Records what it is told, in the order it is told, and may act on it.
class TWatcher : public TComponent {
    TK_CLASS(TWatcher)
public:
    using TComponent::TComponent;
    std::vector<std::pair<TComponent*, TOperation>> Heard;
    std::function<void(TComponent*)> OnRemove;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        Heard.emplace_back(component, operation);
        if (operation == TOperation::Remove && OnRemove)
            OnRemove(component);
    }
};

} // namespace

const TClassInfo TWatcher::StaticClass{L"TWatcher", &TComponent::StaticClass, {}};
const TClassInfo TProbe::StaticClass{L"TProbe", &TComponent::StaticClass, kProbeProps};
const TClassInfo TSpecialProbe::StaticClass{L"TSpecialProbe", &TProbe::StaticClass, kSpecialProps};

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { gFreed = &freed; }
    void TearDown() override { gFreed = nullptr; }
    std::vector<std::wstring> freed;
};

TEST_F(ComponentTest, OwnerFreesItsComponentsNewestFirst)
{
    {
        TComponent root(nullptr);
        auto* a = root.Make<TProbe>(L"a");
        a->Make<TProbe>(L"a.1");
        root.Make<TProbe>(L"b");
        EXPECT_EQ(root.ComponentCount(), 2u);
        EXPECT_EQ(a->Owner(), &root);
    }
    EXPECT_EQ(freed, (std::vector<std::wstring>{L"b", L"a", L"a.1"}));
}

TEST_F(ComponentTest, FreeComponentReleasesOneAndIgnoresStrangers)
{
    TComponent root(nullptr);
    TComponent other(nullptr);
    auto* a = root.Make<TProbe>(L"a");
    auto* b = root.Make<TProbe>(L"b");
    auto* stranger = other.Make<TProbe>(L"x");
    root.FreeComponent(a);
    EXPECT_EQ(freed, std::vector<std::wstring>{L"a"});
    EXPECT_EQ(root.ComponentCount(), 1u);
    EXPECT_EQ(root.Components(0), b);
    root.FreeComponent(stranger);
    EXPECT_EQ(other.ComponentCount(), 1u);
    EXPECT_EQ(freed.size(), 1u);
}

TEST_F(ComponentTest, NamesAreFoundWithoutRegardToCase)
{
    TComponent root(nullptr);
    auto* a = root.Make<TProbe>();
    a->SetName(L"Comm1");
    EXPECT_EQ(root.FindComponent(L"COMM1"), a);
    EXPECT_EQ(root.FindComponent(L"Comm2"), nullptr);
}

TEST_F(ComponentTest, ClassNamesAndInheritance)
{
    TComponent root(nullptr);
    TObject* p = root.Make<TSpecialProbe>();
    EXPECT_EQ(p->ClassName(), L"TSpecialProbe");
    EXPECT_TRUE(p->InheritsFrom(L"tprobe"));
    EXPECT_TRUE(p->InheritsFrom(L"TComponent"));
    EXPECT_TRUE(p->InheritsFrom(L"TObject"));
    EXPECT_FALSE(p->InheritsFrom(L"TControl"));
    EXPECT_TRUE(p->InheritsFrom(TProbe::StaticClass));
    EXPECT_NE(As<TProbe>(p), nullptr);
    TObject* plain = root.Make<TProbe>();
    EXPECT_EQ(As<TSpecialProbe>(plain), nullptr);
}

TEST_F(ComponentTest, PublishedPropertiesByNameAsText)
{
    TComponent root(nullptr);
    auto* p = root.Make<TProbe>();
    EXPECT_EQ(p->GetPropValue(L"flag"), L"False");
    EXPECT_TRUE(p->SetPropValue(L"Flag", L"true"));
    EXPECT_TRUE(p->Flag);
    EXPECT_EQ(p->GetPropValue(L"Flag"), L"True");
    EXPECT_THROW(p->SetPropValue(L"Flag", L"maybe"), EConvertError);

    EXPECT_TRUE(p->SetPropValue(L"Tag", L"5555"));
    EXPECT_EQ(p->Tag(), 5555);
    EXPECT_TRUE(p->SetPropValue(L"Name", L"Probe1"));
    EXPECT_EQ(p->GetPropValue(L"NAME"), L"Probe1");

    EXPECT_FALSE(p->SetPropValue(L"Count", L"3")) << "read-only";
    EXPECT_FALSE(p->GetPropValue(L"Missing").has_value());
    EXPECT_FALSE(p->SetPropValue(L"Missing", L"1"));
    EXPECT_FALSE(p->HasProperty(L"State"));
    EXPECT_TRUE(p->HasProperty(L"Count"));
}

TEST_F(ComponentTest, DescendantsRepublishProperties)
{
    TComponent root(nullptr);
    auto* p = root.Make<TSpecialProbe>();
    EXPECT_TRUE(p->SetPropValue(L"Count", L"4"));
    EXPECT_EQ(p->Count, 4);
    EXPECT_EQ(p->GetPropValue(L"Count"), L"40");
    EXPECT_EQ(p->GetPropValue(L"Flag"), L"False") << "inherited";
}

TEST_F(ComponentTest, NotificationReachesTheDerivedReceiver)
{
    using H = std::vector<std::pair<TComponent*, TOperation>>;
    TWatcher owner(nullptr);
    auto* a = owner.Make<TProbe>(L"a");
    auto* b = owner.Make<TProbe>(L"b");
    owner.FreeComponent(a);
    EXPECT_EQ(owner.Heard, (H{{a, TOperation::Insert}, {b, TOperation::Insert}, {a, TOperation::Remove}}));

    // An unowned watcher hears of a stranger going, whoever frees it; once only.
    TWatcher watcher(nullptr);
    b->FreeNotification(&watcher);
    b->FreeNotification(&watcher);
    owner.FreeComponent(b);
    EXPECT_EQ(watcher.Heard, (H{{b, TOperation::Remove}}));
}

TEST_F(ComponentTest, FreeNotificationEndsWithWhicheverGoesFirst)
{
    using H = std::vector<std::pair<TComponent*, TOperation>>;
    TComponent root(nullptr);
    auto* watched = root.Make<TProbe>(L"watched");
    {
        TWatcher early(nullptr);
        watched->FreeNotification(&early);
    } // gone first: the watched component must not call it later
    TWatcher removed(nullptr);
    watched->FreeNotification(&removed);
    watched->RemoveFreeNotification(&removed);

    // A watcher that lets go of another watched component while it is told of this one.
    TWatcher busy(nullptr);
    auto* other = root.Make<TProbe>(L"other");
    watched->FreeNotification(&busy);
    other->FreeNotification(&busy);
    busy.OnRemove = [&](TComponent*) { other->RemoveFreeNotification(&busy); };
    root.FreeComponent(watched);
    root.FreeComponent(other);
    EXPECT_TRUE(removed.Heard.empty());
    EXPECT_EQ(busy.Heard, (H{{watched, TOperation::Remove}}));
    EXPECT_EQ(freed, (std::vector<std::wstring>{L"watched", L"other"}));
}
