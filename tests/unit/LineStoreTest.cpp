// Lines kept back to back: order, empty lines, joining, clearing.
#include "toolkit/LineStore.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(LineStore, KeepsLinesInOrderIncludingEmptyOnes)
{
    TLineStore store;
    EXPECT_TRUE(store.Empty());
    store.Add(L"TX: 01 03 00 00 00 02 C4 0B");
    store.Add(L"");
    store.Add(L"RX: 01 03 04 00 FD 01 C8 XX XX 温度");
    ASSERT_EQ(store.Count(), 3u);
    EXPECT_EQ(store.Line(0), L"TX: 01 03 00 00 00 02 C4 0B");
    EXPECT_EQ(store.Line(1), L"");
    EXPECT_EQ(store.Line(2), L"RX: 01 03 04 00 FD 01 C8 XX XX 温度");
    EXPECT_THROW(store.Line(3), std::out_of_range);
}

TEST(LineStore, JoinsEveryLineWithItsTerminator)
{
    TLineStore store;
    EXPECT_EQ(store.Joined(L"\r\n"), L"") << "an empty log gives an empty text";
    store.Add(L"a");
    store.Add(L"");
    store.Add(L"bc");
    EXPECT_EQ(store.Joined(L"\r\n"), L"a\r\n\r\nbc\r\n");
}

TEST(LineStore, ClearStartsANewLog)
{
    TLineStore store;
    for (int i = 0; i < 1000; ++i)
        store.Add(L"line " + std::to_wstring(i));
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_EQ(store.CharacterCount(), 0u);
    store.Add(L"after");
    EXPECT_EQ(store.Count(), 1u);
    EXPECT_EQ(store.Line(0), L"after");
}
