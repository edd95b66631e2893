// The definition parser: lines and sections, key lookup, numbers, and colour text.
#include "skin/definitions/ParseColour.h"
#include "skin/definitions/QuickIni.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TQuickIni Ini(std::string_view text)
{
    TQuickIni ini;
    ini.LoadFromText(text);
    return ini;
}

} // namespace

TEST(QuickIni, KeepsTrimmedLinesDropsEmptyAndCommentLines)
{
    const TQuickIni ini = Ini(" [Form] \r\n\r\n; a comment\r\n\tKey = 1 ; not a comment\n\rOther\r[Open\n[]\n");
    const std::vector<std::string> lines{"[Form]", "Key = 1 ; not a comment", "Other", "[Open", "[]"};
    EXPECT_EQ(ini.Lines(), lines);
    ASSERT_EQ(ini.Sections().size(), 2u) << "a line without its closing bracket is no header";
    EXPECT_EQ(ini.Sections()[0].Header, "[Form]");
    EXPECT_EQ(ini.Sections()[0].Line, 0);
    EXPECT_EQ(ini.Sections()[1].Line, 4);
    EXPECT_EQ(ini.ReadString("Form", "Key", "-"), "1 ; not a comment");
}

TEST(QuickIni, NulEndsTheTextAndStreamsReadFromTheirPosition)
{
    EXPECT_EQ(Ini(std::string("[A]\nK=1\n\0[B]\nK=2\n", 16)).FindSection("B"), -1);

    const std::string text = "junk[A]\nK=7\n";
    TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
    stream.SetPosition(4);
    TQuickIni ini;
    ini.LoadFromText("[Old]\nK=1");
    ini.LoadFromStream(stream);
    EXPECT_EQ(ini.FindSection("Old"), -1) << "loading replaces what was there";
    EXPECT_EQ(ini.ReadInteger("A", "K", 0), 7);
    EXPECT_EQ(stream.Position(), stream.Size());

    stream.SetPosition(1000);
    ini.LoadFromStream(stream);
    EXPECT_TRUE(ini.Lines().empty());
}

TEST(QuickIni, SectionNamesIgnoreCaseButNotInnerSpaces)
{
    const TQuickIni ini = Ini("[Personality]\nA=1\n[PERSONALITY]\nA=2\n[ Menu Bar ]\nB=3\n");
    EXPECT_EQ(ini.FindSection("personality"), 0) << "the first header of a name wins";
    EXPECT_EQ(ini.ReadInteger("PERSONALITY", "A", 0), 1);
    EXPECT_EQ(ini.FindSection("Menu Bar"), -1);
    EXPECT_EQ(ini.FindSection(" Menu Bar "), 4);
    EXPECT_EQ(ini.FindSection("Missing"), -1);
}

TEST(QuickIni, ReadSectionsGivesNamesWithoutBracketsAndAssertsOnNoTarget)
{
    const TQuickIni ini = Ini("[A]\n[ B c ]\nx=1\n[A]\n");
    std::vector<std::string> names{"stale"};
    ini.ReadSections(&names);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B c", "A"}));
    try {
        ini.ReadSections(nullptr);
        ADD_FAILURE() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), L"The parameter Strings is unassigned!");
    }
}

TEST(QuickIni, EquivalentKeyLinesGiveTheSameValue)
{
    for (const char* text : {"[S]\nKey=abc", "[S]\r\n  Key = abc  ", "[s]\nKEY=abc", "[S]\nkEy\t=\tabc\n[T]\nKey=x"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Ini(text).ReadString("S", "key", "def"), "abc");
    }
}

TEST(QuickIni, TheFirstLineOfAKeyDecidesEvenWhenEmpty)
{
    const TQuickIni ini = Ini("[S]\nEmpty=\nEmpty=later\nTwice=one\nTwice=two\nNoEquals\nEq==x\n[T]\nOnlyT=1\n");
    EXPECT_EQ(ini.ReadString("S", "Empty", "def"), "def");
    EXPECT_EQ(ini.ReadString("S", "Twice", "def"), "one");
    EXPECT_EQ(ini.ReadString("S", "Eq", "def"), "=x") << "the value begins after the first equals sign";
    EXPECT_EQ(ini.ReadString("S", "OnlyT", "def"), "def") << "the scan ends at the next header";
    EXPECT_EQ(ini.ReadString("S", "NoEquals", "def"), "def");
    EXPECT_EQ(ini.ReadString("Missing", "Twice", "def"), "def");
}

TEST(QuickIni, ReadIntegerTakesDecimalAndHexOrTheDefault)
{
    struct TCase {
        const char* Value;
        int32_t Expected;
    };
    const TCase cases[] = {
        {"0x1F", 31}, {"$1F", 31}, {"0X1f", 31}, {"-12", -12}, {"+5", 5}, {"0", 0},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"0xFF00000F", static_cast<int32_t>(0xFF00000Fu)},
        // The default, 99:
        {"12abc", 99}, {"", 99}, {"0x", 99}, {"$", 99}, {"-", 99}, {"2147483648", 99}, {"$100000000", 99},
        {"1 2", 99}, {"1.5", 99}, {"0x-1", 99},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Value);
        EXPECT_EQ(Ini(std::string("[S]\nN=") + c.Value).ReadInteger("S", "N", 99), c.Expected);
    }
    EXPECT_EQ(Ini("[S]\n").ReadInteger("S", "N", -1), -1);
}

TEST(ParseColour, NumberRunsAreRedGreenBlue)
{
    const TColor orange = RGBColor(255, 128, 0);
    for (const char* text : {"255,128,0", "255 128 0", "255;128;0", "r255 g128 b0", "255,128,0,77"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseColour(text), orange);
    }
    EXPECT_EQ(ParseColour("255 128"), orange) << "missing components are 0";
    EXPECT_EQ(ParseColour("300 0 0"), RGBColor(44, 0, 0));
    EXPECT_EQ(ParseColour("99999999999999999999 1 2"), RGBColor(255, 1, 2)) << "a long run is taken modulo 256 exactly";
    EXPECT_EQ(ParseColour(""), 0u);
    EXPECT_EQ(ParseColour("none"), 0u);
}

TEST(ParseColour, ReadRgbNeedsAllThreeComponents)
{
    const TQuickIni ini = Ini("[P]\nActiveTextR=10\nActiveTextG=300\nActiveTextB=0\nHalfR=1\nHalfG=2\nBadR=1\nBadG=x\nBadB=3\n");
    EXPECT_EQ(ReadRgb(ini, "P", "ActiveText"), RGBColor(10, 44, 0));
    EXPECT_EQ(ReadRgb(ini, "P", "Half"), kColourNotGiven);
    EXPECT_EQ(ReadRgb(ini, "P", "Bad"), kColourNotGiven);
    EXPECT_EQ(ReadRgb(ini, "P", "None"), kColourNotGiven);
}
