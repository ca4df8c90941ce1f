#include "base/NumberFormatUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/TestSupport.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

// Expected texts are written with a point; the other runs swap theirs in.
QString WithSep(QString Text, QChar Sep) {
    if (Sep != QLatin1Char('.'))
        Text.replace(QLatin1Char('.'), Sep);
    return Text;
}

class SeparatorTest : public ::testing::TestWithParam<QChar> {
protected:
    TSeparatorGuard Guard{GetParam()};
    QChar Sep() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Separators, SeparatorTest,
                         ::testing::Values(QLatin1Char('.'), QLatin1Char(','), ArabicSeparator),
                         [](const auto& Info) { return SeparatorName(Info.param); });

TEST_P(SeparatorTest, GeneralFormat) {
    const struct {
        double Value;
        const char* Text;
    } Cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {10, "10"},
        {-3, "-3"},
        {2.5, "2.5"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},
        {1.25e20, "1.25E20"},
        {-2.5e-9, "-2.5E-9"},
        {20000, "20000"},
        {123456.789, "123456.789"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(FloatToStrGeneral(C.Value), WithSep(QString::fromLatin1(C.Text), Sep()))
            << C.Text;
        // A separator given by the caller wins over the user's, which stays.
        for (const QChar Given : TestSeparators)
            EXPECT_EQ(FloatToStrGeneral(C.Value, Given),
                      WithSep(QString::fromLatin1(C.Text), Given))
                << C.Text;
        EXPECT_EQ(DecimalSeparator(), Sep());
    }
}

TEST_P(SeparatorTest, TwoDecimals) {
    EXPECT_EQ(FormatFloat2(12.3456), WithSep("12.35", Sep()));
    EXPECT_EQ(FormatFloat2(2.5), WithSep("2.50", Sep()));
    EXPECT_EQ(FormatFloat2(10), WithSep("10.00", Sep()));
    EXPECT_EQ(FormatFloat2(-1.5), WithSep("-1.50", Sep()));
    EXPECT_EQ(FormatFloat2(-0.001), WithSep("0.00", Sep()));
    EXPECT_EQ(FormatFloat2(1234567.891), WithSep("1234567.89", Sep())); // no grouping
}

TEST_P(SeparatorTest, FixedFourDigits) {
    EXPECT_EQ(FormatFixed4(12.3456, 3), WithSep("12.350", Sep()));
    EXPECT_EQ(FormatFixed4(0.25, 3), WithSep("0.250", Sep()));
    EXPECT_EQ(FormatFixed4(25, 1), WithSep("25.0", Sep()));
    EXPECT_EQ(FormatFixed4(50, 0), "50");
    EXPECT_EQ(FormatFixed4(0, 3), WithSep("0.000", Sep()));
    // rounded once, at the coarser of four digits and the decimals asked for
    EXPECT_EQ(FormatFixed4(0.12351, 3), WithSep("0.124", Sep()));
    EXPECT_EQ(FormatFixed4(12.3456, 1), WithSep("12.3", Sep()));
    EXPECT_EQ(FormatFixed4(9.99961, 3), WithSep("10.000", Sep()));
    EXPECT_EQ(FormatFixed4(1234.56, 0), "1235");
    EXPECT_EQ(FormatFixed4(-0.5, 1), WithSep("-0.5", Sep()));
    EXPECT_TRUE(FormatFixed4(123456, 0).contains(QLatin1Char('E')));
}

// Files travel between machines of different locales: whatever separator
// the writer's locale had, the number reads the same here.
TEST_P(SeparatorTest, FileNumbersTakeEitherSeparator) {
    const struct {
        const char* Text;
        bool Ok;
        double Value;
    } Cases[] = {
        {"2.5", true, 2.5},
        {"2,5", true, 2.5},
        {" -1.5E-7 ", true, -1.5e-7},
        {"-1,5E-7", true, -1.5e-7},
        {"1E15", true, 1e15},
        {"1e3", true, 1000},
        {"+3", true, 3},
        {"20000", true, 20000},
        {"0,0333", true, 0.0333},
        {".5", true, 0.5},
        // never a thousands separator: the first separator is the decimal one
        {"1,500", true, 1.5},
        {"1.500", true, 1.5},
        {"1.500,5", false, 0},
        {"1,500.5", false, 0},
        {"1 500", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"abc", false, 0},
        {"2x5", false, 0},
        {"1e", false, 0},
        {"1e999", false, 0},
        {"0x10", false, 0},
        {"inf", false, 0},
        {"nan", false, 0},
        {"12abc", false, 0},
        {"(12)", false, 0},
    };
    for (const auto& C : Cases) {
        double V = -12345;
        EXPECT_EQ(TryFileStrToFloat(QString::fromLatin1(C.Text), V), C.Ok) << C.Text;
        if (C.Ok) {
            EXPECT_DOUBLE_EQ(V, C.Value) << C.Text;
        }
    }
    // Every separator a locale writes its files with, whichever this
    // machine's own is: a file written in Cairo reads the same in Berlin.
    const struct {
        const char* Text;
        double Value;
    } Written[] = {
        {"2.5", 2.5}, {" -1.5E-7 ", -1.5e-7}, {"0.0333", 0.0333}, {"123456.789", 123456.789}};
    for (const QChar Writer : {QChar(u'.'), QChar(u','), ArabicSeparator})
        for (const auto& C : Written) {
            double V = -12345;
            EXPECT_TRUE(TryFileStrToFloat(WithSep(C.Text, Writer), V)) << C.Text;
            EXPECT_DOUBLE_EQ(V, C.Value) << C.Text;
        }
}

TEST_P(SeparatorTest, GeneralFormatReadsBack) {
    const double Largest = std::numeric_limits<double>::max();
    for (double V : {0.1, 1.0 / 3, 2.5e-9, 123456789.125, -42.0, 1e300, Largest, -Largest,
                     std::numeric_limits<double>::denorm_min()}) {
        double Back = 0;
        ASSERT_TRUE(TryFileStrToFloat(FloatToStrGeneral(V), Back));
        EXPECT_NEAR(Back, V, std::fabs(V) * 1e-14);
    }
}

// What the user types is read with the user's locale, strictly: group
// separators only where they group, nothing around the number but blanks.
TEST(NumberFormat, TypedNumbersFollowTheLocaleStrictly) {
    const double No = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* Text;
        // C, en_US, de_DE, nl_NL; NaN where the text is no number
        double Values[4];
    } Cases[] = {
        {"1,5", {No, No, 1.5, 1.5}},
        {"1,500", {1500, 1500, 1.5, 1.5}},
        {"1.5", {1.5, 1.5, No, No}},
        {"1.500", {1.5, 1.5, 1500, 1500}},
        {"0,12", {No, No, 0.12, 0.12}},
        {"2x5", {No, No, No, No}},
        {"  3 ", {3, 3, 3, 3}},
        {"-", {No, No, No, No}},
        {"1e3", {1000, 1000, 1000, 1000}},
        {"", {No, No, No, No}},
        {"1,000,000", {1e6, 1e6, No, No}},
        {"1.500,25", {No, No, 1500.25, 1500.25}},
        {"12abc", {No, No, No, No}},
        {"inf", {No, No, No, No}},
        {"-0,5", {No, No, -0.5, -0.5}},
    };
    const QList<QLocale> Locales = TestLocales();
    for (int L = 0; L < Locales.size(); ++L) {
        TLocaleGuard Guard(Locales[L]);
        for (const auto& C : Cases) {
            double V = -12345;
            const bool Ok = TryTypedStrToFloat(QString::fromLatin1(C.Text), V);
            const double Expected = C.Values[L];
            EXPECT_EQ(Ok, !std::isnan(Expected))
                << C.Text << " in " << Locales[L].name().toStdString();
            if (Ok && !std::isnan(Expected)) {
                EXPECT_DOUBLE_EQ(V, Expected) << C.Text;
            }
        }
    }
}

// A typed number goes into a text cell without what only groups its digits,
// so that the file reads it as the same number under every locale.
TEST(NumberFormat, TypedNumbersAreKeptWithoutGrouping) {
    {
        TLocaleGuard English(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(TypedNumberText(" 1,500.25 "), "1500.25");
        EXPECT_EQ(TypedNumberText("12.50"), "12.50");
        EXPECT_EQ(TypedNumberText("1,5"), "1,5"); // no number: unchanged
    }
    {
        TLocaleGuard German(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(TypedNumberText("1.500,25"), "1500,25");
        double V = 0;
        ASSERT_TRUE(TryFileStrToFloat(TypedNumberText("1.500,25"), V));
        EXPECT_EQ(V, 1500.25);
    }
}

// Locales that read digits of their own script keep them out of a cell:
// files have ASCII digits only, and the cell reads as the number typed.
TEST(NumberFormat, TypedDigitsOfEveryScriptAreKeptInAscii) {
    const QLocale Arabic(QLocale::Arabic, QLocale::Egypt);
    const QLocale Persian(QLocale::Persian, QLocale::Iran);
    const QString Sep = QString(ArabicSeparator);
    const struct {
        QLocale Locale;
        QString Typed;
        QString Kept;
        double Value;
    } Cases[] = {
        {Arabic, QString::fromUtf8("١٬٢٣٤٫٥٠"), "1234" + Sep + "50", 1234.5},
        {Arabic, QString::fromUtf8(" ٠٫٠٥ "), "0" + Sep + "05", 0.05},
        {Arabic, QString::fromUtf8("-٣٫٥"), "-3" + Sep + "5", -3.5},
        {Arabic, "12" + Sep + "5", "12" + Sep + "5", 12.5},
        {Persian, QString::fromUtf8("۲۰۱۰"), "2010", 2010},
        // Digits beyond 16 bits, each two characters of the text.
        {QLocale(QLocale::Chakma), QString::fromUtf8("𑄷𑄸.𑄻"), "12.5", 12.5},
    };
    for (const auto& C : Cases) {
        TLocaleGuard Guard(C.Locale);
        const std::string Name = C.Locale.name().toStdString() + " " + C.Typed.toStdString();
        EXPECT_EQ(TypedCellToFloat(C.Typed), C.Value) << Name;
        const QString Kept = TypedNumberText(C.Typed);
        EXPECT_EQ(Kept, C.Kept) << Name;
        EXPECT_EQ(CellToFloat(Kept), C.Value) << Name;
    }
}

TEST_P(SeparatorTest, CellNumbers) {
    // Cells as they are kept: the file rule, empty and "-" reading as 0.
    EXPECT_DOUBLE_EQ(CellToFloat(""), 0);
    EXPECT_DOUBLE_EQ(CellToFloat("  "), 0);
    EXPECT_DOUBLE_EQ(CellToFloat("-"), 0);
    EXPECT_DOUBLE_EQ(CellToFloat(" 1.50 "), 1.5);
    EXPECT_DOUBLE_EQ(CellToFloat("1,50"), 1.5);
    EXPECT_DOUBLE_EQ(CellToFloat("1e3"), 1000);
    EXPECT_DOUBLE_EQ(CellToFloat(" (12,5) "), -12.5);
    // Cells the program writes itself, as the scenario dialogs do.
    EXPECT_DOUBLE_EQ(CellToFloat(FormatFloatKept(12.3456)), 12.3456);
    EXPECT_DOUBLE_EQ(CellToFloat(FormatFloatSignificant(0.05 / 9)), 0.00556);
    EXPECT_DOUBLE_EQ(CellToFloat("(" + FormatFloat2(12.5) + ")"), -12.5);
    for (const char* Bad : {"1..2", "abc", "1e", "--", "1-2", "12 apples", "$40", "1,234.5", "()"})
        EXPECT_THROW(CellToFloat(Bad), ECorvinalError) << Bad;
    try {
        CellToFloat("1.2.3");
        FAIL();
    } catch (const ECorvinalError& E) {
        EXPECT_STREQ(E.what(), "Cell does not contain a float value");
    }
    // Cells just typed: the user's locale.
    EXPECT_DOUBLE_EQ(TypedCellToFloat(""), 0);
    EXPECT_DOUBLE_EQ(TypedCellToFloat(" - "), 0);
    EXPECT_DOUBLE_EQ(TypedCellToFloat(WithSep("2.25", Sep())), 2.25);
    const QString Other = Sep() == QLatin1Char('.') ? "2,25" : "2.25";
    try {
        TypedCellToFloat(Other);
        FAIL() << Other.toStdString();
    } catch (const ECorvinalError& E) {
        EXPECT_STREQ(E.what(), "Cell does not contain a float value");
    }
}

// Values worked out for the user keep three significant digits; values the
// user gave keep what was given, up to six decimals.
TEST_P(SeparatorTest, ValuesKeepThePrecisionTheyNeed) {
    const struct {
        double Value;
        const char* Significant;
        const char* Kept;
    } Cases[] = {
        {0.05 / 9, "0.00556", "0.005556"},
        {0.1 / 3, "0.0333", "0.033333"},
        {0.5, "0.50", "0.50"},
        {12.5, "12.50", "12.50"},
        {12.3456, "12.35", "12.3456"},
        {0.05, "0.05", "0.05"},
        {0, "0.00", "0.00"},
        {-0.0004, "-0.0004", "-0.0004"},
        {1e-9, "0.00", "0.00"},
        {1234567.891, "1234567.89", "1234567.891"},
        {0.0099999, "0.01", "0.01"},
        {-2.5, "-2.50", "-2.50"},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(FormatFloatSignificant(C.Value), WithSep(C.Significant, Sep())) << C.Significant;
        EXPECT_EQ(FormatFloatKept(C.Value), WithSep(C.Kept, Sep())) << C.Kept;
    }
}

TEST(NumberFormat, IntegerTexts) {
    const struct {
        const char* Text;
        bool Ok;
        int32_t Value;
    } Cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"-1", true, -1},
        {"+7", true, 7},
        {" 3", true, 3},
        {"\t3", true, 3},
        {"3 ", false, 0},
        {"$1F", true, 31},
        {"x1f", true, 31},
        {"X1F", true, 31},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"-$10", true, -16},
        {"$FF000019", true, int32_t(0xFF000019u)},
        {"$FFFFFFFF", true, -1},
        {"$100000000", false, 0},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, std::numeric_limits<int32_t>::min()},
        {"2147483648", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"abc", false, 0},
        {"#808080", false, 0},
        {"1.5", false, 0},
        {"08", true, 8},
    };
    for (const auto& C : Cases) {
        int32_t V = 12345;
        EXPECT_EQ(TryStrToInt(QString::fromLatin1(C.Text), V), C.Ok) << C.Text;
        if (C.Ok) {
            EXPECT_EQ(V, C.Value) << C.Text;
        }
    }
}

TEST(NumberFormat, StrToIntReportsTheText) {
    try {
        StrToInt("abc");
        FAIL();
    } catch (const ECorvinalError& E) {
        EXPECT_STREQ(E.what(), "''abc'' is not a valid integer value");
    }
}

TEST(NumberFormat, SeparatorsComeFromTheLocale) {
    TSeparatorGuard Restore(QLatin1Char('.'));
    InitFormatSettings(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(DecimalSeparator(), QLatin1Char(','));
    EXPECT_EQ(ThousandSeparator(), QLatin1Char('.'));
    EXPECT_EQ(FormatFloat2(2.5), "2,50");
    InitFormatSettings(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(DecimalSeparator(), QLatin1Char('.'));
    EXPECT_EQ(FloatToStrGeneral(2.5), "2.5");
}

// The toolkit sets the C runtime to the user's locale; reading and writing
// numbers must not depend on it.
TEST(NumberFormat, TheCRuntimeLocaleDoesNotMatter) {
    const std::string Old = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine";
    for (const QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        double V = 0;
        EXPECT_TRUE(TryFileStrToFloat("2.5", V));
        EXPECT_EQ(V, 2.5);
        EXPECT_TRUE(TryFileStrToFloat("2,5", V));
        EXPECT_EQ(V, 2.5);
        EXPECT_EQ(CellToFloat("1.5"), 1.5);
        EXPECT_EQ(FloatToStrGeneral(2.5), WithSep("2.5", Sep));
        EXPECT_EQ(FormatFloat2(2.5), WithSep("2.50", Sep));
    }
    std::setlocale(LC_NUMERIC, Old.c_str());
}

TEST(NumberFormat, NonFiniteValuesHaveTexts) {
    EXPECT_EQ(FloatToStrGeneral(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FloatToStrGeneral(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FormatFloat2(std::numeric_limits<double>::infinity()), "INF");
}

} // namespace
