#pragma once

#include "forms/controls/FieldFocus.h"

#include <QLineEdit>

class QAction;
class QMenu;

namespace vorlu::controls {

// Base of the single-line fields. Every text the user puts in (typed, pasted with the keyboard,
// the context menu or the middle button, committed by an input method) takes one road,
// insertTyped(), so a field's filter or case conversion cannot be side-stepped. Drops are not
// taken. It also gives the screen the enter, exit and key-down events of the field.
class LineField : public QLineEdit {
    Q_OBJECT
public:
    explicit LineField(QWidget* parent = nullptr);

    // Between an entry and an exit (see FieldFocus).
    bool isInside() const { return focus_.inside(); }

signals:
    // The focus came in from another control.
    void entered();
    // The focus went to another control (and the field let it go).
    void exited();
    // The field refused to be left and took the focus back. A button whose click moved the focus
    // should not run its command then: the user is still being told to correct the field.
    void exitRefused();
    // A key pressed in the field, before the field handles it. A handler that accepts the event
    // swallows the key; otherwise the field handles it as usual.
    void keyDown(QKeyEvent* key);

protected:
    // Puts in text the user typed or pasted, replacing the selection. The base inserts it as is.
    virtual void insertTyped(const QString& text);
    // Keys the field handles itself before the line edit does (editing keys of a masked field);
    // true when handled.
    virtual bool editKey(QKeyEvent& key);
    // Asked when the focus is leaving for another control; false keeps the focus in the field,
    // and the field has said why.
    virtual bool canExit() { return true; }
    // Called on every entry, before entered() is emitted.
    virtual void onEntered() {}
    // Lets a field rewire the standard context menu; the paste action already goes through
    // insertTyped().
    virtual void adjustContextMenu(QMenu& menu);

    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // The clipboard's text through insertTyped() (nothing when read-only).
    void pasteTyped();

private:
    FieldFocus focus_;
};

// Typed text as opposed to a control key or shortcut: printable characters only.
bool isTypedText(const QString& text);

// An action of a line edit's standard context menu: by its object name ("edit-paste") where Qt
// gives one, otherwise by its caption as the line edit translates it ("&Paste"). nullptr if absent.
QAction* standardMenuAction(const QMenu& menu, const char* objectName, const char* caption);

} // namespace vorlu::controls
