#include "forms/controls/LineField.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <memory>

namespace vorlu::controls {

bool isTypedText(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar ch : text) {
        if (!ch.isPrint())
            return false;
    }
    return true;
}

QAction* standardMenuAction(const QMenu& menu, const char* objectName, const char* caption)
{
    const QString translated = QCoreApplication::translate("QLineEdit", caption);
    for (QAction* action : menu.actions()) {
        if (action->objectName() == QLatin1String(objectName)
            || (!action->isSeparator() && action->text().section(u'\t', 0, 0) == translated))
            return action;
    }
    return nullptr;
}

LineField::LineField(QWidget* parent)
    : QLineEdit(parent)
{
    // A drop would put text in behind the filter's back; nothing on the screen is dragged.
    setAcceptDrops(false);
}

void LineField::insertTyped(const QString& text)
{
    if (!isReadOnly() && !text.isEmpty())
        insert(text);
}

bool LineField::editKey(QKeyEvent&)
{
    return false;
}

void LineField::adjustContextMenu(QMenu&) {}

void LineField::pasteTyped()
{
    if (!isReadOnly())
        insertTyped(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
}

void LineField::keyPressEvent(QKeyEvent* event)
{
    event->ignore();
    emit keyDown(event);
    if (event->isAccepted())
        return;
    event->accept();

    if (editKey(*event))
        return;
    if (event->matches(QKeySequence::Paste)) {
        pasteTyped();
        return;
    }
    // Ctrl alone makes a shortcut, which the line edit never types; Ctrl with Alt is AltGr on
    // Windows, which does type. Every other printable key text is typed.
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shortcut = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (!shortcut && isTypedText(event->text())) {
        insertTyped(event->text());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LineField::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The composition is ended without its text, which then takes the typed road.
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&rest);
    insertTyped(event->commitString());
}

void LineField::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (QAction* paste = standardMenuAction(*menu, "edit-paste", "&Paste")) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this, &LineField::pasteTyped);
    }
    adjustContextMenu(*menu);
    menu->exec(event->globalPos());
}

void LineField::mouseReleaseEvent(QMouseEvent* event)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        // The X11 selection paste, at the place clicked.
        if (!isReadOnly()) {
            deselect();
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            insertTyped(clipboard->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void LineField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (focus_.enter(*event)) {
        onEntered();
        emit entered();
    }
}

void LineField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!focus_.leaving(*event, *this))
        return;
    if (!canExit()) {
        focus_.takeBack([this] { setFocus(Qt::OtherFocusReason); });
        emit exitRefused();
        return;
    }
    focus_.left();
    emit exited();
}

} // namespace vorlu::controls
