#include "settings/Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "settings/CommandLine.h"

using namespace tarvesk;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

struct Reading {
    const char* text;
    double value;
};

}  // namespace

TEST(LeadingNumber, ReadsTheLeadingDecimalNumber) {
    const Reading cases[] = {
        {"12", 12},       {"12MB", 12},      {"-3", -3},       {"+7", 7},
        {"10.5", 10.5},   {".5", 0.5},       {"5.", 5},        {"1.2.3", 1.2},
        {"007", 7},       {"0", 0},          {"-0.25x", -0.25}, {"1,000", 1},
        {"10,5", 10},     {"12abc", 12},     {"1e3", 1000},    {"1E+3", 1000},
        {"1D3", 1000},    {"1d-2", 0.01},    {"2.5E1", 25},    {"1E", 1},
        {"1E+", 1},       {"1Ex", 1},        {"1e3.5", 1000},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(LeadingNumber, IgnoresBlanksTabsAndLineFeedsAnywhere) {
    EXPECT_EQ(LeadingNumber(" 1 2 "), 12);
    EXPECT_EQ(LeadingNumber("\t-\n4 . 5"), -4.5);
    EXPECT_EQ(LeadingNumber("1 e 2"), 100);
    EXPECT_EQ(LeadingNumber("& H F F"), 255);
    // A carriage return is not a blank: it ends the number.
    EXPECT_EQ(LeadingNumber("1\r2"), 1);
    EXPECT_EQ(LeadingNumber("\r12"), 0);
}

TEST(LeadingNumber, TextWithoutALeadingNumberIsZero) {
    for (const char* text : {"", "   ", "abc", "-", "+", ".", "-.", "E5", "--5", "+-5", "$5",
                             "x12", ",5", "&", "&H", "&O", "&Hx", "&9", "-&H10"})
        EXPECT_EQ(LeadingNumber(text), 0) << text;
}

TEST(LeadingNumber, ReadsHexadecimalAndOctalAsSixteenOrThirtyTwoBitValues) {
    const Reading cases[] = {
        {"&HFF", 255},           {"&hff", 255},           {"&H7FFF", 32767},
        {"&H8000", -32768},      {"&HFFFF", -1},          {"&H0FFFF", -1},
        {"&H10000", 65536},      {"&H7FFFFFFF", 2147483647}, {"&H80000000", -2147483648.0},
        {"&HFFFFFFFF", -1},      {"&H100000000", 4294967296.0}, {"&H1FG", 31},
        {"&O17", 15},            {"&o777", 511},          {"&17", 15},
        {"&O177777", -1},        {"&O37777777777", -1},   {"&18", 1},
        {"&H0", 0},              {"&H1.5", 1},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(LeadingNumber, OutOfRangeNumbersGiveInfinityOrZeroNeverNaN) {
    EXPECT_EQ(LeadingNumber("1e999"), kInf);
    EXPECT_EQ(LeadingNumber("-1e999"), -kInf);
    EXPECT_EQ(LeadingNumber("1.8e308"), kInf);
    EXPECT_EQ(LeadingNumber("1.7976931348623157e308"), kMax);
    EXPECT_EQ(LeadingNumber("1e99999999999999999999"), kInf);
    EXPECT_EQ(LeadingNumber("1e-999"), 0);
    EXPECT_EQ(LeadingNumber("0e999999"), 0);
    EXPECT_EQ(LeadingNumber("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(LeadingNumber(std::string(400, '9')), kInf);
    EXPECT_EQ(LeadingNumber("&H" + std::string(300, 'F')), kInf);
    EXPECT_EQ(LeadingNumber("99999999999"), 99999999999.0);
}

TEST(LeadingNumber, VeryLongTextsAreReadExactly) {
    // Thousands of digits: still correctly rounded, and quick.
    std::string longOne = "1" + std::string(5000, '0') + "e-5000";
    EXPECT_EQ(LeadingNumber(longOne), 1);
    std::string fraction = "0." + std::string(3000, '0') + "1e3001";
    EXPECT_EQ(LeadingNumber(fraction), 1);
    // Digits far beyond the 17th still decide the rounding of a halfway case.
    EXPECT_EQ(LeadingNumber("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(LeadingNumber("9007199254740993" + std::string(900, '0') + "1e-901"),
              9007199254740994.0);
    EXPECT_EQ(LeadingNumber(std::string(100000, ' ') + "42"), 42);
}

TEST(StrictNumber, AcceptsOnlyAWholeNumberWithSurroundingBlanks) {
    EXPECT_EQ(StrictNumber("12"), 12);
    EXPECT_EQ(StrictNumber("  -3 \t\n"), -3);
    EXPECT_EQ(StrictNumber("1.5"), 1.5);
    EXPECT_EQ(StrictNumber("1D3"), 1000);
    EXPECT_EQ(StrictNumber("&HFF"), 255);
    EXPECT_EQ(StrictNumber("5."), 5);
    EXPECT_EQ(StrictNumber("1e999"), kInf);
    for (const char* text : {"", "  ", "abc", "12MB", "1 2", "1E", "1e+", "-", ".", "&H",
                             "10,5", "1.2.3", "1\r", "0x10", "- 1"})
        EXPECT_FALSE(StrictNumber(text).has_value()) << text;
}

TEST(WholeNumbers, RoundHalvesToEven) {
    EXPECT_EQ(ToInt32(10.5), 10);
    EXPECT_EQ(ToInt32(11.5), 12);
    EXPECT_EQ(ToInt32(2.5), 2);
    EXPECT_EQ(ToInt32(-2.5), -2);
    EXPECT_EQ(ToInt32(-3.5), -4);
    EXPECT_EQ(ToInt32(2.4999999), 2);
    EXPECT_EQ(ToInt32(-0.5), 0);
    EXPECT_EQ(ToByte(127.5), 128);
    EXPECT_EQ(ToByte(0.5), 0);
    EXPECT_EQ(ToByte(1.5), 2);
    EXPECT_EQ(RoundHalfEven(4503599627370495.5), 4503599627370496.0);
}

TEST(WholeNumbers, OutOfRangeGoesToTheNearestEnd) {
    EXPECT_EQ(ToByte(-5), 0);
    EXPECT_EQ(ToByte(-0.6), 0);
    EXPECT_EQ(ToByte(255.4), 255);
    EXPECT_EQ(ToByte(255.5), 255);
    EXPECT_EQ(ToByte(1e300), 255);
    EXPECT_EQ(ToByte(kInf), 255);
    EXPECT_EQ(ToByte(-kInf), 0);
    EXPECT_EQ(ToByte(std::nan("")), 0);
    EXPECT_EQ(ToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(ToInt32(2147483647.5), 2147483647);
    EXPECT_EQ(ToInt32(99999999999.0), 2147483647);
    EXPECT_EQ(ToInt32(-2147483648.5), -2147483647 - 1);
    EXPECT_EQ(ToInt32(-1e300), -2147483647 - 1);
    EXPECT_EQ(ToInt32(kInf), 2147483647);
    EXPECT_EQ(ToInt32(std::nan("")), 0);
}

TEST(NumberText, WholeNumbersOfUpToFifteenDigitsArePlainDigits) {
    EXPECT_EQ(NumberText(12, '.'), "12");
    EXPECT_EQ(NumberText(0, '.'), "0");
    EXPECT_EQ(NumberText(-0.0, '.'), "0");
    EXPECT_EQ(NumberText(-3, ','), "-3");
    EXPECT_EQ(NumberText(2147483647, '.'), "2147483647");
    EXPECT_EQ(NumberText(999999999999999, '.'), "999999999999999");
    EXPECT_EQ(NumberText(-999999999999999, '.'), "-999999999999999");
}

TEST(NumberText, FractionsUseFifteenSignificantDigitsAndTheGivenSeparator) {
    EXPECT_EQ(NumberText(10.5, '.'), "10.5");
    EXPECT_EQ(NumberText(10.5, ','), "10,5");
    EXPECT_EQ(NumberText(0.1, '.'), "0.1");
    EXPECT_EQ(NumberText(1.0 / 3, '.'), "0.333333333333333");
    EXPECT_EQ(NumberText(2.0 / 3, ','), "0,666666666666667");
    EXPECT_EQ(NumberText(0.0001, '.'), "0.0001");
    EXPECT_EQ(NumberText(-0.25, '.'), "-0.25");
    EXPECT_EQ(NumberText(123456789012345.6, '.'), "123456789012346");
    EXPECT_EQ(NumberText(0.5, '\0'), "0.5");
}

TEST(NumberText, LargeAndTinyNumbersUseScientificNotation) {
    EXPECT_EQ(NumberText(1e15, '.'), "1E+15");
    EXPECT_EQ(NumberText(999999999999999.9, '.'), "1E+15");
    EXPECT_EQ(NumberText(1.5e20, ','), "1,5E+20");
    EXPECT_EQ(NumberText(-2.5e-7, '.'), "-2.5E-07");
    EXPECT_EQ(NumberText(0.00001, '.'), "1E-05");
    EXPECT_EQ(NumberText(1e300, '.'), "1E+300");
}

TEST(NumberText, InfinityAndTheLargestDoublesReadBackAsFinite) {
    EXPECT_EQ(NumberText(kInf, '.'), "1.79769313486231E+308");
    EXPECT_EQ(NumberText(-kInf, ','), "-1,79769313486231E+308");
    EXPECT_EQ(NumberText(kMax, '.'), "1.79769313486231E+308");
    EXPECT_TRUE(std::isfinite(LeadingNumber(NumberText(kInf, '.'))));
    EXPECT_TRUE(std::isfinite(LeadingNumber(NumberText(-kMax, '.'))));
    EXPECT_EQ(NumberText(std::nan(""), '.'), "0");
}

TEST(NumberText, ReadsBackThroughLeadingNumber) {
    for (double x : {0.1, 10.5, -1234.5678, 1e-300, 5e-324, 1.5e20, 123456.789, 0.000123,
                     2147483648.0, -9.87654321e15}) {
        double back = LeadingNumber(NumberText(x, '.'));
        EXPECT_NEAR(back, x, std::fabs(x) * 1e-14) << x;
        EXPECT_EQ(StrictNumber(NumberText(x, '.')), back) << x;
    }
    // A comma separator is not read back as a decimal point: "10,5" reads as 10.
    EXPECT_EQ(ToInt32(LeadingNumber(NumberText(10.5, ','))), 10);
}

TEST(CommandLine, QuotesThePathSoBlanksCannotSplitIt) {
    EXPECT_EQ(QuotedCommandLine("C:\\Program Files\\Tarvesk\\TarveskA.exe"),
              "\"C:\\Program Files\\Tarvesk\\TarveskA.exe\"");
    EXPECT_EQ(QuotedCommandLine("C:\\T\\TarveskA.exe"), "\"C:\\T\\TarveskA.exe\"");
    EXPECT_EQ(QuotedCommandLine("\"C:\\A B\\x.exe\""), "\"C:\\A B\\x.exe\"");
    EXPECT_EQ(QuotedCommandLine("C:\\a\" b\\x.exe"), "\"C:\\a b\\x.exe\"");
}

TEST(CommandLine, AgentPathLiesInTheProgramFolder) {
    EXPECT_EQ(AgentCommandLine("C:\\Program Files\\Tarvesk"),
              "\"C:\\Program Files\\Tarvesk\\TarveskA.exe\"");
    EXPECT_EQ(AgentCommandLine("C:\\"), "\"C:\\TarveskA.exe\"");
    EXPECT_EQ(AgentCommandLine("\\\\server\\share"), "\"\\\\server\\share\\TarveskA.exe\"");
}

TEST(CommandLine, FilesLieInTheFolderWithOneSeparator) {
    EXPECT_EQ(PathInFolder("C:\\Program Files\\Tarvesk Test", "Tarvesk.exe"),
              "C:\\Program Files\\Tarvesk Test\\Tarvesk.exe");
    // A drive's root already ends in a separator.
    EXPECT_EQ(PathInFolder("C:\\", "Tarvesk.exe"), "C:\\Tarvesk.exe");
    EXPECT_EQ(PathInFolder("C:/Tools/", "Tarvesk.exe"), "C:/Tools/Tarvesk.exe");
    EXPECT_EQ(PathInFolder("\\\\server\\share\\tools", "Tarvesk.exe"), "\\\\server\\share\\tools\\Tarvesk.exe");
    EXPECT_EQ(PathInFolder("", "Tarvesk.exe"), "\\Tarvesk.exe");
}
