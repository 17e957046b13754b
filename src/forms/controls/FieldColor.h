#pragma once

#include <QColor>

class QWidget;

namespace vorlu::controls {

// A field's background colour (its `Color`), whatever kind of field it is: the base of an edit
// or memo, the face of a pick list.
void setFieldColor(QWidget* field, const QColor& color);
QColor fieldColor(const QWidget* field);

} // namespace vorlu::controls
