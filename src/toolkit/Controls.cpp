#include "toolkit/Controls.h"

#include <QObject>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

namespace vorlu::toolkit {

namespace {
constexpr char kTagProperty[] = "Tag";
constexpr char kWantsEnterProperty[] = "vorluWantsEnter";
} // namespace

void setTag(QObject* control, int tag)
{
    control->setProperty(kTagProperty, tag);
}

int tag(const QObject* control)
{
    return control ? control->property(kTagProperty).toInt() : 0;
}

void setTabStop(QWidget* control, bool on)
{
    const Qt::FocusPolicy policy = control->focusPolicy();
    control->setFocusPolicy(on ? Qt::FocusPolicy(policy | Qt::TabFocus | Qt::ClickFocus)
                               : Qt::FocusPolicy(policy & ~Qt::TabFocus));
}

bool isTabStop(const QWidget* control)
{
    return (control->focusPolicy() & Qt::TabFocus) != 0;
}

void setWantsEnter(QWidget* control, bool on)
{
    control->setProperty(kWantsEnterProperty, on);
}

bool wantsEnter(const QWidget* control)
{
    if (!control)
        return false;
    const QVariant own = control->property(kWantsEnterProperty);
    if (own.isValid())
        return own.toBool();
    return qobject_cast<const QTextEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control);
}

} // namespace vorlu::toolkit
