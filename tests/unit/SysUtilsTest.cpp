// Integer and boolean text conversion with the toolkit's messages; UTF-8 bridging.
#include "toolkit/Exception.h"
#include "toolkit/SysUtils.h"

#include <gtest/gtest.h>

#include <climits>

TEST(StrToInt, AcceptsDecimalAndHexadecimalForms)
{
    const struct { const wchar_t* text; int value; } cases[] = {
        {L"0", 0},           {L"9600", 9600},         {L"  42", 42},          {L"+7", 7},
        {L"-1", -1},         {L"$1F", 31},            {L"0x1f", 31},          {L"2147483647", INT_MAX},
        {L"-2147483648", INT_MIN}, {L"$FFFFFFFF", -1}, {L"-$80000000", INT_MIN}, {L"007", 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToInt(c.text), c.value) << std::wstring(c.text).size();
}

TEST(StrToInt, RejectsWhatIsNotAnIntegerWithTheStandardMessage)
{
    const wchar_t* bad[] = {L"", L"abc", L"12a", L"1 2", L"9600 ", L"-", L"$", L"0x", L"2147483648",
                            L"-2147483649", L"$100000000", L"１２", L"1.5"};
    for (const wchar_t* text : bad) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted: " << WideToUtf8(text);
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), L"'" + std::wstring(text) + L"' is not a valid integer value");
        }
    }
}

TEST(StrToBool, ReadsPublishedBooleanText)
{
    EXPECT_TRUE(StrToBool(L"True"));
    EXPECT_TRUE(StrToBool(L"true"));
    EXPECT_TRUE(StrToBool(L"1"));
    EXPECT_FALSE(StrToBool(L"FALSE"));
    EXPECT_FALSE(StrToBool(L"0"));
    EXPECT_THROW(StrToBool(L"yes"), EConvertError);
    EXPECT_EQ(BoolToStr(true), L"True");
    EXPECT_EQ(BoolToStr(false), L"False");
}

TEST(TextCase, FoldsAsciiOnly)
{
    EXPECT_TRUE(SameText(L"TCustomCheckBox", L"tcustomcheckbox"));
    EXPECT_FALSE(SameText(L"TButton", L"TButtons"));
    EXPECT_EQ(LowerCase(L"TPanel=连接"), L"tpanel=连接");
    EXPECT_EQ(UpperCase(L"tdcedit"), L"TDCEDIT");
}

TEST(Utf8, RoundTripsChineseAndReplacesBrokenInput)
{
    const std::wstring text = L"打开端口错误,可能已被打开 ℃";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(WideToUtf8(L"\x6253"), "\xE6\x89\x93");
    // Truncated sequence, lone continuation byte, overlong form.
    EXPECT_EQ(Utf8ToWide("\xE6\x89"), L"\xFFFD\xFFFD");
    EXPECT_EQ(Utf8ToWide("\x80" "a"), L"\xFFFD" L"a");
    EXPECT_EQ(Utf8ToWide("\xE0\x80\xAF"), L"\xFFFD\xFFFD\xFFFD");
}

TEST(Exception, CarriesTheWideMessageAndItsUtf8Form)
{
    const Exception e(L"关闭端口错误");
    EXPECT_EQ(e.Message(), L"关闭端口错误");
    EXPECT_STREQ(e.what(), WideToUtf8(L"关闭端口错误").c_str());
}

TEST(IndexOfName, FindsEnumerationNamesInAnyCase)
{
    const wchar_t* const names[] = {L"bsNone", L"bsSingle"};
    EXPECT_EQ(IndexOfName(names, L"bsSingle", L"BorderStyle"), 1u);
    EXPECT_EQ(IndexOfName(names, L"BSNONE", L"BorderStyle"), 0u);
    try {
        IndexOfName(names, L"bsDouble", L"BorderStyle");
        ADD_FAILURE() << "accepted an unknown name";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'bsDouble' is not a valid BorderStyle");
    }
}
