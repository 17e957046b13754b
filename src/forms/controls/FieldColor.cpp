#include "forms/controls/FieldColor.h"

#include <QPalette>
#include <QWidget>

namespace vorlu::controls {

void setFieldColor(QWidget* field, const QColor& color)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, color);
    // A closed drop-down list paints its face with the button colour.
    palette.setColor(QPalette::Button, color);
    field->setPalette(palette);
}

QColor fieldColor(const QWidget* field)
{
    return field->palette().color(QPalette::Base);
}

} // namespace vorlu::controls
