#include "forms/controls/TextEdit.h"

namespace vorlu::controls {

TextEdit::TextEdit(QWidget* parent)
    : LineField(parent)
{
}

void TextEdit::insertTyped(const QString& text)
{
    LineField::insertTyped(applyCharCase(text, charCase_));
}

} // namespace vorlu::controls
