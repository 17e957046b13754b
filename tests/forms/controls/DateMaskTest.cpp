#include "forms/controls/DateMask.h"

#include <gtest/gtest.h>

using namespace vorlu::controls;

namespace {

struct LayoutCase {
    const char* format;
    const char* editMask;
    const char* shown; // 15 March 2024
};

class DateLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(DateLayout, FollowsTheFormatWithAFourDigitYear)
{
    const DateMask mask = DateMask::fromFormat(GetParam().format);
    EXPECT_EQ(mask.editMask().toStdString(), GetParam().editMask);
    EXPECT_EQ(mask.format(QDate(2024, 3, 15)).toStdString(), GetParam().shown);
    EXPECT_EQ(mask.parse(GetParam().shown), QDate(2024, 3, 15));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateLayout,
    ::testing::Values(LayoutCase{"dd/MM/yyyy", "99\\/99\\/9999;1;_", "15/03/2024"},
                      LayoutCase{"M/d/yy", "99\\/99\\/9999;1;_", "03/15/2024"},
                      LayoutCase{"dd.MM.yy", "99\\.99\\.9999;1;_", "15.03.2024"},
                      LayoutCase{"yyyy-MM-dd", "9999\\-99\\-99;1;_", "2024-03-15"},
                      LayoutCase{"d 'de' MMM 'de' yyyy", "99\\ \\d\\e\\ 99\\ \\d\\e\\ 9999;1;_", "15 de 03 de 2024"},
                      // No year in it: the Brazilian layout.
                      LayoutCase{"dd/MM", "99\\/99\\/9999;1;_", "15/03/2024"}));

TEST(DateMask, FromTheLocalesShortFormat)
{
    EXPECT_EQ(DateMask::fromLocale(QLocale(QLocale::Portuguese, QLocale::Brazil)).format(QDate(2024, 3, 5)).toStdString(),
              "05/03/2024");
    EXPECT_EQ(DateMask::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates)).format(QDate(2024, 3, 5)).toStdString(),
              "03/05/2024");
}

struct ParseCase {
    const char* text;
    QDate date; // invalid: reads as no date
};

class DateText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateText, ImpossibleOrIncompleteIsNoDate)
{
    EXPECT_EQ(DateMask::fromFormat("dd/MM/yyyy").parse(GetParam().text), GetParam().date) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, DateText,
                         ::testing::Values(ParseCase{"29/02/2000", QDate(2000, 2, 29)},
                                           ParseCase{"31/12/1899", QDate(1899, 12, 31)},
                                           ParseCase{"31/02/2000", QDate()},
                                           ParseCase{"29/02/1900", QDate()},
                                           ParseCase{"00/01/2000", QDate()},
                                           ParseCase{"01/13/2000", QDate()},
                                           ParseCase{"01/01/0000", QDate()},
                                           ParseCase{"15/03/202 ", QDate()},
                                           ParseCase{" 5/03/2024", QDate()},
                                           ParseCase{"  /  /    ", QDate()},
                                           ParseCase{"", QDate()}));

TEST(DateMask, YearsOutsideFourDigitsAreNotShown)
{
    const DateMask mask = DateMask::fromFormat("dd/MM/yyyy");
    EXPECT_EQ(mask.format(QDate(10000, 1, 1)).toStdString(), "");
    EXPECT_EQ(mask.format(QDate()).toStdString(), "");
}

TEST(DateTimeOfDates, DaysSinceThe30thOfDecember1899)
{
    EXPECT_EQ(dateTimeFromDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(dateTimeFromDate(QDate(2000, 1, 1)), 36526.0);
    EXPECT_EQ(dateTimeFromDate(QDate(2024, 3, 15)), 45366.0);
    EXPECT_EQ(dateTimeFromDate(QDate(1899, 12, 29)), -1.0);
    EXPECT_EQ(dateTimeFromDate(QDate()), 0.0);

    EXPECT_EQ(dateFromDateTime(45366.75), QDate(2024, 3, 15)); // the time of day plays no part
    EXPECT_EQ(dateFromDateTime(-1.5), QDate(1899, 12, 29));    // noon of the day before day 0
    EXPECT_FALSE(dateFromDateTime(0.0).isValid());
}

} // namespace
