// Shortcut names both ways and caption accelerators.
#include "toolkit/MenuText.h"

#include <gtest/gtest.h>

TEST(MenuTextTest, ShortCutsRoundTripThroughTheirNames)
{
    struct TCase {
        TShortCut Key;
        const wchar_t* Text;
    };
    const TCase cases[] = {
        {ShortCut('S', scCtrl), L"Ctrl+S"},
        {ShortCut(0x73, scAlt), L"Alt+F4"},
        {ShortCut(0x2E, scShift), L"Shift+Del"},
        {ShortCut(0x7B), L"F12"},
        {ShortCut('0', scShift | scCtrl | scAlt), L"Shift+Ctrl+Alt+0"},
        {ShortCut(0x0D, scCtrl), L"Ctrl+Enter"},
        {ShortCut(0x21), L"PgUp"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ShortCutToText(c.Key), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.Key) << std::wstring(c.Text).size();
    }
    // Any case and any order of the modifiers reads the same key.
    EXPECT_EQ(TextToShortCut(L"alt+CTRL+del"), ShortCut(0x2E, scCtrl | scAlt));
}

TEST(MenuTextTest, UnknownKeysAndTextGiveNoShortCut)
{
    EXPECT_EQ(ShortCutToText(scNone), L"");
    EXPECT_EQ(ShortCutToText(ShortCut(0xE5, scCtrl)), L""); // a key without a name
    EXPECT_EQ(ShortCutToText(ShortCut(0x70 + 12)), L"");    // F13 is past the named ones
    for (const wchar_t* text : {L"", L"Ctrl+", L"Ctrl+Foo", L"Ctrl S", L"F0", L"Ctrl+Ctrl+S", L"S+"})
        EXPECT_EQ(TextToShortCut(text), scNone) << std::wstring(text).size();
}

TEST(MenuTextTest, AcceleratorIsTheCharacterAfterALoneAmpersand)
{
    struct TCase {
        const wchar_t* Caption;
        wchar_t Accelerator;
    };
    const TCase cases[] = {
        {L"&File", L'F'},    {L"E&xit", L'X'},    {L"Save &as", L'A'}, {L"Fish && &Chips", L'C'},
        {L"Fish && Chips", 0}, {L"Trailing&", 0}, {L"", 0},            {L"Plain", 0},
        {L"&&&x", L'X'},     {L"&1 recent", L'1'},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(AcceleratorOf(c.Caption), c.Accelerator) << std::wstring(c.Caption).size();
    EXPECT_TRUE(IsAccelerator(L'x', L"E&xit"));
    EXPECT_TRUE(IsAccelerator(L'X', L"E&xit"));
    EXPECT_FALSE(IsAccelerator(L'e', L"E&xit"));
    EXPECT_FALSE(IsAccelerator(0, L"Plain")); // a caption without one matches nothing, not NUL
}

TEST(MenuTextTest, ItemTextPutsTheShortCutAfterATab)
{
    EXPECT_EQ(MenuItemText(L"&Save", ShortCut('S', scCtrl)), L"&Save\tCtrl+S");
    EXPECT_EQ(MenuItemText(L"&Open", scNone), L"&Open");
    EXPECT_EQ(MenuItemText(L"Odd", ShortCut(0xE5)), L"Odd"); // no name, no tab
}
