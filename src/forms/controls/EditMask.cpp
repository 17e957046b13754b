#include "forms/controls/EditMask.h"

namespace vorlu::controls {

namespace {
bool isMaskChar(QChar ch)
{
    return QStringView(u"09#LlAaCc").contains(ch);
}

bool isAsciiDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'9';
}

// The mask split at its unescaped semicolons.
QStringList fields(const QString& mask)
{
    QStringList parts{QString()};
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == u'\\' && i + 1 < mask.size()) {
            parts.back() += mask[i];
            parts.back() += mask[++i];
        } else if (mask[i] == u';') {
            parts.append(QString());
        } else {
            parts.back() += mask[i];
        }
    }
    return parts;
}
} // namespace

EditMask::EditMask(const QString& mask)
{
    const QStringList parts = fields(mask);
    if (parts.size() >= 2 && !parts[1].isEmpty())
        saveLiterals_ = parts[1] != QLatin1String("0");
    if (parts.size() >= 3 && !parts[2].isEmpty())
        blank_ = parts[2][0];

    const QString& positions = parts[0];
    for (qsizetype i = 0; i < positions.size(); ++i) {
        const QChar ch = positions[i];
        if (ch == u'!')
            continue;
        Slot slot;
        if (ch == u'\\' && i + 1 < positions.size())
            slot.literal = positions[++i];
        else if (ch == u'_')
            slot.literal = u' ';
        else if (isMaskChar(ch))
            slot.kind = char(ch.unicode());
        else
            slot.literal = ch;
        slots_.append(slot);
    }
}

bool EditMask::isRequired(int pos) const
{
    const char kind = slots_[pos].kind;
    return kind == '0' || kind == 'L' || kind == 'A' || kind == 'C';
}

bool EditMask::accepts(int pos, QChar ch) const
{
    if (isBlankAt(ch))
        return false;
    switch (slots_[pos].kind) {
    case '0':
    case '9': return isAsciiDigit(ch);
    case '#': return isAsciiDigit(ch) || ch == u'+' || ch == u'-';
    case 'L':
    case 'l': return ch.isLetter();
    case 'A':
    case 'a': return ch.isLetterOrNumber();
    case 'C':
    case 'c': return ch.isPrint();
    default: return false;
    }
}

QString EditMask::emptyEditText() const
{
    QString edit;
    for (const Slot& slot : slots_)
        edit += slot.kind == 0 ? slot.literal : blank_;
    return edit;
}

QString EditMask::textFromEdit(const QString& edit) const
{
    QString text;
    for (int pos = 0; pos < length(); ++pos) {
        if (isLiteral(pos)) {
            if (saveLiterals_)
                text += literal(pos);
        } else {
            text += isFilled(edit, pos) ? edit[pos] : QChar(u' ');
        }
    }
    return text;
}

bool EditMask::fits(const QString& text) const
{
    if (text.isEmpty())
        return true;
    qsizetype i = 0;
    for (int pos = 0; pos < length(); ++pos) {
        if (isLiteral(pos) && !saveLiterals_)
            continue;
        if (i >= text.size())
            return false;
        const QChar ch = text[i++];
        if (isLiteral(pos) ? ch != literal(pos) : !(isBlankAt(ch) || accepts(pos, ch)))
            return false;
    }
    return i == text.size();
}

QString EditMask::editFromText(const QString& text) const
{
    QString edit = emptyEditText();
    qsizetype i = 0;
    if (fits(text)) {
        for (int pos = 0; pos < length() && i < text.size(); ++pos) {
            if (isLiteral(pos) && !saveLiterals_)
                continue;
            const QChar ch = text[i++];
            if (!isLiteral(pos) && !isBlankAt(ch))
                edit[pos] = ch;
        }
        return edit;
    }
    // A text of another shape: what can be kept of it, in order.
    for (int pos = 0; pos < length() && i < text.size(); ++pos) {
        if (isLiteral(pos)) {
            if (text[i] == literal(pos))
                ++i;
            continue;
        }
        while (i < text.size() && !accepts(pos, text[i]))
            ++i;
        if (i < text.size())
            edit[pos] = text[i++];
    }
    return edit;
}

bool EditMask::isFilled(const QString& edit, int pos) const
{
    return isLiteral(pos) || (pos < edit.size() && !isBlankAt(edit[pos]));
}

int EditMask::firstMissing(const QString& edit) const
{
    for (int pos = 0; pos < length(); ++pos) {
        if (!isLiteral(pos) && isRequired(pos) && !isFilled(edit, pos))
            return pos;
    }
    return -1;
}

int EditMask::nextInput(int pos) const
{
    for (int p = qMax(pos, 0); p < length(); ++p) {
        if (!isLiteral(p))
            return p;
    }
    return -1;
}

int EditMask::previousInput(int pos) const
{
    for (int p = qMin(pos, length()) - 1; p >= 0; --p) {
        if (!isLiteral(p))
            return p;
    }
    return -1;
}

EditMask::Edit EditMask::type(const QString& edit, int selStart, int selEnd, const QString& typed) const
{
    Edit result = erase(edit, selStart, selEnd);
    // Typing at the end of the field, where no position is left (a click after the text puts the
    // cursor there), starts at the first unfilled position instead of refusing everything.
    if (selStart == selEnd && nextInput(result.cursor) < 0) {
        for (int pos = 0; pos < length(); ++pos) {
            if (!isFilled(edit, pos)) {
                result.cursor = pos;
                break;
            }
        }
    }
    for (QChar ch : typed) {
        const int cursor = result.cursor;
        if (cursor < length() && isLiteral(cursor) && ch == literal(cursor)) {
            result.cursor = cursor + 1;
            continue;
        }
        const int pos = nextInput(cursor);
        if (pos < 0 || !accepts(pos, ch)) {
            result.refused = true;
            continue;
        }
        result.text[pos] = ch;
        const int next = nextInput(pos + 1);
        result.cursor = next < 0 ? pos + 1 : next;
    }
    return result;
}

EditMask::Edit EditMask::erase(const QString& edit, int selStart, int selEnd) const
{
    Edit result{edit, qBound(0, selStart, length())};
    for (int pos = qMax(selStart, 0); pos < qMin(selEnd, length()); ++pos) {
        if (!isLiteral(pos))
            result.text[pos] = blank_;
    }
    return result;
}

EditMask::Edit EditMask::backspace(const QString& edit, int cursor) const
{
    const int pos = previousInput(cursor);
    if (pos < 0)
        return {edit, qBound(0, cursor, length())};
    Edit result{edit, pos};
    result.text[pos] = blank_;
    return result;
}

EditMask::Edit EditMask::deleteForward(const QString& edit, int cursor) const
{
    Edit result{edit, qBound(0, cursor, length())};
    const int pos = nextInput(cursor);
    if (pos >= 0)
        result.text[pos] = blank_;
    return result;
}

} // namespace vorlu::controls
