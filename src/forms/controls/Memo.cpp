#include "forms/controls/Memo.h"

#include "forms/controls/LineField.h"
#include "toolkit/Controls.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocument>

namespace vorlu::controls {

Memo::Memo(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    toolkit::setWantsEnter(this, true);
}

QString Memo::text() const
{
    if (programText_ && !isModified())
        return *programText_;
    // The raw text keeps every character as typed (toPlainText would turn no-break spaces into
    // blanks); blocks and soft line breaks both become a line break.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    return text;
}

void Memo::setText(const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(u'\r', u'\n');
    setPlainText(lines);
    document()->setModified(false);
    programText_ = text;
}

bool Memo::isModified() const
{
    return document()->isModified();
}

void Memo::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shortcut = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (charCase_ == CharCase::Normal || shortcut || !isTypedText(event->text())) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent converted(event->type(), event->key(), mods, event->nativeScanCode(), event->nativeVirtualKey(),
                        event->nativeModifiers(), applyCharCase(event->text(), charCase_), event->isAutoRepeat(),
                        event->count());
    QPlainTextEdit::keyPressEvent(&converted);
    event->setAccepted(converted.isAccepted());
}

void Memo::inputMethodEvent(QInputMethodEvent* event)
{
    if (charCase_ == CharCase::Normal || event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent converted(event->preeditString(), event->attributes());
    converted.setCommitString(applyCharCase(event->commitString(), charCase_), event->replacementStart(),
                              event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&converted);
}

void Memo::insertFromMimeData(const QMimeData* source)
{
    // Pasting, dropping and the middle-button paste all come this way.
    if (charCase_ == CharCase::Normal || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData converted;
    converted.setText(applyCharCase(source->text(), charCase_));
    QPlainTextEdit::insertFromMimeData(&converted);
}

void Memo::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    if (focus_.enter(*event))
        emit entered();
}

void Memo::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (focus_.leaving(*event, *this)) {
        focus_.left();
        emit exited();
    }
}

} // namespace vorlu::controls
