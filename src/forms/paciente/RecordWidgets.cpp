#include "forms/paciente/RecordWidgets.h"

#include "forms/controls/PickList.h"

#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

namespace vorlu::forms::paciente {

ColorHolder::ColorHolder(const QString& name, const QColor& colour, QWidget* parent)
    : QWidget(parent), colour_(colour)
{
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void setFieldReadOnly(QWidget* field, bool on)
{
    if (auto* line = qobject_cast<QLineEdit*>(field))
        line->setReadOnly(on);
    else if (auto* pick = qobject_cast<controls::PickList*>(field))
        pick->setReadOnly(on);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(field))
        memo->setReadOnly(on);
}

bool isFieldReadOnly(const QWidget* field)
{
    if (auto* line = qobject_cast<const QLineEdit*>(field))
        return line->isReadOnly();
    if (auto* pick = qobject_cast<const controls::PickList*>(field))
        return pick->isReadOnly();
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(field))
        return memo->isReadOnly();
    return false;
}

void FrameShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const int w = width();
    const int h = height();
    painter.drawRect(0, 0, w, 2);
    painter.drawRect(0, h - 2, w, 2);
    painter.drawRect(0, 0, 2, h);
    painter.drawRect(w - 2, 0, 2, h);
}

} // namespace vorlu::forms::paciente
