#include "forms/controls/FieldFocus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace vorlu::controls {

namespace {
// A focus change from one control to another, as opposed to the window or a popup taking it.
bool movesBetweenControls(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
        && reason != Qt::MenuBarFocusReason;
}
} // namespace

bool FieldFocus::enter(const QFocusEvent& event)
{
    if (takingBack_)
        return false;
    // Still inside: the window came back or a popup closed. A move into a field that thinks it
    // is inside means the focus went elsewhere while the window was inactive: a new entry.
    if (inside_ && !movesBetweenControls(event.reason()))
        return false;
    inside_ = true;
    return true;
}

bool FieldFocus::leaving(const QFocusEvent& event, const QWidget& field) const
{
    // A field that was never entered can still see a focus-out: Qt sends one to the control
    // that was about to get the focus when the field it left takes the focus back.
    if (!inside_ || !movesBetweenControls(event.reason()))
        return false;
    // The list of an open drop-down takes the focus with an ordinary move; so would another
    // window. Only a control of the field's own window is "another control".
    const QWidget* next = QApplication::focusWidget();
    return next && next->window() == field.window();
}

} // namespace vorlu::controls
