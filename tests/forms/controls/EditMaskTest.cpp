#include "forms/controls/EditMask.h"
#include "forms/controls/MaskEdit.h"

#include <gtest/gtest.h>

using vorlu::controls::EditMask;
using vorlu::controls::MaskEdit;

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

TEST(EditMask, PhoneShapeAndForms)
{
    const EditMask phone(MaskEdit::kPhoneMask);
    ASSERT_EQ(phone.length(), 14);
    EXPECT_EQ(s(phone.emptyEditText()), "(__) ____-____");
    EXPECT_EQ(s(phone.emptyText()), "(  )     -    ");
    // The area code is optional, the number required.
    EXPECT_FALSE(phone.isRequired(1));
    EXPECT_FALSE(phone.isRequired(2));
    for (int pos : {5, 6, 7, 8, 10, 11, 12, 13})
        EXPECT_TRUE(phone.isRequired(pos)) << pos;
    for (int pos : {0, 3, 4, 9})
        EXPECT_TRUE(phone.isLiteral(pos)) << pos;
}

TEST(EditMask, PostalCodeShapeAndForms)
{
    const EditMask cep(MaskEdit::kPostalCodeMask);
    ASSERT_EQ(cep.length(), 10);
    EXPECT_EQ(s(cep.emptyEditText()), "__.___-___");
    EXPECT_EQ(s(cep.emptyText()), "  .   -   ");
    EXPECT_EQ(cep.firstMissing(cep.emptyEditText()), 0);
}

TEST(EditMask, TextHasABlankForEachUnfilledPosition)
{
    const EditMask phone(MaskEdit::kPhoneMask);
    EXPECT_EQ(s(phone.textFromEdit("(11) 5555-1234")), "(11) 5555-1234");
    EXPECT_EQ(s(phone.textFromEdit("(__) 5555-1234")), "(  ) 5555-1234");
    EXPECT_EQ(s(phone.textFromEdit("(1_) 55_5-1234")), "(1 ) 55 5-1234");
}

TEST(EditMask, LiteralsDroppedWhenNotSaved)
{
    const EditMask mask("00\\.000;0;*");
    EXPECT_EQ(s(mask.emptyEditText()), "**.***");
    EXPECT_EQ(s(mask.textFromEdit("12.3**")), "123  ");
    EXPECT_TRUE(mask.fits("123  "));
    EXPECT_EQ(s(mask.editFromText("123  ")), "12.3**");
}

struct FitCase {
    const char* text;
    bool fits;
    const char* edit; // what the field shows for it
};

class PhoneText : public ::testing::TestWithParam<FitCase> {};

TEST_P(PhoneText, ShownPositionByPositionWhenItFits)
{
    const EditMask phone(MaskEdit::kPhoneMask);
    EXPECT_EQ(phone.fits(GetParam().text), GetParam().fits);
    EXPECT_EQ(s(phone.editFromText(GetParam().text)), GetParam().edit);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhoneText,
    ::testing::Values(FitCase{"", true, "(__) ____-____"},                  // NULL column: the empty form
                      FitCase{"(  )     -    ", true, "(__) ____-____"},
                      FitCase{"(11) 5555-1234", true, "(11) 5555-1234"},
                      FitCase{"( 1) 5555-1234", true, "(_1) 5555-1234"}, // nothing shifts
                      FitCase{"(11) 5555-    ", true, "(11) 5555-____"},
                      FitCase{"11 5555-1234", false, "(11) 5555-1234"},  // another shape
                      FitCase{"(11) 95555-1234", false, "(11) 9555-5123"},
                      FitCase{"(AB) 5555-1234", false, "(55) 5512-34__"}));

TEST(EditMask, FirstMissingRequiredPosition)
{
    const EditMask phone(MaskEdit::kPhoneMask);
    EXPECT_EQ(phone.firstMissing("(__) ____-____"), 5);
    EXPECT_EQ(phone.firstMissing("(__) 5555-1234"), -1); // the area code may stay empty
    EXPECT_EQ(phone.firstMissing("(11) 5555-123_"), 13);
    EXPECT_EQ(phone.firstMissing("(11) 55_5-1234"), 7);
    const EditMask cep(MaskEdit::kPostalCodeMask);
    EXPECT_EQ(cep.firstMissing("12.345-67_"), 9);
    EXPECT_EQ(cep.firstMissing("12.345-678"), -1);
}

TEST(EditMask, OtherKindsOfPosition)
{
    const EditMask mask("LlAaCc#;1;_");
    EXPECT_TRUE(mask.accepts(0, u'x'));
    EXPECT_FALSE(mask.accepts(0, u'1'));
    EXPECT_TRUE(mask.accepts(2, u'1'));
    EXPECT_FALSE(mask.accepts(2, u'-'));
    EXPECT_TRUE(mask.accepts(4, u'-'));
    EXPECT_TRUE(mask.accepts(6, u'-'));
    EXPECT_FALSE(mask.accepts(6, u'x'));
    EXPECT_EQ(mask.firstMissing("x_1_-__"), -1);
    EXPECT_EQ(mask.firstMissing("x___-__"), 2);
}

} // namespace
