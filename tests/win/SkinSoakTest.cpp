// The main window with every wrapper attached, worked hard: paints, hover changes and the skin
// switched off and on again must leave no GDI object, window or procedure slot behind.
#include "tests/win/Form1Fixture.h"
#include "tests/win/GuiObjects.h"
#include "tests/win/SkinWindowFixture.h"

#include "skin/controls/SkinButton.h"

namespace {

struct TOwners {
    size_t Gdi, Windows, FreeProcs, Wrappers;
    bool operator==(const TOwners&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TOwners& o)
{
    return out << "GDI " << o.Gdi << ", windows " << o.Windows << ", free procedure slots " << o.FreeProcs
               << ", wrappers " << o.Wrappers;
}

} // namespace

class SkinSoakTest : public TForm1Test {
protected:
    TOwners Owners() const
    {
        return {GdiObjectCount(), ThreadWindowCount(), TMessageLink::FreeProcCount(), Frame()->WrapperList().size()};
    }
    TWinSkinForm* Frame() const { return SkinManager->FindFrame(Form->Handle()); }
    TSkinButton* ButtonWrapper(TWinControl* button) const
    {
        return dynamic_cast<TSkinButton*>(Frame()->FindWrapper(button->Handle()));
    }
    // The skin off and on again, without the 250 ms the component waits for a burst to end.
    void ActiveCycle()
    {
        Form->SkinData1->SetActive(false);
        SkinManager->RunPendingAction();
        ASSERT_EQ(SkinManager->FindFrame(Form->Handle()), nullptr);
        Form->SkinData1->SetActive(true);
        SkinManager->RunPendingAction();
        ASSERT_TRUE(PumpUntil([&] { return Frame() && Frame()->FrameState() == TFrameState::Active; }, 3000));
    }
    void RepaintAll() const
    {
        for (const auto& wrapper : Frame()->WrapperList())
            wrapper->PaintControl();
    }
};

TEST_F(SkinSoakTest, PaintsHoversAndActiveCyclesLeaveNothingBehind)
{
    MakeForm();
    ASSERT_NE(ShowSkinned(Form), nullptr);
    // The log overflows, so its scroll bar has something to show.
    for (int i = 0; i < 200; ++i)
        Form->AddLogLine(L"TX:01 03 00 00 00 02 C4 0B", false);
    ActiveCycle();
    RepaintAll();
    PumpFor(300);
    const TOwners before = Owners();
    ASSERT_GT(before.Wrappers, 20u) << "every control of the window is wrapped";

    TSkinButton* button = ButtonWrapper(Form->BitBtn1);
    ASSERT_NE(button, nullptr);
    for (int i = 0; i < 10000; ++i)
        button->PaintControl();
    TSkinButton* hovered = ButtonWrapper(Form->BitBtn1);
    ASSERT_NE(hovered, nullptr);
    for (int i = 0; i < 1000; ++i) {
        ::SendMessageW(Form->BitBtn1->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
        ASSERT_TRUE(hovered->MouseOver());
        ::SendMessageW(Form->BitBtn1->Handle(), CM_MOUSELEAVE, 0, 0);
    }
    for (int i = 0; i < 100; ++i)
        ActiveCycle();
    RepaintAll();
    PumpFor(300);
    EXPECT_EQ(Owners(), before);
}
