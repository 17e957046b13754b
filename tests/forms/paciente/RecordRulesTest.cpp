// The record screen's rules that need no window: the age, the code conversion, the statement
// texts and the checks of a text against its column.

#include "forms/paciente/PatientStatements.h"
#include "forms/paciente/RecordRules.h"

#include "data/DatabaseError.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>

using namespace vorlu::forms::paciente;

namespace {

// Days since 30 December 1899, as the program's date-time counts them.
double dateOf(int year, int month, int day)
{
    // 1 March based day count (civil calendar), shifted to the program's epoch.
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = (month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return double(era * 146097 + doe - 719468 + 25569);
}

} // namespace

TEST(RecordRules, DateTimeEpochAndCalendar)
{
    EXPECT_EQ(dateOf(1899, 12, 30), 0.0);
    const CalendarDate leap = calendarDate(dateOf(2000, 2, 29) + 0.75);
    EXPECT_EQ(leap.year, 2000);
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
}

struct AgeCase {
    const char* name;
    int by, bm, bd; // birth
    int ry, rm, rd; // reference
    int age;
};

class AgeTable : public ::testing::TestWithParam<AgeCase> {};

TEST_P(AgeTable, WholeYearsByMonthAndDay)
{
    const AgeCase& c = GetParam();
    // Times of day play no part: a birth at 23:00 and a reference just after midnight. Before
    // the epoch the day is the integral part and the time its fraction away from zero.
    const double birth = dateOf(c.by, c.bm, c.bd);
    EXPECT_EQ(ageInWholeYears(birth + (birth < 0 ? -0.96 : 0.96), dateOf(c.ry, c.rm, c.rd) + 0.01), c.age);
}

INSTANTIATE_TEST_SUITE_P(Ages, AgeTable,
                         ::testing::Values(AgeCase{"birthday", 2000, 3, 15, 2024, 3, 15, 24},
                                           AgeCase{"dayBeforeBirthday", 2000, 3, 16, 2024, 3, 15, 23},
                                           AgeCase{"monthBeforeBirthday", 2000, 4, 14, 2024, 3, 15, 23},
                                           AgeCase{"monthAfterBirthday", 2000, 1, 10, 2024, 3, 15, 24},
                                           AgeCase{"bornToday", 2024, 3, 15, 2024, 3, 15, 0},
                                           AgeCase{"bornTomorrow", 2024, 3, 16, 2024, 3, 15, -1},
                                           AgeCase{"leapBirthdayBefore", 2000, 2, 29, 2023, 2, 28, 22},
                                           AgeCase{"leapBirthdayAfter", 2000, 2, 29, 2023, 3, 1, 23},
                                           AgeCase{"beforeTheEpoch", 1890, 6, 1, 1950, 6, 1, 60}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordRules, EmptyBirthDateHasNoAge)
{
    EXPECT_EQ(ageInWholeYears(0, dateOf(2024, 3, 15)), 0);
}

TEST(RecordRules, StrToInt)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    for (const char* bad : {"", "-", "+", "2147483648", "4a", "--1"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << bad << " was taken as a number";
        } catch (const IntegerConversionError& error) {
            EXPECT_EQ(std::string(error.what()), "'" + std::string(bad) + "' não é um valor Inteiro válido");
        }
    }
}

TEST(RecordRules, StatementTexts)
{
    EXPECT_EQ(std::string(kLoadByCode), "SELECT * FROM PACIENTES WHERE PAC_COD__ = :PAC_COD__;");
    EXPECT_EQ(std::string(kNextCode), "SELECT MAX(PAC_COD__) AS CODIGO FROM PACIENTES");
    EXPECT_EQ(stubInsertStatement(42), "INSERT INTO PACIENTES (PAC_COD__) VALUES (42)");
    EXPECT_EQ(stubInsertStatement(-3), "INSERT INTO PACIENTES (PAC_COD__) VALUES (-3)");
    EXPECT_EQ(consultationGuardStatement("17"), "SELECT CON_COD__ FROM CONSULTAS WHERE CON_PAC__ = 17");
    EXPECT_EQ(deleteStatement("17"), "DELETE FROM PACIENTES WHERE PAC_COD__ = 17");
    EXPECT_EQ(duplicateCodeStatement("41", "D'ÁVILA"),
              "SELECT PAC_NOM__ FROM PACIENTES WHERE PAC_COD__ = 41AND PAC_NOM__ <> 'D''ÁVILA'");
    EXPECT_EQ(quotedString("''"), "''''''");

    const auto update = updateStatement(42);
    ASSERT_EQ(update.size(), 9u);
    EXPECT_EQ(update[3], "PAC_CID__ = :PAC_CID__, PAC_UF__  = :PAC_UF__ , PAC_BAI__ = :PAC_BAI__,");
    EXPECT_EQ(update[8], "WHERE PAC_COD__ = 42");
    std::string all;
    for (const auto& line : update)
        all += line + "\n";
    EXPECT_EQ(all.find("PAC_OBS__"), std::string::npos) << "the clinical record is never written";
    // Every bound parameter appears in the text, once.
    for (const char* name : updateParameterOrder()) {
        const std::string parameter = ":" + std::string(name);
        EXPECT_NE(all.find(parameter), std::string::npos) << name;
        EXPECT_EQ(all.find(parameter), all.rfind(parameter)) << name;
    }
    EXPECT_EQ(updateParameterOrder().size(), 20u);
}

TEST(RecordRules, NumberParameterTextReadsBackExactly)
{
    for (double value : {72.5, 72.45, 0.1, 1e10, 72.0, 1.0 / 3.0}) {
        const std::string text = numberParameterText(value);
        EXPECT_EQ(text.find(','), std::string::npos) << text;
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, value) << text;
    }
}

TEST(RecordRules, ColumnTextProblems)
{
    EXPECT_FALSE(columnTextProblem(std::string(100, 'A'), 100, "\"Nome\""));
    // Accented letters are one character each in the column.
    EXPECT_FALSE(columnTextProblem("JOSÉ" + std::string(96, 'A'), 100, "\"Nome\""));
    EXPECT_FALSE(columnTextProblem("€ ŠŽ œ", 10, "\"Nome\"")) << "Windows-1252 holds these";
    EXPECT_EQ(columnTextProblem(std::string(101, 'A'), 100, "\"Nome\""),
              "O campo \"Nome\" aceita no máximo 100 caracteres e o texto informado tem 101; encurte-o para gravar");
    EXPECT_EQ(columnTextProblem("AŁB", 100, "\"Nome\""),
              "O caractere \"Ł\" do campo \"Nome\" não pode ser gravado no Banco de Dados; apague-o ou troque-o por "
              "outro");
    EXPECT_TRUE(columnTextProblem("🙂", 0, "\"Obs. Cadastral\"")) << "no width, still Windows-1252";
    EXPECT_FALSE(columnTextProblem(std::string(100000, 'A'), 0, "\"Obs. Cadastral\""));
}

TEST(RecordRules, ConnectionLossCodes)
{
    using vorlu::data::DatabaseError;
    EXPECT_TRUE(isConnectionLoss(DatabaseError("x", {335544721, 335544726}, -902)));
    EXPECT_TRUE(isConnectionLoss(DatabaseError("x", {335544741}, -902)));
    EXPECT_FALSE(isConnectionLoss(DatabaseError("x", {335544665}, -803))) << "a unique-key violation";
    EXPECT_FALSE(isConnectionLoss(DatabaseError("x", {335544345}, -901))) << "a lock conflict";
}
