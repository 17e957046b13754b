#pragma once

#include <QChar>
#include <QList>
#include <QString>

namespace vorlu::controls {

// An edit mask in the form "positions;save;blank", such as "00\.000\-000;1;_":
//   0 required digit      9 optional digit      # optional digit or sign
//   L required letter     l optional letter     A required letter or digit   a optional one
//   C required character  c optional character  \x the character x as a literal
//   _ a literal blank     !  (a flag: optional positions may be left blank; positions are fixed)
// Any other character is a literal. `save` 1 keeps the literals in the text the field reads,
// 0 drops them; `blank` is the character shown for an unfilled position.
//
// Two forms of the same content: the edit text is what the field shows (literals in place, the
// blank character for each unfilled position); the text is what the field reads (literals when
// saved, a blank " " for each unfilled position). Editing works on the edit text, position by
// position: nothing ever shifts, so a digit typed into the area code stays in the area code.
class EditMask {
public:
    explicit EditMask(const QString& mask = QString());

    int length() const { return int(slots_.size()); }
    bool isLiteral(int pos) const { return slots_[pos].kind == 0; }
    QChar literal(int pos) const { return slots_[pos].literal; }
    bool isRequired(int pos) const;
    bool accepts(int pos, QChar ch) const;
    QChar blank() const { return blank_; }
    bool savesLiterals() const { return saveLiterals_; }

    QString emptyEditText() const;
    QString emptyText() const { return textFromEdit(emptyEditText()); }
    QString textFromEdit(const QString& edit) const;

    // Whether a text read from elsewhere has this mask's shape (the empty text counts as the
    // empty form). Only such a text can be shown position by position.
    bool fits(const QString& text) const;
    // The edit text of a text: position by position when it fits, otherwise its characters
    // placed one after another into the positions that take them.
    QString editFromText(const QString& text) const;

    bool isFilled(const QString& edit, int pos) const;
    // The first required position left unfilled, -1 when every one is filled.
    int firstMissing(const QString& edit) const;

    // The first input position at or after pos, -1 when none.
    int nextInput(int pos) const;
    // The last input position before pos, -1 when none.
    int previousInput(int pos) const;

    // An edit and where the cursor ends (a place between characters, as in a line edit).
    struct Edit {
        QString text;
        int cursor = 0;
        bool refused = false; // some typed character was not taken
    };
    // Typing replaces the selection [selStart, selEnd): each character goes into the next input
    // position that takes it; a character equal to the literal at the cursor steps over it.
    Edit type(const QString& edit, int selStart, int selEnd, const QString& typed) const;
    // Blanks the input positions of [selStart, selEnd).
    Edit erase(const QString& edit, int selStart, int selEnd) const;
    Edit backspace(const QString& edit, int cursor) const;
    Edit deleteForward(const QString& edit, int cursor) const;

private:
    struct Slot {
        char kind = 0; // 0 for a literal, else the mask character
        QChar literal;
    };
    bool isBlankAt(QChar ch) const { return ch == blank_ || ch == u' '; }

    QList<Slot> slots_;
    bool saveLiterals_ = true;
    QChar blank_ = u'_';
};

} // namespace vorlu::controls
