#include "forms/controls/IntegerText.h"

#include <gtest/gtest.h>

using namespace vorlu::controls;

namespace {

struct TypingCase {
    const char* before;
    const char* typed;
    const char* after;
    const char* passed;
};

class IntegerTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(IntegerTyping, PassesDigitsAndOneLeadingSign)
{
    const TypingCase& c = GetParam();
    EXPECT_EQ(filterIntegerTyping(c.before, c.typed, c.after).toStdString(), c.passed);
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerTyping,
                         ::testing::Values(TypingCase{"", "-", "5", "-"},       // sign in front of digits
                                           TypingCase{"5", "-", "", ""},        // sign after a digit
                                           TypingCase{"", "-", "-5", ""},       // text has a sign already
                                           TypingCase{"", "+", "+5", ""},
                                           TypingCase{"", "5", "-3", "5"},      // digits pass anywhere
                                           TypingCase{"1", "a2", "", "2"},      // each character on its own
                                           TypingCase{"", "-7-", "", "-7"},     // a pasted text
                                           TypingCase{"", "--7", "", "-7"},
                                           TypingCase{"", "1.000,5", "", "10005"},
                                           TypingCase{"", " 12 ", "", "12"}));

struct ValueCase {
    const char* text;
    int value;
};

class IntegerValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(IntegerValue, ReadsWholeNumbersOnly)
{
    EXPECT_EQ(integerValue(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerValue,
                         ::testing::Values(ValueCase{"", 0}, ValueCase{"-", 0}, ValueCase{"+", 0},
                                           ValueCase{"72", 72}, ValueCase{"-5", -5}, ValueCase{"+5", 5},
                                           ValueCase{"007", 7}, ValueCase{"2147483647", 2147483647},
                                           ValueCase{"2147483648", 0}, ValueCase{"-2147483648", -2147483647 - 1},
                                           ValueCase{"72,5", 0}, ValueCase{" 5", 0}, ValueCase{"5-12", 0}));

TEST(IntegerProgramText, PassesTheSameFilter)
{
    EXPECT_EQ(filterIntegerText("72,5").toStdString(), "725");
    EXPECT_EQ(filterIntegerText("+-3").toStdString(), "+3");
    EXPECT_EQ(filterIntegerText("5-").toStdString(), "5");
    EXPECT_EQ(filterIntegerText("").toStdString(), "");
}

} // namespace
