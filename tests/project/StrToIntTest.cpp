#include "project/StrToInt.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>
#include <limits>

using project::StrToInt;
using project::TryStrToInt;

namespace {

struct Conversion {
    const char *text;
    std::optional<qint32> expected;
};

constexpr qint32 Min32 = std::numeric_limits<qint32>::min();
constexpr qint32 Max32 = std::numeric_limits<qint32>::max();

const Conversion Conversions[] = {
    // Decimal, signs and leading spaces.
    {"0", 0},
    {"42", 42},
    {"  17", 17},
    {"+5", 5},
    {"-5", -5},
    {"   -0", 0},
    {"000000000000000000012", 12},
    {"2147483647", Max32},
    {"-2147483648", Min32},
    {"+2147483647", Max32},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999999", std::nullopt},
    // Hexadecimal: a 32-bit pattern taken as signed, sign applied afterwards.
    {"$FF", 255},
    {"$ff", 255},
    {"$aBc", 0xABC},
    {"$FF000005", -16777211},
    {"$80000000", Min32},
    {"$7FFFFFFF", Max32},
    {"$FFFFFFFF", -1},
    {"$0000000001", 1},
    {"$100000000", std::nullopt},
    {"-$10", -16},
    {"+$10", 16},
    {" $10", 16},
    // Everything else fails.
    {"", std::nullopt},
    {" ", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"$", std::nullopt},
    {"-$", std::nullopt},
    {"12 ", std::nullopt},
    {"1 2", std::nullopt},
    {"- 1", std::nullopt},
    {"$ 1", std::nullopt},
    {"$-1", std::nullopt},
    {"--1", std::nullopt},
    {"\t1", std::nullopt},
    {"1e3", std::nullopt},
    {"0x10", std::nullopt},
    {"$1G", std::nullopt},
    {"12a", std::nullopt},
    {"1.0", std::nullopt},
};

TEST(StrToIntTest, SyntaxTable) {
    for (const auto &c : Conversions) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TryStrToInt(QString::fromLatin1(c.text)), c.expected);
    }
}

TEST(StrToIntTest, NonAsciiDigitsAreRejected) {
    // U+0663 is an Arabic-Indic digit three: a digit to Unicode, not to the file format.
    EXPECT_EQ(TryStrToInt(QString::fromUtf8("\u0663")), std::nullopt);
    EXPECT_EQ(TryStrToInt(QString::fromUtf8("\uFF11")), std::nullopt); // fullwidth 1
}

TEST(StrToIntTest, StrToIntReturnsValueOrRaisesWithQuotedTextAndLine) {
    EXPECT_EQ(StrToInt(QStringLiteral(" -$10"), 1), -16);

    const struct {
        const char *text;
        int line;
        const char *message;
    } failures[] = {
        {"12a", 14, "'12a' is not a valid integer value (line 14)"},
        {"", 3, "'' is not a valid integer value (line 3)"},
        {" 7 ", 1, "' 7 ' is not a valid integer value (line 1)"},
        // A placeholder in the text must come out verbatim.
        {"%1%2", 9, "'%1%2' is not a valid integer value (line 9)"},
    };
    for (const auto &f : failures) {
        SCOPED_TRACE(f.text);
        try {
            StrToInt(QString::fromLatin1(f.text), f.line);
            ADD_FAILURE() << "no exception";
        } catch (const platform::EConvertError &e) {
            EXPECT_EQ(e.Message, QString::fromLatin1(f.message));
        }
    }
}

} // namespace
