#pragma once

#include "forms/controls/LineField.h"

#include <optional>

namespace vorlu::controls {

// A whole-number field (code, age, weight). It takes the digits and one leading sign (see
// IntegerText.h); control keys such as Backspace always pass. Its value is its text read as a
// whole number, 0 when the text is not one. With `ZeroEmpty`, a value of 0 put in by the program
// is shown as an empty field.
//
// setText() hides QLineEdit::setText: text the program puts in passes the character filter.
// Called through a QLineEdit pointer it would not.
class IntegerEdit : public LineField {
    Q_OBJECT
public:
    explicit IntegerEdit(QWidget* parent = nullptr);

    // Program text, through the filter ("72,5" shows "725"); a text whose value is 0 shows empty
    // with `ZeroEmpty`.
    void setText(const QString& text);
    void setValue(int value);
    int value() const;

    void setZeroEmpty(bool on) { zeroEmpty_ = on; }
    bool ZeroEmpty() const { return zeroEmpty_; }

    // A number the program read that may have a fractional part (a weight another module wrote):
    // a whole number is shown as setValue() shows it; any other is shown as it is, in the
    // locale's notation ("72,5"), not through the filter. number() then gives that number back
    // exactly until the user edits the field.
    void setNumber(double number);
    // The number the field holds: the program's number while the user has not edited it since
    // setNumber(), otherwise value().
    double number() const;
    // True while a number with a fractional part that the program set is shown untouched; its
    // text is then not a whole number, so whoever saves the field must save number().
    bool holdsFraction() const;

protected:
    void insertTyped(const QString& text) override;

private:
    bool zeroEmpty_ = false;
    std::optional<double> fraction_;
};

} // namespace vorlu::controls
