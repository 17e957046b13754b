#include "forms/controls/IntegerEdit.h"

#include "forms/controls/IntegerText.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace vorlu::controls {

IntegerEdit::IntegerEdit(QWidget* parent)
    : LineField(parent)
{
    // Digits and signs come from the keyboard; a composing input method has nothing to add.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void IntegerEdit::setText(const QString& text)
{
    fraction_.reset();
    QString shown = filterIntegerText(text);
    if (zeroEmpty_ && integerValue(shown) == 0)
        shown.clear();
    QLineEdit::setText(shown);
}

void IntegerEdit::setValue(int value)
{
    setText(QString::number(value));
}

int IntegerEdit::value() const
{
    return integerValue(QLineEdit::text());
}

void IntegerEdit::setNumber(double number)
{
    const bool whole = std::isfinite(number) && std::trunc(number) == number
        && number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
    if (whole) {
        setValue(static_cast<int>(number));
        return;
    }
    QLineEdit::setText(QLocale().toString(number, 'g', QLocale::FloatingPointShortest));
    fraction_ = number;
}

double IntegerEdit::number() const
{
    return holdsFraction() ? *fraction_ : value();
}

bool IntegerEdit::holdsFraction() const
{
    // Any edit by the user sets the line edit's modified flag; only setText clears it.
    return fraction_.has_value() && !isModified();
}

void IntegerEdit::insertTyped(const QString& text)
{
    const QString current = QLineEdit::text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    const QString passed = filterIntegerTyping(current.left(start), text, current.mid(end));
    LineField::insertTyped(passed);
}

} // namespace vorlu::controls
