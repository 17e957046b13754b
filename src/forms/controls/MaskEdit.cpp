#include "forms/controls/MaskEdit.h"

#include "forms/controls/Beep.h"
#include "toolkit/ErrorReport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>

namespace vorlu::controls {

const QString MaskEdit::kInvalidInputMessage =
    QStringLiteral("Valor de entrada inválido. Use a tecla Esc para abandonar as alterações");
const QString MaskEdit::kPostalCodeMask = QStringLiteral("00\\.000\\-000;1;_");
const QString MaskEdit::kPhoneMask = QStringLiteral("!\\(99\\) 0000-0000;1;_");

MaskEdit::MaskEdit(QWidget* parent)
    : LineField(parent)
{
    // Masks take digits from the keyboard; a composing input method has nothing to add.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

MaskEdit::MaskEdit(const QString& mask, QWidget* parent)
    : MaskEdit(parent)
{
    setEditMask(mask);
}

void MaskEdit::setEditMask(const QString& mask)
{
    mask_ = EditMask(mask);
    setText(QString());
}

QString MaskEdit::text() const
{
    return foreign_ ? *foreign_ : mask_.textFromEdit(QLineEdit::text());
}

void MaskEdit::setText(const QString& text)
{
    if (mask_.fits(text)) {
        foreign_.reset();
        QLineEdit::setText(mask_.editFromText(text));
    } else {
        foreign_ = text;
        QLineEdit::setText(text);
    }
    // The program's text is the point of reference of the exit check and of Esc.
    entryEdit_ = QLineEdit::text();
    entryForeign_ = foreign_;
}

void MaskEdit::replaceByUser(const QString& text)
{
    if (isReadOnly())
        return;
    foreign_.reset();
    apply({mask_.editFromText(text), mask_.length()});
}

void MaskEdit::apply(const EditMask::Edit& edit)
{
    if (edit.text != QLineEdit::text()) {
        // setText is the only way in that keeps the fixed positions; it clears the modified
        // flag, which marks the user's change here.
        QLineEdit::setText(edit.text);
        setModified(true);
        emit textEdited(edit.text);
    }
    setCursorPosition(edit.cursor);
}

void MaskEdit::takeIntoMask()
{
    if (!foreign_)
        return;
    // At the end of the old text stays at the end; elsewhere the place is kept as far as it goes.
    const int cursor = cursorPosition() >= int(QLineEdit::text().size()) ? mask_.length()
                                                                          : qMin(cursorPosition(), mask_.length());
    foreign_.reset();
    QLineEdit::setText(mask_.editFromText(QLineEdit::text()));
    setCursorPosition(cursor);
}

void MaskEdit::insertTyped(const QString& text)
{
    if (isReadOnly() || text.isEmpty())
        return;
    takeIntoMask();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    const EditMask::Edit edit = mask_.type(QLineEdit::text(), start, end, text);
    apply(edit);
    // A refused key beeps; a paste takes what fits without a sound.
    if (edit.refused && text.size() == 1)
        beep();
}

void MaskEdit::eraseSelection()
{
    if (isReadOnly() || !hasSelectedText())
        return;
    takeIntoMask();
    apply(mask_.erase(QLineEdit::text(), selectionStart(), selectionEnd()));
}

void MaskEdit::cutSelection()
{
    if (isReadOnly() || !hasSelectedText())
        return;
    QGuiApplication::clipboard()->setText(selectedText());
    eraseSelection();
}

bool MaskEdit::editKey(QKeyEvent& key)
{
    if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
        if (!isModified())
            return false; // nothing to abandon; the key goes on to the window
        foreign_ = entryForeign_;
        QLineEdit::setText(entryEdit_);
        selectAll();
        return true;
    }
    if (isReadOnly())
        return false;

    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    if (key.key() == Qt::Key_Backspace && !ctrl) {
        takeIntoMask();
        if (hasSelectedText())
            eraseSelection();
        else
            apply(mask_.backspace(QLineEdit::text(), cursorPosition()));
        return true;
    }
    if (key.matches(QKeySequence::Delete)) {
        takeIntoMask();
        if (hasSelectedText())
            eraseSelection();
        else
            apply(mask_.deleteForward(QLineEdit::text(), cursorPosition()));
        return true;
    }
    if (key.matches(QKeySequence::Cut)) {
        cutSelection();
        return true;
    }
    // Editing keys that would shift the positions or step outside the mask's own history.
    if (key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo)
        || key.matches(QKeySequence::DeleteStartOfWord) || key.matches(QKeySequence::DeleteEndOfWord)
        || key.matches(QKeySequence::DeleteEndOfLine) || key.matches(QKeySequence::DeleteCompleteLine)
        || (key.key() == Qt::Key_Backspace && ctrl))
        return true;
    return false;
}

void MaskEdit::adjustContextMenu(QMenu& menu)
{
    // The mask keeps no history of its own edits.
    if (QAction* undo = standardMenuAction(menu, "edit-undo", "&Undo"))
        undo->setEnabled(false);
    if (QAction* redo = standardMenuAction(menu, "edit-redo", "&Redo"))
        redo->setEnabled(false);
    if (QAction* cut = standardMenuAction(menu, "edit-cut", "Cu&t")) {
        cut->disconnect();
        connect(cut, &QAction::triggered, this, &MaskEdit::cutSelection);
    }
    if (QAction* erase = standardMenuAction(menu, "edit-delete", "Delete")) {
        erase->disconnect();
        connect(erase, &QAction::triggered, this, &MaskEdit::eraseSelection);
    }
}

void MaskEdit::onEntered()
{
    entryEdit_ = QLineEdit::text();
    entryForeign_ = foreign_;
}

bool MaskEdit::canExit()
{
    if (isReadOnly() || !isModified() || foreign_)
        return true;
    const int missing = mask_.firstMissing(QLineEdit::text());
    if (missing < 0)
        return true;
    beep();
    setCursorPosition(missing);
    // Reported once the focus change is over, as an error escaping the exit would be.
    QMetaObject::invokeMethod(
        this, [] { toolkit::ShowException(kInvalidInputMessage); }, Qt::QueuedConnection);
    return false;
}

} // namespace vorlu::controls
