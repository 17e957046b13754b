#pragma once

#include <QString>

namespace vorlu::controls {

// What a field does to the letters typed into it (the `CharCase` of an edit or memo). Text the
// program puts into the field is never converted: a stored value is shown as it is.
enum class CharCase { Normal, Upper, Lower };

// The text with each letter converted, one character for one (so a typed "ß" stays "ß" instead
// of growing into "SS" and moving the cursor).
QString applyCharCase(const QString& text, CharCase charCase);

} // namespace vorlu::controls
