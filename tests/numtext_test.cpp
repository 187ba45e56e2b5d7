// Number <-> text as the fields show and read them.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "app/fields.h"
#include "app/numtext.h"

namespace {

TEST(FormatNumber, FifteenSignificantDigits) {
    struct Case {
        double value;
        const char* comma;
    };
    const Case cases[] = {
        {0.5, "0,5"},
        {1e-5, "1E-05"},
        {1e-4, "0,0001"},
        {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"},
        {0.0069000000000000115, "0,00690000000000001"},
        {0.1 + 0.2, "0,3"},
        {-0.0, "0"},
        {0.0, "0"},
        {180, "180"},
        {-2.5, "-2,5"},
        {1e10, "10000000000"},
        {999999999999999.9, "1E+15"},
        {99999.99999999999, "100000"},
        {-1.4463721e-12, "-1,4463721E-12"},
        {1.7976931348623157e308, "1,79769313486232E+308"},
        {5e-324, "4,94065645841247E-324"},
        {1e100, "1E+100"},
        {0.00012345, "0,00012345"},
        {2.0 / 3, "0,666666666666667"},
        {-602.655, "-602,655"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::FormatNumber(c.value, ','), c.comma) << c.value;
        std::string point = c.comma;
        for (char& ch : point)
            if (ch == ',') ch = '.';
        EXPECT_EQ(app::FormatNumber(c.value, '.'), point) << c.value;
    }
}

TEST(FormatNumber, AngleJustBelowATurnShowsAs360) {
    const double pi = 3.14159265358979;
    const double below = std::nextafter(2 * pi, 0.0);
    EXPECT_EQ(app::FormatNumber(below * (180 / pi), ','), "360");
}

TEST(ParseNumber, AcceptedForms) {
    struct Case {
        const char* text;
        char sep;
        double value;
    };
    const Case cases[] = {
        {"0,5", ',', 0.5},       {"  12  ", ',', 12},       {"-3", ',', -3},
        {"+4,25", ',', 4.25},    {"1E-09", ',', 1e-9},      {"1e5", ',', 1e5},
        {"2,5E+3", ',', 2500},   {",5", ',', 0.5},          {"5,", ',', 5},
        {"0.0001", '.', 0.0001}, {"1e-320", '.', 1e-320},   {"1e308", '.', 1e308},
        {"1e-400", '.', 0},      {"\t7\t", '.', 7},         {"10000000000", ',', 1e10},
        {"0,00690000000000001", ',', 0.00690000000000001},
    };
    for (const Case& c : cases) {
        const auto v = app::ParseNumber(c.text, c.sep);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
    }
}

TEST(ParseNumber, RefusedForms) {
    const char* const refused[] = {
        "", "   ", "abc", "1,2,3", "1.5", "nan", "NaN", "inf", "-Infinity", "0x10", "1e",
        "1e+", "e5", "--1", "+", ",", "1 2", "1e999", "-1e309", "12a", "1,5e3x", "١",
    };
    for (const char* t : refused) EXPECT_FALSE(app::ParseNumber(t, ',').has_value()) << t;
    EXPECT_FALSE(app::ParseNumber("0,5", '.').has_value());
}

TEST(ParseNumber, EveryFormattedValueReadsBack) {
    // What the window writes must read back to within the 15 digits shown.
    const double values[] = {0.5, 1e-9, 1e10, -14463.72, 1650.4, 0.999999999999906, 123456789012345.0,
                             1.7976931348623157e308, 4.94e-324};
    for (double v : values) {
        for (char sep : {',', '.'}) {
            const auto back = app::ParseNumber(app::FormatNumber(v, sep), sep);
            ASSERT_TRUE(back.has_value()) << v;
            EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14) << v;
        }
    }
}

TEST(ParseWhole32, RoundsHalfToEvenWithinInt32) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"2,5", true, 2},          {"3,5", true, 4},         {"-2,5", true, -2},
        {"0,5", true, 0},          {"1,5", true, 2},         {"2,6", true, 3},
        {"100", true, 100},        {"0", true, 0},           {"-5", true, -5},
        {"2147483647", true, 2147483647},  {"-2147483648", true, -2147483647 - 1},
        {"2147483647,5", false, 0}, {"3000000000", false, 0}, {"-2147483649", false, 0},
        {"1E+3", true, 1000},      {"x", false, 0},          {"", false, 0},
    };
    for (const Case& c : cases) {
        const auto v = app::ParseWhole32(c.text, ',');
        EXPECT_EQ(v.has_value(), c.ok) << c.text;
        if (c.ok && v) {
            EXPECT_EQ(*v, c.value) << c.text;
        }
    }
}

TEST(ReadNumberText, OtherSeparatorWhereUnambiguous) {
    struct Case {
        const char* text;
        char sep;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"0,2", '.', true, 0.2},   {"0.2", ',', true, 0.2},   {"0,25", '.', true, 0.25},
        {"1,500", '.', false, 0},  {"1.500", ',', false, 0},  {"0,500", '.', true, 0.5},
        {"1,5", '.', true, 1.5},   {"1.000,5", ',', false, 0}, {"1,000.5", '.', false, 0},
        {"1E-09", '.', true, 1e-9},
    };
    for (const Case& c : cases) {
        const auto v = app::ReadNumberText(c.text, c.sep);
        EXPECT_EQ(v.has_value(), c.ok) << c.text << " with '" << c.sep << "'";
        if (c.ok && v) {
            EXPECT_EQ(*v, c.value) << c.text;
        }
    }
}

}  // namespace
