#pragma once

#include <QString>

namespace vorlu::controls {

// The integer field's character filter: the digits 0 to 9 anywhere, a "+" or "-" only as the
// first character and only while the text has no sign.
//
// Typing: `before` and `after` are the text either side of the place typed into (a selection
// already taken out); returns the characters of `typed` that pass, in order, each judged as if
// typed after the ones before it.
QString filterIntegerTyping(const QString& before, const QString& typed, const QString& after);

// Text put in by the program passes the same filter, as if typed into an empty field.
QString filterIntegerText(const QString& text);

// The field's value: its text read as a 32-bit whole number; 0 when it is not one (empty, a sign
// alone, out of range, or a program-set text the filter never saw).
int integerValue(const QString& text);

} // namespace vorlu::controls
